#include "playback/audioplayer.h"
#include "support/audiotest.h"
#include "support/testsupport.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <cmath>
#include <limits>
#include <memory>

using audiotest::Format;
using audiotest::SinkRecorder;
using audiotest::ToneFile;

// Every case plays real files into the test audio server and listens to its null sink.
class TestAudioPlayer final : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void stateBeforeAnyLoad();
    void resolveFileURL_data();
    void resolveFileURL();
    void everyFormatSounds_data();
    void everyFormatSounds();
    void urlWithoutSchemePlays();
    void pauseIsSilenceAndResumeContinues();
    void stopRewindsAndRestartsWithoutReopening();
    void seekMovesThePosition();
    void seekClamps_data();
    void seekClamps();
    void progressFollowsThePlayingTime();
    void endOfFileCallsTheHandlerOnce();
    void anotherFileReplacesTheSound();
    void newFileStartsAtFullVolume();
    void missingFileKeepsThePlayingFile();
    void undecodableFileKeepsThePlayingFile();
    void undecodableFirstFileLeavesNothingLoaded();

private:
    QString tone(double frequency, Format format = Format::Wav);
    void waitForLoaded();
    bool seekIsHeard(double fraction, double frequency);

    QTemporaryDir m_dir;
    // 440 Hz for 2 s, then 660 Hz for 3 s: what sounds tells where playback is
    QString m_steps;
    QString m_short;
    std::unique_ptr<AudioPlayer> m_player;
    std::unique_ptr<SinkRecorder> m_recorder;
};

QString TestAudioPlayer::tone(double frequency, Format format)
{
    const QString name =
        QStringLiteral("tone%1").arg(int(frequency)) + audiotest::extension(format);
    const QString existing = m_dir.filePath(name + u'.' + audiotest::extension(format));
    if (QFile::exists(existing))
        return existing;
    ToneFile toneFile;
    toneFile.frequencies = {frequency};
    toneFile.secondsEach = 4;
    toneFile.format = format;
    return audiotest::makeToneFile(m_dir.path(), name, toneFile);
}

void TestAudioPlayer::waitForLoaded()
{
    QTRY_VERIFY_WITH_TIMEOUT(m_player->duration() != 1.0, 15000);
}

void TestAudioPlayer::initTestCase()
{
    QVERIFY(m_dir.isValid());
    ToneFile steps;
    steps.frequencies = {440, 660};
    steps.secondsEach = 2.5;
    m_steps = audiotest::makeToneFile(m_dir.path(), QStringLiteral("steps"), steps);
    QVERIFY(!m_steps.isEmpty());
    ToneFile shortTone;
    shortTone.frequencies = {550};
    shortTone.secondsEach = 0.8;
    m_short = audiotest::makeToneFile(m_dir.path(), QStringLiteral("short"), shortTone);
    QVERIFY(!m_short.isEmpty());
}

void TestAudioPlayer::init()
{
    m_recorder = std::make_unique<SinkRecorder>();
    QVERIFY(m_recorder->start());
    m_player = std::make_unique<AudioPlayer>();
}

void TestAudioPlayer::cleanup()
{
    m_player.reset();
    m_recorder.reset();
}

void TestAudioPlayer::stateBeforeAnyLoad()
{
    QSignalSpy progressSpy(m_player.get(), &AudioPlayer::progressChanged);
    QCOMPARE(m_player->duration(), 1.0);
    QVERIFY(m_player->url().isEmpty());
    QVERIFY(m_player->albumArt().isNull());
    QCOMPARE(m_player->currentTime(), 0.0);

    // nothing loaded: every command is ignored
    m_player->seek(0.5);
    m_player->setVolume(0.2f);
    m_player->setCurrentTime(3);
    m_player->pause();
    m_player->stop();
    m_player->updateProgress();
    QCOMPARE(m_player->progress(), 0.0);
    QCOMPARE(m_player->volume(), 1.0f);
    QVERIFY(!m_player->isPlaying());
    QVERIFY(!m_player->hasTimer());
    QVERIFY(!m_player->hasPlayer());
    QCOMPARE(progressSpy.count(), 0);
}

void TestAudioPlayer::resolveFileURL_data()
{
    QTest::addColumn<QString>("input");
    QTest::addColumn<bool>("ok");
    const QString path = m_dir.filePath(QStringLiteral("exists with blank.wav"));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.close();
    QTest::newRow("file URL") << QUrl::fromLocalFile(path).toString() << true;
    QTest::newRow("plain absolute path") << path << true;
    QTest::newRow("missing file") << m_dir.filePath(QStringLiteral("nope.wav")) << false;
    QTest::newRow("missing file URL")
        << QUrl::fromLocalFile(m_dir.filePath(QStringLiteral("nope.wav"))).toString() << false;
    QTest::newRow("network URL") << QStringLiteral("http://localhost") + path << false;
    QTest::newRow("empty") << QString() << false;
}

void TestAudioPlayer::resolveFileURL()
{
    QFETCH(QString, input);
    QFETCH(bool, ok);
    AudioPlayer::Error error;
    const std::optional<QUrl> url = AudioPlayer::resolveFileURL(QUrl(input), &error);
    QCOMPARE(url.has_value(), ok);
    if (ok) {
        QVERIFY(url->isLocalFile());
        QVERIFY(QFile::exists(url->toLocalFile()));
    } else {
        QCOMPARE(error.printed(), QStringLiteral("AudioPlayer error -1: File does not exist"));
    }
}

void TestAudioPlayer::everyFormatSounds_data()
{
    QTest::addColumn<Format>("format");
    QTest::addColumn<double>("frequency");
    double frequency = 330;
    for (Format format : audiotest::allFormats()) {
        QTest::newRow(qPrintable(audiotest::extension(format))) << format << frequency;
        frequency += 110;
    }
}

void TestAudioPlayer::everyFormatSounds()
{
    QFETCH(Format, format);
    QFETCH(double, frequency);
    const QString path = tone(frequency, format);
    QVERIFY(!path.isEmpty());
    const QString printed = testsupport::captureStdout([&] {
        m_player->play(QUrl::fromLocalFile(path));
        QVERIFY2(m_recorder->waitForTone(frequency), qPrintable(m_recorder->describe()));
    });
    QVERIFY(m_player->isPlaying());
    QVERIFY(!printed.contains(QStringLiteral("Playback failed")));
    waitForLoaded();
    QVERIFY(std::abs(m_player->duration() - 4.0) < 0.2);
}

void TestAudioPlayer::urlWithoutSchemePlays()
{
    const QString path = tone(770);
    QUrl plain;
    plain.setPath(path);
    QVERIFY(plain.scheme().isEmpty());
    QSignalSpy urlSpy(m_player.get(), &AudioPlayer::urlChanged);
    m_player->play(plain);
    QVERIFY2(m_recorder->waitForTone(770), qPrintable(m_recorder->describe()));
    QCOMPARE(m_player->url(), QUrl::fromLocalFile(path));
    QCOMPARE(urlSpy.count(), 1);
}

void TestAudioPlayer::pauseIsSilenceAndResumeContinues()
{
    const QUrl url = QUrl::fromLocalFile(m_steps);
    QSignalSpy urlSpy(m_player.get(), &AudioPlayer::urlChanged);
    m_player->play(url);
    QVERIFY2(m_recorder->waitForTone(660), qPrintable(m_recorder->describe()));

    // the playing file asked to play again changes nothing
    m_player->play(url);
    QCOMPARE(urlSpy.count(), 1);

    m_player->pause();
    QVERIFY(!m_player->isPlaying());
    QVERIFY(m_player->hasTimer());
    QVERIFY2(m_recorder->waitForSilence(), qPrintable(m_recorder->describe()));
    const double pausedAt = m_player->currentTime();
    QVERIFY(pausedAt > 2.5);
    const double progress = m_player->progress();
    QTest::qWait(300);
    QCOMPARE(m_player->currentTime(), pausedAt);
    QCOMPARE(m_player->progress(), progress);

    m_player->play(url);
    QVERIFY(m_player->isPlaying());
    // a restart from the beginning would sound 440 Hz
    QVERIFY2(m_recorder->waitForTone(660), qPrintable(m_recorder->describe()));
    QVERIFY(m_player->currentTime() >= pausedAt);
    QCOMPARE(urlSpy.count(), 1);
}

void TestAudioPlayer::stopRewindsAndRestartsWithoutReopening()
{
    const QUrl url = QUrl::fromLocalFile(m_steps);
    QSignalSpy urlSpy(m_player.get(), &AudioPlayer::urlChanged);
    m_player->play(url);
    QVERIFY2(m_recorder->waitForTone(660), qPrintable(m_recorder->describe()));
    QTRY_VERIFY(m_player->progress() > 0.5);

    m_player->stop();
    QVERIFY(!m_player->isPlaying());
    QVERIFY(!m_player->hasTimer());
    QCOMPARE(m_player->progress(), 0.0);
    QVERIFY(m_player->hasPlayer());
    QVERIFY2(m_recorder->waitForSilence(), qPrintable(m_recorder->describe()));
    QTRY_COMPARE(m_player->currentTime(), 0.0);

    m_player->play(url);
    QVERIFY(m_player->hasTimer());
    QVERIFY2(m_recorder->waitForTone(440), qPrintable(m_recorder->describe()));
    QCOMPARE(urlSpy.count(), 1);
}

// Hears where a seek lands: `frequency` must sound after seeking to `fraction`. Qt 6.4's
// GStreamer backend now and then leaves a just-flushed stream silent; the same seek once more
// brings the sound back, so a silent first attempt is retried (and reported) before failing.
bool TestAudioPlayer::seekIsHeard(double fraction, double frequency)
{
    for (int attempt = 0; attempt < 3; ++attempt) {
        if (attempt > 0)
            qWarning("no sound after seeking to %.2f; seeking again", fraction);
        m_player->seek(fraction);
        if (m_recorder->waitForTone(frequency, 4000))
            return true;
    }
    return false;
}

void TestAudioPlayer::seekMovesThePosition()
{
    // 440 Hz for 3 s, then 660 Hz for 12 s: long enough to hear a seek land, and retry it
    ToneFile long_;
    long_.frequencies = {440, 660};
    long_.secondsEach = 7.5;
    const QString steps = audiotest::makeToneFile(m_dir.path(), QStringLiteral("long"), long_);
    QVERIFY(!steps.isEmpty());
    QSignalSpy seekedSpy(m_player.get(), &AudioPlayer::seeked);
    m_player->play(QUrl::fromLocalFile(steps));
    QVERIFY2(m_recorder->waitForTone(440), qPrintable(m_recorder->describe()));
    waitForLoaded();

    m_player->seek(0.6);
    QCOMPARE(m_player->progress(), 0.6);
    QCOMPARE(seekedSpy.count(), 1);
    QVERIFY(std::abs(seekedSpy.last().at(0).toDouble() - 9.0) < 0.05);
    QVERIFY(m_player->isPlaying());
    // the second half of the file sounds, not the first
    QVERIFY2(seekIsHeard(0.6, 660), qPrintable(m_recorder->describe()));

    // seeking a paused file leaves it paused and silent
    m_player->pause();
    m_player->seek(0.1);
    QVERIFY(!m_player->isPlaying());
    QVERIFY2(m_recorder->waitForSilence(), qPrintable(m_recorder->describe()));
    QCOMPARE(m_player->progress(), 0.1);
    m_player->play(QUrl::fromLocalFile(steps));
    QVERIFY(m_player->isPlaying());
    QVERIFY2(m_recorder->waitForTone(440, 4000) || seekIsHeard(0.1, 440),
             qPrintable(m_recorder->describe()));
}

void TestAudioPlayer::seekClamps_data()
{
    QTest::addColumn<double>("fraction");
    QTest::addColumn<double>("expected");
    QTest::newRow("negative") << -0.5 << 0.0;
    QTest::newRow("not a number") << std::numeric_limits<double>::quiet_NaN() << 0.0;
    QTest::newRow("minus infinity") << -std::numeric_limits<double>::infinity() << 0.0;
    QTest::newRow("inside") << 0.25 << 0.25;
    QTest::newRow("beyond the end") << 2.0 << 1.0;
    QTest::newRow("infinity") << std::numeric_limits<double>::infinity() << 1.0;
}

void TestAudioPlayer::seekClamps()
{
    QFETCH(double, fraction);
    QFETCH(double, expected);
    m_player->play(QUrl::fromLocalFile(m_steps));
    waitForLoaded();
    m_player->pause();
    m_player->seek(0.5);
    m_player->seek(fraction);
    QCOMPARE(m_player->progress(), expected);
    QVERIFY(std::isfinite(m_player->progress()));
}

void TestAudioPlayer::progressFollowsThePlayingTime()
{
    QSignalSpy progressSpy(m_player.get(), &AudioPlayer::progressChanged);
    m_player->play(QUrl::fromLocalFile(m_steps));
    QVERIFY(m_player->hasTimer());
    QTRY_VERIFY_WITH_TIMEOUT(m_player->progress() > 0.2, 15000);
    QVERIFY(std::abs(m_player->duration() - 5.0) < 0.1);
    for (const QList<QVariant>& args : progressSpy) {
        const double value = args.at(0).toDouble();
        QVERIFY(std::isfinite(value));
        QVERIFY(value >= 0 && value <= 1);
    }
    // a paused file stops notifying
    m_player->pause();
    QTest::qWait(300);
    const qsizetype count = progressSpy.count();
    QTest::qWait(500);
    QCOMPARE(progressSpy.count(), count);
}

void TestAudioPlayer::endOfFileCallsTheHandlerOnce()
{
    int calls = 0;
    bool playingDuringCall = true;
    m_player->onTrackFinished = [&] {
        ++calls;
        playingDuringCall = m_player->isPlaying();
    };
    m_player->play(QUrl::fromLocalFile(m_short));
    QVERIFY2(m_recorder->waitForTone(550), qPrintable(m_recorder->describe()));
    QTRY_COMPARE_WITH_TIMEOUT(calls, 1, 15000);
    QVERIFY(!playingDuringCall);
    QVERIFY(!m_player->isPlaying());
    QVERIFY(m_player->hasTimer());
    QVERIFY(m_player->hasPlayer());
    QVERIFY2(m_recorder->waitForSilence(), qPrintable(m_recorder->describe()));
    QTest::qWait(1000);
    QCOMPARE(calls, 1);

    // the ended file plays again from its start
    m_player->play(QUrl::fromLocalFile(m_short));
    QVERIFY2(m_recorder->waitForTone(550), qPrintable(m_recorder->describe()));
    QTRY_COMPARE_WITH_TIMEOUT(calls, 2, 15000);
}

void TestAudioPlayer::anotherFileReplacesTheSound()
{
    QSignalSpy urlSpy(m_player.get(), &AudioPlayer::urlChanged);
    m_player->play(QUrl::fromLocalFile(tone(440)));
    QVERIFY2(m_recorder->waitForTone(440), qPrintable(m_recorder->describe()));
    m_player->play(QUrl::fromLocalFile(tone(880)));
    QVERIFY2(m_recorder->waitForTone(880), qPrintable(m_recorder->describe()));
    // only the new file sounds: nothing of the old one is mixed in
    QVERIFY(audiotest::amplitudeAt(m_recorder->lastSamples(250), 440) < 0.01);
    QCOMPARE(urlSpy.count(), 2);
    QCOMPARE(m_player->url(), QUrl::fromLocalFile(tone(880)));
    QVERIFY(m_player->isPlaying());
}

void TestAudioPlayer::newFileStartsAtFullVolume()
{
    QSignalSpy volumeSpy(m_player.get(), &AudioPlayer::volumeChanged);
    m_player->play(QUrl::fromLocalFile(tone(440)));
    QVERIFY2(m_recorder->waitForTone(440), qPrintable(m_recorder->describe()));
    m_player->setVolume(0.25f);
    QCOMPARE(m_player->volume(), 0.25f);
    m_player->setVolume(0.25f);
    m_player->setVolume(7.0f);
    QCOMPARE(m_player->volume(), 1.0f);
    m_player->setVolume(0.25f);
    QCOMPARE(volumeSpy.count(), 3);
    // quieter, still the same tone
    QTRY_VERIFY_WITH_TIMEOUT(audiotest::rms(m_recorder->lastSamples(250)) < 0.4 * 0.3 / 1.41,
                             10000);

    m_player->play(QUrl::fromLocalFile(tone(880)));
    QCOMPARE(m_player->volume(), 1.0f);
    QCOMPARE(volumeSpy.last().at(0).toFloat(), 1.0f);
    QVERIFY2(m_recorder->waitForTone(880), qPrintable(m_recorder->describe()));
    QTRY_VERIFY2_WITH_TIMEOUT(audiotest::rms(m_recorder->lastSamples(250)) > 0.4 * 0.8 / 1.41,
                              qPrintable(m_recorder->describe()), 10000);
}

void TestAudioPlayer::missingFileKeepsThePlayingFile()
{
    const QUrl playing = QUrl::fromLocalFile(tone(440));
    m_player->play(playing);
    QVERIFY2(m_recorder->waitForTone(440), qPrintable(m_recorder->describe()));
    QSignalSpy urlSpy(m_player.get(), &AudioPlayer::urlChanged);
    const QString printed = testsupport::captureStdout(
        [&] { m_player->play(QUrl::fromLocalFile(m_dir.filePath(QStringLiteral("gone.mp3")))); });
    QCOMPARE(printed, QStringLiteral("Playback failed: AudioPlayer error -1: File does not exist\n"));
    QCOMPARE(urlSpy.count(), 0);
    QCOMPARE(m_player->url(), playing);
    QVERIFY(m_player->isPlaying());
    QVERIFY(m_player->hasTimer());
    QVERIFY2(m_recorder->waitForTone(440), qPrintable(m_recorder->describe()));
}

void TestAudioPlayer::undecodableFileKeepsThePlayingFile()
{
    const QString garbage = m_dir.filePath(QStringLiteral("garbage.mp3"));
    QVERIFY(testsupport::writeFile(garbage, QByteArray(20000, '\x5a')));
    const QUrl playing = QUrl::fromLocalFile(tone(440));
    m_player->play(playing);
    QVERIFY2(m_recorder->waitForTone(440), qPrintable(m_recorder->describe()));
    waitForLoaded();
    const double duration = m_player->duration();

    const QString printed = testsupport::captureStdout([&] {
        m_player->play(QUrl::fromLocalFile(garbage));
        QTRY_COMPARE_WITH_TIMEOUT(m_player->url(), playing, 15000);
        // errors keep arriving after the first one: give them time to be (not) printed
        QTest::qWait(500);
    });
    QCOMPARE(printed.count(QStringLiteral("Playback failed: ")), 1);
    QVERIFY(printed.startsWith(QStringLiteral("Playback failed: QMediaPlayer error ")));
    QVERIFY(printed.endsWith(u'\n'));
    QVERIFY(m_player->isPlaying());
    QCOMPARE(m_player->duration(), duration);
    QVERIFY2(m_recorder->waitForTone(440), qPrintable(m_recorder->describe()));
}

void TestAudioPlayer::undecodableFirstFileLeavesNothingLoaded()
{
    const QString garbage = m_dir.filePath(QStringLiteral("garbage.flac"));
    QVERIFY(testsupport::writeFile(garbage, QByteArray("fLaC but nothing after it")));
    const QString printed = testsupport::captureStdout([&] {
        m_player->play(QUrl::fromLocalFile(garbage));
        QTRY_VERIFY_WITH_TIMEOUT(!m_player->hasPlayer(), 15000);
    });
    QCOMPARE(printed.count(QStringLiteral("Playback failed: ")), 1);
    QVERIFY(!m_player->isPlaying());
    QVERIFY(!m_player->hasTimer());
    QCOMPARE(m_player->duration(), 1.0);
    // and the next good file plays normally
    m_player->play(QUrl::fromLocalFile(tone(440)));
    QVERIFY2(m_recorder->waitForTone(440), qPrintable(m_recorder->describe()));
}

QTEST_GUILESS_MAIN(TestAudioPlayer)
#include "tst_audioplayer.moc"
