#include "app/colorscheme.h"

#include <QApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDBusVariant>
#include <QStyle>

namespace {

const QString kService = QStringLiteral("org.freedesktop.portal.Desktop");
const QString kPath = QStringLiteral("/org/freedesktop/portal/desktop");
const QString kInterface = QStringLiteral("org.freedesktop.portal.Settings");
const QString kGroup = QStringLiteral("org.freedesktop.appearance");
const QString kKey = QStringLiteral("color-scheme");

// The portal wraps the value in one or two variants, depending on its version.
ColorScheme::Scheme schemeOf(QVariant value)
{
    while (value.canConvert<QDBusVariant>() && value.userType() == qMetaTypeId<QDBusVariant>())
        value = value.value<QDBusVariant>().variant();
    bool ok = false;
    const uint number = value.toUInt(&ok);
    return ok && number <= 2 ? ColorScheme::Scheme(number) : ColorScheme::Scheme::NoPreference;
}

QPalette darkPalette()
{
    const QColor window(45, 45, 48), base(30, 30, 32), button(58, 58, 62), text(232, 232, 232),
        disabled(128, 128, 132);
    QPalette palette;
    palette.setColor(QPalette::Window, window);
    palette.setColor(QPalette::WindowText, text);
    palette.setColor(QPalette::Base, base);
    palette.setColor(QPalette::AlternateBase, window);
    palette.setColor(QPalette::ToolTipBase, button);
    palette.setColor(QPalette::ToolTipText, text);
    palette.setColor(QPalette::PlaceholderText, disabled);
    palette.setColor(QPalette::Text, text);
    palette.setColor(QPalette::Button, button);
    palette.setColor(QPalette::ButtonText, text);
    palette.setColor(QPalette::BrightText, QColor(255, 90, 90));
    palette.setColor(QPalette::Light, button.lighter(150));
    palette.setColor(QPalette::Midlight, button.lighter(125));
    palette.setColor(QPalette::Mid, button.darker(120));
    palette.setColor(QPalette::Dark, base.darker(130));
    palette.setColor(QPalette::Shadow, Qt::black);
    palette.setColor(QPalette::Highlight, QColor(53, 132, 228));
    palette.setColor(QPalette::HighlightedText, Qt::white);
    palette.setColor(QPalette::Link, QColor(120, 174, 237));
    palette.setColor(QPalette::LinkVisited, QColor(180, 150, 235));
    for (const QPalette::ColorRole role :
         {QPalette::WindowText, QPalette::Text, QPalette::ButtonText, QPalette::HighlightedText})
        palette.setColor(QPalette::Disabled, role, disabled);
    palette.setColor(QPalette::Disabled, QPalette::Highlight, button);
    return palette;
}

} // namespace

ColorScheme::ColorScheme(QObject* parent) : QObject(parent), m_platform(QApplication::palette())
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        return;
    bus.connect(kService, kPath, kInterface, QStringLiteral("SettingChanged"), this,
                SLOT(settingChanged(QDBusMessage)));
    // asked without waiting: the player shows before the portal answers
    QDBusMessage read =
        QDBusMessage::createMethodCall(kService, kPath, kInterface, QStringLiteral("Read"));
    read << kGroup << kKey;
    auto* watcher = new QDBusPendingCallWatcher(bus.asyncCall(read), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, [this](QDBusPendingCallWatcher* w) {
        const QDBusPendingReply<QDBusVariant> reply = *w;
        if (!reply.isError())
            apply(schemeOf(reply.value().variant()));
        w->deleteLater();
    });
}

bool ColorScheme::isDark(const QPalette& palette)
{
    return palette.color(QPalette::Window).lightness() <
           palette.color(QPalette::WindowText).lightness();
}

QPalette ColorScheme::paletteFor(Scheme scheme, const QPalette& platform)
{
    if (scheme == Scheme::NoPreference || isDark(platform) == (scheme == Scheme::Dark))
        return platform;
    return scheme == Scheme::Dark ? darkPalette() : QApplication::style()->standardPalette();
}

void ColorScheme::settingChanged(const QDBusMessage& message)
{
    // (namespace, key, value)
    const QList<QVariant> arguments = message.arguments();
    if (arguments.size() == 3 && arguments.at(0).toString() == kGroup &&
        arguments.at(1).toString() == kKey)
        apply(schemeOf(arguments.at(2)));
}

void ColorScheme::apply(Scheme scheme)
{
    if (scheme == m_scheme)
        return;
    m_scheme = scheme;
    // open windows take the new palette at once
    QApplication::setPalette(paletteFor(scheme, m_platform));
    emit schemeChanged();
}
