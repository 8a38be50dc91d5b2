#include "app/windowsnapdelegate.h"

#include <QtTest>

// Snapping as a function of the window's frame and the screen's usable area (y downwards).
class TestWindowSnap final : public QObject {
    Q_OBJECT

private slots:
    void snappedOrigin()
    {
        const QRectF screen(0, 30, 1280, 730); // a panel above, a dock below
        const QPointF stays(-1, -1);
        const struct {
            const char* name;
            QRectF frame, available;
            QPointF origin;
        } cases[] = {
            {"exactly 10 right of the left edge", {10, 300, 269, 96}, screen, {0, 300}},
            {"11 right of the left edge", {11, 300, 269, 96}, screen, stays},
            {"overhanging the left by 6", {-6, 300, 269, 96}, screen, {0, 300}},
            {"4 below the dock's top", {500, 668, 269, 96}, screen, {500, 664}},
            {"top-right corner", {1005, 35, 269, 96}, screen, {1011, 30}},
            {"left wins over right", {5, 300, 1270, 96}, {0, 0, 1280, 800}, {0, 300}},
            {"bottom wins over top", {300, 5, 269, 790}, {0, 0, 1280, 800}, {300, 10}},
            {"far from every edge", {400, 300, 269, 96}, screen, stays},
            {"second screen", {1288, 300, 269, 96}, {1280, 0, 1920, 1080}, {1280, 300}},
            {"already flush", {0, 664, 269, 96}, screen, {0, 664}},
        };
        for (const auto& c : cases)
            QVERIFY2(WindowSnapDelegate::snappedOrigin(c.frame, c.available).value_or(stays) == c.origin, c.name);
    }
};

QTEST_MAIN(TestWindowSnap)
#include "tst_windowsnap.moc"
