#include "control/playercontroller.h"
#include "model/config.h"
#include "playback/soundplayer.h"
#include "playback/trackplayer.h"
#include "support/testsupport.h"

#include <QtTest>

namespace {

// What the controller asks of a player, remembered instead of sounded.
class FakePlayer final : public TrackPlayer {
public:
    QList<QUrl> played;
    int stops = 0;
    bool loaded = false, playing = false, loading = false;
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

using C = PlayerController*;
using Action = std::function<void(C)>;

QUrl urlOf(int i) { return QUrl(QStringLiteral("file:///music/%1.wav").arg(i)); }
QList<QUrl> urls(int i) { return i < 0 ? QList<QUrl>{} : QList<QUrl>{urlOf(i)}; }

QList<Track> tracks(int count)
{
    QList<Track> list;
    for (int i = 0; i < count; ++i)
        list << Track{QUuid::createUuid(), urlOf(i).toString(), QString::number(i), "A"};
    return list;
}

// A button or menu entry pressed on track `from` of 3, idle or playing: the index it leaves,
// the track played (-1: none), whether it plays after, and the sound heard.
struct Press { Action action; bool playing; qint64 from, index; int played; bool playsAfter; QString heard; };
// The end of a track with these rules, and whether playback goes on.
struct End { bool loop, shuffle; qint64 from; bool playsOn; };
// A seek by an offset or to a place, on a file at 1 s of 4 s, loading or not.
struct Seek { bool by; double seconds; bool loading; double time; qint64 index; };

} // namespace

// The deciding logic of the transport buttons, the skin's and the "Player" menus, the end of
// a track and the gapless joint, on one settings store and a player that only remembers.
class TestPlayerController final : public QObject {
    Q_OBJECT

    testsupport::TempHome m_home;
    std::unique_ptr<Config> m_config;
    std::unique_ptr<FakePlayer> m_player;
    std::unique_ptr<PlayerController> m_controller;
    QStringList m_heard; // the sounds played, by name

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
        connect(m_config->soundPlayer(), &SoundPlayer::soundStarted, m_controller.get(),
                [this](const QString& name) { m_heard << name; });
        m_heard.clear();
        m_config->setPlaylists(m_config->playlists().mid(0, 1));
        m_config->setCurrentPlaylistIndex(0);
        m_config->savePlaylist(m_config->playlists().first().id, tracks(3));
        m_config->setCurrentTrackIndex(0);
        m_config->setLoopTracks(false);
        m_config->setShuffleTracks(false);
        m_config->setPlaysSounds(true);
    }

    void presses_data()
    {
        QTest::addColumn<Press>("p");
        const Action previous = [](C c) { c->skipTrack(PlayerController::Direction::Previous, "click"); };
        const Action next = [](C c) { c->skipTrack(PlayerController::Direction::Next, "click"); };
        const Action track = [](C c) { c->chooseTrack(2, "pop"); };
        const Action playPause = [](C c) { c->playPause("click"); };
        const Action minimise = [](C c) { c->minimizeToggled("min"); };
        QTest::newRow("rewind while idle") << Press{previous, false, 1, 0, -1, false, "click"};
        QTest::newRow("rewind while playing") << Press{previous, true, 1, 0, 0, true, ""};
        QTest::newRow("forward while playing") << Press{next, true, 1, 2, 2, true, ""};
        QTest::newRow("forward on the last restarts it") << Press{next, true, 2, 2, 2, true, ""};
        QTest::newRow("track while idle") << Press{track, false, 1, 2, -1, false, "pop"};
        QTest::newRow("track while playing") << Press{track, true, 1, 2, 2, true, ""};
        QTest::newRow("play/pause while idle") << Press{playPause, false, 1, 1, 1, true, ""};
        QTest::newRow("play/pause while playing") << Press{playPause, true, 1, 1, -1, false, ""};
        QTest::newRow("minimise while idle") << Press{minimise, false, 1, 1, -1, false, "min"};
        QTest::newRow("minimise while playing") << Press{minimise, true, 1, 1, -1, true, ""};
    }
    void presses()
    {
        QFETCH(Press, p);
        m_config->setCurrentTrackIndex(p.from);
        if (p.playing)
            startPlaying(p.from);
        p.action(m_controller.get());
        QCOMPARE(m_config->currentTrackIndex(), p.index);
        QCOMPARE(m_player->played, urls(p.played));
        // a track changed while playing is stopped before the next starts
        QCOMPARE(m_player->stops, int(p.playing && p.played >= 0));
        QCOMPARE(m_player->playing, p.playsAfter);
        QCOMPARE(m_heard, p.heard.isEmpty() ? QStringList{} : QStringList{p.heard});
        // with sounds off nothing is ever heard
        m_heard.clear();
        m_config->setPlaysSounds(false);
        p.action(m_controller.get());
        QVERIFY(m_heard.isEmpty());
    }

    // A hand-edited playlist may name no URL or the index may point nowhere: play only clicks.
    void nothingToPlayClicks()
    {
        const std::pair<QString, qint64> cases[] = {
            {"http://[::1", 0}, {"", 0}, {urlOf(0).toString(), 5}, {urlOf(0).toString(), -1}, {{}, -2}};
        for (const auto& [url, index] : cases) {
            m_config->savePlaylist(m_config->playlists().first().id,
                                   index == -2 ? QList<Track>{} : QList<Track>{Track{QUuid::createUuid(), url, "x", "y"}});
            m_config->setCurrentTrackIndex(index);
            m_heard.clear();
            m_controller->play("click");
            m_controller->playPause();
            QVERIFY(!m_player->hasPlayer());
            QCOMPARE(m_heard, QStringList{"click"});
        }
    }

    // Without and with the gapless queue: the last track without loop stops and rewinds,
    // loop starts the first, shuffle another.
    void endOfTrack_data()
    {
        QTest::addColumn<End>("e");
        QTest::newRow("next") << End{false, false, 0, true};
        QTest::newRow("last stops") << End{false, false, 2, false};
        QTest::newRow("last with loop") << End{true, false, 2, true};
        QTest::newRow("shuffle") << End{false, true, 1, true};
    }
    void endOfTrack()
    {
        QFETCH(End, e);
        m_config->setLoopTracks(e.loop);
        m_config->setShuffleTracks(e.shuffle);
        for (const bool gapless : {false, true}) {
            startPlaying(e.from);
            const QUrl queued = gapless ? m_player->nextTrackURL() : QUrl();
            QCOMPARE(queued.isEmpty(), !gapless || !e.playsOn);
            // where no file is queued, the player ends the track; otherwise the queued one starts
            queued.isEmpty() ? m_player->onTrackFinished() : m_player->onNextTrackStarted(queued);
            const qint64 index = m_config->currentTrackIndex();
            QCOMPARE(m_player->playing, e.playsOn);
            if (!e.playsOn) {
                QCOMPARE(index, 0);
                continue;
            }
            QVERIFY(e.shuffle ? index != e.from : index == (e.from + 1) % 3);
            // the gapless file is already sounding: nothing more is asked of the player
            QCOMPARE(m_player->played, gapless ? QList<QUrl>{} : urls(index));
            if (gapless)
                QCOMPARE(queued, urlOf(index));
        }
    }

    // The file queued for a gapless joint follows only if the rules it was chosen by still
    // hold when it starts; otherwise they choose again, as at the end of a track.
    void queuedNextIsCheckedAtTheJoint()
    {
        const struct { bool loopAtJoint, listEdited, playsOn; int playedAtJoint; } cases[] = {
            {true, false, true, 0}, {false, false, false, 0}, {true, true, true, 1}};
        for (const auto& c : cases) {
            m_config->setLoopTracks(true);
            m_config->savePlaylist(m_config->playlists().first().id, tracks(3));
            startPlaying(2);
            QCOMPARE(m_controller->queueNextTrack(), urlOf(0));
            m_config->setLoopTracks(c.loopAtJoint);
            if (c.listEdited)
                m_config->savePlaylist(m_config->playlists().first().id, tracks(2));
            m_controller->nextTrackStarted();
            QCOMPARE(m_config->currentTrackIndex(), 0);
            QCOMPARE(m_player->playing, c.playsOn);
            QCOMPARE(m_player->played.size(), c.playedAtJoint);
        }
    }

    void choosingAPlaylist()
    {
        m_config->createPlaylist();
        // the current one, or one that is not there, changes nothing
        for (const qint64 index : {0, 2, -1})
            QVERIFY(!savesSettings([&] { m_controller->choosePlaylist(index, "pop"); }));
        QVERIFY(m_heard.isEmpty());
        // from the menu while paused: the file stays loaded
        startPlaying(2);
        m_player->pause();
        QVERIFY(savesSettings([&] { m_controller->choosePlaylist(1); }));
        QCOMPARE(m_player->stops, 0);
        QVERIFY(m_heard.isEmpty());
        // from the skin while playing: stopped, saved, track 0, the sound
        m_controller->choosePlaylist(0);
        startPlaying(2);
        QVERIFY(savesSettings([&] { m_controller->choosePlaylist(1, "pop"); }));
        QCOMPARE(m_config->currentPlaylistIndex(), 1);
        QCOMPARE(m_config->lastSelectedPlaylistID(), 1);
        QCOMPARE(m_config->currentTrackIndex(), 0);
        QCOMPARE(m_player->stops, 1);
        QVERIFY(!m_player->playing);
        QCOMPARE(m_heard, QStringList{"pop"});
    }

    // A change of loop or shuffle is saved; setting what is already set writes nothing.
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

    // Steps of 0.1 that stop at 0 and 1, and only with a file loaded.
    void volumeSteps()
    {
        const struct { float start; bool up; float expected; } cases[] = {
            {0.95f, true, 1.0f}, {0.05f, false, 0.0f}, {0.5f, true, 0.6f}, {0.5f, false, 0.4f}};
        for (const auto& c : cases) {
            const auto step = [&] { c.up ? m_controller->volumeUp() : m_controller->volumeDown(); };
            m_player->loaded = false;
            m_player->level = c.start;
            step();
            QCOMPARE(m_player->level, c.start);
            m_player->loaded = true;
            step();
            QVERIFY(qAbs(m_player->level - c.expected) < 1e-4f);
        }
    }

    // By an offset, past the end moves on (a file still loading takes it as it is); to a
    // place, outside the file nothing happens. Without a file nothing happens at all.
    void seeks_data()
    {
        QTest::addColumn<Seek>("s");
        QTest::newRow("by +1") << Seek{true, 1, false, 2, 0};
        QTest::newRow("by -5 stops at 0") << Seek{true, -5, false, 0, 0};
        QTest::newRow("by +3.5 past the end") << Seek{true, 3.5, false, 1, 1};
        QTest::newRow("by +3 while loading") << Seek{true, 3, true, 4, 0};
        QTest::newRow("to 3") << Seek{false, 3, false, 3, 0};
        QTest::newRow("to 4, the end") << Seek{false, 4, false, 4, 0};
        QTest::newRow("to 5, past the end") << Seek{false, 5, false, 1, 0};
        QTest::newRow("to -1") << Seek{false, -1, false, 1, 0};
    }
    void seeks()
    {
        QFETCH(Seek, s);
        const auto seek = [&] { s.by ? m_controller->seekBy(s.seconds) : m_controller->seekTo(s.seconds); };
        seek();
        QCOMPARE(m_player->time, 0.0);
        startPlaying(0);
        m_player->time = 1;
        m_player->loading = s.loading;
        seek();
        QCOMPARE(m_config->currentTrackIndex(), s.index);
        if (s.index == 0)
            QCOMPARE(m_player->time, s.time);
        else
            QCOMPARE(m_player->played, urls(s.index));
    }
};

QTEST_MAIN(TestPlayerController)
#include "tst_playercontroller.moc"
