#pragma once

#include <QObject>

class AudioPlayer;
class MprisService;
class Config;
class ContentView;
class FileOpener;
class PlayerController;
class PlayerMenu;
class QSystemTrayIcon;
class Session;
class QWidget;
class WindowSnapDelegate;

// Creates and owns, for the whole run, the one Config, AudioPlayer and WindowSnapDelegate
// (in that order), the player window over them and, once asked for, the settings window.
class AppDelegate final : public QObject {
    Q_OBJECT

public:
    explicit AppDelegate(QObject* parent = nullptr);
    ~AppDelegate() override;
    Q_DISABLE_COPY_MOVE(AppDelegate)

    Config* config() const { return m_config; }
    AudioPlayer* audioPlayer() const { return m_audioPlayer; }
    WindowSnapDelegate* snapDelegate() const { return m_snapDelegate; }
    PlayerController* playerController() const { return m_controller; }
    ContentView* playerWindow() const { return m_window; }
    PlayerMenu* playerMenu() const { return m_menu; }
    // Null until the session bus was asked, shortly after the first frame.
    MprisService* mpris() const { return m_mpris; }
    // Null until the settings window was first shown.
    QWidget* settingsWindow() const { return m_settingsWindow; }

    // Builds, styles and shows the player window.
    void setupWindow();
    // Shows the one settings window, creating it on first use, or brings it to the front.
    void showSettings();
    // Shows the player window and brings it to the front.
    void raisePlayer();
    // Files of the command line: added to the current playlist, the first plays; what is
    // skipped is printed.
    void openFiles(const QStringList& arguments);
    FileOpener* fileOpener() const { return m_opener; }

private:
    void makeSticky();
    void addTrayIcon();
    void startMpris();

    Config* m_config = nullptr;
    AudioPlayer* m_audioPlayer = nullptr;
    WindowSnapDelegate* m_snapDelegate = nullptr;
    PlayerController* m_controller = nullptr;
    ContentView* m_window = nullptr;
    PlayerMenu* m_menu = nullptr;
    QWidget* m_settingsWindow = nullptr;
    QSystemTrayIcon* m_tray = nullptr;
    MprisService* m_mpris = nullptr;
    FileOpener* m_opener = nullptr;
    Session* m_session = nullptr;
};
