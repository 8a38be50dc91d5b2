#pragma once

#include "theme/themedata.h"

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

// Whether every settings file holds a key (the options the file was made with) or a file
// written before the option existed may lack it, in which case the option keeps its default.
enum class Presence { Required, Optional };

// Every option of the settings file once: type, name (also its key and Config's property),
// Config's setter, default, presence. From this come the record's fields, the file's keys
// and Config's property, setter and change signal. Keys are written in this order with the
// required ones first; "lastSelectedPlaylistID" and "playlists" follow them, the optional
// ones come last.
#define LINDENFOLD_OPTIONS(X)                                                                      \
    X(QString, currentTheme, setCurrentTheme, QStringLiteral("mini-graphite"), Required)           \
    X(QStringList, availableThemes, setAvailableThemes, theme::builtInThemeNames(), Required)      \
    X(bool, playsSounds, setPlaysSounds, true, Required)                                           \
    X(bool, superSized, setSuperSized, false, Required)                                            \
    X(bool, isFloating, setIsFloating, true, Required)                                             \
    X(bool, shuffleTracks, setShuffleTracks, false, Required)                                      \
    X(bool, loopTracks, setLoopTracks, true, Required)                                             \
    X(bool, resumesPlayback, setResumesPlayback, false, Optional)                                  \
    X(QString, loudnessMode, setLoudnessMode, QStringLiteral("off"), Optional)                     \
    X(bool, showsNotifications, setShowsNotifications, false, Optional)

// The settings file; a default-made record is what a first start writes, apart from
// "lastSelectedPlaylistID", which the defaults write as 0.
struct SettingsData {
#define LINDENFOLD_OPTION_FIELD(Type, name, setter, initial, presence) Type name = initial;
    LINDENFOLD_OPTIONS(LINDENFOLD_OPTION_FIELD)
#undef LINDENFOLD_OPTION_FIELD
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
