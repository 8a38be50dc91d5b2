#include "playback/audioplayer.h"
#include "support/audiotest.h"
#include "support/testsupport.h"

#include <QDir>
#include <QElapsedTimer>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <cmath>
#include <limits>
#include <memory>

#include <sys/stat.h>
#include <unistd.h>

using audiotest::Format;
using audiotest::SinkRecorder;
using audiotest::ToneFile;

// Every case plays real files into the test audio server and listens to its null sink.
class TestAudioPlayer final : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    // 440 Hz for 2.5 s, then 660 Hz for 2.5 s: what sounds tells where playback is
    QString m_steps;
    QString m_short;
    std::unique_ptr<AudioPlayer> m_player;
    std::unique_ptr<SinkRecorder> m_recorder;

    QString tone(double frequency, Format format = Format::Wav)
    {
        const QString name = QStringLiteral("tone%1").arg(int(frequency));
        const QString existing = m_dir.filePath(name + u'.' + audiotest::extension(format));
        if (QFile::exists(existing))
            return existing;
        ToneFile toneFile;
        toneFile.frequencies = {frequency};
        toneFile.secondsEach = 4;
        toneFile.format = format;
        return audiotest::makeToneFile(m_dir.path(), name, toneFile);
    }

    void waitForLoaded()
    {
        QTRY_VERIFY_WITH_TIMEOUT(m_player->duration() != 1.0, 15000);
    }

private slots:
    void initTestCase()
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

    void init()
    {
        m_recorder = std::make_unique<SinkRecorder>();
        QVERIFY(m_recorder->start());
        m_player = std::make_unique<AudioPlayer>();
    }

    void cleanup()
    {
        m_player.reset();
        m_recorder.reset();
    }

    void stateBeforeAnyLoad()
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

    void resolveFileURL_data()
    {
        QTest::addColumn<QString>("input");
        QTest::addColumn<QString>("error");
        const QString path = m_dir.filePath(QStringLiteral("exists with blank #1.wav"));
        QVERIFY(testsupport::writeFile(path, {}));
        const QString fifo = m_dir.filePath(QStringLiteral("fifo.wav"));
        QVERIFY(QFile::exists(fifo) || ::mkfifo(QFile::encodeName(fifo).constData(), 0600) == 0);
        const QString missing = QStringLiteral("AudioPlayer error -1: File does not exist");
        const QString special = QStringLiteral("AudioPlayer error -2: Not a regular file");
        QTest::newRow("file URL") << QUrl::fromLocalFile(path).toString() << QString();
        QTest::newRow("plain absolute path, '#' and all") << path << QString();
        QTest::newRow("missing file") << m_dir.filePath(QStringLiteral("nope.wav")) << missing;
        QTest::newRow("missing file URL")
            << QUrl::fromLocalFile(m_dir.filePath(QStringLiteral("nope.wav"))).toString() << missing;
        QTest::newRow("network URL") << QStringLiteral("http://localhost") + path << missing;
        QTest::newRow("empty") << QString() << missing;
        QTest::newRow("FIFO") << fifo << special;
        QTest::newRow("directory") << m_dir.path() << special;
        QTest::newRow("device") << QStringLiteral("/dev/zero") << special;
    }

    void resolveFileURL()
    {
        QFETCH(QString, input);
        QFETCH(QString, error);
        AudioPlayer::Error failure;
        const std::optional<QUrl> url = AudioPlayer::resolveFileURL(QUrl(input), &failure);
        QCOMPARE(url.has_value(), error.isEmpty());
        if (url)
            QVERIFY(QFile::exists(url->toLocalFile()));
        else
            QCOMPARE(failure.printed(), error);
    }

    void everyFormatSounds_data()
    {
        QTest::addColumn<Format>("format");
        QTest::addColumn<double>("frequency");
        double frequency = 330;
        for (Format format : audiotest::allFormats()) {
            QTest::newRow(qPrintable(audiotest::extension(format))) << format << frequency;
            frequency += 110;
        }
    }

    void everyFormatSounds()
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

    void oddNamesAndTagsPlay_data()
    {
        QTest::addColumn<QByteArray>("name");
        QTest::addColumn<QString>("title");
        QTest::addColumn<bool>("plainPath");
        QTest::newRow("plain path with blank and '#'") << QByteArray("a #1.wav") << QString() << true;
        // Latin-1, which no UTF-8 decoder takes
        QTest::newRow("name not in UTF-8") << QByteArray("caf\xe9.wav") << QString() << false;
        QTest::newRow("70 KB title tag") << QByteArray("title.wav") << QString(70000, u'x') << false;
    }

    void oddNamesAndTagsPlay()
    {
        QFETCH(QByteArray, name);
        QFETCH(QString, title);
        QFETCH(bool, plainPath);
        ToneFile toneFile;
        toneFile.frequencies = {770};
        toneFile.title = title;
        const QString made = audiotest::makeToneFile(m_dir.path(), QStringLiteral("odd"), toneFile);
        const QByteArray bytes = QFile::encodeName(m_dir.path()) + '/' + name;
        QVERIFY(::rename(QFile::encodeName(made).constData(), bytes.constData()) == 0);
        const QUrl url = plainPath ? QUrl(QString::fromUtf8(bytes))
                                   : QUrl::fromEncoded("file://" + bytes.toPercentEncoding("/"));
        QSignalSpy urlSpy(m_player.get(), &AudioPlayer::urlChanged);
        const QString printed = testsupport::captureStdout([&] {
            m_player->play(url);
            QVERIFY2(m_recorder->waitForTone(770), qPrintable(m_recorder->describe()));
        });
        QVERIFY2(printed.isEmpty(), qPrintable(printed));
        QCOMPARE(urlSpy.count(), 1);
        QVERIFY(m_player->url().isLocalFile());
        ::unlink(bytes.constData());
    }

    // Pause keeps the place (progress stops notifying), play resumes there; stop rewinds, and play

    // then starts the same file from its beginning without opening it again.
    void pauseResumesAndStopRewinds()
    {
        const QUrl url = QUrl::fromLocalFile(m_steps);
        QSignalSpy urlSpy(m_player.get(), &AudioPlayer::urlChanged);
        QSignalSpy progressSpy(m_player.get(), &AudioPlayer::progressChanged);
        m_player->play(url);
        QVERIFY2(m_recorder->waitForTone(660), qPrintable(m_recorder->describe()));
        QVERIFY(std::abs(m_player->duration() - 5.0) < 0.1);
        QTRY_VERIFY(m_player->progress() > 0.5);
        for (const QList<QVariant>& args : progressSpy)
            QVERIFY(args.at(0).toDouble() >= 0 && args.at(0).toDouble() <= 1);
        // the playing file asked to play again changes nothing
        m_player->play(url);

        m_player->pause();
        QVERIFY(!m_player->isPlaying());
        QVERIFY(m_player->hasTimer());
        QVERIFY2(m_recorder->waitForSilence(), qPrintable(m_recorder->describe()));
        const double pausedAt = m_player->currentTime();
        const qsizetype ticks = progressSpy.count();
        QTest::qWait(300);
        QCOMPARE(m_player->currentTime(), pausedAt);
        QCOMPARE(progressSpy.count(), ticks);
        m_player->play(url);
        // a restart from the beginning would sound 440 Hz
        QVERIFY2(m_recorder->waitForTone(660), qPrintable(m_recorder->describe()));
        QVERIFY(m_player->currentTime() >= pausedAt);

        m_player->stop();
        QVERIFY(!m_player->isPlaying());
        QVERIFY(!m_player->hasTimer());
        QCOMPARE(m_player->progress(), 0.0);
        QVERIFY2(m_recorder->waitForSilence(), qPrintable(m_recorder->describe()));
        QTRY_COMPARE(m_player->currentTime(), 0.0);
        m_player->play(url);
        QVERIFY(m_player->hasTimer());
        QVERIFY2(m_recorder->waitForTone(440), qPrintable(m_recorder->describe()));
        QCOMPARE(urlSpy.count(), 1);
    }

    void everySeekIsHeard()
    {
        QSignalSpy seekedSpy(m_player.get(), &AudioPlayer::seeked);
        m_player->play(QUrl::fromLocalFile(m_steps));
        QVERIFY2(m_recorder->waitForTone(440), qPrintable(m_recorder->describe()));
        waitForLoaded();
        m_player->seek(0.6);
        QCOMPARE(m_player->progress(), 0.6);
        QCOMPARE(seekedSpy.count(), 1);
        QVERIFY(std::abs(seekedSpy.last().at(0).toDouble() - 3.0) < 0.05);

        // back and forth between the two halves: each seek is heard, none is lost
        for (int i = 0; i < 20; ++i) {
            const bool secondHalf = i % 2 == 0;
            m_player->seek(secondHalf ? 0.6 : 0.1);
            QVERIFY2(m_recorder->waitForTone(secondHalf ? 660 : 440, 2000),
                     qPrintable(QStringLiteral("seek %1: ").arg(i) + m_recorder->describe()));
            QVERIFY(m_player->isPlaying());
        }

        // seeking a paused file leaves it paused and silent; playing on starts at the new place
        m_player->pause();
        m_player->seek(0.1);
        QVERIFY(!m_player->isPlaying());
        QVERIFY2(m_recorder->waitForSilence(), qPrintable(m_recorder->describe()));
        QCOMPARE(m_player->progress(), 0.1);
        m_player->seek(0.7);
        m_player->play(QUrl::fromLocalFile(m_steps));
        QVERIFY2(m_recorder->waitForTone(660, 2000), qPrintable(m_recorder->describe()));
    }

    // A seek asked for while a file opens (as straight after a track change) is where it starts.
    void seekWhileLoadingLandsOnceReady()
    {
        m_player->play(QUrl::fromLocalFile(tone(880)));
        QVERIFY2(m_recorder->waitForTone(880), qPrintable(m_recorder->describe()));
        m_player->play(QUrl::fromLocalFile(m_steps));
        m_player->seek(0.7);
        m_recorder->clear();
        QVERIFY2(m_recorder->waitForTone(660, 4000), qPrintable(m_recorder->describe()));
        // the start of the file (440 Hz) never sounded
        QVERIFY(audiotest::amplitudeAt(m_recorder->lastSamples(int(m_recorder->recordedMs())), 440) <
                0.01);
        QVERIFY(m_player->currentTime() > 3.0);
    }

    void seekClamps_data()
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

    void seekClamps()
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

    void endOfFileCallsTheHandlerOnce()
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

    // The new file replaces the old one's sound, and starts at full volume whatever the old had.
    void anotherFileReplacesTheSound()
    {
        QSignalSpy urlSpy(m_player.get(), &AudioPlayer::urlChanged);
        QSignalSpy volumeSpy(m_player.get(), &AudioPlayer::volumeChanged);
        m_player->play(QUrl::fromLocalFile(tone(440)));
        QVERIFY2(m_recorder->waitForTone(440), qPrintable(m_recorder->describe()));
        m_player->setVolume(0.25f);
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
        // only the new file sounds, loud: nothing of the old one is mixed in (the first window
        // with the new tone may still hold the old one's last moments before the switch)
        QTRY_VERIFY_WITH_TIMEOUT(audiotest::amplitudeAt(m_recorder->lastSamples(250), 440) < 0.01, 1000);
        QTRY_VERIFY2_WITH_TIMEOUT(audiotest::rms(m_recorder->lastSamples(250)) > 0.4 * 0.8 / 1.41,
                                  qPrintable(m_recorder->describe()), 10000);
        QCOMPARE(urlSpy.count(), 2);
        QCOMPARE(m_player->url(), QUrl::fromLocalFile(tone(880)));
    }

    void unplayableFileKeepsThePlayingFile_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("error");
        QTest::newRow("missing") << "gone.mp3" << "AudioPlayer error -1: File does not exist";
        QTest::newRow("FIFO") << "fifo.mp3" << "AudioPlayer error -2: Not a regular file";
        QTest::newRow("directory") << "folder.mp3" << "AudioPlayer error -2: Not a regular file";
        QTest::newRow("undecodable") << "garbage.mp3" << "GStreamer error ";
    }

    void unplayableFileKeepsThePlayingFile()
    {
        QFETCH(QString, name);
        QFETCH(QString, error);
        const QString path = m_dir.filePath(name);
        if (name == QStringLiteral("fifo.mp3"))
            QVERIFY(::mkfifo(QFile::encodeName(path).constData(), 0600) == 0);
        else if (name == QStringLiteral("folder.mp3"))
            QVERIFY(QDir().mkpath(path));
        else if (name == QStringLiteral("garbage.mp3"))
            QVERIFY(testsupport::writeFile(path, QByteArray(20000, '\x5a')));
        const QUrl playing = QUrl::fromLocalFile(tone(440));
        m_player->play(playing);
        QVERIFY2(m_recorder->waitForTone(440), qPrintable(m_recorder->describe()));
        waitForLoaded();
        const double duration = m_player->duration();

        // the main thread keeps answering throughout
        int ticks = 0;
        QTimer ticker;
        connect(&ticker, &QTimer::timeout, this, [&] { ++ticks; });
        ticker.start(20);
        const QString printed = testsupport::captureStdout([&] {
            m_player->play(QUrl::fromLocalFile(path));
            QTRY_VERIFY_WITH_TIMEOUT(m_player->url() == playing && !m_player->isLoading(), 15000);
            // nothing more is printed afterwards
            QTest::qWait(500);
        });
        QVERIFY2(ticks > 10, qPrintable(QString::number(ticks)));
        QCOMPARE(printed.count(QStringLiteral("Playback failed: ")), 1);
        QVERIFY2(printed.startsWith(QStringLiteral("Playback failed: ") + error), qPrintable(printed));
        QVERIFY(printed.endsWith(u'\n'));
        QVERIFY(m_player->isPlaying());
        QVERIFY(m_player->hasTimer());
        QCOMPARE(m_player->duration(), duration);
        QVERIFY2(m_recorder->waitForTone(440), qPrintable(m_recorder->describe()));
    }

    void undecodableFirstFileLeavesNothingLoaded()
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

    // Two files cut from one tone: the second is queued before the first ends and follows it

    // without a gap or a click, and the player says so only when it is heard.
    void queuedFileFollowsWithoutAGap()
    {
        ToneFile first;
        first.frequencies = {440};
        first.secondsEach = 1.5;
        first.fadeOut = false;
        ToneFile second = first;
        second.startSeconds = 1.5;
        second.fadeIn = false;
        second.fadeOut = true;
        const QUrl firstUrl = QUrl::fromLocalFile(audiotest::makeToneFile(m_dir.path(), "first", first));
        const QUrl secondUrl = QUrl::fromLocalFile(audiotest::makeToneFile(m_dir.path(), "second", second));
        int asked = 0;
        m_player->nextTrackURL = [&] { return ++asked == 1 ? secondUrl : QUrl(); };
        QElapsedTimer clock;
        qint64 jointMs = -1;
        m_player->onNextTrackStarted = [&](const QUrl& url) {
            QCOMPARE(url, secondUrl);
            QCOMPARE(m_player->url(), secondUrl);
            jointMs = clock.elapsed();
        };
        int finished = 0;
        m_player->onTrackFinished = [&] { ++finished; };
        m_recorder->clear();
        clock.start();
        m_player->play(firstUrl);
        QTRY_COMPARE_WITH_TIMEOUT(finished, 1, 15000);
        QVERIFY2(m_recorder->waitForSilence(), qPrintable(m_recorder->describe()));
        QCOMPARE(asked, 2);
        // not before the first file has played out
        QVERIFY2(jointMs >= 1450, qPrintable(QString::number(jointMs)));

        // 3 s of tone with neither a dip nor a jump anywhere: the first and last 5 ms pieces fade
        const QList<float> all = m_recorder->lastSamples(int(m_recorder->recordedMs()));
        constexpr qsizetype piece = audiotest::kSampleRate / 200;
        QList<qsizetype> loud;
        for (qsizetype i = 0; i + piece <= all.size(); i += piece)
            if (audiotest::rms(all.mid(i, piece)) > 0.1)
                loud << i;
        QVERIFY(!loud.isEmpty());
        const double seconds = double(loud.last() + piece - loud.first()) / audiotest::kSampleRate;
        QVERIFY2(std::abs(seconds - 3.0) < 0.05, qPrintable(QString::number(seconds)));
        QCOMPARE(loud.size(), (loud.last() - loud.first()) / piece + 1);
        double jump = 0;
        for (qsizetype i = loud.first() + piece; i < loud.last(); ++i)
            jump = std::max(jump, double(std::abs(all[i + 1] - 2 * all[i] + all[i - 1])));
        // a 440 Hz sine of amplitude 0.4 changes its slope by at most 0.0016 a sample
        QVERIFY2(jump < 0.01, qPrintable(QString::number(jump)));
    }
};

QTEST_GUILESS_MAIN(TestAudioPlayer)
#include "tst_audioplayer.moc"
