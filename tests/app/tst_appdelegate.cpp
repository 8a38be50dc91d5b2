#include "app/appdelegate.h"
#include "model/config.h"
#include "support/testsupport.h"
#include "ui/player/contentview.h"
#include "control/playercontroller.h"
#include "ui/player/playermenu.h"

#include <QtTest>

using testsupport::TempHome;

// Start-up: the objects, the player window's style and the one settings window.
class TestAppDelegate final : public QObject {
    Q_OBJECT

    std::unique_ptr<TempHome> m_home;

private slots:
    void init() { m_home = std::make_unique<TempHome>(); }
    void cleanup() { m_home.reset(); }

    void playerWindowIsFramelessAndFixed()
    {
        AppDelegate delegate;
        QVERIFY(delegate.config() && delegate.audioPlayer() && delegate.snapDelegate());
        QVERIFY(!delegate.playerWindow());
        delegate.setupWindow();
        ContentView* window = delegate.playerWindow();
        QVERIFY(window && window->isWindow() && window->isVisible());
        QVERIFY(window->windowFlags() & Qt::FramelessWindowHint);
        QCOMPARE(window->minimumSize(), QSize(269, 96));
        QCOMPARE(window->maximumSize(), QSize(269, 96));
        QVERIFY(!window->actions().isEmpty());
        QVERIFY(!delegate.settingsWindow());
    }

    void floatingIsReadOnceAtStart_data()
    {
        QTest::addColumn<bool>("floating");
        QTest::newRow("floating") << true;
        QTest::newRow("normal") << false;
    }
    void floatingIsReadOnceAtStart()
    {
        QFETCH(bool, floating);
        {
            Config config;
            config.setIsFloating(floating);
            config.saveSettings();
        }
        AppDelegate delegate;
        delegate.setupWindow();
        const auto onTop = [&] {
            return bool(delegate.playerWindow()->windowFlags() & Qt::WindowStaysOnTopHint);
        };
        QCOMPARE(onTop(), floating);
        delegate.config()->setIsFloating(!floating);
        QCOMPARE(onTop(), floating);
    }

    void oneSettingsWindow()
    {
        AppDelegate delegate;
        delegate.setupWindow();
        delegate.playerController()->requestSettings();
        QWidget* settings = delegate.settingsWindow();
        QVERIFY(settings && settings->isVisible());
        QCOMPARE(settings->size(), QSize(640, 640));
        QCOMPARE(settings->minimumWidth(), 640);
        QVERIFY(settings->maximumWidth() > 10000);
        settings->close();
        delegate.showSettings();
        QCOMPARE(delegate.settingsWindow(), settings);
        QVERIFY(settings->isVisible());
    }

    void rightClickMenuEndsWithSettingsAndQuit()
    {
        AppDelegate delegate;
        delegate.setupWindow();
        const QList<QAction*> actions = delegate.playerMenu()->actions();
        QCOMPARE(actions.at(actions.size() - 2)->text(), QStringLiteral("Settings..."));
        QCOMPARE(actions.last()->text(), QStringLiteral("Quit"));
    }
};

QTEST_MAIN(TestAppDelegate)
#include "tst_appdelegate.moc"
