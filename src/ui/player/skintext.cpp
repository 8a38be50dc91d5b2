#include "ui/player/skintext.h"

#include <QPainter>
#include <QTextOption>

namespace skintext {

void draw(QPainter& painter, const QRectF& box, const QString& line, const QFont& font,
          const QColor& color)
{
    QTextOption option(Qt::AlignCenter);
    option.setWrapMode(QTextOption::NoWrap);
    option.setTextDirection(line.isRightToLeft() ? Qt::RightToLeft : Qt::LeftToRight);
    painter.setFont(font);
    painter.setPen(color);
    painter.drawText(box, line, option);
}

} // namespace skintext
