#include "app/appdelegate.h"
#include "app/colorscheme.h"
#include "app/commandline.h"
#include "app/instancelock.h"
#include "app/translations.h"
#include "app/unixsignals.h"
#include "desktop/handover.h"
#include "core/output.h"

#include <QApplication>
#include <QIcon>
#include <QSysInfo>

namespace {

// A second start waits this long for a player that is still starting to appear on the bus.
constexpr int kHandOverWaitMs = 5000;

QStringList argumentsOf(int argc, char* argv[])
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments.append(QString::fromLocal8Bit(argv[i]));
    return arguments;
}

// The player that holds the data directory gets the files and comes to the front; this
// process writes nothing and shows no window.
int handOverTo(const InstanceLock& lock, const QStringList& files)
{
    const bool sameHost =
        lock.holderHost().isEmpty() || lock.holderHost() == QSysInfo::machineHostName();
    if (sameHost && handover::handOver(lock.holderPid(), absoluteArguments(files), kHandOverWaitMs))
        return 0;
    printLine(QStringLiteral("Lindenfold is already running."));
    return 1;
}

} // namespace

int main(int argc, char* argv[])
{
    QApplication::setApplicationName(QStringLiteral("lindenfold"));
    QApplication::setApplicationVersion(QStringLiteral(LINDENFOLD_VERSION));
    QApplication::setApplicationDisplayName(QStringLiteral("Lindenfold"));
    QApplication::setDesktopFileName(QStringLiteral("lindenfold"));

    // help, version and the hand-over need no display
    const CommandLine commandLine = parseCommandLine(argumentsOf(argc, argv));
    if (commandLine.action != CommandLine::Action::Run) {
        QCoreApplication app(argc, argv);
        installTranslations();
        return answerCommandLine(commandLine);
    }
    // taken before anything in the data directory is read or written
    const InstanceLock lock;
    if (lock.state() == InstanceLock::State::HeldElsewhere) {
        QCoreApplication app(argc, argv);
        return handOverTo(lock, commandLine.files);
    }

    QApplication app(argc, argv);
    // the built-in icon: looking it up in the icon theme would cost start-up time, and the
    // desktop entry names the themed one for the shell anyway
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/icons/lindenfold.png")));
    installTranslations();
    const ColorScheme colorScheme;
    UnixSignals signals_;
    AppDelegate delegate;
    delegate.setupWindow();
    delegate.openFiles(commandLine.files);
    return app.exec();
}
