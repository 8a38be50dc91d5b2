#pragma once

#include <QObject>
#include <QPalette>

class QDBusMessage;

// Follows the desktop's light or dark preference: the freedesktop portal's
// "org.freedesktop.appearance" "color-scheme" where a portal answers, and its changes while the
// program runs; else the platform theme's palette. The application's palette follows, so the
// settings window, the menus and the dialogs stay readable in both.
class ColorScheme final : public QObject {
    Q_OBJECT

public:
    enum class Scheme { NoPreference = 0, Dark = 1, Light = 2 };

    explicit ColorScheme(QObject* parent = nullptr);
    Q_DISABLE_COPY_MOVE(ColorScheme)

    Scheme scheme() const { return m_scheme; }
    // The palette for a preference: the platform's where it already matches or nothing is
    // preferred, otherwise a dark or light one of the style.
    static QPalette paletteFor(Scheme scheme, const QPalette& platform);
    static bool isDark(const QPalette& palette);

signals:
    void schemeChanged();

private slots:
    void settingChanged(const QDBusMessage& message);

private:
    void apply(Scheme scheme);

    QPalette m_platform;
    Scheme m_scheme = Scheme::NoPreference;
};
