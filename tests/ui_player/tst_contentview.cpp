#include "control/playercontroller.h"
#include "model/config.h"
#include "model/currenttracks.h"
#include "support/faketrackplayer.h"
#include "support/testsupport.h"
#include "ui/player/contentview.h"
#include "ui/player/findtrackwindow.h"
#include "ui/player/playermenu.h"

#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPainter>
#include <QtTest>

using Element = SkinLayout::Element;

namespace {

// One player window on a private home, with a player stand-in behind it.
struct Skin {
    testsupport::TempHome home;
    Config config;
    FakeTrackPlayer player;
    PlayerController controller{&config, &player};
    ContentView view{&config, &player, &controller};
};

// The visible entries of a menu; a checked one, shown by its icon, starts with "*".
QStringList entries(const QMenu* menu)
{
    QStringList result;
    for (const QAction* action : menu->actions())
        if (action->isVisible() && !action->isSeparator())
            result << (action->icon().isNull() ? "" : "*") + action->text();
    return result;
}

} // namespace

// The skin widget: what it shows, the pointer, the scrubber drag and the menus.
class TestContentView final : public QObject {
    Q_OBJECT

    QList<Track> m_tracks;
    std::unique_ptr<Skin> s;

    void setTracks(const QList<Track>& tracks)
    {
        s->config.savePlaylist(s->config.playlists().first().id, tracks);
    }
    QStringList texts() const
    {
        return {s->view.textFor(Element::TrackName), s->view.textFor(Element::Artist)};
    }
    // a press, a move with the button held (or without: a hover) or a release, at pos
    void mouse(QEvent::Type type, const QPointF& pos, Qt::MouseButtons held = Qt::LeftButton)
    {
        const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
        QMouseEvent event(type, pos, s->view.mapToGlobal(pos), button,
                          type == QEvent::MouseButtonRelease ? Qt::NoButton : held, Qt::NoModifier);
        QApplication::sendEvent(&s->view, &event);
    }
    QPointF centre(Element element) const { return s->view.layout().rect(element).center(); }
    void click(Element element)
    {
        mouse(QEvent::MouseButtonPress, centre(element));
        mouse(QEvent::MouseButtonRelease, centre(element));
    }

private slots:
    // one file of 30 s, three times: "Tone 1" by "Artist 1" and so on
    void initTestCase()
    {
        for (const QString i : {"1", "2", "3"})
            m_tracks << Track{QUuid::createUuid(), QStringLiteral("file:///music/tone.flac"),
                              "Tone " + i, "Artist " + i};
    }
    void init()
    {
        s = std::make_unique<Skin>();
        s->player.length = 30;
        setTracks(m_tracks);
        s->config.setPlaysSounds(false);
        s->view.show();
        QVERIFY(QTest::qWaitForWindowExposed(&s->view));
    }
    void cleanup() { s.reset(); }

    // Find track: case, accents and every word count, in title or artist; Escape changes
    // nothing; the list follows the playlist; Down and Return play the next row's track.
    void findTrack_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QStringList>("rows");
        QTest::addColumn<int>("plays");
        QTest::newRow("nothing typed")
            << "" << QStringList{"Café Noir - Zoë", "Tone - Ana", "Éclair - Big Band"} << 2;
        QTest::newRow("upper case, no accent") << "CAFE" << QStringList{"Café Noir - Zoë"} << 0;
        QTest::newRow("artist's accent") << "zoe" << QStringList{"Café Noir - Zoë"} << 3;
        QTest::newRow("two words") << " band  ÉCL" << QStringList{"Éclair - Big Band"} << 3;
        QTest::newRow("one word not there") << "eclair noir" << QStringList{} << -1;
        QTest::newRow("title and artist") << "noir zoë" << QStringList{"Café Noir - Zoë"} << 0;
    }

    void findTrack()
    {
        QFETCH(QString, typed);
        QFETCH(QStringList, rows);
        QFETCH(int, plays);
        const auto track = [](const char* title, const char* artist) {
            return Track{QUuid::createUuid(), "file:///m/" + QString::fromUtf8(title),
                         QString::fromUtf8(title), QString::fromUtf8(artist)};
        };
        setTracks({track("Café Noir", "Zoë"), track("Tone", "Ana"), track("Éclair", "Big Band")});
        s->config.setCurrentTrackIndex(1);
        PlayerMenu menu(&s->controller, &s->player, true, &s->view);
        menu.findAction()->trigger();
        FindTrackWindow* find = menu.findWindow();
        QCOMPARE(find->list()->currentIndex().row(), 1);
        const auto type = [find, &typed] {
            for (const QChar c : typed)
                QTest::sendKeyEvent(QTest::Click, find->searchLine(), Qt::Key_unknown, QString(c),
                                    Qt::NoModifier);
        };
        type();
        QStringList shown;
        for (int row = 0; row < find->model()->rowCount(); ++row)
            shown << find->model()->index(row).data().toString();
        QCOMPARE(shown, rows);
        QTest::keyClick(find->searchLine(), Qt::Key_Escape);
        QVERIFY(!find->isVisible() && !s->player.isPlaying());
        QCOMPARE(s->config.currentTrackIndex(), 1);
        menu.findAction()->trigger();
        type();
        setTracks(s->config.currentTracks() << track("Éclair encore", "Zoë Band"));
        QTest::keyClick(find->searchLine(), Qt::Key_Down);
        QTest::keyClick(find->searchLine(), Qt::Key_Return);
        QCOMPARE(s->player.isPlaying(), plays >= 0);
        QCOMPARE(s->config.currentTrackIndex(), plays >= 0 ? plays : 1);
    }

    // A knob tick reads no playlist file, another program's edit of it shows at once; the
    // current track's texts (none for an index past the end) and cover, the placeholder after.
    void textsCoverAndThePlaylistFile()
    {
        s->view.repaint();
        const int reads = s->view.currentTracks()->readCount();
        QMetaObject::invokeMethod(&s->player, "progressChanged", Q_ARG(double, 0.5));
        s->view.repaint();
        QCOMPARE(s->view.currentTracks()->readCount(), reads);
        const QString file = s->config.playlistFileURL(s->config.playlists().first().id);
        const QByteArray edited = testsupport::readFile(file).replace("Tone 1", "Edited");
        QVERIFY(testsupport::writeFile(file, edited));
        QTRY_COMPARE(s->view.textFor(Element::TrackName), QStringLiteral("Edited"));

        s->config.setCurrentTrackIndex(1);
        QCOMPARE(texts(), QStringList({"Tone 2", "Artist 2"}));
        s->config.setCurrentTrackIndex(9);
        QCOMPARE(texts(), QStringList({"", ""}));
        s->config.setCurrentTrackIndex(1);
        QVERIFY(s->controller.playCurrentTrack());
        QImage red(1, 1, QImage::Format_RGB32);
        red.fill(Qt::red);
        s->player.setCover({s->player.url(), red, {}});
        QCOMPARE(s->view.imageFor(Element::AlbumArt).pixelColor(0, 0), QColor(Qt::red));
        setTracks({});
        QCOMPARE(texts(), QStringList({"", ""}));
        QCOMPARE(s->view.imageFor(Element::AlbumArt), s->config.trackAlbumImage());
    }

    // Inside a full block glyph: the background blended with white (reversed) or black at 65 %.
    void textColour_data()
    {
        QTest::addColumn<bool>("reversed");
        QTest::newRow("white on dark") << true;
        QTest::newRow("black on light") << false;
    }

    void textColour()
    {
        QFETCH(bool, reversed);
        const qint64 size = s->config.trackTextSize();
        setTracks({Track{QUuid::createUuid(), m_tracks[0].urlString, QString(40, QChar(0x2588))}});
        const QPoint p = s->view.layout().textRect(Element::TrackName).toAlignedRect().center();
        s->config.setTextReversed(reversed);
        s->config.setTrackTextSize(size);
        const QColor drawn = s->view.grab().toImage().pixelColor(p);
        s->config.setTrackTextSize(0);
        const int under = s->view.grab().toImage().pixelColor(p).red();
        QVERIFY(qAbs(drawn.red() - qRound(under * 0.35 + (reversed ? 255 : 0) * 0.65)) <= 3);
    }

    // The skin's size, enlarged or minimised, inside the screen with a hostile theme; a failed
    // save told below it; buttons lit under the pointer and acting on a click; the knob drags.
    void windowButtonsAndTheScrubber()
    {
        QCOMPARE(s->view.size(), QSize(269, 96));
        s->config.setSuperSized(true);
        QCOMPARE(s->view.size(), QSize(404, 144));
        s->config.setSuperSized(false);
        click(Element::Minimize);
        QCOMPARE(std::pair(s->view.isMinimized(), s->view.size()), std::pair(true, QSize(20, 96)));
        click(Element::Minimize);
        QCOMPARE(s->view.size(), QSize(269, 96));
        emit s->config.saveFailed(QStringLiteral("disk full"));
        const QLabel* notice = s->view.findChild<QLabel*>();
        QVERIFY(notice && notice->isVisible() && notice->text().contains("disk full"));
        QCOMPARE(notice->pos(), s->view.frameGeometry().bottomLeft() + QPoint(0, 6));
        const Config& c = s->config;
        const auto buttons = [this] {
            const ContentView& v = s->view;
            return std::tuple(v.imageFor(Element::Rewind), v.imageFor(Element::PlayPause),
                              v.imageFor(Element::FastForward));
        };
        mouse(QEvent::MouseMove, centre(Element::PlayPause), Qt::NoButton);
        QCOMPARE(buttons(), std::tuple(c.rrImage(), c.playOnImage(), c.ffImage()));
        // the click swaps play for pause under the pointer: still lit
        click(Element::PlayPause);
        QCOMPARE(buttons(), std::tuple(c.rrImage(), c.pauseOnImage(), c.ffImage()));
        mouse(QEvent::MouseMove, centre(Element::Rewind), Qt::NoButton);
        QCOMPARE(buttons(), std::tuple(c.rrOnImage(), c.pauseImage(), c.ffImage()));
        QEvent leave(QEvent::Leave);
        QApplication::sendEvent(&s->view, &leave);
        QCOMPARE(buttons(), std::tuple(c.rrImage(), c.pauseImage(), c.ffImage()));
        // a press that leaves the button before the release does nothing
        mouse(QEvent::MouseButtonPress, centre(Element::FastForward));
        mouse(QEvent::MouseButtonRelease, centre(Element::FastForward) + QPointF(40, 0));
        QCOMPARE(s->config.currentTrackIndex(), 0);

        // the drag seeks live, stops the progress timer and ends with the knob
        QCOMPARE(s->player.duration(), 30.0);
        QVERIFY(!s->view.imageFor(Element::Scrubber).isNull()); // the theme's knob, not nothing
        const auto dragging = [this](bool on) {
            const Qt::CursorShape cursor = on ? Qt::ClosedHandCursor : Qt::ArrowCursor;
            QCOMPARE(
                std::tuple(s->view.isDragging(), s->view.cursor().shape(), s->player.hasTimer()),
                std::tuple(on, cursor, !on));
        };
        const double y = s->view.layout().scrubberY();
        const QPointF knob(s->view.knobX(), y);
        mouse(QEvent::MouseButtonPress, knob);
        mouse(QEvent::MouseMove, knob + QPointF(9, 0)); // below the drag threshold
        dragging(false);
        mouse(QEvent::MouseMove, QPointF(192, y));
        dragging(true);
        QCOMPARE(std::pair(s->view.dragX(), s->player.progress()), std::pair(192.0, 0.5));
        QVERIFY(qAbs(s->player.currentTime() - 15.0) < 0.5);
        // the knob stays on its line, the music keeps playing but progress stands still
        mouse(QEvent::MouseMove, QPointF(240, y + 30));
        QCOMPARE(s->view.knobX(), 240.0);
        mouse(QEvent::MouseButtonRelease, QPointF(240, y));
        dragging(false);
        // the ticks move the knob again
        s->player.setProgress(0.9);
        QCOMPARE(s->view.knobX(), s->view.layout().knobX(0.9));

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
        // a hostile theme still gives a window inside the screen
        s->config.setPlayerWidth(1e12);
        s->config.setPlayerHeight(qQNaN());
        QVERIFY(s->view.width() <= s->view.screen()->availableGeometry().width());
        QVERIFY(s->view.height() >= 1);
        s->view.repaint();
    }

    // The outline follows player.png: replaced on disk, the theme's folder tells the skin,
    // which reads it again without being asked.
    void outlineFollowsTheImage()
    {
        const QRegion before = s->view.mask();
        QImage image = s->config.playerImage().convertToFormat(QImage::Format_ARGB32);
        QPainter painter(&image);
        painter.setCompositionMode(QPainter::CompositionMode_Source);
        painter.fillRect(QRect(0, 0, image.width() / 2, image.height()), Qt::transparent);
        painter.fillRect(QRect(image.width() / 2, 0, image.width(), image.height()), Qt::black);
        painter.end();
        const QString dir = s->config.themeDirectory(s->config.currentTheme());
        QVERIFY(image.save(dir + "/player.png"));
        QTRY_VERIFY(s->view.mask() != before);
        const QRegion after = s->view.mask();
        const int middle = s->view.height() / 2;
        QVERIFY(!after.contains(QPoint(5, middle)));
        QVERIFY(after.contains(QPoint(s->view.width() - 5, middle)));
    }

    // Entries are marked and chosen by position (names repeat); an empty playlist offers the
    // editor; "&" is no mnemonic. The "Player" menu follows the state, its shortcuts work.
    void menusAndShortcuts()
    {
        s->config.createPlaylist();
        QCOMPARE(entries(s->view.playlistMenu()).join('|'), "*Untitled|Untitled|*Edit playlists");
        s->view.playlistMenu()->actions().at(1)->trigger();
        QCOMPARE(entries(s->view.playlistMenu()).at(1), "*Untitled");

        s->config.setCurrentPlaylistIndex(0);
        s->config.setCurrentTrackIndex(2);
        QCOMPARE(entries(s->view.trackMenu()), QStringList({"Tone 1", "Tone 2", "*Tone 3"}));
        s->view.trackMenu()->actions().at(0)->trigger();
        QCOMPARE(s->view.textFor(Element::TrackName), QStringLiteral("Tone 1"));

        PlayerMenu player(&s->controller, &s->player, true, &s->view);
        QCOMPARE(entries(&player).mid(0, 3).join('|'), "Play|*Loop tracks|Shuffle tracks");
        QCOMPARE(entries(player.tracksMenu()).first(), "*Tone 1");
        s->view.addActions(player.shortcutActions());
        s->view.activateWindow();
        s->view.setFocus();
        QTRY_VERIFY(s->view.hasFocus());
        QTest::keyClick(&s->view, Qt::Key_L, Qt::ControlModifier);
        QVERIFY(!s->config.loopTracks() && player.loopAction()->icon().isNull());
        QTest::keyClick(&s->view, Qt::Key_Space);
        QVERIFY(s->player.isPlaying());
        QCOMPARE(player.playPauseAction()->text(), QStringLiteral("Pause"));

        setTracks({Track{QUuid::createUuid(), m_tracks[0].urlString, "Rock & Roll"}});
        const QAction* action = s->view.trackMenu()->actions().first();
        QCOMPARE(std::pair(action->text(), action->iconText()),
                 std::pair(QStringLiteral("Rock && Roll"), QStringLiteral("Rock & Roll")));
        setTracks({});
        QCOMPARE(entries(s->view.trackMenu()), QStringList{"*Edit playlists"});
        QSignalSpy settings(&s->controller, &PlayerController::settingsRequested);
        s->view.trackMenu()->actions().first()->trigger();
        QCOMPARE(settings.count(), 1);
        player.refresh();
        QVERIFY(!entries(&player).contains("Tracks"));
    }
};

QTEST_MAIN(TestContentView)
#include "tst_contentview.moc"
