// The committed artwork: every built-in image decodes at twice its frame in its family's
// geometry (else the mini one), lets the background show round its controls, lights up in its
// "-on" form, and the fallbacks are the mini-graphite images.
#include "support/testsupport.h"
#include "theme/themedata.h"

#include <QtTest>

namespace {

QString resource(const QString& path)
{
    return qEnvironmentVariable("LINDENFOLD_TEST_SOURCE_DIR", QStringLiteral(".")) + "/resources/" +
           path;
}

} // namespace

class TestSkinArt : public QObject {
    Q_OBJECT
private slots:
    void everyImage_data()
    {
        QTest::addColumn<QString>("theme");
        QTest::addColumn<QString>("element");
        for (const QString& t : theme::builtInThemeNames()) // their number: tst_nothinglost
            for (const char* e : {"close", "ff", "ff-on", "min", "pause", "pause-on", "play",
                                  "play-on", "player", "player-min", "playlist-menu", "rr", "rr-on",
                                  "track-album", "track-menu", "track-scrubber"})
                QTest::newRow(qPrintable(t + "-" + e)) << t << QString(e);
    }
    void everyImage()
    {
        QFETCH(QString, theme);
        QFETCH(QString, element);
        const auto art = [&](const QString& e) {
            return resource("themes/" + theme + "-" + e + "@2x.png");
        };
        const QImage image(art(element));
        QVERIFY(!image.isNull());
        // the frame is the element's Width and Height in its family's theme.json
        static const QHash<QString, QString> keys{{"player-min", "playerMin"},
                                                  {"track-album", "trackArt"},
                                                  {"track-scrubber", "scrubber"},
                                                  {"playlist-menu", "playlistMenu"},
                                                  {"track-menu", "trackMenu"}};
        const QString key =
            keys.value(element, element.startsWith("pause") ? "play" : element.section('-', 0, 0));
        const auto frame = [&](const QString& family) {
            const QJsonObject o =
                QJsonDocument::fromJson(theme::encodeTheme(theme::familyGeometry(family))).object();
            return QSize(o[key + "Width"].toDouble() * 2, o[key + "Height"].toDouble() * 2);
        };
        const QSize own = frame(theme.section('-', 0, 0));
        QCOMPARE(image.size(), own.isEmpty() ? frame("mini") : own);
        // a control is transparent round its cap, so the background shows through
        if (!element.startsWith("player") && element != "track-album")
            QCOMPARE(qAlpha(image.pixel(0, 0)), 0);
        QCOMPARE(qAlpha(image.pixel(image.width() / 2, image.height() / 2)), 255);
        const auto brightness = [&](const QString& e) { // mean brightness of the visible pixels
            const QImage argb = QImage(art(e)).convertToFormat(QImage::Format_ARGB32);
            const auto* pixels = reinterpret_cast<const QRgb*>(argb.constBits());
            double sum = 0, weight = 0;
            for (const QRgb* p = pixels; p != pixels + argb.width() * argb.height(); ++p) {
                sum += qAlpha(*p) * qGray(*p);
                weight += qAlpha(*p);
            }
            return sum / weight;
        };
        if (element.endsWith("-on"))
            QVERIFY(brightness(element) > brightness(element.chopped(3)) + 10);
        if (theme == "mini-graphite")
            QCOMPARE(testsupport::readFile(resource("fallback/mini-graphite-" + element + ".png")),
                     testsupport::readFile(art(element)));
    }
};

QTEST_GUILESS_MAIN(TestSkinArt)
#include "tst_skinart.moc"
