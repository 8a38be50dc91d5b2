#include "model/config.h"
#include "model/sequencing.h"
#include "support/testsupport.h"

#include <QtTest>

using namespace testsupport;

namespace {

const QString kWritten = QStringLiteral("New playlist written successfully.\n");

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

    std::unique_ptr<TempHome> m_home;
    std::unique_ptr<Config> m_config;

    static QJsonObject json(const QString& path) { return QJsonDocument::fromJson(readFile(path)).object(); }
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

    // A first start writes every key with the defaults and reads no theme file: the geometry
    // keeps its defaults. (A second start leaves the file alone: tst_commandline.)
    void firstStart()
    {
        QCOMPARE(start(), kWritten);
        const QJsonObject s = json(m_home->settingsFile());
        QCOMPARE(QVariantList({s.size(), s["currentTheme"].toString(), s["lastSelectedPlaylistID"].toInt(-1),
                               m_config->trackTextSize(), m_config->playerWidth()}),
                 QVariantList({9, "mini-graphite", 0, qint64(9), 269.0}));
    }

    // Every field is read, with the selection given, missing or null, and unknown keys that are
    // not written back. Without a Themes directory (a first start cut short) the built-in themes
    // are installed and the chosen one is read.
    void loadsEveryField()
    {
        const std::pair<QString, qint64> cases[] = {{"\"lastSelectedPlaylistID\": 2,", 2}, {"", 0},
            {"\"lastSelectedPlaylistID\": null,", 0}, {R"("volume": 11, "extra": {"a": [1]},)", 0}};
        for (const auto& [entry, selected] : cases) {
            init();
            writeFile(m_home->settingsFile(), settingsJson(entry));
            start();
            const Config& c = *m_config;
            QCOMPARE(QVariantList({c.currentTheme(), c.availableThemes(), c.playsSounds(), c.superSized(), c.isFloating(), c.shuffleTracks(),
                                   c.loopTracks(), c.playlists().size(), c.playlists().value(1).name, c.lastSelectedPlaylistID(),
                                   c.currentPlaylistIndex(), c.currentTrackIndex(), c.playerWidth()}),
                     QVariantList({"neo-lime", QStringList{"neo-lime", "mini-graphite"}, false, true, false, true, false, qsizetype(3), "a",
                                   selected, selected, qint64(0), 130.0}));
            m_config->saveSettings();
            QVERIFY(!json(m_home->settingsFile()).contains("volume"));
        }
    }

    // Every damaged file is treated as a first start and its bytes are kept beside it. No copy
    // is ever overwritten, and at most ten are kept: the first and the newest ones.
    void damagedSettingsFile()
    {
        const QByteArray good = settingsJson();
        const std::pair<QByteArray, QString> cases[] = {
            {"{ not json", "not valid JSON"}, {good.left(120), "not valid JSON"},
            {QByteArray(good).replace("\"loopTracks\": false,", ""), "\"loopTracks\""},
            {QByteArray(good).replace("\"superSized\": true", "\"superSized\": null"), "\"superSized\""},
            {QByteArray(good).replace("\"playsSounds\": false", "\"playsSounds\": \"no\""), "\"playsSounds\""},
            {QByteArray(good).replace("9B0A-3C5A4D2E1F02", "nope"), "playlists[2]"},
            {settingsJson(R"("lastSelectedPlaylistID": 1.5,)"), "\"lastSelectedPlaylistID\""},
            {QByteArray(good).replace("\"currentTheme\": \"neo-lime\"", "\"currentTheme\": \"\""), ""},
            {"[]", "object"}, {"{", ""}, {"[", ""}};
        const QString broken = m_home->settingsFile() + ".broken";
        for (int i = 0; i < int(std::size(cases)); ++i) {
            writeFile(m_home->settingsFile(), cases[i].first);
            const QString printed = start(), copy = i == 0 ? broken : broken + QString(".%1").arg(i + 1);
            QVERIFY2(printed.contains(cases[i].second) && printed.contains(copy) && printed.endsWith(kWritten),
                     qPrintable(printed));
            QCOMPARE(QVariantList({m_config->currentTheme(), m_config->playlists().size(), written("id").size(), readFile(copy)}),
                     QVariantList({"mini-graphite", qsizetype(1), qsizetype(1), cases[i].first}));
        }
        QVERIFY(readFile(broken) == cases[0].first && !QFileInfo::exists(broken + ".2"));
        QCOMPARE(QDir(m_home->dataDir()).entryList({"*.broken*"}).size(), 10);
    }

    // The catalogue is written sorted by name (code points of the composed form, so "E" and a
    // combining accent sort as "É"); equal names keep their order and memory keeps its own.
    // Ids are written in upper case whatever case they were read in, the keys in their order.
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
        QCOMPARE(written("id").mid(1, 3), QStringList({uuidString(first), uuidString(second), "6F1D2A64-0C3B-4F39-9B0A-3C5A4D2E1F01"}));
        // keys in the order of the record
        const QByteArray text = readFile(m_home->settingsFile());
        QVERIFY(text.indexOf("currentTheme") < text.indexOf("availableThemes") && text.indexOf("loopTracks") < text.indexOf("lastSelectedPlaylistID")
                && text.indexOf("lastSelectedPlaylistID") < text.indexOf("\"playlists\""));
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
        QVERIFY(c.playlists().size() == 1 && c.playlists().first().id != only.id
                && !QFile::exists(c.playlistFileURL(only.id)));
        QCOMPARE(written("id"), QStringList{uuidString(c.playlists().first().id)});

        c.setLastSelectedPlaylistID(3);
        QSignalSpy saved(&c, &Config::playlistSaved);
        c.createPlaylist();
        // two playlists may share the name "Untitled"
        QVERIFY(c.playlists().size() == 2 && c.playlists()[0].id != c.playlists()[1].id
                && QFile::exists(c.playlistFileURL(c.playlists()[1].id)));
        QCOMPARE(written("name"), QStringList({"Untitled", "Untitled"}));
        QCOMPARE(QVariantList({c.lastSelectedPlaylistID(), saved.count()}), QVariantList({qint64(0), 1}));

        // an id the catalogue does not hold: only its stray file goes
        const QUuid stray = QUuid::createUuid();
        writeFile(c.playlistFileURL(stray), "{\"tracks\": []}");
        c.setLastSelectedPlaylistID(1);
        const QByteArray before = readFile(m_home->settingsFile());
        c.deletePlaylist(stray);
        QVERIFY(!QFile::exists(c.playlistFileURL(stray)));
        QCOMPARE(QVariantList({c.playlists().size(), c.lastSelectedPlaylistID()}), QVariantList({qsizetype(2), qint64(0)}));
        QCOMPARE(readFile(m_home->settingsFile()), before);
    }

    // The order tracks play in: the end wraps only with loop and a stale index stays unless loop
    // restarts; previous always wraps; shuffle picks every other track, never the current one.
    void steps()
    {
        const struct { int n, index; bool shuffle, loop; int expected; } nexts[] = {
            {3, 2, false, true, 0}, {3, 2, false, false, 2}, {3, 0, false, false, 1}, {2, 5, false, false, 5},
            {2, 5, false, true, 0}, {1, 0, true, true, 0}, {2, 0, true, true, 1}, {2, 1, true, false, 0}};
        for (const auto& c : nexts)
            QVERIFY2(sequencing::next(c.n, c.index, c.shuffle, c.loop) == c.expected, qPrintable(QString("next of %1 in %2").arg(c.index).arg(c.n)));
        for (auto [index, expected] : {std::pair{0, 2}, {7, 0}, {-9, 2}})
            QVERIFY2(sequencing::previous(3, index) == expected, qPrintable(QString("previous of %1").arg(index)));
        QSet<qint64> drawn; // a track is missed 200 times in a row once in 10^24 runs
        for (int i = 0; i < 200; ++i)
            drawn << sequencing::next(5, 2, true, false);
        QCOMPARE(drawn, QSet<qint64>({0, 1, 3, 4}));
    }

    // Tracks come back from their file as saved. A file that does not decode reads as empty
    // with one line naming the key, and is left as it was; a missing one reads as empty without
    // a word. Config moves its index by the rules above over the current playlist, and not at
    // all over an empty or missing one.
    void playlistFiles()
    {
        const QByteArray good = "{\"tracks\": [{\"id\": \"6F1D2A64-0C3B-4F39-9B0A-3C5A4D2E1F00\", "
                                "\"urlString\": \"file:///a.mp3\", \"trackName\": \"A\", \"artist\": \"B\"}]}";
        const std::pair<QByteArray, QString> cases[] = {
            {QByteArray(good).replace(", \"artist\": \"B\"", ""), "tracks[0].artist"},
            {QByteArray(good).replace("\"A\"", "null"), "tracks[0].trackName"},
            {QByteArray(good).replace("\"file:///a.mp3\"", "7"), "tracks[0].urlString"},
            {"{}", "\"tracks\""}, {QByteArray("\x00\xff garbage", 10), "not valid JSON"}, {QByteArray(), ""}};
        start();
        for (const auto& [bytes, message] : cases) {
            const Playlist p{QUuid::createUuid(), "p"};
            if (!bytes.isNull())
                writeFile(m_config->playlistFileURL(p.id), bytes);
            QList<Track> tracks{Track{}};
            const QString printed = captureStdout([&] { tracks = m_config->loadTracks(p); });
            QVERIFY2(tracks.isEmpty() && printed.contains(message) && printed.count('\n') == (bytes.isNull() ? 0 : 1),
                     qPrintable(printed + message));
            QCOMPARE(readFile(m_config->playlistFileURL(p.id)), bytes);
        }
        Config& c = *m_config;
        const Playlist p = c.playlists().first();
        const QList<Track> tracks = {{QUuid::createUuid(), "file:///Music/My%20Song.mp3", "My Song", "Somebody"},
                                     {QUuid::createUuid(), "file:///Music/%C3%A9t%C3%A9.flac", "\u00E9t\u00E9 \U0001F3B5", ""}};
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
