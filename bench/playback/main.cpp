// CPU time per second of playback and peak memory of AudioPlayer, each beside a bare
// QMediaPlayer + QAudioOutput playing the same file to the same sink (the floor).
//   bench_playback [--seconds N] [--rounds N]
// Without a reachable PULSE_SERVER it starts a private PulseAudio with a null sink.

#include "playback/audioplayer.h"

#include <QAudioOutput>
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QMediaPlayer>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>

#include <sys/resource.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <optional>

namespace {

struct Figures {
    double cpuMsPerSecond = 0;
    double peakRssMb = 0;
};

double cpuMs()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return (usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) * 1000.0 +
           (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1000.0;
}

double peakRssMb()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss / 1024.0;
}

// Measures from the moment sound starts until `seconds` later or the end of the file.
class Meter {
public:
    explicit Meter(double seconds) : m_seconds(seconds) {}
    void started()
    {
        if (m_running)
            return;
        m_running = true;
        m_cpuAtStart = cpuMs();
        m_wall.start();
        QTimer::singleShot(int(m_seconds * 1000), qApp, [this] { finish(); });
    }
    void finish()
    {
        if (!m_running || m_done)
            return;
        m_done = true;
        const double wallSeconds = m_wall.elapsed() / 1000.0;
        std::printf("cpu_ms_per_s=%.3f peak_rss_mb=%.1f seconds=%.1f\n",
                    (cpuMs() - m_cpuAtStart) / wallSeconds, peakRssMb(), wallSeconds);
        std::fflush(stdout);
        qApp->quit();
    }

private:
    double m_seconds;
    bool m_running = false;
    bool m_done = false;
    double m_cpuAtStart = 0;
    QElapsedTimer m_wall;
};

int runFloor(const QString& file, double seconds)
{
    Meter meter(seconds);
    QMediaPlayer player;
    QAudioOutput output;
    player.setAudioOutput(&output);
    QObject::connect(&player, &QMediaPlayer::positionChanged, [&](qint64 ms) {
        if (ms > 0)
            meter.started();
    });
    QObject::connect(&player, &QMediaPlayer::mediaStatusChanged,
                     [&](QMediaPlayer::MediaStatus status) {
                         if (status == QMediaPlayer::EndOfMedia)
                             meter.finish();
                     });
    player.setSource(QUrl::fromLocalFile(file));
    player.play();
    return qApp->exec();
}

int runAudioPlayer(const QString& file, double seconds)
{
    Meter meter(seconds);
    AudioPlayer player;
    // what a view does with each tick
    double drawn = 0;
    QObject::connect(&player, &AudioPlayer::progressChanged, [&](double progress) {
        drawn = progress;
        if (progress > 0)
            meter.started();
    });
    player.onTrackFinished = [&] { meter.finish(); };
    player.play(QUrl::fromLocalFile(file));
    const int result = qApp->exec();
    return drawn >= 0 ? result : 1;
}

bool run(const QString& program, const QStringList& args, QByteArray* output = nullptr)
{
    QProcess process;
    process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process.start(program, args);
    if (!process.waitForFinished(-1) || process.exitStatus() != QProcess::NormalExit ||
        process.exitCode() != 0) {
        std::fprintf(stderr, "%s %s failed\n", qPrintable(program), qPrintable(args.join(u' ')));
        return false;
    }
    if (output)
        *output = process.readAllStandardOutput();
    return true;
}

bool pulseReachable()
{
    if (qEnvironmentVariableIsEmpty("PULSE_SERVER"))
        return false;
    QProcess process;
    process.start(QStringLiteral("pactl"), {QStringLiteral("info")});
    return process.waitForFinished(10000) && process.exitCode() == 0;
}

// Something with the spectrum of music rather than one sine: a few partials and some noise.
bool makeMusic(const QString& path, double seconds, const QStringList& codec)
{
    const QString source =
        QStringLiteral("aevalsrc='0.2*sin(2*PI*220*t)+0.1*sin(2*PI*331*t*(1+0.01*sin(t)))"
                       "+0.05*(random(0)-0.5)|0.2*sin(2*PI*277*t)+0.1*sin(2*PI*440*t)"
                       "+0.05*(random(1)-0.5)':s=44100:d=%1")
            .arg(seconds);
    QStringList args{"-nostdin", "-loglevel", "error", "-y", "-f", "lavfi", "-i", source};
    return run(QStringLiteral("ffmpeg"), args + codec + QStringList{path});
}

std::optional<Figures> measure(const QString& mode, const QString& file, double seconds)
{
    QByteArray out;
    if (!run(QCoreApplication::applicationFilePath(),
             {QStringLiteral("--child"), mode, file, QString::number(seconds)}, &out))
        return std::nullopt;
    Figures figures;
    if (std::sscanf(out.constData(), "cpu_ms_per_s=%lf peak_rss_mb=%lf", &figures.cpuMsPerSecond,
                    &figures.peakRssMb) != 2)
        return std::nullopt;
    return figures;
}

int runBench(double seconds, int rounds)
{
    QTemporaryDir dir;
    std::optional<QTemporaryDir> pulseDir;
    if (!pulseReachable()) {
        pulseDir.emplace();
        const QString pulse = pulseDir->filePath(QStringLiteral("pulse"));
        if (!run(QStringLiteral(LINDENFOLD_PULSE_SCRIPT), {QStringLiteral("start"), pulse}))
            return 1;
        qputenv("PULSE_SERVER", ("unix:" + pulse + "/native").toLocal8Bit());
    }
    const QString fileLength = QString::number(std::max(seconds, 60.0));
    const QString mp3 = dir.filePath(QStringLiteral("music.mp3"));
    const QString flac = dir.filePath(QStringLiteral("music.flac"));
    if (!makeMusic(mp3, fileLength.toDouble(), {"-c:a", "libmp3lame", "-b:a", "192k"}) ||
        !makeMusic(flac, fileLength.toDouble(), {"-c:a", "flac"}))
        return 1;

    std::printf("%.0f s of playback per run, %d round(s), best round shown\n\n", seconds, rounds);
    std::printf("%-6s %-22s %14s %14s\n", "file", "program", "CPU ms per s", "peak RSS MB");
    int status = 0;
    for (const QString& file : {mp3, flac}) {
        std::optional<Figures> floor;
        std::optional<Figures> ours;
        for (int round = 0; round < rounds; ++round) {
            // alternate so that a busy moment of the machine hits both
            const auto f = measure(QStringLiteral("floor"), file, seconds);
            const auto a = measure(QStringLiteral("audioplayer"), file, seconds);
            if (!f || !a) {
                status = 1;
                continue;
            }
            if (!floor || f->cpuMsPerSecond < floor->cpuMsPerSecond)
                floor = f;
            if (!ours || a->cpuMsPerSecond < ours->cpuMsPerSecond)
                ours = a;
        }
        if (!floor || !ours)
            continue;
        const QByteArray ext = QFileInfo(file).suffix().toUtf8();
        std::printf("%-6s %-22s %14.2f %14.1f\n", ext.constData(), "QMediaPlayer (floor)",
                    floor->cpuMsPerSecond, floor->peakRssMb);
        std::printf("%-6s %-22s %14.2f %14.1f\n", ext.constData(), "AudioPlayer",
                    ours->cpuMsPerSecond, ours->peakRssMb);
        std::printf("%-6s %-22s %13.2fx %13.2fx\n\n", ext.constData(), "ratio (goal <= 1.15)",
                    ours->cpuMsPerSecond / floor->cpuMsPerSecond,
                    ours->peakRssMb / floor->peakRssMb);
        std::fflush(stdout);
    }
    if (pulseDir)
        run(QStringLiteral(LINDENFOLD_PULSE_SCRIPT),
            {QStringLiteral("stop"), pulseDir->filePath(QStringLiteral("pulse"))});
    return status;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() == 5 && args[1] == QLatin1String("--child")) {
        const double seconds = args[4].toDouble();
        return args[2] == QLatin1String("floor") ? runFloor(args[3], seconds)
                                                 : runAudioPlayer(args[3], seconds);
    }
    double seconds = 60;
    int rounds = 1;
    for (qsizetype i = 1; i + 1 < args.size(); i += 2) {
        if (args[i] == QLatin1String("--seconds"))
            seconds = args[i + 1].toDouble();
        else if (args[i] == QLatin1String("--rounds"))
            rounds = args[i + 1].toInt();
    }
    return runBench(std::max(seconds, 5.0), std::max(rounds, 1));
}
