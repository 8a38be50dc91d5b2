#include "ui/player/skintext.h"

#include <QPainter>
#include <QTextLayout>
#include <QTextOption>

#include <limits>

namespace skintext {

Line::Line(const QRectF& box, const QString& line, const QFont& font)
    : m_box(box), m_font(font), m_text(line)
{
    QTextOption option(Qt::AlignCenter);
    option.setWrapMode(QTextOption::NoWrap);
    option.setTextDirection(line.isRightToLeft() ? Qt::RightToLeft : Qt::LeftToRight);
    m_text.setTextFormat(Qt::PlainText);
    m_text.setTextOption(option);
    m_text.prepare(QTransform(), font);
    // centred as a painter centres a line in a rectangle: by the line's ascent and descent, where
    // the static text also counts the leading of the fonts it falls back to; cut at the box where
    // it is larger
    QTextLayout layout(line, font);
    layout.setTextOption(option);
    layout.beginLayout();
    QTextLine measured = layout.createLine();
    measured.setLineWidth(std::numeric_limits<int>::max() / 256);
    const QSizeF size(measured.naturalTextWidth(), measured.ascent() + measured.descent());
    layout.endLayout();
    m_topLeft =
        QPointF(box.x() + (box.width() - size.width()) / 2,
                box.y() + (box.height() - size.height()) / 2 - QFontMetricsF(font).leading());
    m_fits = box.contains(QRectF(m_topLeft, size));
}

void Line::draw(QPainter& painter, const QColor& color) const
{
    if (isEmpty())
        return;
    painter.setFont(m_font);
    painter.setPen(color);
    if (m_fits) {
        painter.drawStaticText(m_topLeft, m_text);
        return;
    }
    painter.save();
    painter.setClipRect(m_box, Qt::IntersectClip);
    painter.drawStaticText(m_topLeft, m_text);
    painter.restore();
}

} // namespace skintext
