// The player under a Wayland compositor (weston's headless backend, started here): the skinned
// window shows, and what only X11 offers (snapping, sticky, on top) neither warns nor fails.
#include "app/appdelegate.h"
#include "app/windowsnapdelegate.h"
#include "model/config.h"
#include "support/testsupport.h"
#include "ui/player/contentview.h"

#include <QApplication>
#include <QProcess>
#include <QtTest>

class TestWayland : public QObject {
    Q_OBJECT

private slots:
    void skinnedWindowShowsWithoutWarnings()
    {
        QTest::failOnWarning(QRegularExpression(QStringLiteral(".")));
        testsupport::TempHome home;
        AppDelegate delegate;
        QVERIFY(delegate.config()->isFloating()); // on top is asked for
        delegate.setupWindow();
        ContentView* window = delegate.playerWindow();
        QVERIFY(QTest::qWaitForWindowExposed(window));
        QCOMPARE(QGuiApplication::platformName(), QStringLiteral("wayland"));
        const Config* config = delegate.config();
        QCOMPARE(window->size(), QSize(qRound(config->playerWidth()), qRound(config->playerHeight())));
        // a drag on the album art is the compositor's move; a move snaps nothing there
        const QPoint art = config->trackArtPos().toPoint();
        QTest::mousePress(window, Qt::LeftButton, {}, art);
        QTest::mouseRelease(window, Qt::LeftButton, {}, art);
        QVERIFY(!delegate.snapDelegate()->windowDidMove(window));
        // the tray, the bus and the sticky request come after the first frame; a raise is
        // up to the compositor and warns of nothing
        QTRY_VERIFY(delegate.mpris());
        delegate.raisePlayer();
    }
};

// weston on a runtime directory of its own, for as long as the test runs
int main(int argc, char* argv[])
{
    QTemporaryDir runtime;
    const QString log = runtime.filePath(QStringLiteral("weston.log"));
    QProcess weston;
    weston.setProcessChannelMode(QProcess::MergedChannels);
    weston.setStandardOutputFile(log);
    qputenv("XDG_RUNTIME_DIR", QFile::encodeName(runtime.path()));
    weston.start(QStringLiteral("weston"), {"--backend=headless-backend.so", "--use-pixman", "--socket=lindenfold-test",
                                            "--idle-time=0", "--no-config", "--width=800", "--height=600"});
    const QString socket = runtime.filePath(QStringLiteral("lindenfold-test"));
    for (int i = 0; i < 200 && weston.state() != QProcess::NotRunning && !QFile::exists(socket); ++i)
        weston.waitForFinished(50);
    if (!QFile::exists(socket)) {
        std::fprintf(stderr, "weston did not start\n%s", testsupport::readFile(log).constData());
        return 1;
    }
    qputenv("WAYLAND_DISPLAY", "lindenfold-test");
    qputenv("QT_QPA_PLATFORM", "wayland");
    int result = 0;
    {
        QApplication app(argc, argv);
        TestWayland test;
        result = QTest::qExec(&test, argc, argv);
    }
    weston.terminate();
    weston.waitForFinished(5000);
    return result;
}

#include "tst_wayland.moc"
