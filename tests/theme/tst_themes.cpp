#include "model/config.h"
#include "support/testsupport.h"
#include "theme/skinimages.h"
#include "theme/themedata.h"

#include <QDir>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSignalSpy>
#include <QtTest>

using testsupport::TempHome;

class TestThemes : public QObject {
    Q_OBJECT

    std::unique_ptr<TempHome> m_home;
    std::unique_ptr<Config> m_config;

    QString themeFile(const QString& name) const
    {
        return m_home->dataDir() + "/Themes/" + name + "/theme.json";
    }
    // The installed mini theme file with one value replaced (or the key removed).
    static QByteArray miniThemeWith(const char* key, const QByteArray& value)
    {
        QByteArray text = theme::encodeTheme(theme::familyGeometry("mini"));
        const QByteArray needle = QByteArray("\"") + key + "\": ";
        const qsizetype at = text.indexOf(needle) + needle.size();
        const qsizetype end = text.indexOf('\n', at);
        return text.replace(at, end - at - (text[end - 1] == ',' ? 1 : 0), value);
    }
    static QByteArray miniThemeWithout(const char* key)
    {
        QList<QByteArray> lines = theme::encodeTheme(theme::familyGeometry("mini")).split('\n');
        lines.removeIf([&](const QByteArray& l) { return l.contains(QByteArray("\"") + key + "\""); });
        QByteArray text = lines.join('\n');
        return text.replace(",\n}", "\n}");
    }
    static bool holds(const QJsonObject& object, const QString& key, const QPointF& point)
    {
        return object[key + "X"].toDouble() == point.x() && object[key + "Y"].toDouble() == point.y();
    }
    static bool holds(const QJsonObject& object, const QString& key, double value)
    {
        return object[key].isDouble() && object[key].toDouble() == value;
    }
    static bool holds(const QJsonObject& object, const QString& key, qint64 value)
    {
        return holds(object, key, double(value));
    }
    static bool holds(const QJsonObject& object, const QString& key, bool value)
    {
        return object[key].isBool() && object[key].toBool() == value;
    }
    void chooseTheme(const QString& name)
    {
        m_config->setCurrentTheme(name);
        m_config->saveSettings();
        m_config->loadTheme();
    }

private slots:
    void init()
    {
        m_home = std::make_unique<TempHome>();
        m_config = std::make_unique<Config>();
    }
    void cleanup()
    {
        m_config.reset();
        m_home.reset();
    }

    void installedFilesFollowTheFamilies()
    {
        for (const QString& name : Config::builtInThemeNames()) {
            const QByteArray text = testsupport::readFile(themeFile(name));
            const auto decoded = theme::decodeTheme(text);
            QVERIFY2(std::holds_alternative<ThemeData>(decoded), qPrintable(name));
            const ThemeData expected = theme::familyGeometry(theme::familyOf(name));
            QVERIFY(theme::sameGeometry(std::get<ThemeData>(decoded), expected));
            // every key holds its own value: a point's Y is its y, not its x
            const QJsonObject object = QJsonDocument::fromJson(text).object();
            QCOMPARE(object.size(), 50);
#define LINDENFOLD_CHECK_KEY(type, field, setter) QVERIFY2(holds(object, #field, expected.field), qPrintable(name + " " #field));
            LINDENFOLD_THEME_FIELDS(LINDENFOLD_CHECK_KEY)
#undef LINDENFOLD_CHECK_KEY
            // keys in file order: first and last
            QVERIFY(text.indexOf("playerWidth") < text.indexOf("trackTextSize"));
            QVERIFY(text.indexOf("trackArtWidth") < text.indexOf("trackArtHeight"));
        }
    }

    void choosingNeoLoadsItsGeometry()
    {
        QSignalSpy geometry(m_config.get(), &Config::geometryChanged);
        chooseTheme("neo-lime");
        QCOMPARE(m_config->minWidth(), 0.0);
        QCOMPARE(m_config->trackTextSize(), 0);
        QCOMPARE(m_config->trackArtWidth(), 0.0);
        QCOMPARE(m_config->trackMenuPos().y(), 111.5);
        QCOMPARE(m_config->playlistMenuPos().y(), 111.5);
        // one notification for the whole switch; the same theme again sends none
        QCOMPARE(geometry.count(), 1);
        m_config->loadTheme();
        QCOMPARE(geometry.count(), 1);
    }

    void damagedThemeChangesNothing_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("missing trackArtHeight") << miniThemeWithout("trackArtHeight");
        QTest::newRow("string width") << miniThemeWith("playerWidth", "\"wide\"");
        QTest::newRow("fractional text size") << miniThemeWith("trackTextSize", "9.5");
        QTest::newRow("null flag") << miniThemeWith("textReversed", "null");
        QTest::newRow("not json") << QByteArray("{{{");
        QTest::newRow("empty") << QByteArray();
    }
    void damagedThemeChangesNothing()
    {
        QFETCH(QByteArray, bytes);
        const ThemeData before = m_config->currentGeometry();
        testsupport::writeFile(themeFile("mini-graphite"), bytes);
        QSignalSpy geometry(m_config.get(), &Config::geometryChanged);
        const QString printed = testsupport::captureStdout([&] { m_config->loadTheme(); });
        QVERIFY2(printed.startsWith("Failed to read theme.json: "), qPrintable(printed));
        QCOMPARE(geometry.count(), 0);
        QCOMPARE(m_config->currentGeometry().closePos, before.closePos);
    }

    // Extra keys, integers where decimals stand, and hostile values all load as written.
    void unusualFilesLoadAsRead()
    {
        QByteArray text = miniThemeWith("playerWidth", "1e308")
                              .replace("\"playerHeight\": 96", "\"playerHeight\": -5")
                              .replace("\"closeWidth\": 17", "\"closeWidth\": 1e12")
                              .replace("{", "{\n  \"comment\": [1, {\"x\": null}],");
        testsupport::writeFile(themeFile("mini-graphite"), text.replace("\"closePosX\": 9.5", "\"closePosX\": 3"));
        m_config->loadTheme();
        QCOMPARE(m_config->closePos(), QPointF(3, 11));
        QCOMPARE(m_config->trackTextSize(), 10);
        QCOMPARE(m_config->playerWidth(), 1e308);
        QCOMPARE(m_config->playerHeight(), -5.0);
        QCOMPARE(m_config->closeWidth(), 1e12);
        // writing such a geometry gives a file that reads back
        QDir().mkpath(m_home->dataDir() + "/Themes/custom");
        m_config->writeThemeFile("custom");
        QVERIFY(std::holds_alternative<ThemeData>(theme::decodeTheme(testsupport::readFile(themeFile("custom")))));
    }

    void themeWithoutFileKeepsGeometryButNotImages()
    {
        chooseTheme("neo-lime");
        QVERIFY(QFile::remove(themeFile("nano-yuzu")));
        const QImage neoPlay = m_config->playImage();
        chooseTheme("nano-yuzu");
        QCOMPARE(m_config->trackMenuPos().y(), 111.5); // still neo
        QCOMPARE(m_config->playImage().size(), QImage(m_home->dataDir() + "/Themes/nano-yuzu/play.png").size() * 0.75);
        QVERIFY(m_config->playImage() != neoPlay);
    }

    void unsafeNamesHaveNoDirectory_data()
    {
        QTest::addColumn<QString>("name");
        QTest::newRow("empty") << "";
        QTest::newRow("dot dot") << "..";
        QTest::newRow("dot") << ".";
        QTest::newRow("slash") << "/";
        QTest::newRow("absolute") << "/etc";
        QTest::newRow("escaping") << "../../Playlists";
        QTest::newRow("nested") << "mini-graphite/../..";
    }
    void unsafeNamesHaveNoDirectory()
    {
        QFETCH(QString, name);
        // a theme.json placed where the name would lead must not be read
        testsupport::writeFile(m_home->dataDir() + "/theme.json", miniThemeWith("playerWidth", "999"));
        chooseTheme(name);
        QCOMPARE(m_config->themeDirectory(name), QString());
        QCOMPARE(m_config->playerWidth(), 269.0);
        QCOMPARE(m_config->closeImage(), theme::fallbackImage("close"));
    }

    void imagesFallBackPerElement()
    {
        chooseTheme("neo-lime");
        const QString dir = m_home->dataDir() + "/Themes/neo-lime/";
        QVERIFY(QFile::remove(dir + "rr-on.png"));
        testsupport::writeFile(dir + "close.png", "this is text, not a picture");
        QCOMPARE(m_config->rrOnImage(), theme::fallbackImage("rr-on"));
        QCOMPARE(m_config->closeImage(), theme::fallbackImage("close"));
        QVERIFY(m_config->rrImage() != theme::fallbackImage("rr"));
        QVERIFY(!theme::fallbackImage("rr").isNull());

        // a replaced file shows at the next call
        QImage red(8, 8, QImage::Format_ARGB32);
        red.fill(Qt::red);
        QVERIFY(red.save(dir + "player.png"));
        QCOMPARE(m_config->playerImage().pixelColor(1, 1), QColor(Qt::red));
        QImage blue(9, 8, QImage::Format_ARGB32);
        blue.fill(Qt::blue);
        QVERIFY(blue.save(dir + "player.png"));
        QCOMPARE(m_config->playerImage().pixelColor(1, 1), QColor(Qt::blue));

        // a picture far larger than its element is decoded at the size it is drawn at (x1.5)
        QImage huge(4000, 3000, QImage::Format_ARGB32);
        huge.fill(Qt::green);
        QVERIFY(huge.save(dir + "player.png"));
        const QSize drawn(std::ceil(m_config->playerWidth() * 1.5), std::ceil(m_config->playerHeight() * 1.5));
        QCOMPARE(m_config->playerImage().size(), huge.size().scaled(drawn, Qt::KeepAspectRatio));
        QCOMPARE(m_config->closeImage(), theme::fallbackImage("close"));
    }

    void startAfterSettingsLossLeavesThemesAlone()
    {
        const QString userFile = m_home->dataDir() + "/Themes/mini-lime/player.png";
        testsupport::writeFile(userFile, "user's own");
        QVERIFY(QDir(m_home->dataDir() + "/Themes/max-graphite").removeRecursively());
        m_config.reset();
        QFile::remove(m_home->settingsFile());
        m_config = std::make_unique<Config>();
        QCOMPARE(testsupport::readFile(userFile), QByteArray("user's own"));
        QVERIFY(!QFileInfo::exists(m_home->dataDir() + "/Themes/max-graphite"));
    }
};

QTEST_MAIN(TestThemes)
#include "tst_themes.moc"
