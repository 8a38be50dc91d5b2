#include "theme/themedata.h"
#include "ui/player/skinlayout.h"

#include <QFontMetricsF>
#include <QtTest>

#include <limits>

using Element = SkinLayout::Element;

// Geometry of the built-in "mini" theme (the defaults of Config), plain and enlarged.
class TestSkinLayout final : public QObject {
    Q_OBJECT

    ThemeData m_theme; // the built-in "mini" geometry
    bool m_big = false;

    SkinLayout layout() const { return SkinLayout(m_theme, SkinLayout::scaleFor(m_big)); }
    int hit(const QPointF& point, bool minimized = false) const
    {
        const auto element = layout().elementAt(point, {minimized, true, true}, 0);
        return element ? int(*element) : -1;
    }

private slots:
    void init() { m_theme = ThemeData{}, m_big = false; }

    // Each element's rectangle (centre and size scaled together), and a click on its centre
    // lands on it.
    void rects()
    {
        const struct { bool big; Element e; QPointF c; double w, h; } cases[] = {
            {false, Element::Close, {9.5, 11}, 17, 14},           {true, Element::Close, {14.25, 16.5}, 25.5, 21},
            {false, Element::PlayPause, {192, 34}, 34, 52},       {true, Element::PlayPause, {288, 51}, 51, 78},
            {false, Element::Rewind, {158, 34}, 34, 52},          {true, Element::TrackMenu, {14.25, 130.5}, 25.5, 21},
            {true, Element::AlbumArt, {100.5, 72}, 138, 138},     {false, Element::Scrubber, {117.5, 65.5}, 14, 14}};
        for (const auto& c : cases) {
            m_big = c.big;
            QCOMPARE(layout().rect(c.e), QRectF(c.c.x() - c.w / 2, c.c.y() - c.h / 2, c.w, c.h));
            QCOMPARE(hit(c.c), int(c.e)); // the knob lies above the background
        }
    }

    void hits()
    {
        QCOMPARE(hit({260, 90}), -1);              // the background
        QCOMPARE(hit({300, 34}), -1);              // outside the skin
        QCOMPARE(hit({9.5, 87}, true), int(Element::TrackMenu)); // minimised keeps the menus
        QCOMPARE(hit({192, 34}, true), -1);        // and cuts off play
        m_theme.playWidth = 0;                     // a zero-sized button takes no clicks
        QCOMPARE(hit({192, 34}), -1);
    }

    void skinSize()
    {
        const struct { bool big, minimized; QSizeF size; } cases[] = {
            {false, false, {269, 96}}, {true, false, {403.5, 144}}, {false, true, {20, 96}}, {true, true, {30, 144}}};
        for (const auto& c : cases) {
            m_big = c.big;
            QCOMPARE(layout().skinSize(c.minimized), c.size);
        }
    }

    // Name and artist: the font scales, the box keeps the theme's width; what does not fit
    // ends in an ellipsis and a line break stays on one line.
    void texts()
    {
        for (const bool big : {false, true}) {
            m_big = big;
            const SkinLayout layout = this->layout();
            for (const Element e : {Element::TrackName, Element::Artist}) {
                const QFont font = layout.textFont(e);
                QCOMPARE(font.pointSizeF(), big ? 13.5 : 9.0);
                QCOMPARE(font.bold(), e == Element::TrackName);
                const QRectF box = layout.textRect(e);
                QCOMPARE(box.size(), QSizeF(152, QFontMetricsF(font).height()));
                QCOMPARE(box.center(), QPointF(192, e == Element::TrackName ? 75 : 89) * layout.scale());
                for (const QString& text : {QStringLiteral("Song"), QString(80, 'W'), QStringLiteral("two\nlines")}) {
                    const QString shown = SkinLayout::elided(text, font, box.width());
                    QVERIFY(!shown.contains('\n'));
                    QVERIFY(QFontMetricsF(font).horizontalAdvance(shown) <= box.width());
                    QCOMPARE(shown.endsWith(QChar(0x2026)), text.startsWith('W'));
                }
            }
        }
    }

    // A theme leaves an element out by a size of 0 or less; close is always there, the texts
    // need tracks and the knob needs playback.
    void presence()
    {
        using Edit = void (*)(ThemeData&);
        const Edit none = [](ThemeData&) {}, noName = [](ThemeData& t) { t.trackTextSize = 0; };
        const struct { const char* name; Edit edit; bool hasTracks, playing; Element e; bool present; } cases[] = {
            {"minimise", none, true, false, Element::Minimize, true},
            {"minimise, width 0", [](ThemeData& t) { t.minWidth = 0; }, true, false, Element::Minimize, false},
            {"track menu, width 0", [](ThemeData& t) { t.trackMenuWidth = 0; }, true, false, Element::TrackMenu, false},
            {"playlist menu, negative", [](ThemeData& t) { t.playlistMenuWidth = -3; }, true, false, Element::PlaylistMenu, false},
            {"album art, width 0", [](ThemeData& t) { t.trackArtWidth = 0; }, true, false, Element::AlbumArt, false},
            {"close, width 0", [](ThemeData& t) { t.closeWidth = 0; }, true, false, Element::Close, true},
            {"name size 0", noName, true, false, Element::TrackName, false},
            {"artist beside name 0", noName, true, false, Element::Artist, true},
            {"name without tracks", none, false, false, Element::TrackName, false},
            {"knob, not playing", none, true, false, Element::Scrubber, false},
            {"knob, playing", none, true, true, Element::Scrubber, true}};
        for (const auto& c : cases) {
            m_theme = ThemeData{};
            c.edit(m_theme);
            QVERIFY2(layout().isPresent(c.e, {false, c.playing, c.hasTracks}) == c.present, c.name);
        }
    }

    // Knob position and progress are each other's inverse; a drag beyond the travel stays at
    // its ends, and a travel of length 0 keeps the knob at its start.
    void scrubber()
    {
        const struct { bool big; double progress, x; } cases[] = {
            {false, 0, 117.5}, {false, 0.5, 192}, {false, 1, 266.5}, {true, 0.5, 288}};
        for (const auto& c : cases) {
            m_big = c.big;
            const SkinLayout layout = this->layout();
            QCOMPARE(layout.knobX(c.progress), c.x);
            QCOMPARE(layout.knobRect(c.x).center().y(), 65.5 * layout.scale());
            QCOMPARE(layout.fractionAt(c.x), c.progress);
            QCOMPARE(layout.clampToTravel(c.x - 200), layout.scrubberMinX());
            QCOMPARE(layout.fractionAt(c.x + 400), 1.0);
        }
        m_theme.scrubberMaxPos = m_theme.scrubberMinPos;
        QCOMPARE(layout().fractionAt(200), 0.0);
        QCOMPARE(layout().knobX(0.7), m_theme.scrubberMinPos.x() * layout().scale());
    }

    // A hand-edited theme with NaN, infinite or huge numbers still gives a window one can
    // see and grab, bounded rectangles and a bounded font.
    void absurdThemeValuesAreBounded()
    {
        m_big = true;
        const double limit = SkinLayout::kMaxPoints * 1.5, least = SkinLayout::kMinWindowPoints * 1.5;
        for (const double value : {std::numeric_limits<double>::quiet_NaN(), std::numeric_limits<double>::infinity(), 1e12, -1e12}) {
            m_theme.playerWidth = m_theme.playerHeight = m_theme.playWidth = m_theme.trackTextWidth = value;
            m_theme.playPos = QPointF(value, value);
            m_theme.trackTextSize = qint64(1e12);
            const SkinLayout layout = this->layout();
            const QSizeF size = layout.skinSize(false);
            QVERIFY(size.width() >= least && size.width() <= limit);
            QVERIFY(size.height() >= least && size.height() <= limit);
            const QRectF play = layout.rect(Element::PlayPause);
            QVERIFY(std::isfinite(play.x()) && std::isfinite(play.width()));
            QVERIFY(play.width() <= limit && std::abs(play.x()) <= 2 * limit);
            QVERIFY(layout.textFont(Element::TrackName).pointSizeF() <= SkinLayout::kMaxFontPoints * 1.5);
            QVERIFY(layout.textRect(Element::TrackName).width() <= SkinLayout::kMaxPoints);
        }
    }
};

QTEST_MAIN(TestSkinLayout)
#include "tst_skinlayout.moc"
