#include "theme/themedata.h"

#include "core/boundedjson.h"
#include "core/strictjson.h"

#include <cmath>
#include <limits>

using json = boundedjson::json;

namespace theme {

namespace {

// JSON has no NaN or infinity: such values are written as the largest finite numbers so
// the file stays readable.
json number(double v)
{
    if (std::isnan(v))
        return 0.0;
    if (std::isinf(v))
        return v > 0 ? std::numeric_limits<double>::max() : std::numeric_limits<double>::lowest();
    if (v == std::floor(v) && std::fabs(v) < 1e15)
        return static_cast<qint64>(v);
    return v;
}

// The file's keys of one field: a position is two numbers, its key with X and with Y.
void addKeys(std::vector<std::pair<std::string, boundedjson::Shape>>& keys, const char* name,
             const QPointF*)
{
    keys.emplace_back(std::string(name) + 'X', boundedjson::Shape::scalar());
    keys.emplace_back(std::string(name) + 'Y', boundedjson::Shape::scalar());
}

template <typename T>
void addKeys(std::vector<std::pair<std::string, boundedjson::Shape>>& keys, const char* name,
             const T*)
{
    keys.emplace_back(name, boundedjson::Shape::scalar());
}

void encode(json& j, const char* name, const QPointF& p)
{
    j[std::string(name) + 'X'] = number(p.x());
    j[std::string(name) + 'Y'] = number(p.y());
}

void encode(json& j, const char* name, double v)
{
    j[name] = number(v);
}

template <typename T> void encode(json& j, const char* name, const T& v)
{
    j[name] = v;
}

// A required field is read from the file; an optional one keeps what it holds (the
// family's value) when its key is absent or null.
template <typename T>
void decode(const strictjson::Object& o, const char* name, bool required, T& field)
{
    if (required)
        field = o.require<T>(name);
    else if (auto v = o.optional<T>(name))
        field = *v;
}

void decode(const strictjson::Object& o, const char* name, bool required, QPointF& field)
{
    const std::string x = std::string(name) + 'X', y = std::string(name) + 'Y';
    double px = field.x(), py = field.y();
    decode(o, x.c_str(), required, px);
    decode(o, y.c_str(), required, py);
    field = QPointF(px, py);
}

} // namespace

QByteArray encodeTheme(const ThemeData& d)
{
    json j = json::object();
#define LINDENFOLD_ENCODE(Type, name, setter) encode(j, #name, d.name);
    LINDENFOLD_THEME_FIELDS(LINDENFOLD_ENCODE)
    LINDENFOLD_THEME_OPTIONAL_FIELDS(LINDENFOLD_ENCODE)
#undef LINDENFOLD_ENCODE
    return QByteArray::fromStdString(j.dump(2));
}

std::variant<ThemeData, DecodeError> decodeTheme(const QByteArray& bytes, const ThemeData& defaults)
{
    // a theme is a flat object: every key is read as a plain value, anything else is skipped
    static const boundedjson::Shape shape = [] {
        std::vector<std::pair<std::string, boundedjson::Shape>> keys;
#define LINDENFOLD_KEYS(Type, name, setter) addKeys(keys, #name, static_cast<const Type*>(nullptr));
        LINDENFOLD_THEME_FIELDS(LINDENFOLD_KEYS)
        LINDENFOLD_THEME_OPTIONAL_FIELDS(LINDENFOLD_KEYS)
#undef LINDENFOLD_KEYS
        return boundedjson::Shape::object(std::move(keys));
    }();
    json j;
    std::string error;
    if (!boundedjson::parse(bytes, shape, &j, &error))
        return DecodeError{
            QStringLiteral("The data isn't valid JSON: %1").arg(QString::fromStdString(error))};
    try {
        const strictjson::Object o = strictjson::Object::root(j);
        ThemeData d = defaults;
#define LINDENFOLD_REQUIRED(Type, name, setter) decode(o, #name, true, d.name);
        LINDENFOLD_THEME_FIELDS(LINDENFOLD_REQUIRED)
#undef LINDENFOLD_REQUIRED
#define LINDENFOLD_OPTIONAL(Type, name, setter) decode(o, #name, false, d.name);
        LINDENFOLD_THEME_OPTIONAL_FIELDS(LINDENFOLD_OPTIONAL)
#undef LINDENFOLD_OPTIONAL
        return d;
    } catch (const strictjson::Error& e) {
        return DecodeError{e.plain()};
    }
}

QStringList builtInThemeNames()
{
    static const QStringList names = [] {
        QStringList list;
        const QStringList colours = {"graphite",  "blueberry",  "lime",      "yuzu",
                                     "tangerine", "strawberry", "blackberry"};
        for (const char* family : {"nano", "neo", "mini"})
            for (const QString& colour : colours)
                list << QLatin1String(family) + QLatin1Char('-') + colour;
        list << QStringLiteral("max-graphite");
        return list;
    }();
    return names;
}

bool isBuiltInTheme(const QString& name)
{
    return builtInThemeNames().contains(name);
}

QString familyOf(const QString& name)
{
    const qsizetype dash = name.indexOf(QLatin1Char('-'));
    return dash > 0 ? name.left(dash) : QString();
}

namespace {

bool same(double a, double b)
{
    return a == b || (std::isnan(a) && std::isnan(b));
}

bool same(const QPointF& a, const QPointF& b)
{
    return same(a.x(), b.x()) && same(a.y(), b.y());
}

template <typename T> bool same(const T& a, const T& b)
{
    return a == b;
}

} // namespace

bool sameGeometry(const ThemeData& a, const ThemeData& b)
{
#define LINDENFOLD_SAME(Type, name, setter) &&same(a.name, b.name)
    return true LINDENFOLD_THEME_FIELDS(LINDENFOLD_SAME)
        LINDENFOLD_THEME_OPTIONAL_FIELDS(LINDENFOLD_SAME);
#undef LINDENFOLD_SAME
}

ThemeData familyGeometry(const QString& family)
{
    ThemeData d; // the mini geometry, with the text sizes of the mini theme files
    d.trackTextSize = 10;
    d.artistTextSize = 10;
    if (family == QLatin1String("nano")) {
        d = ThemeData{.playerWidth = 138,
                      .playerHeight = 64,
                      .playerMinWidth = 138,
                      .playerMinHeight = 64,
                      .trackTextSize = 0,
                      .artistTextSize = 0,
                      .textReversed = false,
                      .closePos = {9.5, 11},
                      .closeWidth = 17,
                      .closeHeight = 14,
                      .playPos = {79, 32},
                      .playWidth = 34,
                      .playHeight = 52,
                      .ffPos = {113, 32},
                      .ffWidth = 34,
                      .ffHeight = 52,
                      .minPos = {0, 0},
                      .minWidth = 0,
                      .minHeight = 0,
                      .rrPos = {42, 33},
                      .rrWidth = 34,
                      .rrHeight = 52,
                      .trackMenuPos = {0, 0},
                      .trackMenuWidth = 0,
                      .trackMenuHeight = 0,
                      .playlistMenuPos = {0, 0},
                      .playlistMenuWidth = 0,
                      .playlistMenuHeight = 0,
                      .scrubberMinPos = {21, 62},
                      .scrubberMaxPos = {132, 62},
                      .scrubberWidth = 14,
                      .scrubberHeight = 14,
                      .trackNamePos = {0, 0},
                      .trackArtistPos = {0, 0},
                      .trackTextWidth = 0,
                      .trackArtPos = {0, 0},
                      .trackArtWidth = 0,
                      .trackArtHeight = 0};
    } else if (family == QLatin1String("neo")) {
        d = ThemeData{.playerWidth = 130,
                      .playerHeight = 130,
                      .playerMinWidth = 130,
                      .playerMinHeight = 130,
                      .trackTextSize = 0,
                      .artistTextSize = 0,
                      .textReversed = true,
                      .closePos = {26, 27.5},
                      .closeWidth = 17,
                      .closeHeight = 14,
                      .playPos = {65, 65},
                      .playWidth = 34,
                      .playHeight = 52,
                      .ffPos = {99, 65},
                      .ffWidth = 34,
                      .ffHeight = 52,
                      .minPos = {0, 0},
                      .minWidth = 0,
                      .minHeight = 0,
                      .rrPos = {31, 65},
                      .rrWidth = 34,
                      .rrHeight = 52,
                      .trackMenuPos = {73.5, 111.5},
                      .trackMenuWidth = 17,
                      .trackMenuHeight = 14,
                      .playlistMenuPos = {56.5, 111.5},
                      .playlistMenuWidth = 17,
                      .playlistMenuHeight = 14,
                      .scrubberMinPos = {17, 93},
                      .scrubberMaxPos = {113, 93},
                      .scrubberWidth = 14,
                      .scrubberHeight = 14,
                      .trackNamePos = {0, 0},
                      .trackArtistPos = {0, 0},
                      .trackTextWidth = 0,
                      .trackArtPos = {0, 0},
                      .trackArtWidth = 0,
                      .trackArtHeight = 0};
    } else if (family == QLatin1String("max")) {
        d = ThemeData{.playerWidth = 156,
                      .playerHeight = 260,
                      .playerMinWidth = 156,
                      .playerMinHeight = 19,
                      .trackTextSize = 9,
                      .artistTextSize = 9,
                      .textReversed = true,
                      .closePos = {8.5, 10},
                      .closeWidth = 17,
                      .closeHeight = 14,
                      .playPos = {78, 230},
                      .playWidth = 34,
                      .playHeight = 52,
                      .ffPos = {112, 230},
                      .ffWidth = 34,
                      .ffHeight = 52,
                      .minPos = {26.5, 10},
                      .minWidth = 17,
                      .minHeight = 14,
                      .rrPos = {44, 230},
                      .rrWidth = 34,
                      .rrHeight = 52,
                      .trackMenuPos = {144.5, 11},
                      .trackMenuWidth = 17,
                      .trackMenuHeight = 14,
                      .playlistMenuPos = {127.5, 11},
                      .playlistMenuWidth = 17,
                      .playlistMenuHeight = 14,
                      .scrubberMinPos = {2, 175},
                      .scrubberMaxPos = {154, 175},
                      .scrubberWidth = 14,
                      .scrubberHeight = 14,
                      .trackNamePos = {78, 186},
                      .trackArtistPos = {78, 196},
                      .trackTextWidth = 150,
                      .trackArtPos = {78, 97},
                      .trackArtWidth = 153,
                      .trackArtHeight = 153};
    }
    return d;
}

QStringList skinElements()
{
    static const QStringList elements = {
        "close", "ff",          "ff-on",      "min",           "pause",         "pause-on",
        "play",  "play-on",     "player",     "player-min",    "playlist-menu", "rr",
        "rr-on", "track-album", "track-menu", "track-scrubber"};
    return elements;
}

bool isSafeThemeName(const QString& name)
{
    return !name.isEmpty() && name != QLatin1String(".") && name != QLatin1String("..") &&
           !name.contains(QLatin1Char('/')) && !name.contains(QLatin1Char('\\')) &&
           !name.contains(QChar(0));
}

} // namespace theme
