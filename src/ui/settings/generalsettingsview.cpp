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
    addListeningOptions(toggleColumn);
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

// The options beyond the five: resume, leveling and notifications, below them.
void GeneralSettingsView::addListeningOptions(QVBoxLayout* column)
{
    m_resume = addToggle(tr("Resume where I stopped"), &Config::resumesPlayback,
                         &Config::setResumesPlayback, &Config::resumesPlaybackChanged);
    m_notifications = addToggle(tr("Show notifications"), &Config::showsNotifications,
                                &Config::setShowsNotifications, &Config::showsNotificationsChanged);
    m_toggles.resize(m_toggles.size() - 2);

    m_loudness = new QComboBox(this);
    const std::pair<QString, const char*> modes[] = {
        {tr("Off"), "off"},
        {tr("By track"), "track"},
        {tr("By album"), "album"},
        {tr("Automatic (album in order, track when shuffled)"), "auto"}};
    for (const auto& [label, mode] : modes)
        m_loudness->addItem(label, QString::fromLatin1(mode));
    const auto sync = [this] {
        // a value this version does not know counts as off
        const int index = m_loudness->findData(m_config->loudnessMode());
        m_loudness->setCurrentIndex(index < 0 ? 0 : index);
    };
    sync();
    connect(m_loudness, &QComboBox::activated, this, [this](int index) {
        m_config->setLoudnessMode(m_loudness->itemData(index).toString());
    });
    connect(m_config, &Config::loudnessModeChanged, this, [this, sync] {
        sync();
        m_config->saveSettings();
    });
    auto* label = new QLabel(tr("Normalise loudness"), this);
    label->setBuddy(m_loudness);
    auto* row = new QHBoxLayout;
    row->addWidget(label);
    row->addWidget(m_loudness);
    column->addWidget(m_resume);
    column->addLayout(row);
    column->addWidget(m_notifications);
}

QCheckBox* GeneralSettingsView::addToggle(const QString& label, bool (Config::*read)() const,
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
    return toggle;
}
