#include "model/config.h"
#include "support/testsupport.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSignalSpy>
#include <QtTest>

using testsupport::TempHome;

namespace {

QByteArray goodPlaylist()
{
    return "{\"tracks\": [{\"id\": \"6F1D2A64-0C3B-4F39-9B0A-3C5A4D2E1F00\", "
           "\"urlString\": \"file:///a.mp3\", \"trackName\": \"A\", \"artist\": \"B\"}]}";
}

} // namespace

class TestPlaylistStore : public QObject {
    Q_OBJECT

    std::unique_ptr<TempHome> m_home;
    std::unique_ptr<Config> m_config;

    QJsonArray writtenCatalogue() const
    {
        return QJsonDocument::fromJson(testsupport::readFile(m_home->settingsFile()))
            .object()["playlists"].toArray();
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

    void createAppendsAndSaves()
    {
        m_config->setLastSelectedPlaylistID(3);
        QSignalSpy saved(m_config.get(), &Config::playlistSaved);
        m_config->createPlaylist();
        QCOMPARE(m_config->lastSelectedPlaylistID(), 0);
        QCOMPARE(m_config->playlists().size(), 2);
        // two playlists may share the name "Untitled"
        QCOMPARE(m_config->playlists()[1].name, "Untitled");
        QVERIFY(m_config->playlists()[0].id != m_config->playlists()[1].id);
        QCOMPARE(writtenCatalogue().size(), 2);
        QCOMPARE(saved.count(), 1);
        QVERIFY(QFile::exists(m_config->playlistFileURL(m_config->playlists()[1].id)));
    }

    void deletingTheOnlyPlaylistLeavesAFreshOne()
    {
        const Playlist only = m_config->playlists().first();
        const QString printed = testsupport::captureStdout([&] { m_config->deletePlaylist(only.id); });
        QCOMPARE(printed, QStringLiteral("New playlist written successfully.\n"));
        QCOMPARE(m_config->playlists().size(), 1);
        QVERIFY(m_config->playlists().first().id != only.id);
        QVERIFY(!QFile::exists(m_config->playlistFileURL(only.id)));
        QCOMPARE(writtenCatalogue().size(), 1);
        QCOMPARE(writtenCatalogue()[0].toObject()["id"].toString(), uuidString(m_config->playlists().first().id));
    }

    void deletingAnUnknownIdRemovesOnlyItsFile()
    {
        m_config->createPlaylist(); // with one playlist a replacement would be made first
        const QUuid stray = QUuid::createUuid();
        testsupport::writeFile(m_config->playlistFileURL(stray), "{\"tracks\": []}");
        m_config->setLastSelectedPlaylistID(1);
        const QByteArray before = testsupport::readFile(m_home->settingsFile());
        m_config->deletePlaylist(stray);
        QVERIFY(!QFile::exists(m_config->playlistFileURL(stray)));
        QCOMPARE(m_config->playlists().size(), 2);
        QCOMPARE(m_config->lastSelectedPlaylistID(), 0);
        QCOMPARE(testsupport::readFile(m_home->settingsFile()), before);
    }

    void tracksRoundTrip()
    {
        const Playlist p = m_config->playlists().first();
        const QList<Track> tracks = {
            {QUuid::createUuid(), "file:///Music/My%20Song.mp3", "My Song", "Somebody"},
            {QUuid::createUuid(), "file:///Music/%C3%A9t%C3%A9.flac", "\u00E9t\u00E9 \U0001F3B5", ""},
        };
        m_config->savePlaylist(p.id, tracks);
        QCOMPARE(m_config->loadTracks(p), tracks);
        m_config->savePlaylist(p.id, {});
        QCOMPARE(QJsonDocument::fromJson(testsupport::readFile(m_config->playlistFileURL(p.id)))
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
        const Playlist p = m_config->playlists().first();
        testsupport::writeFile(m_config->playlistFileURL(p.id), bytes);
        QList<Track> tracks{Track{}};
        const QString printed = testsupport::captureStdout([&] { tracks = m_config->loadTracks(p); });
        QVERIFY(tracks.isEmpty());
        QVERIFY2(printed.contains(message), qPrintable(printed));
        QCOMPARE(printed.count('\n'), 1);
        // the file is left as it was
        QCOMPARE(testsupport::readFile(m_config->playlistFileURL(p.id)), bytes);
    }

    void missingFileReadsEmptySilently()
    {
        const Playlist ghost{QUuid::createUuid(), "ghost"};
        QList<Track> tracks{Track{}};
        QCOMPARE(testsupport::captureStdout([&] { tracks = m_config->loadTracks(ghost); }), QString());
        QVERIFY(tracks.isEmpty());
    }

    void currentPlaylistOutOfRangeIsEmpty()
    {
        m_config->setCurrentPlaylistIndex(7);
        QVERIFY(!m_config->currentPlaylist());
        QVERIFY(m_config->currentTracks().isEmpty());
        m_config->setCurrentPlaylistIndex(-1);
        QVERIFY(m_config->currentTracks().isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestPlaylistStore)
#include "tst_playliststore.moc"
