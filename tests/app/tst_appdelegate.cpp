// Start-up on an X server: the player window's style and edge snapping, on top read once at
// the start, the one settings window, and the whole interface in German. The menu's entries
// and the skin's size are tested on the views themselves (tst_contentview).
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

bool onTop(QWidget* window)
{
    return window->windowFlags() & Qt::WindowStaysOnTopHint;
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
        // frameless, with the Player menu's shortcuts, on top as the fresh settings ask; a
        // change of that setting reaches the window only at the next start
        QVERIFY((window->windowFlags() & Qt::FramelessWindowHint) && !window->actions().isEmpty());
        QVERIFY(onTop(window));
        delegate.config()->setIsFloating(false);
        QVERIFY(onTop(window));
        // the sticky request, the tray and the bus come after the first frame
        QTRY_VERIFY(delegate.mpris());

        // a move near the left edge snaps to it (where a move snaps: tst_windowsnap)
        const int left = window->screen()->availableGeometry().left();
        window->move(left + 7, 300);
        QTRY_COMPARE(window->frameGeometry().topLeft(), QPoint(left, 300));

        // one settings window, opened again where it was
        delegate.playerController()->requestSettings();
        QWidget* settings = delegate.settingsWindow();
        QVERIFY(settings && settings->isVisible());
        QCOMPARE(settings->size(), QSize(640, 640));
        settings->close();
        delegate.showSettings();
        QCOMPARE(delegate.settingsWindow(), settings);
        QVERIFY(settings->isVisible());
    }

    // The German translation is complete: every text of the windows and menus, as the
    // accessibility tree shows them, is German, while the data directory keeps its names. The
    // stored choice not to float keeps the window off the top.
    void everythingShowsInGerman()
    {
        installTranslations(QLocale(QLocale::German, QLocale::Germany));
        testsupport::TempHome home;
        {
            Config config;
            config.setIsFloating(false);
            config.saveSettings();
        }
        AppDelegate delegate;
        delegate.config()->setPlaysSounds(false);
        delegate.setupWindow();
        QVERIFY(!onTop(delegate.playerWindow()));
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
              "Loop tracks", "Shuffle tracks", "Edit playlists", "Add tracks...", "Delete playlist...", "Artist",
              "Play", "Volume Up", "Volume Down", "Tracks", "Settings...", "Quit", "Close", "Minimise",
              "Previous track", "Next track", "Album art", "New playlist", "Untitled"})
            QVERIFY2(!texts.contains(english), english);
        // the first playlist is named in the user's language, the data directory is not
        QCOMPARE(delegate.config()->playlists().first().name, "Unbenannt");
        QVERIFY(QFileInfo(home.dataDir() + "/Playlists").isDir() && QFileInfo(home.dataDir() + "/Themes").isDir());
    }
};

QTEST_MAIN(TestAppDelegate)
#include "tst_appdelegate.moc"
