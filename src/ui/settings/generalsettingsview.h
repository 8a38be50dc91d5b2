#pragma once

#include <QWidget>

class Config;
class QCheckBox;
class QComboBox;
class QVBoxLayout;

// The "General" tab: the theme picker and the five options, bound both ways to Config. Every
// change of those fields seen here is written at once; a new theme is then loaded.
class GeneralSettingsView final : public QWidget {
    Q_OBJECT

public:
    explicit GeneralSettingsView(Config* config, QWidget* parent = nullptr);
    Q_DISABLE_COPY_MOVE(GeneralSettingsView)

    QComboBox* themePicker() const { return m_themePicker; }
    // The five toggles in their order: "Play sounds", "Large-sized", "Floating window",
    // "Loop tracks", "Shuffle tracks".
    QList<QCheckBox*> toggles() const { return m_toggles; }
    // After them: "Resume where I stopped", "Normalise loudness", "Show notifications".
    QCheckBox* resumeToggle() const { return m_resume; }
    QComboBox* loudnessPicker() const { return m_loudness; }
    QCheckBox* notificationsToggle() const { return m_notifications; }

private:
    void syncThemes();
    QCheckBox* addToggle(const QString& label, bool (Config::*read)() const,
                         void (Config::*write)(bool), void (Config::*changed)());
    void addListeningOptions(QVBoxLayout* column);

    Config* m_config;
    QComboBox* m_themePicker = nullptr;
    QList<QCheckBox*> m_toggles;
    QCheckBox* m_resume = nullptr;
    QComboBox* m_loudness = nullptr;
    QCheckBox* m_notifications = nullptr;
};
