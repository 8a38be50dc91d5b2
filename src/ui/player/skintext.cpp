#include "ui/player/skintext.h"

#include "ui/player/skinlayout.h"

#include <QPainter>
#include <QTextOption>

namespace skintext {

void draw(QPainter& painter, const QRectF& box, const QString& text, const QFont& font,
          const QColor& color)
{
    QTextOption option(Qt::AlignCenter);
    option.setWrapMode(QTextOption::NoWrap);
    option.setTextDirection(text.isRightToLeft() ? Qt::RightToLeft : Qt::LeftToRight);
    painter.setFont(font);
    painter.setPen(color);
    painter.drawText(box, SkinLayout::elided(text, font, box.width()), option);
}

} // namespace skintext
