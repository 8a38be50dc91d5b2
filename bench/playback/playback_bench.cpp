#include "model/config.h"
#include "playback/audioplayer.h"
#include "support/audiotest.h"
#include "ui/player/contentview.h"
#include "model/currenttracks.h"
#include "control/playercontroller.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTemporaryDir>
#include <QTimer>
#include <QUrl>

#include <cstdio>
#include <sys/resource.h>

namespace {

double cpuSeconds()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_utime.tv_sec + usage.ru_stime.tv_sec +
           (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

// Lets the event loop run for a while without spinning: a busy wait would be measured.
void wait(int ms)
{
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

} // namespace

int main(int argc, char* argv[])
{
    QTemporaryDir home;
    qputenv("HOME", home.path().toUtf8());
    qputenv("XDG_CONFIG_HOME", (home.path() + "/.config").toUtf8());
    QApplication app(argc, argv);
    const int count = argc > 1 ? std::max(1, atoi(argv[1])) : 1;
    const int seconds = argc > 2 ? std::max(1, atoi(argv[2])) : 8;

    audiotest::ToneFile toneFile;
    toneFile.secondsEach = seconds + 4;
    const QString tone = audiotest::makeToneFile(home.path(), QStringLiteral("tone"), toneFile);
    Config config;
    QList<Track> tracks;
    tracks.reserve(count);
    for (int i = 0; i < count; ++i)
        tracks << Track{QUuid::createUuid(), QUrl::fromLocalFile(tone).toString(),
                        QStringLiteral("Track %1").arg(i), QStringLiteral("Artist")};
    config.savePlaylist(config.playlists().first().id, tracks);

    AudioPlayer player;
    PlayerController controller(&config, &player);
    ContentView view(&config, &player, &controller);
    // "hidden" as third argument: the same without the window, to see the audio's own share
    if (argc < 4 || qstrcmp(argv[3], "hidden") != 0)
        view.show();
    // a big playlist is decoded off the main thread: play once its tracks are there
    for (int i = 0; i < 200 && config.currentTracks().size() < count; ++i)
        wait(50);
    if (!controller.playCurrentTrack())
        return 1;
    wait(1000);
    const int reads = view.currentTracks()->readCount();
    const double start = cpuSeconds();
    QElapsedTimer clock;
    clock.start();
    wait(seconds * 1000);
    const double cpu = cpuSeconds() - start;
    std::printf("%d tracks: %.1f ms CPU per second of playback (%.1f %% of one core), "
                "playlist read %d times while playing\n",
                count, cpu * 1000 / (clock.elapsed() / 1000.0), cpu * 100 / (clock.elapsed() / 1000.0),
                view.currentTracks()->readCount() - reads);
    return player.isPlaying() ? 0 : 1;
}
