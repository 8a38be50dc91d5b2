#pragma once

#include "model/records.h"

#include <QObject>

class Config;
class QFileSystemWatcher;

// The current playlist's tracks as the skin and the menus show them. Read again only when
// something that names them may have changed: the current playlist or track, the catalogue,
// a save of that playlist, or its file changing on disk. So a progress tick costs the same
// for one track as for ten thousand, and an edit made by hand still shows at once.
class CurrentTracks final : public QObject {
    Q_OBJECT

public:
    explicit CurrentTracks(Config* config, QObject* parent = nullptr);
    Q_DISABLE_COPY_MOVE(CurrentTracks)

    const QList<Track>& tracks();
    // The track at currentTrackIndex, if the index names one.
    std::optional<Track> currentTrack();
    // How many times the playlist file was read; lets tests see the cache working.
    int readCount() const { return m_readCount; }

signals:
    // What the tracks show may have changed; the next tracks() reads the file again.
    void changed();

private:
    void invalidate();
    void watch(const QString& file);

    Config* m_config;
    QList<Track> m_tracks;
    bool m_valid = false;
    int m_readCount = 0;
    QFileSystemWatcher* m_watcher = nullptr;
    QString m_watchedFile;
};
