#pragma once

#include <QWidget>

class Config;
class GeneralSettingsView;
class PlaylistSettingsView;
class QTabWidget;

// The settings window's content: the "General" and "Playlists" tabs over the shared Config.
// Plays "pop" each time it is shown when sounds are on.
class SettingsView final : public QWidget {
    Q_OBJECT

public:
    explicit SettingsView(Config* config, QWidget* parent = nullptr);
    ~SettingsView() override;
    Q_DISABLE_COPY_MOVE(SettingsView)

    QTabWidget* tabs() const { return m_tabs; }
    GeneralSettingsView* generalView() const { return m_general; }
    PlaylistSettingsView* playlistView() const { return m_playlists; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    Config* m_config;
    QTabWidget* m_tabs = nullptr;
    GeneralSettingsView* m_general = nullptr;
    PlaylistSettingsView* m_playlists = nullptr;
};
