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

ThemeData familyGeometry(const QString& family)
{
    ThemeData d; // the mini geometry, with the text sizes of the mini theme files
    d.trackTextSize = 10;
    d.artistTextSize = 10;
    if (family == QLatin1String("nano")) {
        d = ThemeData{138, 64,  138, 64, 0, 0, false, {9.5, 11}, 17, 14, {79, 32}, 34, 52,
                      {113, 32}, 34, 52, {0, 0}, 0, 0, {42, 33}, 34, 52, {0, 0}, 0, 0,
                      {0, 0}, 0, 0, {21, 62}, {132, 62}, 14, 14, {0, 0}, {0, 0}, 0,
                      {0, 0}, 0, 0};
    } else if (family == QLatin1String("neo")) {
        d = ThemeData{130, 130, 130, 130, 0, 0, true, {26, 27.5}, 17, 14, {65, 65}, 34, 52,
                      {99, 65}, 34, 52, {0, 0}, 0, 0, {31, 65}, 34, 52, {73.5, 111.5}, 17, 14,
                      {56.5, 111.5}, 17, 14, {17, 93}, {113, 93}, 14, 14, {0, 0}, {0, 0}, 0,
                      {0, 0}, 0, 0};
    } else if (family == QLatin1String("max")) {
        d = ThemeData{156, 260, 156, 19, 9, 9, true, {8.5, 10}, 17, 14, {78, 230}, 34, 52,
                      {112, 230}, 34, 52, {26.5, 10}, 17, 14, {44, 230}, 34, 52,
                      {144.5, 11}, 17, 14, {127.5, 11}, 17, 14, {2, 175}, {154, 175}, 14, 14,
                      {78, 186}, {78, 196}, 150, {78, 97}, 153, 153};
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
