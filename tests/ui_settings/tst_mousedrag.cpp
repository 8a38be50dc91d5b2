#include "settingstest.h"
#include "ui/settings/playlistsettingsview.h"
#include "ui/settings/tracktablemodel.h"
#include "ui/settings/tracktableview.h"

#include <QSignalSpy>
#include <QtTest>

using settingstest::namesOf;
using settingstest::storedTracks;
using settingstest::tracksNamed;

// Reordering with the mouse through the display's own drag loop (X11 under Xvfb).
class TestMouseDrag : public QObject {
    Q_OBJECT

    std::unique_ptr<testsupport::TempHome> m_home;
    std::unique_ptr<Config> m_config;
    std::unique_ptr<PlaylistSettingsView> m_view;

    QPoint rowCentre(int row) const
    {
        const QRect cell = m_view->trackTable()->visualRect(
            m_view->trackModel()->index(row, TrackTableModel::NameColumn));
        return m_view->trackTable()->viewport()->mapTo(m_view.get(), cell.center());
    }

private slots:
    void init()
    {
        m_home = std::make_unique<testsupport::TempHome>();
        m_config = std::make_unique<Config>();
        m_config->setPlaysSounds(false);
        m_view = std::make_unique<PlaylistSettingsView>(m_config.get());
        m_view->resize(640, 480);
        m_view->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_view.get()));
        m_config->savePlaylist(*m_view->effectivePlaylistID(), tracksNamed({"A", "B", "C", "D"}));
        m_view->reloadTracks();
    }
    void cleanup()
    {
        m_view.reset();
        m_config.reset();
        m_home.reset();
    }

    void dragFirstRowToTheLast()
    {
        QWindow* window = m_view->windowHandle();
        QSignalSpy written(m_config.get(), &Config::playlistSaved);
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
        QCOMPARE(namesOf(m_view->selectedTracks()), (QStringList{"B", "C", "D", "A"}));
        QCOMPARE(namesOf(storedTracks(*m_config, *m_view->effectivePlaylistID())),
                 (QStringList{"B", "C", "D", "A"}));
    }
};

QTEST_MAIN(TestMouseDrag)
#include "tst_mousedrag.moc"
