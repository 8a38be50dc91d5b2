#include "ui/player/skinlayout.h"

#include <QFontMetricsF>
#include <QtTest>

using Element = SkinLayout::Element;
using enum SkinLayout::Element;

// Geometry of the built-in "mini" theme (the defaults of Config), plain and enlarged. The
// window's size is checked where the window takes it, in tst_contentview.
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
    QList<Element> absent(bool playing, bool hasTracks) const
    {
        QList<Element> result;
        for (int e = 0; e < SkinLayout::kElementCount; ++e)
            if (!layout().isPresent(Element(e), {false, playing, hasTracks}))
                result << Element(e);
        return result;
    }

private slots:
    void init() { m_theme = ThemeData{}, m_big = false; }

    // Each element's rectangle (centre and size scaled together), and a click on its centre
    // lands on it; what is there at all.
    void rectsHitsAndPresence()
    {
        const struct {
            bool big;
            Element e;
            double x, y, w, h;
        } cases[] = {
            {false, Close, 9.5, 11, 17, 14},       {true, Close, 14.25, 16.5, 25.5, 21},
            {false, PlayPause, 192, 34, 34, 52},   {true, PlayPause, 288, 51, 51, 78},
            {false, Rewind, 158, 34, 34, 52},      {true, TrackMenu, 14.25, 130.5, 25.5, 21},
            {true, AlbumArt, 100.5, 72, 138, 138}, {false, Scrubber, 117.5, 65.5, 14, 14}};
        for (const auto& c : cases) {
            m_big = c.big;
            QCOMPARE(layout().rect(c.e), QRectF(c.x - c.w / 2, c.y - c.h / 2, c.w, c.h));
            QCOMPARE(hit({c.x, c.y}), int(c.e)); // the knob lies above the background
        }
        // at the plain scale of the last row: background and outside take none; minimised
        // keeps the menus and cuts off play
        QCOMPARE(
            QList({hit({260, 90}), hit({300, 34}), hit({9.5, 87}, true), hit({192, 34}, true)}),
            QList({-1, -1, int(TrackMenu), -1}));
        m_theme.playWidth = 0; // a zero-sized button takes no clicks
        QCOMPARE(hit({192, 34}), -1);

        // a theme leaves an element out by a size of 0 or less; close is always there, the
        // texts need tracks and the knob needs playback
        m_theme = ThemeData{};
        QCOMPARE(QList({absent(true, true), absent(false, true), absent(true, false)}),
                 QList<QList<Element>>({{}, {Scrubber}, {TrackName, Artist}}));
        m_theme.minWidth = m_theme.trackMenuWidth = m_theme.trackArtWidth = m_theme.closeWidth = 0;
        m_theme.playlistMenuWidth = -3;
        m_theme.trackTextSize = 0;
        QCOMPARE(absent(true, true),
                 QList<Element>({Minimize, PlaylistMenu, TrackMenu, AlbumArt, TrackName}));
    }

    // Name and artist: the font scales, the box keeps the theme's width; what does not fit
    // ends in an ellipsis and a line break stays on one line.
    void texts()
    {
        for (const bool big : {false, true}) {
            m_big = big;
            const SkinLayout layout = this->layout();
            for (const Element e : {TrackName, Artist}) {
                const QFont font = layout.textFont(e);
                const QRectF box = layout.textRect(e);
                QCOMPARE(std::tuple(font.pointSizeF(), font.bold(), box.size(), box.center()),
                         std::tuple(9 * layout.scale(), e == TrackName,
                                    QSizeF(152, QFontMetricsF(font).height()),
                                    QPointF(192, e == TrackName ? 75 : 89) * layout.scale()));
                for (const QString& text : QStringList{"Song", QString(80, 'W'), "a\nb"}) {
                    const QString shown = SkinLayout::elided(text, font, box.width());
                    const bool fits = QFontMetricsF(font).horizontalAdvance(shown) <= box.width();
                    QCOMPARE(std::tuple(fits, shown.contains('\n'), shown.endsWith(QChar(0x2026))),
                             std::tuple(true, false, text.startsWith('W')));
                }
            }
        }
    }

    // Knob position and progress are each other's inverse; a drag beyond the travel stays at
    // its ends, and a travel of length 0 keeps the knob at its start.
    void scrubber()
    {
        const struct {
            bool big;
            double progress, x;
        } cases[] = {{false, 0, 117.5}, {false, 0.5, 192}, {false, 1, 266.5}, {true, 0.5, 288}};
        for (const auto& c : cases) {
            m_big = c.big;
            const SkinLayout l = layout();
            QCOMPARE(std::pair(l.knobX(c.progress), l.fractionAt(c.x)), std::pair(c.x, c.progress));
            QCOMPARE(l.knobRect(c.x).center().y(), 65.5 * l.scale());
            QCOMPARE(std::pair(l.clampToTravel(c.x - 200), l.fractionAt(c.x + 400)),
                     std::pair(l.scrubberMinX(), 1.0));
        }
        m_theme.scrubberMaxPos = m_theme.scrubberMinPos;
        QCOMPARE(std::pair(layout().fractionAt(200), layout().knobX(0.7)),
                 std::pair(0.0, m_theme.scrubberMinPos.x() * layout().scale()));
    }

    // A hand-edited theme with NaN, infinite or huge numbers still gives a window one can
    // see and grab, bounded rectangles and a bounded font.
    void absurdThemeValuesAreBounded()
    {
        m_big = true;
        const double most = SkinLayout::kMaxPoints * 1.5;
        const double least = SkinLayout::kMinWindowPoints * 1.5;
        for (const double value : {qQNaN(), qInf(), 1e12, -1e12}) {
            m_theme.playerWidth = m_theme.playerHeight = m_theme.playWidth = value;
            m_theme.trackTextWidth = value;
            m_theme.playPos = QPointF(value, value);
            m_theme.trackTextSize = qint64(1e12);
            const SkinLayout layout = this->layout();
            const QSizeF size = layout.skinSize(false);
            QVERIFY(size == size.expandedTo({least, least}).boundedTo({most, most}));
            const QRectF play = layout.rect(PlayPause);
            QVERIFY(std::isfinite(play.x()) && std::isfinite(play.width()));
            QVERIFY(play.width() <= most && std::abs(play.x()) <= 2 * most);
            QVERIFY(layout.textFont(TrackName).pointSizeF() <= 1.5 * SkinLayout::kMaxFontPoints);
            QVERIFY(layout.textRect(TrackName).width() <= SkinLayout::kMaxPoints);
        }
    }
};

QTEST_MAIN(TestSkinLayout)
#include "tst_skinlayout.moc"
