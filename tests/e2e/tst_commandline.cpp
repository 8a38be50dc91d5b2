// The real executable on a private session bus: files on the command line, one player per
// data directory, the hand-over of a second start, and the start without a bus.
#include "support/audiotest.h"
#include "support/testsupport.h"

#include <QDirIterator>
#include <QElapsedTimer>
#include <QProcess>
#include <QtTest>

#include <csignal>

namespace {

QString executable()
{
    return qEnvironmentVariable("LINDENFOLD_BINARY_DIR") + QStringLiteral("/lindenfold");
}

struct Run {
    int exitCode = -1;
    QString printed;
};

// A start that is expected to end by itself; without a display, so a window would fail it.
Run runToEnd(const QStringList& arguments, const QString& busAddress = {})
{
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    env.remove(QStringLiteral("DISPLAY"));
    if (!busAddress.isEmpty())
        env.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"), busAddress);
    process.setProcessEnvironment(env);
    process.start(executable(), arguments);
    if (!process.waitForFinished(30000))
        return {};
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            QString::fromUtf8(process.readAllStandardOutput())};
}

QString playerctl(const QStringList& arguments)
{
    QProcess process;
    process.start(QStringLiteral("playerctl"), QStringList{"-p", "lindenfold"} + arguments);
    process.waitForFinished(10000);
    return QString::fromUtf8(process.readAllStandardOutput()).trimmed();
}

// Every file of the data directory with its bytes.
QMap<QString, QByteArray> snapshot(const QString& dir)
{
    QMap<QString, QByteArray> files;
    QDirIterator it(dir, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        files.insert(QDir(dir).relativeFilePath(path), testsupport::readFile(path));
    }
    return files;
}

QString urlOf(const QString& path)
{
    return QUrl::fromLocalFile(path).toString(QUrl::FullyEncoded);
}

} // namespace

class TestCommandLine : public QObject {
    Q_OBJECT

    QTemporaryDir m_music;
    QString m_low;
    QString m_high;

    QString music(const QString& name) const { return m_music.filePath(name); }

    // Starts the player on the offscreen platform and waits until it is on the bus.
    static bool startPlayer(QProcess& player, const QStringList& arguments)
    {
        player.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        player.start(executable(), arguments);
        if (!player.waitForStarted(10000))
            return false;
        QDeadlineTimer deadline(20000);
        while (!deadline.hasExpired() && player.state() == QProcess::Running) {
            if (!playerctl({"status"}).isEmpty())
                return true;
            QTest::qWait(50);
        }
        return false;
    }

    static int terminate(QProcess& player)
    {
        ::kill(pid_t(player.processId()), SIGTERM);
        if (!player.waitForFinished(20000))
            return -1;
        return player.exitStatus() == QProcess::NormalExit ? player.exitCode() : -1;
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_music.isValid());
        audiotest::ToneFile tone;
        tone.secondsEach = 20;
        tone.frequencies = {440.0};
        m_low = audiotest::makeToneFile(m_music.path(), QStringLiteral("low tone"), tone);
        tone.frequencies = {880.0};
        tone.format = audiotest::Format::Flac;
        tone.title = QStringLiteral("High");
        m_high = audiotest::makeToneFile(m_music.path(), QStringLiteral("high tone"), tone);
        QVERIFY(!m_low.isEmpty() && !m_high.isEmpty());
        QVERIFY(testsupport::writeFile(music("notes.txt"), "words\n"));
        QVERIFY(testsupport::writeFile(music("two.m3u"), "high tone.flac\nmissing.wav\n"));
    }

    void helpVersionAndMistakesNeedNoDisplay()
    {
        // Qt's own options pass through to the application object
        const Run version = runToEnd({"-platform", "offscreen", "--version"});
        QCOMPARE(version.exitCode, 0);
        QCOMPARE(version.printed, QStringLiteral("lindenfold " LINDENFOLD_VERSION "\n"));
        const Run help = runToEnd({"--help"});
        QCOMPARE(help.exitCode, 0);
        QVERIFY2(help.printed.contains("[FILE|URI...]"), qPrintable(help.printed));
        QCOMPARE(runToEnd({"--no-such-option"}).exitCode, 2);
    }

    void secondStartsHandOverToTheRunningPlayer()
    {
        testsupport::TempHome home;
        QProcess first;
        // a file URI, as the desktop entry's %U hands them over
        QVERIFY(startPlayer(first, {urlOf(m_low), music("notes.txt")}));
        QTRY_COMPARE_WITH_TIMEOUT(playerctl({"metadata", "xesam:url"}), urlOf(m_low), 15000);
        QTRY_COMPARE_WITH_TIMEOUT(playerctl({"status"}), "Playing", 15000);
        QVERIFY(QFile::exists(home.dataDir() + "/.lock"));

        // without files the running player only comes to the front: nothing is written
        QMap<QString, QByteArray> before = snapshot(home.dataDir());
        QCOMPARE(runToEnd({}).exitCode, 0);
        // without a bus there is nobody to hand over to
        const Run noBus = runToEnd({m_high}, QStringLiteral("unix:path=/nonexistent"));
        QCOMPARE(noBus.exitCode, 1);
        QCOMPARE(noBus.printed, "Lindenfold is already running.\n");
        QCOMPARE(snapshot(home.dataDir()), before);

        // a list relative to the second start's folder: its entries go to the end of the
        // running player's playlist and the first of them plays
        QProcess second;
        second.setWorkingDirectory(m_music.path());
        second.start(executable(), {"two.m3u"});
        QVERIFY(second.waitForFinished(30000));
        QCOMPARE(second.exitCode(), 0);
        QCOMPARE(QString::fromUtf8(second.readAllStandardOutput()),
                 QStringLiteral("Skipped \"%1\": no such file\n").arg(music("missing.wav")));
        QTRY_COMPARE_WITH_TIMEOUT(playerctl({"metadata", "xesam:url"}), urlOf(m_high), 15000);
        QCOMPARE(playerctl({"metadata", "xesam:title"}), "High");
        const QStringList playlists =
            QDir(home.dataDir() + "/Playlists").entryList({"*.json"}, QDir::Files);
        QCOMPARE(playlists.size(), 1);
        const QByteArray stored = testsupport::readFile(home.dataDir() + "/Playlists/" + playlists.first());
        QVERIFY(stored.indexOf(urlOf(m_low).toUtf8()) < stored.indexOf(urlOf(m_high).toUtf8()));

        QCOMPARE(terminate(first), 0);
        QVERIFY(!QFile::exists(home.dataDir() + "/.lock"));
        QVERIFY2(QString::fromUtf8(first.readAllStandardOutput())
                     .contains(QStringLiteral("Skipped \"%1\": not a playable audio file").arg(music("notes.txt"))),
                 "the first start says what it skipped");
    }

    // a second start right after the first waits for it to come onto the bus; one beside a
    // player that never does (it has no bus) gives up and says so
    void aStartingPlayerIsWaitedFor()
    {
        testsupport::TempHome home;
        QProcess first;
        first.start(executable(), {});
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(home.dataDir() + "/.lock"), 20000);
        QCOMPARE(runToEnd({m_high}).exitCode, 0);
        QTRY_COMPARE_WITH_TIMEOUT(playerctl({"metadata", "xesam:url"}), urlOf(m_high), 15000);
        QCOMPARE(terminate(first), 0);

        QProcess withoutBus;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("DBUS_SESSION_BUS_ADDRESS", "unix:path=/nonexistent");
        withoutBus.setProcessEnvironment(env);
        withoutBus.start(executable(), {});
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(home.dataDir() + "/.lock"), 20000);
        const Run second = runToEnd({m_high});
        QCOMPARE(second.exitCode, 1);
        QCOMPARE(second.printed, "Lindenfold is already running.\n");
        QCOMPARE(terminate(withoutBus), 0);
    }

    void lockOfAKilledPlayerIsTakenOver()
    {
        testsupport::TempHome home;
        QProcess killed;
        QVERIFY(startPlayer(killed, {}));
        ::kill(pid_t(killed.processId()), SIGKILL);
        QVERIFY(killed.waitForFinished(10000));
        QVERIFY(QFile::exists(home.dataDir() + "/.lock"));
        QProcess next;
        QVERIFY(startPlayer(next, {}));
        QCOMPARE(terminate(next), 0);
    }
};

QTEST_GUILESS_MAIN(TestCommandLine)
#include "tst_commandline.moc"
