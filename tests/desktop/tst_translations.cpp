// The German translation is complete: with a German locale every interface text of the
// settings window, the menus and the skin's accessible names shows in German.
#include "app/translations.h"
#include "model/config.h"
#include "playback/audioplayer.h"
#include "support/testsupport.h"
#include "ui/player/contentview.h"
#include "control/playercontroller.h"
#include "ui/player/playermenu.h"
#include "ui/player/skinaccessible.h"
#include "ui/settings/settingsview.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QCheckBox>
#include <QHeaderView>
#include <QLabel>
#include <QTabWidget>
#include <QTableView>
#include <QtTest>

namespace {

// English texts whose German differs: none of them may show.
const QStringList kEnglish = {
    "Settings", "General", "Playlists", "Theme", "Play sounds", "Large-sized", "Floating window",
    "Loop tracks", "Shuffle tracks", "Edit playlists", "Add tracks...", "Delete playlist...",
    "Are you sure?", "Artist", "Play", "Volume Up", "Volume Down", "Tracks", "Settings...", "Quit",
    "Close", "Minimise", "Previous track", "Next track", "Album art", "New playlist", "Untitled"};

void collectMenu(const QMenu* menu, QStringList* texts)
{
    texts->append(menu->title());
    for (const QAction* action : menu->actions()) {
        texts->append(action->text());
        if (action->menu())
            collectMenu(action->menu(), texts);
    }
}

QStringList visibleTexts(const QWidget* root)
{
    QStringList texts;
    for (const auto* button : root->findChildren<QAbstractButton*>())
        texts << button->text() << button->toolTip();
    for (const auto* label : root->findChildren<QLabel*>())
        texts << label->text();
    for (const auto* tabs : root->findChildren<QTabWidget*>())
        for (int i = 0; i < tabs->count(); ++i)
            texts << tabs->tabText(i);
    for (const auto* table : root->findChildren<QTableView*>())
        for (int c = 0; c < table->model()->columnCount(); ++c)
            texts << table->model()->headerData(c, Qt::Horizontal).toString();
    texts << root->windowTitle();
    texts.removeAll(QString());
    return texts;
}

} // namespace

class TestTranslations : public QObject {
    Q_OBJECT

    std::unique_ptr<testsupport::TempHome> m_home;

private slots:
    void initTestCase()
    {
        installTranslations(QLocale(QLocale::German, QLocale::Germany));
        m_home = std::make_unique<testsupport::TempHome>();
    }
    void cleanupTestCase()
    {
        installTranslations(QLocale(QLocale::English));
        m_home.reset();
    }

    void settingsWindowIsGerman()
    {
        Config config;
        config.setPlaysSounds(false);
        SettingsView view(&config);
        view.show();
        QVERIFY(QTest::qWaitForWindowExposed(&view));
        auto* tabs = view.findChild<QTabWidget*>();
        QVERIFY(tabs);
        QCOMPARE(tabs->tabText(0), "Allgemein");
        QCOMPARE(tabs->tabText(1), "Wiedergabelisten");
        QStringList texts;
        for (int i = 0; i < tabs->count(); ++i) {
            tabs->setCurrentIndex(i);
            QCoreApplication::processEvents();
            texts << visibleTexts(&view);
        }
        QVERIFY(texts.contains("Klänge abspielen"));
        QVERIFY(texts.contains("Titel hinzufügen …"));
        for (const QString& english : kEnglish)
            QVERIFY2(!texts.contains(english), qPrintable(english));
        // the data directory keeps its names whatever the language
        QVERIFY(QFileInfo(m_home->dataDir() + "/Playlists").isDir());
        QVERIFY(QFileInfo(m_home->dataDir() + "/Themes").isDir());
        QCOMPARE(config.playlists().first().name, "Unbenannt");
    }

    void menusAndSkinAreGerman()
    {
        Config config;
        AudioPlayer audioPlayer;
        PlayerController controller(&config, &audioPlayer);
        installSkinAccessibility();
        ContentView view(&config, &audioPlayer, &controller);
        PlayerMenu menu(&controller, &audioPlayer, true);
        QStringList texts;
        collectMenu(&menu, &texts);
        collectMenu(view.playlistMenu(), &texts);
        collectMenu(view.trackMenu(), &texts);
        QVERIFY(texts.contains("Wiedergabe"));
        QVERIFY(texts.contains("Titel wiederholen"));
        QVERIFY(texts.contains("Wiedergabelisten bearbeiten"));

        QAccessibleInterface* skin = QAccessible::queryAccessibleInterface(&view);
        QVERIFY(skin);
        for (int i = 0; i < skin->childCount(); ++i)
            texts << skin->child(i)->text(QAccessible::Name);
        QVERIFY(texts.contains("Nächster Titel"));
        for (const QString& english : kEnglish)
            QVERIFY2(!texts.contains(english), qPrintable(english));
    }
};

QTEST_MAIN(TestTranslations)
#include "tst_translations.moc"
