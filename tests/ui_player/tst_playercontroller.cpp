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

// A settings store on a private home, the fake player and the controller between them.
struct Rig {
    testsupport::TempHome home;
    Config config;
    FakePlayer player;
    PlayerController controller{&config, &player};
};

using Action = std::function<void(PlayerController*)>;

QUrl urlOf(int i) { return QUrl(QStringLiteral("file:///music/%1.wav").arg(i)); }
QList<QUrl> urls(int i) { return i < 0 ? QList<QUrl>{} : QList<QUrl>{urlOf(i)}; }

// A press: the index it leaves, the track played (-1: none), whether it plays after, and the
// sound heard.
struct Press {
    Action action; bool playing; qint64 from, index; int played; bool playsAfter; QStringList heard;
};

} // namespace

// The deciding logic of the transport buttons, the skin's and the "Player" menus, the end of
// a track and the gapless joint, on a real settings store and a player that only remembers.
class TestPlayerController final : public QObject {
    Q_OBJECT

    std::unique_ptr<Rig> r;
    QStringList m_heard; // the sounds played, by name

    void startPlaying(qint64 index)
    {
        r->config.setCurrentTrackIndex(index);
        QVERIFY(r->controller.playCurrentTrack());
        r->player.played.clear();
    }
    void setTracks(const QList<Track>& list)
    {
        r->config.savePlaylist(r->config.playlists().first().id, list);
    }
    // A settings file removed now is written again only by a save.
    bool savesSettings(const std::function<void()>& action)
    {
        QFile::remove(r->home.settingsFile());
        action();
        return QFile::exists(r->home.settingsFile());
    }

private slots:
    void init()
    {
        r.reset(); // the previous home first, so the new one stays in place
        r = std::make_unique<Rig>();
        r->controller.installTrackFinishedHandler();
        connect(r->config.soundPlayer(), &SoundPlayer::soundStarted, this,
                [this](const QString& name) { m_heard << name; });
        m_heard.clear();
        r->config.setLoopTracks(false);
        QList<Track> tracks; // three, without loop or shuffle
        for (int i = 0; i < 3; ++i)
            tracks << Track{QUuid::createUuid(), urlOf(i).toString(), QString::number(i), "A"};
        setTracks(tracks);
    }

    // A button or menu entry pressed on track `from` of 3, idle or playing; a track changed
    // while playing is stopped before the next starts.
    void presses()
    {
        using D = PlayerController::Direction;
        const Action previous = [](auto c) { c->skipTrack(D::Previous, "click"); };
        const Action next = [](auto c) { c->skipTrack(D::Next, "click"); };
        const Action track = [](auto c) { c->chooseTrack(2, "pop"); };
        const Action playPause = [](auto c) { c->playPause("click"); };
        const Action minimise = [](auto c) { c->minimizeToggled("min"); };
        const Press cases[] = {
            {previous, false, 1, 0, -1, false, {"click"}}, {previous, true, 1, 0, 0, true, {}},
            {next, true, 2, 2, 2, true, {}}, // forward on the last plays it again
            {track, false, 1, 2, -1, false, {"pop"}},      {track, true, 1, 2, 2, true, {}},
            {playPause, false, 1, 1, 1, true, {}},         {playPause, true, 1, 1, -1, false, {}},
            {minimise, false, 1, 1, -1, false, {"min"}},   {minimise, true, 1, 1, -1, true, {}}};
        for (const Press& p : cases) {
            init();
            r->config.setCurrentTrackIndex(p.from);
            if (p.playing)
                startPlaying(p.from);
            p.action(&r->controller);
            QCOMPARE(std::tuple(r->config.currentTrackIndex(), r->player.played, r->player.stops,
                                r->player.playing, m_heard),
                     std::tuple(p.index, urls(p.played), int(p.playing && p.played >= 0),
                                p.playsAfter, p.heard));
        }
    }

    // A hand-edited playlist may name no URL or the index may point nowhere: play only clicks,
    // and with sounds off not even that.
    void nothingToPlayClicks()
    {
        const QString file = urlOf(0).toString();
        const std::pair<QString, qint64> cases[] = {
            {"http://[::1", 0}, {"", 0}, {file, 1}, {file, -1}};
        for (const auto& [url, index] : cases) {
            setTracks({Track{QUuid::createUuid(), url, "x", "y"}});
            r->config.setCurrentTrackIndex(index);
            m_heard.clear();
            r->controller.play("click");
            r->controller.playPause();
            QCOMPARE(std::pair(r->player.hasPlayer(), m_heard),
                     std::pair(false, QStringList{"click"}));
        }
        r->config.setPlaysSounds(false);
        r->controller.play("click");
        QCOMPARE(m_heard, QStringList{"click"});
    }

    // Without and with the gapless queue: the last track without loop stops and rewinds, loop
    // starts the first, shuffle another. Where no file is queued the player ends the track;
    // otherwise the queued one starts and nothing more is asked of the player.
    void endOfTrack()
    {
        const struct { bool loop, shuffle; qint64 from; bool playsOn; } cases[] = {
            {false, false, 0, true}, {false, false, 2, false}, {true, false, 2, true},
            {false, true, 1, true}};
        for (const auto& e : cases) {
            r->config.setLoopTracks(e.loop);
            r->config.setShuffleTracks(e.shuffle);
            for (const bool gapless : {false, true}) {
                startPlaying(e.from);
                const QUrl queued = gapless ? r->player.nextTrackURL() : QUrl();
                const bool joined = gapless && e.playsOn;
                joined ? r->player.onNextTrackStarted(queued) : r->player.onTrackFinished();
                const qint64 index = r->config.currentTrackIndex();
                QVERIFY(e.shuffle ? index != e.from : index == (e.playsOn ? (e.from + 1) % 3 : 0));
                QCOMPARE(std::tuple(r->player.playing, r->player.played, queued),
                         std::tuple(e.playsOn, urls(joined || !e.playsOn ? -1 : index),
                                    joined ? urlOf(index) : QUrl()));
            }
        }
        // The file queued for a gapless joint follows only if the rules it was chosen by still
        // hold when it starts; otherwise they choose again, as at the end of a track.
        const struct { bool loopAtJoint, listEdited, playsOn; int playedAtJoint; } joints[] = {
            {true, false, true, 0}, {false, false, false, 0}, {true, true, true, 1}};
        for (const auto& c : joints) {
            init();
            r->config.setLoopTracks(true);
            startPlaying(2);
            QCOMPARE(r->controller.queueNextTrack(), urlOf(0));
            r->config.setLoopTracks(c.loopAtJoint);
            if (c.listEdited)
                setTracks(r->config.currentTracks().mid(0, 2));
            r->controller.nextTrackStarted();
            QCOMPARE(std::tuple(r->config.currentTrackIndex(), r->player.playing,
                                r->player.played.size()),
                     std::tuple(0, c.playsOn, c.playedAtJoint));
        }
    }

    // A playlist chosen is saved; loop and shuffle too, but setting what is already set
    // writes nothing.
    void choicesAreSaved()
    {
        r->config.createPlaylist();
        // the current one, or one that is not there, changes nothing
        for (const qint64 index : {0, 2, -1})
            QVERIFY(!savesSettings([&] { r->controller.choosePlaylist(index, "pop"); }));
        QVERIFY(m_heard.isEmpty());
        // from the menu while paused: saved, and the file stays loaded, silently
        startPlaying(2);
        r->player.pause();
        QVERIFY(savesSettings([&] { r->controller.choosePlaylist(1); }));
        QVERIFY(r->player.stops == 0 && m_heard.isEmpty());
        r->controller.choosePlaylist(0);
        // from the skin while playing: stopped, saved, track 0, the sound
        startPlaying(2);
        QVERIFY(savesSettings([&] { r->controller.choosePlaylist(1, "pop"); }));
        QCOMPARE(std::tuple(r->config.currentPlaylistIndex(), r->config.lastSelectedPlaylistID(),
                            r->config.currentTrackIndex(), r->player.stops, r->player.playing,
                            m_heard),
                 std::tuple(1, 1, 0, 1, false, QStringList{"pop"}));

        QVERIFY(savesSettings([&] { r->controller.toggleLoop(); }) && r->config.loopTracks());
        QVERIFY(savesSettings([&] { r->controller.toggleShuffle(); }) && r->config.shuffleTracks());
        QVERIFY(savesSettings([&] { r->controller.setShuffle(false); }));
        QVERIFY(!savesSettings([&] { r->controller.setLoop(true); }) && !r->config.shuffleTracks());
    }

    // Volume steps of 0.1 that stop at 0 and 1, and only with a file loaded. Seeks by an
    // offset past the end move on (a file still loading takes it as it is); seeks to a place
    // outside the file do nothing. Without a file nothing happens at all.
    void volumeAndSeeks()
    {
        const struct { float start; bool up; float expected; } volumes[] = {
            {0.95f, true, 1.0f}, {0.05f, false, 0.0f}, {0.5f, true, 0.6f}, {0.5f, false, 0.4f}};
        for (const auto& c : volumes)
            for (const bool loaded : {false, true}) {
                r->player.loaded = loaded;
                r->player.level = c.start;
                c.up ? r->controller.volumeUp() : r->controller.volumeDown();
                QVERIFY(qAbs(r->player.level - (loaded ? c.expected : c.start)) < 1e-4f);
            }
        // by an offset or to a place, on a file at 1 s of 4 s: the time and the index after
        const struct { bool by, loading; double seconds, time; qint64 index; } seeks[] = {
            {true, false, 1, 2, 0}, {true, false, -5, 0, 0}, {true, false, 3.5, 1, 1},
            {true, true, 3, 4, 0}, {false, false, 4, 4, 0}, {false, false, 5, 1, 0},
            {false, false, -1, 1, 0}};
        for (const auto& s : seeks) {
            init();
            PlayerController& c = r->controller;
            const auto seek = [&] { s.by ? c.seekBy(s.seconds) : c.seekTo(s.seconds); };
            seek();
            QCOMPARE(r->player.time, 0.0);
            startPlaying(0);
            r->player.time = 1;
            r->player.loading = s.loading;
            seek();
            QCOMPARE(std::tuple(r->config.currentTrackIndex(), r->player.time, r->player.played),
                     std::tuple(s.index, s.time, urls(s.index == 0 ? -1 : s.index)));
        }
    }
};

QTEST_MAIN(TestPlayerController)
#include "tst_playercontroller.moc"
