#pragma once

#include <QtCore>

#include <functional>

namespace testsupport {

// A private HOME for one test: the documents directory becomes <home>/Documents and the
// data directory <home>/Documents/lindenfold. The previous HOME comes back on destruction.
class TempHome {
public:
    TempHome();
    ~TempHome();
    Q_DISABLE_COPY_MOVE(TempHome)

    QString path() const { return m_dir.path(); }
    QString documents() const { return m_dir.path() + QStringLiteral("/Documents"); }
    QString dataDir() const { return documents() + QStringLiteral("/lindenfold"); }
    QString settingsFile() const { return dataDir() + QStringLiteral("/lindenfold-settings.json"); }

private:
    QTemporaryDir m_dir;
    QByteArray m_oldHome;
    QByteArray m_oldXdgConfig;
};

// Runs fn and returns what it printed to standard output.
QString captureStdout(const std::function<void()>& fn);

// What `playerctl -p lindenfold <arguments>` printed, trimmed; this process's events are served
// while it runs, so it may be the player it talks to.
QString playerctl(const QStringList& arguments);

QByteArray readFile(const QString& path);
// Every file under dir (hidden ones too) with its bytes, by relative path.
QMap<QString, QByteArray> snapshot(const QString& dir);
bool writeFile(const QString& path, const QByteArray& bytes);

// For benchmarks: the longest gap between ticks of a timer of intervalMs, that is how long the
// main thread was busy at a stretch while it lived.
class Heartbeat {
public:
    explicit Heartbeat(int intervalMs = 10)
    {
        m_timer.setInterval(intervalMs);
        m_timer.setTimerType(Qt::PreciseTimer);
        QObject::connect(&m_timer, &QTimer::timeout,
                         [this] { m_longest = std::max(m_longest, m_clock.restart()); });
        m_clock.start();
        m_timer.start();
    }
    qint64 longestGap() const { return std::max(m_longest, m_clock.elapsed()); }

private:
    QTimer m_timer;
    QElapsedTimer m_clock;
    qint64 m_longest = 0;
};

} // namespace testsupport
