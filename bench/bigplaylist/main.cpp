// bench_bigplaylist --peak FILE: the peak memory of reading one playlist file, against its size.
// bench_bigplaylist [tracks]: the player over a current playlist of many tracks (default
// 100,000, about 18 MB), on the offscreen platform. Prints the time until the window is shown,
// the longest stall of the main thread in the 3 s after, resident memory once the list is read,
// how many times the file is decoded for 20 skips read by five readers each (skin, menus,
// sequencing, controller, MPRIS all ask Config), and the time to build and open the track menu.
#include "support/testsupport.h"

#include "model/codec.h"
#include "model/config.h"
#include "model/currenttracks.h"
#include "playback/audioplayer.h"
#include "ui/player/contentview.h"
#include "control/playercontroller.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QMenu>
#include <QTimer>

#include <cstdio>
#include <cstring>
#include <malloc.h>
#include <fstream>
#include <string>

namespace {

double statusMB(const char* field)
{
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind(field, 0) == 0)
            return std::atof(line.c_str() + std::strlen(field)) / 1024.0;
    return 0;
}

double residentMB()
{
    return statusMB("VmRSS:");
}

// The longest gap between ticks of a 1 ms timer while the event loop runs for ms.
double longestStall(int ms)
{
    QElapsedTimer clock;
    clock.start();
    qint64 last = 0;
    qint64 longest = 0;
    QTimer tick;
    QObject::connect(&tick, &QTimer::timeout, [&] {
        const qint64 now = clock.nsecsElapsed();
        longest = std::max(longest, now - last);
        last = now;
    });
    tick.start(1);
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
    return longest / 1e6;
}

} // namespace

int main(int argc, char* argv[])
{
    if (argc == 3 && std::strcmp(argv[1], "--peak") == 0) {
        const double before = statusMB("VmHWM:");
        const QList<Track> tracks = Config::readTracksFile(QString::fromLocal8Bit(argv[2]));
        std::printf("%lld tracks from %.1f MB: peak memory %.1f MB (%.1f MB before reading)\n",
                    qlonglong(tracks.size()), QFileInfo(QString::fromLocal8Bit(argv[2])).size() / 1e6,
                    statusMB("VmHWM:"), before);
        return 0;
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int count = argc > 1 ? std::atoi(argv[1]) : 100000;
    testsupport::TempHome home;
    QUuid id;
    {
        Config first;
        id = first.playlists().at(0).id;
        PlaylistData data;
        data.tracks.reserve(count);
        for (int i = 0; i < count; ++i)
            data.tracks << Track{QUuid::createUuid(),
                                 QStringLiteral("file:///home/user/Music/Artist %1/Album/%2 - Track.flac").arg(i % 97).arg(i),
                                 QStringLiteral("Track %1").arg(i), QStringLiteral("Artist %1").arg(i % 97)};
        first.savePlaylist(id, data.tracks);
    }
    ::malloc_trim(0); // what making the file cost is not the player's
    const double fileMB = QFileInfo(home.dataDir() + QStringLiteral("/Playlists/") + uuidString(id) + QStringLiteral(".json")).size() / 1e6;

    QElapsedTimer clock;
    clock.start();
    Config config;
    AudioPlayer player;
    PlayerController controller(&config, &player);
    ContentView view(&config, &player, &controller);
    view.show();
    QCoreApplication::processEvents();
    const double shownMs = clock.nsecsElapsed() / 1e6;
    const double stallMs = longestStall(3000);
    config.trackList()->waitForDecode();
    const int tracks = int(config.currentTracks().size());
    const double rss = residentMB();

    const int readsBefore = config.trackList()->readCount();
    QElapsedTimer skips;
    skips.start();
    for (int i = 0; i < 20; ++i) {
        config.nextTrack();
        for (int reader = 0; reader < 5; ++reader)
            config.currentTracks();
        QCoreApplication::processEvents();
    }
    const double skipMs = skips.nsecsElapsed() / 1e6 / 20;
    const int decodes = config.trackList()->readCount() - readsBefore;

    QElapsedTimer menuClock;
    menuClock.start();
    QMenu* menu = view.trackMenu();
    menu->popup(QPoint(0, 0));
    QCoreApplication::processEvents();
    const double menuMs = menuClock.nsecsElapsed() / 1e6;
    menu->hide();

    std::printf("playlist: %d tracks, %.1f MB\n", tracks, fileMB);
    std::printf("window shown after      %8.1f ms\n", shownMs);
    std::printf("longest main-thread stall in the 3 s after: %.1f ms\n", stallMs);
    std::printf("resident memory, list read: %.1f MB\n", rss);
    std::printf("decodes for 20 skips x 5 readers: %d (%.2f ms a skip)\n", decodes, skipMs);
    std::printf("track menu built and opened: %.1f ms\n", menuMs);
    return 0;
}
