// Checks of the committed theme artwork (resources/themes, resources/fallback): every built-in
// image is there, decodes, has twice the size of its frame in its family's geometry
// (elements a family does not show use the mini size), the fallbacks are the
// mini-graphite images, "-on" images light up, and the whole set stays small.
#include <QtTest>

#include <QFile>
#include <QFileInfo>
#include <QImage>

namespace {

const QStringList kElements = {"close", "ff", "ff-on", "min", "pause", "pause-on",
                               "play", "play-on", "player", "player-min", "playlist-menu",
                               "rr", "rr-on", "track-album", "track-menu", "track-scrubber"};
const QStringList kColours = {"graphite", "blueberry", "lime", "yuzu",
                              "tangerine", "strawberry", "blackberry"};

QString resourcesDir()
{
    QString src = qEnvironmentVariable("LINDENFOLD_TEST_SOURCE_DIR");
    if (src.isEmpty()) src = QStringLiteral(".");
    return src + "/resources";
}

QStringList themes()
{
    QStringList t;
    for (const char* family : {"nano", "neo", "mini"})
        for (const QString& c : kColours) t << QString(family) + "-" + c;
    t << "max-graphite";
    return t;
}

// Expected size in points of an element for a family, from the geometry table.
QSize pointSize(const QString& family, const QString& element)
{
    const bool nano = family == "nano", neo = family == "neo", max = family == "max";
    if (element == "player") {
        if (nano) return {138, 64};
        if (neo) return {130, 130};
        if (max) return {156, 260};
        return {269, 96};
    }
    if (element == "player-min") {
        if (nano) return {138, 64};
        if (neo) return {130, 130};
        if (max) return {156, 19};
        return {20, 96};
    }
    if (element == "track-album") return max ? QSize(153, 153) : QSize(92, 92);
    if (element == "track-scrubber") return {14, 14};
    if (element.startsWith("ff") || element.startsWith("rr") || element.startsWith("pause") ||
        element == "play" || element == "play-on")
        return {34, 52};
    return {17, 14}; // close, min, the two menus
}

QString themeFile(const QString& theme, const QString& element)
{
    return resourcesDir() + "/themes/" + theme + "-" + element + "@2x.png";
}

// Mean brightness of the visible pixels.
double brightness(const QImage& img)
{
    const QImage i = img.convertToFormat(QImage::Format_ARGB32);
    double sum = 0, weight = 0;
    for (int y = 0; y < i.height(); ++y) {
        const QRgb* row = reinterpret_cast<const QRgb*>(i.constScanLine(y));
        for (int x = 0; x < i.width(); ++x) {
            const double a = qAlpha(row[x]) / 255.0;
            sum += a * qGray(row[x]);
            weight += a;
        }
    }
    return weight > 0 ? sum / weight : 0;
}

} // namespace

class TestSkinArt : public QObject {
    Q_OBJECT
private slots:
    void everyImageHasTwiceItsFrame_data()
    {
        QTest::addColumn<QString>("theme");
        QTest::addColumn<QString>("element");
        for (const QString& t : themes())
            for (const QString& e : kElements)
                QTest::newRow(qPrintable(t + "-" + e)) << t << e;
    }
    void everyImageHasTwiceItsFrame()
    {
        QFETCH(QString, theme);
        QFETCH(QString, element);
        const QString path = themeFile(theme, element);
        QImage img(path);
        QVERIFY2(!img.isNull(), qPrintable(path));
        const QSize pt = pointSize(theme.section('-', 0, 0), element);
        QCOMPARE(img.size(), pt * 2);
        if (element != "player" && element != "player-min" && element != "track-album") {
            // a control: transparent round its cap so the background shows through
            QCOMPARE(qAlpha(img.pixel(0, 0)), 0);
            QVERIFY(qAlpha(img.pixel(img.width() / 2, img.height() / 2)) == 255);
        } else {
            QCOMPARE(qAlpha(img.pixel(img.width() / 2, img.height() / 2)), 255);
        }
    }

    void fallbacksAreTheMiniGraphiteImages()
    {
        for (const QString& e : kElements) {
            QFile fallback(resourcesDir() + "/fallback/mini-graphite-" + e + ".png");
            QFile theme(themeFile("mini-graphite", e));
            QVERIFY2(fallback.open(QIODevice::ReadOnly), qPrintable(fallback.fileName()));
            QVERIFY(theme.open(QIODevice::ReadOnly));
            QCOMPARE(fallback.readAll(), theme.readAll());
        }
    }

    void onImagesLightUp()
    {
        for (const QString& t : themes()) {
            for (const char* e : {"ff", "rr", "play", "pause"}) {
                const QImage off(themeFile(t, e));
                const QImage on(themeFile(t, QString(e) + "-on"));
                QVERIFY2(brightness(on) > brightness(off) + 10, qPrintable(t + " " + e));
            }
        }
    }

    void coloursDiffer()
    {
        for (const char* family : {"nano", "neo", "mini"}) {
            QSet<QByteArray> seen;
            for (const QString& c : kColours) {
                QFile f(themeFile(QString(family) + "-" + c, "player"));
                QVERIFY(f.open(QIODevice::ReadOnly));
                seen.insert(f.readAll());
            }
            QCOMPARE(seen.size(), kColours.size());
        }
    }

    void artworkStaysSmall()
    {
        qint64 total = 0;
        for (const QString& t : themes())
            for (const QString& e : kElements) total += QFileInfo(themeFile(t, e)).size();
        for (const QString& e : kElements)
            total += QFileInfo(resourcesDir() + "/fallback/mini-graphite-" + e + ".png").size();
        QVERIFY2(total < 3 * 1024 * 1024, qPrintable(QString::number(total)));
    }
};

QTEST_GUILESS_MAIN(TestSkinArt)
#include "tst_skinart.moc"
