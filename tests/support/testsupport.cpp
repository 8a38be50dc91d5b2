#include "support/testsupport.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>

#include <cstdio>
#include <unistd.h>

namespace testsupport {

TempHome::TempHome()
    : m_oldHome(qgetenv("HOME")), m_oldXdgConfig(qgetenv("XDG_CONFIG_HOME"))
{
    qputenv("HOME", m_dir.path().toLocal8Bit());
    // no user-dirs.dirs in a fresh config home: Documents is $HOME/Documents
    qputenv("XDG_CONFIG_HOME", (m_dir.path() + QStringLiteral("/.config")).toLocal8Bit());
}

TempHome::~TempHome()
{
    qputenv("HOME", m_oldHome);
    if (m_oldXdgConfig.isEmpty())
        qunsetenv("XDG_CONFIG_HOME");
    else
        qputenv("XDG_CONFIG_HOME", m_oldXdgConfig);
}

QString captureStdout(const std::function<void()>& fn)
{
    std::fflush(stdout);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("stdout"));
    const int saved = dup(STDOUT_FILENO);
    FILE* file = std::fopen(QFile::encodeName(path).constData(), "w");
    dup2(fileno(file), STDOUT_FILENO);
    fn();
    std::fflush(stdout);
    dup2(saved, STDOUT_FILENO);
    close(saved);
    std::fclose(file);
    const QString text = QString::fromUtf8(readFile(path));
    std::fputs(text.toUtf8().constData(), stdout); // keep it visible in the test log
    return text;
}

QString playerctl(const QStringList& arguments)
{
    QProcess process;
    process.start(QStringLiteral("playerctl"), QStringList{"-p", "lindenfold"} + arguments);
    for (QDeadlineTimer deadline(15000); process.state() != QProcess::NotRunning && !deadline.hasExpired();)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    process.kill();
    process.waitForFinished();
    return QString::fromUtf8(process.readAllStandardOutput()).trimmed();
}

QByteArray readFile(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return f.readAll();
}

bool writeFile(const QString& path, const QByteArray& bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(bytes) == bytes.size();
}

} // namespace testsupport
