#include "app/fileopener.h"

#include "model/config.h"
#include "model/playlistformats.h"
#include "playback/audioplayer.h"
#include "control/playercontroller.h"
#include "ui/settings/trackimport.h"

#include <QFileInfo>
#include <QFutureWatcher>
#include <QUrl>
#include <QtConcurrent>

namespace {

struct Opened {
    QList<Track> tracks;
    QStringList skipped;
};

// Lists are expanded and every file read in one task; the reads of its files run side by side.
Opened readAll(const QStringList& paths)
{
    const playlistformats::Expansion expansion = playlistformats::expand(paths, true);
    Opened opened{{}, expansion.skipped};
    const QList<trackimport::ImportResult> results =
        QtConcurrent::blockingMapped(expansion.items, &trackimport::readItem);
    for (const trackimport::ImportResult& result : results) {
        if (result.track)
            opened.tracks.append(*result.track);
        else
            opened.skipped.append(result.skipped);
    }
    return opened;
}

} // namespace

FileOpener::FileOpener(PlayerController* controller, QObject* parent)
    : QObject(parent), m_controller(controller)
{
}

void FileOpener::open(const QStringList& arguments, const Done& done, Start start)
{
    QStringList paths;
    QStringList skipped;
    for (const QString& argument : arguments) {
        if (!playlistformats::hasUriScheme(argument) || QFileInfo::exists(argument)) {
            paths.append(QFileInfo(argument).absoluteFilePath());
            continue;
        }
        const QUrl url(argument);
        if (url.isLocalFile())
            paths.append(url.toLocalFile());
        else
            skipped.append(playlistformats::skipLine(argument, QStringLiteral("not a local file")));
    }
    auto* watcher = new QFutureWatcher<Opened>(this);
    connect(watcher, &QFutureWatcherBase::finished, this, [this, watcher, skipped, done, start] {
        watcher->deleteLater();
        const Opened result = watcher->result();
        // a second start waiting for the answer need not wait for playback to begin
        if (done)
            done(skipped + result.skipped);
        add(result.tracks, start);
        emit opened(result.tracks.size());
    });
    watcher->setFuture(QtConcurrent::run(&readAll, paths));
}

void FileOpener::add(const QList<Track>& tracks, Start start)
{
    if (tracks.isEmpty())
        return;
    Config* config = m_controller->config();
    if (config->playlists().isEmpty())
        config->createPlaylist();
    if (!config->currentPlaylist())
        config->setCurrentPlaylistIndex(0);
    const std::optional<Playlist> playlist = config->currentPlaylist();
    if (!playlist)
        return;
    const QList<Track> before = config->loadTracks(*playlist);
    config->savePlaylist(playlist->id, before + tracks);
    TrackPlayer* player = m_controller->player();
    if (start == Start::KeepPlaying && player->isPlaying())
        return;
    config->setCurrentTrackIndex(before.size());
    if (player->isPlaying())
        player->stop();
    m_controller->playCurrentTrack();
}
