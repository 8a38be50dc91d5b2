#include "ui/player/savenotice.h"

#include "model/config.h"

#include <QGuiApplication>
#include <QLabel>
#include <QScreen>
#include <QTimer>
#include <QWidget>

SaveNotice::SaveNotice(Config* config, QWidget* window) : QObject(window), m_window(window)
{
    connect(config, &Config::saveFailed, this, &SaveNotice::show);
}

void SaveNotice::show(const QString& error)
{
    if (m_label)
        return;
    m_label = new QLabel(tr("Lindenfold could not save your changes: %1.\n"
                            "They are kept while it runs and saved again with your next change.")
                             .arg(error),
                         m_window, Qt::ToolTip | Qt::FramelessWindowHint);
    m_label->setAttribute(Qt::WA_ShowWithoutActivating);
    m_label->setMargin(8);
    m_label->adjustSize();
    // below the player, or above it where the screen ends
    const QRect frame = m_window->frameGeometry();
    QPoint at(frame.left(), frame.bottom() + 6);
    if (const QScreen* screen = m_window->screen();
        screen && at.y() + m_label->height() > screen->availableGeometry().bottom())
        at.setY(frame.top() - m_label->height() - 6);
    m_label->move(at);
    m_label->show();
    QTimer::singleShot(kShownMilliseconds, m_label, &QLabel::hide);
}
