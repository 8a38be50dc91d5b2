#include "desktop/handover.h"

#include "desktop/mpris.h"
#include "core/output.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDeadlineTimer>
#include <QThread>

#include <cerrno>
#include <csignal>

namespace handover {
namespace {

// The bus name of the player in process pid: its instance name, or the first player's name
// when that process owns it.
QString serviceOf(QDBusConnectionInterface* bus, qint64 pid)
{
    const QString instance = MprisService::instanceBusName(pid);
    if (bus->isServiceRegistered(instance))
        return instance;
    const QString first = MprisService::busName();
    const QDBusReply<uint> owner = bus->servicePid(first);
    if (owner.isValid() && qint64(owner.value()) == pid)
        return first;
    return {};
}

bool isRunning(qint64 pid)
{
    return pid > 0 && (::kill(pid_t(pid), 0) == 0 || errno == EPERM);
}

} // namespace

bool handOver(qint64 pid, const QStringList& arguments, int waitMs)
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected() || !bus.interface())
        return false;
    QString service;
    const QDeadlineTimer deadline(waitMs);
    while ((service = serviceOf(bus.interface(), pid)).isEmpty()) {
        if (deadline.hasExpired() || !isRunning(pid))
            return false;
        QThread::msleep(20);
    }
    QDBusMessage call = QDBusMessage::createMethodCall(
        service, QStringLiteral("/org/mpris/MediaPlayer2"),
        QStringLiteral("org.lindenfold.Lindenfold"), QStringLiteral("Open"));
    call << arguments;
    // the reply comes once the files are read: long lists take a while
    const QDBusMessage reply = bus.call(call, QDBus::Block, 600000);
    if (reply.type() != QDBusMessage::ReplyMessage)
        return reply.errorName() == QLatin1String("org.freedesktop.DBus.Error.NoReply");
    for (const QString& line : reply.arguments().value(0).toStringList())
        printLine(line);
    return true;
}

} // namespace handover
