// Runs the real executable in a fresh HOME: the first start leaves exactly the data
// directory it should, the second reads it back without rewriting the settings file.
#include "support/testsupport.h"

#include <QDirIterator>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QtTest>

#include <csignal>

namespace {

QString executable()
{
    return qEnvironmentVariable("LINDENFOLD_BINARY_DIR") + QStringLiteral("/lindenfold");
}

// Starts the player, waits until it has settled, ends it with SIGTERM and gives what it printed.
QString runOnce(const QString& home, int* exitCode)
{
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("HOME"), home);
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), home + QStringLiteral("/.config"));
    process.setProcessEnvironment(env);
    process.start(executable(), {});
    if (!process.waitForStarted(10000))
        return QStringLiteral("<did not start>");
    // the data directory is complete before the window shows; give it time to settle
    QTest::qWait(1500);
    ::kill(pid_t(process.processId()), SIGTERM);
    process.waitForFinished(20000);
    *exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    return QString::fromUtf8(process.readAllStandardOutput());
}

QStringList filesUnder(const QString& dir)
{
    QStringList files;
    QDirIterator it(dir, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext())
        files << QDir(dir).relativeFilePath(it.next());
    files.sort();
    return files;
}

} // namespace

class TestFirstStart : public QObject {
    Q_OBJECT

private slots:
    void firstAndSecondStart()
    {
        testsupport::TempHome home;
        int exitCode = -2;
        const QString printed = runOnce(home.path(), &exitCode);
        QCOMPARE(exitCode, 0);
        QVERIFY2(printed.contains(QStringLiteral("New playlist written successfully.\n")), qPrintable(printed));

        const QJsonObject settings =
            QJsonDocument::fromJson(testsupport::readFile(home.settingsFile())).object();
        const QJsonArray playlists = settings[QStringLiteral("playlists")].toArray();
        QCOMPARE(playlists.size(), 1);
        QCOMPARE(playlists[0].toObject()[QStringLiteral("name")].toString(), QStringLiteral("Untitled"));
        const QString id = playlists[0].toObject()[QStringLiteral("id")].toString();

        QStringList expected{QStringLiteral("lindenfold-settings.json"), QStringLiteral("Playlists/") + id + QStringLiteral(".json")};
        const QStringList elements = {"close", "ff", "ff-on", "min", "pause", "pause-on", "play", "play-on",
                                      "player", "player-min", "playlist-menu", "rr", "rr-on", "track-album",
                                      "track-menu", "track-scrubber"};
        for (const QJsonValue& theme : settings[QStringLiteral("availableThemes")].toArray()) {
            const QString dir = QStringLiteral("Themes/") + theme.toString() + QLatin1Char('/');
            expected << dir + QStringLiteral("theme.json");
            for (const QString& e : elements)
                expected << dir + e + QStringLiteral(".png");
        }
        expected.sort();
        QCOMPARE(expected.size(), 2 + 22 * 17);
        QCOMPARE(filesUnder(home.dataDir()), expected);
        QCOMPARE(QJsonDocument::fromJson(testsupport::readFile(home.dataDir() + "/Playlists/" + id + ".json"))
                     .object()[QStringLiteral("tracks")].toArray().size(), 0);

        const QByteArray before = testsupport::readFile(home.settingsFile());
        const QDateTime modified = QFileInfo(home.settingsFile()).lastModified();
        const QString second = runOnce(home.path(), &exitCode);
        QCOMPARE(exitCode, 0);
        QVERIFY2(!second.contains(QStringLiteral("New playlist")), qPrintable(second));
        QCOMPARE(testsupport::readFile(home.settingsFile()), before);
        QCOMPARE(QFileInfo(home.settingsFile()).lastModified(), modified);
        QCOMPARE(filesUnder(home.dataDir()), expected);
    }
};

QTEST_GUILESS_MAIN(TestFirstStart)
#include "tst_firststart.moc"
