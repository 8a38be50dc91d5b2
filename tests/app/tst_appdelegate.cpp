// Start-up on an X server: the player window's style and edge snapping, on top read once at
// the start, the one settings window, and the whole interface in German.
#include "app/appdelegate.h"
#include "app/translations.h"
#include "control/playercontroller.h"
#include "model/config.h"
#include "support/testsupport.h"
#include "ui/player/contentview.h"
#include "ui/player/playermenu.h"

#include <QAccessible>
#include <QScreen>
#include <QTabWidget>
#include <QtTest>

namespace {

void addTexts(QAccessibleInterface* element, QStringList* texts)
{
    *texts << element->text(QAccessible::Name) << element->text(QAccessible::Description);
    for (int i = 0; i < element->childCount(); ++i)
        addTexts(element->child(i), texts);
}

} // namespace

class TestAppDelegate final : public QObject {
    Q_OBJECT

private slots:
    void playerAndSettingsWindows()
    {
        testsupport::TempHome home;
        AppDelegate delegate;
        delegate.setupWindow();
        ContentView* window = delegate.playerWindow();
        QVERIFY(QTest::qWaitForWindowExposed(window));
        // frameless, of the theme's size, with the Player menu's shortcuts; the right-click
        // menu ends with Settings... and Quit
        QVERIFY(window->windowFlags() & Qt::FramelessWindowHint);
        QCOMPARE(window->minimumSize(), QSize(269, 96));
        QCOMPARE(window->maximumSize(), QSize(269, 96));
        QVERIFY(!window->actions().isEmpty());
        const QList<QAction*> actions = delegate.playerMenu()->actions();
        QCOMPARE(actions.at(actions.size() - 2)->text(), "Settings...");
        QCOMPARE(actions.last()->text(), "Quit");
        // the sticky request, the tray and the bus come after the first frame
        QTRY_VERIFY(delegate.mpris());

        // a move near the left edge snaps to it; one far from the edges stays
        const int left = window->screen()->availableGeometry().left();
        window->move(left + 7, 300);
        QTRY_COMPARE(window->frameGeometry().topLeft(), QPoint(left, 300));
        window->move(400, 300);
        QTest::qWait(200);
        QCOMPARE(window->pos(), QPoint(400, 300));

        // one settings window, 640 wide at least, opened again where it was
        QVERIFY(!delegate.settingsWindow());
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

    // a change of the floating setting reaches the window at the next start
    void onTopIsReadOnceAtStart()
    {
        for (const bool floating : {true, false}) {
            testsupport::TempHome home;
            {
                Config config;
                config.setIsFloating(floating);
                config.saveSettings();
            }
            AppDelegate delegate;
            delegate.setupWindow();
            const auto onTop = [&] { return bool(delegate.playerWindow()->windowFlags() & Qt::WindowStaysOnTopHint); };
            QCOMPARE(onTop(), floating);
            delegate.config()->setIsFloating(!floating);
            QCOMPARE(onTop(), floating);
        }
    }

    // The German translation is complete: every text of the windows and menus, as the
    // accessibility tree shows them, is German, while the data directory keeps its names.
    void everythingShowsInGerman()
    {
        installTranslations(QLocale(QLocale::German, QLocale::Germany));
        testsupport::TempHome home;
        AppDelegate delegate;
        delegate.config()->setPlaysSounds(false);
        delegate.setupWindow();
        delegate.showSettings();
        QStringList texts;
        // each settings tab fills its page as it comes into view
        auto* tabs = delegate.settingsWindow()->findChild<QTabWidget*>();
        for (int i = 0; i < tabs->count(); ++i) {
            tabs->setCurrentIndex(i);
            QCoreApplication::processEvents();
            addTexts(QAccessible::queryAccessibleInterface(delegate.settingsWindow()), &texts);
        }
        ContentView* player = delegate.playerWindow();
        for (QObject* object : std::initializer_list<QObject*>{player, delegate.playerMenu(), player->playlistMenu(),
                                                              player->trackMenu()})
            addTexts(QAccessible::queryAccessibleInterface(object), &texts);
        installTranslations(QLocale(QLocale::English));

        for (const char* german : {"Einstellungen", "Allgemein", "Klänge abspielen", "Titel hinzufügen …",
                                   "Titel wiederholen", "Wiedergabelisten bearbeiten", "Nächster Titel"})
            QVERIFY2(texts.contains(QString::fromUtf8(german)), german);
        // English texts whose German differs
        for (const char* english :
             {"Settings", "General", "Playlists", "Theme", "Play sounds", "Large-sized", "Floating window",
              "Loop tracks", "Shuffle tracks", "Edit playlists", "Add tracks...", "Delete playlist...",
              "Artist", "Play", "Volume Up", "Volume Down", "Tracks", "Settings...", "Quit", "Close",
              "Minimise", "Previous track", "Next track", "Album art", "New playlist", "Untitled"})
            QVERIFY2(!texts.contains(english), english);
        // the first playlist is named in the user's language, the data directory is not
        QCOMPARE(delegate.config()->playlists().first().name, "Unbenannt");
        QVERIFY(QFileInfo(home.dataDir() + "/Playlists").isDir());
        QVERIFY(QFileInfo(home.dataDir() + "/Themes").isDir());
    }
};

QTEST_MAIN(TestAppDelegate)
#include "tst_appdelegate.moc"
