#pragma once

#include <QList>
#include <QMetaType>
#include <QString>
#include <QStringList>
#include <QUuid>

#include <optional>

// A playlist catalogue entry; the tracks live in the playlist's own file.
struct Playlist {
    QUuid id;
    QString name;

    friend bool operator==(const Playlist&, const Playlist&) = default;
};

// One entry of a playlist; equal only when all four fields are equal.
struct Track {
    QUuid id;
    QString urlString;
    QString trackName;
    QString artist;

    friend bool operator==(const Track&, const Track&) = default;
};

inline size_t qHash(const Track& t, size_t seed = 0)
{
    return qHashMulti(seed, t.id, t.urlString, t.trackName, t.artist);
}

struct PlaylistData {
    QList<Track> tracks;
};

struct SettingsData {
    QString currentTheme;
    QStringList availableThemes;
    bool playsSounds = true;
    bool superSized = false;
    bool isFloating = true;
    bool shuffleTracks = false;
    bool loopTracks = true;
    std::optional<qint64> lastSelectedPlaylistID;
    QList<Playlist> playlists;
};

// Canonical upper-case 8-4-4-4-12 form, as every file stores it.
inline QString uuidString(const QUuid& id)
{
    return id.toString(QUuid::WithoutBraces).toUpper();
}

Q_DECLARE_METATYPE(Playlist)
Q_DECLARE_METATYPE(Track)
