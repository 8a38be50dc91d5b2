#pragma once

#include "model/records.h"
#include "theme/themedata.h"

#include <QImage>
#include <QObject>
#include <QPointF>
#include <QString>
#include <QStringList>

#include <optional>

class CurrentTracks;
class SoundPlayer;

// The one observable state object: options, theme and playlist catalogues, the position
// in the music and the current theme's geometry. Setters notify only on a real change;
// nothing is saved when a field changes, every save is an explicit call.
class Config final : public QObject {
    Q_OBJECT
    Q_PROPERTY(QString currentTheme READ currentTheme WRITE setCurrentTheme NOTIFY currentThemeChanged)
    Q_PROPERTY(QStringList availableThemes READ availableThemes WRITE setAvailableThemes NOTIFY availableThemesChanged)
    Q_PROPERTY(bool playsSounds READ playsSounds WRITE setPlaysSounds NOTIFY playsSoundsChanged)
    Q_PROPERTY(bool superSized READ superSized WRITE setSuperSized NOTIFY superSizedChanged)
    Q_PROPERTY(bool isFloating READ isFloating WRITE setIsFloating NOTIFY isFloatingChanged)
    Q_PROPERTY(bool shuffleTracks READ shuffleTracks WRITE setShuffleTracks NOTIFY shuffleTracksChanged)
    Q_PROPERTY(bool loopTracks READ loopTracks WRITE setLoopTracks NOTIFY loopTracksChanged)
    Q_PROPERTY(QList<Playlist> playlists READ playlists WRITE setPlaylists NOTIFY playlistsChanged)
    Q_PROPERTY(qint64 currentPlaylistIndex READ currentPlaylistIndex WRITE setCurrentPlaylistIndex NOTIFY currentPlaylistIndexChanged)
    Q_PROPERTY(qint64 currentTrackIndex READ currentTrackIndex WRITE setCurrentTrackIndex NOTIFY currentTrackIndexChanged)
    Q_PROPERTY(qint64 lastSelectedPlaylistID READ lastSelectedPlaylistID WRITE setLastSelectedPlaylistID NOTIFY lastSelectedPlaylistIDChanged)
    Q_PROPERTY(double playerWidth READ playerWidth WRITE setPlayerWidth NOTIFY geometryChanged)
    Q_PROPERTY(double playerHeight READ playerHeight WRITE setPlayerHeight NOTIFY geometryChanged)
    Q_PROPERTY(double playerMinWidth READ playerMinWidth WRITE setPlayerMinWidth NOTIFY geometryChanged)
    Q_PROPERTY(double playerMinHeight READ playerMinHeight WRITE setPlayerMinHeight NOTIFY geometryChanged)
    Q_PROPERTY(qint64 trackTextSize READ trackTextSize WRITE setTrackTextSize NOTIFY geometryChanged)
    Q_PROPERTY(qint64 artistTextSize READ artistTextSize WRITE setArtistTextSize NOTIFY geometryChanged)
    Q_PROPERTY(bool textReversed READ textReversed WRITE setTextReversed NOTIFY geometryChanged)
    Q_PROPERTY(QPointF closePos READ closePos WRITE setClosePos NOTIFY geometryChanged)
    Q_PROPERTY(double closeWidth READ closeWidth WRITE setCloseWidth NOTIFY geometryChanged)
    Q_PROPERTY(double closeHeight READ closeHeight WRITE setCloseHeight NOTIFY geometryChanged)
    Q_PROPERTY(QPointF playPos READ playPos WRITE setPlayPos NOTIFY geometryChanged)
    Q_PROPERTY(double playWidth READ playWidth WRITE setPlayWidth NOTIFY geometryChanged)
    Q_PROPERTY(double playHeight READ playHeight WRITE setPlayHeight NOTIFY geometryChanged)
    Q_PROPERTY(QPointF ffPos READ ffPos WRITE setFfPos NOTIFY geometryChanged)
    Q_PROPERTY(double ffWidth READ ffWidth WRITE setFfWidth NOTIFY geometryChanged)
    Q_PROPERTY(double ffHeight READ ffHeight WRITE setFfHeight NOTIFY geometryChanged)
    Q_PROPERTY(QPointF minPos READ minPos WRITE setMinPos NOTIFY geometryChanged)
    Q_PROPERTY(double minWidth READ minWidth WRITE setMinWidth NOTIFY geometryChanged)
    Q_PROPERTY(double minHeight READ minHeight WRITE setMinHeight NOTIFY geometryChanged)
    Q_PROPERTY(QPointF rrPos READ rrPos WRITE setRrPos NOTIFY geometryChanged)
    Q_PROPERTY(double rrWidth READ rrWidth WRITE setRrWidth NOTIFY geometryChanged)
    Q_PROPERTY(double rrHeight READ rrHeight WRITE setRrHeight NOTIFY geometryChanged)
    Q_PROPERTY(QPointF trackMenuPos READ trackMenuPos WRITE setTrackMenuPos NOTIFY geometryChanged)
    Q_PROPERTY(double trackMenuWidth READ trackMenuWidth WRITE setTrackMenuWidth NOTIFY geometryChanged)
    Q_PROPERTY(double trackMenuHeight READ trackMenuHeight WRITE setTrackMenuHeight NOTIFY geometryChanged)
    Q_PROPERTY(QPointF playlistMenuPos READ playlistMenuPos WRITE setPlaylistMenuPos NOTIFY geometryChanged)
    Q_PROPERTY(double playlistMenuWidth READ playlistMenuWidth WRITE setPlaylistMenuWidth NOTIFY geometryChanged)
    Q_PROPERTY(double playlistMenuHeight READ playlistMenuHeight WRITE setPlaylistMenuHeight NOTIFY geometryChanged)
    Q_PROPERTY(QPointF scrubberMinPos READ scrubberMinPos WRITE setScrubberMinPos NOTIFY geometryChanged)
    Q_PROPERTY(QPointF scrubberMaxPos READ scrubberMaxPos WRITE setScrubberMaxPos NOTIFY geometryChanged)
    Q_PROPERTY(double scrubberWidth READ scrubberWidth WRITE setScrubberWidth NOTIFY geometryChanged)
    Q_PROPERTY(double scrubberHeight READ scrubberHeight WRITE setScrubberHeight NOTIFY geometryChanged)
    Q_PROPERTY(QPointF trackNamePos READ trackNamePos WRITE setTrackNamePos NOTIFY geometryChanged)
    Q_PROPERTY(QPointF trackArtistPos READ trackArtistPos WRITE setTrackArtistPos NOTIFY geometryChanged)
    Q_PROPERTY(double trackTextWidth READ trackTextWidth WRITE setTrackTextWidth NOTIFY geometryChanged)
    Q_PROPERTY(QPointF trackArtPos READ trackArtPos WRITE setTrackArtPos NOTIFY geometryChanged)
    Q_PROPERTY(double trackArtWidth READ trackArtWidth WRITE setTrackArtWidth NOTIFY geometryChanged)
    Q_PROPERTY(double trackArtHeight READ trackArtHeight WRITE setTrackArtHeight NOTIFY geometryChanged)
    Q_PROPERTY(QString documentDirectory READ documentDirectory CONSTANT)

public:
    // Runs the start-up sequence: documents directory, settings file or first start,
    // current theme geometry.
    explicit Config(QObject* parent = nullptr);
    ~Config() override;
    Q_DISABLE_COPY_MOVE(Config)

    static QStringList builtInThemeNames();

    QString currentTheme() const { return m_currentTheme; }
    QStringList availableThemes() const { return m_availableThemes; }
    bool playsSounds() const { return m_playsSounds; }
    bool superSized() const { return m_superSized; }
    bool isFloating() const { return m_isFloating; }
    bool shuffleTracks() const { return m_shuffleTracks; }
    bool loopTracks() const { return m_loopTracks; }
    QList<Playlist> playlists() const { return m_playlists; }
    qint64 currentPlaylistIndex() const { return m_currentPlaylistIndex; }
    qint64 currentTrackIndex() const { return m_currentTrackIndex; }
    qint64 lastSelectedPlaylistID() const { return m_lastSelectedPlaylistID; }
#define LINDENFOLD_GETTER(Type, name, setter) \
    Type name() const { return m_geometry.name; }
    LINDENFOLD_THEME_FIELDS(LINDENFOLD_GETTER)
#undef LINDENFOLD_GETTER
    // The current theme's geometry as one value.
    const ThemeData& geometry() const { return m_geometry; }
    QString documentDirectory() const { return m_documentDirectory; }
    SoundPlayer* soundPlayer() const { return m_soundPlayer; }

    void setCurrentTheme(const QString& value);
    void setAvailableThemes(const QStringList& value);
    void setPlaysSounds(bool value);
    void setSuperSized(bool value);
    void setIsFloating(bool value);
    void setShuffleTracks(bool value);
    void setLoopTracks(bool value);
    void setPlaylists(const QList<Playlist>& value);
    void setCurrentPlaylistIndex(qint64 value);
    void setCurrentTrackIndex(qint64 value);
    void setLastSelectedPlaylistID(qint64 value);
#define LINDENFOLD_SETTER(Type, name, setter) void setter(const Type& value);
    LINDENFOLD_THEME_FIELDS(LINDENFOLD_SETTER)
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
    CurrentTracks* trackList() const { return m_currentTracks; }

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
    void currentThemeChanged();
    void availableThemesChanged();
    void playsSoundsChanged();
    void superSizedChanged();
    void isFloatingChanged();
    void shuffleTracksChanged();
    void loopTracksChanged();
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
    bool setUpFromExistingSettings();
    void keepBrokenSettings(const QString& path);
    void writeSettingsFile(const SettingsData& data);
    void reportSaveFailure(const QString& prefix, const QString& error);
    bool installTheme(const QString& name, const QString& dir);

    QString m_currentTheme{QStringLiteral("mini-graphite")};
    QStringList m_availableThemes{builtInThemeNames()};
    bool m_playsSounds{true};
    bool m_superSized{false};
    bool m_isFloating{true};
    bool m_shuffleTracks{false};
    bool m_loopTracks{true};
    QList<Playlist> m_playlists;
    qint64 m_currentPlaylistIndex{0};
    qint64 m_currentTrackIndex{0};
    qint64 m_lastSelectedPlaylistID{0};
    ThemeData m_geometry;
    CurrentTracks* m_currentTracks = nullptr;

    QString m_documentDirectory;
    SoundPlayer* m_soundPlayer = nullptr;
};
