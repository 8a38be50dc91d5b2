// The real executable in private HOMEs, on a private session bus or without one: the first
// start, one player per data directory, files on the command line and the hand-over of a
// second start to the running player.
#include "support/audiotest.h"
#include "support/testsupport.h"

#include <QDirIterator>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QtTest>

#include <csignal>

namespace {

const QString kNoBus = QStringLiteral("unix:path=/nonexistent");
using testsupport::playerctl;
using Run = std::pair<int, QString>; // the exit code and what was printed

// The player; without a display where it is expected to end by itself (a window would fail
// it), on another bus where one is given.
struct Player : QProcess {
    Player(const QStringList& arguments, bool display, const QString& bus = {}, const QString& directory = {})
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        if (!display) {
            env.insert("QT_QPA_PLATFORM", "xcb");
            env.remove("DISPLAY");
        }
        if (!bus.isEmpty())
            env.insert("DBUS_SESSION_BUS_ADDRESS", bus);
        setProcessEnvironment(env);
        setWorkingDirectory(directory);
        setProcessChannelMode(QProcess::ForwardedErrorChannel);
        start(qEnvironmentVariable("LINDENFOLD_BINARY_DIR") + "/lindenfold", arguments);
    }
    ~Player() override { end(SIGKILL); }
    // The exit code once it ended, after the signal if it still runs; -1 for a crash.
    int end(int signal = SIGTERM)
    {
        if (state() == QProcess::Running && ::kill(pid_t(processId()), signal) == 0)
            waitForFinished(20000);
        return state() == NotRunning && exitStatus() == NormalExit ? exitCode() : -1;
    }
    // What it printed until it printed `text`, ended, or 30 s passed.
    QString printedUntil(const QByteArray& text)
    {
        QByteArray printed;
        const QDeadlineTimer deadline(30000);
        while (!printed.contains(text) && state() != NotRunning && !deadline.hasExpired()) {
            waitForReadyRead(100);
            printed += readAllStandardOutput();
        }
        return QString::fromUtf8(printed);
    }
};

Run runToEnd(const QStringList& arguments, const QString& bus = {}, const QString& directory = {})
{
    Player process(arguments, false, bus, directory);
    process.waitForFinished(30000);
    return {process.end(SIGKILL), QString::fromUtf8(process.readAllStandardOutput())};
}

// Every file of the data directory with its bytes, by path.
QMap<QString, QByteArray> snapshot(const QString& dir)
{
    QMap<QString, QByteArray> files;
    for (QDirIterator it(dir, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories); it.hasNext();) {
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

private slots:
    void initTestCase()
    {
        audiotest::ToneFile tone;
        tone.secondsEach = 20;
        m_low = audiotest::makeToneFile(m_music.path(), "low tone", tone);
        tone.format = audiotest::Format::Flac;
        tone.title = "High";
        m_high = audiotest::makeToneFile(m_music.path(), "high tone", tone);
        QVERIFY(!m_low.isEmpty() && !m_high.isEmpty());
        QVERIFY(testsupport::writeFile(music("notes.txt"), "words\n"));
        QVERIFY(testsupport::writeFile(music("two.m3u"), "high tone.flac\nmissing.wav\n"));
    }

    void helpVersionAndMistakesNeedNoDisplay()
    {
        // Qt's own options pass through to the application object
        QCOMPARE(runToEnd({"-platform", "offscreen", "--version"}), Run(0, "lindenfold " LINDENFOLD_VERSION "\n"));
        const Run help = runToEnd({"--help"});
        QVERIFY2(help.first == 0 && help.second.contains("[FILE|URI...]"), qPrintable(help.second));
        QCOMPARE(runToEnd({"--no-such-option"}).first, 2);
    }

    // Without a bus: the first start leaves exactly the data directory it should; killed, it
    // leaves its lock, which the next start takes over at once; that one reads the directory
    // back without rewriting the settings file and, ended by SIGTERM, releases the lock.
    void firstStartKilledThenSecondStart()
    {
        testsupport::TempHome home;
        const QString noBus = "MPRIS is unavailable: no session bus";
        Player first({}, true, kNoBus);
        // the MPRIS line comes after the first frame, with the data directory complete
        const QString printed = first.printedUntil("MPRIS");
        QCOMPARE(first.end(SIGKILL), -1);
        QVERIFY2(printed.startsWith("New playlist written successfully.\n" + noBus) && printed.count('\n') == 2,
                 qPrintable(printed));

        const QJsonObject settings = QJsonDocument::fromJson(testsupport::readFile(home.settingsFile())).object();
        const QJsonArray playlists = settings["playlists"].toArray();
        QVERIFY(playlists.size() == 1 && playlists[0]["name"] == "Untitled");
        const QString playlist = "Playlists/" + playlists[0]["id"].toString() + ".json";
        QStringList expected{".lock", "lindenfold-settings.json", playlist};
        for (const QJsonValue& theme : settings["availableThemes"].toArray())
            for (const QString& file : QString("theme.json close ff ff-on min pause pause-on play play-on player player-min "
                                               "playlist-menu rr rr-on track-album track-menu track-scrubber").split(' '))
                expected << "Themes/" + theme.toString() + '/' + file + (file.contains('.') ? "" : ".png");
        QCOMPARE(expected.size(), 3 + 22 * 17);
        expected.sort();
        QMap<QString, QByteArray> before = snapshot(home.dataDir());
        QCOMPARE(before.keys(), expected);
        QCOMPARE(QJsonDocument::fromJson(before[playlist])["tracks"].toArray().size(), 0);

        const QDateTime modified = QFileInfo(home.settingsFile()).lastModified();
        Player second({}, true, kNoBus);
        const QString again = second.printedUntil("MPRIS");
        QVERIFY2(again.startsWith(noBus) && again.count('\n') == 1, qPrintable(again));
        // a start beside it, on a bus that player never comes onto, waits a while and gives up
        QCOMPARE(runToEnd({m_high}), Run(1, "Lindenfold is already running.\n"));
        QCOMPARE(second.end(), 0);
        before.remove(".lock");
        QCOMPARE(snapshot(home.dataDir()), before);
        QCOMPARE(QFileInfo(home.settingsFile()).lastModified(), modified);
    }

    void secondStartsHandOverToTheRunningPlayer()
    {
        testsupport::TempHome home;
        // a file URI, as the desktop entry's %U hands them over
        Player first({urlOf(m_low), music("notes.txt")}, true);
        // a second start right after the first waits for it to come onto the bus; without
        // files the running player only comes to the front
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(home.dataDir() + "/.lock"), 20000);
        QCOMPARE(runToEnd({}).first, 0);
        QTRY_COMPARE_WITH_TIMEOUT(playerctl({"metadata", "xesam:url"}), urlOf(m_low), 15000);
        QTRY_COMPARE_WITH_TIMEOUT(playerctl({"status"}), "Playing", 15000);

        // without a bus there is nobody to hand over to, and nothing is written
        const QMap<QString, QByteArray> before = snapshot(home.dataDir());
        QCOMPARE(runToEnd({m_high}, kNoBus), Run(1, "Lindenfold is already running.\n"));
        QCOMPARE(snapshot(home.dataDir()), before);

        // a list relative to the second start's folder: its entries go to the end of the
        // running player's playlist, the first of them plays, and the skipped are printed here
        QCOMPARE(runToEnd({"two.m3u"}, {}, m_music.path()),
                 Run(0, QString("Skipped \"%1\": no such file\n").arg(music("missing.wav"))));
        QTRY_COMPARE_WITH_TIMEOUT(playerctl({"metadata", "xesam:url"}), urlOf(m_high), 15000);
        QCOMPARE(playerctl({"metadata", "xesam:title"}), "High");
        const QStringList playlists = QDir(home.dataDir() + "/Playlists").entryList({"*.json"}, QDir::Files);
        QCOMPARE(playlists.size(), 1);
        const QByteArray stored = testsupport::readFile(home.dataDir() + "/Playlists/" + playlists.first());
        QVERIFY(stored.indexOf(urlOf(m_low).toUtf8()) < stored.indexOf(urlOf(m_high).toUtf8()));

        QCOMPARE(first.end(), 0);
        QVERIFY(!QFile::exists(home.dataDir() + "/.lock"));
        const QString skipped = QString("Skipped \"%1\": not a playable audio file").arg(music("notes.txt"));
        QVERIFY2(first.readAllStandardOutput().contains(skipped.toUtf8()), "the first start says what it skipped");
    }
};

QTEST_GUILESS_MAIN(TestCommandLine)
#include "tst_commandline.moc"
