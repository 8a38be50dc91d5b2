// CPU per second of playback, wake-ups per second while playing and while paused, and resident
// memory while playing, for the player window (shown, its knob moving) beside a bare
// `gst-launch-1.0 playbin` and a bare Qt window with one playbin, all playing the same file to
// the same sink, interleaved round by round; medians of the rounds.
//   bench_playback [--seconds N] [--rounds N] [--before <bench_playback of an older build>]
//   bench_playback --child <file> <pause after ms>   plays <file> in the player window
//   bench_playback --bare <file> <pause after ms>    the same in a bare window with one playbin
//   bench_playback --resume <file>                   how soon a paused file sounds again
// Every program is measured the same way, from outside, through /proc: the whole process (all
// its threads) and its main thread alone. Without a reachable PULSE_SERVER it starts a private
// PulseAudio with a null sink.

#include "model/config.h"
#include "playback/audioplayer.h"
#include "ui/player/contentview.h"
#include "control/playercontroller.h"

#include <QApplication>
#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>
#include <QUrl>
#include <QUuid>
#include <QWidget>

#include <gst/gst.h>

#include <algorithm>
#include <cstdio>
#include <optional>
#include <vector>

#include <unistd.h>

namespace {

struct Figures {
    double cpuMsPerSecond = 0;
    double mainMsPerSecond = 0;
    double wakeupsPlaying = 0;
    double wakeupsPaused = 0;
    double rssMb = 0;
};

// The fields of a /proc stat file after the command name, which is in parentheses and may
// hold blanks.
QList<QByteArray> statFields(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QByteArray stat = file.readAll();
    return stat.mid(stat.lastIndexOf(')') + 2).split(' ');
}

// user + system CPU in milliseconds, of a process or of one of its threads
std::optional<double> cpuMsOf(const QString& statPath)
{
    const QList<QByteArray> fields = statFields(statPath);
    if (fields.size() < 13)
        return std::nullopt;
    return (fields[11].toDouble() + fields[12].toDouble()) * 1000.0 / double(sysconf(_SC_CLK_TCK));
}

// The whole process: the scheduler's own count of every living thread, in nanoseconds where
// the stat file counts 10 ms ticks (threads that end within the window are not counted; a
// steady player starts none).
std::optional<double> cpuMsOf(qint64 pid)
{
    double total = 0;
    bool any = false;
    QDirIterator tasks(QStringLiteral("/proc/%1/task").arg(pid), QDir::Dirs | QDir::NoDotAndDotDot);
    while (tasks.hasNext()) {
        QFile file(tasks.next() + QStringLiteral("/schedstat"));
        if (!file.open(QIODevice::ReadOnly))
            continue;
        total += file.readAll().split(' ').first().toDouble() / 1e6;
        any = true;
    }
    if (!any)
        return cpuMsOf(QStringLiteral("/proc/%1/stat").arg(pid));
    return total;
}

// the main thread's time on a CPU, in nanoseconds where the stat file counts clock ticks
std::optional<double> mainThreadMsOf(qint64 pid)
{
    QFile file(QStringLiteral("/proc/%1/task/%1/schedstat").arg(pid));
    if (!file.open(QIODevice::ReadOnly))
        return cpuMsOf(QStringLiteral("/proc/%1/task/%1/stat").arg(pid));
    return file.readAll().split(' ').first().toDouble() / 1e6;
}

// Context switches of each living thread: each one is a thread that went to sleep and was
// woken, or was preempted.
QHash<qint64, double> switchesOf(qint64 pid)
{
    QHash<qint64, double> switches;
    QDirIterator tasks(QStringLiteral("/proc/%1/task").arg(pid), QDir::Dirs | QDir::NoDotAndDotDot);
    while (tasks.hasNext()) {
        const QString task = tasks.next();
        QFile file(task + QStringLiteral("/status"));
        if (!file.open(QIODevice::ReadOnly))
            continue;
        double total = 0;
        for (const QByteArray& line : file.readAll().split('\n'))
            if (line.startsWith("voluntary_ctxt_switches:") ||
                line.startsWith("nonvoluntary_ctxt_switches:"))
                total += line.mid(line.indexOf(':') + 1).trimmed().toDouble();
        switches.insert(QFileInfo(task).fileName().toLongLong(), total);
    }
    return switches;
}

// Wake-ups per second of all threads over the next `ms`, those that start or end meanwhile
// included: a thread that ends takes its count with it, so each is read every 100 ms and
// counts with what it had when last seen.
double wakeupsOver(qint64 pid, int ms)
{
    const QHash<qint64, double> start = switchesOf(pid);
    QHash<qint64, double> last = start;
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < ms) {
        QThread::msleep(std::min<qint64>(100, ms - clock.elapsed()));
        const QHash<qint64, double> now = switchesOf(pid);
        for (auto it = now.begin(); it != now.end(); ++it)
            last.insert(it.key(), it.value());
    }
    double woken = 0;
    for (auto it = last.begin(); it != last.end(); ++it)
        woken += it.value() - start.value(it.key(), 0);
    return woken * 1000 / double(ms);
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

constexpr int kSettleMs = 2000;
constexpr double kPausedSeconds = 5;

// Starts the program, lets it settle, then measures `seconds` of its playback; a program that
// pauses (pausedAfter) is then measured for a while paused.
std::optional<Figures> measure(const QString& program, const QStringList& args, double seconds,
                               bool pauses)
{
    QProcess process;
    process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process.setStandardOutputFile(QProcess::nullDevice());
    process.start(program, args);
    if (!process.waitForStarted(10000))
        return std::nullopt;
    const qint64 pid = process.processId();
    QThread::msleep(kSettleMs);
    const std::optional<double> before = cpuMsOf(pid);
    const std::optional<double> mainBefore = mainThreadMsOf(pid);
    Figures figures;
    figures.wakeupsPlaying = wakeupsOver(pid, int(seconds * 1000));
    const std::optional<double> after = cpuMsOf(pid);
    const std::optional<double> mainAfter = mainThreadMsOf(pid);
    figures.rssMb = rssMbOf(pid);
    if (pauses) {
        // the program pauses half a second after the playing window; the player keeps its
        // audio stream for 3 s after a pause, then a second to settle
        QThread::msleep(4500);
        figures.wakeupsPaused = wakeupsOver(pid, int(kPausedSeconds * 1000));
    }
    const bool running = process.state() == QProcess::Running;
    process.kill();
    process.waitForFinished(10000);
    if (!before || !after || !mainBefore || !mainAfter || !running)
        return std::nullopt;
    figures.cpuMsPerSecond = (*after - *before) / seconds;
    figures.mainMsPerSecond = (*mainAfter - *mainBefore) / seconds;
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

// When the program under measurement pauses: after the settling and the playing window.
int pauseAfterMs(double seconds)
{
    return kSettleMs + int(seconds * 1000) + 500;
}

// Set by the bench for its children: a home where the first start is over.
constexpr char kBenchHome[] = "LINDENFOLD_BENCH_HOME";

void useHome(const QString& home)
{
    qputenv("HOME", home.toUtf8());
    qputenv("XDG_CONFIG_HOME", (home + QStringLiteral("/.config")).toUtf8());
}

// The player window with the file as its one track, playing, paused after pauseMs; levelled by
// its tags when asked.
int runChild(const QString& file, int pauseMs, bool levelled)
{
    // the bench's home, where the first start has been: a user's every later start does not
    // copy the built-in themes, and so does not touch their compiled-in images; run by hand, a
    // first start in a home of its own
    std::optional<QTemporaryDir> home;
    if (qEnvironmentVariableIsEmpty(kBenchHome)) {
        home.emplace();
        useHome(home->path());
    }
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
    QTimer::singleShot(pauseMs, &controller, [&controller] { controller.pause(); });
    return qApp->exec();
}

double median(std::vector<double> values)
{
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    const size_t middle = values.size() / 2;
    return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

// Runs the event loop until `done` holds, or for timeoutMs at most; whether it held.
template <typename Done> bool spinUntil(Done done, int timeoutMs)
{
    QElapsedTimer clock;
    clock.start();
    while (!done()) {
        if (clock.elapsed() > timeoutMs)
            return false;
        QCoreApplication::processEvents();
        QThread::usleep(500);
    }
    return true;
}

// How long after play the paused file sounds again: the time until its position moves on (the
// sink's clock counts the samples played), after a short pause and after one long enough that
// the stream was let go. Medians of five.
int runResume(const QString& file)
{
    AudioPlayer player;
    const QUrl url = QUrl::fromLocalFile(file);
    player.play(url);
    if (!spinUntil([&] { return player.currentTime() > 1.0; }, 10000))
        return 1;
    for (const int pauseMs : {500, 4000}) {
        std::vector<double> delays;
        for (int i = 0; i < 5; ++i) {
            player.pause();
            spinUntil([] { return false; }, pauseMs);
            const double at = player.currentTime();
            QElapsedTimer clock;
            clock.start();
            player.play(url);
            if (!spinUntil([&] { return player.currentTime() > at + 0.0005; }, 5000))
                return 1;
            delays.push_back(double(clock.nsecsElapsed()) / 1e6);
            spinUntil([] { return false; }, 300);
        }
        std::printf("  sounds again %.0f ms after play, paused %.1f s%s\n", median(delays),
                    pauseMs / 1000.0, pauseMs > 3000 ? " (its stream let go)" : "");
    }
    return 0;
}

// The floor of a Qt program that plays: one window and one playbin, nothing else.
int runBare(const QString& file, int pauseMs)
{
    gst_init(nullptr, nullptr);
    QWidget window;
    window.resize(300, 100);
    window.show();
    GstElement* playbin = gst_element_factory_make("playbin", nullptr);
    GstElement* sink = gst_element_factory_make("pulsesink", nullptr);
    if (!playbin || !sink)
        return 1;
    g_object_set(playbin, "uri", QUrl::fromLocalFile(file).toEncoded().constData(), "audio-sink",
                 sink, nullptr);
    gst_element_set_state(playbin, GST_STATE_PLAYING);
    QTimer::singleShot(pauseMs, &window,
                       [playbin] { gst_element_set_state(playbin, GST_STATE_PAUSED); });
    const int status = qApp->exec();
    gst_element_set_state(playbin, GST_STATE_NULL);
    gst_object_unref(playbin);
    return status;
}

Figures medianOf(const QList<Figures>& rounds)
{
    const auto of = [&](double Figures::*field) {
        std::vector<double> values;
        for (const Figures& figures : rounds)
            values.push_back(figures.*field);
        return median(values);
    };
    return {of(&Figures::cpuMsPerSecond), of(&Figures::mainMsPerSecond),
            of(&Figures::wakeupsPlaying), of(&Figures::wakeupsPaused), of(&Figures::rssMb)};
}

void printRow(const char* file, const char* program, const Figures& figures, const Figures& floor,
              bool pauses)
{
    std::printf("%-5s %-26s %8.2f %6.2fx %8.2f %9.1f ", file, program, figures.cpuMsPerSecond,
                figures.cpuMsPerSecond / floor.cpuMsPerSecond, figures.mainMsPerSecond,
                figures.wakeupsPlaying);
    if (pauses)
        std::printf("%9.1f", figures.wakeupsPaused);
    else
        std::printf("%9s", "-");
    std::printf(" %7.1f\n", figures.rssMb);
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
    // one home for every program: its first start (the themes copied out) and GStreamer's
    // registry are over before anything is measured
    QTemporaryDir home;
    useHome(home.path());
    qputenv(kBenchHome, home.path().toUtf8());
    {
        Config firstStart;
    }
    gst_init(nullptr, nullptr);
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
        bool pauses = true;
    };
    std::printf("%.0f s of playback per run (%.0f s paused), median of %d round(s); CPU of the "
                "whole process and of its main thread per second, context switches of all its "
                "threads per second, RSS while playing\n\n",
                seconds, kPausedSeconds, rounds);
    std::printf("%-5s %-26s %8s %7s %8s %9s %9s %7s\n", "file", "program", "CPU ms/s", "ratio",
                "main ms/s", "wake/s", "paused/s", "RSS MB");
    const QString pauseMs = QString::number(pauseAfterMs(seconds));
    const QString self = QCoreApplication::applicationFilePath();
    int status = 0;
    for (const QString& file : {flac, mp3}) {
        QList<Program> programs{
            {"gst-launch-1.0 playbin",
             QStringLiteral("gst-launch-1.0"),
             {QStringLiteral("-q"), QStringLiteral("playbin"),
              QStringLiteral("uri=") + QUrl::fromLocalFile(file).toString(),
              QStringLiteral("audio-sink=pulsesink")},
             false},
            {"Qt window, one playbin", self, {QStringLiteral("--bare"), file, pauseMs}},
            {"Lindenfold (this build)", self, {QStringLiteral("--child"), file, pauseMs}},
            {"Lindenfold (gain -6 dB)", self, {QStringLiteral("--child-levelled"), file, pauseMs}}};
        if (!before.isEmpty())
            programs.append(
                {"Lindenfold (before)", before, {QStringLiteral("--child"), file, pauseMs}});
        QList<QList<Figures>> measured(programs.size());
        for (int round = 0; round < rounds; ++round) {
            // alternated, so that a busy moment of the machine hits all of them
            for (qsizetype i = 0; i < programs.size(); ++i) {
                const std::optional<Figures> figures =
                    measure(programs[i].path, programs[i].args, seconds, programs[i].pauses);
                if (!figures)
                    status = 1;
                else
                    measured[i].append(*figures);
            }
        }
        if (measured[0].isEmpty())
            continue;
        const Figures floor = medianOf(measured[0]);
        const QByteArray ext = QFileInfo(file).suffix().toUtf8();
        for (qsizetype i = 0; i < programs.size(); ++i)
            if (!measured[i].isEmpty())
                printRow(ext.constData(), programs[i].name, medianOf(measured[i]), floor,
                         programs[i].pauses);
        QProcess resume;
        resume.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        resume.start(self, {QStringLiteral("--resume"), file});
        if (!resume.waitForFinished(120000) || resume.exitCode() != 0)
            status = 1;
        std::printf("%s", resume.readAllStandardOutput().constData());
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
    if (args.size() == 4 && args[1].startsWith(QLatin1String("--child")))
        return runChild(args[2], args[3].toInt(), args[1] == QLatin1String("--child-levelled"));
    if (args.size() == 3 && args[1] == QLatin1String("--resume"))
        return runResume(args[2]);
    if (args.size() == 4 && args[1] == QLatin1String("--bare"))
        return runBare(args[2], args[3].toInt());
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
