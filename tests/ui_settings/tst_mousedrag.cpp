#include "settingstest.h"

using namespace settingstest;

// Reordering with the mouse through the display's own drag loop (X11 under Xvfb).
class TestMouseDrag : public QObject {
    Q_OBJECT

private slots:
    void dragFirstRowToTheLast()
    {
        Editor e;
        QVERIFY(e.open());
        e.fill({"A", "B", "C", "D"});
        QWindow* window = e.view->windowHandle();
        const auto rowCentre = [&](int row) {
            return e.view->trackTable()->viewport()->mapTo(
                e.view.get(),
                e.view->trackTable()
                    ->visualRect(e.view->trackModel()->index(row, TrackTableModel::NameColumn))
                    .center());
        };
        QSignalSpy written(&e.config, &Config::playlistSaved);
        // the drag loop starts inside the move below; these steps run from within it
        QTimer::singleShot(100, window, [&] {
            for (int row : {1, 2, 3}) {
                QTest::mouseMove(window, rowCentre(row));
                QTest::qWait(50);
            }
            QTest::mouseRelease(window, Qt::LeftButton, {}, rowCentre(3));
        });
        QTest::mousePress(window, Qt::LeftButton, {}, rowCentre(0));
        QTest::mouseMove(window, rowCentre(0) + QPoint(0, QApplication::startDragDistance() + 2));
        QTRY_COMPARE(written.count(), 1);
        QCOMPARE(e.rows(), (QStringList{"B", "C", "D", "A"}));
        QCOMPARE(e.storedNames(e.shown()), (QStringList{"B", "C", "D", "A"}));
    }
};

QTEST_MAIN(TestMouseDrag)
#include "tst_mousedrag.moc"
