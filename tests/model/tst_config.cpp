#include "model/config.h"
#include "model/sequencing.h"
#include "support/testsupport.h"

#include <QtTest>

using namespace testsupport;

namespace {

const QString kWritten = QStringLiteral("New playlist written successfully.\n");

QByteArray settingsJson(const QString& extra = {})
{
    return QStringLiteral(
               R"({"currentTheme": "neo-lime", "availableThemes": ["neo-lime", "mini-graphite"],
  "playsSounds": false, "superSized": true, "isFloating": false, "shuffleTracks": true, "loopTracks": false, %1
  "playlists": [{"id": "6F1D2A64-0C3B-4F39-9B0A-3C5A4D2E1F00", "name": "b"},
    {"id": "6f1d2a64-0c3b-4f39-9b0a-3c5a4d2e1f01", "name": "a"}, {"id": "6F1D2A64-0C3B-4F39-9B0A-3C5A4D2E1F02", "name": "C"}]})")
        .arg(extra)
        .toUtf8();
}

// The top-level keys of a written file, in their order.
QStringList topLevelKeys(const QByteArray& text)
{
    QStringList keys;
    static const QRegularExpression key(QStringLiteral("^  \"(\\w+)\":"),
                                        QRegularExpression::MultilineOption);
    for (auto it = key.globalMatch(QString::fromUtf8(text)); it.hasNext();)
        keys << it.next().captured(1);
    return keys;
}

} // namespace

// Settings, the playlist catalogue and playlist files, and the order tracks play in.
// Every test runs in a private home of its own.
class TestConfig : public QObject {
    Q_OBJECT

    std::unique_ptr<TempHome> m_home;
    std::unique_ptr<Config> m_config;

    static QJsonObject json(const QString& path)
    {
        return QJsonDocument::fromJson(readFile(path)).object();
    }
    // Starts on the files as they are and returns what the start printed.
    QString start()
    {
        m_config.reset();
        return captureStdout([&] { m_config = std::make_unique<Config>(); });
    }
    // One field of every playlist in the catalogue as written.
    QStringList written(const char* key) const
    {
        QStringList values;
        for (const QJsonValue& p : json(m_home->settingsFile())["playlists"].toArray())
            values << p[key].toString();
        return values;
    }

private slots:
    void init()
    {
        m_config.reset();
        m_home.reset(); // the old home gives HOME back before the new one takes it
        m_home = std::make_unique<TempHome>();
    }

    // A first start writes every key, the optional ones too, and reads no theme file. (A second
    // start leaves the file alone: tst_commandline.)
    void firstStart()
    {
        QCOMPARE(start(), kWritten);
        const QJsonObject s = json(m_home->settingsFile());
        QCOMPARE(
            QVariantList({s.size(), s["currentTheme"].toString(),
                          s["lastSelectedPlaylistID"].toInt(-1), s["resumesPlayback"].toBool(true),
                          s["loudnessMode"].toString(), s["showsNotifications"].toBool(true),
                          m_config->trackTextSize(), m_config->playerWidth()}),
            QVariantList({12, "mini-graphite", 0, false, "off", false, qint64(9), 269.0}));
    }

    // Every field is read, the selection given, missing or null; unknown keys are not written
    // back. Without Themes (a first start cut short) they are installed and the chosen one read.
    void loadsEveryField_data()
    {
        QTest::addColumn<QString>("entry");
        QTest::addColumn<qint64>("selected");
        QTest::newRow("selection given") << "\"lastSelectedPlaylistID\": 2," << qint64(2);
        QTest::newRow("selection null") << "\"lastSelectedPlaylistID\": null," << qint64(0);
        QTest::newRow("selection missing, unknown keys")
            << R"("volume": 11, "extra": {"a": [1]},)" << qint64(0);
    }
    void loadsEveryField()
    {
        QFETCH(QString, entry);
        QFETCH(qint64, selected);
        writeFile(m_home->settingsFile(), settingsJson(entry));
        start();
        const Config& c = *m_config;
        QCOMPARE(
            QVariantList({c.currentTheme(), c.availableThemes(), c.playsSounds(), c.superSized(),
                          c.isFloating(), c.shuffleTracks(), c.loopTracks(), c.playlists().size(),
                          c.playlists().value(1).name, c.lastSelectedPlaylistID(),
                          c.currentPlaylistIndex(), c.currentTrackIndex(), c.playerWidth()}),
            QVariantList({"neo-lime", QStringList{"neo-lime", "mini-graphite"}, false, true, false,
                          true, false, qsizetype(3), "a", selected, selected, qint64(0), 130.0}));
        m_config->saveSettings();
        QVERIFY(!json(m_home->settingsFile()).contains("volume"));
    }

    // Options a file written before them lacks load with their defaults and the file stays as
    // it is; present, they load and are written back after the record's keys; null is default.
    void optionsBeyondTheRecord_data()
    {
        QTest::addColumn<QString>("entry");
        QTest::addColumn<bool>("resumes");
        QTest::addColumn<QString>("loudness");
        QTest::newRow("without them") << "" << false << "off";
        QTest::newRow("with them")
            << R"("loudnessMode": "album", "resumesPlayback": true,)" << true << "album";
        QTest::newRow("null") << R"("loudnessMode": null, "resumesPlayback": null,)" << false
                              << "off";
    }
    void optionsBeyondTheRecord()
    {
        QFETCH(QString, entry);
        QFETCH(bool, resumes);
        QFETCH(QString, loudness);
        const QByteArray file = settingsJson(entry);
        writeFile(m_home->settingsFile(), file);
        start();
        QCOMPARE(readFile(m_home->settingsFile()), file);
        QCOMPARE(QVariantList({m_config->resumesPlayback(), m_config->loudnessMode(),
                               m_config->playlists().size()}),
                 QVariantList({resumes, loudness, qsizetype(3)}));
        QSignalSpy changed(m_config.get(), &Config::loudnessModeChanged);
        m_config->setLoudnessMode(loudness);
        m_config->setLoudnessMode("track");
        m_config->saveSettings();
        QCOMPARE(changed.count(), 1);
        start();
        QCOMPARE(QVariantList({m_config->resumesPlayback(), m_config->loudnessMode()}),
                 QVariantList({resumes, "track"}));
    }

    // Every damaged file is treated as a first start and its bytes are kept beside it; the
    // printed line names what is wrong.
    void damagedSettingsFile_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("message");
        const QByteArray good = settingsJson();
        QTest::newRow("not JSON") << QByteArray("{ not json")
                                  << "dataCorrupted: The given data was not valid JSON. (";
        QTest::newRow("required key missing")
            << QByteArray(good).replace("\"loopTracks\": false,", "")
            << "keyNotFound: No value associated with key \"loopTracks\" (at loopTracks).";
        QTest::newRow("required key null")
            << QByteArray(good).replace("\"superSized\": true", "\"superSized\": null")
            << "valueNotFound: Expected a value for key \"superSized\" but found null instead (at "
               "superSized).";
        QTest::newRow("boolean of another type")
            << QByteArray(good).replace("\"playsSounds\": false", "\"playsSounds\": \"no\"")
            << "typeMismatch: Expected a boolean for key \"playsSounds\" but found another type "
               "instead (at playsSounds).";
        QTest::newRow("theme name of another type")
            << QByteArray(good).replace("[\"neo-lime\", ", "[7, ") << "(at availableThemes[0]).";
        QTest::newRow("bad playlist id")
            << QByteArray(good).replace("9B0A-3C5A4D2E1F02", "nope")
            << "UUID string \"6F1D2A64-0C3B-4F39-nope\" (at playlists[2].id).";
        QTest::newRow("playlist not an object")
            << QByteArray(good).replace(
                   "{\"id\": \"6F1D2A64-0C3B-4F39-9B0A-3C5A4D2E1F00\", \"name\": \"b\"}", "3")
            << "typeMismatch: Expected a playlist object (at playlists[0]).";
        QTest::newRow("selection with a fraction")
            << settingsJson(R"("lastSelectedPlaylistID": 1.5,)") << "an integer for key";
        QTest::newRow("optional key of another type")
            << settingsJson(R"("resumesPlayback": "yes",)")
            << "boolean for key \"resumesPlayback\"";
        QTest::newRow("empty theme name")
            << QByteArray(good).replace("\"neo-lime\", \"a", "\"\", \"a") << "";
        QTest::newRow("array") << QByteArray("[]") << "Expected a JSON object at the top level.";
        QTest::newRow("open brace") << QByteArray("{") << "";
    }
    void damagedSettingsFile()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, message);
        writeFile(m_home->settingsFile(), bytes);
        const QString printed = start(), copy = m_home->settingsFile() + ".broken";
        QVERIFY2(printed.contains(message) && printed.contains(copy) && printed.endsWith(kWritten),
                 qPrintable(printed));
        QCOMPARE(QVariantList({m_config->currentTheme(), m_config->playlists().size(),
                               written("id").size(), readFile(copy)}),
                 QVariantList({"mini-graphite", qsizetype(1), qsizetype(1), bytes}));
    }

    // No copy of a damaged file is overwritten; at most ten are kept, the first and the newest.
    void damagedCopiesAreKept()
    {
        const QString broken = m_home->settingsFile() + ".broken";
        for (int i = 0; i < 12; ++i) {
            writeFile(m_home->settingsFile(), QByteArray::number(i));
            start();
            QCOMPARE(readFile(i == 0 ? broken : broken + QString(".%1").arg(i + 1)),
                     QByteArray::number(i));
        }
        QVERIFY(readFile(broken) == "0" && !QFileInfo::exists(broken + ".2") &&
                readFile(broken + ".12") == "11");
        QCOMPARE(QDir(m_home->dataDir()).entryList({"*.broken*"}).size(), 10);
    }

    // A start without a usable settings file beside existing playlists leaves them exactly as
    // they are, unlisted: the catalogue is the defaults' and no playlist is made.
    void lostSettingsLeavePlaylistsAlone_data()
    {
        QTest::addColumn<QByteArray>("settings");
        QTest::newRow("deleted settings file") << QByteArray();
        QTest::newRow("undecodable settings file") << QByteArray("{\"currentTheme\": 7}");
    }
    void lostSettingsLeavePlaylistsAlone()
    {
        QFETCH(QByteArray, settings);
        start();
        m_config->createPlaylist();
        m_config->savePlaylist(m_config->playlists().at(0).id,
                               {{QUuid::createUuid(), "file:///a.mp3", "A", "B"}});
        const QString playlists = m_home->dataDir() + "/Playlists";
        const auto before = snapshot(playlists);
        QCOMPARE(before.size(), 2);
        QVERIFY(settings.isNull() ? QFile::remove(m_home->settingsFile())
                                  : writeFile(m_home->settingsFile(), settings));
        const QString printed = start();
        QVERIFY2(!printed.contains("New playlist written successfully."), qPrintable(printed));
        QCOMPARE(snapshot(playlists), before);
        QCOMPARE(
            QDir(playlists)
                .entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot)
                .size(),
            2);
        QVERIFY(m_config->playlists().isEmpty() && written("id").isEmpty());
        QCOMPARE(json(m_home->settingsFile())["currentTheme"].toString(), "mini-graphite");
    }

    // A staged Playlists a first start cut short left: moved in when the settings list its
    // playlist, else undone; beside an existing Playlists it is a leftover.
    void stagedPlaylists_data()
    {
        QTest::addColumn<bool>("listed");
        QTest::addColumn<bool>("playlistsExist");
        QTest::newRow("settings written, not moved") << true << false;
        QTest::newRow("settings not written") << false << false;
        QTest::newRow("left over beside Playlists") << true << true;
    }
    void stagedPlaylists()
    {
        QFETCH(bool, listed);
        QFETCH(bool, playlistsExist);
        const QString staged = m_home->dataDir() + "/.Playlists.staging",
                      playlists = m_home->dataDir() + "/Playlists";
        const QByteArray empty = "{\n  \"tracks\": []\n}";
        const QString file = "6F1D2A64-0C3B-4F39-9B0A-3C5A4D2E1F00.json";
        writeFile(staged + "/" + file, empty);
        if (listed)
            writeFile(m_home->settingsFile(), settingsJson());
        if (playlistsExist)
            writeFile(playlists + "/mine.json", "mine");
        const QString printed = start();
        QVERIFY(!QFileInfo::exists(staged));
        const QStringList files = QDir(playlists).entryList(QDir::Files);
        if (playlistsExist)
            QCOMPARE(files, QStringList{"mine.json"});
        else if (listed)
            QVERIFY(files == QStringList{file} && readFile(playlists + "/" + file) == empty &&
                    m_config->playlists().size() == 3);
        else // a first start made afresh
            QVERIFY(printed.endsWith(kWritten) &&
                    files == QStringList{uuidString(m_config->playlists().value(0).id) + ".json"});
    }

    // The catalogue is written sorted by name (code points of the composed form, so "E" and a
    // combining accent sort as "É"); equal names keep their order and memory keeps its own.
    // Ids are written in upper case whatever case they were read in, the keys in their order.
    void catalogueIsWrittenSortedByName()
    {
        writeFile(m_home->settingsFile(), settingsJson());
        start();
        const QUuid first = QUuid::createUuid(), second = QUuid::createUuid();
        const QList<Playlist> inMemory = m_config->playlists()
                                         << Playlist{first, "Same"}
                                         << Playlist{QUuid::createUuid(), "\u00C9t\u00E9"}
                                         << Playlist{second, "Same"}
                                         << Playlist{QUuid::createUuid(), "E\u0301a"};
        m_config->setPlaylists(inMemory);
        m_config->saveSettings();
        QCOMPARE(m_config->playlists(), inMemory);
        QCOMPARE(written("name"),
                 QStringList({"C", "Same", "Same", "a", "b", "E\u0301a", "\u00C9t\u00E9"}));
        QCOMPARE(written("id").mid(1, 3), QStringList({uuidString(first), uuidString(second),
                                                       "6F1D2A64-0C3B-4F39-9B0A-3C5A4D2E1F01"}));
        // the record's keys in their order, the optional ones after them
        QCOMPARE(
            topLevelKeys(readFile(m_home->settingsFile())),
            QStringList({"currentTheme", "availableThemes", "playsSounds", "superSized",
                         "isFloating", "shuffleTracks", "loopTracks", "lastSelectedPlaylistID",
                         "playlists", "resumesPlayback", "loudnessMode", "showsNotifications"}));
    }

    // Creating and deleting playlists: catalogue and files follow, the selection goes to the first.
    void playlistsAreCreatedAndDeleted()
    {
        start();
        Config& c = *m_config;
        const Playlist only = c.playlists().first();
        // deleting the only playlist leaves a fresh one
        QCOMPARE(captureStdout([&] { c.deletePlaylist(only.id); }), kWritten);
        QVERIFY(c.playlists().size() == 1 && c.playlists().first().id != only.id &&
                !QFile::exists(c.playlistFileURL(only.id)));
        QCOMPARE(written("id"), QStringList{uuidString(c.playlists().first().id)});

        c.setLastSelectedPlaylistID(3);
        QSignalSpy saved(&c, &Config::playlistSaved);
        c.createPlaylist();
        // two playlists may share the name "Untitled"
        QVERIFY(c.playlists().size() == 2 && c.playlists()[0].id != c.playlists()[1].id &&
                QFile::exists(c.playlistFileURL(c.playlists()[1].id)));
        QCOMPARE(written("name"), QStringList({"Untitled", "Untitled"}));
        QCOMPARE(QVariantList({c.lastSelectedPlaylistID(), saved.count()}),
                 QVariantList({qint64(0), 1}));

        // an id the catalogue does not hold: only its stray file goes
        const QUuid stray = QUuid::createUuid();
        writeFile(c.playlistFileURL(stray), "{\"tracks\": []}");
        c.setLastSelectedPlaylistID(1);
        const QByteArray before = readFile(m_home->settingsFile());
        c.deletePlaylist(stray);
        QVERIFY(!QFile::exists(c.playlistFileURL(stray)));
        QCOMPARE(QVariantList({c.playlists().size(), c.lastSelectedPlaylistID()}),
                 QVariantList({qsizetype(2), qint64(0)}));
        QCOMPARE(readFile(m_home->settingsFile()), before);
    }

    // The order tracks play in: the end wraps only with loop and a stale index stays unless loop
    // restarts; previous always wraps (over three tracks); shuffle never picks the current one.
    void steps_data()
    {
        QTest::addColumn<bool>("back");
        QTest::addColumn<int>("count");
        QTest::addColumn<int>("index");
        QTest::addColumn<bool>("loop");
        QTest::addColumn<int>("next");
        QTest::newRow("last wraps with loop") << false << 3 << 2 << true << 0;
        QTest::newRow("last stays without loop") << false << 3 << 2 << false << 2;
        QTest::newRow("first moves on") << false << 3 << 0 << false << 1;
        QTest::newRow("stale index stays without loop") << false << 2 << 5 << false << 5;
        QTest::newRow("back: first wraps") << true << 3 << 0 << false << 2;
        QTest::newRow("back: stale index past the end") << true << 3 << 7 << false << 0;
        QTest::newRow("back: stale index below zero") << true << 3 << -9 << false << 2;
    }
    void steps()
    {
        QFETCH(bool, back);
        QFETCH(int, count);
        QFETCH(int, index);
        QFETCH(bool, loop);
        QFETCH(int, next);
        QCOMPARE(back ? sequencing::previous(count, index)
                      : sequencing::next(count, index, false, loop),
                 next);
    }

    void shuffleDrawsEveryOtherTrack()
    {
        QCOMPARE(sequencing::next(1, 0, true, true), 0);
        QSet<qint64> drawn; // a track is missed 200 times in a row once in 10^24 runs
        for (int i = 0; i < 200; ++i)
            drawn << sequencing::next(5, 2, true, false);
        QCOMPARE(drawn, QSet<qint64>({0, 1, 3, 4}));
    }

    // A playlist file that does not decode reads as empty, with one line naming the key, and
    // stays as it was; a missing one reads as empty without a word.
    void unreadablePlaylistFile_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("message");
        const QByteArray good =
            "{\"tracks\": [{\"id\": \"6F1D2A64-0C3B-4F39-9B0A-3C5A4D2E1F00\", "
            "\"urlString\": \"file:///a.mp3\", \"trackName\": \"A\", \"artist\": \"B\"}]}";
        QTest::newRow("artist missing")
            << QByteArray(good).replace(", \"artist\": \"B\"", "")
            << "keyNotFound: No value associated with key \"artist\" (at tracks[0].artist).";
        QTest::newRow("track name null")
            << QByteArray(good).replace("\"A\"", "null") << "(at tracks[0].trackName).";
        QTest::newRow("location a number")
            << QByteArray(good).replace("\"file:///a.mp3\"", "7") << "(at tracks[0].urlString).";
        QTest::newRow("track not an object")
            << QByteArray("{\"tracks\": [[]]}") << "Expected a track object (at tracks[0]).";
        QTest::newRow("no tracks") << QByteArray("{}") << "key \"tracks\" (at tracks).";
        QTest::newRow("not JSON") << QByteArray("\x00\xff garbage", 10) << "not valid JSON";
        QTest::newRow("missing file") << QByteArray() << "";
    }
    void unreadablePlaylistFile()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, message);
        start();
        const Playlist p{QUuid::createUuid(), "p"};
        if (!bytes.isNull())
            writeFile(m_config->playlistFileURL(p.id), bytes);
        QList<Track> tracks{Track{}};
        const QString printed = captureStdout([&] { tracks = m_config->loadTracks(p); });
        QVERIFY2(tracks.isEmpty() && printed.contains(message) &&
                     printed.count('\n') == (bytes.isNull() ? 0 : 1),
                 qPrintable(printed + message));
        QCOMPARE(readFile(m_config->playlistFileURL(p.id)), bytes);
    }

    // Tracks come back from their file as saved. Config moves its index by the rules above
    // over the current playlist, and not at all over an empty or missing one.
    void playlistFiles()
    {
        start();
        Config& c = *m_config;
        const Playlist p = c.playlists().first();
        const QList<Track> tracks = {
            {QUuid::createUuid(), "file:///Music/My%20Song.mp3", "My Song", "Somebody"},
            {QUuid::createUuid(), "file:///Music/%C3%A9t%C3%A9.flac", "\u00E9t\u00E9 \U0001F3B5",
             ""}};
        c.savePlaylist(p.id, tracks);
        QCOMPARE(c.loadTracks(p), tracks);
        c.nextTrack();
        QCOMPARE(c.currentTrackIndex(), 1);
        c.previousTrack();
        QCOMPARE(c.currentTrackIndex(), 0);
        // a file removed by hand is seen by the watcher
        QFile::remove(c.playlistFileURL(p.id));
        QTRY_VERIFY(c.currentTracks().isEmpty());
        c.setCurrentTrackIndex(1);
        c.nextTrack();
        c.previousTrack();
        QCOMPARE(c.currentTrackIndex(), 1);
        for (qint64 index : {7, -1}) {
            c.setCurrentPlaylistIndex(index);
            QVERIFY(!c.currentPlaylist() && c.currentTracks().isEmpty());
        }
        c.setCurrentPlaylistIndex(0);
        c.setPlaylists({});
        c.nextTrack();
        QCOMPARE(c.currentTrackIndex(), 1);
        c.savePlaylist(p.id, {});
        QCOMPARE(json(c.playlistFileURL(p.id))["tracks"].toArray().size(), 0);
    }
};

QTEST_GUILESS_MAIN(TestConfig)
#include "tst_config.moc"
