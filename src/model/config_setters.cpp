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

// The geometry's setters, one per field of the theme record.
#define LINDENFOLD_SETTER(Type, name, setter)                                                      \
    void Config::setter(const Type& value)                                                         \
    {                                                                                              \
        if (assignIfChanged(m_geometry.name, value))                                               \
            emit geometryChanged();                                                                \
    }
LINDENFOLD_THEME_FIELDS(LINDENFOLD_SETTER)
#undef LINDENFOLD_SETTER
