// Setters of Config: each assigns and notifies only when the value changes.
#include "model/config.h"

#include <QtMath>

namespace {

template <typename T> bool assignIfChanged(T& field, const T& value)
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

// The options' setters, one per option of the settings file.
#define LINDENFOLD_OPTION_SETTER(Type, name, setter, initial, presence)                            \
    void Config::setter(OptionParameter<Type> value)                                               \
    {                                                                                              \
        if (assignIfChanged(m_##name, value))                                                      \
            emit name##Changed();                                                                  \
    }
LINDENFOLD_OPTIONS(LINDENFOLD_OPTION_SETTER)
#undef LINDENFOLD_OPTION_SETTER

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
LINDENFOLD_THEME_ALL_FIELDS(LINDENFOLD_SETTER)
#undef LINDENFOLD_SETTER
