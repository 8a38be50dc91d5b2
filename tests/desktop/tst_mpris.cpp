// MPRIS on a private session bus, driven by playerctl as media keys and desktop shells drive
// it: the calls reach the player controller, and state and track come back as properties and
// PropertiesChanged signals. What the controller then decides is tested in tst_playercontroller.
#include "control/playercontroller.h"
#include "desktop/mpris.h"
#include "model/config.h"
#include "playback/audioplayer.h"
#include "playback/soundplayer.h"
#include "support/audiotest.h"
#include "support/testsupport.h"

#include <QtDBus>
#include <QtTest>

const QString kService = QStringLiteral("org.mpris.MediaPlayer2.lindenfold");
const QString kPath = QStringLiteral("/org/mpris/MediaPlayer2");
using testsupport::playerctl;

class TestMpris : public QObject {
    Q_OBJECT

    testsupport::TempHome m_home;
    QTemporaryDir m_music;
    Config m_config;
    AudioPlayer m_player;
    PlayerController m_controller{&m_config, &m_player};
    MprisService m_service{&m_controller, &m_player};
    QList<Track> m_tracks;
    QStringList m_calls;     // of the window and application handlers, in order
    QVariantMap m_signalled; // the latest value of each Player property PropertiesChanged announced
    int m_changes = 0;       // PropertiesChanged signals heard

private slots:
    void initTestCase()
    {
        audiotest::ToneFile tone;
        tone.secondsEach = 30;
        QImage green(8, 8, QImage::Format_RGB32); // the cover
        green.fill(Qt::green);
        QBuffer png;
        png.open(QIODevice::WriteOnly);
        green.save(&png, "PNG");
        tone.pictures = {png.data()};
        for (const QString name : {"Tone 0", "Tone 1"}) {
            const QString path = audiotest::makeToneFile(m_music.path(), name, tone);
            QVERIFY(!path.isEmpty());
            m_tracks << Track{QUuid::createUuid(), QUrl::fromLocalFile(path).toString(), name,
                              "Generator"};
        }
        m_config.savePlaylist(m_config.playlists().first().id, m_tracks);
        m_config.setPlaysSounds(true);
        m_service.raiseHandler = [this] { m_calls << "raise"; };
        m_service.quitHandler = [this] { m_calls << "quit"; };
        m_service.openHandler = [this](const QStringList& arguments, const auto& done) {
            m_calls << "open " + arguments.join(' ');
            done({});
        };
        // from any sender: before its registration the service sends nothing at all
        QVERIFY(QDBusConnection::sessionBus().connect(
            {}, kPath, "org.freedesktop.DBus.Properties", "PropertiesChanged", this,
            SLOT(onPropertiesChanged(QString, QVariantMap))));
        m_controller.setLoop(false);
        m_controller.setLoop(true);
        QTest::qWait(300);
        QCOMPARE(std::pair(m_service.isRegistered(), m_changes), std::pair(false, 0));
        QVERIFY(m_service.registerOnSessionBus());
    }

    void rootInterface()
    {
        QDBusInterface root(kService, kPath, "org.mpris.MediaPlayer2");
        // the shell finds name and icon through the desktop entry, and offers the player for
        // the types that entry lists
        QCOMPARE(root.property("DesktopEntry").toString(), "lindenfold");
        const QString entry = QString::fromUtf8(testsupport::readFile(
            qEnvironmentVariable("LINDENFOLD_TEST_SOURCE_DIR") + "/packaging/lindenfold.desktop"));
        QCOMPARE(root.property("SupportedMimeTypes").toStringList(),
                 QRegularExpression("\\nMimeType=(.*)\\n")
                     .match(entry)
                     .captured(1)
                     .split(';', Qt::SkipEmptyParts));
        // OpenUri opens as the command line does and brings the window up first
        root.call("Raise");
        QDBusInterface(kService, kPath, "org.mpris.MediaPlayer2.Player")
            .call("OpenUri", "file:///tmp/x.mp3");
        root.call("Quit");
        QCOMPARE(m_calls, QStringList({"raise", "raise", "open file:///tmp/x.mp3", "quit"}));
    }

    // Each row goes on from where the one before left the player: after the command it is on
    // `track`, `query` reads `answer`, and PropertiesChanged last gave `property` `value`.
    void commands_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<int>("track");
        QTest::addColumn<QString>("query");
        QTest::addColumn<QString>("answer");
        QTest::addColumn<QString>("property");
        QTest::addColumn<QVariant>("value");
        const auto row = [](const char* name, const QString& command, int track,
                            const QString& query, const QString& answer, const QString& property,
                            const QVariant& value) {
            QTest::newRow(name) << command << track << query << answer << property << value;
        };
        const QString status = "status", playback = "PlaybackStatus";
        row("next while stopped", "next", 1, status, "Stopped", playback, "Stopped");
        row("play-pause", "play-pause", 1, status, "Playing", playback, "Playing");
        row("pause", "pause", 1, status, "Paused", playback, "Paused");
        row("play", "play", 1, status, "Playing", playback, "Playing");
        row("previous while playing", "previous", 0, status, "Playing", playback, "Playing");
        row("volume", "volume 0.5", 0, "volume", "0.500000", "Volume", 0.5);
        row("loop off", "loop None", 0, "loop", "None", "LoopStatus", "None");
        row("loop a track loops the playlist", "loop Track", 0, "loop", "Playlist", "LoopStatus",
            "Playlist");
        row("shuffle", "shuffle On", 0, "shuffle", "On", "Shuffle", true);
    }

    void commands()
    {
        QFETCH(QString, command);
        QFETCH(int, track);
        QFETCH(QString, query);
        QFETCH(QString, answer);
        QFETCH(QString, property);
        QFETCH(QVariant, value);
        QSignalSpy sounds(m_config.soundPlayer(), &SoundPlayer::soundStarted);
        playerctl(command.split(' '));
        const QUrl url(m_tracks[track].urlString);
        QTRY_VERIFY(!m_player.isPlaying() || (m_player.url() == url && !m_player.isLoading()));
        QCOMPARE(playerctl({query}), answer);
        QTRY_COMPARE(m_signalled.value(property, "Stopped"), value);
        QTRY_COMPARE(qdbus_cast<QVariantMap>(m_signalled["Metadata"])["xesam:title"].toString(),
                     m_tracks[track].trackName);
        // a skip clicks, as the skin's buttons do
        if (command == "next")
            QTRY_COMPARE(sounds.value(0).value(0).toString(), "click");
    }

    // Many changes in one event-loop turn are one PropertiesChanged holding all of them.
    void changesAreCoalesced()
    {
        QTest::qWait(300);
        const int before = m_changes;
        m_controller.setLoop(false);
        m_controller.setShuffle(false);
        m_config.setCurrentTrackIndex(1 - m_config.currentTrackIndex());
        m_player.setVolume(0.25f);
        QTest::qWait(300);
        QCOMPARE(m_changes, before + 1);
        QCOMPARE(
            std::tuple(m_signalled["LoopStatus"], m_signalled["Shuffle"], m_signalled["Volume"]),
            std::tuple(QVariant("None"), QVariant(false), QVariant(0.25)));
        m_config.setCurrentTrackIndex(0);
    }

    // Length and cover (a PNG file of the file's picture) belong to the track that sounds.
    void lengthAndCoverOfWhatPlays()
    {
        playerctl({"play"});
        QTRY_VERIFY_WITH_TIMEOUT(!playerctl({"metadata", "mpris:artUrl"}).isEmpty(), 10000);
        const QUrl art(playerctl({"metadata", "mpris:artUrl"}));
        QCOMPARE(QImage(art.toLocalFile()).pixelColor(4, 4), QColor(Qt::green));
        QVERIFY(playerctl({"metadata", "mpris:length"}).toLongLong() > 29'000'000);
        // the next track while playing: its own cover file once it has opened
        playerctl({"next"});
        QTRY_VERIFY_WITH_TIMEOUT(
            m_player.url() == QUrl(m_tracks[1].urlString) && !m_player.isLoading(), 10000);
        QTRY_VERIFY_WITH_TIMEOUT(!playerctl({"metadata", "mpris:artUrl"}).isEmpty(), 10000);
        QVERIFY(QUrl(playerctl({"metadata", "mpris:artUrl"})) != art);
        QVERIFY(!QFile::exists(art.toLocalFile()));
        playerctl({"previous"});
    }

    void positionAndStop()
    {
        playerctl({"play"});
        QTRY_VERIFY(m_player.duration() > 29);
        // SetPosition names the current track; Seek is relative
        playerctl({"position", "12"});
        QTRY_VERIFY_WITH_TIMEOUT(qAbs(m_player.currentTime() - 12) < 1.5, 10000);
        playerctl({"position", "5-"});
        QTRY_VERIFY_WITH_TIMEOUT(qAbs(m_player.currentTime() - 7) < 1.5, 10000);
        QVERIFY(qAbs(playerctl({"position"}).toDouble() - 7) < 1.5);
        playerctl({"stop"});
        // a stop is announced as such, not as the pause it passes through
        QTRY_COMPARE_WITH_TIMEOUT(m_signalled.value("PlaybackStatus").toString(), "Stopped", 1000);
    }

public slots:
    void onPropertiesChanged(const QString& interface, const QVariantMap& changed)
    {
        if (interface == "org.mpris.MediaPlayer2.Player")
            m_signalled.insert(changed);
        ++m_changes;
    }
};

QTEST_GUILESS_MAIN(TestMpris)
#include "tst_mpris.moc"
