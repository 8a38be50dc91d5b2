#include "model/config.h"
#include "model/sequencing.h"
#include "support/testsupport.h"

#include <QtTest>

using testsupport::captureStdout;
using testsupport::readFile;
using testsupport::writeFile;

namespace {

const QString kWritten = QStringLiteral("New playlist written successfully.\n");

QJsonObject readJson(const QString& path)
{
    return QJsonDocument::fromJson(readFile(path)).object();
}

QByteArray settingsJson(const QString& extra = {})
{
    return QStringLiteral(R"({"currentTheme": "neo-lime", "availableThemes": ["neo-lime", "mini-graphite"],
  "playsSounds": false, "superSized": true, "isFloating": false, "shuffleTracks": true, "loopTracks": false, %1
  "playlists": [{"id": "6F1D2A64-0C3B-4F39-9B0A-3C5A4D2E1F00", "name": "b"},
    {"id": "6f1d2a64-0c3b-4f39-9b0a-3c5a4d2e1f01", "name": "a"}, {"id": "6F1D2A64-0C3B-4F39-9B0A-3C5A4D2E1F02", "name": "C"}]})")
        .arg(extra).toUtf8();
}

} // namespace

// Settings, the playlist catalogue and playlist files, and the order tracks play in.
// Every test runs in a private home of its own.
class TestConfig : public QObject {
    Q_OBJECT

    std::unique_ptr<testsupport::TempHome> m_home;
    std::unique_ptr<Config> m_config;

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
        for (const QJsonValue& p : readJson(m_home->settingsFile())["playlists"].toArray())
            values << p[key].toString();
        return values;
    }

private slots:
    void init()
    {
        m_config.reset();
        m_home.reset(); // the old home gives HOME back before the new one takes it
        m_home = std::make_unique<testsupport::TempHome>();
    }

    void firstAndSecondStart()
    {
        QCOMPARE(start(), kWritten);
        // the files themselves are checked against the real executable in tst_commandline
        const QJsonObject settings = readJson(m_home->settingsFile());
        QCOMPARE(settings.keys().size(), 9);
        QCOMPARE(settings["currentTheme"].toString(), "mini-graphite");
        QCOMPARE(settings["lastSelectedPlaylistID"].toInt(-1), 0);
        const QString id = settings["playlists"][0]["id"].toString();
        QCOMPARE(id, id.toUpper());
        // a first start reads no theme file: the geometry keeps its defaults
        QCOMPARE(m_config->trackTextSize(), 9);
        QCOMPARE(m_config->playerWidth(), 269.0);

        // the second start reads without rewriting, and reads the installed theme file
        const QDateTime modified = QFileInfo(m_home->settingsFile()).lastModified();
        QTest::qWait(20);
        QCOMPARE(start(), QString());
        QCOMPARE(QFileInfo(m_home->settingsFile()).lastModified(), modified);
        QCOMPARE(m_config->trackTextSize(), 10);
        QCOMPARE(m_config->playlists().size(), 1);
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
        writeFile(m_home->settingsFile(), settingsJson(entry));
        start();
        const Config& c = *m_config;
        QCOMPARE(QVariantList({c.currentTheme(), c.availableThemes(), c.playsSounds(), c.superSized(), c.isFloating(), c.shuffleTracks(),
                               c.loopTracks(), c.playlists().size(), c.playlists().value(1).name, c.lastSelectedPlaylistID(),
                               c.currentPlaylistIndex(), c.currentTrackIndex()}),
                 QVariantList({"neo-lime", QStringList{"neo-lime", "mini-graphite"}, false, true, false, true, false, qsizetype(3), "a",
                               selected, selected, qint64(0)}));
        // no Themes directory (a first start cut short): the built-in themes are installed
        // and the chosen one is read
        QCOMPARE(c.playerWidth(), 130.0);
        // unknown keys are not written back
        m_config->saveSettings();
        QVERIFY(!readJson(m_home->settingsFile()).contains("volume"));
    }

    // Every damaged file is treated as a first start, and its bytes are kept beside it.
    void damagedSettingsFile_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("message");
        const QByteArray good = settingsJson();
        QTest::newRow("not json") << QByteArray("{ not json") << "not valid JSON";
        QTest::newRow("truncated") << good.left(120) << "not valid JSON";
        QTest::newRow("missing loopTracks") << QByteArray(good).replace("\"loopTracks\": false,", "") << "\"loopTracks\"";
        QTest::newRow("null required key") << QByteArray(good).replace("\"superSized\": true", "\"superSized\": null") << "\"superSized\"";
        QTest::newRow("wrong type") << QByteArray(good).replace("\"playsSounds\": false", "\"playsSounds\": \"no\"") << "\"playsSounds\"";
        QTest::newRow("bad playlist id") << QByteArray(good).replace("9B0A-3C5A4D2E1F02", "nope") << "playlists[2]";
        QTest::newRow("fractional index") << settingsJson(R"("lastSelectedPlaylistID": 1.5,)") << "\"lastSelectedPlaylistID\"";
        QTest::newRow("empty theme") << QByteArray(good).replace("\"currentTheme\": \"neo-lime\"", "\"currentTheme\": \"\"") << "";
        QTest::newRow("array") << QByteArray("[]") << "object";
    }
    void damagedSettingsFile()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, message);
        writeFile(m_home->settingsFile(), bytes);
        const QString printed = start();
        QVERIFY2(printed.contains(message) && printed.endsWith(kWritten), qPrintable(printed));
        QCOMPARE(m_config->currentTheme(), "mini-graphite");
        QCOMPARE(m_config->playlists().size(), 1);
        QCOMPARE(readFile(m_home->settingsFile() + ".broken"), bytes);
        QCOMPARE(written("id").size(), 1);
    }

    // The catalogue is written sorted by name (code points of the composed form, so "E" and a
    // combining accent sort as "É"); equal names keep their order and memory keeps its own.
    void catalogueIsWrittenSortedByName()
    {
        writeFile(m_home->settingsFile(), settingsJson());
        start();
        const QUuid first = QUuid::createUuid(), second = QUuid::createUuid();
        const QList<Playlist> inMemory = m_config->playlists() << Playlist{first, "Same"}
            << Playlist{QUuid::createUuid(), "\u00C9t\u00E9"} << Playlist{second, "Same"} << Playlist{QUuid::createUuid(), "E\u0301a"};
        m_config->setPlaylists(inMemory);
        m_config->saveSettings();
        QCOMPARE(m_config->playlists(), inMemory);
        QCOMPARE(written("name"), QStringList({"C", "Same", "Same", "a", "b", "E\u0301a", "\u00C9t\u00E9"}));
        // ids are written in upper case whatever case they were read in
        QCOMPARE(written("id").mid(1, 3), QStringList({uuidString(first), uuidString(second), "6F1D2A64-0C3B-4F39-9B0A-3C5A4D2E1F01"}));
        // keys in the order of the record
        const QByteArray text = readFile(m_home->settingsFile());
        QVERIFY(text.indexOf("currentTheme") < text.indexOf("availableThemes") && text.indexOf("loopTracks") < text.indexOf("lastSelectedPlaylistID")
                && text.indexOf("lastSelectedPlaylistID") < text.indexOf("\"playlists\""));
    }

    // A value set again, or NaN over NaN, is no change: the window is not laid out again.
    void settersNotifyOnlyOnChange()
    {
        start();
        Config& c = *m_config;
        QSignalSpy loop(&c, &Config::loopTracksChanged), geometry(&c, &Config::geometryChanged);
        c.setLoopTracks(c.loopTracks());
        c.setClosePos(c.closePos());
        for (int i = 0; i < 2; ++i)
            c.setPlayerWidth(qQNaN());
        c.setLoopTracks(!c.loopTracks());
        QCOMPARE(loop.count(), 1);
        QCOMPARE(geometry.count(), 1);
    }

    // Creating and deleting playlists: the catalogue and the files follow at once, and the
    // selection goes back to the first playlist.
    void playlistsAreCreatedAndDeleted()
    {
        start();
        Config& c = *m_config;
        const Playlist only = c.playlists().first();
        // deleting the only playlist leaves a fresh one
        QCOMPARE(captureStdout([&] { c.deletePlaylist(only.id); }), kWritten);
        QVERIFY(c.playlists().size() == 1 && c.playlists().first().id != only.id);
        QVERIFY(!QFile::exists(c.playlistFileURL(only.id)));
        QCOMPARE(written("id"), QStringList{uuidString(c.playlists().first().id)});

        c.setLastSelectedPlaylistID(3);
        QSignalSpy saved(&c, &Config::playlistSaved);
        c.createPlaylist();
        QCOMPARE(c.lastSelectedPlaylistID(), 0);
        // two playlists may share the name "Untitled"
        QVERIFY(c.playlists().size() == 2 && c.playlists()[0].id != c.playlists()[1].id);
        QCOMPARE(written("name"), QStringList({"Untitled", "Untitled"}));
        QCOMPARE(saved.count(), 1);
        QVERIFY(QFile::exists(c.playlistFileURL(c.playlists()[1].id)));

        // an id the catalogue does not hold: only its stray file goes
        const QUuid stray = QUuid::createUuid();
        writeFile(c.playlistFileURL(stray), "{\"tracks\": []}");
        c.setLastSelectedPlaylistID(1);
        const QByteArray before = readFile(m_home->settingsFile());
        c.deletePlaylist(stray);
        QVERIFY(!QFile::exists(c.playlistFileURL(stray)));
        QCOMPARE(c.playlists().size(), 2);
        QCOMPARE(c.lastSelectedPlaylistID(), 0);
        QCOMPARE(readFile(m_home->settingsFile()), before);
    }

    void tracksRoundTrip()
    {
        start();
        const Playlist p = m_config->playlists().first();
        const QList<Track> tracks = {{QUuid::createUuid(), "file:///Music/My%20Song.mp3", "My Song", "Somebody"},
                                     {QUuid::createUuid(), "file:///Music/%C3%A9t%C3%A9.flac", "\u00E9t\u00E9 \U0001F3B5", ""}};
        m_config->savePlaylist(p.id, tracks);
        QCOMPARE(m_config->loadTracks(p), tracks);
        m_config->savePlaylist(p.id, {});
        QCOMPARE(readJson(m_config->playlistFileURL(p.id))["tracks"].toArray().size(), 0);
    }

    // A playlist file that does not decode reads as empty with one line naming the key, and
    // is left as it was; a missing one reads as empty without a word.
    void undecodablePlaylistFile_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("message");
        const QByteArray good = "{\"tracks\": [{\"id\": \"6F1D2A64-0C3B-4F39-9B0A-3C5A4D2E1F00\", "
                                "\"urlString\": \"file:///a.mp3\", \"trackName\": \"A\", \"artist\": \"B\"}]}";
        QTest::newRow("missing artist") << QByteArray(good).replace(", \"artist\": \"B\"", "") << "tracks[0].artist";
        QTest::newRow("null name") << QByteArray(good).replace("\"A\"", "null") << "tracks[0].trackName";
        QTest::newRow("number url") << QByteArray(good).replace("\"file:///a.mp3\"", "7") << "tracks[0].urlString";
        QTest::newRow("no tracks") << QByteArray("{}") << "\"tracks\"";
        QTest::newRow("garbage") << QByteArray("\x00\xff garbage", 10) << "not valid JSON";
        QTest::newRow("missing file") << QByteArray() << "";
    }
    void undecodablePlaylistFile()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, message);
        start();
        const Playlist p{QUuid::createUuid(), "p"};
        if (!bytes.isNull())
            writeFile(m_config->playlistFileURL(p.id), bytes);
        QList<Track> tracks{Track{}};
        const QString printed = captureStdout([&] { tracks = m_config->loadTracks(p); });
        QVERIFY(tracks.isEmpty());
        QVERIFY2(printed.contains(message) && printed.count('\n') == (bytes.isNull() ? 0 : 1), qPrintable(printed));
        QCOMPARE(readFile(m_config->playlistFileURL(p.id)), bytes);
    }

    // The order tracks play in: the end wraps only with loop and a stale index stays unless loop
    // restarts; previous always wraps; shuffle never repeats the current track, evenly.
    void steps()
    {
        const struct { int n, index; bool shuffle, loop; int expected; } nexts[] = {
            {3, 2, false, true, 0}, {3, 2, false, false, 2}, {3, 0, false, false, 1}, {2, 5, false, false, 5},
            {2, 5, false, true, 0}, {1, 0, true, true, 0}, {2, 0, true, true, 1}, {2, 1, true, false, 0}};
        for (const auto& c : nexts)
            QVERIFY2(sequencing::next(c.n, c.index, c.shuffle, c.loop) == c.expected, qPrintable(QString("next of %1 in %2").arg(c.index).arg(c.n)));
        for (auto [index, expected] : {std::pair{0, 2}, {7, 0}, {-9, 2}})
            QVERIFY2(sequencing::previous(3, index) == expected, qPrintable(QString("previous of %1").arg(index)));

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
        start();
        Config& c = *m_config;
        const QUuid id = c.playlists().first().id;
        c.savePlaylist(id, {Track{QUuid::createUuid(), "file:///a.wav", "A", "B"}, Track{QUuid::createUuid(), "file:///b.wav", "A", "B"}});
        c.nextTrack();
        QCOMPARE(c.currentTrackIndex(), 1);
        c.previousTrack();
        QCOMPARE(c.currentTrackIndex(), 0);
        // a file removed by hand is seen by the watcher
        QFile::remove(c.playlistFileURL(id));
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
    }
};

QTEST_GUILESS_MAIN(TestConfig)
#include "tst_config.moc"
