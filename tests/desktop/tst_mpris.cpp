#include "desktop/mpris.h"
#include "model/config.h"
#include "playback/audioplayer.h"
#include "playback/soundplayer.h"
#include "support/audiotest.h"
#include "support/testsupport.h"
#include "control/playercontroller.h"

#include <QDBusConnection>
#include <QDBusInterface>
#include <QDBusReply>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QtTest>

using audiotest::SinkRecorder;

namespace {

const QList<double> kTones = {440.0, 660.0, 880.0};

// playerctl talks to the player over the bus while this process keeps serving it.
QString playerctl(const QStringList& args)
{
    QProcess process;
    process.start(QStringLiteral("playerctl"), QStringList{"-p", "lindenfold"} + args);
    if (!process.waitForStarted(5000))
        return QStringLiteral("<playerctl did not start>");
    QDeadlineTimer deadline(15000);
    while (process.state() != QProcess::NotRunning && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    if (process.state() != QProcess::NotRunning) {
        process.kill();
        process.waitForFinished();
    }
    return QString::fromUtf8(process.readAllStandardOutput()).trimmed();
}

} // namespace

class TestMpris : public QObject {
    Q_OBJECT

    std::unique_ptr<testsupport::TempHome> m_home;
    QTemporaryDir m_music;
    std::unique_ptr<Config> m_config;
    std::unique_ptr<AudioPlayer> m_audioPlayer;
    std::unique_ptr<PlayerController> m_controller;
    std::unique_ptr<MprisService> m_service;
    QList<Track> m_tracks;
    int m_quits = 0;
    int m_raises = 0;
    QStringList m_opened;

    QJsonObject writtenSettings() const
    {
        return QJsonDocument::fromJson(testsupport::readFile(m_home->settingsFile())).object();
    }

private slots:
    void initTestCase()
    {
        QVERIFY(QDBusConnection::sessionBus().isConnected());
        m_home = std::make_unique<testsupport::TempHome>();
        for (int i = 0; i < kTones.size(); ++i) {
            audiotest::ToneFile tone;
            tone.frequencies = {kTones[i]};
            tone.secondsEach = 30;
            const QString path = audiotest::makeToneFile(m_music.path(), QStringLiteral("tone%1").arg(i), tone);
            QVERIFY(!path.isEmpty());
            m_tracks << Track{QUuid::createUuid(), QUrl::fromLocalFile(path).toString(),
                              QStringLiteral("Tone %1").arg(i), QStringLiteral("Generator")};
        }
        m_config = std::make_unique<Config>();
        m_config->savePlaylist(m_config->playlists().first().id, m_tracks);
        m_audioPlayer = std::make_unique<AudioPlayer>();
        m_controller = std::make_unique<PlayerController>(m_config.get(), m_audioPlayer.get());
        m_controller->installTrackFinishedHandler();
        m_service = std::make_unique<MprisService>(m_controller.get(), m_audioPlayer.get());
        m_service->quitHandler = [this] { ++m_quits; };
        m_service->raiseHandler = [this] { ++m_raises; };
        m_service->openHandler = [this](const QStringList& arguments, const MprisService::OpenDone& done) {
            m_opened += arguments;
            done({});
        };
        QVERIFY(m_service->registerOnSessionBus());
    }

    void cleanupTestCase()
    {
        m_service.reset();
        m_controller.reset();
        m_audioPlayer.reset();
        m_config.reset();
        m_home.reset();
    }

    void identityAndCapabilities()
    {
        QDBusInterface root("org.mpris.MediaPlayer2.lindenfold", "/org/mpris/MediaPlayer2",
                            "org.mpris.MediaPlayer2");
        QCOMPARE(root.property("Identity").toString(), "Lindenfold");
        QCOMPARE(root.property("DesktopEntry").toString(), "lindenfold");
        QCOMPARE(root.property("CanQuit").toBool(), true);
        QCOMPARE(root.property("CanRaise").toBool(), true);
        root.call("Raise");
        QCOMPARE(m_raises, 1);
        QDBusInterface player("org.mpris.MediaPlayer2.lindenfold", "/org/mpris/MediaPlayer2",
                              "org.mpris.MediaPlayer2.Player");
        for (const char* name : {"CanPlay", "CanPause", "CanSeek", "CanGoNext", "CanGoPrevious", "CanControl"})
            QVERIFY2(player.property(name).toBool(), name);
        // OpenUri opens as the command line does and raises the window; the desktop entry's
        // types are what the bus announces
        QCOMPARE(player.call("OpenUri", "file:///tmp/x.mp3").type(), QDBusMessage::ReplyMessage);
        QCOMPARE(m_opened, QStringList{"file:///tmp/x.mp3"});
        QCOMPARE(m_raises, 2);
        QCOMPARE(root.property("SupportedUriSchemes").toStringList(), QStringList{"file"});
        const QString entry = QString::fromUtf8(testsupport::readFile(
            qEnvironmentVariable("LINDENFOLD_TEST_SOURCE_DIR") + "/packaging/lindenfold.desktop"));
        const QRegularExpressionMatch mimeTypes = QRegularExpression("\\nMimeType=(.*)\\n").match(entry);
        QCOMPARE(root.property("SupportedMimeTypes").toStringList(),
                 mimeTypes.captured(1).split(';', Qt::SkipEmptyParts));
    }

    void metadataOfTheCurrentTrack()
    {
        QCOMPARE(playerctl({"metadata", "xesam:title"}), "Tone 0");
        QCOMPARE(playerctl({"metadata", "xesam:artist"}), "Generator");
        QCOMPARE(playerctl({"metadata", "xesam:url"}), m_tracks[0].urlString);
        QCOMPARE(playerctl({"metadata", "mpris:trackid"}).remove(QLatin1Char(0x27)),
                 MprisService::trackObjectPath(m_tracks[0].id).path());
        QCOMPARE(playerctl({"status"}), "Stopped");
    }

    void nextWhileStoppedOnlyMovesAndClicks()
    {
        m_config->setPlaysSounds(true);
        QSignalSpy sounds(m_config->soundPlayer(), &SoundPlayer::soundStarted);
        playerctl({"next"});
        QCOMPARE(m_config->currentTrackIndex(), 1);
        QVERIFY(!m_audioPlayer->isPlaying());
        QTRY_COMPARE_WITH_TIMEOUT(sounds.count(), 1, 10000);
        QCOMPARE(sounds.first().first().toString(), "click");
        playerctl({"previous"});
        QCOMPARE(m_config->currentTrackIndex(), 0);
        QCOMPARE(playerctl({"metadata", "xesam:title"}), "Tone 0");
        m_config->setPlaysSounds(false);
    }

    void playPauseNextPreviousSound()
    {
        SinkRecorder recorder;
        QVERIFY(recorder.start());

        QDBusConnection::sessionBus().connect(
            "org.mpris.MediaPlayer2.lindenfold", "/org/mpris/MediaPlayer2",
            "org.freedesktop.DBus.Properties", "PropertiesChanged", this,
            SLOT(onPropertiesChanged(QString, QVariantMap, QStringList)));

        playerctl({"play-pause"});
        QVERIFY(m_audioPlayer->isPlaying());
        QVERIFY2(recorder.waitForTone(kTones[0]), qPrintable(recorder.describe()));
        QCOMPARE(playerctl({"status"}), "Playing");
        QTRY_VERIFY_WITH_TIMEOUT(m_statuses.contains("Playing"), 10000);
        QVERIFY(playerctl({"metadata", "mpris:length"}).toLongLong() > 29'000'000);

        playerctl({"play-pause"});
        QCOMPARE(playerctl({"status"}), "Paused");
        QVERIFY2(recorder.waitForSilence(), qPrintable(recorder.describe()));
        QTRY_VERIFY_WITH_TIMEOUT(m_statuses.contains("Paused"), 10000);

        playerctl({"play"});
        QVERIFY2(recorder.waitForTone(kTones[0]), qPrintable(recorder.describe()));
        playerctl({"next"});
        QCOMPARE(m_config->currentTrackIndex(), 1);
        QVERIFY2(recorder.waitForTone(kTones[1]), qPrintable(recorder.describe()));
        QCOMPARE(playerctl({"metadata", "xesam:title"}), "Tone 1");
        playerctl({"previous"});
        QVERIFY2(recorder.waitForTone(kTones[0]), qPrintable(recorder.describe()));

        // absolute and relative positions of the loaded file
        playerctl({"position", "12"});
        QTRY_VERIFY_WITH_TIMEOUT(qAbs(m_audioPlayer->currentTime() - 12) < 1.5, 10000);
        playerctl({"position", "5-"});
        QTRY_VERIFY_WITH_TIMEOUT(qAbs(m_audioPlayer->currentTime() - 7) < 1.5, 10000);
        QVERIFY(playerctl({"position"}).toDouble() > 6);

        playerctl({"stop"});
        QCOMPARE(playerctl({"status"}), "Stopped");
        QCOMPARE(m_audioPlayer->progress(), 0.0);
        QVERIFY2(recorder.waitForSilence(), qPrintable(recorder.describe()));
    }

    void loopAndShuffleSave()
    {
        m_config->setLoopTracks(true);
        playerctl({"loop", "None"});
        QCOMPARE(m_config->loopTracks(), false);
        QCOMPARE(writtenSettings()["loopTracks"].toBool(true), false);
        QCOMPARE(playerctl({"loop"}), "None");
        playerctl({"loop", "Track"});
        QCOMPARE(m_config->loopTracks(), true);
        QCOMPARE(playerctl({"loop"}), "Playlist");
        QCOMPARE(writtenSettings()["loopTracks"].toBool(false), true);

        playerctl({"shuffle", "On"});
        QCOMPARE(m_config->shuffleTracks(), true);
        QCOMPARE(writtenSettings()["shuffleTracks"].toBool(false), true);
        QCOMPARE(playerctl({"shuffle"}), "On");
        playerctl({"shuffle", "Off"});
        QCOMPARE(m_config->shuffleTracks(), false);
    }

    void volumeFollowsTheLoadedFile()
    {
        m_controller->play("click");
        QTRY_VERIFY(m_audioPlayer->hasPlayer());
        playerctl({"volume", "0.5"});
        QTRY_COMPARE(qRound(m_audioPlayer->volume() * 10), 5);
        QCOMPARE(qRound(playerctl({"volume"}).toDouble() * 10), 5);
        m_audioPlayer->stop();
    }

    void quitAsksTheApplication()
    {
        QDBusInterface root("org.mpris.MediaPlayer2.lindenfold", "/org/mpris/MediaPlayer2",
                            "org.mpris.MediaPlayer2");
        root.call("Quit");
        QCOMPARE(m_quits, 1);
    }

public slots:
    void onPropertiesChanged(const QString& interface, const QVariantMap& changed, const QStringList&)
    {
        if (interface == "org.mpris.MediaPlayer2.Player" && changed.contains("PlaybackStatus"))
            m_statuses << changed.value("PlaybackStatus").toString();
    }

private:
    QStringList m_statuses;
};

QTEST_GUILESS_MAIN(TestMpris)
#include "tst_mpris.moc"
