#include "app/instancelock.h"

#include "core/output.h"

#include <QDir>
#include <QStandardPaths>

InstanceLock::InstanceLock() : InstanceLock(defaultDataDirectory()) {}

InstanceLock::InstanceLock(const QString& dataDirectory)
{
    if (dataDirectory.isEmpty() || !QDir().mkpath(dataDirectory))
        return; // the start-up reports a missing documents directory itself
    m_lock = std::make_unique<QLockFile>(dataDirectory + QStringLiteral("/.lock"));
    // only a dead holder makes a lock stale, however old it is
    m_lock->setStaleLockTime(0);
    if (m_lock->tryLock(0)) {
        m_state = State::Held;
        return;
    }
    if (m_lock->error() == QLockFile::LockFailedError) {
        m_state = State::HeldElsewhere;
        QString application;
        m_lock->getLockInfo(&m_holderPid, &m_holderHost, &application);
        return;
    }
    printLine(QStringLiteral("Could not lock the data directory \"%1\": the player runs without "
                             "guarding it against a second start.")
                  .arg(dataDirectory));
}

QString InstanceLock::defaultDataDirectory()
{
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (documents.isEmpty())
        return {};
    return QDir(documents).absoluteFilePath(QStringLiteral("lindenfold"));
}
