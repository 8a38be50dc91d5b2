#include "model/config.h"
#include "playback/audioplayer.h"
#include "playback/soundplayer.h"
#include "playback/trackplayer.h"
#include "playertestdata.h"
#include "support/testsupport.h"
#include "control/playercontroller.h"

#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

using testsupport::TempHome;

namespace {

// What the controller asks of a player, remembered instead of sounded.
class FakePlayer final : public TrackPlayer {
public:
    QList<QUrl> played;
    bool playing = false;

    void play(const QUrl& url) override
    {
        played << url;
        playing = true;
    }
    void pause() override { playing = false; }
    void stop() override { playing = false; }
    bool isPlaying() const override { return playing; }
    bool hasPlayer() const override { return !played.isEmpty(); }
    bool isLoading() const override { return false; }
    double duration() const override { return 4; }
    double currentTime() const override { return 0; }
    void setCurrentTime(double) override {}
    float volume() const override { return 1; }
    void setVolume(float) override {}
};

} // namespace

// The deciding logic of the transport buttons, the skin's menus, the end of a track and the
// "Player" menu, against the real audio player on the test's audio server.
class TestPlayerController final : public QObject {
    Q_OBJECT

    QTemporaryDir m_audio;
    QList<Track> m_tracks;
    QList<Track> m_shortTracks;
    std::unique_ptr<TempHome> m_home;
    std::unique_ptr<Config> m_config;
    std::unique_ptr<AudioPlayer> m_player;
    std::unique_ptr<PlayerController> m_controller;
    std::unique_ptr<QSignalSpy> m_sounds;

    void useTracks(const QList<Track>& tracks, qint64 index = 0)
    {
        m_config->savePlaylist(m_config->playlists().first().id, tracks);
        m_config->setCurrentTrackIndex(index);
    }
    QStringList sounds() const
    {
        QStringList names;
        for (const QList<QVariant>& call : *m_sounds)
            names << call.first().toString();
        return names;
    }
    QUrl urlOf(int i) const { return QUrl(m_tracks.at(i).urlString); }
    void startPlaying(qint64 index)
    {
        m_config->setCurrentTrackIndex(index);
        QVERIFY(m_controller->playCurrentTrack());
        QTRY_VERIFY_WITH_TIMEOUT(m_player->duration() > 1.5, 10000);
        m_sounds->clear();
    }
    // A settings file removed now is written again only by a save.
    bool savesSettings(const std::function<void()>& action)
    {
        QFile::remove(m_home->settingsFile());
        action();
        return QFile::exists(m_home->settingsFile());
    }

private slots:
    void initTestCase()
    {
        m_tracks = playertest::makeTracks(m_audio.path() + "/long", 3, 4.0);
        m_shortTracks = playertest::makeTracks(m_audio.path() + "/short", 3, 0.4);
        QCOMPARE(m_tracks.size(), 3);
    }
    void init()
    {
        m_home = std::make_unique<TempHome>();
        m_config = std::make_unique<Config>();
        m_player = std::make_unique<AudioPlayer>();
        m_controller = std::make_unique<PlayerController>(m_config.get(), m_player.get());
        m_controller->installTrackFinishedHandler();
        m_sounds = std::make_unique<QSignalSpy>(m_config->soundPlayer(), &SoundPlayer::soundStarted);
        m_config->setLoopTracks(false);
        useTracks(m_tracks);
    }
    void cleanup()
    {
        m_sounds.reset();
        m_controller.reset();
        m_player.reset();
        m_config.reset();
        m_home.reset();
    }

    // Transport buttons
    void rewindWhileIdleMovesAndClicks()
    {
        m_controller->skipTrack(PlayerController::Direction::Previous, "click");
        QCOMPARE(m_config->currentTrackIndex(), 2);
        QVERIFY(!m_player->isPlaying());
        QVERIFY(!m_player->hasPlayer());
        QCOMPARE(sounds(), QStringList{"click"});
    }
    void fastForwardWhilePlayingStartsTheNextSilently()
    {
        startPlaying(1);
        m_controller->skipTrack(PlayerController::Direction::Next, "click");
        QCOMPARE(m_config->currentTrackIndex(), 2);
        QVERIFY(m_player->isPlaying());
        QCOMPARE(m_player->url(), urlOf(2));
        QVERIFY(sounds().isEmpty());
    }
    void fastForwardOnTheLastTrackRestartsIt()
    {
        startPlaying(2);
        m_player->seek(0.5);
        m_controller->skipTrack(PlayerController::Direction::Next, "click");
        QCOMPARE(m_config->currentTrackIndex(), 2);
        QVERIFY(m_player->isPlaying());
        QCOMPARE(m_player->url(), urlOf(2));
        QVERIFY(m_player->currentTime() < 1.0);
    }
    void rewindNearTheEndGoesToThePreviousTrack()
    {
        startPlaying(1);
        m_player->seek(0.95);
        m_controller->skipTrack(PlayerController::Direction::Previous, "click");
        QCOMPARE(m_config->currentTrackIndex(), 0);
        QCOMPARE(m_player->url(), urlOf(0));
    }
    void playOnAnEmptyPlaylistClicks()
    {
        useTracks({});
        m_controller->play("click");
        QVERIFY(!m_player->isPlaying());
        QCOMPARE(sounds(), QStringList{"click"});
    }
    void soundsOffMakeNoSound()
    {
        m_config->setPlaysSounds(false);
        m_controller->skipTrack(PlayerController::Direction::Previous, "click");
        m_controller->minimizeToggled("min");
        useTracks({});
        m_controller->play("click");
        m_controller->chooseTrack(0, "pop");
        QVERIFY(sounds().isEmpty());
    }
    void minimiseIsSilentWhilePlaying()
    {
        m_controller->minimizeToggled("min");
        QCOMPARE(sounds(), QStringList{"min"});
        startPlaying(0);
        m_controller->minimizeToggled("min");
        QVERIFY(sounds().isEmpty());
    }
    void pauseThenPlayResumes()
    {
        startPlaying(0);
        m_player->seek(0.5);
        m_controller->pause();
        QVERIFY(!m_player->isPlaying());
        const double paused = m_player->currentTime();
        QVERIFY(paused > 1.5);
        m_controller->play("click");
        QVERIFY(m_player->isPlaying());
        QCOMPARE(m_player->url(), urlOf(0));
        QVERIFY(m_player->currentTime() >= paused - 0.1);
        QVERIFY(sounds().isEmpty());
    }
    void unusableTracksPlayNothing_data()
    {
        QTest::addColumn<QString>("urlString");
        QTest::addColumn<qint64>("index");
        QTest::newRow("no URL") << "http://[::1" << qint64(0);
        QTest::newRow("empty") << "" << qint64(0);
        QTest::newRow("index past the end") << m_tracks.at(0).urlString << qint64(5);
        QTest::newRow("negative index") << m_tracks.at(0).urlString << qint64(-1);
    }
    void unusableTracksPlayNothing()
    {
        QFETCH(QString, urlString);
        QFETCH(qint64, index);
        useTracks({Track{QUuid::createUuid(), urlString, "x", "y"}}, index);
        QVERIFY(!m_controller->playCurrentTrack());
        QVERIFY(!m_player->hasPlayer());
    }

    void handWrittenPlainPathPlays()
    {
        const QString original = QUrl(m_tracks.at(0).urlString).toLocalFile();
        const QString plain = QFileInfo(original).absolutePath() + QStringLiteral("/hand written.wav");
        QVERIFY(QFile::exists(plain) || QFile::copy(original, plain));
        useTracks({Track{QUuid::createUuid(), plain, "x", "y"}}, 0);
        QVERIFY(m_controller->playCurrentTrack());
        QCOMPARE(m_player->url(), QUrl::fromLocalFile(plain));
        m_player->stop();
    }

    // End of a track (the real end of short files)
    void endOfTheLastTrackStopsAndRewinds()
    {
        useTracks(m_shortTracks, 2);
        QVERIFY(m_controller->playCurrentTrack());
        QTRY_VERIFY_WITH_TIMEOUT(!m_player->isPlaying(), 10000);
        QCOMPARE(m_config->currentTrackIndex(), 0);
        QVERIFY(sounds().isEmpty());
        m_controller->play("click");
        QCOMPARE(m_player->url(), QUrl(m_shortTracks.at(0).urlString));
    }
    void endWithLoopStartsTheFirst()
    {
        m_config->setLoopTracks(true);
        useTracks(m_shortTracks, 2);
        QSignalSpy urls(m_player.get(), &AudioPlayer::urlChanged);
        QVERIFY(m_controller->playCurrentTrack());
        QTRY_VERIFY_WITH_TIMEOUT(m_config->currentTrackIndex() == 0, 10000);
        QTRY_COMPARE_WITH_TIMEOUT(m_player->url(), QUrl(m_shortTracks.at(0).urlString), 10000);
        QVERIFY(m_player->isPlaying());
    }
    void endWithShuffleStartsAnother()
    {
        m_config->setShuffleTracks(true);
        useTracks(m_shortTracks, 1);
        QVERIFY(m_controller->playCurrentTrack());
        QTRY_VERIFY_WITH_TIMEOUT(m_config->currentTrackIndex() != 1, 10000);
        const qint64 next = m_config->currentTrackIndex();
        QTRY_COMPARE_WITH_TIMEOUT(m_player->url(), QUrl(m_shortTracks.at(next).urlString), 10000);
    }

    // The skin's menus
    void choosingAnotherPlaylistStopsSavesAndPops()
    {
        m_config->createPlaylist();
        startPlaying(2);
        QVERIFY(savesSettings([this] { m_controller->choosePlaylist(1, "pop"); }));
        QCOMPARE(m_config->currentPlaylistIndex(), 1);
        QCOMPARE(m_config->lastSelectedPlaylistID(), 1);
        QCOMPARE(m_config->currentTrackIndex(), 0);
        QVERIFY(!m_player->isPlaying());
        QCOMPARE(sounds(), QStringList{"pop"});
        // the next start comes back to the same playlist
        m_config = std::make_unique<Config>();
        QCOMPARE(m_config->currentPlaylistIndex(), 1);
    }
    void choosingTheCurrentPlaylistDoesNothing()
    {
        QVERIFY(!savesSettings([this] { m_controller->choosePlaylist(0, "pop"); }));
        QVERIFY(!savesSettings([this] { m_controller->choosePlaylist(0); }));
        QVERIFY(!savesSettings([this] { m_controller->choosePlaylist(7, "pop"); }));
        QVERIFY(sounds().isEmpty());
    }
    void choosingATrackWhileIdlePops()
    {
        m_controller->chooseTrack(2, "pop");
        QCOMPARE(m_config->currentTrackIndex(), 2);
        QVERIFY(!m_player->isPlaying());
        QCOMPARE(sounds(), QStringList{"pop"});
    }
    void choosingThePlayingTrackRestartsIt()
    {
        startPlaying(1);
        m_player->seek(0.6);
        m_controller->chooseTrack(1, "pop");
        QVERIFY(m_player->isPlaying());
        QCOMPARE(m_player->url(), urlOf(1));
        QVERIFY(m_player->currentTime() < 1.0);
        QVERIFY(sounds().isEmpty());
    }

    // The "Player" menu
    void menuPlayPauseToggles()
    {
        m_config->setCurrentTrackIndex(1);
        m_controller->playPause();
        QVERIFY(m_player->isPlaying());
        QCOMPARE(m_player->url(), urlOf(1));
        m_controller->playPause();
        QVERIFY(!m_player->isPlaying());
        QVERIFY(sounds().isEmpty());
    }
    void menuWithoutAFileDoesNothing()
    {
        m_controller->volumeUp();
        m_controller->volumeDown();
        QVERIFY(!m_player->hasPlayer());
        useTracks({});
        m_controller->playPause();
        QVERIFY(!m_player->hasPlayer());
        QVERIFY(sounds().isEmpty());
    }
    void loopAndShuffleToggleAndSave()
    {
        const bool loop = m_config->loopTracks();
        QVERIFY(savesSettings([this] { m_controller->toggleLoop(); }));
        QCOMPARE(m_config->loopTracks(), !loop);
        QVERIFY(savesSettings([this] { m_controller->toggleLoop(); }));
        QCOMPARE(m_config->loopTracks(), loop);
        QVERIFY(savesSettings([this] { m_controller->toggleShuffle(); }));
        QVERIFY(m_config->shuffleTracks());
    }
    void volumeStepsStopAtTheBounds_data()
    {
        QTest::addColumn<float>("start");
        QTest::addColumn<bool>("up");
        QTest::addColumn<float>("expected");
        QTest::newRow("up from 0.95") << 0.95f << true << 1.0f;
        QTest::newRow("down from 0.05") << 0.05f << false << 0.0f;
        QTest::newRow("up from 0.5") << 0.5f << true << 0.6f;
        QTest::newRow("down from 0.5") << 0.5f << false << 0.4f;
    }
    void volumeStepsStopAtTheBounds()
    {
        QFETCH(float, start);
        QFETCH(bool, up);
        QFETCH(float, expected);
        startPlaying(0);
        m_player->setVolume(start);
        up ? m_controller->volumeUp() : m_controller->volumeDown();
        QVERIFY(qAbs(m_player->volume() - expected) < 1e-4f);
    }
    void menuPlaylistWhilePausedKeepsTheFileLoaded()
    {
        m_config->createPlaylist();
        startPlaying(1);
        m_player->pause();
        QVERIFY(savesSettings([this] { m_controller->choosePlaylist(1); }));
        QCOMPARE(m_config->currentTrackIndex(), 0);
        QVERIFY(m_player->hasPlayer());
        QCOMPARE(m_player->url(), urlOf(1));
        QVERIFY(sounds().isEmpty());
    }
    void menuTrackPlaysOnlyWhilePlaying()
    {
        m_controller->chooseTrack(2);
        QCOMPARE(m_config->currentTrackIndex(), 2);
        QVERIFY(!m_player->hasPlayer());
        startPlaying(0);
        m_controller->chooseTrack(1);
        QCOMPARE(m_player->url(), urlOf(1));
        QVERIFY(m_player->isPlaying());
        QVERIFY(sounds().isEmpty());
    }

    // The file queued for a gapless joint follows only if the rules it was chosen by still
    // hold when it starts; otherwise they choose again, as at the end of a track.
    void queuedNextIsCheckedAtTheJoint_data()
    {
        QTest::addColumn<bool>("loopAtJoint");
        QTest::addColumn<bool>("listEdited");
        QTest::addColumn<bool>("playsOn");
        QTest::addColumn<int>("playedAtJoint");
        QTest::newRow("rules unchanged") << true << false << true << 0;
        QTest::newRow("loop turned off") << false << false << false << 0;
        QTest::newRow("playlist edited") << true << true << true << 1;
    }
    void queuedNextIsCheckedAtTheJoint()
    {
        QFETCH(bool, loopAtJoint);
        QFETCH(bool, listEdited);
        QFETCH(bool, playsOn);
        QFETCH(int, playedAtJoint);
        FakePlayer player;
        PlayerController controller(m_config.get(), &player);
        m_config->setLoopTracks(true);
        m_config->setCurrentTrackIndex(2);
        QVERIFY(controller.playCurrentTrack());
        QCOMPARE(controller.queueNextTrack(), urlOf(0));
        m_config->setLoopTracks(loopAtJoint);
        if (listEdited)
            m_config->savePlaylist(m_config->playlists().first().id, m_tracks.mid(0, 2));
        controller.nextTrackStarted();
        QCOMPARE(m_config->currentTrackIndex(), 0);
        QCOMPARE(player.playing, playsOn);
        QCOMPARE(player.played.size(), 1 + playedAtJoint);
    }
};

QTEST_MAIN(TestPlayerController)
#include "tst_playercontroller.moc"
