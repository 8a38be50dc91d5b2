// The main thread's share of a session write (finding the place, the JSON) and the whole atomic
// write on the writer thread, in a private HOME, with a current playlist of N tracks.
//   session_bench [tracks]
#include "control/playercontroller.h"
#include "control/session.h"
#include "model/config.h"
#include "model/currenttracks.h"
#include "playback/audioplayer.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QUrl>

#include <cstdio>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const int tracks = argc > 1 ? std::atoi(argv[1]) : 1;
    QTemporaryDir home;
    qputenv("HOME", home.path().toUtf8());
    qputenv("XDG_CONFIG_HOME", (home.path() + QStringLiteral("/.config")).toUtf8());
    qunsetenv("XDG_STATE_HOME");
    Config config;
    QList<Track> list;
    for (int i = 0; i < tracks; ++i)
        list << Track{QUuid::createUuid(),
                      QUrl::fromLocalFile(QStringLiteral("/music/%1.flac").arg(i)).toString(),
                      QStringLiteral("Track %1").arg(i), QStringLiteral("Artist")};
    config.savePlaylist(config.playlists().first().id, list);
    config.setResumesPlayback(true);
    config.setCurrentTrackIndex(tracks / 2);
    config.trackList()->tracks();
    config.trackList()->waitForDecode();
    AudioPlayer player;
    PlayerController controller(&config, &player);
    Session session(&controller);
    constexpr int kRounds = 200;
    QElapsedTimer clock;
    clock.start();
    qint64 mainNs = 0;
    for (int i = 0; i < kRounds; ++i) {
        const qint64 from = clock.nsecsElapsed();
        session.save();
        mainNs += clock.nsecsElapsed() - from;
        // one write at a time, as the 10 s ticks make them
        session.flush();
    }
    const double totalMs = double(clock.nsecsElapsed()) / 1e6 / kRounds;
    std::printf("%d tracks: main thread %.3f ms a write, whole atomic write %.3f ms\n", tracks,
                double(mainNs) / 1e6 / kRounds, totalMs);
    return 0;
}
