#pragma once

#include <QByteArray>
#include <QPointF>
#include <QString>
#include <QStringList>

#include <variant>

// Every geometry field once, in the order of the record: type, name, Config's setter.
#define LINDENFOLD_THEME_FIELDS(X)                                                                 \
    X(double, playerWidth, setPlayerWidth)                                                         \
    X(double, playerHeight, setPlayerHeight)                                                       \
    X(double, playerMinWidth, setPlayerMinWidth)                                                   \
    X(double, playerMinHeight, setPlayerMinHeight)                                                 \
    X(qint64, trackTextSize, setTrackTextSize)                                                     \
    X(qint64, artistTextSize, setArtistTextSize)                                                   \
    X(bool, textReversed, setTextReversed)                                                         \
    X(QPointF, closePos, setClosePos)                                                              \
    X(double, closeWidth, setCloseWidth)                                                           \
    X(double, closeHeight, setCloseHeight)                                                         \
    X(QPointF, playPos, setPlayPos)                                                                \
    X(double, playWidth, setPlayWidth)                                                             \
    X(double, playHeight, setPlayHeight)                                                           \
    X(QPointF, ffPos, setFfPos)                                                                    \
    X(double, ffWidth, setFfWidth)                                                                 \
    X(double, ffHeight, setFfHeight)                                                               \
    X(QPointF, minPos, setMinPos)                                                                  \
    X(double, minWidth, setMinWidth)                                                               \
    X(double, minHeight, setMinHeight)                                                             \
    X(QPointF, rrPos, setRrPos)                                                                    \
    X(double, rrWidth, setRrWidth)                                                                 \
    X(double, rrHeight, setRrHeight)                                                               \
    X(QPointF, trackMenuPos, setTrackMenuPos)                                                      \
    X(double, trackMenuWidth, setTrackMenuWidth)                                                   \
    X(double, trackMenuHeight, setTrackMenuHeight)                                                 \
    X(QPointF, playlistMenuPos, setPlaylistMenuPos)                                                \
    X(double, playlistMenuWidth, setPlaylistMenuWidth)                                             \
    X(double, playlistMenuHeight, setPlaylistMenuHeight)                                           \
    X(QPointF, scrubberMinPos, setScrubberMinPos)                                                  \
    X(QPointF, scrubberMaxPos, setScrubberMaxPos)                                                  \
    X(double, scrubberWidth, setScrubberWidth)                                                     \
    X(double, scrubberHeight, setScrubberHeight)                                                   \
    X(QPointF, trackNamePos, setTrackNamePos)                                                      \
    X(QPointF, trackArtistPos, setTrackArtistPos)                                                  \
    X(double, trackTextWidth, setTrackTextWidth)                                                   \
    X(QPointF, trackArtPos, setTrackArtPos)                                                        \
    X(double, trackArtWidth, setTrackArtWidth)                                                     \
    X(double, trackArtHeight, setTrackArtHeight)

// Theme keys added after the record's 50, in the same form. A theme.json without one of them
// still loads: the field keeps the value of the theme's family (familyGeometry), which its
// member initialiser below and familyGeometry give.
#define LINDENFOLD_THEME_OPTIONAL_FIELDS(X)

// Both of the above.
#define LINDENFOLD_THEME_ALL_FIELDS(X)                                                             \
    LINDENFOLD_THEME_FIELDS(X) LINDENFOLD_THEME_OPTIONAL_FIELDS(X)

// The geometry record of "theme.json": 50 keys, each position stored as X and Y.
// Values are kept exactly as read (NaN, infinities and huge sizes included); whoever
// turns them into pixels bounds them.
struct ThemeData {
    // The smallest player window, in points, whatever a theme says.
    static constexpr double kMinWindowPoints = 16;

    double playerWidth = 269;
    double playerHeight = 96;
    double playerMinWidth = 20;
    double playerMinHeight = 96;
    qint64 trackTextSize = 9;
    qint64 artistTextSize = 9;
    bool textReversed = true;
    QPointF closePos{9.5, 11};
    double closeWidth = 17;
    double closeHeight = 14;
    QPointF playPos{192, 34};
    double playWidth = 34;
    double playHeight = 52;
    QPointF ffPos{226, 34};
    double ffWidth = 34;
    double ffHeight = 52;
    QPointF minPos{9.5, 25};
    double minWidth = 17;
    double minHeight = 14;
    QPointF rrPos{158, 34};
    double rrWidth = 34;
    double rrHeight = 52;
    QPointF trackMenuPos{9.5, 87};
    double trackMenuWidth = 17;
    double trackMenuHeight = 14;
    QPointF playlistMenuPos{9.5, 71};
    double playlistMenuWidth = 17;
    double playlistMenuHeight = 14;
    QPointF scrubberMinPos{117.5, 65.5};
    QPointF scrubberMaxPos{266.5, 65.5};
    double scrubberWidth = 14;
    double scrubberHeight = 14;
    QPointF trackNamePos{192, 75};
    QPointF trackArtistPos{192, 89};
    double trackTextWidth = 152;
    QPointF trackArtPos{67, 48};
    double trackArtWidth = 92;
    double trackArtHeight = 92;
};

namespace theme {

struct DecodeError {
    QString message;
};

QByteArray encodeTheme(const ThemeData& data);
// Keys beyond the record's 50 that the file lacks keep their value in defaults.
std::variant<ThemeData, DecodeError> decodeTheme(const QByteArray& bytes,
                                                 const ThemeData& defaults = ThemeData());

// Field by field equality in which NaN equals NaN, so a hostile theme read twice is the same.
bool sameGeometry(const ThemeData& a, const ThemeData& b);

// The 22 built-in theme names in catalogue order.
QStringList builtInThemeNames();
bool isBuiltInTheme(const QString& name);
// Family of a theme name ("nano", "neo", "mini", "max"), empty when there is none.
QString familyOf(const QString& name);
// The geometry every theme of a built-in family carries.
ThemeData familyGeometry(const QString& family);

// The 16 skin elements, in installation order.
QStringList skinElements();

// A name usable as a directory under Themes: not empty, no path separators, not "." or "..".
bool isSafeThemeName(const QString& name);

} // namespace theme
