// Imports 1,000 tagged MP3 files into a playlist through the editor and opens, scrolls and
// edits a playlist of 10,000 tracks; prints the figures. Run on the offscreen platform:
//   QT_QPA_PLATFORM=offscreen ./bench_import [files]
#include "model/config.h"
#include "support/testsupport.h"
#include "ui/settings/playlistsettingsview.h"
#include "ui/settings/tracktablemodel.h"
#include "ui/settings/tracktableview.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QMimeData>
#include <QProcess>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QThreadPool>
#include <QTimer>
#include <QUrl>

#include <taglib/fileref.h>
#include <taglib/tag.h>

#include <cstdio>

namespace {

QStringList makeFiles(const QString& dir, int count) {
    const QString first = dir + QStringLiteral("/source.mp3");
    QProcess ffmpeg;
    ffmpeg.start(QStringLiteral("ffmpeg"),
                 {"-v", "error", "-y", "-f", "lavfi", "-i", "sine=frequency=440:duration=3", "-c:a",
                  "libmp3lame", "-b:a", "128k", first});
    if (!ffmpeg.waitForFinished(60000) || ffmpeg.exitCode() != 0)
        qFatal("ffmpeg could not make the test file");
    QStringList files;
    for (int i = 0; i < count; ++i) {
        const QString path =
            dir + QStringLiteral("/Track %1 é.mp3").arg(i, 4, 10, QLatin1Char('0'));
        QFile::copy(first, path);
        TagLib::FileRef ref(QFile::encodeName(path).constData());
        ref.tag()->setTitle(TagLib::String(QStringLiteral("Song %1").arg(i).toUtf8().constData(),
                                           TagLib::String::UTF8));
        ref.tag()->setArtist(TagLib::String("Bench Artist"));
        ref.save();
        files.append(path);
    }
    return files;
}

void waitFor(PlaylistSettingsView* view) {
    QEventLoop loop;
    QObject::connect(view, &PlaylistSettingsView::importFinished, &loop, &QEventLoop::quit);
    loop.exec();
}

double msSince(const QElapsedTimer& timer) {
    return double(timer.nsecsElapsed()) / 1e6;
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const int count = argc > 1 ? QByteArray(argv[1]).toInt() : 1000;
    testsupport::TempHome home;
    QTemporaryDir files;
    std::printf("making %d tagged MP3 files...\n", count);
    const QStringList paths = makeFiles(files.path(), count);

    Config config;
    config.setPlaysSounds(false);
    PlaylistSettingsView view(&config);
    view.resize(640, 640);
    view.show();
    QCoreApplication::processEvents();

    std::printf("\nimport of %d files (both cores, %d threads)\n", count,
                QThreadPool::globalInstance()->maxThreadCount());
    for (int run = 1; run <= 3; ++run) {
        view.newPlaylist();
        testsupport::Heartbeat heartbeat;
        QElapsedTimer timer;
        timer.start();
        view.importFiles(paths);
        waitFor(&view);
        const double ms = msSince(timer);
        std::printf(
            "  run %d: %7.1f ms, %7.0f files/s, %lld rows, longest main-thread stall %lld ms\n",
            run, ms, count / (ms / 1000.0), qlonglong(view.selectedTracks().size()),
            heartbeat.longestGap());
    }

    // a drop writes each batch of finished reads
    {
        view.newPlaylist();
        QMimeData mime;
        QList<QUrl> urls;
        for (const QString& path : paths)
            urls.append(QUrl::fromLocalFile(path));
        mime.setUrls(urls);
        int writes = 0;
        const auto connection =
            QObject::connect(&config, &Config::playlistSaved, [&] { ++writes; });
        testsupport::Heartbeat heartbeat;
        QElapsedTimer timer;
        timer.start();
        view.importDroppedFiles(&mime);
        waitFor(&view);
        QObject::disconnect(connection);
        const double ms = msSince(timer);
        std::printf(
            "  drop of %d files: %7.1f ms, %7.0f files/s, %d writes, longest stall %lld ms\n",
            count, ms, count / (ms / 1000.0), writes, heartbeat.longestGap());
    }

    // a playlist of 10,000 tracks
    constexpr int kRows = 10000;
    QList<Track> big;
    for (int i = 0; i < kRows; ++i) {
        big.append(Track{QUuid::createUuid(), QStringLiteral("file:///music/Track%20%1.mp3").arg(i),
                         QStringLiteral("Song %1").arg(i),
                         QStringLiteral("Artist %1").arg(i % 97)});
    }
    view.newPlaylist();
    const QUuid bigID = *view.selectedPlaylistID();
    config.savePlaylist(bigID, big);
    view.newPlaylist();
    QCoreApplication::processEvents();

    std::printf("\nplaylist of %d tracks\n", kRows);
    QElapsedTimer timer;
    timer.start();
    view.setSelectedPlaylistID(bigID);
    view.trackTable()->viewport()->repaint();
    std::printf("  open (read, decode, show):        %6.1f ms\n", msSince(timer));

    QScrollBar* bar = view.trackTable()->verticalScrollBar();
    double worstScroll = 0;
    for (int step = 0; step < 50; ++step) {
        timer.restart();
        bar->setValue(step % 2 ? bar->maximum() * step / 50 : bar->value() + bar->pageStep());
        view.trackTable()->viewport()->repaint();
        worstScroll = std::max(worstScroll, msSince(timer));
    }
    std::printf("  scroll (worst of 50 jumps):        %6.1f ms\n", worstScroll);

    double worstEdit = 0;
    for (int i = 0; i < 10; ++i) {
        timer.restart();
        const QModelIndex cell =
            view.trackModel()->index(kRows / 2 + i, TrackTableModel::NameColumn);
        view.trackModel()->setData(cell, QStringLiteral("Edited %1").arg(i));
        view.trackTable()->viewport()->repaint();
        worstEdit = std::max(worstEdit, msSince(timer));
    }
    std::printf("  edit a cell, file written (worst of 10): %6.1f ms\n", worstEdit);
    double worstWrite = 0;
    for (int i = 0; i < 10; ++i) {
        timer.restart();
        config.savePlaylist(bigID, view.selectedTracks());
        worstWrite = std::max(worstWrite, msSince(timer));
    }
    std::printf("    of which the playlist write alone (worst of 10): %6.1f ms\n", worstWrite);
    return 0;
}
