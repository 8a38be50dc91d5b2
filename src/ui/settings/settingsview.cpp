#include "ui/settings/settingsview.h"

#include "model/config.h"
#include "playback/soundplayer.h"
#include "ui/settings/generalsettingsview.h"
#include "ui/settings/playlistsettingsview.h"
#include "ui/settings/settingsicons.h"

#include <QShowEvent>
#include <QTabWidget>
#include <QVBoxLayout>

SettingsView::SettingsView(Config* config, QWidget* parent)
    : QWidget(parent), m_config(config), m_tabs(new QTabWidget(this)),
      m_general(new GeneralSettingsView(config, m_tabs)),
      m_playlists(new PlaylistSettingsView(config, m_tabs))
{
    setWindowTitle(tr("Settings"));
    setMinimumWidth(640);
    if (!parent)
        resize(640, 640);
    m_tabs->setDocumentMode(true);
    m_tabs->addTab(m_general, settingsicons::general(), tr("General"));
    m_tabs->addTab(m_playlists, settingsicons::playlists(), tr("Playlists"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_tabs);
}

SettingsView::~SettingsView() = default;

void SettingsView::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    // spontaneous shows are the window manager restoring a minimised window, not an opening
    if (!event->spontaneous() && m_config->playsSounds())
        m_config->soundPlayer()->playSound(QStringLiteral("pop"));
}
