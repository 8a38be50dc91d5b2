// The player under a Wayland compositor (weston's headless backend, started here): the skinned
// window shows, and what only X11 offers (snapping, sticky, on-top) neither warns nor fails.
#include "app/appdelegate.h"
#include "app/windowsnapdelegate.h"
#include "model/config.h"
#include "support/testsupport.h"
#include "ui/player/contentview.h"

#include <QApplication>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

namespace {

// weston for as long as the test runs, on a runtime directory of its own
class Weston {
public:
    bool start()
    {
        if (!m_runtime.isValid())
            return false;
        m_process.setProcessChannelMode(QProcess::MergedChannels);
        m_process.setStandardOutputFile(m_runtime.filePath(QStringLiteral("weston.log")));
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("XDG_RUNTIME_DIR"), m_runtime.path());
        m_process.setProcessEnvironment(env);
        m_process.start(QStringLiteral("weston"),
                        {"--backend=headless-backend.so", "--use-pixman", "--socket=lindenfold-test",
                         "--idle-time=0", "--no-config", "--width=800", "--height=600"});
        if (!m_process.waitForStarted(10000))
            return false;
        const QString socket = m_runtime.filePath(QStringLiteral("lindenfold-test"));
        for (int i = 0; i < 200 && !QFile::exists(socket); ++i)
            m_process.waitForFinished(50);
        if (!QFile::exists(socket)) {
            std::fputs(testsupport::readFile(m_runtime.filePath(QStringLiteral("weston.log"))).constData(), stderr);
            return false;
        }
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(m_runtime.path()));
        qputenv("WAYLAND_DISPLAY", "lindenfold-test");
        qputenv("QT_QPA_PLATFORM", "wayland");
        return true;
    }

    ~Weston()
    {
        m_process.terminate();
        m_process.waitForFinished(5000);
    }

private:
    QTemporaryDir m_runtime;
    QProcess m_process;
};

} // namespace

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
        QCOMPARE(window->size(), QSize(qRound(delegate.config()->playerWidth()),
                                       qRound(delegate.config()->playerHeight())));
        // a drag on the album art is the compositor's move; a move snaps nothing there
        QTest::mousePress(window, Qt::LeftButton, {}, delegate.config()->trackArtPos().toPoint());
        QTest::mouseRelease(window, Qt::LeftButton, {}, delegate.config()->trackArtPos().toPoint());
        QVERIFY(!delegate.snapDelegate()->windowDidMove(window));
        // the tray, the bus and the sticky request come after the first frame
        QTest::qWait(600);
        delegate.raisePlayer();
        QVERIFY(window->isVisible());
    }
};

int main(int argc, char* argv[])
{
    Weston weston;
    if (!weston.start()) {
        std::fputs("weston did not start\n", stderr);
        return 1;
    }
    QApplication app(argc, argv);
    TestWayland test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_wayland.moc"
