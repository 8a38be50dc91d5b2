// Start-up on an X server: the player window's style and edge snapping, on top read once at
// the start, the one settings window, and the whole interface in German. The menu's entries
// and the skin's size are tested on the views themselves (tst_contentview).
#include "app/appdelegate.h"
#include "app/translations.h"
#include "app/windowsnapdelegate.h"
#include "control/playercontroller.h"
#include "model/config.h"
#include "playback/audioplayer.h"
#include "support/audiotest.h"
#include "support/testsupport.h"
#include "ui/player/contentview.h"
#include "ui/player/playermenu.h"

#include <QtTest>
#include <QtWidgets>

namespace {

void addTexts(QAccessibleInterface* element, QStringList* texts)
{
    *texts << element->text(QAccessible::Name) << element->text(QAccessible::Description);
    for (int i = 0; i < element->childCount(); ++i)
        addTexts(element->child(i), texts);
}

// A drop of these files on the widget, as the X server's drag and drop hands it over.
bool drop(QWidget* widget, const QStringList& paths)
{
    QMimeData mime;
    QList<QUrl> urls;
    for (const QString& path : paths)
        urls << QUrl::fromLocalFile(path);
    mime.setUrls(urls);
    const QPointF at = widget->rect().center();
    QDragEnterEvent enter(at.toPoint(), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(widget, &enter);
    QDropEvent event(at, Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(widget, &event);
    return enter.isAccepted() && event.isAccepted();
}

} // namespace

class TestAppDelegate final : public QObject {
    Q_OBJECT

private slots:
    // Snapping as a function of the window's frame and the screen's usable area (y downwards).
    void snappedOrigin()
    {
        const QRectF screen(0, 30, 1280, 730),
            whole(0, 0, 1280, 800); // a panel above, a dock below
        const QPointF stays(-1, -1);
        using Case = std::tuple<const char*, QRectF, QRectF, QPointF>;
        for (const auto& [name, frame, available, origin] : std::initializer_list<Case>{
                 {"exactly 10 right of the left edge", {10, 300, 269, 96}, screen, {0, 300}},
                 {"11 right of the left edge", {11, 300, 269, 96}, screen, stays},
                 {"overhanging the left by 6", {-6, 300, 269, 96}, screen, {0, 300}},
                 {"4 below the dock's top", {500, 668, 269, 96}, screen, {500, 664}},
                 {"top-right corner", {1005, 35, 269, 96}, screen, {1011, 30}},
                 {"left wins over right", {5, 300, 1270, 96}, whole, {0, 300}},
                 {"bottom wins over top", {300, 5, 269, 790}, whole, {300, 10}},
                 {"second screen", {1288, 300, 269, 96}, {1280, 0, 1920, 1080}, {1280, 300}}})
            QVERIFY2(WindowSnapDelegate::snappedOrigin(frame, available).value_or(stays) == origin,
                     name);
    }

    // One start in German: the window frameless with the Player menu's shortcuts, on top as
    // fresh settings ask and read only at the start, snapping to the edges it is moved near,
    // one settings window. Every text of the windows and menus, as the accessibility tree shows
    // them, is German, while the data directory keeps its names.
    void playerAndSettingsWindowsInGerman()
    {
        installTranslations(QLocale(QLocale::German, QLocale::Germany));
        testsupport::TempHome home;
        QStringList texts;
        AppDelegate delegate;
        delegate.config()->setPlaysSounds(false);
        delegate.setupWindow();
        ContentView* window = delegate.playerWindow();
        QVERIFY(QTest::qWaitForWindowExposed(window));
        QVERIFY((window->windowFlags() & Qt::FramelessWindowHint) && !window->actions().isEmpty());
        delegate.config()->setIsFloating(false);
        delegate.config()->saveSettings();
        QVERIFY(window->windowFlags() & Qt::WindowStaysOnTopHint);
        // the sticky request, the tray and the bus come after the first frame
        QTRY_VERIFY(delegate.mpris());
        const int left = window->screen()->availableGeometry().left();
        window->move(left + 7, 300);
        QTRY_COMPARE(window->frameGeometry().topLeft(), QPoint(left, 300));

        delegate.playerController()->requestSettings();
        QWidget* settings = delegate.settingsWindow();
        QVERIFY(settings && settings->isVisible() && settings->size() == QSize(640, 640));
        settings->close();
        delegate.showSettings();
        QVERIFY(delegate.settingsWindow() == settings && settings->isVisible());
        // each settings tab fills its page as it comes into view
        auto* tabs = settings->findChild<QTabWidget*>();
        for (int i = 0; i < tabs->count(); ++i) {
            tabs->setCurrentIndex(i);
            QCoreApplication::processEvents();
            addTexts(QAccessible::queryAccessibleInterface(settings), &texts);
        }
        for (QObject* object : std::initializer_list<QObject*>{
                 window, delegate.playerMenu(), window->playlistMenu(), window->trackMenu()})
            addTexts(QAccessible::queryAccessibleInterface(object), &texts);
        // the first playlist is named in the user's language, the data directory is not
        QCOMPARE(delegate.config()->playlists().first().name, "Unbenannt");
        for (const char* german :
             {"Allgemein", "Klänge abspielen", "Titel hinzufügen …", "Nächster Titel"})
            QVERIFY2(texts.contains(QString::fromUtf8(german)), german);
        // English texts whose German differs
        for (const QString& english :
             QStringLiteral("Settings|General|Playlists|Theme|Play sounds|Large-sized|"
                            "Floating window|Loop tracks|Shuffle tracks|Edit playlists|"
                            "Add tracks...|Delete playlist...|Artist|Play|Volume Up|Volume Down|"
                            "Tracks|Settings...|Quit|Close|Minimise|Previous track|Next track|"
                            "Album art|New playlist|Untitled")
                 .split(u'|'))
            QVERIFY2(!texts.contains(english), qPrintable(english));
        QVERIFY(QFileInfo(home.dataDir() + "/Playlists").isDir() &&
                QFileInfo(home.dataDir() + "/Themes").isDir());

        // the stored choice not to float keeps the next start's window off the top
        AppDelegate next;
        next.setupWindow();
        QVERIFY(!(next.playerWindow()->windowFlags() & Qt::WindowStaysOnTopHint));
    }

    // A folder tree dropped on the player window comes in natural order, without hidden files,
    // the picture beside it or a second pass through a link to itself, and its first track
    // plays; a file and a list dropped meanwhile are added while that track plays on.
    void dropsOnTheSkin()
    {
        testsupport::TempHome home;
        const QDir music(home.path());
        for (const char* dir : {"album/CD 10", "album/CD 2", "album/.hidden"})
            QVERIFY(music.mkpath(dir));
        QVERIFY(QFile::link(music.filePath("album"), music.filePath("album/CD 3")));
        for (const char* name : {"album/10 Ten", "album/2 Two", "album/CD 10/1 A", "album/CD 2/1 B",
                                 "album/.hidden/x", "album/.x", "single"})
            QVERIFY(
                !audiotest::makeToneFile(
                     home.path(), name,
                     {{440}, 3, audiotest::Format::Wav, 0, true, true, QFileInfo(name).fileName()})
                     .isEmpty());
        QVERIFY(testsupport::writeFile(music.filePath("album/cover.jpg"), "not audio"));
        QVERIFY(testsupport::writeFile(music.filePath("list.m3u"), "single.wav\n"));
        AppDelegate delegate;
        delegate.config()->setPlaysSounds(false);
        delegate.setupWindow();
        QVERIFY(QTest::qWaitForWindowExposed(delegate.playerWindow()));
        const auto names = [&delegate] {
            QStringList names;
            for (const Track& track : delegate.config()->currentTracks())
                names << track.trackName;
            return names;
        };
        QVERIFY(drop(delegate.playerWindow(), {music.filePath("album")}));
        const QStringList album{"2 Two", "10 Ten", "1 B", "1 A"};
        QTRY_COMPARE(names(), album);
        QTRY_VERIFY(delegate.audioPlayer()->isPlaying());
        const QUrl playing = delegate.audioPlayer()->url();
        QVERIFY(playing.path().endsWith("2 Two.wav"));
        QVERIFY(drop(delegate.playerWindow(),
                     {music.filePath("single.wav"), music.filePath("list.m3u")}));
        QTRY_COMPARE(names(), album + QStringList({"single", "single"}));
        QVERIFY(delegate.audioPlayer()->isPlaying() && delegate.audioPlayer()->url() == playing);
        QCOMPARE(delegate.config()->currentTrackIndex(), 0);
    }
};

QTEST_MAIN(TestAppDelegate)
#include "tst_appdelegate.moc"
