#include "app/windowsnapdelegate.h"

#include <QtTest>

// Snapping as a function of the window's frame and the screen's usable area (y downwards).
class TestWindowSnap final : public QObject {
    Q_OBJECT

private slots:
    void snappedOrigin_data()
    {
        QTest::addColumn<QRectF>("frame");
        QTest::addColumn<QRectF>("available");
        QTest::addColumn<bool>("snaps");
        QTest::addColumn<QPointF>("origin");
        const QRectF screen(0, 30, 1280, 730); // a panel above, a dock below
        QTest::newRow("7 right of the left edge") << QRectF(7, 300, 269, 96) << screen << true << QPointF(0, 300);
        QTest::newRow("11 right of the left edge") << QRectF(11, 300, 269, 96) << screen << false << QPointF();
        QTest::newRow("exactly 10 snaps") << QRectF(10, 300, 269, 96) << screen << true << QPointF(0, 300);
        QTest::newRow("overhanging the left by 6") << QRectF(-6, 300, 269, 96) << screen << true << QPointF(0, 300);
        QTest::newRow("4 below the dock's top") << QRectF(500, 668, 269, 96) << screen << true << QPointF(500, 664);
        QTest::newRow("near the top") << QRectF(500, 38, 269, 96) << screen << true << QPointF(500, 30);
        QTest::newRow("top-right corner") << QRectF(1005, 35, 269, 96) << screen << true << QPointF(1011, 30);
        QTest::newRow("left wins over right") << QRectF(5, 300, 1270, 96) << QRectF(0, 0, 1280, 800) << true << QPointF(0, 300);
        QTest::newRow("bottom wins over top") << QRectF(300, 5, 269, 790) << QRectF(0, 0, 1280, 800) << true << QPointF(300, 10);
        QTest::newRow("far from every edge") << QRectF(400, 300, 269, 96) << screen << false << QPointF();
        QTest::newRow("second screen") << QRectF(1288, 300, 269, 96) << QRectF(1280, 0, 1920, 1080) << true << QPointF(1280, 300);
        QTest::newRow("already flush") << QRectF(0, 664, 269, 96) << screen << true << QPointF(0, 664);
    }
    void snappedOrigin()
    {
        QFETCH(QRectF, frame);
        QFETCH(QRectF, available);
        QFETCH(bool, snaps);
        QFETCH(QPointF, origin);
        const auto result = WindowSnapDelegate::snappedOrigin(frame, available);
        QCOMPARE(result.has_value(), snaps);
        if (snaps)
            QCOMPARE(*result, origin);
    }
};

QTEST_MAIN(TestWindowSnap)
#include "tst_windowsnap.moc"
