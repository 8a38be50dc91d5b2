#include "ui/settings/generalsettingsview.h"

#include "model/config.h"
#include "ui/player/skinlayout.h"
#include "ui/player/skinpicture.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QFutureWatcher>
#include <QHBoxLayout>
#include <QLabel>
#include <QSignalBlocker>
#include <QVBoxLayout>
#include <QtConcurrent>

namespace {

struct Picture {
    QString name;
    QImage image;
};

} // namespace

GeneralSettingsView::GeneralSettingsView(Config* config, QWidget* parent)
    : QWidget(parent), m_config(config)
{
    m_themePicker = new QComboBox(this);
    m_themePicker->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    m_themePicker->setIconSize(QSize(kPictureSide, kPictureSide));

    // labels and controls line up in the form's two columns, the toggles under the picker
    m_form = new QFormLayout;
    m_form->setFieldGrowthPolicy(QFormLayout::FieldsStayAtSizeHint);
    m_form->addRow(tr("Theme"), m_themePicker);
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

    // options of later features, under their own heading; hidden while it has no rows
    m_listeningHeading = new QLabel(tr("Listening"), this);
    QFont bold = m_listeningHeading->font();
    bold.setBold(true);
    m_listeningHeading->setFont(bold);
    m_listeningHeading->hide();
    // set off from the toggles by twice the spacing between rows
    m_listeningHeading->setContentsMargins(
        0, style()->pixelMetric(QStyle::PM_LayoutVerticalSpacing) * 2, 0, 0);

    m_preview = new QLabel(this);
    m_preview->setAccessibleName(tr("Theme preview"));
    m_preview->setAlignment(Qt::AlignCenter);
    m_preview->setFrameShape(QFrame::StyledPanel);
    m_preview->setBackgroundRole(QPalette::Base);
    m_preview->setAutoFillBackground(true);

    // the options take the window's whole width, so that no language's labels are cut off;
    // the current skin is shown under them, at its size
    auto* column = new QVBoxLayout(this);
    column->addLayout(m_form);
    column->addSpacing(style()->pixelMetric(QStyle::PM_LayoutVerticalSpacing) * 2);
    column->addWidget(m_preview, 0, Qt::AlignLeft);
    column->addStretch();

    addListeningOptions();

    syncThemes();
    updatePreview();
    connect(m_themePicker, &QComboBox::activated, this,
            [this](int index) { m_config->setCurrentTheme(m_themePicker->itemText(index)); });
    connect(m_config, &Config::availableThemesChanged, this, [this] {
        syncThemes();
        if (isVisible())
            makePictures();
    });
    connect(m_config, &Config::currentThemeChanged, this, [this] {
        syncThemes();
        m_config->saveSettings();
        m_config->loadTheme();
        updatePreview();
    });
    connect(m_config, &Config::geometryChanged, this, &GeneralSettingsView::updatePreview);
    connect(m_config, &Config::superSizedChanged, this, &GeneralSettingsView::updatePreview);
}

bool GeneralSettingsView::hasAllPictures() const
{
    for (int i = 0; i < m_themePicker->count(); ++i) {
        if (!m_pictures.contains(m_themePicker->itemText(i)))
            return false;
    }
    return true;
}

void GeneralSettingsView::addListeningOption(QWidget* control, const QString& label)
{
    // the section's rows line up with the theme's and the toggles' columns
    if (m_listeningHeading->isHidden()) {
        m_form->addRow(m_listeningHeading);
        m_listeningHeading->show();
    }
    control->setParent(this);
    if (label.isEmpty())
        m_form->setWidget(m_form->rowCount(), QFormLayout::FieldRole, control);
    else
        m_form->addRow(label, control);
}

void GeneralSettingsView::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    makePictures();
    updatePreview();
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
        showPictures();
    }
    m_themePicker->setCurrentIndex(int(themes.indexOf(m_config->currentTheme())));
}

void GeneralSettingsView::showPictures()
{
    // an entry whose picture is still being made keeps its place empty
    QPixmap blank(m_themePicker->iconSize() * devicePixelRatioF());
    blank.setDevicePixelRatio(devicePixelRatioF());
    blank.fill(Qt::transparent);
    for (int i = 0; i < m_themePicker->count(); ++i)
        m_themePicker->setItemIcon(i, m_pictures.value(m_themePicker->itemText(i), QIcon(blank)));
}

void GeneralSettingsView::makePictures()
{
    const qreal ratio = devicePixelRatioF();
    // a window shown on a screen of another pixel ratio gets sharp pictures again
    if (ratio != m_pictureRatio) {
        m_pictures.clear();
        m_pending.clear();
        m_pictureRatio = ratio;
    }
    QList<std::pair<QString, QString>> themes; // name, directory
    for (const QString& name : m_config->availableThemes()) {
        if (!m_pictures.contains(name) && !m_pending.contains(name)) {
            themes.append({name, m_config->themeDirectory(name)});
            m_pending.append(name);
        }
    }
    if (themes.isEmpty())
        return;
    skinpicture::loadFallbacks();
    auto* watcher = new QFutureWatcher<Picture>(this);
    connect(watcher, &QFutureWatcher<Picture>::resultReadyAt, this, [this, watcher, ratio](int i) {
        const Picture picture = watcher->resultAt(i);
        if (ratio != m_pictureRatio)
            return; // made for a screen the window has left
        m_pending.removeOne(picture.name);
        m_pictures.insert(picture.name, QIcon(QPixmap::fromImage(picture.image)));
        showPictures();
    });
    connect(watcher, &QFutureWatcher<Picture>::finished, watcher, &QObject::deleteLater);
    watcher->setFuture(
        QtConcurrent::mapped(themes, [ratio](const std::pair<QString, QString>& theme) {
            const auto& [name, dir] = theme;
            const QImage skin =
                skinpicture::draw(dir, skinpicture::geometryOf(dir, name), 1, ratio);
            return Picture{name, skinpicture::thumbnail(skin, kPictureSide, ratio)};
        }));
}

void GeneralSettingsView::updatePreview()
{
    const QString dir = m_config->themeDirectory(m_config->currentTheme());
    // the skin's own geometry as the player shows it, at its size
    const QImage skin =
        skinpicture::draw(dir, m_config->geometry(), SkinLayout::scaleFor(m_config->superSized()),
                          devicePixelRatioF());
    m_preview->setPixmap(QPixmap::fromImage(skin));
    const int margin = style()->pixelMetric(QStyle::PM_LayoutLeftMargin);
    m_preview->setFixedSize((skin.deviceIndependentSize().toSize()) +
                            QSize(2 * margin, 2 * margin));
}

void GeneralSettingsView::addToggle(const QString& label, bool (Config::*read)() const,
                                    void (Config::*write)(bool), void (Config::*changed)())
{
    QCheckBox* toggle = bindToggle(label, read, write, changed);
    m_toggles.append(toggle);
    m_form->setWidget(m_form->rowCount(), QFormLayout::FieldRole, toggle);
}

QCheckBox* GeneralSettingsView::bindToggle(const QString& label, bool (Config::*read)() const,
                                           void (Config::*write)(bool), void (Config::*changed)())
{
    auto* toggle = new QCheckBox(label, this);
    toggle->setChecked((m_config->*read)());
    connect(toggle, &QCheckBox::toggled, m_config, write);
    // also follows changes made elsewhere (the Player menu); each real change is written
    connect(m_config, changed, this, [this, toggle, read] {
        const QSignalBlocker blocker(toggle);
        toggle->setChecked((m_config->*read)());
        m_config->saveSettings();
    });
    return toggle;
}

// The options beyond the five: resume, leveling and notifications.
void GeneralSettingsView::addListeningOptions()
{
    m_resume = bindToggle(tr("Resume where I stopped"), &Config::resumesPlayback,
                          &Config::setResumesPlayback, &Config::resumesPlaybackChanged);
    addListeningOption(m_resume);

    m_loudness = new QComboBox(this);
    // as wide as the short modes: the long one shows in full in the open list, and the row
    // leaves room for the preview beside it
    m_loudness->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    m_loudness->setMinimumContentsLength(14);
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
    addListeningOption(m_loudness, tr("Normalise loudness"));

    m_notifications =
        bindToggle(tr("Show notifications"), &Config::showsNotifications,
                   &Config::setShowsNotifications, &Config::showsNotificationsChanged);
    addListeningOption(m_notifications);
}
