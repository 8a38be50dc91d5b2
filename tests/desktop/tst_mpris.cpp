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

namespace {

const QString kService = QStringLiteral("org.mpris.MediaPlayer2.lindenfold");
const QString kPath = QStringLiteral("/org/mpris/MediaPlayer2");

// playerctl in a process of its own, while this one keeps serving the bus
QString playerctl(const QStringList& args)
{
    QProcess process;
    process.start(QStringLiteral("playerctl"), QStringList{"-p", "lindenfold"} + args);
    QDeadlineTimer deadline(15000);
    while (process.state() != QProcess::NotRunning && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    process.kill();
    process.waitForFinished();
    return QString::fromUtf8(process.readAllStandardOutput()).trimmed();
}

} // namespace

class TestMpris : public QObject {
    Q_OBJECT

    testsupport::TempHome m_home;
    QTemporaryDir m_music;
    Config m_config;
    AudioPlayer m_player;
    PlayerController m_controller{&m_config, &m_player};
    MprisService m_service{&m_controller, &m_player};
    QList<Track> m_tracks;
    int m_raises = 0;
    int m_quits = 0;
    QStringList m_opened;
    // the latest value of each Player property that PropertiesChanged announced
    QVariantMap m_signalled;

    QString signalledTitle() const
    {
        const auto metadata = qdbus_cast<QVariantMap>(m_signalled.value("Metadata").value<QDBusArgument>());
        return metadata.value("xesam:title").toString();
    }

private slots:
    void initTestCase()
    {
        for (const QString name : {"Tone 0", "Tone 1"}) {
            audiotest::ToneFile tone;
            tone.secondsEach = 30;
            const QString path = audiotest::makeToneFile(m_music.path(), name, tone);
            QVERIFY(!path.isEmpty());
            m_tracks << Track{QUuid::createUuid(), QUrl::fromLocalFile(path).toString(), name, "Generator"};
        }
        m_config.savePlaylist(m_config.playlists().first().id, m_tracks);
        m_config.setPlaysSounds(true);
        m_service.raiseHandler = [this] { ++m_raises; };
        m_service.quitHandler = [this] { ++m_quits; };
        m_service.openHandler = [this](const QStringList& arguments, const MprisService::OpenDone& done) {
            m_opened += arguments;
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
        QDBusInterface player(kService, kPath, "org.mpris.MediaPlayer2.Player");
        // the shell finds name and icon through the desktop entry, and offers the player for
        // the types that entry lists
        QCOMPARE(root.property("DesktopEntry").toString(), "lindenfold");
        const QString entry = QString::fromUtf8(testsupport::readFile(
            qEnvironmentVariable("LINDENFOLD_TEST_SOURCE_DIR") + "/packaging/lindenfold.desktop"));
        QCOMPARE(root.property("SupportedMimeTypes").toStringList(),
                 QRegularExpression("\\nMimeType=(.*)\\n").match(entry).captured(1).split(';', Qt::SkipEmptyParts));

        root.call("Raise");
        QCOMPARE(m_raises, 1);
        // OpenUri opens as the command line does and brings the window up
        QCOMPARE(player.call("OpenUri", "file:///tmp/x.mp3").type(), QDBusMessage::ReplyMessage);
        QCOMPARE(m_opened, QStringList{"file:///tmp/x.mp3"});
        QCOMPARE(m_raises, 2);
        root.call("Quit");
        QCOMPARE(m_quits, 1);
    }

    // in order: each row goes on from where the one before left the player
    void transport_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<qint64>("index");
        QTest::addColumn<QString>("status");
        QTest::newRow("next while stopped") << "next" << qint64(1) << "Stopped";
        QTest::newRow("play") << "play-pause" << qint64(1) << "Playing";
        QTest::newRow("pause") << "pause" << qint64(1) << "Paused";
        QTest::newRow("resume") << "play" << qint64(1) << "Playing";
        QTest::newRow("previous while playing") << "previous" << qint64(0) << "Playing";
    }
    void transport()
    {
        QFETCH(QString, command);
        QFETCH(qint64, index);
        QFETCH(QString, status);
        QSignalSpy sounds(m_config.soundPlayer(), &SoundPlayer::soundStarted);
        playerctl({command});
        QCOMPARE(m_config.currentTrackIndex(), index);
        QCOMPARE(m_player.isPlaying(), status == "Playing");
        if (m_player.isPlaying()) {
            QCOMPARE(m_player.url(), QUrl(m_tracks[index].urlString));
            QTRY_VERIFY(!m_player.isLoading());
        }
        QCOMPARE(playerctl({"status"}), status);
        QTRY_COMPARE(signalledTitle(), m_tracks[index].trackName);
        // a skip clicks, as the skin's buttons do
        if (command == "next")
            QTRY_COMPARE(sounds.value(0).value(0).toString(), "click");
        QTRY_COMPARE(m_signalled.value("PlaybackStatus", "Stopped").toString(), status);
    }

    void positionVolumeAndStop()
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
        playerctl({"volume", "0.5"});
        QTRY_COMPARE(qRound(m_player.volume() * 10), 5);
        QCOMPARE(qRound(playerctl({"volume"}).toDouble() * 10), 5);
        QTRY_COMPARE(qRound(m_signalled.value("Volume").toDouble() * 10), 5);
        playerctl({"stop"});
        QCOMPARE(playerctl({"status"}), "Stopped");
        // a stop is announced as such, not as the pause it passes through
        QTRY_COMPARE_WITH_TIMEOUT(m_signalled.value("PlaybackStatus").toString(), "Stopped", 1000);
    }

    void loopAndShuffle()
    {
        playerctl({"loop", "None"});
        QVERIFY(!m_config.loopTracks());
        QCOMPARE(playerctl({"loop"}), "None");
        QTRY_COMPARE(m_signalled.value("LoopStatus").toString(), "None");
        // whole playlists loop only: a track loop loops the playlist
        playerctl({"loop", "Track"});
        QVERIFY(m_config.loopTracks());
        QCOMPARE(playerctl({"loop"}), "Playlist");
        playerctl({"shuffle", "On"});
        QVERIFY(m_config.shuffleTracks());
        QCOMPARE(playerctl({"shuffle"}), "On");
        QTRY_COMPARE(m_signalled.value("LoopStatus").toString(), "Playlist");
        QTRY_VERIFY(m_signalled.value("Shuffle").toBool());
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
