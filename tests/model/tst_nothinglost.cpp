// What a user's files go through: a full or read-only disk, special and huge files in
// place of the settings, a playlist or a theme, repeated damage, a first start cut short.
#include "support/testsupport.h"

#include "model/config.h"
#include "ui/player/savenotice.h"

#include <QDirIterator>
#include <QLabel>
#include <QProcess>
#include <QRandomGenerator>
#include <QSignalSpy>
#include <QWidget>
#include <QtTest>

#include <csignal>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

using testsupport::captureStdout;
using testsupport::readFile;
using testsupport::writeFile;

namespace {

// Every file under dir with its bytes.
QMap<QString, QByteArray> snapshot(const QString& dir)
{
    QMap<QString, QByteArray> files;
    QDirIterator it(dir, QDir::Files | QDir::Hidden | QDir::System, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        files.insert(QDir(dir).relativeFilePath(path), readFile(path));
    }
    return files;
}

// Writes until the file system has no byte left.
void fillDisk(const QString& path)
{
    QFile filler(path);
    QVERIFY(filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered));
    const QByteArray block(64 * 1024, 'x');
    while (filler.write(block) > 0) {
    }
    while (filler.write(block.left(1)) > 0) {
    }
}

// A small tmpfs mounted at the test home's Documents, for the duration of a test.
class SmallDisk {
public:
    explicit SmallDisk(const QString& at) : m_at(at)
    {
        QDir().mkpath(at);
        m_mounted = ::mount("lindenfold-test", QFile::encodeName(at).constData(), "tmpfs", 0, "size=16m") == 0;
    }
    ~SmallDisk()
    {
        if (m_mounted)
            ::umount2(QFile::encodeName(m_at).constData(), MNT_DETACH);
    }
    bool mounted() const { return m_mounted; }
    bool remount(unsigned long flags)
    {
        return ::mount("lindenfold-test", QFile::encodeName(m_at).constData(), "tmpfs", MS_REMOUNT | flags, "size=16m") == 0;
    }

private:
    QString m_at;
    bool m_mounted = false;
};

QString playlistPath(const Config& config, int index = 0)
{
    return config.playlistFileURL(config.playlists().at(index).id);
}

const Track kTrack{QUuid::createUuid(), QStringLiteral("file:///music/a.flac"), QStringLiteral("A"), QStringLiteral("B")};

} // namespace

class TestNothingLost : public QObject {
    Q_OBJECT

private slots:
    void fullAndReadOnlyDiskKeepEveryByte()
    {
        testsupport::TempHome home;
        SmallDisk disk(home.documents());
        if (!disk.mounted())
            QSKIP("a small tmpfs needs root (as the CI runs) and mount rights");
        auto config = std::make_unique<Config>();
        QWidget window;
        SaveNotice notice(config.get(), &window);
        QSignalSpy failures(config.get(), &Config::saveFailed);
        const QString filler = home.documents() + QStringLiteral("/filler");
        fillDisk(filler);
        const auto before = snapshot(home.dataDir());
        QVERIFY2(before.contains(QStringLiteral("Themes/max-graphite/theme.json")), qPrintable(before.keys().join(' ')));

        const QString printed = captureStdout([&] {
            config->setPlaysSounds(false);
            config->saveSettings();
            config->savePlaylist(config->playlists().at(0).id, {kTrack});
            config->createPlaylist();
            config->writeThemeFile(QStringLiteral("max-graphite"));
        });
        QCOMPARE(snapshot(home.dataDir()), before);
        QVERIFY2(printed.contains(QStringLiteral("Failed to save JSON data: No space left on device\n")), qPrintable(printed));
        QVERIFY2(printed.contains(QStringLiteral("Failed to write theme.json: No space left on device\n")), qPrintable(printed));
        QVERIFY(!printed.contains(QStringLiteral("New playlist written successfully.")));
        QCOMPARE(failures.size(), 5);
        // the note shows once, does not take the focus and goes by itself
        QVERIFY(notice.label() && notice.label()->isVisible());
        QVERIFY(notice.label()->text().contains(QStringLiteral("No space left on device")));
        QVERIFY(notice.label()->testAttribute(Qt::WA_ShowWithoutActivating));
        QCOMPARE(window.findChildren<QLabel*>().size(), 1);

        // what stayed in memory is saved by the next change once there is room again
        QVERIFY(QFile::remove(filler));
        config->saveSettings();
        QVERIFY(readFile(home.settingsFile()).contains("\"playsSounds\": false"));
        QCOMPARE(config->playlists().size(), 2);

        // a read-only file system: the same, with its own reason
        const auto saved = snapshot(home.dataDir());
        QVERIFY(disk.remount(MS_RDONLY));
        const QString readOnly = captureStdout([&] {
            config->setShuffleTracks(!config->shuffleTracks());
            config->saveSettings();
            config->savePlaylist(config->playlists().at(0).id, {kTrack});
        });
        QVERIFY(disk.remount(0));
        QCOMPARE(snapshot(home.dataDir()), saved);
        QCOMPARE(readOnly.count(QStringLiteral("Failed to save JSON data: ")), 2);
    }

    void firstStartOnFullDiskLeavesNothingHalfDone()
    {
        testsupport::TempHome home;
        SmallDisk disk(home.documents());
        if (!disk.mounted())
            QSKIP("a small tmpfs needs root (as the CI runs) and mount rights");
        // room for the data directory and a little, not for 22 themes
        QVERIFY(QDir().mkpath(home.dataDir()));
        const QString filler = home.documents() + QStringLiteral("/filler");
        fillDisk(filler);
        QFile shrink(filler);
        QVERIFY(shrink.resize(shrink.size() - 512 * 1024));
        captureStdout([] { Config config; });
        QVERIFY(!QFileInfo::exists(home.dataDir() + QStringLiteral("/Themes")));
        QCOMPARE(QDir(home.dataDir()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot).filter(QStringLiteral("Themes")), {});

        QVERIFY(QFile::remove(filler));
        Config healed;
        QCOMPARE(QDir(home.dataDir() + QStringLiteral("/Themes")).entryList(QDir::Dirs | QDir::NoDotAndDotDot).size(), 22);
        QCOMPARE(healed.playlists().size(), 1);
        QVERIFY(QFileInfo(playlistPath(healed)).isFile());
    }

    // A FIFO, a link to an endless device, a directory and 20 MB of brackets in place of each
    // file: nothing waits, nothing grows without bound, the catalogue survives where it can.
    void hostileFiles_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("kind");
        for (const char* file : {"settings", "playlist", "theme"}) {
            for (const char* kind : {"fifo", "zero", "directory", "brackets", "numbers"})
                QTest::addRow("%s %s", file, kind) << QString::fromLatin1(file) << QString::fromLatin1(kind);
        }
    }

    void hostileFiles()
    {
        QFETCH(QString, file);
        QFETCH(QString, kind);
        testsupport::TempHome home;
        QUuid id;
        {
            Config config;
            id = config.playlists().at(0).id;
            config.savePlaylist(id, {kTrack});
        }
        const QString path = file == QLatin1String("settings") ? home.settingsFile()
                             : file == QLatin1String("playlist")
                                 ? home.dataDir() + QStringLiteral("/Playlists/") + uuidString(id) + QStringLiteral(".json")
                                 : home.dataDir() + QStringLiteral("/Themes/mini-graphite/theme.json");
        QVERIFY(QFile::remove(path));
        const QByteArray path8 = QFile::encodeName(path);
        if (kind == QLatin1String("fifo"))
            QCOMPARE(::mkfifo(path8.constData(), 0600), 0);
        else if (kind == QLatin1String("zero"))
            QCOMPARE(::symlink("/dev/zero", path8.constData()), 0);
        else if (kind == QLatin1String("directory"))
            QVERIFY(QDir().mkdir(path));
        else if (kind == QLatin1String("brackets"))
            QVERIFY(writeFile(path, QByteArray(20 << 20, '[')));
        else // every key present, one of them a 20 MB array of numbers
            QVERIFY(writeFile(path, "{\"tracks\":[" + QByteArray(10 << 20, '0').replace(QByteArray("00"), "0,") + "0],"
                                    "\"availableThemes\":[" + QByteArray(10 << 20, '1').replace(QByteArray("11"), "1,") + "1]}"));

        std::unique_ptr<Config> config;
        const QString printed = captureStdout([&] { config = std::make_unique<Config>(); });
        if (file == QLatin1String("settings")) {
            // a damaged settings file is kept aside and the start is a first start
            QVERIFY2(printed.contains(QStringLiteral("The damaged settings file was kept as")), qPrintable(printed));
            QCOMPARE(config->playlists().size(), 1);
            QVERIFY(config->playlists().at(0).id != id);
        } else if (file == QLatin1String("playlist")) {
            QCOMPARE(config->playlists().size(), 1);
            QCOMPARE(config->playlists().at(0).id, id);
            QCOMPARE(config->currentTracks(), QList<Track>{});
        } else {
            QVERIFY2(printed.contains(QStringLiteral("Failed to read theme.json: ")), qPrintable(printed));
            QCOMPARE(config->playlists().at(0).id, id);
            QCOMPARE(config->trackTextSize(), 9); // the geometry kept its defaults
        }
#if !defined(__SANITIZE_ADDRESS__)
        // no input costs more than four times its size and 50 MB
        rusage usage;
        ::getrusage(RUSAGE_SELF, &usage);
        QVERIFY2(usage.ru_maxrss < (4 * 20 + 50 + 60) * 1024, qPrintable(QString::number(usage.ru_maxrss)));
#endif
    }

    void damagedSettingsCopiesAreNeverOverwritten()
    {
        testsupport::TempHome home;
        captureStdout([] { Config config; });
        const QString broken = home.settingsFile() + QStringLiteral(".broken");
        for (int i = 1; i <= 11; ++i) {
            QVERIFY(writeFile(home.settingsFile(), "damaged " + QByteArray::number(i)));
            const QString printed = captureStdout([] { Config config; });
            const QString copy = i == 1 ? broken : broken + QStringLiteral(".%1").arg(i);
            QVERIFY2(printed.contains(copy), qPrintable(printed));
            QCOMPARE(readFile(copy), "damaged " + QByteArray::number(i));
        }
        // at most ten copies: the first and the newest numbered ones
        QCOMPARE(readFile(broken), "damaged 1");
        QVERIFY(!QFileInfo::exists(broken + QStringLiteral(".2")));
        QCOMPARE(QDir(home.dataDir()).entryList({QStringLiteral("*.broken*")}).size(), 10);
    }

    // The real program, killed at a random moment of its first start, is complete after the
    // next start.
    void interruptedFirstStartHeals()
    {
        const QString program = qEnvironmentVariable("LINDENFOLD_BINARY_DIR") + QStringLiteral("/lindenfold");
        for (int attempt = 0; attempt < 10; ++attempt) {
            testsupport::TempHome home;
            const int delay = int(QRandomGenerator::global()->bounded(400));
            QProcess process;
            process.start(program, {});
            QVERIFY(process.waitForStarted());
            QTest::qWait(delay);
            process.kill();
            process.waitForFinished();

            process.start(program, {});
            QVERIFY(process.waitForStarted());
            QTRY_VERIFY_WITH_TIMEOUT(QFileInfo::exists(home.settingsFile()), 20000);
            QTest::qWait(300);
            ::kill(pid_t(process.processId()), SIGTERM);
            QVERIFY(process.waitForFinished());

            captureStdout([&] {
                Config config;
                QVERIFY2(config.playlists().size() >= 1, qPrintable(QString::number(delay)));
                QVERIFY(QFileInfo(config.playlistFileURL(config.playlists().at(0).id)).isFile());
            });
            const QDir themes(home.dataDir() + QStringLiteral("/Themes"));
            const QStringList names = themes.entryList(QDir::Dirs | QDir::NoDotAndDotDot);
            QCOMPARE(names.size(), 22);
            for (const QString& name : names)
                QVERIFY2(QDir(themes.filePath(name)).entryList(QDir::Files).size() == 17, qPrintable(name));
        }
    }
};

QTEST_MAIN(TestNothingLost)
#include "tst_nothinglost.moc"
