// An M3U8 of many entries (default 10,000; #EXTINF titles on every other one, relative and
// absolute paths): reading the list alone, the import through the playlist editor, and the
// export of the result. Run on the offscreen platform:
//   QT_QPA_PLATFORM=offscreen ./bench_listimport [entries]
#include "model/config.h"
#include "model/playlistformats.h"
#include "support/testsupport.h"
#include "ui/settings/playlistsettingsview.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>

#include <cstdio>
#include <unistd.h>

namespace {

double msSince(const QElapsedTimer& timer)
{
    return double(timer.nsecsElapsed()) / 1e6;
}

// Longest gap between ticks of a 10 ms timer: how long the main thread was busy at a stretch.
qint64 longestGapWhile(const std::function<void()>& run)
{
    QTimer timer;
    QElapsedTimer clock;
    qint64 longest = 0;
    timer.setInterval(10);
    QObject::connect(&timer, &QTimer::timeout, [&] { longest = std::max(longest, clock.restart()); });
    clock.start();
    timer.start();
    run();
    return std::max(longest, clock.elapsed());
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    const int count = argc > 1 ? QByteArray(argv[1]).toInt() : 10000;
    testsupport::TempHome home;
    QTemporaryDir music;
    const QString source = music.filePath(QStringLiteral("source.mp3"));
    QProcess ffmpeg;
    ffmpeg.start(QStringLiteral("ffmpeg"), {"-v", "error", "-y", "-f", "lavfi", "-i",
                                            "sine=frequency=440:duration=3", "-c:a", "libmp3lame",
                                            "-metadata", "title=Tagged", source});
    if (!ffmpeg.waitForFinished(60000) || ffmpeg.exitCode() != 0)
        qFatal("ffmpeg could not make the test file");
    // hard links: many entries, one file's worth of disk
    QDir().mkpath(music.filePath(QStringLiteral("album")));
    QByteArray list = "#EXTM3U\n";
    for (int i = 0; i < count; ++i) {
        const QString name = QStringLiteral("album/Track %1 é.mp3").arg(i, 5, 10, QLatin1Char('0'));
        if (::link(QFile::encodeName(source).constData(), QFile::encodeName(music.filePath(name)).constData()) != 0)
            qFatal("could not link the test file");
        if (i % 2 == 0)
            list += QStringLiteral("#EXTINF:3,Bench Artist - Song %1\n").arg(i).toUtf8();
        list += (i % 3 == 0 ? QFile::encodeName(music.filePath(name)) : name.toUtf8()) + '\n';
    }
    const QString listPath = music.filePath(QStringLiteral("big.m3u8"));
    testsupport::writeFile(listPath, list);
    std::printf("M3U8 of %d entries (%lld KB)\n", count, qlonglong(list.size() / 1024));

    QElapsedTimer timer;
    timer.start();
    const playlistformats::Expansion expansion = playlistformats::expand({listPath});
    std::printf("  read and resolve the list alone:        %8.1f ms (%lld files)\n", msSince(timer),
                qlonglong(expansion.items.size()));

    Config config;
    config.setPlaysSounds(false);
    PlaylistSettingsView view(&config);
    view.resize(640, 640);
    view.show();
    QCoreApplication::processEvents();
    for (int run = 1; run <= 2; ++run) {
        view.newPlaylist();
        timer.restart();
        const qint64 stall = longestGapWhile([&] {
            QEventLoop loop;
            QObject::connect(&view, &PlaylistSettingsView::importFinished, &loop, &QEventLoop::quit);
            view.importFiles({listPath});
            loop.exec();
        });
        std::printf("  import through the editor, run %d:        %8.1f ms (%lld rows), longest "
                    "main-thread stall %lld ms\n",
                    run, msSince(timer), qlonglong(view.selectedTracks().size()), stall);
    }
    timer.restart();
    QString error;
    playlistformats::exportM3u8(music.filePath(QStringLiteral("out.m3u8")), view.selectedTracks(), &error);
    std::printf("  export of the %lld rows as M3U8:        %8.1f ms\n",
                qlonglong(view.selectedTracks().size()), msSince(timer));
    return 0;
}
