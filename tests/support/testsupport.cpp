#include "support/testsupport.h"

#include <QtTest>

#include <cstdio>
#include <unistd.h>

namespace testsupport {

TempHome::TempHome() : m_oldHome(qgetenv("HOME")), m_oldXdgConfig(qgetenv("XDG_CONFIG_HOME"))
{
    qputenv("HOME", m_dir.path().toLocal8Bit());
    // no user-dirs.dirs in a fresh config home: Documents is $HOME/Documents
    qputenv("XDG_CONFIG_HOME", (m_dir.path() + QStringLiteral("/.config")).toLocal8Bit());
    // the session file too
    qunsetenv("XDG_STATE_HOME");
}

TempHome::~TempHome()
{
    qputenv("HOME", m_oldHome);
    m_oldXdgConfig.isEmpty() ? qunsetenv("XDG_CONFIG_HOME")
                             : qputenv("XDG_CONFIG_HOME", m_oldXdgConfig);
}

QString captureStdout(const std::function<void()>& fn)
{
    std::fflush(stdout);
    QTemporaryFile file;
    const int saved = dup(STDOUT_FILENO);
    if (file.open())
        dup2(file.handle(), STDOUT_FILENO);
    fn();
    std::fflush(stdout);
    dup2(saved, STDOUT_FILENO);
    close(saved);
    file.seek(0); // the redirected descriptor moved the shared offset to the end
    const QString text = QString::fromUtf8(file.readAll());
    std::fputs(text.toUtf8().constData(), stdout); // keep it visible in the test log
    return text;
}

QString playerctl(const QStringList& arguments)
{
    QProcess process;
    process.start(QStringLiteral("playerctl"), QStringList{"-p", "lindenfold"} + arguments);
    if (!QTest::qWaitFor([&] { return process.state() == QProcess::NotRunning; }, 15000))
        process.kill();
    process.waitForFinished();
    return QString::fromUtf8(process.readAllStandardOutput()).trimmed();
}

QByteArray readFile(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QMap<QString, QByteArray> snapshot(const QString& dir)
{
    QMap<QString, QByteArray> files;
    for (QDirIterator it(dir, QDir::Files | QDir::Hidden | QDir::System,
                         QDirIterator::Subdirectories);
         it.hasNext();) {
        const QString path = it.next();
        files.insert(QDir(dir).relativeFilePath(path), readFile(path));
    }
    return files;
}

bool writeFile(const QString& path, const QByteArray& bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(bytes) == bytes.size();
}

} // namespace testsupport
