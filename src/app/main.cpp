#include "app/appdelegate.h"
#include "app/translations.h"
#include "app/unixsignals.h"

#include <QApplication>
#include <QIcon>

int main(int argc, char* argv[])
{
    QApplication::setApplicationName(QStringLiteral("lindenfold"));
    QApplication::setApplicationDisplayName(QStringLiteral("Lindenfold"));
    QApplication::setDesktopFileName(QStringLiteral("lindenfold"));
    QApplication app(argc, argv);
    // the built-in icon: looking it up in the icon theme would cost start-up time, and the
    // desktop entry names the themed one for the shell anyway
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/icons/lindenfold.png")));
    installTranslations();
    UnixSignals signals_;
    AppDelegate delegate;
    delegate.setupWindow();
    return app.exec();
}
