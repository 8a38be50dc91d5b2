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

#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusInterface>
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
    QStringList m_calls; // of the window and application handlers, in order
    // the latest value of each Player property that PropertiesChanged announced
    QVariantMap m_signalled;

private slots:
    void initTestCase()
    {
        audiotest::ToneFile tone;
        tone.secondsEach = 30;
        for (const QString name : {"Tone 0", "Tone 1"}) {
            const QString path = audiotest::makeToneFile(m_music.path(), name, tone);
            QVERIFY(!path.isEmpty());
            m_tracks << Track{QUuid::createUuid(), QUrl::fromLocalFile(path).toString(), name, "Generator"};
        }
        m_config.savePlaylist(m_config.playlists().first().id, m_tracks);
        m_config.setPlaysSounds(true);
        m_service.raiseHandler = [this] { m_calls << "raise"; };
        m_service.quitHandler = [this] { m_calls << "quit"; };
        m_service.openHandler = [this](const QStringList& arguments, const auto& done) {
            m_calls << "open " + arguments.join(' ');
            done({});
        };
        QVERIFY(m_service.registerOnSessionBus());
        QVERIFY(QDBusConnection::sessionBus().connect(kService, kPath, "org.freedesktop.DBus.Properties",
                                                      "PropertiesChanged", this,
                                                      SLOT(onPropertiesChanged(QString, QVariantMap, QStringList))));
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
                 QRegularExpression("\\nMimeType=(.*)\\n").match(entry).captured(1).split(';', Qt::SkipEmptyParts));
        // OpenUri opens as the command line does and brings the window up first
        root.call("Raise");
        QDBusInterface(kService, kPath, "org.mpris.MediaPlayer2.Player").call("OpenUri", "file:///tmp/x.mp3");
        root.call("Quit");
        QCOMPARE(m_calls, QStringList({"raise", "raise", "open file:///tmp/x.mp3", "quit"}));
    }

    // In order: each row goes on from where the one before left the player. After the command
    // the player is on `track`, playerctl reads `answer` back with `query`, and the latest
    // PropertiesChanged announced `value` for that property (none announced: Stopped).
    void commands_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<int>("track");
        QTest::addColumn<QString>("query");
        QTest::addColumn<QString>("answer");
        QTest::addColumn<QVariant>("value");
        QTest::newRow("next while stopped") << "next" << 1 << "status" << "Stopped" << QVariant("Stopped");
        QTest::newRow("play") << "play-pause" << 1 << "status" << "Playing" << QVariant("Playing");
        QTest::newRow("pause") << "pause" << 1 << "status" << "Paused" << QVariant("Paused");
        QTest::newRow("resume") << "play" << 1 << "status" << "Playing" << QVariant("Playing");
        QTest::newRow("previous while playing") << "previous" << 0 << "status" << "Playing" << QVariant("Playing");
        QTest::newRow("volume") << "volume 0.5" << 0 << "volume" << "0.500000" << QVariant(0.5);
        QTest::newRow("loop off") << "loop None" << 0 << "loop" << "None" << QVariant("None");
        // whole playlists loop only: a track loop loops the playlist
        QTest::newRow("loop a track") << "loop Track" << 0 << "loop" << "Playlist" << QVariant("Playlist");
        QTest::newRow("shuffle") << "shuffle On" << 0 << "shuffle" << "On" << QVariant(true);
    }
    void commands()
    {
        QFETCH(QString, command);
        QFETCH(int, track);
        QFETCH(QString, query);
        QFETCH(QVariant, value);
        const QString property = QMap<QString, QString>{
            {"status", "PlaybackStatus"}, {"volume", "Volume"}, {"loop", "LoopStatus"}, {"shuffle", "Shuffle"}}[query];
        QSignalSpy sounds(m_config.soundPlayer(), &SoundPlayer::soundStarted);
        playerctl(command.split(' '));
        if (m_player.isPlaying()) {
            QCOMPARE(m_player.url(), QUrl(m_tracks[track].urlString));
            QTRY_VERIFY(!m_player.isLoading());
        }
        QTEST(playerctl({query}), "answer");
        QTRY_COMPARE(m_signalled.value(property, "Stopped"), value);
        const auto title = [this] {
            return qdbus_cast<QVariantMap>(m_signalled.value("Metadata").value<QDBusArgument>())["xesam:title"].toString();
        };
        QTRY_COMPARE(title(), m_tracks[track].trackName);
        // a skip clicks, as the skin's buttons do
        if (command == "next")
            QTRY_COMPARE(sounds.value(0).value(0).toString(), "click");
    }

    void positionAndStop()
    {
        playerctl({"play"});
        QTRY_VERIFY(m_player.duration() > 29);
        QVERIFY(playerctl({"metadata", "mpris:length"}).toLongLong() > 29'000'000);
        // SetPosition names the current track; Seek is relative
        playerctl({"position", "12"});
        QTRY_VERIFY_WITH_TIMEOUT(qAbs(m_player.currentTime() - 12) < 1.5, 10000);
        playerctl({"position", "5-"});
        QTRY_VERIFY_WITH_TIMEOUT(qAbs(m_player.currentTime() - 7) < 1.5, 10000);
        QVERIFY(qAbs(playerctl({"position"}).toDouble() - 7) < 1.5);
        playerctl({"stop"});
        QCOMPARE(playerctl({"status"}), "Stopped");
        // a stop is announced as such, not as the pause it passes through
        QTRY_COMPARE_WITH_TIMEOUT(m_signalled.value("PlaybackStatus").toString(), "Stopped", 1000);
    }

public slots:
    void onPropertiesChanged(const QString& interface, const QVariantMap& changed, const QStringList&)
    {
        if (interface == "org.mpris.MediaPlayer2.Player")
            m_signalled.insert(changed);
    }
};

QTEST_GUILESS_MAIN(TestMpris)
#include "tst_mpris.moc"
