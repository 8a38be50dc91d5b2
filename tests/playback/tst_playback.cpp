#include "control/playercontroller.h"
#include "model/config.h"
#include "playback/albumart.h"
#include "playback/audioplayer.h"
#include "playback/soundplayer.h"
#include "support/audiotest.h"
#include "support/testsupport.h"

#include <QtTest>

#include <cmath>
#include <future>
#include <limits>
#include <memory>
#include <numbers>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using audiotest::Format;
using audiotest::ToneFile;
using Pictures = QList<QByteArray>;

// the level of a tone file played at full volume
constexpr double kLoud = audiotest::kToneAmplitude / std::numbers::sqrt2;

namespace {

QByteArray imageBytes(const QColor& color, const QSize& size = {16, 16}, const char* format = "PNG")
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(color);
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format);
    return buffer.data();
}

// near the colour is good enough: JPEG is lossy; an invalid colour stands for no picture
bool shows(const QImage& image, const QColor& expected)
{
    if (image.isNull() || !expected.isValid())
        return image.isNull() && !expected.isValid();
    const QColor got = image.pixelColor(image.width() / 2, image.height() / 2);
    return std::abs(got.red() - expected.red()) < 16 && std::abs(got.blue() - expected.blue()) < 16;
}

// where each 5 ms piece louder than the level starts, and how long from the first to the last
constexpr qsizetype kPiece = audiotest::kSampleRate / 200;
QList<qsizetype> loudPieces(const QList<float>& samples, double level)
{
    QList<qsizetype> loud;
    for (qsizetype i = 0; i + kPiece <= samples.size(); i += kPiece)
        if (audiotest::rms(samples.mid(i, kPiece)) > level)
            loud << i;
    return loud;
}
double loudSeconds(const QList<qsizetype>& loud)
{
    return double(loud.last() + kPiece - loud.first()) / audiotest::kSampleRate;
}

} // namespace

// Real files played into the test sink and recorded: the player, the skin's sounds (the shipped
// ones plus test-only "tone440", "tone880", 3 s each, and "broken") and cover pictures.
class TestPlayback final : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    audiotest::SinkRecorder m_recorder;
    QUrl m_steps;        // 440 Hz for 2.5 s, then 660 Hz: what sounds tells where playback is
    QList<QUrl> m_tones; // 4 s in each format, at 330, 440, ... 880 Hz
    std::unique_ptr<AudioPlayer> m_player;
    const QByteArray m_red = imageBytes(Qt::red);
    const QByteArray m_blue = imageBytes(Qt::blue, {24, 12}, "JPG");

    QString path(const QString& name) const { return m_dir.filePath(name); }
    // 1.5 s cut from one endless tone, without a fade at the cut
    QUrl cut(const char* name, double start, bool first) const
    {
        return QUrl::fromLocalFile(make(name, {{440}, 1.5, Format::Wav, start, first, !first}));
    }
    QString make(const QString& name, const ToneFile& tone) const
    {
        return audiotest::makeToneFile(m_dir.path(), name, tone);
    }
    // Latin-1, which no UTF-8 decoder takes
    QByteArray latin1Name() const { return QFile::encodeName(path("caf")) + "\xe9.wav"; }
    // a second of tone with these cover pictures
    QString file(const QString& name, Format format, const Pictures& pictures) const
    {
        return make(name, {{440}, 1, format, 0, true, true, "Title", pictures});
    }
    // the audio streams open on the test server
    static qsizetype streams()
    {
        QProcess pactl;
        pactl.start("pactl", {"list", "short", "sink-inputs"});
        pactl.waitForFinished();
        return pactl.readAllStandardOutput().count('\n');
    }
    void waitForLoaded() { QTRY_VERIFY_WITH_TIMEOUT(m_player->duration() != 1.0, 15000); }

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid() && m_recorder.start());
        for (Format format :
             {Format::Wav, Format::Flac, Format::OggVorbis, Format::Opus, Format::Mp3, Format::M4a,
              Format::WavPack, Format::Aiff, Format::Alac, Format::Wma}) {
            const ToneFile tone{{110.0 * double(m_tones.size() + 3)}, 4, format};
            const QString name = format == Format::Alac ? "alac" : audiotest::extension(format);
            m_tones << QUrl::fromLocalFile(make(name, tone));
        }
        m_steps = QUrl::fromLocalFile(make("steps", {{440, 660}, 2.5}));
        const QString longTitle(70000, u'x');
        QVERIFY(!make("title", {{330}, 4, Format::Wav, 0, true, true, longTitle}).isEmpty());
        QVERIFY(!m_tones.contains(QUrl()));
        // names that once kept a file from playing, and files that are no audio
        QVERIFY(QFile::copy(m_tones[0].toLocalFile(), path("a #1.wav")));
        const QByteArray copy = QFile::encodeName(path("a #1.wav"));
        QVERIFY(::link(copy.constData(), latin1Name().constData()) == 0);
        QVERIFY(::mkfifo(QFile::encodeName(path("fifo.mp3")).constData(), 0600) == 0);
        QVERIFY(QDir().mkpath(path("folder.mp3")));
        QVERIFY(testsupport::writeFile(path("garbage.mp3"), QByteArray(20000, '\x5a')));
        QVERIFY(testsupport::writeFile(path("garbage.flac"), "fLaC but nothing after it"));
    }

    // QTemporaryDir cannot remove a name it cannot decode
    void cleanupTestCase() { ::unlink(latin1Name().constData()); }
    void init() { m_player = std::make_unique<AudioPlayer>(); }
    void cleanup() { m_player.reset(); }

    // Nothing loaded: every command is ignored, and nothing touches a player that is not there.
    void stateBeforeAnyLoad()
    {
        QSignalSpy progressSpy(m_player.get(), &AudioPlayer::progressChanged);
        m_player->seek(0.5);
        m_player->setVolume(0.2f);
        m_player->setCurrentTime(3);
        m_player->pause();
        m_player->stop();
        m_player->updateProgress();
        QVERIFY(m_player->duration() == 1.0 && m_player->progress() == 0);
        QVERIFY(m_player->volume() == 1 && m_player->currentTime() == 0 && !m_player->isPlaying());
        QVERIFY(m_player->url().isEmpty() && !m_player->hasTimer() && !m_player->hasPlayer());
        QVERIFY(progressSpy.isEmpty());
    }

    void filesPlay_data()
    {
        QTest::addColumn<QUrl>("url");
        QTest::addColumn<double>("frequency");
        for (qsizetype i = 0; i < m_tones.size(); ++i)
            QTest::newRow(qPrintable(m_tones[i].fileName())) << m_tones[i] << 330.0 + 110 * i;
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
        QVERIFY(AudioPlayer::resolveFileURL(url));
        QSignalSpy urlSpy(m_player.get(), &AudioPlayer::urlChanged);
        const QString printed = testsupport::captureStdout([&] {
            m_player->play(url);
            QVERIFY_HEARD(m_recorder, waitForTone(frequency));
            waitForLoaded();
        });
        QVERIFY2(printed.isEmpty(), qPrintable(printed));
        QVERIFY(m_player->isPlaying() && urlSpy.count() == 1);
        QVERIFY(std::abs(m_player->duration() - 4.0) < 0.2);
    }

    // Every seek is heard at its place; out of range (NaN too) clamps. Pause keeps the place and
    // stops the ticks, play resumes where a seek put it; stop rewinds without a reopen.
    void seekPauseResumeStop()
    {
        QSignalSpy urlSpy(m_player.get(), &AudioPlayer::urlChanged);
        QSignalSpy progressSpy(m_player.get(), &AudioPlayer::progressChanged);
        QSignalSpy seekedSpy(m_player.get(), &AudioPlayer::seeked);
        m_player->play(m_steps);
        QVERIFY_HEARD(m_recorder, waitForTone(440));
        waitForLoaded();
        QVERIFY(std::abs(m_player->duration() - 5.0) < 0.1);
        for (int i = 0; i < 8; ++i) {
            m_player->seek(i % 2 == 0 ? 0.6 : 0.1);
            QVERIFY2(m_recorder.waitForTone(i % 2 == 0 ? 660 : 440, 4000),
                     qPrintable(QStringLiteral("seek %1: ").arg(i) + m_recorder.describe()));
            QVERIFY(m_player->isPlaying());
        }
        QVERIFY(seekedSpy.count() == 8 && std::abs(seekedSpy.last().at(0).toDouble() - 0.5) < 0.05);
        QTRY_VERIFY(m_player->progress() > 0.15);
        for (const QList<QVariant>& args : progressSpy)
            QVERIFY(args.at(0).toDouble() >= 0 && args.at(0).toDouble() <= 1);
        // the playing file asked to play again changes nothing
        m_player->play(m_steps);

        // well before the file's end, which would fall silent too
        m_player->pause();
        QVERIFY(!m_player->isPlaying() && m_player->hasTimer());
        QVERIFY_HEARD(m_recorder, waitForSilence(1500));
        const double pausedAt = m_player->currentTime();
        const qsizetype ticks = progressSpy.count();
        QTest::qWait(300);
        QVERIFY(pausedAt > 0.6 && m_player->currentTime() == pausedAt);
        QCOMPARE(progressSpy.count(), ticks);
        const double inf = std::numeric_limits<double>::infinity();
        const std::pair<double, double> clamps[] = {
            {-0.5, 0}, {std::nan(""), 0}, {-inf, 0}, {0.25, 0.25}, {2, 1}, {inf, 1}, {0.8, 0.8}};
        for (const auto& [fraction, expected] : clamps) {
            m_player->seek(0.5);
            m_player->seek(fraction);
            QCOMPARE(m_player->progress(), expected);
        }
        QVERIFY_HEARD(m_recorder, waitForSilence());
        QVERIFY(!m_player->isPlaying());
        m_player->play(m_steps);
        QVERIFY(m_player->isPlaying());
        // a restart from the beginning would sound 440 Hz
        QVERIFY_HEARD(m_recorder, waitForTone(660, 2000));
        QVERIFY(m_player->currentTime() >= 3.9);

        m_player->stop();
        QVERIFY(!m_player->isPlaying() && !m_player->hasTimer() && m_player->progress() == 0);
        QVERIFY_HEARD(m_recorder, waitForSilence());
        QTRY_COMPARE(m_player->currentTime(), 0.0);
        m_player->play(m_steps);
        QVERIFY(m_player->hasTimer());
        QVERIFY_HEARD(m_recorder, waitForTone(440));
        QCOMPARE(urlSpy.count(), 1);
    }

    // Paused for a while, the file lets its audio stream go and keeps its place, its volume and
    // any seek asked for meanwhile; playing again opens a stream where it paused. Stopped, it
    // starts again from the beginning.
    void pausedFileLetsItsStreamGo()
    {
        Playbin::setReleaseAfter(300);
        const auto restore = qScopeGuard([] { Playbin::setReleaseAfter(3000); });
        m_player->play(m_steps);
        QVERIFY_HEARD(m_recorder, waitForTone(440));
        waitForLoaded();
        m_player->setVolume(0.5f);
        m_player->setCurrentTime(1.0);
        QTest::qWait(300);
        QCOMPARE(streams(), 1);
        m_player->pause();
        QTest::qWait(150);
        const double pausedAt = m_player->currentTime();
        QCOMPARE(streams(), 1);
        QTRY_COMPARE_WITH_TIMEOUT(streams(), 0, 5000);
        QCOMPARE(m_player->currentTime(), pausedAt);
        m_player->updateProgress();
        QCOMPARE(m_player->progress(), pausedAt / 5.0);

        m_recorder.clear();
        m_player->play(m_steps);
        QVERIFY_HEARD(m_recorder, waitForTone(440));
        // where it paused, not from the start: 440 Hz sounds for less than the 1.5 s left of it
        QVERIFY_HEARD(m_recorder, waitForTone(660, 1800));
        const double level = audiotest::amplitudeAt(m_recorder.lastSamples(250), 660);
        QVERIFY2(std::abs(level / (0.5 * audiotest::kToneAmplitude) - 1) < 0.1,
                 qPrintable(QString::number(level)));

        m_player->pause();
        QTRY_COMPARE_WITH_TIMEOUT(streams(), 0, 5000);
        m_player->seek(0.1);
        QTest::qWait(100);
        QVERIFY(std::abs(m_player->currentTime() - 0.5) < 0.01);
        QCOMPARE(streams(), 0);
        m_player->play(m_steps);
        QVERIFY_HEARD(m_recorder, waitForTone(440));
        QVERIFY(m_player->currentTime() < 2.5);

        m_player->stop();
        QTRY_COMPARE_WITH_TIMEOUT(streams(), 0, 5000);
        QCOMPARE(m_player->currentTime(), 0.0);
        m_player->play(m_steps);
        QVERIFY_HEARD(m_recorder, waitForTone(440));
        QTest::qWait(1000);
        QVERIFY(m_player->isPlaying() && m_player->currentTime() < 2.0);
    }

    // Another file replaces the old one's sound, at full volume whatever the old had, and starts
    // where a seek asked for while it opens (as straight after a track change) put it.
    // A step of 0.06 of the 5 s file is 0.3 s: progress is taken every third beat and never
    // lags more than a step; without a step it is taken on every beat again.
    void progressIsTakenAsOftenAsItIsDrawn()
    {
        m_player->play(m_steps);
        waitForLoaded();
        QTRY_VERIFY(m_player->progress() > 0);
        const auto follow = [this](double step, int milliseconds) {
            m_player->setProgressStep(step);
            QSignalSpy progressSpy(m_player.get(), &AudioPlayer::progressChanged);
            QElapsedTimer clock;
            clock.start();
            double lag = 0;
            while (clock.elapsed() < milliseconds) {
                QTest::qWait(20);
                lag = std::max(lag, m_player->currentTime() / m_player->duration() -
                                        m_player->progress());
            }
            return std::pair(progressSpy.count(), lag);
        };
        const auto [sparse, sparseLag] = follow(0.06, 1500);
        QVERIFY2(sparse >= 3 && sparse <= 7, qPrintable(QString::number(sparse)));
        QVERIFY2(sparseLag <= 0.06 + 0.02, qPrintable(QString::number(sparseLag)));
        // a jump is drawn at once, whatever the step
        m_player->seek(0.1);
        QCOMPARE(m_player->progress(), 0.1);
        const auto [dense, denseLag] = follow(0, 1000);
        QVERIFY2(dense >= 7, qPrintable(QString::number(dense)));
        QVERIFY2(denseLag <= 0.04, qPrintable(QString::number(denseLag)));
    }

    void anotherFileReplacesTheSound()
    {
        QSignalSpy urlSpy(m_player.get(), &AudioPlayer::urlChanged);
        QSignalSpy volumeSpy(m_player.get(), &AudioPlayer::volumeChanged);
        m_player->play(m_tones[5]);
        QVERIFY_HEARD(m_recorder, waitForTone(880));
        // a repeated volume is no change, and too loud is full volume
        for (float volume : {0.25f, 0.25f, 7.0f, 0.25f})
            m_player->setVolume(volume);
        QVERIFY(volumeSpy.count() == 3 && volumeSpy.at(1).at(0).toFloat() == 1.0f);
        // quieter, still the same tone
        QTRY_VERIFY_WITH_TIMEOUT(audiotest::rms(m_recorder.lastSamples(250)) < 0.3 * kLoud, 10000);

        m_player->play(m_steps);
        m_player->seek(0.7);
        m_recorder.clear();
        QVERIFY(m_player->volume() == 1.0f && volumeSpy.last().at(0).toFloat() == 1.0f);
        QVERIFY_HEARD(m_recorder, waitForTone(660, 4000));
        // the new file's start (440 Hz) never sounded; the old tone fades within one window
        QVERIFY(audiotest::amplitudeAt(m_recorder.lastSamples(-1), 440) < 0.01);
        QTRY_VERIFY_WITH_TIMEOUT(audiotest::amplitudeAt(m_recorder.lastSamples(250), 880) < 0.01,
                                 1000);
        QTRY_VERIFY2_WITH_TIMEOUT(audiotest::rms(m_recorder.lastSamples(250)) > 0.8 * kLoud,
                                  qPrintable(m_recorder.describe()), 10000);
        QVERIFY(urlSpy.count() == 2 && m_player->url() == m_steps && m_player->currentTime() > 3);
    }

    // What cannot be played prints one line and puts back what was loaded before, playing,
    // paused or nothing, while the main thread keeps answering: a FIFO is never waited on.
    void unplayableFileIsReported_data()
    {
        QTest::addColumn<QString>("input");
        QTest::addColumn<QString>("error");
        QTest::addColumn<int>("before"); // 0: nothing loaded, 1: playing, 2: paused
        const QString missing = QStringLiteral("AudioPlayer error -1: File does not exist");
        const QString special = QStringLiteral("AudioPlayer error -2: Not a regular file");
        const QString undecodable = QStringLiteral("GStreamer error ");
        QTest::newRow("missing") << "file://" + path("gone.mp3") << missing << 1;
        QTest::newRow("network URL") << "http://localhost" + path("a #1.wav") << missing << 1;
        QTest::newRow("empty") << QString() << missing << 0;
        QTest::newRow("FIFO") << path("fifo.mp3") << special << 1;
        QTest::newRow("directory") << path("folder.mp3") << special << 2;
        QTest::newRow("device") << QStringLiteral("/dev/zero") << special << 0;
        QTest::newRow("undecodable") << path("garbage.mp3") << undecodable << 1;
        QTest::newRow("undecodable first file") << path("garbage.flac") << undecodable << 0;
    }

    void unplayableFileIsReported()
    {
        QFETCH(QString, input);
        QFETCH(QString, error);
        QFETCH(int, before);
        // the same verdict without playing, for whoever checks a file first
        AudioPlayer::Error failure;
        const bool resolves = AudioPlayer::resolveFileURL(QUrl(input), &failure).has_value();
        QCOMPARE(resolves ? QStringLiteral("GStreamer error ") : failure.printed(), error);
        if (before > 0) {
            m_player->play(m_steps);
            waitForLoaded();
        }
        if (before == 2)
            m_player->pause();
        const double duration = m_player->duration();
        int ticks = 0;
        QTimer ticker;
        connect(&ticker, &QTimer::timeout, this, [&] { ++ticks; });
        ticker.start(20);
        const QString printed = testsupport::captureStdout([&] {
            m_player->play(QUrl(input));
            QTRY_VERIFY_WITH_TIMEOUT(!m_player->isLoading(), 15000);
            QTest::qWait(500); // nothing more is printed afterwards
        });
        QVERIFY2(ticks > 10, qPrintable(QString::number(ticks)));
        QVERIFY2(printed.startsWith("Playback failed: " + error) && printed.count(u'\n') == 1 &&
                     printed.endsWith(u'\n'),
                 qPrintable(printed));
        QCOMPARE(m_player->url(), before > 0 ? m_steps : QUrl());
        QVERIFY(m_player->isPlaying() == (before == 1) && m_player->hasTimer() == (before > 0));
        QCOMPARE(m_player->duration(), duration);
        // the good file plays on, or plays when asked
        m_player->play(m_steps);
        const double at = m_player->currentTime();
        QTRY_VERIFY_WITH_TIMEOUT(m_player->currentTime() > at + 0.2, 5000);
    }

    // Two files cut from one tone: the second, handed over early, follows without a gap or a
    // click, told only when heard, even with the main thread busy at the joint. The last end is
    // told once, silently, and that file then plays again from its start.
    void queuedFileFollowsWithoutAGap()
    {
        const QUrl firstUrl = cut("1st", 0, true), secondUrl = cut("2nd", 1.5, false);
        int finished = 0;
        bool playingAtEnd = true;
        QElapsedTimer clock;
        qint64 jointMs = -1;
        connect(m_player.get(), &TrackPlayer::nextTrackStarted, this, [&](const QUrl& url) {
            jointMs = url == secondUrl && m_player->url() == secondUrl ? clock.elapsed() : -2;
        });
        connect(m_player.get(), &TrackPlayer::trackFinished, this, [&] {
            ++finished;
            playingAtEnd = m_player->isPlaying();
        });
        m_recorder.clear();
        clock.start();
        m_player->play(firstUrl);
        m_player->setNextURL(secondUrl);
        QTRY_VERIFY_WITH_TIMEOUT(clock.elapsed() > 1000, 15000);
        // a window that hangs over the joint: the streaming thread asks it nothing
        QThread::msleep(1000);
        QTRY_COMPARE_WITH_TIMEOUT(finished, 1, 15000);
        QVERIFY(!playingAtEnd && !m_player->isPlaying());
        QVERIFY(m_player->hasTimer() && m_player->hasPlayer());
        QVERIFY_HEARD(m_recorder, waitForSilence());
        // the joint not before the first has played out; nothing followed the second
        QVERIFY2(jointMs >= 1450, qPrintable(QString::number(jointMs)));

        // 3 s of tone with neither a dip nor a jump anywhere: the first and last 5 ms pieces fade
        const QList<float> all = m_recorder.lastSamples(-1);
        const QList<qsizetype> loud = loudPieces(all, 0.1);
        QVERIFY(!loud.isEmpty());
        const double seconds = loudSeconds(loud);
        QVERIFY2(std::abs(seconds - 3.0) < 0.05, qPrintable(QString::number(seconds)));
        QCOMPARE(loud.size(), (loud.last() - loud.first()) / kPiece + 1);
        double jump = 0;
        for (qsizetype i = loud.first() + kPiece; i < loud.last(); ++i)
            jump = std::max(jump, double(std::abs(all[i + 1] - 2 * all[i] + all[i - 1])));
        // a 440 Hz sine of amplitude 0.4 changes its slope by at most 0.0016 a sample
        QVERIFY2(jump < 0.01, qPrintable(QString::number(jump)));

        QTest::qWait(500);
        QCOMPARE(finished, 1);
        m_player->play(secondUrl);
        QVERIFY_HEARD(m_recorder, waitForTone(440));
        QTRY_COMPARE_WITH_TIMEOUT(finished, 2, 15000);
    }

    // Levelled by the tags, at the sink, against the untagged FLAC twin.
    void loudness_data()
    {
        QTest::addColumn<Format>("format");
        QTest::addColumn<QVariantMap>("tags");
        QTest::addColumn<Loudness>("loudness");
        QTest::addColumn<double>("ratio");
        const QVariantMap half{{"REPLAYGAIN_TRACK_GAIN", "-6.02 dB"}};
        QVariantMap album = half;
        album.insert("REPLAYGAIN_ALBUM_GAIN", "-12.04 dB");
        QTest::newRow("FLAC track gain") << Format::Flac << half << Loudness::Track << 0.5;
        QTest::newRow("off as today") << Format::Flac << half << Loudness::Off << 1.0;
        QTest::newRow("album mode") << Format::Flac << album << Loudness::Album << 0.25;
        QTest::newRow("MP3 TXXX") << Format::Mp3 << half << Loudness::Track << 0.5;
        QTest::newRow("M4A freeform")
            << Format::M4a << QVariantMap{{"replaygain_track_gain", "-6.02 dB"}} << Loudness::Track
            << 0.5;
        QTest::newRow("Opus R128")
            << Format::Opus << QVariantMap{{"R128_TRACK_GAIN", "-2821"}} << Loudness::Track << 0.5;
        QTest::newRow("+12 dB limited by the 0.9 peak")
            << Format::Flac
            << QVariantMap{{"REPLAYGAIN_TRACK_GAIN", "+12 dB"}, {"REPLAYGAIN_TRACK_PEAK", "0.9"}}
            << Loudness::Track << 1 / 0.9;
    }
    void loudness()
    {
        QFETCH(Format, format);
        QFETCH(QVariantMap, tags);
        QFETCH(Loudness, loudness);
        QFETCH(double, ratio);
        // the tone of the file before stays in what was recorded: wait for the gap, then forget
        // it, so that the window measured holds this file alone
        const auto level = [this, loudness](const QString& file) {
            m_player.reset();
            if (!m_recorder.waitForSilence())
                return -1.0;
            m_recorder.clear();
            m_player = std::make_unique<AudioPlayer>();
            m_player->setLoudness(loudness);
            m_player->play(QUrl::fromLocalFile(file));
            if (!m_recorder.waitForTone(440))
                return -1.0;
            QTest::qWait(300);
            return audiotest::amplitudeAt(m_recorder.lastSamples(250), 440);
        };
        const QString tagged = make("tagged", {{440}, 3, format});
        QVERIFY(audiotest::writeTags(tagged, tags));
        // a lossy encoder's own level is not the gain's: the twin is of the same format, but
        // an Opus file is met against FLAC, so that its header gain counts once
        const Format twinFormat = format == Format::Opus ? Format::Flac : format;
        const double twin = level(make("twin", {{440}, 3, twinFormat}));
        QVERIFY2(twin > 0, qPrintable(m_recorder.describe()));
        const double tagLevel = level(tagged);
        QVERIFY2(tagLevel > 0, qPrintable(m_recorder.describe()));
        const double measured = tagLevel / twin;
        QVERIFY2(std::abs(measured / ratio - 1) < 0.05, qPrintable(QString::number(measured)));
    }

    // Through the controller: "now playing" is told once a track, the second when it is heard
    // at the joint, not when it was handed over.
    void nowPlayingAtTheRealJoint()
    {
        testsupport::TempHome home;
        Config config;
        config.setLoopTracks(false);
        PlayerController controller(&config, m_player.get());
        controller.installTrackFinishedHandler();
        QList<Track> tracks;
        for (const char* name : {"np1", "np2"})
            tracks << Track{QUuid::createUuid(),
                            cut(name, 1.5 * tracks.size(), tracks.isEmpty()).toString(), name, ""};
        config.savePlaylist(config.playlists().first().id, tracks);
        QList<std::pair<QString, qint64>> told;
        QElapsedTimer clock;
        connect(&controller, &PlayerController::nowPlaying, this,
                [&](const Track& track) { told << std::pair(track.trackName, clock.elapsed()); });
        QSignalSpy urls(m_player.get(), &TrackPlayer::urlChanged);
        clock.start();
        controller.play();
        QTRY_VERIFY_WITH_TIMEOUT(told.size() == 2, 15000);
        QTRY_VERIFY_WITH_TIMEOUT(!m_player->isPlaying(), 15000);
        QVERIFY2(told.size() == 2 && told[0].first == "np1" && told[1].first == "np2",
                 qPrintable(QString::number(told.size())));
        QVERIFY2(told[0].second < 1000 && told[1].second >= 1450,
                 qPrintable(QStringLiteral("%1 %2").arg(told[0].second).arg(told[1].second)));
        // one file opened, one followed: no reload at the joint
        QCOMPARE(urls.count(), 2);
        QCOMPARE(config.currentTrackIndex(), 0);
    }

    // "Stop after this track" with the next file queued: the first plays out, nothing follows,
    // the index goes back to the first track and the choice is used up.
    void stopAfterThisTrackAtAJoint()
    {
        testsupport::TempHome home;
        Config config;
        PlayerController controller(&config, m_player.get());
        controller.installTrackFinishedHandler();
        const QList<Track> tracks{
            {QUuid::createUuid(), cut("sa1", 0, true).toString(), "1", ""},
            {QUuid::createUuid(), cut("sa2", 1.5, false).toString(), "2", ""}};
        config.savePlaylist(config.playlists().first().id, tracks);
        m_recorder.clear();
        controller.play();
        QVERIFY_HEARD(m_recorder, waitForTone(440));
        // long enough for the second to be checked and queued
        QTest::qWait(700);
        controller.setStopsAfterCurrentTrack(true);
        QVERIFY_HEARD(m_recorder, waitForSilence());
        const double seconds = loudSeconds(loudPieces(m_recorder.lastSamples(-1), 0.1));
        QVERIFY2(std::abs(seconds - 1.5) < 0.05, qPrintable(QString::number(seconds)));
        QVERIFY(!m_player->isPlaying() && !controller.stopsAfterCurrentTrack());
        QCOMPARE(config.currentTrackIndex(), 0);
    }

    // A file GStreamer recognises (an ID3 tag) but cannot decode, next in the playlist: the good
    // tone is heard to its end, and only then is the failure told, once.
    void undecodableNextFileCutsNothingShort()
    {
        testsupport::TempHome home;
        Config config;
        config.setLoopTracks(false);
        PlayerController controller(&config, m_player.get());
        controller.installTrackFinishedHandler();
        const QString bad = path("tagged-noise.mp3");
        QVERIFY(testsupport::writeFile(bad, QByteArray(20000, '\0')));
        QVERIFY(audiotest::embedPictures(bad, Format::Mp3, {m_red}));
        const QUrl good = QUrl::fromLocalFile(make("before-bad", {{440}, 1.5, Format::Wav}));
        config.savePlaylist(
            config.playlists().first().id,
            {Track{QUuid::createUuid(), good.toString(), "good", ""},
             Track{QUuid::createUuid(), QUrl::fromLocalFile(bad).toString(), "bad", ""}});
        m_recorder.clear();
        const QString printed = testsupport::captureStdout([&] {
            controller.play();
            QTRY_VERIFY_WITH_TIMEOUT(m_player->url() == good && !m_player->isLoading(), 15000);
            QTRY_VERIFY_WITH_TIMEOUT(config.currentTrackIndex() == 1, 15000);
            QTRY_VERIFY_WITH_TIMEOUT(!m_player->isLoading(), 15000);
            QVERIFY_HEARD(m_recorder, waitForSilence());
        });
        QVERIFY2(printed.startsWith("Playback failed: ") && printed.count(u'\n') == 1,
                 qPrintable(printed));
        // the whole 1.5 s of tone, its fades included
        const QList<qsizetype> loud = loudPieces(m_recorder.lastSamples(-1), 0.05);
        QVERIFY(!loud.isEmpty());
        QVERIFY2(loudSeconds(loud) > 1.4, qPrintable(QString::number(loudSeconds(loud))));
    }

    // A seek asked for while the file opens is told once it lands, where it landed.
    void seekWhileOpeningIsToldOnceItLands()
    {
        QSignalSpy seeked(m_player.get(), &TrackPlayer::seeked);
        m_player->play(m_steps);
        m_player->seek(0.6);
        QVERIFY(m_player->isLoading() && seeked.isEmpty());
        waitForLoaded();
        QCOMPARE(seeked.count(), 1);
        QVERIFY2(std::abs(seeked.at(0).at(0).toDouble() - 3.0) < 0.05,
                 qPrintable(seeked.at(0).at(0).toString()));
        QVERIFY_HEARD(m_recorder, waitForTone(660, 4000));
        // in seconds, past the end: the end
        m_player->play(m_tones[0]);
        m_player->setCurrentTime(60);
        QVERIFY(seeked.count() == 1);
        waitForLoaded();
        QTRY_COMPARE(seeked.count(), 2);
        QVERIFY(std::abs(seeked.at(1).at(0).toDouble() - 4.0) < 0.1);
    }

    // A slow cover read of a skipped file ends last but never replaces the current picture; the
    // cover names its file, and its PNG copy is there for the desktop.
    void slowCoverOfASkippedFileNeverWins()
    {
        // long enough to be loaded before the skip
        const QString red = make("slow-red", {{440}, 3, Format::Flac, 0, true, true, "", {m_red}});
        const QString blue = file("quick-blue", Format::Flac, {m_blue});
        std::atomic<int> slowReads = 0;
        m_player->setCoverReader([&slowReads, red](const QString& path) {
            if (path == red) {
                QThread::msleep(1500);
                ++slowReads;
            }
            return albumart::readAlbumArt(path);
        });
        m_player->play(QUrl::fromLocalFile(red));
        waitForLoaded();
        m_player->play(QUrl::fromLocalFile(blue));
        QTRY_VERIFY_WITH_TIMEOUT(shows(m_player->albumArt(), Qt::blue), 15000);
        QTRY_VERIFY_WITH_TIMEOUT(slowReads == 1, 5000);
        QTest::qWait(200);
        const Cover cover = m_player->cover();
        QVERIFY(shows(cover.image, Qt::blue) && cover.url == QUrl::fromLocalFile(blue));
        QVERIFY(shows(QImage(cover.file), Qt::blue));
        // the late picture left no file behind
        QCOMPARE(QDir(QFileInfo(cover.file).path()).entryList(QDir::Files).size(), 1);
    }

    // A name without a sound is reported, and neither starts nor counts as the last sound.
    void missingSoundIsReported_data()
    {
        QTest::addColumn<QString>("name");
        QTest::newRow("with the extension") << "click.m4a";
        QTest::newRow("empty") << "";
    }

    void missingSoundIsReported()
    {
        QFETCH(QString, name);
        SoundPlayer sounds;
        QSignalSpy startedSpy(&sounds, &SoundPlayer::soundStarted);
        QCOMPARE(testsupport::captureStdout([&] { sounds.playSound(name); }),
                 "Error: Sound file " + name + ".m4a not found.\n");
        QVERIFY(startedSpy.isEmpty() && sounds.lastSound().isEmpty());
    }

    // Short and quiet: heard, then silence again, nothing near full scale.
    void shippedSoundsPlay_data()
    {
        QTest::addColumn<QString>("name");
        for (const char* name : {"click", "pop", "min", "drag"})
            QTest::newRow(name) << QString::fromLatin1(name);
    }

    void shippedSoundsPlay()
    {
        QFETCH(QString, name);
        SoundPlayer sounds;
        QSignalSpy startedSpy(&sounds, &SoundPlayer::soundStarted);
        m_recorder.clear();
        const QString printed = testsupport::captureStdout([&] {
            sounds.playSound(name);
            QVERIFY_HEARD(m_recorder, waitForSound());
        });
        QVERIFY2(printed.isEmpty() && sounds.lastSound() == name, qPrintable(name));
        QCOMPARE(startedSpy.size() == 1 ? startedSpy.takeFirst() : QVariantList(),
                 QVariantList{name});
        QVERIFY_HEARD(m_recorder, waitForSilence());
        const QList<float> all = m_recorder.lastSamples(-1);
        QVERIFY(*std::max_element(all.begin(), all.end()) < 0.5f);
    }

    // An undecodable sound is reported once and leaves the player working; a new sound cuts
    // off the one playing at once, and one that has ended plays again.
    void soundsCutOffAndRestart()
    {
        SoundPlayer sounds;
        const QString printed = testsupport::captureStdout([&] {
            sounds.playSound(QStringLiteral("broken"));
            QTest::qWait(1500);
        });
        QVERIFY2(printed.startsWith("Error: Could not play sound file broken. Error: ") &&
                     printed.count(u'\n') == 1,
                 qPrintable(printed));
        QCOMPARE(sounds.lastSound(), QStringLiteral("broken"));

        sounds.playSound(QStringLiteral("tone440"));
        QVERIFY_HEARD(m_recorder, waitForTone(440));
        sounds.playSound(QStringLiteral("tone880"));
        // well before the 3 s of 440 Hz could have played out
        QVERIFY_HEARD(m_recorder, waitForTone(880, 1500));
        QVERIFY(audiotest::amplitudeAt(m_recorder.lastSamples(250), 440) < 0.01);
        QCOMPARE(sounds.lastSound(), QStringLiteral("tone880"));
        QVERIFY_HEARD(m_recorder, waitForSilence());
        sounds.playSound(QStringLiteral("tone880"));
        QVERIFY_HEARD(m_recorder, waitForTone(880));
        QCOMPARE(streams(), 1);
        // played out, the stream goes; the next sound opens one again
        QTRY_COMPARE_WITH_TIMEOUT(streams(), 0, 10000);
        sounds.playSound(QStringLiteral("tone440"));
        QVERIFY_HEARD(m_recorder, waitForTone(440));
    }

    // The first picture that decodes is the cover, in every format; big ones come scaled down.
    void cover_data()
    {
        QTest::addColumn<Format>("format");
        QTest::addColumn<Pictures>("pictures");
        QTest::addColumn<QColor>("expected");
        const QByteArray junk = QByteArray("definitely not a picture").repeated(10);
        for (Format format : {Format::Mp3, Format::Flac, Format::OggVorbis, Format::Opus,
                              Format::M4a, Format::Wav}) {
            QTest::addRow("%s-junk-blue", qPrintable(audiotest::extension(format)))
                << format << Pictures{junk, m_blue} << QColor(Qt::blue);
        }
        QTest::newRow("mp3-red-blue") << Format::Mp3 << Pictures{m_red, m_blue} << QColor(Qt::red);
        QTest::newRow("m4a-red-blue") << Format::M4a << Pictures{m_red, m_blue} << QColor(Qt::red);
        QTest::newRow("flac-none") << Format::Flac << Pictures{} << QColor();
        QTest::newRow("ogg-junk") << Format::OggVorbis << Pictures{junk} << QColor();
        // a header claiming 100000 x 100000 pixels (IHDR bytes 16..23) is no reason to allocate
        QTest::newRow("mp3-huge-red")
            << Format::Mp3
            << Pictures{imageBytes(Qt::red, {4, 4}).replace(16, 8, "\0\1\x86\xa0\0\1\x86\xa0", 8),
                        m_red}
            << QColor(Qt::red);
        const QByteArray wide = imageBytes(Qt::blue, {5000, 100}, "JPG");
        QTest::newRow("flac-wide-blue") << Format::Flac << Pictures{wide} << QColor(Qt::blue);
    }

    void cover()
    {
        QFETCH(Format, format);
        QFETCH(Pictures, pictures);
        QFETCH(QColor, expected);
        const QString path = file(QString::fromLatin1(QTest::currentDataTag()), format, pictures);
        QVERIFY(!path.isEmpty());
        const QImage image = albumart::readAlbumArt(path);
        QVERIFY(shows(image, expected) && image.width() <= 2048);
    }

    // Damaged, empty, lying or special files give no picture and never block the reader.
    void damagedFilesGiveNoPicture_data()
    {
        QTest::addColumn<QString>("path");
        const auto write = [this](const QString& name, const QByteArray& bytes) {
            QTest::newRow(qPrintable(name)) << path(name);
            QVERIFY(testsupport::writeFile(path(name), bytes));
        };
        QByteArray noise;
        for (int i = 0; i < 50000; ++i)
            noise.append(char((i * 7919 + (i >> 3)) & 0xff));
        for (const QString ext : {"mp3", "flac", "ogg", "opus", "m4a", "wav"}) {
            write("empty." + ext, {});
            write("noise." + ext, noise);
        }
        // headers that promise far more than the file holds
        write("lying-id3.mp3", QByteArray("ID3\x03\x00\x00\x7f\x7f\x7f\x7f", 10) + noise);
        write("lying-atom.m4a", QByteArray("\xff\xff\xff\xf0"
                                           "ftypM4A \0\0\0\0",
                                           16) +
                                    noise);
        write("marker.flac", "fLaC");
        // the FIFO and the folder of the player's tests
        for (const char* name : {"fifo.mp3", "folder.mp3", "missing.mp3"})
            QTest::newRow(name) << path(name);
    }

    void damagedFilesGiveNoPicture()
    {
        QFETCH(QString, path);
        auto read = std::async(std::launch::async, [&] { return albumart::readAlbumArt(path); });
        const bool answered = read.wait_for(std::chrono::seconds(5)) == std::future_status::ready;
        if (!answered) // a writer that goes at once lets a reader stuck on the FIFO end
            ::close(::open(QFile::encodeName(path).constData(), O_WRONLY | O_NONBLOCK));
        QVERIFY(answered);
        QVERIFY(read.get().isNull());
    }

    // Without an embedded picture, the first good image named cover, folder, front or album
    // beside the track is its cover (the one in red), or the album's above a disc's folder.
    void folderCover_data()
    {
        QTest::addColumn<QString>("track");
        QTest::addColumn<QStringList>("images");
        QTest::addColumn<bool>("embedded");
        QTest::addColumn<QColor>("expected");
        const QColor red(Qt::red), none;
        QTest::newRow("cover") << "a/t" << QStringList{"a/Cover.JPG", "a/folder.png"} << false
                               << red;
        QTest::newRow("folder") << "b/t" << QStringList{"b/folder.jpeg", "b/front.png"} << false
                                << red;
        QTest::newRow("front") << "c/t" << QStringList{"c/FRONT.png", "c/album.jpg"} << false
                               << red;
        QTest::newRow("album") << "d/t" << QStringList{"d/album.webp", "d/x/cover.png"} << false
                               << red;
        QTest::newRow("disc") << "e/Disc 2/t" << QStringList{"e/cover.jpg"} << false << red;
        QTest::newRow("CD1") << "i/CD1/t" << QStringList{"i/cover.jpg"} << false << red;
        QTest::newRow("disk  3") << "j/disk  3/t" << QStringList{"j/cover.jpg"} << false << red;
        QTest::newRow("no disc") << "f/Extras/t" << QStringList{"f/cover.jpg"} << false << none;
        QTest::newRow("no disc number")
            << "k/Disc/t" << QStringList{"k/cover.jpg"} << false << none;
        QTest::newRow("more than a number")
            << "l/CD 1 bonus/t" << QStringList{"l/cover.jpg"} << false << none;
        QTest::newRow("embedded wins")
            << "g/t" << QStringList{"g/cover.jpg"} << true << QColor(Qt::blue);
        QTest::newRow("damaged") << "h/t" << QStringList{"h/cover.png"} << false << none;
    }

    void folderCover()
    {
        QFETCH(QString, track);
        QFETCH(QStringList, images);
        QFETCH(bool, embedded);
        QFETCH(QColor, expected);
        for (const QString& image : images) {
            QVERIFY(QDir(m_dir.path()).mkpath(QFileInfo(path(image)).path()));
            const bool first = image == images.first();
            const QByteArray bytes =
                imageBytes(first ? Qt::red : Qt::green, {8, 8},
                           qPrintable(QFileInfo(image).suffix().toUpper().replace("JPEG", "JPG")));
            QVERIFY(testsupport::writeFile(
                path(image),
                QTest::currentDataTag() == QByteArray("damaged") ? bytes.left(40) : bytes));
        }
        QVERIFY(QDir(m_dir.path()).mkpath(QFileInfo(path(track)).path()));
        const QString file = make(track, {{440},
                                          0.2,
                                          Format::Flac,
                                          0,
                                          true,
                                          true,
                                          "T",
                                          embedded ? Pictures{m_blue} : Pictures{}});
        QVERIFY(shows(albumart::readAlbumArt(file), expected));
    }

    // The loaded file's picture stays through a failed open and a resume, and goes only once
    // the next file's load has ended.
    void playerKeepsThePictureUntilTheNextLoadEnds()
    {
        const QString red = file("player-red", Format::M4a, {m_red});
        const QString none = file("player-none", Format::Flac, {});
        // a picture TagLib can read, but no audio GStreamer can play
        const QString broken = path("broken.mp3");
        QVERIFY(testsupport::writeFile(broken, QByteArray(20000, '\0')));
        QVERIFY(audiotest::embedPictures(broken, Format::Mp3, {m_blue}));
        QVERIFY(!albumart::readAlbumArt(broken).isNull());
        AudioPlayer& player = *m_player;
        QSignalSpy artSpy(&player, &AudioPlayer::albumArtChanged);
        player.play(QUrl::fromLocalFile(red));
        QTRY_VERIFY_WITH_TIMEOUT(shows(player.albumArt(), Qt::red), 15000);

        const QString printed = testsupport::captureStdout([&] {
            player.play(QUrl::fromLocalFile(broken));
            QTRY_VERIFY_WITH_TIMEOUT(!player.isLoading(), 15000);
        });
        QVERIFY(printed.startsWith(QStringLiteral("Playback failed: ")));
        // the picture changes on disk; a resume must not read it again
        player.pause();
        player.stop();
        QVERIFY(audiotest::embedPictures(red, Format::M4a, {m_blue}));
        player.play(QUrl::fromLocalFile(red));
        QTest::qWait(1000);
        QVERIFY(artSpy.count() == 1 && shows(player.albumArt(), Qt::red));

        player.play(QUrl::fromLocalFile(none));
        QVERIFY(!player.albumArt().isNull());
        QTRY_VERIFY_WITH_TIMEOUT(player.albumArt().isNull(), 15000);
        QCOMPARE(artSpy.count(), 2);
    }
};

QTEST_GUILESS_MAIN(TestPlayback)
#include "tst_playback.moc"
