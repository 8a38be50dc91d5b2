#include "theme/themedata.h"

#include "core/boundedjson.h"

#include <cmath>
#include <limits>

using json = boundedjson::json;

namespace theme {

namespace {

// One entry per position or length of the file, in file order; text sizes and the
// colour flag are handled apart because they are not doubles.
struct NumberKey {
    const char* key;
    double ThemeData::*field = nullptr;
    QPointF ThemeData::*point = nullptr;
    bool x = true;
};

const std::vector<NumberKey>& leadingNumbers()
{
    static const std::vector<NumberKey> keys = {
        {"playerWidth", &ThemeData::playerWidth},
        {"playerHeight", &ThemeData::playerHeight},
        {"playerMinWidth", &ThemeData::playerMinWidth},
        {"playerMinHeight", &ThemeData::playerMinHeight},
    };
    return keys;
}

const std::vector<NumberKey>& trailingNumbers()
{
    static const std::vector<NumberKey> keys = {
        {"closePosX", nullptr, &ThemeData::closePos, true},
        {"closePosY", nullptr, &ThemeData::closePos, false},
        {"closeWidth", &ThemeData::closeWidth},
        {"closeHeight", &ThemeData::closeHeight},
        {"playPosX", nullptr, &ThemeData::playPos, true},
        {"playPosY", nullptr, &ThemeData::playPos, false},
        {"playWidth", &ThemeData::playWidth},
        {"playHeight", &ThemeData::playHeight},
        {"ffPosX", nullptr, &ThemeData::ffPos, true},
        {"ffPosY", nullptr, &ThemeData::ffPos, false},
        {"ffWidth", &ThemeData::ffWidth},
        {"ffHeight", &ThemeData::ffHeight},
        {"minPosX", nullptr, &ThemeData::minPos, true},
        {"minPosY", nullptr, &ThemeData::minPos, false},
        {"minWidth", &ThemeData::minWidth},
        {"minHeight", &ThemeData::minHeight},
        {"rrPosX", nullptr, &ThemeData::rrPos, true},
        {"rrPosY", nullptr, &ThemeData::rrPos, false},
        {"rrWidth", &ThemeData::rrWidth},
        {"rrHeight", &ThemeData::rrHeight},
        {"trackMenuPosX", nullptr, &ThemeData::trackMenuPos, true},
        {"trackMenuPosY", nullptr, &ThemeData::trackMenuPos, false},
        {"trackMenuWidth", &ThemeData::trackMenuWidth},
        {"trackMenuHeight", &ThemeData::trackMenuHeight},
        {"playlistMenuPosX", nullptr, &ThemeData::playlistMenuPos, true},
        {"playlistMenuPosY", nullptr, &ThemeData::playlistMenuPos, false},
        {"playlistMenuWidth", &ThemeData::playlistMenuWidth},
        {"playlistMenuHeight", &ThemeData::playlistMenuHeight},
        {"scrubberMinPosX", nullptr, &ThemeData::scrubberMinPos, true},
        {"scrubberMinPosY", nullptr, &ThemeData::scrubberMinPos, false},
        {"scrubberMaxPosX", nullptr, &ThemeData::scrubberMaxPos, true},
        {"scrubberMaxPosY", nullptr, &ThemeData::scrubberMaxPos, false},
        {"scrubberWidth", &ThemeData::scrubberWidth},
        {"scrubberHeight", &ThemeData::scrubberHeight},
        {"trackNamePosX", nullptr, &ThemeData::trackNamePos, true},
        {"trackNamePosY", nullptr, &ThemeData::trackNamePos, false},
        {"trackArtistPosX", nullptr, &ThemeData::trackArtistPos, true},
        {"trackArtistPosY", nullptr, &ThemeData::trackArtistPos, false},
        {"trackTextWidth", &ThemeData::trackTextWidth},
        {"trackArtPosX", nullptr, &ThemeData::trackArtPos, true},
        {"trackArtPosY", nullptr, &ThemeData::trackArtPos, false},
        {"trackArtWidth", &ThemeData::trackArtWidth},
        {"trackArtHeight", &ThemeData::trackArtHeight},
    };
    return keys;
}

double get(const ThemeData& d, const NumberKey& k)
{
    if (k.field)
        return d.*(k.field);
    return k.x ? (d.*(k.point)).x() : (d.*(k.point)).y();
}

void set(ThemeData& d, const NumberKey& k, double v)
{
    if (k.field)
        d.*(k.field) = v;
    else if (k.x)
        (d.*(k.point)).setX(v);
    else
        (d.*(k.point)).setY(v);
}

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

struct Failure {
    QString message;
};

const json& require(const json& object, const char* key)
{
    const auto it = object.find(key);
    if (it == object.end())
        throw Failure{QStringLiteral("No value associated with key \"%1\".").arg(QLatin1String(key))};
    if (it->is_null())
        throw Failure{QStringLiteral("Expected a value for key \"%1\" but found null instead.")
                          .arg(QLatin1String(key))};
    return *it;
}

Failure typeMismatch(const char* key, const char* expected)
{
    return Failure{QStringLiteral("Expected %1 for key \"%2\" but found another type instead.")
                       .arg(QLatin1String(expected), QLatin1String(key))};
}

double readNumber(const json& object, const char* key)
{
    const json& v = require(object, key);
    if (!v.is_number())
        throw typeMismatch(key, "a number");
    return v.get<double>();
}

qint64 readInteger(const json& object, const char* key)
{
    const json& v = require(object, key);
    if (v.is_number_integer()) {
        if (v.is_number_unsigned() && v.get<quint64>() > quint64(std::numeric_limits<qint64>::max()))
            throw Failure{QStringLiteral("Number for key \"%1\" does not fit in a 64-bit integer.")
                              .arg(QLatin1String(key))};
        return v.get<qint64>();
    }
    if (v.is_number_float()) {
        const double d = v.get<double>();
        if (d == std::floor(d) && d >= -9.2e18 && d <= 9.2e18)
            return static_cast<qint64>(d);
        throw Failure{QStringLiteral("Number for key \"%1\" is not an integer.").arg(QLatin1String(key))};
    }
    throw typeMismatch(key, "an integer");
}

bool readBool(const json& object, const char* key)
{
    const json& v = require(object, key);
    if (!v.is_boolean())
        throw typeMismatch(key, "a boolean");
    return v.get<bool>();
}

} // namespace

QByteArray encodeTheme(const ThemeData& d)
{
    json j = json::object();
    for (const auto& k : leadingNumbers())
        j[k.key] = number(get(d, k));
    j["trackTextSize"] = d.trackTextSize;
    j["artistTextSize"] = d.artistTextSize;
    j["textReversed"] = d.textReversed;
    for (const auto& k : trailingNumbers())
        j[k.key] = number(get(d, k));
    return QByteArray::fromStdString(j.dump(2));
}

std::variant<ThemeData, DecodeError> decodeTheme(const QByteArray& bytes)
{
    // a theme is a flat object: every key is read as a plain value, anything else is skipped
    static const boundedjson::Shape shape = [] {
        std::vector<std::pair<std::string, boundedjson::Shape>> fields;
        for (const auto& k : leadingNumbers())
            fields.emplace_back(k.key, boundedjson::Shape::scalar());
        for (const char* key : {"trackTextSize", "artistTextSize", "textReversed"})
            fields.emplace_back(key, boundedjson::Shape::scalar());
        for (const auto& k : trailingNumbers())
            fields.emplace_back(k.key, boundedjson::Shape::scalar());
        return boundedjson::Shape::object(std::move(fields));
    }();
    json j;
    std::string error;
    if (!boundedjson::parse(bytes, shape, &j, &error))
        return DecodeError{QStringLiteral("The data isn't valid JSON: %1").arg(QString::fromStdString(error))};
    if (!j.is_object())
        return DecodeError{QStringLiteral("Expected a JSON object at the top level.")};
    try {
        ThemeData d;
        for (const auto& k : leadingNumbers())
            set(d, k, readNumber(j, k.key));
        d.trackTextSize = readInteger(j, "trackTextSize");
        d.artistTextSize = readInteger(j, "artistTextSize");
        d.textReversed = readBool(j, "textReversed");
        for (const auto& k : trailingNumbers())
            set(d, k, readNumber(j, k.key));
        return d;
    } catch (const Failure& f) {
        return DecodeError{f.message};
    }
}

QStringList builtInThemeNames()
{
    static const QStringList names = [] {
        QStringList list;
        const QStringList colours = {"graphite", "blueberry",  "lime",      "yuzu",
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

template <typename T>
bool same(const T& a, const T& b)
{
    return a == b;
}

} // namespace

bool sameGeometry(const ThemeData& a, const ThemeData& b)
{
#define LINDENFOLD_SAME(Type, name, setter) &&same(a.name, b.name)
    return true LINDENFOLD_THEME_FIELDS(LINDENFOLD_SAME);
#undef LINDENFOLD_SAME
}

ThemeData familyGeometry(const QString& family)
{
    ThemeData d; // the mini geometry, with the text sizes of the mini theme files
    d.trackTextSize = 10;
    d.artistTextSize = 10;
    if (family == QLatin1String("nano")) {
        d = ThemeData{
            .playerWidth = 138, .playerHeight = 64, .playerMinWidth = 138, .playerMinHeight = 64,
            .trackTextSize = 0, .artistTextSize = 0, .textReversed = false, .closePos = {9.5, 11},
            .closeWidth = 17, .closeHeight = 14, .playPos = {79, 32}, .playWidth = 34,
            .playHeight = 52, .ffPos = {113, 32}, .ffWidth = 34, .ffHeight = 52, .minPos = {0, 0},
            .minWidth = 0, .minHeight = 0, .rrPos = {42, 33}, .rrWidth = 34, .rrHeight = 52,
            .trackMenuPos = {0, 0}, .trackMenuWidth = 0, .trackMenuHeight = 0,
            .playlistMenuPos = {0, 0}, .playlistMenuWidth = 0, .playlistMenuHeight = 0,
            .scrubberMinPos = {21, 62}, .scrubberMaxPos = {132, 62}, .scrubberWidth = 14,
            .scrubberHeight = 14, .trackNamePos = {0, 0}, .trackArtistPos = {0, 0},
            .trackTextWidth = 0, .trackArtPos = {0, 0}, .trackArtWidth = 0, .trackArtHeight = 0
        };
    } else if (family == QLatin1String("neo")) {
        d = ThemeData{
            .playerWidth = 130, .playerHeight = 130, .playerMinWidth = 130, .playerMinHeight = 130,
            .trackTextSize = 0, .artistTextSize = 0, .textReversed = true, .closePos = {26, 27.5},
            .closeWidth = 17, .closeHeight = 14, .playPos = {65, 65}, .playWidth = 34,
            .playHeight = 52, .ffPos = {99, 65}, .ffWidth = 34, .ffHeight = 52, .minPos = {0, 0},
            .minWidth = 0, .minHeight = 0, .rrPos = {31, 65}, .rrWidth = 34, .rrHeight = 52,
            .trackMenuPos = {73.5, 111.5}, .trackMenuWidth = 17, .trackMenuHeight = 14,
            .playlistMenuPos = {56.5, 111.5}, .playlistMenuWidth = 17, .playlistMenuHeight = 14,
            .scrubberMinPos = {17, 93}, .scrubberMaxPos = {113, 93}, .scrubberWidth = 14,
            .scrubberHeight = 14, .trackNamePos = {0, 0}, .trackArtistPos = {0, 0},
            .trackTextWidth = 0, .trackArtPos = {0, 0}, .trackArtWidth = 0, .trackArtHeight = 0
        };
    } else if (family == QLatin1String("max")) {
        d = ThemeData{
            .playerWidth = 156, .playerHeight = 260, .playerMinWidth = 156, .playerMinHeight = 19,
            .trackTextSize = 9, .artistTextSize = 9, .textReversed = true, .closePos = {8.5, 10},
            .closeWidth = 17, .closeHeight = 14, .playPos = {78, 230}, .playWidth = 34,
            .playHeight = 52, .ffPos = {112, 230}, .ffWidth = 34, .ffHeight = 52,
            .minPos = {26.5, 10}, .minWidth = 17, .minHeight = 14, .rrPos = {44, 230},
            .rrWidth = 34, .rrHeight = 52, .trackMenuPos = {144.5, 11}, .trackMenuWidth = 17,
            .trackMenuHeight = 14, .playlistMenuPos = {127.5, 11}, .playlistMenuWidth = 17,
            .playlistMenuHeight = 14, .scrubberMinPos = {2, 175}, .scrubberMaxPos = {154, 175},
            .scrubberWidth = 14, .scrubberHeight = 14, .trackNamePos = {78, 186},
            .trackArtistPos = {78, 196}, .trackTextWidth = 150, .trackArtPos = {78, 97},
            .trackArtWidth = 153, .trackArtHeight = 153
        };
    }
    return d;
}

QStringList skinElements()
{
    static const QStringList elements = {
        "close", "ff",         "ff-on",         "min", "pause", "pause-on",    "play",       "play-on",
        "player", "player-min", "playlist-menu", "rr",  "rr-on", "track-album", "track-menu", "track-scrubber"};
    return elements;
}

bool isSafeThemeName(const QString& name)
{
    return !name.isEmpty() && name != QLatin1String(".") && name != QLatin1String("..")
           && !name.contains(QLatin1Char('/')) && !name.contains(QLatin1Char('\\'))
           && !name.contains(QChar(0));
}

} // namespace theme
