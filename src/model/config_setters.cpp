// Setters of Config: each assigns and notifies only when the value changes.
#include "model/config.h"

#include <QtMath>

namespace {

template <typename T>
bool assignIfChanged(T& field, const T& value)
{
    if (field == value)
        return false;
    field = value;
    return true;
}

// NaN from a hand-edited theme must not notify on every load.
bool sameDouble(double a, double b)
{
    return a == b || (qIsNaN(a) && qIsNaN(b));
}

bool assignIfChanged(double& field, const double& value)
{
    if (sameDouble(field, value))
        return false;
    field = value;
    return true;
}

bool assignIfChanged(QPointF& field, const QPointF& value)
{
    if (sameDouble(field.x(), value.x()) && sameDouble(field.y(), value.y()))
        return false;
    field = value;
    return true;
}

} // namespace

void Config::setCurrentTheme(const QString& value)
{
    if (assignIfChanged(m_currentTheme, value))
        emit currentThemeChanged();
}

void Config::setAvailableThemes(const QStringList& value)
{
    if (assignIfChanged(m_availableThemes, value))
        emit availableThemesChanged();
}

void Config::setPlaysSounds(bool value)
{
    if (assignIfChanged(m_playsSounds, value))
        emit playsSoundsChanged();
}

void Config::setSuperSized(bool value)
{
    if (assignIfChanged(m_superSized, value))
        emit superSizedChanged();
}

void Config::setIsFloating(bool value)
{
    if (assignIfChanged(m_isFloating, value))
        emit isFloatingChanged();
}

void Config::setShuffleTracks(bool value)
{
    if (assignIfChanged(m_shuffleTracks, value))
        emit shuffleTracksChanged();
}

void Config::setLoopTracks(bool value)
{
    if (assignIfChanged(m_loopTracks, value))
        emit loopTracksChanged();
}

void Config::setPlaylists(const QList<Playlist>& value)
{
    if (assignIfChanged(m_playlists, value))
        emit playlistsChanged();
}

void Config::setCurrentPlaylistIndex(qint64 value)
{
    if (assignIfChanged(m_currentPlaylistIndex, value))
        emit currentPlaylistIndexChanged();
}

void Config::setCurrentTrackIndex(qint64 value)
{
    if (assignIfChanged(m_currentTrackIndex, value))
        emit currentTrackIndexChanged();
}

void Config::setLastSelectedPlaylistID(qint64 value)
{
    if (assignIfChanged(m_lastSelectedPlaylistID, value))
        emit lastSelectedPlaylistIDChanged();
}

void Config::setPlayerWidth(double value)
{
    if (assignIfChanged(m_playerWidth, value))
        emit playerWidthChanged();
}

void Config::setPlayerHeight(double value)
{
    if (assignIfChanged(m_playerHeight, value))
        emit playerHeightChanged();
}

void Config::setPlayerMinWidth(double value)
{
    if (assignIfChanged(m_playerMinWidth, value))
        emit playerMinWidthChanged();
}

void Config::setPlayerMinHeight(double value)
{
    if (assignIfChanged(m_playerMinHeight, value))
        emit playerMinHeightChanged();
}

void Config::setTrackTextSize(qint64 value)
{
    if (assignIfChanged(m_trackTextSize, value))
        emit trackTextSizeChanged();
}

void Config::setArtistTextSize(qint64 value)
{
    if (assignIfChanged(m_artistTextSize, value))
        emit artistTextSizeChanged();
}

void Config::setTextReversed(bool value)
{
    if (assignIfChanged(m_textReversed, value))
        emit textReversedChanged();
}

void Config::setClosePos(const QPointF& value)
{
    if (assignIfChanged(m_closePos, value))
        emit closePosChanged();
}

void Config::setCloseWidth(double value)
{
    if (assignIfChanged(m_closeWidth, value))
        emit closeWidthChanged();
}

void Config::setCloseHeight(double value)
{
    if (assignIfChanged(m_closeHeight, value))
        emit closeHeightChanged();
}

void Config::setPlayPos(const QPointF& value)
{
    if (assignIfChanged(m_playPos, value))
        emit playPosChanged();
}

void Config::setPlayWidth(double value)
{
    if (assignIfChanged(m_playWidth, value))
        emit playWidthChanged();
}

void Config::setPlayHeight(double value)
{
    if (assignIfChanged(m_playHeight, value))
        emit playHeightChanged();
}

void Config::setFfPos(const QPointF& value)
{
    if (assignIfChanged(m_ffPos, value))
        emit ffPosChanged();
}

void Config::setFfWidth(double value)
{
    if (assignIfChanged(m_ffWidth, value))
        emit ffWidthChanged();
}

void Config::setFfHeight(double value)
{
    if (assignIfChanged(m_ffHeight, value))
        emit ffHeightChanged();
}

void Config::setMinPos(const QPointF& value)
{
    if (assignIfChanged(m_minPos, value))
        emit minPosChanged();
}

void Config::setMinWidth(double value)
{
    if (assignIfChanged(m_minWidth, value))
        emit minWidthChanged();
}

void Config::setMinHeight(double value)
{
    if (assignIfChanged(m_minHeight, value))
        emit minHeightChanged();
}

void Config::setRrPos(const QPointF& value)
{
    if (assignIfChanged(m_rrPos, value))
        emit rrPosChanged();
}

void Config::setRrWidth(double value)
{
    if (assignIfChanged(m_rrWidth, value))
        emit rrWidthChanged();
}

void Config::setRrHeight(double value)
{
    if (assignIfChanged(m_rrHeight, value))
        emit rrHeightChanged();
}

void Config::setTrackMenuPos(const QPointF& value)
{
    if (assignIfChanged(m_trackMenuPos, value))
        emit trackMenuPosChanged();
}

void Config::setTrackMenuWidth(double value)
{
    if (assignIfChanged(m_trackMenuWidth, value))
        emit trackMenuWidthChanged();
}

void Config::setTrackMenuHeight(double value)
{
    if (assignIfChanged(m_trackMenuHeight, value))
        emit trackMenuHeightChanged();
}

void Config::setPlaylistMenuPos(const QPointF& value)
{
    if (assignIfChanged(m_playlistMenuPos, value))
        emit playlistMenuPosChanged();
}

void Config::setPlaylistMenuWidth(double value)
{
    if (assignIfChanged(m_playlistMenuWidth, value))
        emit playlistMenuWidthChanged();
}

void Config::setPlaylistMenuHeight(double value)
{
    if (assignIfChanged(m_playlistMenuHeight, value))
        emit playlistMenuHeightChanged();
}

void Config::setScrubberMinPos(const QPointF& value)
{
    if (assignIfChanged(m_scrubberMinPos, value))
        emit scrubberMinPosChanged();
}

void Config::setScrubberMaxPos(const QPointF& value)
{
    if (assignIfChanged(m_scrubberMaxPos, value))
        emit scrubberMaxPosChanged();
}

void Config::setScrubberWidth(double value)
{
    if (assignIfChanged(m_scrubberWidth, value))
        emit scrubberWidthChanged();
}

void Config::setScrubberHeight(double value)
{
    if (assignIfChanged(m_scrubberHeight, value))
        emit scrubberHeightChanged();
}

void Config::setTrackNamePos(const QPointF& value)
{
    if (assignIfChanged(m_trackNamePos, value))
        emit trackNamePosChanged();
}

void Config::setTrackArtistPos(const QPointF& value)
{
    if (assignIfChanged(m_trackArtistPos, value))
        emit trackArtistPosChanged();
}

void Config::setTrackTextWidth(double value)
{
    if (assignIfChanged(m_trackTextWidth, value))
        emit trackTextWidthChanged();
}

void Config::setTrackArtPos(const QPointF& value)
{
    if (assignIfChanged(m_trackArtPos, value))
        emit trackArtPosChanged();
}

void Config::setTrackArtWidth(double value)
{
    if (assignIfChanged(m_trackArtWidth, value))
        emit trackArtWidthChanged();
}

void Config::setTrackArtHeight(double value)
{
    if (assignIfChanged(m_trackArtHeight, value))
        emit trackArtHeightChanged();
}
