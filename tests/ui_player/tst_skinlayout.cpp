#include "theme/themedata.h"
#include "ui/player/skinlayout.h"

#include <QFontMetricsF>
#include <QtTest>

#include <limits>

using Element = SkinLayout::Element;

Q_DECLARE_METATYPE(SkinLayout::Element)

// Geometry of the built-in "mini" theme (the defaults of Config), plain and enlarged.
class TestSkinLayout final : public QObject {
    Q_OBJECT

    ThemeData m_theme; // the built-in "mini" geometry
    double m_scale = 1.0;

    SkinLayout layout() const { return SkinLayout(m_theme, m_scale); }
    void setSuperSized(bool superSized) { m_scale = SkinLayout::scaleFor(superSized); }

private slots:
    void init()
    {
        m_theme = ThemeData{};
        m_scale = 1.0;
    }

    void rects_data()
    {
        QTest::addColumn<bool>("superSized");
        QTest::addColumn<Element>("element");
        QTest::addColumn<QRectF>("expected");
        const auto row = [](const char* name, bool big, Element e, QPointF c, double w, double h) {
            QTest::newRow(name) << big << e << QRectF(c.x() - w / 2, c.y() - h / 2, w, h);
        };
        row("close", false, Element::Close, {9.5, 11}, 17, 14);
        row("close enlarged", true, Element::Close, {14.25, 16.5}, 25.5, 21);
        row("play enlarged", true, Element::PlayPause, {288, 51}, 51, 78);
        row("rewind", false, Element::Rewind, {158, 34}, 34, 52);
        row("track menu enlarged", true, Element::TrackMenu, {14.25, 130.5}, 25.5, 21);
        row("album art enlarged", true, Element::AlbumArt, {100.5, 72}, 138, 138);
        row("knob at start", false, Element::Scrubber, {117.5, 65.5}, 14, 14);
    }
    void rects()
    {
        QFETCH(bool, superSized);
        QFETCH(Element, element);
        QFETCH(QRectF, expected);
        setSuperSized(superSized);
        QCOMPARE(layout().rect(element), expected);
    }

    void skinSize_data()
    {
        QTest::addColumn<bool>("superSized");
        QTest::addColumn<bool>("minimized");
        QTest::addColumn<QSizeF>("expected");
        QTest::newRow("full") << false << false << QSizeF(269, 96);
        QTest::newRow("full enlarged") << true << false << QSizeF(403.5, 144);
        QTest::newRow("minimised") << false << true << QSizeF(20, 96);
        QTest::newRow("minimised enlarged") << true << true << QSizeF(30, 144);
    }
    void skinSize()
    {
        QFETCH(bool, superSized);
        QFETCH(bool, minimized);
        QFETCH(QSizeF, expected);
        setSuperSized(superSized);
        QCOMPARE(layout().skinSize(minimized), expected);
    }

    void texts_data()
    {
        QTest::addColumn<bool>("superSized");
        QTest::addColumn<double>("pointSize");
        QTest::newRow("plain") << false << 9.0;
        QTest::newRow("enlarged: font scaled, box not") << true << 13.5;
    }
    void texts()
    {
        QFETCH(bool, superSized);
        QFETCH(double, pointSize);
        setSuperSized(superSized);
        const SkinLayout layout = this->layout();
        const double s = layout.scale();
        for (const Element e : {Element::TrackName, Element::Artist}) {
            const QFont font = layout.textFont(e);
            QCOMPARE(font.pointSizeF(), pointSize);
            QCOMPARE(font.bold(), e == Element::TrackName);
            const QRectF box = layout.textRect(e);
            QCOMPARE(box.width(), 152.0);
            QCOMPARE(box.height(), QFontMetricsF(font).height());
            const QPointF pos = e == Element::TrackName ? QPointF(192, 75) : QPointF(192, 89);
            QCOMPARE(box.center(), pos * s);
            // what does not fit ends in an ellipsis; a line break stays on one line
            for (const QString& text : {QStringLiteral("Song"), QString(80, QLatin1Char('W')), QStringLiteral("two\nlines")}) {
                const QString shown = SkinLayout::elided(text, font, box.width());
                QVERIFY(!shown.contains(QLatin1Char('\n')));
                QVERIFY(QFontMetricsF(font).horizontalAdvance(shown) <= box.width());
                QCOMPARE(shown.endsWith(QChar(0x2026)), text.startsWith('W'));
            }
        }
    }

    void presence_data()
    {
        QTest::addColumn<QString>("field");
        QTest::addColumn<double>("value");
        QTest::addColumn<bool>("hasTracks");
        QTest::addColumn<bool>("playing");
        QTest::addColumn<Element>("element");
        QTest::addColumn<bool>("present");
        QTest::newRow("minimise with width") << "minWidth" << 17.0 << true << false << Element::Minimize << true;
        QTest::newRow("minimise, width 0") << "minWidth" << 0.0 << true << false << Element::Minimize << false;
        QTest::newRow("track menu, width 0") << "trackMenuWidth" << 0.0 << true << false << Element::TrackMenu << false;
        QTest::newRow("playlist menu, negative") << "playlistMenuWidth" << -3.0 << true << false << Element::PlaylistMenu << false;
        QTest::newRow("album art, width 0") << "trackArtWidth" << 0.0 << true << false << Element::AlbumArt << false;
        QTest::newRow("close, width 0, still there") << "closeWidth" << 0.0 << true << false << Element::Close << true;
        QTest::newRow("name size 0") << "trackTextSize" << 0.0 << true << false << Element::TrackName << false;
        QTest::newRow("artist 9 beside name 0") << "trackTextSize" << 0.0 << true << false << Element::Artist << true;
        QTest::newRow("name without tracks") << "trackTextSize" << 9.0 << false << false << Element::TrackName << false;
        QTest::newRow("scrubber, not playing") << "scrubberWidth" << 14.0 << true << false << Element::Scrubber << false;
        QTest::newRow("scrubber, playing") << "scrubberWidth" << 14.0 << true << true << Element::Scrubber << true;
    }
    void presence()
    {
        QFETCH(QString, field);
        QFETCH(double, value);
        QFETCH(bool, hasTracks);
        QFETCH(bool, playing);
        QFETCH(Element, element);
        QFETCH(bool, present);
        static const QHash<QString, double ThemeData::*> widths = {
            {"minWidth", &ThemeData::minWidth},         {"trackMenuWidth", &ThemeData::trackMenuWidth},
            {"playlistMenuWidth", &ThemeData::playlistMenuWidth}, {"trackArtWidth", &ThemeData::trackArtWidth},
            {"closeWidth", &ThemeData::closeWidth},     {"scrubberWidth", &ThemeData::scrubberWidth}};
        if (field == "trackTextSize")
            m_theme.trackTextSize = qint64(value);
        else
            m_theme.*widths.value(field) = value;
        const SkinLayout::State state{false, playing, hasTracks};
        QCOMPARE(layout().isPresent(element, state), present);
    }

    void elementAt_data()
    {
        QTest::addColumn<bool>("superSized");
        QTest::addColumn<bool>("minimized");
        QTest::addColumn<QPointF>("point");
        QTest::addColumn<int>("expected"); // -1: background
        QTest::newRow("close") << false << false << QPointF(9.5, 11) << int(Element::Close);
        QTest::newRow("close enlarged") << true << false << QPointF(14.25, 16.5) << int(Element::Close);
        QTest::newRow("play") << false << false << QPointF(192, 34) << int(Element::PlayPause);
        QTest::newRow("album art") << false << false << QPointF(67, 48) << int(Element::AlbumArt);
        QTest::newRow("knob above the background") << false << false << QPointF(117.5, 65.5) << int(Element::Scrubber);
        QTest::newRow("background") << false << false << QPointF(260, 90) << -1;
        QTest::newRow("minimised keeps the menus") << false << true << QPointF(9.5, 87) << int(Element::TrackMenu);
        QTest::newRow("minimised cuts off play") << false << true << QPointF(192, 34) << -1;
        QTest::newRow("outside the skin") << false << false << QPointF(300, 34) << -1;
    }
    void elementAt()
    {
        QFETCH(bool, superSized);
        QFETCH(bool, minimized);
        QFETCH(QPointF, point);
        QFETCH(int, expected);
        setSuperSized(superSized);
        const auto element = layout().elementAt(point, {minimized, true, true}, 0);
        QCOMPARE(element ? int(*element) : -1, expected);
    }

    void zeroSizedButtonTakesNoClicks()
    {
        m_theme.playWidth = 0;
        QVERIFY(!layout().elementAt(QPointF(192, 34), {false, false, true}));
    }

    void scrubber_data()
    {
        QTest::addColumn<bool>("superSized");
        QTest::addColumn<double>("progress");
        QTest::addColumn<double>("x");
        QTest::newRow("start") << false << 0.0 << 117.5;
        QTest::newRow("half") << false << 0.5 << 192.0;
        QTest::newRow("end") << false << 1.0 << 266.5;
        QTest::newRow("half enlarged") << true << 0.5 << 288.0;
    }
    void scrubber()
    {
        QFETCH(bool, superSized);
        QFETCH(double, progress);
        QFETCH(double, x);
        setSuperSized(superSized);
        const SkinLayout layout = this->layout();
        QCOMPARE(layout.knobX(progress), x);
        QCOMPARE(layout.knobRect(x).center().y(), 65.5 * layout.scale());
        QCOMPARE(layout.fractionAt(x), progress);
        // a drag beyond the travel stays at its ends
        QCOMPARE(layout.clampToTravel(x - 200), layout.scrubberMinX());
        QCOMPARE(layout.fractionAt(x + 400), 1.0);
    }

    void scrubberWithoutTravelStaysAtItsStart()
    {
        m_theme.scrubberMaxPos = m_theme.scrubberMinPos;
        QCOMPARE(layout().fractionAt(200), 0.0);
        QCOMPARE(layout().knobX(0.7), m_theme.scrubberMinPos.x());
    }

    void absurdThemeValuesAreBounded_data()
    {
        QTest::addColumn<double>("value");
        QTest::newRow("NaN") << std::numeric_limits<double>::quiet_NaN();
        QTest::newRow("infinity") << std::numeric_limits<double>::infinity();
        QTest::newRow("1e12") << 1e12;
        QTest::newRow("-1e12") << -1e12;
    }
    void absurdThemeValuesAreBounded()
    {
        QFETCH(double, value);
        setSuperSized(true);
        m_theme.playerWidth = value;
        m_theme.playerHeight = value;
        m_theme.playWidth = value;
        m_theme.playPos = QPointF(value, value);
        m_theme.trackTextSize = qint64(1e12);
        m_theme.trackTextWidth = value;
        const SkinLayout layout = this->layout();
        const double limit = SkinLayout::kMaxPoints * 1.5;
        const QSizeF size = layout.skinSize(false);
        // never smaller than a window one can see and grab, never larger than the bound
        const double least = SkinLayout::kMinWindowPoints * 1.5;
        QVERIFY(size.width() >= least && size.width() <= limit);
        QVERIFY(size.height() >= least && size.height() <= limit);
        const QRectF play = layout.rect(Element::PlayPause);
        QVERIFY(std::isfinite(play.x()) && std::isfinite(play.width()));
        QVERIFY(play.width() <= limit && std::abs(play.x()) <= 2 * limit);
        QVERIFY(layout.textFont(Element::TrackName).pointSizeF() <= SkinLayout::kMaxFontPoints * 1.5);
        QVERIFY(layout.textRect(Element::TrackName).width() <= SkinLayout::kMaxPoints);
    }
};

QTEST_MAIN(TestSkinLayout)
#include "tst_skinlayout.moc"
