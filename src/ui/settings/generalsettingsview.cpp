#include "ui/settings/generalsettingsview.h"

#include "model/config.h"

#include <QCheckBox>
#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QSignalBlocker>
#include <QVBoxLayout>

GeneralSettingsView::GeneralSettingsView(Config* config, QWidget* parent)
    : QWidget(parent), m_config(config)
{
    auto* layout = new QVBoxLayout(this);

    m_themePicker = new QComboBox(this);
    m_themePicker->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    auto* themeLabel = new QLabel(tr("Theme"), this);
    themeLabel->setBuddy(m_themePicker);
    auto* themeRow = new QHBoxLayout;
    themeRow->addStretch();
    themeRow->addWidget(themeLabel);
    themeRow->addWidget(m_themePicker);
    themeRow->addStretch();
    layout->addLayout(themeRow);
    layout->addSpacing(8);

    addToggle(tr("Play sounds"), &Config::playsSounds, &Config::setPlaysSounds,
              &Config::playsSoundsChanged);
    addToggle(tr("Large-sized"), &Config::superSized, &Config::setSuperSized,
              &Config::superSizedChanged);
    addToggle(tr("Floating window"), &Config::isFloating, &Config::setIsFloating,
              &Config::isFloatingChanged);
    addToggle(tr("Loop tracks"), &Config::loopTracks, &Config::setLoopTracks,
              &Config::loopTracksChanged);
    addToggle(tr("Shuffle tracks"), &Config::shuffleTracks, &Config::setShuffleTracks,
              &Config::shuffleTracksChanged);
    auto* toggleColumn = new QVBoxLayout;
    for (QCheckBox* toggle : std::as_const(m_toggles))
        toggleColumn->addWidget(toggle);
    auto* toggleRow = new QHBoxLayout;
    toggleRow->addStretch();
    toggleRow->addLayout(toggleColumn);
    toggleRow->addStretch();
    layout->addLayout(toggleRow);
    layout->addStretch();

    syncThemes();
    connect(m_themePicker, &QComboBox::activated, this,
            [this](int index) { m_config->setCurrentTheme(m_themePicker->itemText(index)); });
    connect(m_config, &Config::availableThemesChanged, this, &GeneralSettingsView::syncThemes);
    connect(m_config, &Config::currentThemeChanged, this, [this] {
        syncThemes();
        m_config->saveSettings();
        m_config->loadTheme();
    });
}

void GeneralSettingsView::syncThemes()
{
    const QSignalBlocker blocker(m_themePicker);
    const QStringList themes = m_config->availableThemes();
    bool same = m_themePicker->count() == themes.size();
    for (int i = 0; same && i < themes.size(); ++i)
        same = m_themePicker->itemText(i) == themes.at(i);
    if (!same) {
        m_themePicker->clear();
        m_themePicker->addItems(themes);
    }
    m_themePicker->setCurrentIndex(int(themes.indexOf(m_config->currentTheme())));
}

void GeneralSettingsView::addToggle(const QString& label, bool (Config::*read)() const,
                                    void (Config::*write)(bool), void (Config::*changed)())
{
    auto* toggle = new QCheckBox(label, this);
    toggle->setChecked((m_config->*read)());
    m_toggles.append(toggle);
    connect(toggle, &QCheckBox::toggled, m_config, write);
    // also follows changes made elsewhere (the Player menu); each real change is written
    connect(m_config, changed, this, [this, toggle, read] {
        const QSignalBlocker blocker(toggle);
        toggle->setChecked((m_config->*read)());
        m_config->saveSettings();
    });
}
