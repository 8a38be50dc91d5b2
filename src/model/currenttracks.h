#pragma once

#include "core/fileio.h"
#include "model/records.h"

#include <QObject>

#include <optional>

class Config;
class QFileSystemWatcher;
template <typename T> class QFutureWatcher;

// The current playlist's tracks, the one list that the skin, the menus, sequencing, the
// controller and MPRIS read. The file is decoded again only when it has changed (another
// playlist chosen, a save, an edit by hand seen by the file watcher), never per reader or
// per progress tick. A large file is decoded on a worker thread: until it is done the
// previous list of the same playlist (or, for another playlist, an empty one) is shown.
class CurrentTracks final : public QObject {
    Q_OBJECT

public:
    explicit CurrentTracks(Config* config);
    ~CurrentTracks() override;
    Q_DISABLE_COPY_MOVE(CurrentTracks)

    // Files up to this size are decoded at once, on the calling thread.
    static constexpr qint64 kDecodeAtOnceBytes = 512 * 1024;

    const QList<Track>& tracks();
    // The track at currentTrackIndex, if the index names one.
    std::optional<Track> currentTrack();
    // How many times the playlist file was decoded; lets tests and benchmarks see the cache.
    int readCount() const { return m_readCount; }
    // Waits for a decode running on a worker thread (tests and benchmarks).
    void waitForDecode();

signals:
    // The tracks or the current track may have changed.
    void changed();

private:
    // The playlist and the version of its file that a list was read from.
    struct Stamp {
        QUuid playlist;
        std::optional<fileio::FileStamp> file;
        bool operator==(const Stamp&) const = default;
    };

    Stamp stampNow() const;
    void recheck();
    void adopt(const Stamp& stamp, QList<Track> tracks);
    void watch(const QString& file);

    Config* m_config;
    QList<Track> m_tracks;
    QUuid m_tracksOf;               // the playlist m_tracks belongs to
    std::optional<Stamp> m_stamp;   // of what m_tracks holds; empty when it must be read
    std::optional<Stamp> m_pending; // of a decode running on a worker thread
    QFutureWatcher<QList<Track>>* m_decode = nullptr;
    int m_readCount = 0;
    QFileSystemWatcher* m_watcher = nullptr;
    QString m_watchedFile;
};
