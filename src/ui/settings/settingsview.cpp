#include "ui/settings/settingsview.h"

#include "model/config.h"

SettingsView::SettingsView(Config* config, QWidget* parent) : QWidget(parent), m_config(config) {}

SettingsView::~SettingsView() = default;

void SettingsView::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
}
