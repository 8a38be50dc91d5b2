#include "control/playercontroller.h"
#include "model/config.h"
#include "playback/soundplayer.h"
#include "support/faketrackplayer.h"
#include "support/testsupport.h"

#include <QtTest>

namespace {

// A settings store on a private home, the stand-in player and the controller between them.
struct Rig {
    testsupport::TempHome home;
    Config config;
    FakeTrackPlayer player;
    PlayerController controller{&config, &player};
};

using Step = std::function<void(Rig*)>;
using D = PlayerController::Direction;

QUrl urlOf(int i)
{
    return QUrl(QStringLiteral("file:///music/%1.wav").arg(i));
}
QList<QUrl> urls(int i)
{
    return i < 0 ? QList<QUrl>{} : QList<QUrl>{urlOf(i)};
}

} // namespace

Q_DECLARE_METATYPE(Step)

// The deciding logic of the transport buttons, the skin's and the "Player" menus, the end of
// a track and the gapless joint, on a real settings store and a player that only remembers.
class TestPlayerController final : public QObject {
    Q_OBJECT

    std::unique_ptr<Rig> r;
    QStringList m_heard; // the sounds played, by name
    QList<Track> m_tracks;

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
        m_tracks.clear(); // three, without loop or shuffle
        for (int i = 0; i < 3; ++i)
            m_tracks << Track{QUuid::createUuid(), urlOf(i).toString(), QString::number(i), "A"};
        setTracks(m_tracks);
    }

    // A button or menu entry pressed on track `from` of 3, idle or playing; a track changed
    // while playing is stopped before the next starts.
    void presses_data()
    {
        QTest::addColumn<Step>("action");
        QTest::addColumn<bool>("playing");
        QTest::addColumn<qint64>("from");
        QTest::addColumn<qint64>("index");
        QTest::addColumn<int>("played"); // the track played, -1 for none
        QTest::addColumn<bool>("playsAfter");
        QTest::addColumn<QStringList>("heard");
        const Step previous = [](Rig* r) { r->controller.skipTrack(D::Previous, "click"); };
        const Step next = [](Rig* r) { r->controller.skipTrack(D::Next, "click"); };
        const Step track = [](Rig* r) { r->controller.chooseTrack(2, "pop"); };
        const Step playPause = [](Rig* r) { r->controller.playPause("click"); };
        const Step minimise = [](Rig* r) { r->controller.minimizeToggled("min"); };
        const QStringList none;
        QTest::newRow("previous, idle")
            << previous << false << 1LL << 0LL << -1 << false << QStringList{"click"};
        QTest::newRow("previous, playing") << previous << true << 1LL << 0LL << 0 << true << none;
        QTest::newRow("next on the last plays it again")
            << next << true << 2LL << 2LL << 2 << true << none;
        QTest::newRow("track menu, idle")
            << track << false << 1LL << 2LL << -1 << false << QStringList{"pop"};
        QTest::newRow("track menu, playing") << track << true << 1LL << 2LL << 2 << true << none;
        QTest::newRow("play") << playPause << false << 1LL << 1LL << 1 << true << none;
        QTest::newRow("pause") << playPause << true << 1LL << 1LL << -1 << false << none;
        QTest::newRow("minimise, idle")
            << minimise << false << 1LL << 1LL << -1 << false << QStringList{"min"};
        QTest::newRow("minimise, playing") << minimise << true << 1LL << 1LL << -1 << true << none;
    }

    void presses()
    {
        QFETCH(Step, action);
        QFETCH(bool, playing);
        QFETCH(qint64, from);
        QFETCH(qint64, index);
        QFETCH(int, played);
        QFETCH(bool, playsAfter);
        QFETCH(QStringList, heard);
        r->config.setCurrentTrackIndex(from);
        if (playing)
            startPlaying(from);
        action(r.get());
        QCOMPARE(std::tuple(r->config.currentTrackIndex(), r->player.played, r->player.stops,
                            r->player.isPlaying(), m_heard),
                 std::tuple(index, urls(played), int(playing && played >= 0), playsAfter, heard));
    }

    // A hand-edited playlist may name no URL or the index may point nowhere: play only clicks,
    // and with sounds off not even that.
    void nothingToPlayClicks_data()
    {
        QTest::addColumn<QString>("url");
        QTest::addColumn<qint64>("index");
        QTest::newRow("no URL") << "http://[::1" << 0LL;
        QTest::newRow("index past the end") << urlOf(0).toString() << 1LL;
        QTest::newRow("negative index") << urlOf(0).toString() << -1LL;
    }

    void nothingToPlayClicks()
    {
        QFETCH(QString, url);
        QFETCH(qint64, index);
        setTracks({Track{QUuid::createUuid(), url, "x", "y"}});
        r->config.setCurrentTrackIndex(index);
        r->controller.play("click");
        r->controller.playPause();
        QCOMPARE(std::pair(r->player.hasPlayer(), m_heard), std::pair(false, QStringList{"click"}));
        r->config.setPlaysSounds(false);
        r->controller.play("click");
        QCOMPARE(m_heard, QStringList{"click"});
    }

    // Without and with the gapless queue: the last track without loop stops and rewinds, loop
    // starts the first, shuffle another. The next file is handed over as the track starts, and
    // once queued it starts with nothing more asked of the player.
    void endOfTrack_data()
    {
        QTest::addColumn<bool>("loop");
        QTest::addColumn<bool>("shuffle");
        QTest::addColumn<qint64>("from");
        QTest::addColumn<bool>("playsOn");
        QTest::addColumn<bool>("gapless");
        for (const bool gapless : {false, true}) {
            const char* how = gapless ? "gapless" : "ended";
            QTest::addRow("first of 3, %s", how) << false << false << 0LL << true << gapless;
            QTest::addRow("last without loop, %s", how)
                << false << false << 2LL << false << gapless;
            QTest::addRow("last with loop, %s", how) << true << false << 2LL << true << gapless;
            QTest::addRow("shuffle, %s", how) << false << true << 1LL << true << gapless;
        }
    }

    void endOfTrack()
    {
        QFETCH(bool, loop);
        QFETCH(bool, shuffle);
        QFETCH(qint64, from);
        QFETCH(bool, playsOn);
        QFETCH(bool, gapless);
        r->config.setLoopTracks(loop);
        r->config.setShuffleTracks(shuffle);
        startPlaying(from);
        const QUrl queued = gapless ? r->player.nextURL() : QUrl();
        const bool joined = gapless && playsOn;
        joined ? r->player.joinNext(queued) : r->player.finish();
        const qint64 index = r->config.currentTrackIndex();
        QVERIFY(shuffle ? index != from : index == (playsOn ? (from + 1) % 3 : 0));
        QCOMPARE(std::tuple(r->player.isPlaying(), r->player.played, queued),
                 std::tuple(playsOn, urls(joined || !playsOn ? -1 : index),
                            joined ? urlOf(index) : QUrl()));
    }

    // The engine took the file handed over before a change: at the joint it follows only if the
    // rules still choose it, else they choose again; the engine always holds the latest choice.
    void changesBeforeTheJoint_data()
    {
        QTest::addColumn<qint64>("from");
        QTest::addColumn<Step>("change");
        QTest::addColumn<QUrl>("handedAfter");
        QTest::addColumn<bool>("playsOn");
        QTest::addColumn<int>("played");
        QTest::newRow("nothing changed") << 2LL << Step([](Rig*) {}) << urlOf(0) << true << 0;
        QTest::newRow("loop switched off")
            << 2LL << Step([](Rig* r) { r->config.setLoopTracks(false); }) << QUrl() << false << 0;
        QTest::newRow("queued track removed from the list") << 1LL << Step([](Rig* r) {
            r->config.savePlaylist(r->config.playlists().first().id,
                                   r->config.currentTracks().mid(0, 2));
        }) << urlOf(0) << true << 1;
    }

    void changesBeforeTheJoint()
    {
        QFETCH(qint64, from);
        QFETCH(Step, change);
        QFETCH(QUrl, handedAfter);
        QFETCH(bool, playsOn);
        QFETCH(int, played);
        r->config.setLoopTracks(true);
        startPlaying(from);
        const QUrl taken = r->player.nextURL();
        QCOMPARE(taken, urlOf(int(from + 1) % 3));
        change(r.get());
        QCOMPARE(r->player.nextURL(), handedAfter);
        r->player.joinNext(taken);
        QCOMPARE(std::tuple(r->config.currentTrackIndex(), r->player.isPlaying(),
                            r->player.played.size()),
                 std::tuple(0, playsOn, played));
    }

    // "Now playing" is told once per track that really starts (opened, or at the joint); never
    // for a failed open, a resume, or a file skipped before it opened.
    void nowPlaying_data()
    {
        QTest::addColumn<Step>("steps");
        QTest::addColumn<QList<int>>("told"); // the tracks announced, in order
        QTest::newRow("opened") << Step([](Rig* r) { r->controller.play(); }) << QList<int>{0};
        QTest::newRow("failed open") << Step([](Rig* r) {
            r->player.holdOpen = true;
            r->controller.play();
            r->player.fail();
        }) << QList<int>{};
        QTest::newRow("skipped while opening") << Step([](Rig* r) {
            r->player.holdOpen = true;
            r->controller.play();
            r->controller.skipTrack(D::Next);
            r->player.finishOpening();
        }) << QList<int>{1};
        QTest::newRow("paused and resumed") << Step([](Rig* r) {
            r->controller.play();
            r->controller.playPause();
            r->controller.playPause();
        }) << QList<int>{0};
        QTest::newRow("gapless joint") << Step([](Rig* r) {
            r->controller.play();
            r->player.joinNext(r->player.nextURL());
        }) << QList<int>{0, 1};
        QTest::newRow("gapless joint back to the first") << Step([](Rig* r) {
            r->config.setLoopTracks(true);
            r->controller.chooseTrack(2);
            r->controller.play();
            r->player.joinNext(r->player.nextURL());
        }) << QList<int>{2, 0};
        QTest::newRow("joint after the playlist was emptied") << Step([](Rig* r) {
            r->config.setLoopTracks(true);
            r->controller.play();
            const QUrl taken = r->player.nextURL();
            r->config.savePlaylist(r->config.playlists().first().id, {});
            r->player.joinNext(taken);
        }) << QList<int>{0};
        QTest::newRow("end of track") << Step([](Rig* r) {
            r->controller.play();
            r->player.finish();
        }) << QList<int>{0, 1};
        QTest::newRow("joint whose file no longer follows") << Step([](Rig* r) {
            r->controller.chooseTrack(2);
            r->controller.play();
            r->player.joinNext(urlOf(0)); // loop is off: the playlist ends here
        }) << QList<int>{2};
    }

    void nowPlaying()
    {
        QFETCH(Step, steps);
        QFETCH(QList<int>, told);
        QList<int> heard;
        connect(&r->controller, &PlayerController::nowPlaying, this,
                [&](const Track& track, const Playlist& playlist) {
                    QCOMPARE(playlist, r->config.playlists().first());
                    heard << int(m_tracks.indexOf(track));
                });
        steps(r.get());
        QCOMPARE(heard, told);
        // kept for whoever listens later (MPRIS starts after the window)
        const auto& last = r->controller.lastNowPlaying();
        QCOMPARE(last ? int(m_tracks.indexOf(last->first)) : -1, told.value(told.size() - 1, -1));
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
                            r->config.currentTrackIndex(), r->player.stops, r->player.isPlaying(),
                            m_heard),
                 std::tuple(1, 1, 0, 1, false, QStringList{"pop"}));

        QVERIFY(savesSettings([&] { r->controller.toggleLoop(); }) && r->config.loopTracks());
        QVERIFY(savesSettings([&] { r->controller.toggleShuffle(); }) && r->config.shuffleTracks());
        QVERIFY(savesSettings([&] { r->controller.setShuffle(false); }));
        QVERIFY(!savesSettings([&] { r->controller.setLoop(true); }) && !r->config.shuffleTracks());
    }

    // Volume steps of 0.1 that stop at 0 and 1, and only with a file loaded.
    void volume_data()
    {
        QTest::addColumn<float>("start");
        QTest::addColumn<bool>("up");
        QTest::addColumn<float>("expected");
        QTest::newRow("up to the top") << 0.95f << true << 1.0f;
        QTest::newRow("down to the bottom") << 0.05f << false << 0.0f;
        QTest::newRow("up a step") << 0.5f << true << 0.6f;
        QTest::newRow("down a step") << 0.5f << false << 0.4f;
    }

    void volume()
    {
        QFETCH(float, start);
        QFETCH(bool, up);
        QFETCH(float, expected);
        for (const bool loaded : {false, true}) {
            if (loaded)
                startPlaying(0);
            r->player.level = start;
            up ? r->controller.volumeUp() : r->controller.volumeDown();
            QVERIFY(qAbs(r->player.level - (loaded ? expected : start)) < 1e-4f);
        }
    }

    // On a file at 1 s of 4 s (none: nothing happens): a seek by past the end moves on unless
    // the file still loads; a seek to outside the file does nothing.
    void seeks_data()
    {
        QTest::addColumn<bool>("by");
        QTest::addColumn<bool>("loading");
        QTest::addColumn<double>("seconds");
        QTest::addColumn<double>("time");
        QTest::addColumn<qint64>("index");
        QTest::newRow("by 1 s") << true << false << 1.0 << 2.0 << 0LL;
        QTest::newRow("back before the start") << true << false << -5.0 << 0.0 << 0LL;
        QTest::newRow("by past the end") << true << false << 3.5 << 0.0 << 1LL;
        QTest::newRow("by past the end while loading") << true << true << 3.0 << 4.0 << 0LL;
        QTest::newRow("to the end") << false << false << 4.0 << 4.0 << 0LL;
        QTest::newRow("to past the end") << false << false << 5.0 << 1.0 << 0LL;
        QTest::newRow("to before the start") << false << false << -1.0 << 1.0 << 0LL;
    }

    void seeks()
    {
        QFETCH(bool, by);
        QFETCH(bool, loading);
        QFETCH(double, seconds);
        QFETCH(double, time);
        QFETCH(qint64, index);
        PlayerController& c = r->controller;
        const auto seek = [&] { by ? c.seekBy(seconds) : c.seekTo(seconds); };
        seek();
        QCOMPARE(r->player.time, 0.0);
        startPlaying(0);
        r->player.time = 1;
        r->player.loading = loading;
        seek();
        QCOMPARE(std::tuple(r->config.currentTrackIndex(), r->player.time, r->player.played),
                 std::tuple(index, time, urls(index == 0 ? -1 : index)));
    }
};

QTEST_MAIN(TestPlayerController)
#include "tst_playercontroller.moc"
