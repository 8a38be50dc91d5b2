// The committed theme artwork (resources/themes, resources/fallback): every built-in image is
// there, decodes at twice its frame in its family's geometry (elements a family does not show
// use the mini size), lets the background show round its controls, lights up in its "-on"
// form, and the fallbacks are the mini-graphite images.
#include "support/testsupport.h"
#include "theme/themedata.h"

#include <QtTest>

namespace {

QString resources()
{
    return qEnvironmentVariable("LINDENFOLD_TEST_SOURCE_DIR", QStringLiteral(".")) + "/resources";
}

QString themeFile(const QString& theme, const QString& element)
{
    return resources() + "/themes/" + theme + "-" + element + "@2x.png";
}

// The frame of an element in a geometry: its width and height members.
std::pair<double ThemeData::*, double ThemeData::*> frame(const QString& element)
{
    if (element == "player") return {&ThemeData::playerWidth, &ThemeData::playerHeight};
    if (element == "player-min") return {&ThemeData::playerMinWidth, &ThemeData::playerMinHeight};
    if (element == "track-album") return {&ThemeData::trackArtWidth, &ThemeData::trackArtHeight};
    if (element == "track-scrubber") return {&ThemeData::scrubberWidth, &ThemeData::scrubberHeight};
    if (element.startsWith("ff")) return {&ThemeData::ffWidth, &ThemeData::ffHeight};
    if (element.startsWith("rr")) return {&ThemeData::rrWidth, &ThemeData::rrHeight};
    if (element == "playlist-menu") return {&ThemeData::playlistMenuWidth, &ThemeData::playlistMenuHeight};
    if (element.startsWith("p")) return {&ThemeData::playWidth, &ThemeData::playHeight};
    if (element == "min") return {&ThemeData::minWidth, &ThemeData::minHeight};
    if (element == "track-menu") return {&ThemeData::trackMenuWidth, &ThemeData::trackMenuHeight};
    return {&ThemeData::closeWidth, &ThemeData::closeHeight};
}

// Mean brightness of the visible pixels.
double brightness(const QImage& image)
{
    const QImage argb = image.convertToFormat(QImage::Format_ARGB32);
    double sum = 0, weight = 0;
    for (int y = 0; y < argb.height(); ++y)
        for (int x = 0; x < argb.width(); ++x) {
            const QRgb pixel = argb.pixel(x, y);
            sum += qAlpha(pixel) / 255.0 * qGray(pixel);
            weight += qAlpha(pixel) / 255.0;
        }
    return weight > 0 ? sum / weight : 0;
}

} // namespace

class TestSkinArt : public QObject {
    Q_OBJECT
private slots:
    void everyImage_data()
    {
        QTest::addColumn<QString>("theme");
        QTest::addColumn<QString>("element");
        QStringList themes{"max-graphite"};
        for (const char* family : {"nano", "neo", "mini"})
            for (const char* colour : {"graphite", "blueberry", "lime", "yuzu", "tangerine", "strawberry", "blackberry"})
                themes << QString(family) + "-" + colour;
        for (const QString& t : themes)
            for (const char* e : {"close", "ff", "ff-on", "min", "pause", "pause-on", "play", "play-on", "player",
                                  "player-min", "playlist-menu", "rr", "rr-on", "track-album", "track-menu", "track-scrubber"})
                QTest::newRow(qPrintable(t + "-" + e)) << t << QString(e);
    }
    void everyImage()
    {
        QFETCH(QString, theme);
        QFETCH(QString, element);
        const QImage image(themeFile(theme, element));
        QVERIFY(!image.isNull());
        const auto [width, height] = frame(element);
        const ThemeData family = theme::familyGeometry(theme.section('-', 0, 0));
        const ThemeData mini = theme::familyGeometry("mini");
        const ThemeData& shown = family.*width > 0 ? family : mini;
        QCOMPARE(image.size(), QSize(shown.*width * 2, shown.*height * 2));
        // a control is transparent round its cap, so the background shows through
        if (!element.startsWith("player") && element != "track-album")
            QCOMPARE(qAlpha(image.pixel(0, 0)), 0);
        QCOMPARE(qAlpha(image.pixel(image.width() / 2, image.height() / 2)), 255);
        if (element.endsWith("-on"))
            QVERIFY(brightness(image) > brightness(QImage(themeFile(theme, element.chopped(3)))) + 10);
        if (theme == "mini-graphite")
            QCOMPARE(testsupport::readFile(resources() + "/fallback/mini-graphite-" + element + ".png"), testsupport::readFile(themeFile(theme, element)));
    }
};

QTEST_GUILESS_MAIN(TestSkinArt)
#include "tst_skinart.moc"
