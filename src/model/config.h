#pragma once

#include "model/records.h"
#include "theme/themedata.h"

#include <QImage>
#include <QObject>
#include <QPointF>
#include <QString>
#include <QStringList>

#include <optional>
#include <type_traits>

class CurrentTracks;
class SoundPlayer;

// How an option's setter takes its value: a bool or a number as it is, anything else by
// reference.
template <typename T> using OptionParameter = std::conditional_t<std::is_scalar_v<T>, T, const T&>;

// The one observable state object: options, theme and playlist catalogues, the position
// in the music and the current theme's geometry. Setters notify only on a real change;
// nothing is saved when a field changes, every save is an explicit call.
class Config final : public QObject {
    Q_OBJECT
    // one property per option of the settings file, each with its own change signal
#define LINDENFOLD_OPTION_PROPERTY(Type, name, setter, initial, presence)                          \
    Q_PROPERTY(Type name READ name WRITE setter NOTIFY name##Changed)
    LINDENFOLD_OPTIONS(LINDENFOLD_OPTION_PROPERTY)
#undef LINDENFOLD_OPTION_PROPERTY
    Q_PROPERTY(QList<Playlist> playlists READ playlists WRITE setPlaylists NOTIFY playlistsChanged)
    Q_PROPERTY(qint64 currentPlaylistIndex READ currentPlaylistIndex WRITE setCurrentPlaylistIndex
                   NOTIFY currentPlaylistIndexChanged)
    Q_PROPERTY(qint64 currentTrackIndex READ currentTrackIndex WRITE setCurrentTrackIndex NOTIFY
                   currentTrackIndexChanged)
    Q_PROPERTY(qint64 lastSelectedPlaylistID READ lastSelectedPlaylistID WRITE
                   setLastSelectedPlaylistID NOTIFY lastSelectedPlaylistIDChanged)
    // one property per field of the theme geometry, all notified by geometryChanged
#define LINDENFOLD_GEOMETRY_PROPERTY(Type, name, setter)                                           \
    Q_PROPERTY(Type name READ name WRITE setter NOTIFY geometryChanged)
    LINDENFOLD_THEME_ALL_FIELDS(LINDENFOLD_GEOMETRY_PROPERTY)
#undef LINDENFOLD_GEOMETRY_PROPERTY
    Q_PROPERTY(QString documentDirectory READ documentDirectory CONSTANT)

public:
    // Runs the start-up sequence: documents directory, settings file or first start,
    // current theme geometry.
    explicit Config(QObject* parent = nullptr);
    ~Config() override;
    Q_DISABLE_COPY_MOVE(Config)

    static QStringList builtInThemeNames();

#define LINDENFOLD_OPTION_GETTER(Type, name, setter, initial, presence)                            \
    Type name() const                                                                              \
    {                                                                                              \
        return m_##name;                                                                           \
    }
    LINDENFOLD_OPTIONS(LINDENFOLD_OPTION_GETTER)
#undef LINDENFOLD_OPTION_GETTER
    QList<Playlist> playlists() const
    {
        return m_playlists;
    }
    qint64 currentPlaylistIndex() const
    {
        return m_currentPlaylistIndex;
    }
    qint64 currentTrackIndex() const
    {
        return m_currentTrackIndex;
    }
    qint64 lastSelectedPlaylistID() const
    {
        return m_lastSelectedPlaylistID;
    }
#define LINDENFOLD_GETTER(Type, name, setter)                                                      \
    Type name() const                                                                              \
    {                                                                                              \
        return m_geometry.name;                                                                    \
    }
    LINDENFOLD_THEME_ALL_FIELDS(LINDENFOLD_GETTER)
#undef LINDENFOLD_GETTER
    // The current theme's geometry as one value.
    const ThemeData& geometry() const
    {
        return m_geometry;
    }
    QString documentDirectory() const
    {
        return m_documentDirectory;
    }
    SoundPlayer* soundPlayer() const
    {
        return m_soundPlayer;
    }

#define LINDENFOLD_OPTION_SETTER(Type, name, setter, initial, presence)                            \
    void setter(OptionParameter<Type> value);
    LINDENFOLD_OPTIONS(LINDENFOLD_OPTION_SETTER)
#undef LINDENFOLD_OPTION_SETTER
    void setPlaylists(const QList<Playlist>& value);
    void setCurrentPlaylistIndex(qint64 value);
    void setCurrentTrackIndex(qint64 value);
    void setLastSelectedPlaylistID(qint64 value);
#define LINDENFOLD_SETTER(Type, name, setter) void setter(const Type& value);
    LINDENFOLD_THEME_ALL_FIELDS(LINDENFOLD_SETTER)
#undef LINDENFOLD_SETTER

    // Settings file
    QString settingsFileURL() const;
    QString dataDirectory() const;
    void loadSettings();
    void writeDefaultSettings();
    void saveSettings();

    // Playlist store
    void ensurePlaylistsDirectory();
    QString playlistsDirectory() const;
    QString playlistFileURL(const QUuid& id) const;
    void createPlaylist();
    void deletePlaylist(const QUuid& id);
    void savePlaylist(const QUuid& id, const QList<Track>& tracks);
    QList<Track> loadTracks(const Playlist& playlist) const;
    // What loadTracks does for a file path; safe on any thread.
    static QList<Track> readTracksFile(const QString& path);

    // The playlist at currentPlaylistIndex, if the index names one, and its tracks (read
    // from the file once per change of it, shared by every reader).
    std::optional<Playlist> currentPlaylist() const;
    QList<Track> currentTracks() const;
    CurrentTracks* trackList() const
    {
        return m_currentTracks;
    }

    // Track sequencing
    void previousTrack();
    void nextTrack();
    // The index nextTrack would move to in a list of trackCount tracks, without moving it (a
    // fresh random pick under shuffle); the current index where nextTrack would not move it.
    qint64 followingTrackIndex(qint64 trackCount) const;

    // Themes
    QString themesDirectory() const;
    // Directory of a theme, or empty for a name that would lead outside Themes.
    QString themeDirectory(const QString& name) const;
    QString themeFileURL() const;
    void loadTheme();
    void writeThemeFile(const QString& name);
    void installBuiltInThemes();
    ThemeData currentGeometry() const;

    // Skin images of the current theme, each with its mini-graphite fallback.
    QImage closeImage() const;
    QImage ffImage() const;
    QImage ffOnImage() const;
    QImage minImage() const;
    QImage pauseImage() const;
    QImage pauseOnImage() const;
    QImage playImage() const;
    QImage playOnImage() const;
    QImage playerImage() const;
    QImage playerMinImage() const;
    QImage playlistMenuImage() const;
    QImage rrImage() const;
    QImage rrOnImage() const;
    QImage trackAlbumImage() const;
    QImage trackMenuImage() const;
    QImage trackScrubberImage() const;
    QImage skinImage(const QString& element) const;
    QSize skinImagePixels(const QString& element) const;

signals:
#define LINDENFOLD_OPTION_SIGNAL(Type, name, setter, initial, presence) void name##Changed();
    LINDENFOLD_OPTIONS(LINDENFOLD_OPTION_SIGNAL)
#undef LINDENFOLD_OPTION_SIGNAL
    void playlistsChanged();
    void currentPlaylistIndexChanged();
    void currentTrackIndexChanged();
    void lastSelectedPlaylistIDChanged();
    // Any field of the geometry; a theme switch sends it once.
    void geometryChanged();
    // A playlist file was written by savePlaylist (or created by createPlaylist).
    void playlistSaved(const QUuid& id);
    // A settings, playlist or theme file could not be written; the old file is unchanged
    // and what is in memory is written again at the next save.
    void saveFailed(const QString& error);

private:
    void locateDocumentDirectory();
    void applyTheme(const ThemeData& theme);
    bool hasUsableSettings();
    void keepBrokenSettings(const QString& path);
    bool writeSettingsFile(const SettingsData& data);
    bool writeCurrentSettings();
    QString stagedPlaylistsDirectory() const;
    void settleStagedPlaylists(bool settingsListThem);
    bool createPlaylistIn(const QString& dir);
    void reportSaveFailure(const QString& prefix, const QString& error);
    bool installTheme(const QString& name, const QString& dir);

#define LINDENFOLD_OPTION_MEMBER(Type, name, setter, initial, presence) Type m_##name = initial;
    LINDENFOLD_OPTIONS(LINDENFOLD_OPTION_MEMBER)
#undef LINDENFOLD_OPTION_MEMBER
    QList<Playlist> m_playlists;
    qint64 m_currentPlaylistIndex{0};
    qint64 m_currentTrackIndex{0};
    qint64 m_lastSelectedPlaylistID{0};
    ThemeData m_geometry;
    CurrentTracks* m_currentTracks = nullptr;

    QString m_documentDirectory;
    SoundPlayer* m_soundPlayer = nullptr;
};
