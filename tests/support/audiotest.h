#pragma once

#include <QtCore>

// Helpers for tests that need real sound: tone files made on the spot, a recording of the test
// audio server's null sink, and the level and pitch of what was recorded.
namespace audiotest {

enum class Format { Wav, Flac, OggVorbis, Opus, Mp3, M4a, WavPack, Aiff, Alac, Wma };
QString extension(Format format);

inline constexpr int kSampleRate = 44100;
inline constexpr double kToneAmplitude = 0.4;

struct ToneFile {
    // one segment per frequency, played in this order
    QList<double> frequencies{440.0};
    double secondsEach = 2.0;
    Format format = Format::Wav;
    // where in an endless tone the file starts, and its fades: two files cut from one tone
    // without fades at the cut join seamlessly
    double startSeconds = 0;
    bool fadeIn = true;
    bool fadeOut = true;
    QString title;
    // embedded as cover pictures in this order; any bytes, images or not
    QList<QByteArray> pictures;
};

// Writes <dir>/<baseName>.<extension> and returns its path; empty (with a warning) on failure.
QString makeToneFile(const QString& dir, const QString& baseName, const ToneFile& toneFile);
// Adds cover pictures with TagLib; MP4 "covr" is replaced rather than added to.
bool embedPictures(const QString& path, Format format, const QList<QByteArray>& pictures);

// Writes text tags with TagLib: as properties, or as iTunes freeform atoms in MP4.
bool writeTags(const QString& path, const QVariantMap& tags);

// Of mono samples in -1...1 at kSampleRate: the level, and the amplitude at this frequency.
double rms(const QList<float>& samples);
double amplitudeAt(const QList<float>& samples, double frequency);

// Records the test sink's monitor (LINDENFOLD_TEST_SINK, default "lindenfold_null") with
// parec while it lives; the waits keep the event loop running.
class SinkRecorder {
public:
    SinkRecorder() = default;
    ~SinkRecorder();
    Q_DISABLE_COPY_MOVE(SinkRecorder)

    // Starts parec and waits until samples flow; false (with a warning) if they never do.
    bool start();

    // The last `ms` milliseconds recorded so far (all of them for -1); clear() forgets them.
    QList<float> lastSamples(int ms) const;
    qint64 recordedMs() const { return qint64(m_pcm.size() / 2) * 1000 / kSampleRate; }
    void clear();

    // Waits until the latest `windowMs` hold a clear tone of `frequency` (within 2 %).
    bool waitForTone(double frequency, int timeoutMs = 15000, int windowMs = 250);
    // Waits until the latest `windowMs` are silent.
    bool waitForSilence(int timeoutMs = 15000, int windowMs = 400);
    // Waits until anything above silence was recorded since the last clear().
    bool waitForSound(int timeoutMs = 15000);
    // A readable summary of the latest window, for failure messages.
    QString describe(int windowMs = 250) const;

    static constexpr double kSilenceRms = 0.002;

private:
    // Waits until `heard` holds for the latest `windowMs` (all since clear() for -1).
    template <typename Heard> bool waitFor(int timeoutMs, int windowMs, Heard heard);

    QProcess m_process;
    QByteArray m_pcm;
};

} // namespace audiotest

// Fails the test with what was heard instead unless recorder.call (a wait) succeeds.
#define QVERIFY_HEARD(recorder, call) QVERIFY2((recorder).call, qPrintable((recorder).describe()))
