#include "app/windowsnapdelegate.h"

#include <QEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include <cmath>

WindowSnapDelegate::WindowSnapDelegate(QObject* parent) : QObject(parent) {}

std::optional<QPointF> WindowSnapDelegate::snappedOrigin(const QRectF& frame,
                                                         const QRectF& available, double threshold)
{
    // right() and bottom() of QRectF are x + width and y + height: the true edges
    const double left = std::abs(frame.left() - available.left());
    const double right = std::abs(available.right() - frame.right());
    const double bottom = std::abs(available.bottom() - frame.bottom());
    const double top = std::abs(frame.top() - available.top());

    QPointF origin = frame.topLeft();
    bool snapped = false;
    if (left <= threshold) {
        origin.setX(available.left());
        snapped = true;
    } else if (right <= threshold) {
        origin.setX(available.right() - frame.width());
        snapped = true;
    }
    if (bottom <= threshold) {
        origin.setY(available.bottom() - frame.height());
        snapped = true;
    } else if (top <= threshold) {
        origin.setY(available.top());
        snapped = true;
    }
    if (!snapped)
        return std::nullopt;
    return origin;
}

void WindowSnapDelegate::attach(QWidget* window)
{
    if (m_window)
        m_window->removeEventFilter(this);
    m_window = window;
    if (window)
        window->installEventFilter(this);
}

bool WindowSnapDelegate::windowDidMove(QWidget* window)
{
    if (!window || !window->isWindow() ||
        QGuiApplication::platformName().startsWith(QLatin1String("wayland")))
        return false;
    const QScreen* screen = window->screen();
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    if (!screen)
        return false;
    const QRect frame = window->frameGeometry();
    const std::optional<QPointF> origin =
        snappedOrigin(QRectF(frame), QRectF(screen->availableGeometry()), m_snapThreshold);
    if (!origin)
        return false;
    const QPoint target = origin->toPoint();
    // an unchanged position is no move: the cycle ends here
    if (target == frame.topLeft())
        return false;
    m_moving = true;
    window->move(target);
    m_moving = false;
    return true;
}

bool WindowSnapDelegate::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::Move && watched == m_window && !m_moving)
        windowDidMove(m_window);
    return QObject::eventFilter(watched, event);
}
