#include "control/playercontroller.h"
#include "model/config.h"
#include "playback/soundplayer.h"
#include "playback/trackplayer.h"
#include "support/testsupport.h"

#include <QSignalSpy>
#include <QtTest>

namespace {

// What the controller asks of a player, remembered instead of sounded.
class FakePlayer final : public TrackPlayer {
public:
    QList<QUrl> played;
    int stops = 0;
    bool loaded = false;
    bool playing = false;
    bool loading = false;
    double time = 0;
    float level = 0.5f;

    void play(const QUrl& url) override { played << url, loaded = playing = true; }
    void pause() override { playing = false; }
    void stop() override { ++stops, playing = false; }
    bool isPlaying() const override { return playing; }
    bool hasPlayer() const override { return loaded; }
    bool isLoading() const override { return loading; }
    double duration() const override { return 4; }
    double currentTime() const override { return time; }
    void setCurrentTime(double seconds) override { time = seconds; }
    float volume() const override { return level; }
    void setVolume(float volume) override { level = volume; }
};

using Action = std::function<void(PlayerController*)>;

QUrl urlOf(int i) { return QUrl(QStringLiteral("file:///music/%1.wav").arg(i)); }

QList<Track> tracks(int count)
{
    QList<Track> list;
    for (int i = 0; i < count; ++i)
        list << Track{QUuid::createUuid(), urlOf(i).toString(), QString::number(i), "A"};
    return list;
}

} // namespace

// The deciding logic of the transport buttons, the skin's and the "Player" menus, the end of
// a track and the gapless joint, on one settings store and a player that only remembers.
class TestPlayerController final : public QObject {
    Q_OBJECT

    testsupport::TempHome m_home;
    std::unique_ptr<Config> m_config;
    std::unique_ptr<FakePlayer> m_player;
    std::unique_ptr<PlayerController> m_controller;
    std::unique_ptr<QSignalSpy> m_sounds;

    QStringList sounds() const
    {
        QStringList names;
        for (const QList<QVariant>& call : *m_sounds)
            names << call.first().toString();
        return names;
    }
    void startPlaying(qint64 index)
    {
        m_config->setCurrentTrackIndex(index);
        QVERIFY(m_controller->playCurrentTrack());
        m_player->played.clear();
    }
    // A settings file removed now is written again only by a save.
    bool savesSettings(const std::function<void()>& action)
    {
        QFile::remove(m_home.settingsFile());
        action();
        return QFile::exists(m_home.settingsFile());
    }

private slots:
    void initTestCase() { m_config = std::make_unique<Config>(); }
    void init()
    {
        m_player = std::make_unique<FakePlayer>();
        m_controller = std::make_unique<PlayerController>(m_config.get(), m_player.get());
        m_controller->installTrackFinishedHandler();
        m_sounds = std::make_unique<QSignalSpy>(m_config->soundPlayer(), &SoundPlayer::soundStarted);
        m_config->setPlaylists(m_config->playlists().mid(0, 1));
        m_config->setCurrentPlaylistIndex(0);
        m_config->savePlaylist(m_config->playlists().first().id, tracks(3));
        m_config->setCurrentTrackIndex(0);
        m_config->setLoopTracks(false);
        m_config->setShuffleTracks(false);
        m_config->setPlaysSounds(true);
    }

    // A transport button or menu entry, pressed while idle or while playing track 1 (of 3):
    // the index it leaves, what is played, whether it plays after, and the sound heard.
    void actions_data()
    {
        QTest::addColumn<Action>("action");
        QTest::addColumn<bool>("playing");
        QTest::addColumn<qint64>("index");
        QTest::addColumn<QList<QUrl>>("played");
        QTest::addColumn<bool>("playsAfter");
        QTest::addColumn<QStringList>("heard");
        using C = PlayerController*;
        const Action previous = [](C c) { c->skipTrack(PlayerController::Direction::Previous, "click"); };
        const Action next = [](C c) { c->skipTrack(PlayerController::Direction::Next, "click"); };
        const Action chooseWithPop = [](C c) { c->chooseTrack(2, "pop"); };
        const Action minimise = [](C c) { c->minimizeToggled("min"); };
        const QStringList none;
        QTest::newRow("rewind while idle") << previous << false << qint64(0) << QList<QUrl>{} << false << QStringList{"click"};
        QTest::newRow("rewind while playing") << previous << true << qint64(0) << QList<QUrl>{urlOf(0)} << true << none;
        QTest::newRow("forward while playing") << next << true << qint64(2) << QList<QUrl>{urlOf(2)} << true << none;
        QTest::newRow("track while idle") << chooseWithPop << false << qint64(2) << QList<QUrl>{} << false << QStringList{"pop"};
        QTest::newRow("track while playing") << chooseWithPop << true << qint64(2) << QList<QUrl>{urlOf(2)} << true << none;
        QTest::newRow("menu track while idle") << Action([](C c) { c->chooseTrack(2); }) << false << qint64(2) << QList<QUrl>{} << false << none;
        QTest::newRow("play while idle") << Action([](C c) { c->play("click"); }) << false << qint64(1) << QList<QUrl>{urlOf(1)} << true << none;
        QTest::newRow("play/pause while idle") << Action([](C c) { c->playPause("click"); }) << false << qint64(1) << QList<QUrl>{urlOf(1)} << true << none;
        QTest::newRow("play/pause while playing") << Action([](C c) { c->playPause("click"); }) << true << qint64(1) << QList<QUrl>{} << false << none;
        QTest::newRow("pause") << Action([](C c) { c->pause(); }) << true << qint64(1) << QList<QUrl>{} << false << none;
        QTest::newRow("minimise while idle") << minimise << false << qint64(1) << QList<QUrl>{} << false << QStringList{"min"};
        QTest::newRow("minimise while playing") << minimise << true << qint64(1) << QList<QUrl>{} << true << none;
    }
    void actions()
    {
        QFETCH(Action, action);
        QFETCH(bool, playing);
        QFETCH(qint64, index);
        QFETCH(QList<QUrl>, played);
        QFETCH(bool, playsAfter);
        QFETCH(QStringList, heard);
        m_config->setCurrentTrackIndex(1);
        if (playing)
            startPlaying(1);
        action(m_controller.get());
        QCOMPARE(m_config->currentTrackIndex(), index);
        QCOMPARE(m_player->played, played);
        QCOMPARE(m_player->playing, playsAfter);
        QCOMPARE(sounds(), heard);
        // with sounds off nothing is ever heard
        m_sounds->clear();
        m_config->setPlaysSounds(false);
        action(m_controller.get());
        QVERIFY(sounds().isEmpty());
    }

    void forwardOnTheLastTrackRestartsIt()
    {
        startPlaying(2);
        m_controller->skipTrack(PlayerController::Direction::Next, "click");
        QCOMPARE(m_config->currentTrackIndex(), 2);
        QCOMPARE(m_player->played, QList<QUrl>{urlOf(2)});
        QCOMPARE(m_player->stops, 1);
    }

    void nothingToPlayClicks_data()
    {
        QTest::addColumn<QString>("urlString");
        QTest::addColumn<qint64>("index");
        QTest::newRow("no URL") << "http://[::1" << qint64(0);
        QTest::newRow("empty") << "" << qint64(0);
        QTest::newRow("index past the end") << urlOf(0).toString() << qint64(5);
        QTest::newRow("negative index") << urlOf(0).toString() << qint64(-1);
        QTest::newRow("empty playlist") << QString() << qint64(-2);
    }
    void nothingToPlayClicks()
    {
        QFETCH(QString, urlString);
        QFETCH(qint64, index);
        QList<Track> list;
        if (index != -2)
            list << Track{QUuid::createUuid(), urlString, "x", "y"};
        m_config->savePlaylist(m_config->playlists().first().id, list);
        m_config->setCurrentTrackIndex(index);
        m_controller->play("click");
        m_controller->playPause();
        QVERIFY(!m_player->hasPlayer());
        QCOMPARE(sounds(), QStringList{"click"});
    }

    // The end of a track, without and with the gapless queue: the last track without loop
    // stops and rewinds, loop starts the first, shuffle another.
    void endOfTrack_data()
    {
        QTest::addColumn<bool>("loop");
        QTest::addColumn<bool>("shuffle");
        QTest::addColumn<qint64>("from");
        QTest::addColumn<bool>("playsOn");
        QTest::newRow("next") << false << false << qint64(0) << true;
        QTest::newRow("last stops") << false << false << qint64(2) << false;
        QTest::newRow("last with loop") << true << false << qint64(2) << true;
        QTest::newRow("shuffle") << false << true << qint64(1) << true;
    }
    void endOfTrack()
    {
        QFETCH(bool, loop);
        QFETCH(bool, shuffle);
        QFETCH(qint64, from);
        QFETCH(bool, playsOn);
        m_config->setLoopTracks(loop);
        m_config->setShuffleTracks(shuffle);
        for (const bool gapless : {false, true}) {
            startPlaying(from);
            QUrl queued;
            if (gapless) {
                queued = m_player->nextTrackURL();
                QCOMPARE(queued.isEmpty(), !playsOn);
            }
            // where no file is queued, the player ends the track; otherwise the queued one starts
            if (queued.isEmpty())
                m_player->onTrackFinished();
            else
                m_player->onNextTrackStarted(queued);
            const qint64 index = m_config->currentTrackIndex();
            QCOMPARE(m_player->playing, playsOn);
            if (!playsOn) {
                QCOMPARE(index, 0);
                continue;
            }
            QVERIFY(shuffle ? index != from : index == (from + 1) % 3);
            // the gapless file is already sounding: nothing more is asked of the player
            QCOMPARE(m_player->played, gapless ? QList<QUrl>{} : QList<QUrl>{urlOf(index)});
            if (gapless)
                QCOMPARE(queued, urlOf(index));
        }
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
        m_config->setLoopTracks(true);
        startPlaying(2);
        QCOMPARE(m_controller->queueNextTrack(), urlOf(0));
        m_config->setLoopTracks(loopAtJoint);
        if (listEdited)
            m_config->savePlaylist(m_config->playlists().first().id, tracks(2));
        m_controller->nextTrackStarted();
        QCOMPARE(m_config->currentTrackIndex(), 0);
        QCOMPARE(m_player->playing, playsOn);
        QCOMPARE(m_player->played.size(), playedAtJoint);
    }

    void choosingAPlaylist()
    {
        m_config->createPlaylist();
        // the current one, or one that is not there, changes nothing
        for (const qint64 index : {0, 2, -1})
            QVERIFY(!savesSettings([&] { m_controller->choosePlaylist(index, "pop"); }));
        QVERIFY(sounds().isEmpty());
        // from the menu while paused: the file stays loaded
        startPlaying(2);
        m_player->pause();
        QVERIFY(savesSettings([&] { m_controller->choosePlaylist(1); }));
        QCOMPARE(m_player->stops, 0);
        QVERIFY(sounds().isEmpty());
        // from the skin while playing: stopped, saved, track 0, the sound
        m_controller->choosePlaylist(0);
        startPlaying(2);
        QVERIFY(savesSettings([&] { m_controller->choosePlaylist(1, "pop"); }));
        QCOMPARE(m_config->currentPlaylistIndex(), 1);
        QCOMPARE(m_config->lastSelectedPlaylistID(), 1);
        QCOMPARE(m_config->currentTrackIndex(), 0);
        QCOMPARE(m_player->stops, 1);
        QVERIFY(!m_player->playing);
        QCOMPARE(sounds(), QStringList{"pop"});
    }

    void loopAndShuffleToggleAndSave()
    {
        QVERIFY(savesSettings([this] { m_controller->toggleLoop(); }));
        QVERIFY(m_config->loopTracks());
        QVERIFY(savesSettings([this] { m_controller->toggleShuffle(); }));
        QVERIFY(m_config->shuffleTracks());
        QVERIFY(!savesSettings([this] { m_controller->setLoop(true); }));
        QVERIFY(savesSettings([this] { m_controller->setShuffle(false); }));
        QVERIFY(!m_config->shuffleTracks());
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
        m_player->level = start;
        // without a loaded file the volume stays
        up ? m_controller->volumeUp() : m_controller->volumeDown();
        QCOMPARE(m_player->level, start);
        startPlaying(0);
        up ? m_controller->volumeUp() : m_controller->volumeDown();
        QVERIFY(qAbs(m_player->level - expected) < 1e-4f);
    }

    // Seeks: by an offset (past the end moves on; a file still loading takes it as it is),
    // or to a place inside the file (outside it nothing happens).
    void seeks_data()
    {
        QTest::addColumn<bool>("by");
        QTest::addColumn<double>("seconds");
        QTest::addColumn<bool>("loading");
        QTest::addColumn<double>("time");
        QTest::addColumn<qint64>("index");
        QTest::newRow("by +1") << true << 1.0 << false << 2.0 << qint64(0);
        QTest::newRow("by -5 stops at 0") << true << -5.0 << false << 0.0 << qint64(0);
        QTest::newRow("by +3.5 past the end") << true << 3.5 << false << 1.0 << qint64(1);
        QTest::newRow("by +3 while loading") << true << 3.0 << true << 4.0 << qint64(0);
        QTest::newRow("to 3") << false << 3.0 << false << 3.0 << qint64(0);
        QTest::newRow("to 4, the end") << false << 4.0 << false << 4.0 << qint64(0);
        QTest::newRow("to 5, past the end") << false << 5.0 << false << 1.0 << qint64(0);
        QTest::newRow("to -1") << false << -1.0 << false << 1.0 << qint64(0);
    }
    void seeks()
    {
        QFETCH(bool, by);
        QFETCH(double, seconds);
        QFETCH(bool, loading);
        QFETCH(double, time);
        QFETCH(qint64, index);
        by ? m_controller->seekBy(seconds) : m_controller->seekTo(seconds);
        QCOMPARE(m_player->time, 0.0); // nothing loaded
        startPlaying(0);
        m_player->time = 1;
        m_player->loading = loading;
        by ? m_controller->seekBy(seconds) : m_controller->seekTo(seconds);
        QCOMPARE(m_config->currentTrackIndex(), index);
        if (index == 0)
            QCOMPARE(m_player->time, time);
        else
            QCOMPARE(m_player->played, QList<QUrl>{urlOf(index)});
    }
};

QTEST_MAIN(TestPlayerController)
#include "tst_playercontroller.moc"
