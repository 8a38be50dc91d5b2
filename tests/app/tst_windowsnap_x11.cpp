#include "app/windowsnapdelegate.h"

#include <QScreen>
#include <QSignalSpy>
#include <QWidget>
#include <QtTest>

// One real move of a frameless window on an X server.
class TestWindowSnapX11 final : public QObject {
    Q_OBJECT

private slots:
    void aMoveNearTheLeftEdgeSnaps()
    {
        QWidget window(nullptr, Qt::Window | Qt::FramelessWindowHint);
        window.setFixedSize(269, 96);
        WindowSnapDelegate snap;
        snap.attach(&window);
        window.move(300, 300);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        const QRect available = window.screen()->availableGeometry();
        window.move(available.left() + 7, 300);
        QTRY_COMPARE(window.frameGeometry().topLeft(), QPoint(available.left(), 300));
        // a move far from the edges stays where it was put
        window.move(400, 300);
        QTRY_COMPARE(window.pos(), QPoint(400, 300));
        QTest::qWait(200);
        QCOMPARE(window.pos(), QPoint(400, 300));
    }
};

QTEST_MAIN(TestWindowSnapX11)
#include "tst_windowsnap_x11.moc"
