#include "model/config.h"
#include "model/sequencing.h"
#include "support/testsupport.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSignalSpy>
#include <QtTest>

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

QByteArray goodPlaylist()
{
    return "{\"tracks\": [{\"id\": \"6F1D2A64-0C3B-4F39-9B0A-3C5A4D2E1F00\", "
           "\"urlString\": \"file:///a.mp3\", \"trackName\": \"A\", \"artist\": \"B\"}]}";
}

} // namespace

// Settings, the playlist catalogue and playlist files, and the order tracks play in.
class TestConfig : public QObject {
    Q_OBJECT

    // the playlist tests' private data directory, made on first use in each test
    std::unique_ptr<TempHome> m_home;
    std::unique_ptr<Config> m_config;
    Config& store()
    {
        if (!m_config) {
            m_home = std::make_unique<TempHome>();
            m_config = std::make_unique<Config>();
        }
        return *m_config;
    }

    QJsonArray writtenCatalogue() const
    {
        return readJson(m_home->settingsFile())["playlists"].toArray();
    }

private slots:
    void cleanup()
    {
        m_config.reset();
        m_home.reset();
    }

    void firstAndSecondStart()
    {
        TempHome home;
        std::unique_ptr<Config> config;
        QString printed = testsupport::captureStdout([&] { config = std::make_unique<Config>(); });
        QCOMPARE(printed, QStringLiteral("New playlist written successfully.\n"));
        // the files themselves are checked against the real executable in tst_commandline
        const QJsonObject settings = readJson(home.settingsFile());
        QCOMPARE(settings.keys().size(), 9);
        QCOMPARE(settings["currentTheme"].toString(), "mini-graphite");
        QCOMPARE(settings["lastSelectedPlaylistID"].toInt(-1), 0);
        const QString id = settings["playlists"].toArray()[0].toObject()["id"].toString();
        QCOMPARE(id, id.toUpper());
        // a first start reads no theme file: text sizes keep the defaults
        QCOMPARE(config->trackTextSize(), 9);
        QCOMPARE(config->playerWidth(), 269.0);

        // the second start reads without rewriting, and reads the installed theme file
        const QDateTime modified = QFileInfo(home.settingsFile()).lastModified();
        QTest::qWait(20);
        config.reset();
        printed = testsupport::captureStdout([&] { config = std::make_unique<Config>(); });
        QCOMPARE(printed, QString());
        QCOMPARE(QFileInfo(home.settingsFile()).lastModified(), modified);
        QCOMPARE(config->trackTextSize(), 10);
        QCOMPARE(config->playlists().size(), 1);
    }

    void loadsEveryField_data()
    {
        QTest::addColumn<QString>("entry");
        QTest::addColumn<qint64>("selected");
        QTest::newRow("selection") << QStringLiteral("\"lastSelectedPlaylistID\": 2,") << qint64(2);
        QTest::newRow("no selection") << QString() << qint64(0);
        QTest::newRow("null selection") << QStringLiteral("\"lastSelectedPlaylistID\": null,") << qint64(0);
        QTest::newRow("unknown keys") << QStringLiteral(R"("volume": 11, "extra": {"a": [1]},)") << qint64(0);
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
        // unknown keys are not written back
        config.saveSettings();
        QVERIFY(!readJson(home.settingsFile()).contains("volume"));
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

    // Playlists
    void createAppendsAndSaves()
    {
        store().setLastSelectedPlaylistID(3);
        QSignalSpy saved(m_config.get(), &Config::playlistSaved);
        store().createPlaylist();
        QCOMPARE(store().lastSelectedPlaylistID(), 0);
        QCOMPARE(store().playlists().size(), 2);
        // two playlists may share the name "Untitled"
        QCOMPARE(store().playlists()[1].name, "Untitled");
        QVERIFY(store().playlists()[0].id != store().playlists()[1].id);
        QCOMPARE(writtenCatalogue().size(), 2);
        QCOMPARE(saved.count(), 1);
        QVERIFY(QFile::exists(store().playlistFileURL(store().playlists()[1].id)));
    }

    void deletingTheOnlyPlaylistLeavesAFreshOne()
    {
        const Playlist only = store().playlists().first();
        const QString printed = testsupport::captureStdout([&] { store().deletePlaylist(only.id); });
        QCOMPARE(printed, QStringLiteral("New playlist written successfully.\n"));
        QCOMPARE(store().playlists().size(), 1);
        QVERIFY(store().playlists().first().id != only.id);
        QVERIFY(!QFile::exists(store().playlistFileURL(only.id)));
        QCOMPARE(writtenCatalogue().size(), 1);
        QCOMPARE(writtenCatalogue()[0].toObject()["id"].toString(), uuidString(store().playlists().first().id));
    }

    void deletingAnUnknownIdRemovesOnlyItsFile()
    {
        store().createPlaylist(); // with one playlist a replacement would be made first
        const QUuid stray = QUuid::createUuid();
        testsupport::writeFile(store().playlistFileURL(stray), "{\"tracks\": []}");
        store().setLastSelectedPlaylistID(1);
        const QByteArray before = testsupport::readFile(m_home->settingsFile());
        store().deletePlaylist(stray);
        QVERIFY(!QFile::exists(store().playlistFileURL(stray)));
        QCOMPARE(store().playlists().size(), 2);
        QCOMPARE(store().lastSelectedPlaylistID(), 0);
        QCOMPARE(testsupport::readFile(m_home->settingsFile()), before);
    }

    void tracksRoundTrip()
    {
        const Playlist p = store().playlists().first();
        const QList<Track> tracks = {
            {QUuid::createUuid(), "file:///Music/My%20Song.mp3", "My Song", "Somebody"},
            {QUuid::createUuid(), "file:///Music/%C3%A9t%C3%A9.flac", "\u00E9t\u00E9 \U0001F3B5", ""},
        };
        store().savePlaylist(p.id, tracks);
        QCOMPARE(store().loadTracks(p), tracks);
        store().savePlaylist(p.id, {});
        QCOMPARE(QJsonDocument::fromJson(testsupport::readFile(store().playlistFileURL(p.id)))
                     .object()["tracks"].toArray().size(), 0);
    }

    void undecodableFileReadsEmptyAndNamesTheKey_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("message");
        const QByteArray good = goodPlaylist();
        QTest::newRow("missing artist") << QByteArray(good).replace(", \"artist\": \"B\"", "") << "tracks[0].artist";
        QTest::newRow("null name") << QByteArray(good).replace("\"A\"", "null") << "tracks[0].trackName";
        QTest::newRow("number url") << QByteArray(good).replace("\"file:///a.mp3\"", "7") << "tracks[0].urlString";
        QTest::newRow("no tracks") << QByteArray("{}") << "\"tracks\"";
        QTest::newRow("garbage") << QByteArray("\x00\xff garbage", 10) << "not valid JSON";
    }
    void undecodableFileReadsEmptyAndNamesTheKey()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, message);
        const Playlist p = store().playlists().first();
        testsupport::writeFile(store().playlistFileURL(p.id), bytes);
        QList<Track> tracks{Track{}};
        const QString printed = testsupport::captureStdout([&] { tracks = store().loadTracks(p); });
        QVERIFY(tracks.isEmpty());
        QVERIFY2(printed.contains(message), qPrintable(printed));
        QCOMPARE(printed.count('\n'), 1);
        // the file is left as it was
        QCOMPARE(testsupport::readFile(store().playlistFileURL(p.id)), bytes);
    }

    void missingFileReadsEmptySilently()
    {
        const Playlist ghost{QUuid::createUuid(), "ghost"};
        Config& config = store();
        QList<Track> tracks{Track{}};
        QCOMPARE(testsupport::captureStdout([&] { tracks = config.loadTracks(ghost); }), QString());
        QVERIFY(tracks.isEmpty());
    }

    void currentPlaylistOutOfRangeIsEmpty()
    {
        store().setCurrentPlaylistIndex(7);
        QVERIFY(!store().currentPlaylist());
        QVERIFY(store().currentTracks().isEmpty());
        store().setCurrentPlaylistIndex(-1);
        QVERIFY(store().currentTracks().isEmpty());
    }

    // The order tracks play in
    void steps_data()
    {
        QTest::addColumn<int>("n");
        QTest::addColumn<int>("index");
        QTest::addColumn<bool>("shuffle");
        QTest::addColumn<bool>("loop");
        QTest::addColumn<bool>("forward");
        QTest::addColumn<int>("expected");
        QTest::newRow("next wraps with loop") << 3 << 2 << false << true << true << 0;
        QTest::newRow("next stays at end without loop") << 3 << 2 << false << false << true << 2;
        QTest::newRow("next moves on") << 3 << 0 << false << false << true << 1;
        QTest::newRow("previous wraps, loop off") << 3 << 0 << false << false << false << 2;
        QTest::newRow("previous wraps, shuffle on") << 3 << 0 << true << false << false << 2;
        QTest::newRow("shuffle of one stays") << 1 << 0 << true << true << true << 0;
        QTest::newRow("shuffle of two from 0") << 2 << 0 << true << true << true << 1;
        QTest::newRow("shuffle of two from 1") << 2 << 1 << true << false << true << 0;
        QTest::newRow("stale index next") << 2 << 5 << false << false << true << 5;
        QTest::newRow("stale index next, loop") << 2 << 5 << false << true << true << 0;
        QTest::newRow("stale index previous") << 3 << 7 << false << false << false << 0;
        QTest::newRow("negative stale index previous") << 3 << -9 << false << false << false << 2;
    }
    void steps()
    {
        QFETCH(int, n);
        QFETCH(int, index);
        QFETCH(bool, shuffle);
        QFETCH(bool, loop);
        QFETCH(bool, forward);
        QFETCH(int, expected);
        const qint64 to = forward ? sequencing::next(n, index, shuffle, loop) : sequencing::previous(n, index);
        QCOMPARE(to, expected);
    }

    void shuffleIsUniformAndNeverRepeats()
    {
        constexpr int draws = 4000;
        QList<int> counts(5, 0);
        for (int i = 0; i < draws; ++i)
            ++counts[int(sequencing::next(5, 2, true, false))];
        QCOMPARE(counts[2], 0);
        // each of the other four expects 1000; a 5-sigma band is about +-137
        for (int i : {0, 1, 3, 4})
            QVERIFY2(qAbs(counts[i] - draws / 4) < 160, qPrintable(QString::number(counts[i])));
    }

    // Config moves its index by these rules over the current playlist, and not at all over
    // an empty or missing one.
    void configFollowsTheCurrentPlaylist()
    {
        testsupport::TempHome home;
        Config config;
        const QUuid id = config.playlists().first().id;
        config.savePlaylist(id, {Track{QUuid::createUuid(), "file:///a.wav", "A", "B"},
                                 Track{QUuid::createUuid(), "file:///b.wav", "A", "B"}});
        config.nextTrack();
        QCOMPARE(config.currentTrackIndex(), 1);
        config.previousTrack();
        QCOMPARE(config.currentTrackIndex(), 0);
        // a file removed by hand is seen by the watcher
        QFile::remove(config.playlistFileURL(id));
        QTRY_VERIFY(config.currentTracks().isEmpty());
        config.setCurrentTrackIndex(1);
        config.nextTrack();
        config.previousTrack();
        QCOMPARE(config.currentTrackIndex(), 1);
        config.setPlaylists({});
        config.nextTrack();
        QCOMPARE(config.currentTrackIndex(), 1);
    }
};

QTEST_GUILESS_MAIN(TestConfig)
#include "tst_config.moc"
