#include "control/playercontroller.h"
#include "model/config.h"
#include "model/currenttracks.h"
#include "playback/audioplayer.h"
#include "support/audiotest.h"
#include "support/testsupport.h"
#include "ui/player/contentview.h"
#include "ui/player/playermenu.h"

#include <QApplication>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QtTest>

using Element = SkinLayout::Element;

namespace {

// One player window on a private home, with the real audio player behind it.
struct Skin {
    testsupport::TempHome home;
    Config config;
    AudioPlayer player;
    PlayerController controller{&config, &player};
    ContentView view{&config, &player, &controller};
};

QStringList labels(const QMenu* menu)
{
    QStringList result;
    for (const QAction* action : menu->actions())
        if (action->isVisible() && !action->isSeparator())
            result << action->text();
    return result;
}

// The one entry with a check mark, -1 for none, -2 for several.
int checked(const QMenu* menu)
{
    int found = -1;
    const QList<QAction*> actions = menu->actions();
    for (int i = 0; i < actions.size(); ++i)
        if (!actions.at(i)->icon().isNull() && actions.at(i)->text() != "Edit playlists")
            found = found == -1 ? i : -2;
    return found;
}

} // namespace

// The skin widget: what it shows, the pointer over its buttons, the scrubber drag and the
// menus. Geometry itself is tst_skinlayout's.
class TestContentView final : public QObject {
    Q_OBJECT

    QTemporaryDir m_audio;
    QList<Track> m_tracks;
    std::unique_ptr<Skin> s;

    QUuid firstPlaylist() const { return s->config.playlists().first().id; }
    // a press, a move with the button held (or without: a hover) or a release, at pos
    void mouse(QEvent::Type type, const QPointF& pos, Qt::MouseButtons held = Qt::LeftButton)
    {
        const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
        QMouseEvent event(type, pos, s->view.mapToGlobal(pos), button,
                          type == QEvent::MouseButtonRelease ? Qt::NoButton : held, Qt::NoModifier);
        QApplication::sendEvent(&s->view, &event);
    }
    void hover(Element element) { mouse(QEvent::MouseMove, s->view.layout().rect(element).center(), Qt::NoButton); }
    void click(Element element)
    {
        const QPointF c = s->view.layout().rect(element).center();
        mouse(QEvent::MouseButtonPress, c);
        mouse(QEvent::MouseButtonRelease, c);
    }
    void startPlaying()
    {
        QVERIFY(s->controller.playCurrentTrack());
        QTRY_VERIFY_WITH_TIMEOUT(s->player.duration() > 5, 10000);
    }

private slots:
    // three tones of 30 s: "Tone 1" by "Artist 1" and so on; the second has a red cover
    void initTestCase()
    {
        for (int i = 0; i < 3; ++i) {
            audiotest::ToneFile tone;
            tone.frequencies = {440.0 + 220.0 * i};
            tone.secondsEach = 30;
            if (i == 1) {
                QImage red(16, 16, QImage::Format_RGB32);
                red.fill(Qt::red);
                QBuffer png;
                red.save(&png, "PNG");
                tone.format = audiotest::Format::Flac;
                tone.pictures = {png.data()};
            }
            const QString path = audiotest::makeToneFile(m_audio.path(), QStringLiteral("tone%1").arg(i), tone);
            m_tracks << Track{QUuid::createUuid(), QUrl::fromLocalFile(path).toString(),
                              QStringLiteral("Tone %1").arg(i + 1), QStringLiteral("Artist %1").arg(i + 1)};
        }
    }
    void init()
    {
        s = std::make_unique<Skin>();
        s->config.savePlaylist(firstPlaylist(), m_tracks);
        s->config.setPlaysSounds(false);
        s->view.show();
        QVERIFY(QTest::qWaitForWindowExposed(&s->view));
    }
    void cleanup() { s.reset(); }

    void sizeFollowsSuperSizedMinimiseAndTheScreen()
    {
        QCOMPARE(s->view.size(), QSize(269, 96));
        s->config.setSuperSized(true);
        QCOMPARE(s->view.size(), QSize(404, 144));
        s->config.setSuperSized(false);
        click(Element::Minimize);
        QVERIFY(s->view.isMinimized());
        QCOMPARE(s->view.size(), QSize(20, 96));
        click(Element::Minimize);
        QCOMPARE(s->view.size(), QSize(269, 96));
        // a hostile theme still gives a window inside the screen
        s->config.setPlayerWidth(1e12);
        s->config.setPlayerHeight(std::numeric_limits<double>::quiet_NaN());
        QVERIFY(s->view.width() <= s->view.screen()->availableGeometry().width());
        QVERIFY(s->view.height() >= 1);
        s->view.repaint();
    }

    void textsShowTheCurrentTrack()
    {
        s->config.setCurrentTrackIndex(1);
        QCOMPARE(s->view.textFor(Element::TrackName), QStringLiteral("Tone 2"));
        QCOMPARE(s->view.textFor(Element::Artist), QStringLiteral("Artist 2"));
        s->config.setTrackTextSize(0);
        QVERIFY(s->view.textFor(Element::TrackName).isEmpty());
        QCOMPARE(s->view.textFor(Element::Artist), QStringLiteral("Artist 2"));
        s->config.setCurrentTrackIndex(9);
        QVERIFY(s->view.textFor(Element::Artist).isEmpty());
        // an emptied playlist while playing: no texts, the placeholder art
        s->config.setCurrentTrackIndex(0);
        startPlaying();
        s->config.savePlaylist(firstPlaylist(), {});
        QVERIFY(s->view.textFor(Element::TrackName).isEmpty());
        QCOMPARE(s->view.imageFor(Element::AlbumArt), s->config.trackAlbumImage());
    }

    void textsAreDrawnInTheirColour()
    {
        s->config.savePlaylist(firstPlaylist(), {Track{QUuid::createUuid(), m_tracks[0].urlString, QString(40, QChar(0x2588)), "A"}});
        const QPoint p = s->view.layout().textRect(Element::TrackName).toAlignedRect().center();
        const qint64 size = s->config.trackTextSize();
        for (const bool reversed : {true, false}) {
            s->config.setTextReversed(reversed);
            s->config.setTrackTextSize(size);
            const QColor drawn = s->view.grab().toImage().pixelColor(p);
            s->config.setTrackTextSize(0);
            const QColor under = s->view.grab().toImage().pixelColor(p);
            // inside a full block glyph: the background blended with white or black at 65 %
            const int expected = qRound(under.red() * 0.35 + (reversed ? 255 : 0) * 0.65);
            QVERIFY2(qAbs(drawn.red() - expected) <= 3, qPrintable(drawn.name() + " over " + under.name()));
        }
    }

    void albumArtOrThePlaceholder()
    {
        s->config.setCurrentTrackIndex(1);
        startPlaying();
        QTRY_COMPARE(s->view.imageFor(Element::AlbumArt).pixelColor(1, 1), QColor(Qt::red));
        s->config.setCurrentTrackIndex(0);
        QVERIFY(s->controller.playCurrentTrack());
        QTRY_COMPARE(s->view.imageFor(Element::AlbumArt), s->config.trackAlbumImage());
    }

    void hoverImagesAndClicks()
    {
        hover(Element::PlayPause);
        QVERIFY(s->view.isHoveringPlay());
        QCOMPARE(s->view.imageFor(Element::PlayPause), s->config.playOnImage());
        // the click swaps play for pause under the pointer: still lit
        click(Element::PlayPause);
        QVERIFY(s->player.isPlaying());
        QCOMPARE(s->view.imageFor(Element::PlayPause), s->config.pauseOnImage());
        hover(Element::Rewind);
        QVERIFY(!s->view.isHoveringPlay() && s->view.isHoveringRR());
        QCOMPARE(s->view.imageFor(Element::PlayPause), s->config.pauseImage());
        QCOMPARE(s->view.imageFor(Element::Rewind), s->config.rrOnImage());
        QEvent leave(QEvent::Leave);
        QApplication::sendEvent(&s->view, &leave);
        QVERIFY(!s->view.isHoveringRR());
        QCOMPARE(s->view.imageFor(Element::FastForward), s->config.ffImage());
        // a press that leaves the button before the release does nothing
        const QRectF ff = s->view.layout().rect(Element::FastForward);
        mouse(QEvent::MouseButtonPress, ff.center());
        mouse(QEvent::MouseButtonRelease, ff.bottomRight() + QPointF(20, 0));
        QCOMPARE(s->config.currentTrackIndex(), 0);
    }

    void dragSeeksLiveStopsTheTimerAndEndsWithTheKnob()
    {
        startPlaying();
        QVERIFY(!s->view.imageFor(Element::Scrubber).isNull()); // the theme's knob, not nothing
        const auto dragging = [this](bool on) {
            QCOMPARE(s->view.isDragging(), on);
            QCOMPARE(s->view.cursor().shape(), on ? Qt::ClosedHandCursor : Qt::ArrowCursor);
            QCOMPARE(s->player.hasTimer(), !on);
        };
        const double y = s->view.layout().scrubberY();
        const QPointF knob(s->view.knobX(), y);
        mouse(QEvent::MouseButtonPress, knob);
        mouse(QEvent::MouseMove, knob + QPointF(9, 0)); // below the drag threshold
        dragging(false);
        mouse(QEvent::MouseMove, QPointF(192, y));
        dragging(true);
        QCOMPARE(s->view.dragX(), 192.0);
        QCOMPARE(s->player.progress(), 0.5);
        QVERIFY(qAbs(s->player.currentTime() - 15.0) < 0.5);
        mouse(QEvent::MouseMove, QPointF(-40, y));
        QCOMPARE(s->view.dragX(), s->view.layout().scrubberMinX());
        QCOMPARE(s->player.progress(), 0.0);
        // the knob stays on its line, the music keeps playing but progress stands still
        mouse(QEvent::MouseMove, QPointF(240, y + 30));
        QCOMPARE(s->view.knobX(), 240.0);
        const double held = s->player.progress();
        mouse(QEvent::MouseButtonRelease, QPointF(240, y));
        dragging(false);
        QTRY_VERIFY(s->player.progress() > held);

        // the knob vanishing mid-drag (playback paused) ends the drag and the whole gesture:
        // a move far from the press starts no second drag
        mouse(QEvent::MouseButtonPress, QPointF(s->view.knobX(), y));
        mouse(QEvent::MouseMove, QPointF(s->view.knobX() + 30, y));
        QVERIFY(s->view.isDragging());
        s->player.pause();
        dragging(false);
        mouse(QEvent::MouseMove, QPointF(150, y));
        dragging(false);
        mouse(QEvent::MouseButtonRelease, QPointF(150, y));
    }

    // Entries are marked by position (two lists may share a name) and choose by position;
    // an empty playlist offers the editor instead of tracks; "&" is shown, not a mnemonic.
    void playlistAndTrackMenus()
    {
        s->config.createPlaylist();
        QMenu* menu = s->view.playlistMenu();
        QCOMPARE(labels(menu), QStringList({"Untitled", "Untitled", "Edit playlists"}));
        QCOMPARE(checked(menu), 0);
        QVERIFY(menu->actions().last()->font().italic() && !menu->actions().last()->icon().isNull());
        menu->actions().at(1)->trigger();
        QCOMPARE(s->config.currentPlaylistIndex(), 1);
        QCOMPARE(checked(s->view.playlistMenu()), 1);

        s->config.setCurrentPlaylistIndex(0);
        s->config.setCurrentTrackIndex(2);
        menu = s->view.trackMenu();
        QCOMPARE(labels(menu), QStringList({"Tone 1", "Tone 2", "Tone 3"}));
        QCOMPARE(checked(menu), 2);
        menu->actions().at(0)->trigger();
        QCOMPARE(s->view.textFor(Element::TrackName), QStringLiteral("Tone 1"));

        s->config.savePlaylist(firstPlaylist(), {});
        menu = s->view.trackMenu();
        QCOMPARE(labels(menu), QStringList{"Edit playlists"});
        QSignalSpy settings(&s->controller, &PlayerController::settingsRequested);
        menu->actions().first()->trigger();
        QCOMPARE(settings.count(), 1);

        s->config.savePlaylist(firstPlaylist(), {Track{QUuid::createUuid(), m_tracks[0].urlString, "Rock & Roll", ""}});
        const QAction* action = s->view.trackMenu()->actions().first();
        QCOMPARE(action->text(), QStringLiteral("Rock && Roll"));
        QCOMPARE(action->iconText(), QStringLiteral("Rock & Roll"));
    }

    // The "Player" menu follows the state, and its shortcuts work on the skin's window.
    void playerMenuAndShortcuts()
    {
        PlayerMenu menu(&s->controller, &s->player, true, &s->view);
        QCOMPARE(labels(&menu), QStringList({"Play", "Loop tracks", "Shuffle tracks", "Volume Up", "Volume Down",
                                             "Playlists", "Tracks", "Settings...", "Quit"}));
        QVERIFY(!menu.loopAction()->icon().isNull() && menu.shuffleAction()->icon().isNull());
        QCOMPARE(checked(menu.tracksMenu()), 0);
        QVERIFY(menu.volumeUpAction()->shortcuts().contains(QKeySequence(Qt::CTRL | Qt::Key_Plus)));
        s->view.addActions(menu.shortcutActions());
        s->view.activateWindow();
        s->view.setFocus();
        QTRY_VERIFY(s->view.hasFocus());
        QTest::keyClick(&s->view, Qt::Key_L, Qt::ControlModifier);
        QVERIFY(!s->config.loopTracks());
        QVERIFY(menu.loopAction()->icon().isNull());
        QTest::keyClick(&s->view, Qt::Key_Space);
        QVERIFY(s->player.isPlaying());
        QCOMPARE(menu.playPauseAction()->text(), QStringLiteral("Pause"));
        QTest::keyClick(&s->view, Qt::Key_Space);
        QVERIFY(!s->player.isPlaying());
        s->config.savePlaylist(firstPlaylist(), {});
        menu.refresh();
        QVERIFY(!labels(&menu).contains("Tracks"));
    }

    // A save that failed is told below the player, where the screen has room.
    void aFailedSaveIsTold()
    {
        emit s->config.saveFailed(QStringLiteral("disk full"));
        const QLabel* notice = s->view.findChild<QLabel*>();
        QVERIFY(notice && notice->isVisible() && notice->text().contains("disk full"));
        const QRect frame = s->view.frameGeometry();
        QCOMPARE(notice->pos(), QPoint(frame.left(), frame.bottom() + 6));
    }

    // A knob tick repaints a few pixels: it must not read the playlist file again.
    void ticksDoNotReadThePlaylist()
    {
        QList<Track> many;
        for (int i = 0; i < 50; ++i)
            many << Track{QUuid::createUuid(), m_tracks[i % 3].urlString, QStringLiteral("Track %1").arg(i), "A"};
        s->config.savePlaylist(firstPlaylist(), many);
        s->view.repaint();
        const int reads = s->view.currentTracks()->readCount();
        for (int i = 0; i < 20; ++i) {
            QMetaObject::invokeMethod(&s->player, "progressChanged", Q_ARG(double, i / 20.0));
            s->view.repaint();
        }
        QCOMPARE(s->view.currentTracks()->readCount(), reads);
    }

    void anEditOnDiskShowsAtOnce()
    {
        QCOMPARE(s->view.textFor(Element::TrackName), QStringLiteral("Tone 1"));
        // another program rewrites the playlist file
        QByteArray bytes = testsupport::readFile(s->config.playlistFileURL(firstPlaylist()));
        bytes.replace("Tone 1", "Edited by hand");
        QVERIFY(testsupport::writeFile(s->config.playlistFileURL(firstPlaylist()), bytes));
        QTRY_COMPARE(s->view.textFor(Element::TrackName), QStringLiteral("Edited by hand"));
    }
};

QTEST_MAIN(TestContentView)
#include "tst_contentview.moc"
