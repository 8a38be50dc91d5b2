#pragma once

#include <QHash>
#include <QIcon>
#include <QWidget>

class Config;
class QCheckBox;
class QComboBox;
class QFormLayout;
class QLabel;

// The "General" tab: the theme picker with a picture of each theme and a preview of the current
// skin, the five options, then the options of the "Listening" section, bound both ways to
// Config. Every change of those fields seen here is written at once; a new theme is then loaded.
class GeneralSettingsView final : public QWidget {
    Q_OBJECT

public:
    explicit GeneralSettingsView(Config* config, QWidget* parent = nullptr);
    Q_DISABLE_COPY_MOVE(GeneralSettingsView)

    // Side of the square each theme's picture takes in the picker, in points.
    static constexpr int kPictureSide = 32;

    QComboBox* themePicker() const { return m_themePicker; }
    // The five toggles in their order: "Play sounds", "Large-sized", "Floating window",
    // "Loop tracks", "Shuffle tracks".
    QList<QCheckBox*> toggles() const { return m_toggles; }
    // The current skin at the size the player shows it.
    QLabel* preview() const { return m_preview; }
    // True once every theme of the picker has its picture.
    bool hasAllPictures() const;

    // Adds a row to the "Listening" section after the five toggles, which shows from its first
    // row on: a check box alone, or another control with its label.
    void addListeningOption(QWidget* control, const QString& label = {});
    // Its rows: "Resume where I stopped", "Normalise loudness", "Show notifications".
    QCheckBox* resumeToggle() const { return m_resume; }
    QComboBox* loudnessPicker() const { return m_loudness; }
    QCheckBox* notificationsToggle() const { return m_notifications; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    void syncThemes();
    void showPictures();
    void makePictures();
    void updatePreview();
    void addToggle(const QString& label, bool (Config::*read)() const, void (Config::*write)(bool),
                   void (Config::*changed)());
    QCheckBox* bindToggle(const QString& label, bool (Config::*read)() const,
                          void (Config::*write)(bool), void (Config::*changed)());
    void addListeningOptions();

    Config* m_config;
    QComboBox* m_themePicker = nullptr;
    QLabel* m_preview = nullptr;
    QFormLayout* m_form = nullptr;
    QLabel* m_listeningHeading = nullptr;
    QList<QCheckBox*> m_toggles;
    QCheckBox* m_resume = nullptr;
    QComboBox* m_loudness = nullptr;
    QCheckBox* m_notifications = nullptr;
    // made off the main thread for each name once, kept while the window lives
    QHash<QString, QIcon> m_pictures;
    QStringList m_pending;
    qreal m_pictureRatio = 0;
};
