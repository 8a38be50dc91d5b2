#include "app/appdelegate.h"

#include "app/fileopener.h"
#include "app/skindrop.h"
#include "app/windowsnapdelegate.h"
#include "desktop/mpris.h"
#include "desktop/notifier.h"
#include "control/session.h"
#include "model/config.h"
#include "core/output.h"
#include "playback/audioplayer.h"
#include "playback/playbin.h"
#include "ui/player/contentview.h"
#include "control/playercontroller.h"
#include "ui/player/playermenu.h"
#include "ui/player/skinaccessible.h"
#include "ui/settings/settingsview.h"

#include <QApplication>
#include <QGuiApplication>
#include <QPixmap>
#include <QSystemTrayIcon>
#include <QTimer>
#include <QVBoxLayout>
#include <QWidget>

#include <QtGui/qguiapplication_platform.h>
#include <xcb/xcb.h>

AppDelegate::AppDelegate(QObject* parent)
    : QObject(parent), m_config(new Config(this)), m_audioPlayer(new AudioPlayer(this)),
      m_snapDelegate(new WindowSnapDelegate(this))
{
}

AppDelegate::~AppDelegate()
{
    // the windows read the shared objects until they are gone
    delete m_settingsWindow;
    delete m_window;
}

void AppDelegate::setupWindow()
{
    if (m_window)
        return;
    m_controller = new PlayerController(m_config, m_audioPlayer, this);
    connect(m_controller, &PlayerController::settingsRequested, this, &AppDelegate::showSettings);
    m_opener = new FileOpener(m_controller, this);
    new Notifier(m_controller, this);
    m_session = new Session(m_controller, this);
    m_session->restore();

    installSkinAccessibility();
    m_window = new ContentView(m_config, m_audioPlayer, m_controller);
    m_window->setWindowTitle(QStringLiteral("Lindenfold"));
    Qt::WindowFlags flags = Qt::Window | Qt::FramelessWindowHint;
    // read once: a later change of isFloating reaches the window at the next start
    if (m_config->isFloating())
        flags |= Qt::WindowStaysOnTopHint;
    m_window->setWindowFlags(flags);

    m_menu = new PlayerMenu(m_controller, m_audioPlayer, true, m_window);
    m_window->setPlayerMenu(m_menu);
    m_window->addActions(m_menu->shortcutActions());
    m_snapDelegate->attach(m_window);
    new SkinDrop(m_window, m_opener);
    m_window->show();
    playback::initialiseInBackground();

    // well after the first frame: the tray check talks to the session bus and must not
    // delay it
    QTimer::singleShot(250, this, [this] {
        if (m_config->isFloating())
            makeSticky();
        addTrayIcon();
        startMpris();
    });
}

void AppDelegate::showSettings()
{
    if (!m_settingsWindow) {
        m_settingsWindow = new QWidget(nullptr, Qt::Window);
        m_settingsWindow->setWindowTitle(tr("Settings"));
        auto* layout = new QVBoxLayout(m_settingsWindow);
        layout->setContentsMargins(0, 0, 0, 0);
        layout->addWidget(new SettingsView(m_config, m_settingsWindow));
        m_settingsWindow->setMinimumWidth(640);
        m_settingsWindow->resize(640, 640);
    }
    m_settingsWindow->show();
    m_settingsWindow->raise();
    m_settingsWindow->activateWindow();
}

void AppDelegate::raisePlayer()
{
    if (!m_window)
        return;
    m_window->show();
    m_window->raise();
    m_window->activateWindow();
}

void AppDelegate::openFiles(const QStringList& arguments)
{
    if (!m_opener || arguments.isEmpty())
        return;
    m_opener->open(arguments, [](const QStringList& skipped) {
        for (const QString& line : skipped)
            printLine(line);
    });
}

// On all desktops, as the window manager's _NET_WM_STATE_STICKY asks; without an X11
// connection (Wayland, offscreen) there is no such notion and nothing is done.
void AppDelegate::makeSticky()
{
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    if (!x11 || !x11->connection() || !m_window->windowHandle())
        return;
    xcb_connection_t* connection = x11->connection();
    const auto atom = [connection](const char* name) {
        const xcb_intern_atom_cookie_t cookie =
            xcb_intern_atom(connection, 0, uint16_t(strlen(name)), name);
        xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(connection, cookie, nullptr);
        const xcb_atom_t result = reply ? reply->atom : XCB_ATOM_NONE;
        free(reply);
        return result;
    };
    const xcb_atom_t state = atom("_NET_WM_STATE");
    const xcb_atom_t sticky = atom("_NET_WM_STATE_STICKY");
    if (state == XCB_ATOM_NONE || sticky == XCB_ATOM_NONE)
        return;
    const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(connection)).data;
    xcb_client_message_event_t message = {};
    message.response_type = XCB_CLIENT_MESSAGE;
    message.format = 32;
    message.window = xcb_window_t(m_window->winId());
    message.type = state;
    message.data.data32[0] = 1; // _NET_WM_STATE_ADD
    message.data.data32[1] = sticky;
    message.data.data32[3] = 1; // from a normal application
    xcb_send_event(connection, 0, screen->root,
                   XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                   reinterpret_cast<const char*>(&message));
    xcb_flush(connection);
}

void AppDelegate::addTrayIcon()
{
    if (m_tray || !QSystemTrayIcon::isSystemTrayAvailable())
        return;
    m_tray = new QSystemTrayIcon(QApplication::windowIcon(), this);
    m_tray->setToolTip(QStringLiteral("Lindenfold"));
    m_tray->setContextMenu(m_menu);
    m_tray->show();
}

void AppDelegate::startMpris()
{
    if (m_mpris)
        return;
    m_mpris = new MprisService(m_controller, m_audioPlayer, this);
    m_mpris->raiseHandler = [this] { raisePlayer(); };
    m_mpris->quitHandler = [] { QApplication::quit(); };
    m_mpris->openHandler = [this](const QStringList& arguments,
                                  const MprisService::OpenDone& done) {
        m_opener->open(arguments, done);
    };
    m_mpris->registerOnSessionBus();
}
