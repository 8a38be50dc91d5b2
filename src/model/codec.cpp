#include "model/codec.h"

#include "core/boundedjson.h"

#include <algorithm>
#include <cmath>
#include <numeric>

using json = boundedjson::json;
using boundedjson::Shape;

namespace codec {

namespace {

struct Failure {
    QString message;
};

// Where in the document a value sits, e.g. tracks[2].artist, for error texts.
QString joinPath(const QString& at, const char* key)
{
    return at.isEmpty() ? QLatin1String(key) : at + QLatin1Char('.') + QLatin1String(key);
}

const json& require(const json& object, const char* key, const QString& at)
{
    const auto it = object.find(key);
    if (it == object.end())
        throw Failure{QStringLiteral("keyNotFound: No value associated with key \"%1\" (at %2).")
                          .arg(QLatin1String(key), joinPath(at, key))};
    if (it->is_null())
        throw Failure{QStringLiteral("valueNotFound: Expected a value for key \"%1\" but found null "
                                     "instead (at %2).")
                          .arg(QLatin1String(key), joinPath(at, key))};
    return *it;
}

Failure typeMismatch(const char* key, const QString& at, const char* expected)
{
    return Failure{QStringLiteral("typeMismatch: Expected %1 for key \"%2\" but found another "
                                  "type instead (at %3).")
                       .arg(QLatin1String(expected), QLatin1String(key), joinPath(at, key))};
}

QString readString(const json& object, const char* key, const QString& at = {})
{
    const json& v = require(object, key, at);
    if (!v.is_string())
        throw typeMismatch(key, at, "a string");
    return QString::fromStdString(v.get<std::string>());
}

bool readBool(const json& object, const char* key)
{
    const json& v = require(object, key, {});
    if (!v.is_boolean())
        throw typeMismatch(key, {}, "a boolean");
    return v.get<bool>();
}

QUuid readUuid(const json& object, const char* key, const QString& at)
{
    const QString text = readString(object, key, at);
    const QUuid id = QUuid::fromString(text);
    // only the plain 8-4-4-4-12 form is a UUID here, braces are not
    if (id.isNull() || text.size() != 36)
        throw Failure{QStringLiteral("dataCorrupted: Attempted to decode UUID from invalid UUID "
                                     "string \"%1\" (at %2).")
                          .arg(text, joinPath(at, key))};
    return id;
}

const json& requireArray(const json& object, const char* key, const QString& at = {})
{
    const json& v = require(object, key, at);
    if (!v.is_array())
        throw typeMismatch(key, at, "an array");
    return v;
}

json parseObject(const QByteArray& bytes, const Shape& shape)
{
    json j;
    std::string error;
    if (!boundedjson::parse(bytes, shape, &j, &error))
        throw Failure{QStringLiteral("dataCorrupted: The given data was not valid JSON. (%1)")
                          .arg(QString::fromStdString(error))};
    if (!j.is_object())
        throw Failure{QStringLiteral("typeMismatch: Expected a JSON object at the top level.")};
    return j;
}

const Shape& settingsShape()
{
    static const Shape shape = Shape::object({
        {"currentTheme", Shape::scalar()},
        {"availableThemes", Shape::array(Shape::scalar())},
        {"playsSounds", Shape::scalar()},
        {"superSized", Shape::scalar()},
        {"isFloating", Shape::scalar()},
        {"shuffleTracks", Shape::scalar()},
        {"loopTracks", Shape::scalar()},
        {"lastSelectedPlaylistID", Shape::scalar()},
        {"playlists", Shape::array(Shape::object({{"id", Shape::scalar()}, {"name", Shape::scalar()}}))},
    });
    return shape;
}

const Shape& playlistShape()
{
    static const Shape shape = Shape::object({
        {"tracks", Shape::array(Shape::object({{"id", Shape::scalar()},
                                               {"urlString", Shape::scalar()},
                                               {"trackName", Shape::scalar()},
                                               {"artist", Shape::scalar()}}))},
    });
    return shape;
}

std::string utf8(const QString& s)
{
    return s.toStdString();
}

} // namespace

QByteArray encodeSettings(const SettingsData& data)
{
    json j = json::object();
    j["currentTheme"] = utf8(data.currentTheme);
    json themes = json::array();
    for (const QString& t : data.availableThemes)
        themes.push_back(utf8(t));
    j["availableThemes"] = themes;
    j["playsSounds"] = data.playsSounds;
    j["superSized"] = data.superSized;
    j["isFloating"] = data.isFloating;
    j["shuffleTracks"] = data.shuffleTracks;
    j["loopTracks"] = data.loopTracks;
    j["lastSelectedPlaylistID"] = data.lastSelectedPlaylistID.value_or(0);
    json playlists = json::array();
    for (const Playlist& p : data.playlists)
        playlists.push_back(json{{"id", utf8(uuidString(p.id))}, {"name", utf8(p.name)}});
    j["playlists"] = playlists;
    return QByteArray::fromStdString(j.dump(2, ' ', false, json::error_handler_t::replace));
}

Decoded<SettingsData> decodeSettings(const QByteArray& bytes)
{
    try {
        const json j = parseObject(bytes, settingsShape());
        SettingsData d;
        d.currentTheme = readString(j, "currentTheme");
        const json& themes = requireArray(j, "availableThemes");
        for (size_t i = 0; i < themes.size(); ++i) {
            if (!themes[i].is_string())
                throw Failure{QStringLiteral("typeMismatch: Expected a string but found another "
                                             "type instead (at availableThemes[%1]).")
                                  .arg(i)};
            d.availableThemes << QString::fromStdString(themes[i].get<std::string>());
        }
        d.playsSounds = readBool(j, "playsSounds");
        d.superSized = readBool(j, "superSized");
        d.isFloating = readBool(j, "isFloating");
        d.shuffleTracks = readBool(j, "shuffleTracks");
        d.loopTracks = readBool(j, "loopTracks");
        const auto last = j.find("lastSelectedPlaylistID");
        if (last != j.end() && !last->is_null()) {
            if (last->is_number_integer() && !(last->is_number_unsigned()
                                               && last->get<quint64>() > quint64(INT64_MAX)))
                d.lastSelectedPlaylistID = last->get<qint64>();
            else if (last->is_number_float() && std::fabs(last->get<double>()) < 9.2e18
                     && last->get<double>() == std::floor(last->get<double>()))
                d.lastSelectedPlaylistID = qint64(last->get<double>());
            else
                throw typeMismatch("lastSelectedPlaylistID", {}, "an integer");
        }
        const json& playlists = requireArray(j, "playlists");
        for (size_t i = 0; i < playlists.size(); ++i) {
            const QString at = QStringLiteral("playlists[%1]").arg(i);
            if (!playlists[i].is_object())
                throw Failure{QStringLiteral("typeMismatch: Expected a playlist object (at %1).").arg(at)};
            d.playlists << Playlist{readUuid(playlists[i], "id", at), readString(playlists[i], "name", at)};
        }
        return d;
    } catch (const Failure& f) {
        return DecodeError{f.message};
    }
}

QByteArray encodePlaylist(const PlaylistData& data)
{
    json tracks = json::array();
    for (const Track& t : data.tracks) {
        json o = json::object();
        o["id"] = utf8(uuidString(t.id));
        o["urlString"] = utf8(t.urlString);
        o["trackName"] = utf8(t.trackName);
        o["artist"] = utf8(t.artist);
        tracks.push_back(std::move(o));
    }
    json j = json::object();
    j["tracks"] = std::move(tracks);
    return QByteArray::fromStdString(j.dump(2, ' ', false, json::error_handler_t::replace));
}

Decoded<PlaylistData> decodePlaylist(QByteArray bytes)
{
    try {
        json j = parseObject(bytes, playlistShape());
        bytes = QByteArray();
        PlaylistData d;
        // each track's tree is let go once it is read: the tree and the list never both hold all
        json& tracks = const_cast<json&>(requireArray(j, "tracks"));
        d.tracks.reserve(qsizetype(tracks.size()));
        for (size_t i = 0; i < tracks.size(); ++i) {
            const QString at = QStringLiteral("tracks[%1]").arg(i);
            const json& t = tracks[i];
            if (!t.is_object())
                throw Failure{QStringLiteral("typeMismatch: Expected a track object (at %1).").arg(at)};
            d.tracks << Track{readUuid(t, "id", at), readString(t, "urlString", at),
                              readString(t, "trackName", at), readString(t, "artist", at)};
            tracks[i] = nullptr;
        }
        return d;
    } catch (const Failure& f) {
        return DecodeError{f.message};
    }
}

QList<Playlist> sortedByName(QList<Playlist> playlists)
{
    QList<QList<uint>> keys;
    keys.reserve(playlists.size());
    for (const Playlist& p : playlists)
        keys << p.name.normalized(QString::NormalizationForm_C).toUcs4();
    QList<qsizetype> order(playlists.size());
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(),
                     [&](qsizetype a, qsizetype b) { return keys[a] < keys[b]; });
    QList<Playlist> sorted;
    sorted.reserve(playlists.size());
    for (qsizetype i : order)
        sorted << playlists[i];
    return sorted;
}

} // namespace codec
