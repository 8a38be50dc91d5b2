// `lindenfold FILE` while a player runs: how long the second start takes to hand the file over
// and exit, and how long until the running player's sound reaches the audio server (recorded
// from the sink's monitor, so the recording's own latency of about 20 ms is included).
//   bench_handover <lindenfold executable> [rounds]
#include "support/audiotest.h"
#include "support/testsupport.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <csignal>
#include <cstdio>

namespace {

void stopPlayback()
{
    QDBusConnection::sessionBus().call(QDBusMessage::createMethodCall(
        QStringLiteral("org.mpris.MediaPlayer2.lindenfold"), QStringLiteral("/org/mpris/MediaPlayer2"),
        QStringLiteral("org.mpris.MediaPlayer2.Player"), QStringLiteral("Stop")));
}

// The first round loads what later rounds find in memory: it is shown apart.
void printFigures(const char* what, QList<double> ms)
{
    const double first = ms.takeFirst();
    std::sort(ms.begin(), ms.end());
    if (ms.isEmpty())
        ms.append(first);
    std::printf("  %-38s first %6.1f ms; then median %6.1f ms, best %6.1f ms, worst %6.1f ms\n",
                what, first, ms.at(ms.size() / 2), ms.first(), ms.last());
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    if (argc < 2)
        qFatal("usage: bench_handover <lindenfold executable> [rounds]");
    const QString executable = QString::fromLocal8Bit(argv[1]);
    const int rounds = argc > 2 ? QByteArray(argv[2]).toInt() : 10;
    testsupport::TempHome home;
    QTemporaryDir music;
    audiotest::ToneFile tone;
    tone.secondsEach = 5;
    const QString file = audiotest::makeToneFile(music.path(), QStringLiteral("tone"), tone);
    if (file.isEmpty())
        qFatal("could not make the tone file");

    QProcess player;
    player.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    player.setStandardOutputFile(QProcess::nullDevice());
    player.start(executable, {});
    QDBusConnectionInterface* bus = QDBusConnection::sessionBus().interface();
    if (!bus)
        qFatal("no session bus");
    QElapsedTimer waited;
    waited.start();
    while (!bus->isServiceRegistered(QStringLiteral("org.mpris.MediaPlayer2.lindenfold")) &&
           waited.elapsed() < 20000)
        QTest::qWait(20);

    audiotest::SinkRecorder recorder;
    if (!recorder.start())
        qFatal("could not record the test sink");

    QList<double> exits;
    QList<double> sounds;
    for (int round = 0; round < rounds; ++round) {
        stopPlayback();
        recorder.waitForSilence(5000);
        recorder.clear();
        QElapsedTimer timer;
        timer.start();
        QProcess second;
        second.start(executable, {file});
        second.waitForFinished(30000);
        exits.append(double(timer.nsecsElapsed()) / 1e6);
        if (second.exitCode() != 0)
            qFatal("the second start ended with status %d", second.exitCode());
        if (!recorder.waitForSound(10000))
            qFatal("no sound after the hand-over");
        sounds.append(double(timer.nsecsElapsed()) / 1e6);
    }
    std::printf("hand-over of one WAV file to the running player, %d rounds\n", rounds);
    printFigures("second start: start to exit", exits);
    printFigures("start to the running player's sound", sounds);

    ::kill(pid_t(player.processId()), SIGTERM);
    player.waitForFinished(20000);
    return 0;
}
