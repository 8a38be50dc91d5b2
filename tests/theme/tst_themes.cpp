// Themes as installed and chosen: theme.json into the geometry, bad files and names, images.
#include "model/config.h"
#include "support/testsupport.h"
#include "theme/skinimages.h"

#include <QtTest>

using namespace testsupport;

class TestThemes : public QObject {
    Q_OBJECT

    std::unique_ptr<TempHome> m_home;
    std::unique_ptr<Config> m_config;

    QString themeFile(const QString& name) const
    {
        return m_home->dataDir() + "/Themes/" + name + "/theme.json";
    }
    // The installed mini theme file with some keys changed; an undefined value removes the key.
    static QByteArray miniTheme(const QList<std::pair<QString, QJsonValue>>& changes)
    {
        QJsonObject object =
            QJsonDocument::fromJson(theme::encodeTheme(theme::familyGeometry("mini"))).object();
        for (const auto& [key, value] : changes)
            object.insert(key, value);
        return QJsonDocument(object).toJson();
    }
    // Whether a theme.json object holds value under key (a point under keyX and keyY).
    static bool holds(const QJsonObject& object, const QString& key, const QVariant& value)
    {
        if (value.typeId() == QMetaType::QPointF)
            return value.toPointF() ==
                   QPointF(object[key + "X"].toDouble(), object[key + "Y"].toDouble());
        return object[key].isBool() == (value.typeId() == QMetaType::Bool) &&
               object[key].toVariant() == value;
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
        m_config.reset();
        m_home.reset(); // the old home gives HOME back before the new one takes it
        m_home = std::make_unique<TempHome>();
        m_config = std::make_unique<Config>();
    }

    void installedFilesFollowTheFamilies_data()
    {
        QTest::addColumn<QString>("name");
        for (const QString& name : Config::builtInThemeNames())
            QTest::newRow(qPrintable(name)) << name;
    }
    void installedFilesFollowTheFamilies()
    {
        QFETCH(QString, name);
        const QByteArray text = readFile(themeFile(name));
        const auto decoded = theme::decodeTheme(text);
        const ThemeData expected = theme::familyGeometry(theme::familyOf(name));
        QVERIFY(std::holds_alternative<ThemeData>(decoded) &&
                theme::sameGeometry(std::get<ThemeData>(decoded), expected));
        // every key holds its own value: a point's Y is its y, not its x
        const QJsonObject object = QJsonDocument::fromJson(text).object();
        QCOMPARE(object.size(), 50);
        // a few values of each family as the built-in table gives them
        static const QHash<QString, QVariantList> family = {{"nano", {138, 64, 0, false, 32}},
                                                            {"neo", {130, 130, 0, true, 65}},
                                                            {"mini", {269, 96, 10, true, 34}},
                                                            {"max", {156, 19, 9, true, 230}}};
        QCOMPARE(QVariantList({object["playerWidth"].toInt(), object["playerMinHeight"].toInt(),
                               object["trackTextSize"].toInt(), object["textReversed"].toBool(),
                               object["playPosY"].toInt()}),
                 family.value(theme::familyOf(name)));
#define LINDENFOLD_CHECK_KEY(type, field, setter)                                                  \
    QVERIFY2(holds(object, #field, expected.field), #field);
        LINDENFOLD_THEME_FIELDS(LINDENFOLD_CHECK_KEY)
#undef LINDENFOLD_CHECK_KEY
        // keys in table order: first and last, a size's width before its height
        QVERIFY(text.indexOf("playerWidth") < text.indexOf("trackTextSize") &&
                text.indexOf("trackArtWidth") < text.indexOf("trackArtHeight"));
    }

    // A damaged theme.json changes nothing and says why, naming the key.
    void damagedThemeFile_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("message");
        QTest::newRow("key missing") << miniTheme({{"trackArtHeight", QJsonValue::Undefined}})
                                     << "No value associated with key \"trackArtHeight\".";
        QTest::newRow("number of another type")
            << miniTheme({{"playerWidth", "wide"}})
            << "Expected a number for key \"playerWidth\" but found another type instead.";
        QTest::newRow("text size with a fraction")
            << miniTheme({{"trackTextSize", 9.5}}) << "\"trackTextSize\"";
        QTest::newRow("flag null")
            << miniTheme({{"textReversed", QJsonValue::Null}})
            << "Expected a value for key \"textReversed\" but found null instead.";
        QTest::newRow("point half missing")
            << miniTheme({{"closePosY", QJsonValue::Undefined}}) << "\"closePosY\"";
        QTest::newRow("array") << QByteArray("[1]") << "Expected a JSON object at the top level.";
        QTest::newRow("not JSON") << QByteArray("{{{") << "The data isn't valid JSON: ";
        QTest::newRow("empty") << QByteArray() << "The data isn't valid JSON: ";
    }
    void damagedThemeFile()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, message);
        const ThemeData before = m_config->currentGeometry();
        QSignalSpy geometry(m_config.get(), &Config::geometryChanged);
        writeFile(themeFile("mini-graphite"), bytes);
        const QString printed = captureStdout([&] { m_config->loadTheme(); });
        QVERIFY2(printed.startsWith("Failed to read theme.json: ") && printed.contains(message),
                 qPrintable(printed));
        QVERIFY(geometry.isEmpty() && theme::sameGeometry(m_config->currentGeometry(), before));
    }

    // Extra keys, integers where decimals stand, and hostile values all load as written, and
    // such a geometry writes a file that reads back.
    void themeFilesAsRead()
    {
        writeFile(themeFile("mini-graphite"),
                  miniTheme({{"playerWidth", 1e308},
                             {"playerHeight", -5},
                             {"closeWidth", 1e12},
                             {"closePosX", 3},
                             {"comment", QJsonArray{1, QJsonObject{{"x", QJsonValue::Null}}}}}));
        m_config->loadTheme();
        const Config& c = *m_config;
        QCOMPARE(QVariantList({c.closePos(), c.trackTextSize(), c.playerWidth(), c.playerHeight(),
                               c.closeWidth()}),
                 QVariantList({QPointF(3, 11), qint64(10), 1e308, -5.0, 1e12}));
        QDir().mkpath(m_home->dataDir() + "/Themes/custom");
        m_config->writeThemeFile("custom");
        QVERIFY(
            std::holds_alternative<ThemeData>(theme::decodeTheme(readFile(themeFile("custom")))));
    }

    // A name that is empty or leads out of Themes has no directory; no theme.json there is read.
    void unsafeNamesHaveNoDirectory_data()
    {
        QTest::addColumn<QString>("name");
        QTest::newRow("empty") << "";
        QTest::newRow("dot") << ".";
        QTest::newRow("dot dot") << "..";
        QTest::newRow("up to Playlists") << "../../Playlists";
    }
    void unsafeNamesHaveNoDirectory()
    {
        QFETCH(QString, name);
        writeFile(m_home->dataDir() + "/theme.json", miniTheme({{"playerWidth", 999}}));
        chooseTheme(name);
        QVERIFY(m_config->themeDirectory(name).isEmpty());
        QVERIFY(m_config->playerWidth() == 269.0 &&
                m_config->closeImage() == theme::fallbackImage("close"));
    }

    // One notification per switch, none for the same theme. Each image falls back on its own,
    // a replaced one shows at once, a huge one is decoded at its drawn size. A theme without
    // theme.json keeps the previous geometry but shows its own images.
    void switchingThemes()
    {
        QSignalSpy geometry(m_config.get(), &Config::geometryChanged);
        chooseTheme("neo-lime");
        QVERIFY(theme::sameGeometry(m_config->currentGeometry(), theme::familyGeometry("neo")));
        m_config->loadTheme();
        QCOMPARE(geometry.count(), 1);
        const QString dir = m_home->dataDir() + "/Themes/neo-lime/";
        QVERIFY(QFile::remove(dir + "rr-on.png"));
        writeFile(dir + "close.png", "this is text, not a picture");
        QCOMPARE(m_config->rrOnImage(), theme::fallbackImage("rr-on"));
        QCOMPARE(m_config->closeImage(), theme::fallbackImage("close"));
        QVERIFY(m_config->rrImage() != theme::fallbackImage("rr") &&
                !theme::fallbackImage("rr").isNull());

        // a replaced file shows at the next call
        const auto savePlayer = [&](QSize size, Qt::GlobalColor colour) {
            QImage image(size, QImage::Format_ARGB32);
            image.fill(colour);
            QVERIFY(image.save(dir + "player.png"));
        };
        savePlayer({8, 8}, Qt::red);
        QCOMPARE(m_config->playerImage().pixelColor(1, 1), QColor(Qt::red));
        savePlayer({9, 8}, Qt::blue);
        QCOMPARE(m_config->playerImage().pixelColor(1, 1), QColor(Qt::blue));

        // a picture far larger than its element is decoded at the size it is drawn at (x1.5)
        savePlayer({4000, 3000}, Qt::green);
        const QSize drawn(std::ceil(m_config->playerWidth() * 1.5),
                          std::ceil(m_config->playerHeight() * 1.5));
        QCOMPARE(m_config->playerImage().size(),
                 QSize(4000, 3000).scaled(drawn, Qt::KeepAspectRatio));
        QCOMPARE(m_config->closeImage(), theme::fallbackImage("close"));

        const QImage neoPlay = m_config->playImage();
        QVERIFY(QFile::remove(themeFile("nano-yuzu")));
        chooseTheme("nano-yuzu");
        QCOMPARE(m_config->trackMenuPos().y(), 111.5); // still neo
        QCOMPARE(m_config->playImage().size(),
                 QImage(m_home->dataDir() + "/Themes/nano-yuzu/play.png").size() * 0.75);
        QVERIFY(m_config->playImage() != neoPlay);

        // NaN over NaN is no change: a hand-edited NaN would lay the window out on every load
        const qsizetype before = geometry.count();
        for (int i = 0; i < 2; ++i)
            m_config->setPlayerWidth(qQNaN());
        QCOMPARE(geometry.count(), before + 1);
    }

    // Starts read the installed theme files and never write them: they stay byte for byte. A
    // start that lost its settings keeps the user's own files and no removed theme comes back.
    void startsLeaveThemeFilesAlone()
    {
        const QString themes = m_home->dataDir() + "/Themes";
        const auto before = snapshot(themes);
        for (const QString& name : {"nano-lime", "max-graphite"}) {
            chooseTheme(name);
            m_config.reset();
            m_config = std::make_unique<Config>();
            QCOMPARE(m_config->currentTheme(), name);
        }
        QCOMPARE(snapshot(themes), before);
        writeFile(themes + "/mini-lime/player.png", "user's own");
        QVERIFY(QDir(themes + "/max-graphite").removeRecursively());
        m_config.reset();
        QFile::remove(m_home->settingsFile());
        m_config = std::make_unique<Config>();
        QVERIFY(readFile(themes + "/mini-lime/player.png") == "user's own" &&
                !QFileInfo::exists(themes + "/max-graphite"));
    }
};

QTEST_MAIN(TestThemes)
#include "tst_themes.moc"
