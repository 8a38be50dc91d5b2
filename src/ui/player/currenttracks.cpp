#include "ui/player/currenttracks.h"

#include "model/config.h"

#include <QFileSystemWatcher>

CurrentTracks::CurrentTracks(Config* config, QObject* parent) : QObject(parent), m_config(config)
{
    connect(m_config, &Config::currentPlaylistIndexChanged, this, &CurrentTracks::invalidate);
    connect(m_config, &Config::currentTrackIndexChanged, this, &CurrentTracks::invalidate);
    connect(m_config, &Config::playlistsChanged, this, &CurrentTracks::invalidate);
    connect(m_config, &Config::playlistSaved, this, [this](const QUuid& id) {
        const auto playlist = m_config->currentPlaylist();
        if (playlist && playlist->id == id)
            invalidate();
    });
}

const QList<Track>& CurrentTracks::tracks()
{
    if (!m_valid) {
        const auto playlist = m_config->currentPlaylist();
        m_tracks = playlist ? m_config->loadTracks(*playlist) : QList<Track>{};
        m_valid = true;
        ++m_readCount;
        watch(playlist ? m_config->playlistFileURL(playlist->id) : QString());
    }
    return m_tracks;
}

std::optional<Track> CurrentTracks::currentTrack()
{
    const QList<Track>& list = tracks();
    const qint64 index = m_config->currentTrackIndex();
    if (index < 0 || index >= list.size())
        return std::nullopt;
    return list.at(index);
}

void CurrentTracks::invalidate()
{
    m_valid = false;
    emit changed();
}

void CurrentTracks::watch(const QString& file)
{
    if (!m_watcher) {
        m_watcher = new QFileSystemWatcher(this);
        connect(m_watcher, &QFileSystemWatcher::fileChanged, this, &CurrentTracks::invalidate);
        // an atomic replace swaps the file for a new one: the directory sees that
        connect(m_watcher, &QFileSystemWatcher::directoryChanged, this, &CurrentTracks::invalidate);
        m_watcher->addPath(m_config->playlistsDirectory());
    }
    if (!m_watchedFile.isEmpty())
        m_watcher->removePath(m_watchedFile);
    m_watchedFile = file;
    if (!file.isEmpty())
        m_watcher->addPath(file);
}
