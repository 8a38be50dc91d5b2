// bench_bigplaylist --peak FILE: the peak memory of reading one playlist file, against its size.
// bench_bigplaylist [tracks]: the player over a current playlist of many tracks (default
// 100,000, about 18 MB), on the offscreen platform. Prints the time until the window is shown,
// the longest stall of the main thread in the 3 s after, resident memory once the list is read,
// how many times the file is decoded for 20 skips read by five readers each (skin, menus,
// sequencing, controller, MPRIS all ask Config), and the time to build and open the track menu.
// With a session bus (DBUS_SESSION_BUS_ADDRESS), also how long MPRIS takes to answer Next and
// a read of Metadata from another bus client, and the decodes those cost.
#include "support/testsupport.h"

#include "model/codec.h"
#include "model/config.h"
#include "model/currenttracks.h"
#include "playback/audioplayer.h"
#include "playback/playbin.h"
#include "ui/player/contentview.h"
#include "control/playercontroller.h"
#include "desktop/mpris.h"

#include <QApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
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

// Times one asynchronous call from a bus client of its own, the event loop running meanwhile
// so that the service in this process can answer.
double answerMs(QDBusConnection& client, const QDBusMessage& call)
{
    QElapsedTimer clock;
    clock.start();
    QDBusPendingCallWatcher watcher(client.asyncCall(call, 5000));
    QEventLoop loop;
    QObject::connect(&watcher, &QDBusPendingCallWatcher::finished, &loop, &QEventLoop::quit);
    if (!watcher.isFinished())
        loop.exec();
    if (watcher.isError())
        std::printf("  (MPRIS call failed: %s)\n", qPrintable(watcher.error().message()));
    return clock.nsecsElapsed() / 1e6;
}

void measureMpris(Config& config, PlayerController& controller, AudioPlayer& player)
{
    MprisService mpris(&controller, &player);
    if (!mpris.registerOnSessionBus())
        return;
    QDBusConnection client = QDBusConnection::connectToBus(QDBusConnection::SessionBus, QStringLiteral("bench"));
    const QString path = QStringLiteral("/org/mpris/MediaPlayer2");
    const QDBusMessage next = QDBusMessage::createMethodCall(MprisService::busName(), path,
        QStringLiteral("org.mpris.MediaPlayer2.Player"), QStringLiteral("Next"));
    QDBusMessage metadata = QDBusMessage::createMethodCall(MprisService::busName(), path,
        QStringLiteral("org.freedesktop.DBus.Properties"), QStringLiteral("Get"));
    metadata << QStringLiteral("org.mpris.MediaPlayer2.Player") << QStringLiteral("Metadata");
    answerMs(client, metadata); // the first call sets up the connection
    const int readsBefore = config.trackList()->readCount();
    double nextWorst = 0, metadataWorst = 0, nextSum = 0, metadataSum = 0;
    constexpr int rounds = 20;
    for (int i = 0; i < rounds; ++i) {
        const double n = answerMs(client, next), m = answerMs(client, metadata);
        if (qEnvironmentVariableIsSet("BENCH_VERBOSE")) std::printf("  next %d: %.1f ms\n", i, n);
        nextWorst = std::max(nextWorst, n), nextSum += n;
        metadataWorst = std::max(metadataWorst, m), metadataSum += m;
    }
    std::printf("MPRIS Next answered in   mean %.1f ms, worst %.1f ms\n", nextSum / rounds, nextWorst);
    std::printf("MPRIS Metadata read in   mean %.1f ms, worst %.1f ms\n", metadataSum / rounds, metadataWorst);
    std::printf("decodes for %d MPRIS skips with their signals: %d\n", rounds,
                config.trackList()->readCount() - readsBefore);
    QDBusConnection::disconnectFromBus(QStringLiteral("bench"));
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
    playback::initialiseInBackground(); // as the application does
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
    if (qEnvironmentVariableIsSet("DBUS_SESSION_BUS_ADDRESS"))
        measureMpris(config, controller, player);
    return 0;
}
