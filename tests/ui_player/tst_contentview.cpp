#include "model/config.h"
#include "playback/audioplayer.h"
#include "support/audiotest.h"
#include "support/testsupport.h"
#include "ui/player/contentview.h"
#include "model/currenttracks.h"
#include "ui/player/menuentries.h"
#include "control/playercontroller.h"
#include "ui/player/playermenu.h"

#include <QApplication>
#include <QBuffer>
#include <QMenu>
#include <QMouseEvent>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

using Element = SkinLayout::Element;
using testsupport::TempHome;

// The skin widget: what it shows, the pointer over its buttons, the scrubber drag and the
// menus, with the real audio player behind it.
class TestContentView final : public QObject {
    Q_OBJECT

    QTemporaryDir m_audio;
    QList<Track> m_tracks;
    std::unique_ptr<TempHome> m_home;
    std::unique_ptr<Config> m_config;
    std::unique_ptr<AudioPlayer> m_player;
    std::unique_ptr<PlayerController> m_controller;
    std::unique_ptr<ContentView> m_view;

    QUuid firstPlaylist() const { return m_config->playlists().first().id; }
    void mouse(QEvent::Type type, const QPointF& pos, Qt::MouseButton button = Qt::LeftButton)
    {
        const bool move = type == QEvent::MouseMove;
        QMouseEvent event(type, pos, m_view->mapToGlobal(pos), move ? Qt::NoButton : button,
                          type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::MouseButtons(button),
                          Qt::NoModifier);
        QApplication::sendEvent(m_view.get(), &event);
    }
    void hover(const QPointF& pos) { mouse(QEvent::MouseMove, pos, Qt::NoButton); }
    void click(Element element)
    {
        const QPointF c = m_view->layout().rect(element).center();
        mouse(QEvent::MouseButtonPress, c);
        mouse(QEvent::MouseButtonRelease, c);
    }
    void startPlaying()
    {
        QVERIFY(m_controller->playCurrentTrack());
        QTRY_VERIFY_WITH_TIMEOUT(m_player->duration() > 5, 10000);
    }
    static QStringList labels(const QMenu* menu)
    {
        QStringList result;
        for (const QAction* action : menu->actions())
            if (action->isVisible() && !action->isSeparator())
                result << action->text();
        return result;
    }
    static int checked(const QMenu* menu)
    {
        int found = -1;
        const QList<QAction*> actions = menu->actions();
        for (int i = 0; i < actions.size(); ++i)
            if (!actions.at(i)->icon().isNull() && actions.at(i)->text() != "Edit playlists")
                found = found == -1 ? i : -2;
        return found;
    }

private slots:
    // three tones of 30 s: "Tone 1" by "Artist 1" and so on
    void initTestCase()
    {
        for (int i = 0; i < 3; ++i) {
            audiotest::ToneFile tone;
            tone.frequencies = {440.0 + 220.0 * i};
            tone.secondsEach = 30;
            if (i == 1) { // the second has a red cover
                QImage red(16, 16, QImage::Format_RGB32);
                red.fill(Qt::red);
                QBuffer png;
                png.open(QIODevice::WriteOnly);
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
        m_home = std::make_unique<TempHome>();
        m_config = std::make_unique<Config>();
        m_player = std::make_unique<AudioPlayer>();
        m_controller = std::make_unique<PlayerController>(m_config.get(), m_player.get());
        m_config->savePlaylist(firstPlaylist(), m_tracks);
        m_config->setPlaysSounds(false);
        m_view = std::make_unique<ContentView>(m_config.get(), m_player.get(), m_controller.get());
        m_view->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_view.get()));
    }
    void cleanup()
    {
        m_view.reset();
        m_controller.reset();
        m_player.reset();
        m_config.reset();
        m_home.reset();
    }

    void sizeFollowsSuperSizedMinimiseAndTheScreen()
    {
        QCOMPARE(m_view->size(), QSize(269, 96));
        m_config->setSuperSized(true);
        QCOMPARE(m_view->size(), QSize(404, 144));
        m_config->setSuperSized(false);
        click(Element::Minimize);
        QVERIFY(m_view->isMinimized());
        QCOMPARE(m_view->size(), QSize(20, 96));
        click(Element::Minimize);
        QCOMPARE(m_view->size(), QSize(269, 96));
        // a hostile theme still gives a window inside the screen
        m_config->setPlayerWidth(1e12);
        m_config->setPlayerHeight(std::numeric_limits<double>::quiet_NaN());
        QVERIFY(m_view->width() <= m_view->screen()->availableGeometry().width());
        QVERIFY(m_view->height() >= 1);
        m_view->repaint();
    }

    void textsShowTheCurrentTrack()
    {
        m_config->setCurrentTrackIndex(1);
        QCOMPARE(m_view->textFor(Element::TrackName), QStringLiteral("Tone 2"));
        QCOMPARE(m_view->textFor(Element::Artist), QStringLiteral("Artist 2"));
        m_config->setTrackTextSize(0);
        QVERIFY(m_view->textFor(Element::TrackName).isEmpty());
        QCOMPARE(m_view->textFor(Element::Artist), QStringLiteral("Artist 2"));
        m_config->setCurrentTrackIndex(9);
        QVERIFY(m_view->textFor(Element::Artist).isEmpty());
        // an emptied playlist while playing: no texts, the placeholder art
        m_config->setCurrentTrackIndex(0);
        startPlaying();
        m_config->savePlaylist(firstPlaylist(), {});
        QVERIFY(m_view->textFor(Element::TrackName).isEmpty());
        QCOMPARE(m_view->imageFor(Element::AlbumArt), m_config->trackAlbumImage());
    }
    void textsAreDrawnInTheirColour_data()
    {
        QTest::addColumn<bool>("reversed");
        QTest::newRow("white") << true;
        QTest::newRow("black") << false;
    }
    void textsAreDrawnInTheirColour()
    {
        QFETCH(bool, reversed);
        m_config->setTextReversed(reversed);
        m_config->savePlaylist(firstPlaylist(),
                               {Track{QUuid::createUuid(), m_tracks[0].urlString,
                                      QString(40, QChar(0x2588)), "A"}});
        const QImage before = m_view->grab().toImage();
        const QRect box = m_view->layout().textRect(Element::TrackName).toAlignedRect();
        // inside a full block glyph: background blended with the text colour at 65 %
        const QPoint p = box.center();
        m_config->setTrackTextSize(0);
        const QColor under = m_view->grab().toImage().pixelColor(p);
        const QColor text = reversed ? QColor(Qt::white) : QColor(Qt::black);
        const QColor drawn = before.pixelColor(p);
        const auto blend = [&](int u, int t) { return qRound(u * 0.35 + t * 0.65); };
        QVERIFY2(qAbs(drawn.red() - blend(under.red(), text.red())) <= 3,
                 qPrintable(QStringLiteral("%1 over %2").arg(drawn.name(), under.name())));
    }
    void albumArtOrThePlaceholder()
    {
        m_config->setCurrentTrackIndex(1);
        startPlaying();
        QTRY_COMPARE(m_view->imageFor(Element::AlbumArt).pixelColor(1, 1), QColor(Qt::red));
        m_config->setCurrentTrackIndex(0);
        QVERIFY(m_controller->playCurrentTrack());
        QTRY_COMPARE(m_view->imageFor(Element::AlbumArt), m_config->trackAlbumImage());
    }

    void hoverImagesAndClicks()
    {
        const QPointF play = m_view->layout().rect(Element::PlayPause).center();
        hover(play);
        QVERIFY(m_view->isHoveringPlay());
        QCOMPARE(m_view->imageFor(Element::PlayPause), m_config->playOnImage());
        // the click swaps play for pause under the pointer: still lit
        click(Element::PlayPause);
        QVERIFY(m_player->isPlaying());
        QCOMPARE(m_view->imageFor(Element::PlayPause), m_config->pauseOnImage());
        hover(m_view->layout().rect(Element::Rewind).center());
        QVERIFY(!m_view->isHoveringPlay());
        QVERIFY(m_view->isHoveringRR());
        QCOMPARE(m_view->imageFor(Element::PlayPause), m_config->pauseImage());
        QCOMPARE(m_view->imageFor(Element::Rewind), m_config->rrOnImage());
        QEvent leave(QEvent::Leave);
        QApplication::sendEvent(m_view.get(), &leave);
        QVERIFY(!m_view->isHoveringRR());
        QCOMPARE(m_view->imageFor(Element::FastForward), m_config->ffImage());
        // a press that leaves the button before the release does nothing
        const QRectF ff = m_view->layout().rect(Element::FastForward);
        mouse(QEvent::MouseButtonPress, ff.center());
        mouse(QEvent::MouseButtonRelease, ff.bottomRight() + QPointF(20, 0));
        QCOMPARE(m_config->currentTrackIndex(), 0);
    }
    void dragSeeksLiveStopsTheTimerAndEndsWithTheKnob()
    {
        startPlaying();
        const SkinLayout& layout = m_view->layout();
        const QPointF knob(m_view->knobX(), layout.scrubberY());
        mouse(QEvent::MouseButtonPress, knob);
        mouse(QEvent::MouseMove, knob + QPointF(9, 0));
        QVERIFY(!m_view->isDragging());
        QVERIFY(m_player->hasTimer());
        QCOMPARE(m_view->cursor().shape(), Qt::ArrowCursor);

        mouse(QEvent::MouseMove, QPointF(192, knob.y()));
        QVERIFY(m_view->isDragging());
        QCOMPARE(m_view->cursor().shape(), Qt::ClosedHandCursor);
        QVERIFY(!m_player->hasTimer());
        QCOMPARE(m_view->dragX(), 192.0);
        QCOMPARE(m_player->progress(), 0.5);
        QVERIFY(qAbs(m_player->currentTime() - 15.0) < 0.5);

        mouse(QEvent::MouseMove, QPointF(-40, knob.y()));
        QCOMPARE(m_view->dragX(), layout.scrubberMinX());
        QCOMPARE(m_player->progress(), 0.0);
        mouse(QEvent::MouseMove, QPointF(240, knob.y() + 30));
        // the knob stays on its line, the music keeps playing but progress stands still
        QCOMPARE(m_view->knobX(), 240.0);
        const double held = m_player->progress();
        QTest::qWait(350);
        QCOMPARE(m_player->progress(), held);

        mouse(QEvent::MouseButtonRelease, QPointF(240, knob.y()));
        QVERIFY(!m_view->isDragging());
        QCOMPARE(m_view->cursor().shape(), Qt::ArrowCursor);
        QVERIFY(m_player->hasTimer());
        QTRY_VERIFY(m_player->progress() > held);

        // the knob vanishing mid-drag (playback paused) ends the drag and the gesture
        mouse(QEvent::MouseButtonPress, QPointF(m_view->knobX(), knob.y()));
        mouse(QEvent::MouseMove, QPointF(m_view->knobX() + 30, knob.y()));
        QVERIFY(m_view->isDragging());
        m_player->pause();
        QVERIFY(!m_view->isDragging());
        QCOMPARE(m_view->cursor().shape(), Qt::ArrowCursor);
        QVERIFY(m_player->hasTimer());
        mouse(QEvent::MouseMove, QPointF(250, knob.y()));
        mouse(QEvent::MouseButtonRelease, QPointF(250, knob.y()));
        QVERIFY(!m_view->isDragging());
    }
    void playlistMenuMarksTheCurrentByPosition()
    {
        m_config->createPlaylist();
        QCOMPARE(m_config->playlists().at(0).name, m_config->playlists().at(1).name);
        QMenu* menu = m_view->playlistMenu();
        QCOMPARE(labels(menu), QStringList({"Untitled", "Untitled", "Edit playlists"}));
        QCOMPARE(checked(menu), 0);
        QVERIFY(menu->actions().last()->font().italic());
        QVERIFY(!menu->actions().last()->icon().isNull());
        menu->actions().at(1)->trigger();
        QCOMPARE(m_config->currentPlaylistIndex(), 1);
        QCOMPARE(checked(m_view->playlistMenu()), 1);
    }
    void trackMenuListsTracksOrEditPlaylists()
    {
        m_config->setCurrentTrackIndex(2);
        QMenu* menu = m_view->trackMenu();
        QCOMPARE(labels(menu), QStringList({"Tone 1", "Tone 2", "Tone 3"}));
        QCOMPARE(checked(menu), 2);
        menu->actions().at(0)->trigger();
        QCOMPARE(m_config->currentTrackIndex(), 0);
        QCOMPARE(m_view->textFor(Element::TrackName), QStringLiteral("Tone 1"));

        m_config->savePlaylist(firstPlaylist(), {});
        menu = m_view->trackMenu();
        QCOMPARE(labels(menu), QStringList{"Edit playlists"});
        QSignalSpy settings(m_controller.get(), &PlayerController::settingsRequested);
        menu->actions().first()->trigger();
        QCOMPARE(settings.count(), 1);

        // an ampersand is shown, not taken for a mnemonic
        m_config->savePlaylist(firstPlaylist(),
                               {Track{QUuid::createUuid(), m_tracks[0].urlString, "Rock & Roll", ""}});
        const QAction* action = m_view->trackMenu()->actions().first();
        QCOMPARE(action->text(), QStringLiteral("Rock && Roll"));
        QCOMPARE(action->iconText(), QStringLiteral("Rock & Roll"));
    }
    void playerMenuFollowsTheState()
    {
        PlayerMenu menu(m_controller.get(), m_player.get(), true);
        QCOMPARE(labels(&menu), QStringList({"Play", "Loop tracks", "Shuffle tracks", "Volume Up",
                                             "Volume Down", "Playlists", "Tracks", "Settings...",
                                             "Quit"}));
        QVERIFY(!menu.loopAction()->icon().isNull());
        QVERIFY(menu.shuffleAction()->icon().isNull());
        QCOMPARE(menu.playPauseAction()->shortcut(), QKeySequence(Qt::Key_Space));
        QCOMPARE(menu.loopAction()->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_L));
        QVERIFY(menu.volumeUpAction()->shortcuts().contains(QKeySequence(Qt::CTRL | Qt::Key_Plus)));
        QCOMPARE(checked(menu.tracksMenu()), 0);
        startPlaying();
        QCOMPARE(menu.playPauseAction()->text(), QStringLiteral("Pause"));
        menu.loopAction()->trigger();
        QVERIFY(menu.loopAction()->icon().isNull());
        m_config->savePlaylist(firstPlaylist(), {});
        menu.refresh();
        QVERIFY(!labels(&menu).contains("Tracks"));
    }
    void shortcutsWorkOnTheWindow()
    {
        PlayerMenu menu(m_controller.get(), m_player.get(), true, m_view.get());
        m_view->addActions(menu.shortcutActions());
        m_view->activateWindow();
        m_view->setFocus();
        QTRY_VERIFY(m_view->hasFocus());
        const bool loop = m_config->loopTracks();
        QTest::keyClick(m_view.get(), Qt::Key_L, Qt::ControlModifier);
        QCOMPARE(m_config->loopTracks(), !loop);
        QTest::keyClick(m_view.get(), Qt::Key_Space);
        QVERIFY(m_player->isPlaying());
        QTest::keyClick(m_view.get(), Qt::Key_Space);
        QVERIFY(!m_player->isPlaying());
    }

    void ticksDoNotReadThePlaylist()
    {
        QList<Track> many;
        for (int i = 0; i < 50; ++i)
            many << Track{QUuid::createUuid(), m_tracks[i % 3].urlString,
                          QStringLiteral("Track %1").arg(i), "A"};
        m_config->savePlaylist(firstPlaylist(), many);
        m_view->repaint();
        const int reads = m_view->currentTracks()->readCount();
        for (int i = 0; i < 20; ++i) {
            QMetaObject::invokeMethod(m_player.get(), "progressChanged", Q_ARG(double, i / 20.0));
            m_view->repaint();
        }
        QCOMPARE(m_view->currentTracks()->readCount(), reads);
    }
    void anEditOnDiskShowsAtOnce()
    {
        QCOMPARE(m_view->textFor(Element::TrackName), QStringLiteral("Tone 1"));
        // another program rewrites the playlist file
        QByteArray bytes = testsupport::readFile(m_config->playlistFileURL(firstPlaylist()));
        bytes.replace("Tone 1", "Edited by hand");
        QVERIFY(testsupport::writeFile(m_config->playlistFileURL(firstPlaylist()), bytes));
        QTRY_COMPARE(m_view->textFor(Element::TrackName), QStringLiteral("Edited by hand"));
    }
};

QTEST_MAIN(TestContentView)
#include "tst_contentview.moc"
