#include "model/codec.h"

#include "core/boundedjson.h"
#include "core/strictjson.h"

#include <algorithm>
#include <numeric>
#include <optional>

using json = boundedjson::json;
using boundedjson::Shape;

namespace codec {

namespace {

using strictjson::Object;

QUuid readUuid(const Object& object, const char* key)
{
    const QString text = object.require<QString>(key);
    const QUuid id = QUuid::fromString(text);
    // only the plain 8-4-4-4-12 form is a UUID here, braces are not
    if (id.isNull() || text.size() != 36)
        throw strictjson::Error{
            strictjson::Error::Kind::DataCorrupted,
            QStringLiteral("Attempted to decode UUID from invalid UUID string \"%1\"").arg(text),
            object.pathOf(key)};
    return id;
}

// The parsed document, or a DecodeError for bytes that are not JSON.
std::optional<json> parse(const QByteArray& bytes, const Shape& shape, DecodeError* error)
{
    json j;
    std::string text;
    if (!boundedjson::parse(bytes, shape, &j, &text)) {
        *error =
            DecodeError{QStringLiteral("dataCorrupted: The given data was not valid JSON. (%1)")
                            .arg(QString::fromStdString(text))};
        return std::nullopt;
    }
    return j;
}

const Shape& settingsShape()
{
    static const Shape shape = [] {
        std::vector<std::pair<std::string, Shape>> fields;
#define LINDENFOLD_OPTION_SHAPE(Type, name, setter, initial, presence)                             \
    fields.emplace_back(#name, strictjson::shapeOf<Type>());
        LINDENFOLD_OPTIONS(LINDENFOLD_OPTION_SHAPE)
#undef LINDENFOLD_OPTION_SHAPE
        fields.emplace_back("lastSelectedPlaylistID", Shape::scalar());
        fields.emplace_back("playlists", Shape::array(Shape::object({{"id", Shape::scalar()},
                                                                     {"name", Shape::scalar()}})));
        return Shape::object(std::move(fields));
    }();
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
#define LINDENFOLD_OPTION_ENCODE(Type, name, setter, initial, presence)                            \
    if (Presence::presence == wanted)                                                              \
        j[#name] = strictjson::toJson(data.name);
    const auto options = [&](Presence wanted) { LINDENFOLD_OPTIONS(LINDENFOLD_OPTION_ENCODE) };
#undef LINDENFOLD_OPTION_ENCODE
    options(Presence::Required);
    j["lastSelectedPlaylistID"] = data.lastSelectedPlaylistID.value_or(0);
    json playlists = json::array();
    for (const Playlist& p : data.playlists)
        playlists.push_back(json{{"id", utf8(uuidString(p.id))}, {"name", utf8(p.name)}});
    j["playlists"] = playlists;
    options(Presence::Optional);
    return QByteArray::fromStdString(j.dump(2, ' ', false, json::error_handler_t::replace));
}

Decoded<SettingsData> decodeSettings(const QByteArray& bytes)
{
    DecodeError parseError;
    auto j = parse(bytes, settingsShape(), &parseError);
    if (!j)
        return parseError;
    try {
        const Object o = Object::root(*j);
        SettingsData d;
        // an optional key that is absent or null keeps its default
#define LINDENFOLD_OPTION_DECODE(Type, name, setter, initial, presence)                            \
    if (Presence::presence == wanted) {                                                            \
        if (Presence::presence == Presence::Required)                                              \
            d.name = o.require<Type>(#name);                                                       \
        else if (auto v = o.optional<Type>(#name))                                                 \
            d.name = *v;                                                                           \
    }
        const auto options = [&](Presence wanted) { LINDENFOLD_OPTIONS(LINDENFOLD_OPTION_DECODE) };
#undef LINDENFOLD_OPTION_DECODE
        options(Presence::Required);
        d.lastSelectedPlaylistID = o.optional<qint64>("lastSelectedPlaylistID");
        const strictjson::Array playlists = o.requireArray("playlists");
        for (size_t i = 0; i < playlists.size(); ++i) {
            const Object p = playlists.objectAt(i, "a playlist object");
            d.playlists << Playlist{readUuid(p, "id"), p.require<QString>("name")};
        }
        options(Presence::Optional);
        return d;
    } catch (const strictjson::Error& e) {
        return DecodeError{e.describe()};
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
    DecodeError parseError;
    auto j = parse(bytes, playlistShape(), &parseError);
    if (!j)
        return parseError;
    bytes = QByteArray();
    try {
        PlaylistData d;
        // each track's tree is let go once it is read: the tree and the list never both hold all
        strictjson::Array tracks = Object::root(*j).requireArray("tracks");
        d.tracks.reserve(qsizetype(tracks.size()));
        for (size_t i = 0; i < tracks.size(); ++i) {
            const Object t = tracks.objectAt(i, "a track object");
            d.tracks << Track{readUuid(t, "id"), t.require<QString>("urlString"),
                              t.require<QString>("trackName"), t.require<QString>("artist")};
            tracks.release(i);
        }
        return d;
    } catch (const strictjson::Error& e) {
        return DecodeError{e.describe()};
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
