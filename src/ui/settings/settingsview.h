#pragma once

#include <QWidget>

class Config;

// The settings window's content: the "General" and "Playlists" tabs over the shared Config.
// Plays "pop" each time it is shown when sounds are on.
class SettingsView final : public QWidget {
    Q_OBJECT

public:
    explicit SettingsView(Config* config, QWidget* parent = nullptr);
    ~SettingsView() override;
    Q_DISABLE_COPY_MOVE(SettingsView)

protected:
    void showEvent(QShowEvent* event) override;

private:
    Config* m_config;
};
