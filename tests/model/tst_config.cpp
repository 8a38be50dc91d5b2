#include "model/config.h"
#include "support/testsupport.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSignalSpy>
#include <QtTest>

#include <unistd.h>

using testsupport::TempHome;

namespace {

QJsonObject readJson(const QString& path)
{
    return QJsonDocument::fromJson(testsupport::readFile(path)).object();
}

QByteArray settingsJson(const QString& extra = {})
{
    return QStringLiteral(R"({
  "currentTheme": "neo-lime",
  "availableThemes": ["neo-lime", "mini-graphite"],
  "playsSounds": false,
  "superSized": true,
  "isFloating": false,
  "shuffleTracks": true,
  "loopTracks": false,
  %1
  "playlists": [
    {"id": "6F1D2A64-0C3B-4F39-9B0A-3C5A4D2E1F00", "name": "b"},
    {"id": "6f1d2a64-0c3b-4f39-9b0a-3c5a4d2e1f01", "name": "a"},
    {"id": "6F1D2A64-0C3B-4F39-9B0A-3C5A4D2E1F02", "name": "C"}
  ]
})").arg(extra).toUtf8();
}

} // namespace

class TestConfig : public QObject {
    Q_OBJECT

private slots:
    void firstStartLeavesTheDataDirectory()
    {
        TempHome home;
        QString printed;
        std::unique_ptr<Config> config;
        printed = testsupport::captureStdout([&] { config = std::make_unique<Config>(); });
        QCOMPARE(printed, QStringLiteral("New playlist written successfully.\n"));

        // the files themselves are checked against the real executable in tst_firststart
        const QJsonObject settings = readJson(home.settingsFile());
        QCOMPARE(settings.keys().size(), 9);
        QCOMPARE(settings["currentTheme"].toString(), "mini-graphite");
        QCOMPARE(settings["lastSelectedPlaylistID"].toInt(-1), 0);
        const QString id = settings["playlists"].toArray()[0].toObject()["id"].toString();
        QCOMPARE(id, id.toUpper());

        // a first start reads no theme file: text sizes keep the defaults
        QCOMPARE(config->trackTextSize(), 9);
        QCOMPARE(config->playerWidth(), 269.0);
        QCOMPARE(config->playlists().size(), 1);
    }

    void secondStartReadsWithoutRewriting()
    {
        TempHome home;
        { Config first; }
        const QDateTime modified = QFileInfo(home.settingsFile()).lastModified();
        QTest::qWait(20);

        QString printed;
        std::unique_ptr<Config> config;
        printed = testsupport::captureStdout([&] { config = std::make_unique<Config>(); });
        QCOMPARE(printed, QString());
        QCOMPARE(QFileInfo(home.settingsFile()).lastModified(), modified);
        QCOMPARE(config->currentTheme(), "mini-graphite");
        QCOMPARE(config->trackTextSize(), 10); // from the installed theme file
        QCOMPARE(config->playlists().size(), 1);
    }

    void loadsEveryField_data()
    {
        QTest::addColumn<QString>("entry");
        QTest::addColumn<qint64>("selected");
        QTest::newRow("selection") << QStringLiteral("\"lastSelectedPlaylistID\": 2,") << qint64(2);
        QTest::newRow("no selection") << QString() << qint64(0);
        QTest::newRow("null selection") << QStringLiteral("\"lastSelectedPlaylistID\": null,") << qint64(0);
    }
    void loadsEveryField()
    {
        QFETCH(QString, entry);
        QFETCH(qint64, selected);
        TempHome home;
        testsupport::writeFile(home.settingsFile(), settingsJson(entry));
        Config config;
        QCOMPARE(config.currentTheme(), "neo-lime");
        QCOMPARE(config.availableThemes(), QStringList({"neo-lime", "mini-graphite"}));
        QCOMPARE(config.playsSounds(), false);
        QCOMPARE(config.superSized(), true);
        QCOMPARE(config.isFloating(), false);
        QCOMPARE(config.shuffleTracks(), true);
        QCOMPARE(config.loopTracks(), false);
        QCOMPARE(config.playlists().size(), 3);
        QCOMPARE(config.playlists()[1].name, "a");
        QCOMPARE(config.lastSelectedPlaylistID(), selected);
        QCOMPARE(config.currentPlaylistIndex(), selected);
        QCOMPARE(config.currentTrackIndex(), 0);
        // no Themes directory (a first start cut short): the built-in themes are installed
        // and the chosen one is read
        QCOMPARE(config.playerWidth(), 130.0);
    }

    // Every damaged file is treated as a first start, and its bytes are kept beside it.
    void damagedSettingsFile_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("message");
        QTest::newRow("not json") << QByteArray("{ not json") << "not valid JSON";
        QTest::newRow("truncated") << settingsJson().left(120) << "not valid JSON";
        QTest::newRow("missing loopTracks")
            << settingsJson().replace("\"loopTracks\": false,", "") << "\"loopTracks\"";
        QTest::newRow("null required key")
            << settingsJson().replace("\"superSized\": true", "\"superSized\": null") << "\"superSized\"";
        QTest::newRow("wrong type") << settingsJson().replace("\"playsSounds\": false", "\"playsSounds\": \"no\"")
                                    << "\"playsSounds\"";
        QTest::newRow("bad playlist id")
            << settingsJson().replace("6F1D2A64-0C3B-4F39-9B0A-3C5A4D2E1F02", "nope") << "playlists[2]";
        QTest::newRow("fractional index") << settingsJson(R"("lastSelectedPlaylistID": 1.5,)")
                                          << "\"lastSelectedPlaylistID\"";
        QTest::newRow("empty theme") << settingsJson().replace("\"currentTheme\": \"neo-lime\"", "\"currentTheme\": \"\"")
                                     << "";
        QTest::newRow("array") << QByteArray("[]") << "object";
    }
    void damagedSettingsFile()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, message);
        TempHome home;
        testsupport::writeFile(home.settingsFile(), bytes);
        std::unique_ptr<Config> config;
        const QString printed = testsupport::captureStdout([&] { config = std::make_unique<Config>(); });
        QVERIFY2(printed.contains(message), qPrintable(printed));
        QVERIFY(printed.endsWith("New playlist written successfully.\n"));
        QCOMPARE(config->currentTheme(), "mini-graphite");
        QCOMPARE(config->playlists().size(), 1);
        QCOMPARE(testsupport::readFile(home.settingsFile() + ".broken"), bytes);
        QCOMPARE(readJson(home.settingsFile())["playlists"].toArray().size(), 1);
    }

    void unknownKeysAreIgnoredAndDropped()
    {
        TempHome home;
        testsupport::writeFile(home.settingsFile(), settingsJson(R"("volume": 11, "extra": {"a": [1]},)"));
        Config config;
        QCOMPARE(config.currentTheme(), "neo-lime");
        config.saveSettings();
        QVERIFY(!readJson(home.settingsFile()).contains("volume"));
    }

    void saveSortsCatalogueByName()
    {
        TempHome home;
        testsupport::writeFile(home.settingsFile(), settingsJson());
        Config config;
        const QList<Playlist> inMemory = config.playlists();
        config.saveSettings();
        const QJsonArray written = readJson(home.settingsFile())["playlists"].toArray();
        QStringList names;
        for (const QJsonValue& p : written)
            names << p.toObject()["name"].toString();


        QCOMPARE(names, QStringList({"C", "a", "b"}));
        QCOMPARE(config.playlists(), inMemory);
        // ids are written in upper case whatever case they were read in
        QCOMPARE(written[1].toObject()["id"].toString(), "6F1D2A64-0C3B-4F39-9B0A-3C5A4D2E1F01");

        // keys in the order of the record
        const QByteArray text = testsupport::readFile(home.settingsFile());
        QVERIFY(text.indexOf("currentTheme") < text.indexOf("availableThemes"));
        QVERIFY(text.indexOf("loopTracks") < text.indexOf("lastSelectedPlaylistID"));
        QVERIFY(text.indexOf("lastSelectedPlaylistID") < text.indexOf("\"playlists\""));
    }

    void equalNamesKeepTheirOrder()
    {
        TempHome home;
        Config config;
        const QUuid first = QUuid::createUuid(), second = QUuid::createUuid(), third = QUuid::createUuid();
        config.setPlaylists({{first, "Same"}, {third, "\u00C9t\u00E9"}, {second, "Same"}, {QUuid::createUuid(), "E\u0301a"}});
        config.saveSettings();
        const QJsonArray written = readJson(home.settingsFile())["playlists"].toArray();
        // "E" + combining accent normalises to "É" and sorts with it, after "Same"
        QCOMPARE(written[0].toObject()["name"].toString(), "Same");
        QCOMPARE(written[0].toObject()["id"].toString(), uuidString(first));
        QCOMPARE(written[1].toObject()["id"].toString(), uuidString(second));
        QCOMPARE(written[2].toObject()["name"].toString(), "E\u0301a");
        QCOMPARE(written[3].toObject()["id"].toString(), uuidString(third));
    }

    void settersNotifyOnlyOnChange()
    {
        TempHome home;
        Config config;
        QSignalSpy loop(&config, &Config::loopTracksChanged);
        QSignalSpy geometry(&config, &Config::geometryChanged);
        config.setLoopTracks(config.loopTracks());
        config.setClosePos(config.closePos());
        config.setPlayerWidth(qQNaN());
        config.setPlayerWidth(qQNaN());
        config.setLoopTracks(!config.loopTracks());
        QCOMPARE(loop.count(), 1);
        QCOMPARE(geometry.count(), 1);
    }

    void atomicSaveKeepsOldFileWhenWriteFails()
    {
        if (::geteuid() == 0)
            QSKIP("root writes into read-only directories");
        TempHome home;
        Config config;
        const QByteArray before = testsupport::readFile(home.settingsFile());
        QFile::setPermissions(home.dataDir(), QFile::ReadOwner | QFile::ExeOwner);
        config.setLoopTracks(!config.loopTracks());
        const QString printed = testsupport::captureStdout([&] { config.saveSettings(); });
        QFile::setPermissions(home.dataDir(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QVERIFY(printed.startsWith("Failed to save JSON data: "));
        QCOMPARE(testsupport::readFile(home.settingsFile()), before);
    }
};

QTEST_GUILESS_MAIN(TestConfig)
#include "tst_config.moc"
