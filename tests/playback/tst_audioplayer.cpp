#include "playback/audioplayer.h"
#include "support/audiotest.h"
#include "support/testsupport.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
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
using audiotest::ToneFile;

// Real files played into the test audio server; its null sink is recorded where what is heard
// is the point.
class TestAudioPlayer final : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    audiotest::SinkRecorder m_recorder;
    // 440 Hz for 2.5 s, then 660 Hz for 2.5 s: what sounds tells where playback is
    QString m_steps;
    QString m_short;
    // 4 s in each format, at 330, 440, ... 880 Hz
    QList<QString> m_tones;
    std::unique_ptr<AudioPlayer> m_player;

    QString path(const char* name) const { return m_dir.filePath(QString::fromUtf8(name)); }
    // Latin-1, which no UTF-8 decoder takes
    QByteArray latin1Name() const { return QFile::encodeName(path("caf")) + "\xe9.wav"; }
    QUrl tone(double frequency) const
    {
        return QUrl::fromLocalFile(m_tones.value(qsizetype(frequency / 110) - 3));
    }
    void waitForLoaded() { QTRY_VERIFY_WITH_TIMEOUT(m_player->duration() != 1.0, 15000); }

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        QVERIFY(m_recorder.start());
        const auto make = [this](const QString& name, const ToneFile& toneFile) {
            return audiotest::makeToneFile(m_dir.path(), name, toneFile);
        };
        for (Format format : {Format::Wav, Format::Flac, Format::OggVorbis, Format::Opus,
                              Format::Mp3, Format::M4a}) {
            const double frequency = 330.0 + 110.0 * double(m_tones.size());
            m_tones << make(audiotest::extension(format), {{frequency}, 4, format});
        }
        m_steps = make("steps", {{440, 660}, 2.5});
        m_short = make("short", {{550}, 0.8});
        ToneFile longTitle{{330}, 4};
        longTitle.title = QString(70000, u'x');
        QVERIFY(!make("title", longTitle).isEmpty());
        QVERIFY(!m_steps.isEmpty() && !m_short.isEmpty() && !m_tones.contains(QString()));
        // names that once kept a file from playing, and files that are no audio
        QVERIFY(QFile::copy(m_tones[0], path("a #1.wav")));
        QVERIFY(::link(QFile::encodeName(m_tones[0]).constData(), latin1Name().constData()) == 0);
        QVERIFY(::mkfifo(QFile::encodeName(path("fifo.mp3")).constData(), 0600) == 0);
        QVERIFY(QDir().mkpath(path("folder.mp3")));
        QVERIFY(testsupport::writeFile(path("garbage.mp3"), QByteArray(20000, '\x5a')));
        QVERIFY(testsupport::writeFile(path("garbage.flac"), "fLaC but nothing after it"));
    }

    // QTemporaryDir cannot remove a name it cannot decode
    void cleanupTestCase() { ::unlink(latin1Name().constData()); }
    void init() { m_player = std::make_unique<AudioPlayer>(); }
    void cleanup() { m_player.reset(); }

    void stateBeforeAnyLoad()
    {
        QSignalSpy progressSpy(m_player.get(), &AudioPlayer::progressChanged);
        // nothing loaded: every command is ignored
        m_player->seek(0.5);
        m_player->setVolume(0.2f);
        m_player->setCurrentTime(3);
        m_player->pause();
        m_player->stop();
        m_player->updateProgress();
        QCOMPARE(m_player->duration(), 1.0);
        QCOMPARE(m_player->progress(), 0.0);
        QCOMPARE(m_player->currentTime(), 0.0);
        QCOMPARE(m_player->volume(), 1.0f);
        QVERIFY(m_player->url().isEmpty() && m_player->albumArt().isNull());
        QVERIFY(!m_player->isPlaying() && !m_player->hasTimer() && !m_player->hasPlayer());
        QCOMPARE(progressSpy.count(), 0);
    }

    void resolveFileURL_data()
    {
        QTest::addColumn<QString>("input");
        QTest::addColumn<QString>("error");
        const QString missing = QStringLiteral("AudioPlayer error -1: File does not exist");
        const QString special = QStringLiteral("AudioPlayer error -2: Not a regular file");
        QTest::newRow("file URL") << QUrl::fromLocalFile(path("a #1.wav")).toString() << QString();
        QTest::newRow("plain absolute path, '#' and all") << path("a #1.wav") << QString();
        QTest::newRow("missing file") << path("nope.wav") << missing;
        QTest::newRow("missing file URL")
            << QUrl::fromLocalFile(path("nope.wav")).toString() << missing;
        QTest::newRow("network URL")
            << QStringLiteral("http://localhost") + path("a #1.wav") << missing;
        QTest::newRow("empty") << QString() << missing;
        QTest::newRow("FIFO") << path("fifo.mp3") << special;
        QTest::newRow("directory") << path("folder.mp3") << special;
        QTest::newRow("device") << QStringLiteral("/dev/zero") << special;
    }

    void resolveFileURL()
    {
        QFETCH(QString, input);
        QFETCH(QString, error);
        AudioPlayer::Error failure;
        const std::optional<QUrl> url = AudioPlayer::resolveFileURL(QUrl(input), &failure);
        QCOMPARE(url.has_value(), error.isEmpty());
        QCOMPARE(url ? url->toLocalFile() : failure.printed(), url ? path("a #1.wav") : error);
    }

    void filesPlay_data()
    {
        QTest::addColumn<QUrl>("url");
        QTest::addColumn<double>("frequency");
        for (qsizetype i = 0; i < m_tones.size(); ++i)
            QTest::newRow(qPrintable(QFileInfo(m_tones[i]).suffix()))
                << QUrl::fromLocalFile(m_tones[i]) << 330.0 + 110.0 * double(i);
        QTest::newRow("plain path with blank and '#'") << QUrl(path("a #1.wav")) << 330.0;
        QTest::newRow("name not in UTF-8")
            << QUrl::fromEncoded("file://" + latin1Name().toPercentEncoding("/")) << 330.0;
        // the audio server once dropped the stream over a title this long
        QTest::newRow("70 KB title tag") << QUrl::fromLocalFile(path("title.wav")) << 330.0;
    }

    void filesPlay()
    {
        QFETCH(QUrl, url);
        QFETCH(double, frequency);
        QSignalSpy urlSpy(m_player.get(), &AudioPlayer::urlChanged);
        const QString printed = testsupport::captureStdout([&] {
            m_player->play(url);
            QVERIFY_HEARD(m_recorder, waitForTone(frequency));
            waitForLoaded();
        });
        QVERIFY2(printed.isEmpty(), qPrintable(printed));
        QVERIFY(m_player->isPlaying());
        QCOMPARE(urlSpy.count(), 1);
        QVERIFY(std::abs(m_player->duration() - 4.0) < 0.2);
    }

    // Pause keeps the place (progress stops notifying), play resumes there; stop rewinds, and play
    // then starts the same file from its beginning without opening it again.
    void pauseResumesAndStopRewinds()
    {
        const QUrl url = QUrl::fromLocalFile(m_steps);
        QSignalSpy urlSpy(m_player.get(), &AudioPlayer::urlChanged);
        QSignalSpy progressSpy(m_player.get(), &AudioPlayer::progressChanged);
        m_player->play(url);
        QVERIFY_HEARD(m_recorder, waitForTone(660));
        QVERIFY(std::abs(m_player->duration() - 5.0) < 0.1);
        QTRY_VERIFY(m_player->progress() > 0.5);
        for (const QList<QVariant>& args : progressSpy)
            QVERIFY(args.at(0).toDouble() >= 0 && args.at(0).toDouble() <= 1);
        // the playing file asked to play again changes nothing
        m_player->play(url);

        m_player->pause();
        QVERIFY(!m_player->isPlaying() && m_player->hasTimer());
        QVERIFY_HEARD(m_recorder, waitForSilence());
        const double pausedAt = m_player->currentTime();
        const qsizetype ticks = progressSpy.count();
        QTest::qWait(300);
        QCOMPARE(m_player->currentTime(), pausedAt);
        QCOMPARE(progressSpy.count(), ticks);
        m_player->play(url);
        // a restart from the beginning would sound 440 Hz
        QVERIFY_HEARD(m_recorder, waitForTone(660));
        QVERIFY(m_player->currentTime() >= pausedAt);

        m_player->stop();
        QVERIFY(!m_player->isPlaying() && !m_player->hasTimer());
        QCOMPARE(m_player->progress(), 0.0);
        QVERIFY_HEARD(m_recorder, waitForSilence());
        QTRY_COMPARE(m_player->currentTime(), 0.0);
        m_player->play(url);
        QVERIFY(m_player->hasTimer());
        QVERIFY_HEARD(m_recorder, waitForTone(440));
        QCOMPARE(urlSpy.count(), 1);
    }

    void everySeekIsHeard()
    {
        QSignalSpy seekedSpy(m_player.get(), &AudioPlayer::seeked);
        m_player->play(QUrl::fromLocalFile(m_steps));
        QVERIFY_HEARD(m_recorder, waitForTone(440));
        waitForLoaded();
        m_player->seek(0.6);
        QCOMPARE(m_player->progress(), 0.6);
        QCOMPARE(seekedSpy.count(), 1);
        QVERIFY(std::abs(seekedSpy.last().at(0).toDouble() - 3.0) < 0.05);
        // back and forth between the two halves: each seek is heard, none is lost
        for (int i = 0; i < 10; ++i) {
            m_player->seek(i % 2 == 0 ? 0.6 : 0.1);
            QVERIFY2(m_recorder.waitForTone(i % 2 == 0 ? 660 : 440, 2000),
                     qPrintable(QStringLiteral("seek %1: ").arg(i) + m_recorder.describe()));
            QVERIFY(m_player->isPlaying());
        }
        // seeking a paused file leaves it paused and silent; playing on starts at the new place
        m_player->pause();
        m_player->seek(0.1);
        QVERIFY(!m_player->isPlaying());
        QVERIFY_HEARD(m_recorder, waitForSilence());
        QCOMPARE(m_player->progress(), 0.1);
        // out of range clamps to the ends, and NaN to the start
        const double inf = std::numeric_limits<double>::infinity();
        const std::pair<double, double> clamps[] = {
            {-0.5, 0}, {std::nan(""), 0}, {-inf, 0}, {0.25, 0.25}, {2, 1}, {inf, 1}};
        for (const auto& [fraction, expected] : clamps) {
            m_player->seek(0.5);
            m_player->seek(fraction);
            QCOMPARE(m_player->progress(), expected);
        }
        m_player->seek(0.7);
        m_player->play(QUrl::fromLocalFile(m_steps));
        QVERIFY_HEARD(m_recorder, waitForTone(660, 2000));
    }

    // A seek asked for while a file opens (as straight after a track change) is where it starts.
    void seekWhileLoadingLandsOnceReady()
    {
        m_player->play(tone(880));
        QVERIFY_HEARD(m_recorder, waitForTone(880));
        m_player->play(QUrl::fromLocalFile(m_steps));
        m_player->seek(0.7);
        m_recorder.clear();
        QVERIFY_HEARD(m_recorder, waitForTone(660, 4000));
        // the start of the file (440 Hz) never sounded
        QVERIFY(audiotest::amplitudeAt(m_recorder.lastSamples(int(m_recorder.recordedMs())), 440) <
                0.01);
        QVERIFY(m_player->currentTime() > 3.0);
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
        QVERIFY_HEARD(m_recorder, waitForTone(550));
        QTRY_COMPARE_WITH_TIMEOUT(calls, 1, 15000);
        QVERIFY(!playingDuringCall && !m_player->isPlaying());
        QVERIFY(m_player->hasTimer() && m_player->hasPlayer());
        QVERIFY_HEARD(m_recorder, waitForSilence());
        QTest::qWait(1000);
        QCOMPARE(calls, 1);
        // the ended file plays again from its start
        m_player->play(QUrl::fromLocalFile(m_short));
        QVERIFY_HEARD(m_recorder, waitForTone(550));
        QTRY_COMPARE_WITH_TIMEOUT(calls, 2, 15000);
    }

    // The new file replaces the old one's sound, and starts at full volume whatever the old had.
    void anotherFileReplacesTheSound()
    {
        QSignalSpy urlSpy(m_player.get(), &AudioPlayer::urlChanged);
        QSignalSpy volumeSpy(m_player.get(), &AudioPlayer::volumeChanged);
        m_player->play(tone(440));
        QVERIFY_HEARD(m_recorder, waitForTone(440));
        m_player->setVolume(0.25f);
        m_player->setVolume(0.25f);
        m_player->setVolume(7.0f);
        QCOMPARE(m_player->volume(), 1.0f);
        m_player->setVolume(0.25f);
        QCOMPARE(volumeSpy.count(), 3);
        // quieter, still the same tone
        QTRY_VERIFY_WITH_TIMEOUT(audiotest::rms(m_recorder.lastSamples(250)) < 0.4 * 0.3 / 1.41,
                                 10000);

        m_player->play(tone(880));
        QCOMPARE(m_player->volume(), 1.0f);
        QCOMPARE(volumeSpy.last().at(0).toFloat(), 1.0f);
        QVERIFY_HEARD(m_recorder, waitForTone(880));
        // only the new file sounds, loud: nothing of the old one is mixed in (the first window
        // with the new tone may still hold the old one's last moments before the switch)
        QTRY_VERIFY_WITH_TIMEOUT(audiotest::amplitudeAt(m_recorder.lastSamples(250), 440) < 0.01,
                                 1000);
        QTRY_VERIFY2_WITH_TIMEOUT(audiotest::rms(m_recorder.lastSamples(250)) > 0.4 * 0.8 / 1.41,
                                  qPrintable(m_recorder.describe()), 10000);
        QCOMPARE(urlSpy.count(), 2);
        QCOMPARE(m_player->url(), tone(880));
    }

    // A file that cannot be played prints one line and puts back what was loaded before, playing
    // or paused (or nothing), while the main thread keeps answering.
    void unplayableFileIsReported_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("error");
        QTest::addColumn<int>("before"); // 0: nothing loaded, 1: playing, 2: paused
        const QString missing = QStringLiteral("AudioPlayer error -1: File does not exist");
        const QString special = QStringLiteral("AudioPlayer error -2: Not a regular file");
        QTest::newRow("missing") << "gone.mp3" << missing << 1;
        QTest::newRow("missing, paused before") << "gone.mp3" << missing << 2;
        QTest::newRow("FIFO") << "fifo.mp3" << special << 1;
        QTest::newRow("directory") << "folder.mp3" << special << 1;
        QTest::newRow("undecodable") << "garbage.mp3"
                                     << "GStreamer error " << 1;
        QTest::newRow("undecodable first file") << "garbage.flac"
                                                << "GStreamer error " << 0;
    }

    void unplayableFileIsReported()
    {
        QFETCH(QString, name);
        QFETCH(QString, error);
        QFETCH(int, before);
        const QUrl playing = QUrl::fromLocalFile(m_steps);
        double duration = 1.0;
        if (before > 0) {
            m_player->play(playing);
            waitForLoaded();
            duration = m_player->duration();
            if (before == 2)
                m_player->pause();
        }
        int ticks = 0;
        QTimer ticker;
        connect(&ticker, &QTimer::timeout, this, [&] { ++ticks; });
        ticker.start(20);
        const QString printed = testsupport::captureStdout([&] {
            m_player->play(QUrl::fromLocalFile(m_dir.filePath(name)));
            QTRY_VERIFY_WITH_TIMEOUT(!m_player->isLoading(), 15000);
            // nothing more is printed afterwards
            QTest::qWait(500);
        });
        QVERIFY2(ticks > 10, qPrintable(QString::number(ticks)));
        QCOMPARE(printed.count(QStringLiteral("Playback failed: ")), 1);
        QVERIFY2(printed.startsWith(QStringLiteral("Playback failed: ") + error),
                 qPrintable(printed));
        QVERIFY(printed.endsWith(u'\n'));
        QCOMPARE(m_player->url(), before > 0 ? playing : QUrl());
        QCOMPARE(m_player->isPlaying(), before == 1);
        QCOMPARE(m_player->hasTimer(), before > 0);
        QCOMPARE(m_player->duration(), duration);
        // the good file plays on, or plays when asked
        m_player->play(playing);
        const double at = m_player->currentTime();
        QTRY_VERIFY_WITH_TIMEOUT(m_player->currentTime() > at + 0.2, 5000);
    }

    // Two files cut from one tone: the second is queued before the first ends and follows it
    // without a gap or a click, and the player says so only when it is heard.
    void queuedFileFollowsWithoutAGap()
    {
        // no fade at the cut; the second starts 1.5 s into the tone
        const ToneFile first{{440}, 1.5, Format::Wav, 0, true, false};
        const ToneFile second{{440}, 1.5, Format::Wav, 1.5, false, true};
        const QUrl firstUrl =
            QUrl::fromLocalFile(audiotest::makeToneFile(m_dir.path(), "1st", first));
        const QUrl secondUrl =
            QUrl::fromLocalFile(audiotest::makeToneFile(m_dir.path(), "2nd", second));
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
        m_recorder.clear();
        clock.start();
        m_player->play(firstUrl);
        QTRY_COMPARE_WITH_TIMEOUT(finished, 1, 15000);
        QVERIFY_HEARD(m_recorder, waitForSilence());
        QCOMPARE(asked, 2);
        // not before the first file has played out
        QVERIFY2(jointMs >= 1450, qPrintable(QString::number(jointMs)));

        // 3 s of tone with neither a dip nor a jump anywhere: the first and last 5 ms pieces fade
        const QList<float> all = m_recorder.lastSamples(int(m_recorder.recordedMs()));
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
