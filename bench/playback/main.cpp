// CPU per second of playback and resident memory while playing, for the player window (shown,
// its knob moving) beside a bare `gst-launch-1.0 playbin` playing the same file to the same sink.
//   bench_playback [--seconds N] [--rounds N] [--before <bench_playback of an older build>]
//   bench_playback --child <file>     plays <file> in the player window until killed
// Every program is measured the same way, from outside, through /proc. Without a reachable
// PULSE_SERVER it starts a private PulseAudio with a null sink.

#include "model/config.h"
#include "playback/audioplayer.h"
#include "ui/player/contentview.h"
#include "control/playercontroller.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <QUrl>
#include <QUuid>

#include <algorithm>
#include <cstdio>
#include <optional>
#include <unistd.h>

namespace {

struct Figures {
    double cpuMsPerSecond = 0;
    double rssMb = 0;
};

// user + system CPU of a process in milliseconds, from /proc/<pid>/stat
std::optional<double> cpuMsOf(qint64 pid)
{
    QFile file(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    const QByteArray stat = file.readAll();
    // the fields after the command name, which is in parentheses and may hold blanks
    const QList<QByteArray> fields = stat.mid(stat.lastIndexOf(')') + 2).split(' ');
    if (fields.size() < 13)
        return std::nullopt;
    return (fields[11].toDouble() + fields[12].toDouble()) * 1000.0 / double(sysconf(_SC_CLK_TCK));
}

double rssMbOf(qint64 pid)
{
    QFile file(QStringLiteral("/proc/%1/status").arg(pid));
    if (!file.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray& line : file.readAll().split('\n'))
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').first().toDouble() / 1024.0;
    return 0;
}

// Starts the program, lets it settle, then measures `seconds` of its playback.
std::optional<Figures> measure(const QString& program, const QStringList& args, double seconds)
{
    QProcess process;
    process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process.setStandardOutputFile(QProcess::nullDevice());
    process.start(program, args);
    if (!process.waitForStarted(10000))
        return std::nullopt;
    QThread::msleep(2000);
    const std::optional<double> before = cpuMsOf(process.processId());
    QThread::msleep(qint64(seconds * 1000));
    const std::optional<double> after = cpuMsOf(process.processId());
    Figures figures{0, rssMbOf(process.processId())};
    const bool running = process.state() == QProcess::Running;
    process.kill();
    process.waitForFinished(10000);
    if (!before || !after || !running)
        return std::nullopt;
    figures.cpuMsPerSecond = (*after - *before) / seconds;
    return figures;
}

bool run(const QString& program, const QStringList& args)
{
    QProcess process;
    process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process.start(program, args);
    return process.waitForFinished(-1) && process.exitStatus() == QProcess::NormalExit &&
           process.exitCode() == 0;
}

bool pulseReachable()
{
    return !qEnvironmentVariableIsEmpty("PULSE_SERVER") &&
           run(QStringLiteral("pactl"), {QStringLiteral("info")});
}

// Something with the spectrum of music rather than one sine: a few partials and some noise.
bool makeMusic(const QString& path, double seconds, const QStringList& codec)
{
    const QString source =
        QStringLiteral("aevalsrc='0.2*sin(2*PI*220*t)+0.1*sin(2*PI*331*t*(1+0.01*sin(t)))"
                       "+0.05*(random(0)-0.5)|0.2*sin(2*PI*277*t)+0.1*sin(2*PI*440*t)"
                       "+0.05*(random(1)-0.5)':s=44100:d=%1")
            .arg(seconds);
    // tagged, for the gain stage at work; without the option the tag is not read at all
    QStringList args{
        "-nostdin", "-loglevel", "error", "-y",        "-f",
        "lavfi",    "-i",        source,  "-metadata", "REPLAYGAIN_TRACK_GAIN=-6.02 dB"};
    return run(QStringLiteral("ffmpeg"), args + codec + QStringList{path});
}

// The player window with the file as its one track, playing; levelled by its tags when asked.
int runChild(const QString& file, bool levelled)
{
    QTemporaryDir home;
    qputenv("HOME", home.path().toUtf8());
    qputenv("XDG_CONFIG_HOME", (home.path() + QStringLiteral("/.config")).toUtf8());
    Config config;
    config.savePlaylist(config.playlists().first().id,
                        {Track{QUuid::createUuid(), QUrl::fromLocalFile(file).toString(),
                               QStringLiteral("Music"), QStringLiteral("Generator")}});
    if (levelled)
        config.setLoudnessMode(QStringLiteral("track"));
    AudioPlayer player;
    PlayerController controller(&config, &player);
    ContentView view(&config, &player, &controller);
    view.show();
    if (!controller.playCurrentTrack())
        return 1;
    return qApp->exec();
}

void printRow(const char* file, const char* program, const Figures& figures, const Figures& floor)
{
    std::printf("%-5s %-28s %9.2f %7.2fx %9.1f\n", file, program, figures.cpuMsPerSecond,
                figures.cpuMsPerSecond / floor.cpuMsPerSecond, figures.rssMb);
}

int runBench(double seconds, int rounds, const QString& before)
{
    QTemporaryDir dir;
    std::optional<QTemporaryDir> pulseDir;
    if (!pulseReachable()) {
        pulseDir.emplace();
        const QString pulse = pulseDir->filePath(QStringLiteral("pulse"));
        if (!run(QStringLiteral("sh"),
                 {QStringLiteral(LINDENFOLD_DAEMON_SCRIPT), "start", pulse, "pulse"}))
            return 1;
        qputenv("PULSE_SERVER", ("unix:" + pulse + "/native").toLocal8Bit());
    }
    const double length = seconds + 30;
    const QString mp3 = dir.filePath(QStringLiteral("music.mp3"));
    const QString flac = dir.filePath(QStringLiteral("music.flac"));
    if (!makeMusic(mp3, length, {"-c:a", "libmp3lame", "-b:a", "192k"}) ||
        !makeMusic(flac, length, {"-c:a", "flac"}))
        return 1;

    struct Program {
        const char* name;
        QString path;
        QStringList args;
    };
    std::printf("%.0f s of playback per run, best of %d round(s); RSS while playing\n\n", seconds,
                rounds);
    std::printf("%-5s %-28s %9s %8s %9s\n", "file", "program", "CPU ms/s", "ratio", "RSS MB");
    int status = 0;
    for (const QString& file : {flac, mp3}) {
        QList<Program> programs{{"gst-launch-1.0 playbin",
                                 QStringLiteral("gst-launch-1.0"),
                                 {QStringLiteral("-q"), QStringLiteral("playbin"),
                                  QStringLiteral("uri=") + QUrl::fromLocalFile(file).toString(),
                                  QStringLiteral("audio-sink=pulsesink")}},
                                {"Lindenfold (this build)",
                                 QCoreApplication::applicationFilePath(),
                                 {QStringLiteral("--child"), file}},
                                {"Lindenfold (gain -6 dB)",
                                 QCoreApplication::applicationFilePath(),
                                 {QStringLiteral("--child-levelled"), file}}};
        if (!before.isEmpty())
            programs.append({"Lindenfold (before)", before, {QStringLiteral("--child"), file}});
        QList<std::optional<Figures>> best(programs.size());
        for (int round = 0; round < rounds; ++round) {
            // alternated, so that a busy moment of the machine hits all of them
            for (qsizetype i = 0; i < programs.size(); ++i) {
                const std::optional<Figures> figures =
                    measure(programs[i].path, programs[i].args, seconds);
                if (!figures)
                    status = 1;
                else if (!best[i] || figures->cpuMsPerSecond < best[i]->cpuMsPerSecond)
                    best[i] = figures;
            }
        }
        if (!best[0])
            continue;
        const QByteArray ext = QFileInfo(file).suffix().toUtf8();
        for (qsizetype i = 0; i < programs.size(); ++i)
            if (best[i])
                printRow(ext.constData(), programs[i].name, *best[i], *best[0]);
        std::printf("\n");
        std::fflush(stdout);
    }
    if (pulseDir)
        run(QStringLiteral("sh"), {QStringLiteral(LINDENFOLD_DAEMON_SCRIPT), "stop",
                                   pulseDir->filePath(QStringLiteral("pulse")), "pulse"});
    return status;
}

} // namespace

int main(int argc, char** argv)
{
    // no display needed: the window draws all the same
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() == 3 && args[1].startsWith(QLatin1String("--child")))
        return runChild(args[2], args[1] == QLatin1String("--child-levelled"));
    double seconds = 20;
    int rounds = 1;
    QString before;
    for (qsizetype i = 1; i + 1 < args.size(); i += 2) {
        if (args[i] == QLatin1String("--seconds"))
            seconds = args[i + 1].toDouble();
        else if (args[i] == QLatin1String("--rounds"))
            rounds = args[i + 1].toInt();
        else if (args[i] == QLatin1String("--before"))
            before = args[i + 1];
    }
    return runBench(std::max(seconds, 5.0), std::max(rounds, 1), before);
}
