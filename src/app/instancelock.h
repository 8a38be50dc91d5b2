#pragma once

#include <QLockFile>
#include <QString>

#include <memory>

// One writer per data directory: the running player holds a lock file in it for as long as it
// runs, taken before anything in the directory is read or written. A lock left by a process
// that is gone (killed, crashed) is taken over at once.
class InstanceLock final {
public:
    enum class State {
        Held,
        // another running player holds it: hand over to that one, write nothing
        HeldElsewhere,
        // no documents directory, or a directory where no lock can be made (read-only, full):
        // the player runs without one
        Unavailable,
    };

    InstanceLock();
    explicit InstanceLock(const QString& dataDirectory);
    Q_DISABLE_COPY_MOVE(InstanceLock)

    // <documents>/lindenfold; empty when the user has no documents directory.
    static QString defaultDataDirectory();

    State state() const { return m_state; }
    // The holder's process id and host while state() is HeldElsewhere.
    qint64 holderPid() const { return m_holderPid; }
    QString holderHost() const { return m_holderHost; }

private:
    std::unique_ptr<QLockFile> m_lock;
    State m_state = State::Unavailable;
    qint64 m_holderPid = 0;
    QString m_holderHost;
};
