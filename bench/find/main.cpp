// Finding and adding music, on the offscreen platform:
//   QT_QPA_PLATFORM=offscreen ./bench_find [tracks] [files]
// The "Find track..." window over a playlist of many tracks (default 100,000): the time to
// open it, and from each keystroke (typing "lind", then deleting it) until the list is drawn.
// Then a folder tree of many WAV files (default 2,000, 20 to a folder) dropped on the player
// window: the time until all its tracks are in the playlist file, and the longest stall of the
// main thread meanwhile.
#include "app/appdelegate.h"
#include "app/fileopener.h"
#include "model/config.h"
#include "model/currenttracks.h"
#include "support/testsupport.h"
#include "ui/player/contentview.h"
#include "ui/player/findtrackwindow.h"
#include "ui/player/playermenu.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QLineEdit>
#include <QListView>
#include <QMimeData>
#include <QTest>
#include <QTimer>

#include <cstdio>

namespace {

// 0.1 s of silence, 8 kHz mono 16 bit
QByteArray wav()
{
    const quint32 data = 1600;
    QByteArray bytes("RIFF");
    const auto u32 = [&bytes](quint32 v) { bytes.append(reinterpret_cast<const char*>(&v), 4); };
    const auto u16 = [&bytes](quint16 v) { bytes.append(reinterpret_cast<const char*>(&v), 2); };
    u32(36 + data);
    bytes.append("WAVEfmt ");
    u32(16), u16(1), u16(1), u32(8000), u32(16000), u16(2), u16(16);
    bytes.append("data");
    u32(data);
    bytes.append(QByteArray(data, '\0'));
    return bytes;
}

void find(Config& config, PlayerMenu& menu, int tracks)
{
    QList<Track> list;
    static const char* const artists[] = {"Zoë Keating", "Björk", "Lindenfold Ensemble",
                                          "The Band"};
    for (int i = 0; i < tracks; ++i)
        list << Track{QUuid::createUuid(), QStringLiteral("file:///music/%1.flac").arg(i),
                      QStringLiteral("Song number %1 of the Café").arg(i),
                      QString::fromUtf8(artists[i % 4])};
    config.savePlaylist(config.playlists().first().id, list);
    config.trackList()->tracks();
    config.trackList()->waitForDecode();

    QElapsedTimer clock;
    clock.start();
    menu.findAction()->trigger();
    FindTrackWindow* window = menu.findWindow();
    window->list()->viewport()->repaint();
    std::printf("find window opened over %d tracks: %.1f ms\n", tracks, clock.nsecsElapsed() / 1e6);
    double longest = 0;
    double total = 0;
    int keys = 0;
    const auto key = [&](Qt::Key k, char c) {
        clock.restart();
        QTest::keyClick(window->searchLine(), k, Qt::NoModifier);
        window->list()->viewport()->repaint();
        const double ms = clock.nsecsElapsed() / 1e6;
        longest = std::max(longest, ms);
        total += ms;
        ++keys;
        std::printf("  after '%c': %d rows, %.1f ms\n", c, window->model()->rowCount(), ms);
    };
    for (const char c : {'l', 'i', 'n', 'd'})
        key(Qt::Key(Qt::Key_A + (c - 'a')), c);
    for (int i = 0; i < 4; ++i)
        key(Qt::Key_Backspace, '<');
    std::printf("keystroke to list: %.1f ms on average, %.1f ms at most\n", total / keys, longest);
    window->hide();
}

void drop(AppDelegate& delegate, const QString& dir, int files)
{
    const QByteArray bytes = wav();
    for (int i = 0; i < files; ++i) {
        const QString folder = dir + QStringLiteral("/Album %1").arg(i / 20 + 1);
        QDir().mkpath(folder);
        testsupport::writeFile(folder + QStringLiteral("/%1 Track.wav").arg(i % 20 + 1), bytes);
    }
    Config* config = delegate.config();
    config->savePlaylist(config->playlists().first().id, {});
    QMimeData mime;
    mime.setUrls({QUrl::fromLocalFile(dir)});
    QWidget* window = delegate.playerWindow();
    const QPointF at = window->rect().center();
    testsupport::Heartbeat heartbeat(1);
    QElapsedTimer clock;
    clock.start();
    QDragEnterEvent enter(at.toPoint(), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(window, &enter);
    QDropEvent event(at, Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(window, &event);
    // the tracks are saved just before the opener says so
    QEventLoop loop;
    QObject::connect(delegate.fileOpener(), &FileOpener::opened, &loop, &QEventLoop::quit);
    QTimer::singleShot(120000, &loop, &QEventLoop::quit);
    loop.exec();
    const double ms = clock.nsecsElapsed() / 1e6;
    std::printf("drop of %d files in %d folders: %lld tracks in the playlist file after %.0f ms, "
                "longest main-thread stall %lld ms\n",
                files, (files + 19) / 20,
                qlonglong(config->loadTracks(config->playlists().first()).size()), ms,
                heartbeat.longestGap());
}

} // namespace

int main(int argc, char** argv)
{
    testsupport::TempHome home;
    QApplication app(argc, argv);
    const int tracks = argc > 1 ? std::atoi(argv[1]) : 100000;
    const int files = argc > 2 ? std::atoi(argv[2]) : 2000;
    AppDelegate delegate;
    delegate.config()->setPlaysSounds(false);
    delegate.setupWindow();
    find(*delegate.config(), *delegate.playerMenu(), tracks);
    drop(delegate, home.path() + QStringLiteral("/Music"), files);
    return 0;
}
