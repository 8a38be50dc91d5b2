// Geometry table of the built-in families and the colour schemes.
#include "skinart.h"

#include <QHash>

namespace skingen {

namespace {

Geometry makeNano()
{
    Geometry g;
    g.family = "nano";
    g.playerWidth = 138; g.playerHeight = 64; g.playerMinWidth = 138; g.playerMinHeight = 64;
    g.trackTextSize = 0; g.artistTextSize = 0; g.textReversed = false;
    g.closePos = {9.5, 11}; g.closeSize = {17, 14};
    g.playPos = {79, 32}; g.playSize = {34, 52};
    g.ffPos = {113, 32}; g.ffSize = {34, 52};
    g.minPos = {0, 0}; g.minSize = {0, 0};
    g.rrPos = {42, 33}; g.rrSize = {34, 52};
    g.trackMenuPos = {0, 0}; g.trackMenuSize = {0, 0};
    g.playlistMenuPos = {0, 0}; g.playlistMenuSize = {0, 0};
    g.scrubberMinPos = {21, 62}; g.scrubberMaxPos = {132, 62}; g.scrubberSize = {14, 14};
    g.trackNamePos = {0, 0}; g.trackArtistPos = {0, 0}; g.trackTextWidth = 0;
    g.trackArtPos = {0, 0}; g.trackArtSize = {0, 0};
    return g;
}

Geometry makeNeo()
{
    Geometry g;
    g.family = "neo";
    g.playerWidth = 130; g.playerHeight = 130; g.playerMinWidth = 130; g.playerMinHeight = 130;
    g.trackTextSize = 0; g.artistTextSize = 0; g.textReversed = true;
    g.closePos = {26, 27.5}; g.closeSize = {17, 14};
    g.playPos = {65, 65}; g.playSize = {34, 52};
    g.ffPos = {99, 65}; g.ffSize = {34, 52};
    g.minPos = {0, 0}; g.minSize = {0, 0};
    g.rrPos = {31, 65}; g.rrSize = {34, 52};
    g.trackMenuPos = {73.5, 111.5}; g.trackMenuSize = {17, 14};
    g.playlistMenuPos = {56.5, 111.5}; g.playlistMenuSize = {17, 14};
    g.scrubberMinPos = {17, 93}; g.scrubberMaxPos = {113, 93}; g.scrubberSize = {14, 14};
    g.trackNamePos = {0, 0}; g.trackArtistPos = {0, 0}; g.trackTextWidth = 0;
    g.trackArtPos = {0, 0}; g.trackArtSize = {0, 0};
    return g;
}

Geometry makeMini()
{
    Geometry g;
    g.family = "mini";
    g.playerWidth = 269; g.playerHeight = 96; g.playerMinWidth = 20; g.playerMinHeight = 96;
    g.trackTextSize = 10; g.artistTextSize = 10; g.textReversed = true;
    g.closePos = {9.5, 11}; g.closeSize = {17, 14};
    g.playPos = {192, 34}; g.playSize = {34, 52};
    g.ffPos = {226, 34}; g.ffSize = {34, 52};
    g.minPos = {9.5, 25}; g.minSize = {17, 14};
    g.rrPos = {158, 34}; g.rrSize = {34, 52};
    g.trackMenuPos = {9.5, 87}; g.trackMenuSize = {17, 14};
    g.playlistMenuPos = {9.5, 71}; g.playlistMenuSize = {17, 14};
    g.scrubberMinPos = {117.5, 65.5}; g.scrubberMaxPos = {266.5, 65.5}; g.scrubberSize = {14, 14};
    g.trackNamePos = {192, 75}; g.trackArtistPos = {192, 89}; g.trackTextWidth = 152;
    g.trackArtPos = {67, 48}; g.trackArtSize = {92, 92};
    return g;
}

Geometry makeMax()
{
    Geometry g;
    g.family = "max";
    g.playerWidth = 156; g.playerHeight = 260; g.playerMinWidth = 156; g.playerMinHeight = 19;
    g.trackTextSize = 9; g.artistTextSize = 9; g.textReversed = true;
    g.closePos = {8.5, 10}; g.closeSize = {17, 14};
    g.playPos = {78, 230}; g.playSize = {34, 52};
    g.ffPos = {112, 230}; g.ffSize = {34, 52};
    g.minPos = {26.5, 10}; g.minSize = {17, 14};
    g.rrPos = {44, 230}; g.rrSize = {34, 52};
    g.trackMenuPos = {144.5, 11}; g.trackMenuSize = {17, 14};
    g.playlistMenuPos = {127.5, 11}; g.playlistMenuSize = {17, 14};
    g.scrubberMinPos = {2, 175}; g.scrubberMaxPos = {154, 175}; g.scrubberSize = {14, 14};
    g.trackNamePos = {78, 186}; g.trackArtistPos = {78, 196}; g.trackTextWidth = 150;
    g.trackArtPos = {78, 97}; g.trackArtSize = {153, 153};
    return g;
}

Scheme makeScheme(const char* name, const char* bodyHi, const char* bodyLo, const char* rail,
                  const char* rim, const char* capHi, const char* capLo, const char* glyph,
                  const char* glyphShadow, const char* glyphOn, const char* glow,
                  const char* screen, const char* accent, const char* artHi, const char* artLo)
{
    Scheme s;
    s.name = name;
    s.bodyHi = QColor(bodyHi); s.bodyLo = QColor(bodyLo);
    s.rail = QColor(rail); s.rim = QColor(rim);
    s.capHi = QColor(capHi); s.capLo = QColor(capLo);
    s.glyph = QColor(glyph); s.glyphShadow = QColor::fromString(QLatin1String(glyphShadow));
    s.glyphOn = QColor(glyphOn); s.glow = QColor(glow);
    s.screen = QColor(screen); s.accent = QColor(accent);
    s.artHi = QColor(artHi); s.artLo = QColor(artLo);
    return s;
}

} // namespace

const Geometry& geometryFor(const QString& family)
{
    static const Geometry nano = makeNano(), neo = makeNeo(), mini = makeMini(), max = makeMax();
    if (family == "nano") return nano;
    if (family == "neo") return neo;
    if (family == "max") return max;
    return mini;
}

const Scheme& schemeFor(const QString& colour)
{
    //                         body hi    body lo    rail       rim        cap hi     cap lo
    //                         glyph      glyph shadow  glyph on   glow       screen     accent
    //                         art hi     art lo
    static const QHash<QString, Scheme> schemes = {
        {"graphite", makeScheme("graphite", "#70757d", "#383b41", "#27292d", "#d5dae1",
                                "#80858e", "#4a4e55", "#e4e8ee", "#66000000", "#ffffff",
                                "#7cc4ff", "#0c0e11", "#c3ccd6", "#5b6069", "#202226")},
        {"blueberry", makeScheme("blueberry", "#4d8cf0", "#1f4596", "#163274", "#a9cdff",
                                 "#5b98f3", "#2c5cb8", "#f4f8ff", "#661a3570", "#ffffff",
                                 "#7ff0ff", "#07142b", "#86d4ff", "#4d8cf0", "#142c66")},
        {"lime", makeScheme("lime", "#a9e35d", "#55a226", "#3d8419", "#e6ffc0", "#b8ec6e",
                            "#6cb532", "#234a0b", "#55ffffff", "#ffffff", "#2fd400", "#0c1d06",
                            "#c9ff5e", "#a9e35d", "#2f6b12")},
        {"yuzu", makeScheme("yuzu", "#ffe35a", "#e9ac14", "#cf9208", "#fff6c4", "#ffe873",
                            "#f0b921", "#5a3c00", "#66ffffff", "#ffffff", "#ff8a00", "#231802",
                            "#ffd43b", "#ffe35a", "#c98200")},
        {"tangerine", makeScheme("tangerine", "#ffa24a", "#dc5a12", "#b7470b", "#ffd6ad",
                                 "#ffae5c", "#e8691c", "#fffaf4", "#66802a00", "#ffffff",
                                 "#ff5a00", "#261003", "#ffb45e", "#ffa24a", "#a8400a")},
        {"strawberry", makeScheme("strawberry", "#ff6b8c", "#bd1f43", "#981735", "#ffc4d2",
                                  "#ff7d99", "#d6335a", "#fff3f6", "#66700020", "#ffffff",
                                  "#ff1f63", "#26060e", "#ff8ea8", "#ff6b8c", "#7e0f2a")},
        {"blackberry", makeScheme("blackberry", "#4b2c66", "#190b24", "#10061a", "#a78bc4",
                                  "#4f3169", "#2a153b", "#dcc6f5", "#88000000", "#ffffff",
                                  "#c27bff", "#060209", "#b67dff", "#5a3380", "#12061c")},
    };
    auto it = schemes.constFind(colour);
    if (it == schemes.constEnd()) it = schemes.constFind("graphite");
    return *it;
}

const QStringList& families()
{
    static const QStringList f = {"nano", "neo", "mini", "max"};
    return f;
}

const QStringList& colours()
{
    static const QStringList c = {"graphite", "blueberry", "lime", "yuzu",
                                  "tangerine", "strawberry", "blackberry"};
    return c;
}

const QStringList& elements()
{
    static const QStringList e = {"close", "ff", "ff-on", "min", "pause", "pause-on",
                                  "play", "play-on", "player", "player-min", "playlist-menu",
                                  "rr", "rr-on", "track-album", "track-menu", "track-scrubber"};
    return e;
}

QStringList themeNames()
{
    QStringList names;
    for (const QString& family : {QString("nano"), QString("neo"), QString("mini")})
        for (const QString& colour : colours())
            names << family + "-" + colour;
    names << "max-graphite";
    return names;
}

QSize elementPixelSize(const Geometry& g, const QString& e)
{
    QSizeF s;
    if (e == "close") s = g.closeSize;
    else if (e == "min") s = g.minSize;
    else if (e.startsWith("ff")) s = g.ffSize;
    else if (e.startsWith("rr")) s = g.rrSize;
    else if (e.startsWith("play") && !e.startsWith("player") && !e.startsWith("playlist"))
        s = g.playSize;
    else if (e.startsWith("pause")) s = g.playSize;
    else if (e == "player") s = {g.playerWidth, g.playerHeight};
    else if (e == "player-min") s = {g.playerMinWidth, g.playerMinHeight};
    else if (e == "playlist-menu") s = g.playlistMenuSize;
    else if (e == "track-menu") s = g.trackMenuSize;
    else if (e == "track-album") s = g.trackArtSize;
    else if (e == "track-scrubber") s = g.scrubberSize;
    if (s.width() <= 0 || s.height() <= 0) {
        if (g.family == "mini") return {2, 2};
        return elementPixelSize(geometryFor("mini"), e);
    }
    return {qRound(s.width() * kScale), qRound(s.height() * kScale)};
}

} // namespace skingen
