// Themes as installed and chosen: theme.json read into the geometry, damaged or hostile files,
// unsafe names, and the skin images with their per-element fallbacks.
#include "model/config.h"
#include "support/testsupport.h"
#include "theme/skinimages.h"
#include "theme/themedata.h"

#include <QtTest>

using testsupport::readFile;
using testsupport::writeFile;

class TestThemes : public QObject {
    Q_OBJECT

    std::unique_ptr<testsupport::TempHome> m_home;
    std::unique_ptr<Config> m_config;

    QString themeFile(const QString& name) const { return m_home->dataDir() + "/Themes/" + name + "/theme.json"; }
    // The installed mini theme file with some keys changed; an undefined value removes the key.
    static QByteArray miniTheme(const QList<std::pair<QString, QJsonValue>>& changes)
    {
        QJsonObject object = QJsonDocument::fromJson(theme::encodeTheme(theme::familyGeometry("mini"))).object();
        for (const auto& [key, value] : changes)
            object.insert(key, value);
        return QJsonDocument(object).toJson();
    }
    // Whether a theme.json object holds value under key (a point under keyX and keyY).
    template <class T>
    static bool holds(const QJsonObject& object, const QString& key, const T& value)
    {
        if constexpr (std::is_same_v<T, QPointF>)
            return object[key + "X"].toDouble() == value.x() && object[key + "Y"].toDouble() == value.y();
        else if constexpr (std::is_same_v<T, bool>)
            return object[key].isBool() && object[key].toBool() == value;
        else
            return object[key].isDouble() && object[key].toDouble() == double(value);
    }
    void chooseTheme(const QString& name)
    {
        m_config->setCurrentTheme(name);
        m_config->saveSettings();
        m_config->loadTheme();
    }
    static void savePicture(const QString& path, QSize size, Qt::GlobalColor colour)
    {
        QImage image(size, QImage::Format_ARGB32);
        image.fill(colour);
        QVERIFY(image.save(path));
    }

private slots:
    void init()
    {
        m_config.reset();
        m_home.reset(); // the old home gives HOME back before the new one takes it
        m_home = std::make_unique<testsupport::TempHome>();
        m_config = std::make_unique<Config>();
    }

    void installedFilesFollowTheFamilies()
    {
        for (const QString& name : Config::builtInThemeNames()) {
            const QByteArray text = readFile(themeFile(name));
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
        QVERIFY(theme::sameGeometry(m_config->currentGeometry(), theme::familyGeometry("neo")));
        // one notification for the whole switch; the same theme again sends none
        QCOMPARE(geometry.count(), 1);
        m_config->loadTheme();
        QCOMPARE(geometry.count(), 1);
    }

    void damagedThemeChangesNothing_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("missing trackArtHeight") << miniTheme({{"trackArtHeight", QJsonValue::Undefined}});
        QTest::newRow("string width") << miniTheme({{"playerWidth", "wide"}});
        QTest::newRow("fractional text size") << miniTheme({{"trackTextSize", 9.5}});
        QTest::newRow("null flag") << miniTheme({{"textReversed", QJsonValue::Null}});
        QTest::newRow("not json") << QByteArray("{{{");
        QTest::newRow("empty") << QByteArray();
    }
    void damagedThemeChangesNothing()
    {
        QFETCH(QByteArray, bytes);
        const ThemeData before = m_config->currentGeometry();
        writeFile(themeFile("mini-graphite"), bytes);
        QSignalSpy geometry(m_config.get(), &Config::geometryChanged);
        const QString printed = testsupport::captureStdout([&] { m_config->loadTheme(); });
        QVERIFY2(printed.startsWith("Failed to read theme.json: "), qPrintable(printed));
        QCOMPARE(geometry.count(), 0);
        QCOMPARE(m_config->currentGeometry().closePos, before.closePos);
    }

    // Extra keys, integers where decimals stand, and hostile values all load as written.
    void unusualFilesLoadAsRead()
    {
        writeFile(themeFile("mini-graphite"),
                  miniTheme({{"playerWidth", 1e308}, {"playerHeight", -5}, {"closeWidth", 1e12}, {"closePosX", 3},
                             {"comment", QJsonArray{1, QJsonObject{{"x", QJsonValue::Null}}}}}));
        m_config->loadTheme();
        const Config& c = *m_config;
        QCOMPARE(QVariantList({c.closePos(), c.trackTextSize(), c.playerWidth(), c.playerHeight(), c.closeWidth()}),
                 QVariantList({QPointF(3, 11), qint64(10), 1e308, -5.0, 1e12}));
        // writing such a geometry gives a file that reads back
        QDir().mkpath(m_home->dataDir() + "/Themes/custom");
        m_config->writeThemeFile("custom");
        QVERIFY(std::holds_alternative<ThemeData>(theme::decodeTheme(readFile(themeFile("custom")))));
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

    // A name that is empty or leads out of the Themes directory has no directory: a
    // theme.json placed where such a name would lead is never read.
    void unsafeNamesHaveNoDirectory()
    {
        writeFile(m_home->dataDir() + "/theme.json", miniTheme({{"playerWidth", 999}}));
        for (const char* name : {"", ".", "..", "/", "/etc", "../../Playlists", "mini-graphite/../.."}) {
            chooseTheme(name);
            QVERIFY2(m_config->themeDirectory(name).isEmpty(), name);
            QVERIFY2(m_config->playerWidth() == 269.0 && m_config->closeImage() == theme::fallbackImage("close"), name);
        }
    }

    void imagesFallBackPerElement()
    {
        chooseTheme("neo-lime");
        const QString dir = m_home->dataDir() + "/Themes/neo-lime/";
        QVERIFY(QFile::remove(dir + "rr-on.png"));
        writeFile(dir + "close.png", "this is text, not a picture");
        QCOMPARE(m_config->rrOnImage(), theme::fallbackImage("rr-on"));
        QCOMPARE(m_config->closeImage(), theme::fallbackImage("close"));
        QVERIFY(m_config->rrImage() != theme::fallbackImage("rr") && !theme::fallbackImage("rr").isNull());

        // a replaced file shows at the next call
        savePicture(dir + "player.png", {8, 8}, Qt::red);
        QCOMPARE(m_config->playerImage().pixelColor(1, 1), QColor(Qt::red));
        savePicture(dir + "player.png", {9, 8}, Qt::blue);
        QCOMPARE(m_config->playerImage().pixelColor(1, 1), QColor(Qt::blue));

        // a picture far larger than its element is decoded at the size it is drawn at (x1.5)
        savePicture(dir + "player.png", {4000, 3000}, Qt::green);
        const QSize drawn(std::ceil(m_config->playerWidth() * 1.5), std::ceil(m_config->playerHeight() * 1.5));
        QCOMPARE(m_config->playerImage().size(), QSize(4000, 3000).scaled(drawn, Qt::KeepAspectRatio));
        QCOMPARE(m_config->closeImage(), theme::fallbackImage("close"));
    }

    void startAfterSettingsLossLeavesThemesAlone()
    {
        const QString userFile = m_home->dataDir() + "/Themes/mini-lime/player.png";
        writeFile(userFile, "user's own");
        QVERIFY(QDir(m_home->dataDir() + "/Themes/max-graphite").removeRecursively());
        m_config.reset();
        QFile::remove(m_home->settingsFile());
        m_config = std::make_unique<Config>();
        QCOMPARE(readFile(userFile), QByteArray("user's own"));
        QVERIFY(!QFileInfo::exists(m_home->dataDir() + "/Themes/max-graphite"));
    }
};

QTEST_MAIN(TestThemes)
#include "tst_themes.moc"
