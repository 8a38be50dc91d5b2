#include "app/appdelegate.h"
#include "app/unixsignals.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    QApplication::setApplicationName(QStringLiteral("lindenfold"));
    QApplication::setDesktopFileName(QStringLiteral("lindenfold"));
    QApplication app(argc, argv);
    UnixSignals signals_;
    AppDelegate delegate;
    delegate.setupWindow();
    return app.exec();
}
