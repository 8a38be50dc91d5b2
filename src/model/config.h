#pragma once

#include "model/records.h"

#include <QImage>
#include <QObject>
#include <QPointF>
#include <QString>
#include <QStringList>

#include <optional>

class SoundPlayer;
struct ThemeData;

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
    Q_PROPERTY(double playerWidth READ playerWidth WRITE setPlayerWidth NOTIFY playerWidthChanged)
    Q_PROPERTY(double playerHeight READ playerHeight WRITE setPlayerHeight NOTIFY playerHeightChanged)
    Q_PROPERTY(double playerMinWidth READ playerMinWidth WRITE setPlayerMinWidth NOTIFY playerMinWidthChanged)
    Q_PROPERTY(double playerMinHeight READ playerMinHeight WRITE setPlayerMinHeight NOTIFY playerMinHeightChanged)
    Q_PROPERTY(qint64 trackTextSize READ trackTextSize WRITE setTrackTextSize NOTIFY trackTextSizeChanged)
    Q_PROPERTY(qint64 artistTextSize READ artistTextSize WRITE setArtistTextSize NOTIFY artistTextSizeChanged)
    Q_PROPERTY(bool textReversed READ textReversed WRITE setTextReversed NOTIFY textReversedChanged)
    Q_PROPERTY(QPointF closePos READ closePos WRITE setClosePos NOTIFY closePosChanged)
    Q_PROPERTY(double closeWidth READ closeWidth WRITE setCloseWidth NOTIFY closeWidthChanged)
    Q_PROPERTY(double closeHeight READ closeHeight WRITE setCloseHeight NOTIFY closeHeightChanged)
    Q_PROPERTY(QPointF playPos READ playPos WRITE setPlayPos NOTIFY playPosChanged)
    Q_PROPERTY(double playWidth READ playWidth WRITE setPlayWidth NOTIFY playWidthChanged)
    Q_PROPERTY(double playHeight READ playHeight WRITE setPlayHeight NOTIFY playHeightChanged)
    Q_PROPERTY(QPointF ffPos READ ffPos WRITE setFfPos NOTIFY ffPosChanged)
    Q_PROPERTY(double ffWidth READ ffWidth WRITE setFfWidth NOTIFY ffWidthChanged)
    Q_PROPERTY(double ffHeight READ ffHeight WRITE setFfHeight NOTIFY ffHeightChanged)
    Q_PROPERTY(QPointF minPos READ minPos WRITE setMinPos NOTIFY minPosChanged)
    Q_PROPERTY(double minWidth READ minWidth WRITE setMinWidth NOTIFY minWidthChanged)
    Q_PROPERTY(double minHeight READ minHeight WRITE setMinHeight NOTIFY minHeightChanged)
    Q_PROPERTY(QPointF rrPos READ rrPos WRITE setRrPos NOTIFY rrPosChanged)
    Q_PROPERTY(double rrWidth READ rrWidth WRITE setRrWidth NOTIFY rrWidthChanged)
    Q_PROPERTY(double rrHeight READ rrHeight WRITE setRrHeight NOTIFY rrHeightChanged)
    Q_PROPERTY(QPointF trackMenuPos READ trackMenuPos WRITE setTrackMenuPos NOTIFY trackMenuPosChanged)
    Q_PROPERTY(double trackMenuWidth READ trackMenuWidth WRITE setTrackMenuWidth NOTIFY trackMenuWidthChanged)
    Q_PROPERTY(double trackMenuHeight READ trackMenuHeight WRITE setTrackMenuHeight NOTIFY trackMenuHeightChanged)
    Q_PROPERTY(QPointF playlistMenuPos READ playlistMenuPos WRITE setPlaylistMenuPos NOTIFY playlistMenuPosChanged)
    Q_PROPERTY(double playlistMenuWidth READ playlistMenuWidth WRITE setPlaylistMenuWidth NOTIFY playlistMenuWidthChanged)
    Q_PROPERTY(double playlistMenuHeight READ playlistMenuHeight WRITE setPlaylistMenuHeight NOTIFY playlistMenuHeightChanged)
    Q_PROPERTY(QPointF scrubberMinPos READ scrubberMinPos WRITE setScrubberMinPos NOTIFY scrubberMinPosChanged)
    Q_PROPERTY(QPointF scrubberMaxPos READ scrubberMaxPos WRITE setScrubberMaxPos NOTIFY scrubberMaxPosChanged)
    Q_PROPERTY(double scrubberWidth READ scrubberWidth WRITE setScrubberWidth NOTIFY scrubberWidthChanged)
    Q_PROPERTY(double scrubberHeight READ scrubberHeight WRITE setScrubberHeight NOTIFY scrubberHeightChanged)
    Q_PROPERTY(QPointF trackNamePos READ trackNamePos WRITE setTrackNamePos NOTIFY trackNamePosChanged)
    Q_PROPERTY(QPointF trackArtistPos READ trackArtistPos WRITE setTrackArtistPos NOTIFY trackArtistPosChanged)
    Q_PROPERTY(double trackTextWidth READ trackTextWidth WRITE setTrackTextWidth NOTIFY trackTextWidthChanged)
    Q_PROPERTY(QPointF trackArtPos READ trackArtPos WRITE setTrackArtPos NOTIFY trackArtPosChanged)
    Q_PROPERTY(double trackArtWidth READ trackArtWidth WRITE setTrackArtWidth NOTIFY trackArtWidthChanged)
    Q_PROPERTY(double trackArtHeight READ trackArtHeight WRITE setTrackArtHeight NOTIFY trackArtHeightChanged)
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
    double playerWidth() const { return m_playerWidth; }
    double playerHeight() const { return m_playerHeight; }
    double playerMinWidth() const { return m_playerMinWidth; }
    double playerMinHeight() const { return m_playerMinHeight; }
    qint64 trackTextSize() const { return m_trackTextSize; }
    qint64 artistTextSize() const { return m_artistTextSize; }
    bool textReversed() const { return m_textReversed; }
    QPointF closePos() const { return m_closePos; }
    double closeWidth() const { return m_closeWidth; }
    double closeHeight() const { return m_closeHeight; }
    QPointF playPos() const { return m_playPos; }
    double playWidth() const { return m_playWidth; }
    double playHeight() const { return m_playHeight; }
    QPointF ffPos() const { return m_ffPos; }
    double ffWidth() const { return m_ffWidth; }
    double ffHeight() const { return m_ffHeight; }
    QPointF minPos() const { return m_minPos; }
    double minWidth() const { return m_minWidth; }
    double minHeight() const { return m_minHeight; }
    QPointF rrPos() const { return m_rrPos; }
    double rrWidth() const { return m_rrWidth; }
    double rrHeight() const { return m_rrHeight; }
    QPointF trackMenuPos() const { return m_trackMenuPos; }
    double trackMenuWidth() const { return m_trackMenuWidth; }
    double trackMenuHeight() const { return m_trackMenuHeight; }
    QPointF playlistMenuPos() const { return m_playlistMenuPos; }
    double playlistMenuWidth() const { return m_playlistMenuWidth; }
    double playlistMenuHeight() const { return m_playlistMenuHeight; }
    QPointF scrubberMinPos() const { return m_scrubberMinPos; }
    QPointF scrubberMaxPos() const { return m_scrubberMaxPos; }
    double scrubberWidth() const { return m_scrubberWidth; }
    double scrubberHeight() const { return m_scrubberHeight; }
    QPointF trackNamePos() const { return m_trackNamePos; }
    QPointF trackArtistPos() const { return m_trackArtistPos; }
    double trackTextWidth() const { return m_trackTextWidth; }
    QPointF trackArtPos() const { return m_trackArtPos; }
    double trackArtWidth() const { return m_trackArtWidth; }
    double trackArtHeight() const { return m_trackArtHeight; }
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
    void setPlayerWidth(double value);
    void setPlayerHeight(double value);
    void setPlayerMinWidth(double value);
    void setPlayerMinHeight(double value);
    void setTrackTextSize(qint64 value);
    void setArtistTextSize(qint64 value);
    void setTextReversed(bool value);
    void setClosePos(const QPointF& value);
    void setCloseWidth(double value);
    void setCloseHeight(double value);
    void setPlayPos(const QPointF& value);
    void setPlayWidth(double value);
    void setPlayHeight(double value);
    void setFfPos(const QPointF& value);
    void setFfWidth(double value);
    void setFfHeight(double value);
    void setMinPos(const QPointF& value);
    void setMinWidth(double value);
    void setMinHeight(double value);
    void setRrPos(const QPointF& value);
    void setRrWidth(double value);
    void setRrHeight(double value);
    void setTrackMenuPos(const QPointF& value);
    void setTrackMenuWidth(double value);
    void setTrackMenuHeight(double value);
    void setPlaylistMenuPos(const QPointF& value);
    void setPlaylistMenuWidth(double value);
    void setPlaylistMenuHeight(double value);
    void setScrubberMinPos(const QPointF& value);
    void setScrubberMaxPos(const QPointF& value);
    void setScrubberWidth(double value);
    void setScrubberHeight(double value);
    void setTrackNamePos(const QPointF& value);
    void setTrackArtistPos(const QPointF& value);
    void setTrackTextWidth(double value);
    void setTrackArtPos(const QPointF& value);
    void setTrackArtWidth(double value);
    void setTrackArtHeight(double value);

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

    // The playlist at currentPlaylistIndex, if the index names one, and its tracks.
    std::optional<Playlist> currentPlaylist() const;
    QList<Track> currentTracks() const;

    // Track sequencing
    void previousTrack();
    void nextTrack();

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
    void playerWidthChanged();
    void playerHeightChanged();
    void playerMinWidthChanged();
    void playerMinHeightChanged();
    void trackTextSizeChanged();
    void artistTextSizeChanged();
    void textReversedChanged();
    void closePosChanged();
    void closeWidthChanged();
    void closeHeightChanged();
    void playPosChanged();
    void playWidthChanged();
    void playHeightChanged();
    void ffPosChanged();
    void ffWidthChanged();
    void ffHeightChanged();
    void minPosChanged();
    void minWidthChanged();
    void minHeightChanged();
    void rrPosChanged();
    void rrWidthChanged();
    void rrHeightChanged();
    void trackMenuPosChanged();
    void trackMenuWidthChanged();
    void trackMenuHeightChanged();
    void playlistMenuPosChanged();
    void playlistMenuWidthChanged();
    void playlistMenuHeightChanged();
    void scrubberMinPosChanged();
    void scrubberMaxPosChanged();
    void scrubberWidthChanged();
    void scrubberHeightChanged();
    void trackNamePosChanged();
    void trackArtistPosChanged();
    void trackTextWidthChanged();
    void trackArtPosChanged();
    void trackArtWidthChanged();
    void trackArtHeightChanged();
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
    double m_playerWidth{269};
    double m_playerHeight{96};
    double m_playerMinWidth{20};
    double m_playerMinHeight{96};
    qint64 m_trackTextSize{9};
    qint64 m_artistTextSize{9};
    bool m_textReversed{true};
    QPointF m_closePos{9.5, 11};
    double m_closeWidth{17};
    double m_closeHeight{14};
    QPointF m_playPos{192, 34};
    double m_playWidth{34};
    double m_playHeight{52};
    QPointF m_ffPos{226, 34};
    double m_ffWidth{34};
    double m_ffHeight{52};
    QPointF m_minPos{9.5, 25};
    double m_minWidth{17};
    double m_minHeight{14};
    QPointF m_rrPos{158, 34};
    double m_rrWidth{34};
    double m_rrHeight{52};
    QPointF m_trackMenuPos{9.5, 87};
    double m_trackMenuWidth{17};
    double m_trackMenuHeight{14};
    QPointF m_playlistMenuPos{9.5, 71};
    double m_playlistMenuWidth{17};
    double m_playlistMenuHeight{14};
    QPointF m_scrubberMinPos{117.5, 65.5};
    QPointF m_scrubberMaxPos{266.5, 65.5};
    double m_scrubberWidth{14};
    double m_scrubberHeight{14};
    QPointF m_trackNamePos{192, 75};
    QPointF m_trackArtistPos{192, 89};
    double m_trackTextWidth{152};
    QPointF m_trackArtPos{67, 48};
    double m_trackArtWidth{92};
    double m_trackArtHeight{92};

    QString m_documentDirectory;
    SoundPlayer* m_soundPlayer = nullptr;
};
