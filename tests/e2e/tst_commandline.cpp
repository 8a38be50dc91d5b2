// The real executable in a private HOME, on a private session bus or none: the first start,
// one player per data directory, files on the command line and the hand-over to a running one.
#include "support/audiotest.h"
#include "support/testsupport.h"

#include <QtTest>

#include <csignal>

namespace {

using Run = std::pair<int, QString>; // the exit code and what was printed

// The player; without a display where it is expected to end by itself (a window would fail
// it), on another bus where one is given.
struct Player : QProcess {
    Player(const QStringList& arguments, bool display, const QString& bus = {},
           const QString& directory = {})
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("QT_QPA_PLATFORM", display ? "offscreen" : "xcb");
        env.remove("DISPLAY");
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
};

Run runToEnd(const QStringList& arguments, const QString& bus = {}, const QString& directory = {})
{
    Player process(arguments, false, bus, directory);
    process.waitForFinished(30000);
    return {process.end(SIGKILL), QString::fromUtf8(process.readAllStandardOutput())};
}

QString urlOf(const QString& path)
{
    return QUrl::fromLocalFile(path).toString(QUrl::FullyEncoded);
}

} // namespace

class TestCommandLine : public QObject {
    Q_OBJECT

private slots:
    // Qt's own options pass through to the application object; the help comes as lines.
    void answersWithoutDisplay_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("printed");
        QTest::newRow("version after a Qt option")
            << QStringList{"-platform", "offscreen", "--version"} << 0
            << "lindenfold " LINDENFOLD_VERSION "\n";
        QTest::newRow("help") << QStringList{"--help"} << 0 << " [FILE|URI...]\n";
        QTest::newRow("unknown option") << QStringList{"--no-such-option"} << 2 << "";
    }
    void answersWithoutDisplay()
    {
        QFETCH(QStringList, arguments);
        QFETCH(int, code);
        QFETCH(QString, printed);
        const Run run = runToEnd(arguments);
        QVERIFY2(run.first == code && run.second.contains(printed) && !run.second.contains("\\x"),
                 qPrintable(run.second));
    }

    // One data directory through several starts. Without a bus: the first start leaves exactly
    // the data directory it should; killed, it leaves its lock, which the next start takes over
    // at once; that one reads the directory back without rewriting the settings file and,
    // ended by SIGTERM, releases the lock. Then on the bus, later starts hand over to it.
    void startsOnOneDataDirectory()
    {
        testsupport::TempHome home;
        QTemporaryDir music;
        audiotest::ToneFile tone;
        tone.secondsEach = 20;
        const QString low = audiotest::makeToneFile(music.path(), "low tone", tone);
        const QString high = audiotest::makeToneFile(music.path(), "high tone", tone);
        QVERIFY(
            !low.isEmpty() && !high.isEmpty() &&
            testsupport::writeFile(music.filePath("notes.txt"), "words\n") &&
            testsupport::writeFile(music.filePath("two.m3u"),
                                   "high tone.wav\nmissing.wav\n\x1b]0;Owned\x07\x1b[2J.wav\n") &&
            testsupport::writeFile(music.filePath("noise.pls"),
                                   QByteArray("[playlist]\n\0\x1b", 13).repeated(500)));

        const QString noBus = "MPRIS is unavailable: no session bus";
        Player first({}, true, "unix:path=/nonexistent");
        // the MPRIS line comes after the first frame, with the data directory complete
        QString printed, again;
        QTRY_VERIFY_WITH_TIMEOUT((printed += first.readAllStandardOutput()).contains("MPRIS"),
                                 30000);
        QCOMPARE(first.end(SIGKILL), -1);
        QVERIFY2(printed.startsWith("New playlist written successfully.\n" + noBus) &&
                     printed.count('\n') == 2,
                 qPrintable(printed));
        const QJsonValue playlists =
            QJsonDocument::fromJson(testsupport::readFile(home.settingsFile()))["playlists"];
        QVERIFY(playlists.toArray().size() == 1 && playlists[0]["name"] == "Untitled");
        const QString playlist = "Playlists/" + playlists[0]["id"].toString() + ".json";
        // beside the lock, the settings and the empty playlist, the 22 built-in themes of 17
        // files each (their theme.json: tst_themes)
        QMap<QString, QByteArray> before = testsupport::snapshot(home.dataDir());
        QVERIFY(before.size() == 3 + 22 * 17 && before.firstKey() == ".lock");
        QVERIFY(QJsonDocument::fromJson(before[playlist])["tracks"] == QJsonArray());

        const QDateTime modified = QFileInfo(home.settingsFile()).lastModified();
        Player second({}, true, "unix:path=/nonexistent");
        QTRY_VERIFY_WITH_TIMEOUT((again += second.readAllStandardOutput()).contains("MPRIS"),
                                 30000);
        QVERIFY2(again.startsWith(noBus) && again.count('\n') == 1, qPrintable(again));
        // a start beside it, on a bus that player never comes onto, waits a while and gives up
        QCOMPARE(runToEnd({high}), Run(1, "Lindenfold is already running.\n"));
        QCOMPARE(second.end(), 0);
        before.remove(".lock");
        QCOMPARE(testsupport::snapshot(home.dataDir()), before);
        QCOMPARE(QFileInfo(home.settingsFile()).lastModified(), modified);

        // a file URI, as the desktop entry's %U hands them over
        Player third({urlOf(low), music.filePath("notes.txt")}, true);
        // a second start right after it waits for it to come onto the bus; without files the
        // running player only comes to the front
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(home.dataDir() + "/.lock"), 20000);
        QCOMPARE(runToEnd({}).first, 0);
        QTRY_COMPARE_WITH_TIMEOUT(testsupport::playerctl({"metadata", "xesam:url"}), urlOf(low),
                                  15000);
        QTRY_COMPARE_WITH_TIMEOUT(testsupport::playerctl({"status"}), "Playing", 15000);
        // lists relative to the second start's folder: their entries go to the end of the
        // running player's playlist, the first of them plays, and the skipped are printed here,
        // what the list holds with its control characters written out, a binary file in one line
        QCOMPARE(runToEnd({"two.m3u", "noise.pls"}, {}, music.path()),
                 Run(0, QString("Skipped \"%1\": no such file\nSkipped \"%2\": no such file\n"
                                "Skipped \"%3\": not a playlist: the file is not text\n")
                            .arg(music.filePath("missing.wav"),
                                 music.filePath("\\x1b]0;Owned\\x07\\x1b[2J.wav"),
                                 music.filePath("noise.pls"))));
        QTRY_COMPARE_WITH_TIMEOUT(testsupport::playerctl({"metadata", "xesam:url"}), urlOf(high),
                                  15000);
        const QByteArray stored = testsupport::readFile(home.dataDir() + '/' + playlist);
        QVERIFY(stored.contains(urlOf(low).toUtf8()) &&
                stored.indexOf(urlOf(low).toUtf8()) < stored.indexOf(urlOf(high).toUtf8()));
        QCOMPARE(third.end(), 0);
        const QString skipped =
            QString("Skipped \"%1\": not a playable audio file").arg(music.filePath("notes.txt"));
        QVERIFY2(third.readAllStandardOutput().contains(skipped.toUtf8()),
                 "the first start says what it skipped");
    }

    // "Resume where I stopped": after SIGTERM the next start is paused at the track and place,
    // after SIGKILL within the 10 s between writes; a track moved while the player was closed
    // is found by its id, a removed one leaves the first track.
    void resumesWhereItStopped()
    {
        using testsupport::playerctl;
        testsupport::TempHome home;
        QTemporaryDir music;
        audiotest::ToneFile tone;
        tone.secondsEach = 60;
        const QString a = audiotest::makeToneFile(music.path(), "a", tone);
        const QString b = audiotest::makeToneFile(music.path(), "b", tone);
        auto player = std::make_unique<Player>(QStringList{}, true);
        QTRY_VERIFY_WITH_TIMEOUT(testsupport::readFile(home.settingsFile()).contains("Untitled"),
                                 20000);
        QCOMPARE(player->end(), 0);
        QJsonObject settings =
            QJsonDocument::fromJson(testsupport::readFile(home.settingsFile())).object();
        settings["resumesPlayback"] = true;
        QVERIFY(testsupport::writeFile(home.settingsFile(), QJsonDocument(settings).toJson()));
        const QString list =
            home.dataDir() + "/Playlists/" + settings["playlists"][0]["id"].toString() + ".json";
        const auto position = [] { return playerctl({"position"}).toDouble(); };
        // a new start shows the file, paused within from...to seconds
        const auto resume = [&](const QString& file, double from, double to) {
            player = std::make_unique<Player>(QStringList{}, true);
            QTRY_COMPARE_WITH_TIMEOUT(playerctl({"metadata", "xesam:url"}), urlOf(file), 20000);
            QVERIFY2(playerctl({"status"}) == "Paused" && position() >= from && position() <= to,
                     qPrintable(QString::number(position())));
        };
        player = std::make_unique<Player>(QStringList{a, b}, true);
        QTRY_COMPARE_WITH_TIMEOUT(playerctl({"status"}), "Playing", 20000);
        playerctl({"next"});
        QTRY_COMPARE_WITH_TIMEOUT(playerctl({"metadata", "xesam:url"}), urlOf(b), 15000);
        QTest::qWait(2000);
        const double stopped = position();
        QCOMPARE(player->end(), 0);
        resume(b, stopped - 0.1, stopped + 0.3);
        playerctl({"play"});
        QTest::qWait(12000);
        const double killed = position();
        player->end(SIGKILL);
        resume(b, killed - 10.5, killed);
        QCOMPARE(player->end(), 0);
        QJsonObject stored = QJsonDocument::fromJson(testsupport::readFile(list)).object();
        const QJsonArray tracks = stored["tracks"].toArray();
        stored["tracks"] = QJsonArray{tracks[1], tracks[0]};
        QVERIFY(testsupport::writeFile(list, QJsonDocument(stored).toJson()));
        resume(b, killed - 10.5, killed);
        QCOMPARE(player->end(), 0);
        stored["tracks"] = QJsonArray{tracks[0]};
        QVERIFY(testsupport::writeFile(list, QJsonDocument(stored).toJson()));
        resume(a, 0, 0);
    }
};

QTEST_GUILESS_MAIN(TestCommandLine)
#include "tst_commandline.moc"
