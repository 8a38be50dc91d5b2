#include "model/currenttracks.h"

#include "model/config.h"

#include <QFile>
#include <QFileSystemWatcher>
#include <QFutureWatcher>
#include <QtConcurrent>

#include <malloc.h>

CurrentTracks::CurrentTracks(Config* config) : QObject(config), m_config(config)
{
    connect(m_config, &Config::currentPlaylistIndexChanged, this, &CurrentTracks::recheck);
    connect(m_config, &Config::playlistsChanged, this, &CurrentTracks::recheck);
    connect(m_config, &Config::playlistSaved, this, &CurrentTracks::recheck);
    // another track of the same list: nothing to read
    connect(m_config, &Config::currentTrackIndexChanged, this, &CurrentTracks::changed);
}

CurrentTracks::~CurrentTracks()
{
    if (m_decode)
        m_decode->waitForFinished();
}

CurrentTracks::Stamp CurrentTracks::stampNow() const
{
    Stamp stamp;
    const auto playlist = m_config->currentPlaylist();
    if (!playlist)
        return stamp;
    stamp.playlist = playlist->id;
    stamp.file = fileio::fileStamp(m_config->playlistFileURL(playlist->id));
    return stamp;
}

const QList<Track>& CurrentTracks::tracks()
{
    if (m_stamp)
        return m_tracks;
    const Stamp stamp = stampNow();
    if (m_pending && *m_pending == stamp)
        return m_tracks;
    const auto playlist = m_config->currentPlaylist();
    const QString path = playlist ? m_config->playlistFileURL(playlist->id) : QString();
    watch(path);
    if (!playlist || !stamp.file || stamp.file->size <= kDecodeAtOnceBytes) {
        adopt(stamp, playlist ? m_config->loadTracks(*playlist) : QList<Track>{});
        return m_tracks;
    }
    // the list of another playlist is not shown while this one is read
    if (m_tracksOf != stamp.playlist)
        m_tracks.clear();
    m_pending = stamp;
    if (!m_decode) {
        m_decode = new QFutureWatcher<QList<Track>>(this);
        connect(m_decode, &QFutureWatcher<QList<Track>>::finished, this, [this] {
            if (!m_pending)
                return;
            const Stamp done = *m_pending;
            m_pending.reset();
            // a newer version of the file, or another playlist, is read next time
            if (stampNow() == done)
                adopt(done, m_decode->result());
            // the parse of a big file leaves its worker's heap full of free pages: give them back
            ::malloc_trim(0);
            emit changed();
        });
    }
    m_decode->setFuture(QtConcurrent::run(&Config::readTracksFile, path));
    return m_tracks;
}

void CurrentTracks::adopt(const Stamp& stamp, QList<Track> tracks)
{
    m_tracks = std::move(tracks);
    m_tracksOf = stamp.playlist;
    m_stamp = stamp;
    ++m_readCount;
}

std::optional<Track> CurrentTracks::currentTrack()
{
    const QList<Track>& list = tracks();
    const qint64 index = m_config->currentTrackIndex();
    if (index < 0 || index >= list.size())
        return std::nullopt;
    return list.at(index);
}

void CurrentTracks::waitForDecode()
{
    if (m_decode && m_pending) {
        m_decode->waitForFinished();
        QCoreApplication::sendPostedEvents(m_decode);
    }
}

// Something that names the tracks may have changed: what is read next time is decided by
// the file itself, so a rename, a save of another playlist or a touch without change costs
// one stat, not a decode.
void CurrentTracks::recheck()
{
    if (m_stamp && *m_stamp == stampNow())
        return;
    m_stamp.reset();
    emit changed();
}

void CurrentTracks::watch(const QString& file)
{
    if (!m_watcher) {
        m_watcher = new QFileSystemWatcher(this);
        connect(m_watcher, &QFileSystemWatcher::fileChanged, this, &CurrentTracks::recheck);
        // an atomic replace swaps the file for a new one: the directory sees that
        connect(m_watcher, &QFileSystemWatcher::directoryChanged, this, &CurrentTracks::recheck);
        m_watcher->addPath(m_config->playlistsDirectory());
    }
    if (file == m_watchedFile)
        return;
    if (!m_watchedFile.isEmpty())
        m_watcher->removePath(m_watchedFile);
    m_watchedFile = file;
    if (!file.isEmpty() && QFile::exists(file))
        m_watcher->addPath(file);
}
