#pragma once

#include <QColor>
#include <QFont>
#include <QRectF>
#include <QStaticText>
#include <QString>

class QPainter;

namespace skintext {

// One line of a title or an artist, already elided to box's width at its logical end
// (SkinLayout::elided: a right-to-left title loses its last words on the left), centred in box
// in its own writing direction (the first strong character decides, as in a text field). Scripts
// and emoji the font lacks come from the system's fallback fonts. It is shaped once: drawing it
// again, as each step of a knob that crosses it does, only copies its glyphs.
class Line {
public:
    Line() = default;
    Line(const QRectF& box, const QString& line, const QFont& font);

    bool isEmpty() const { return m_box.isEmpty() || m_text.text().isEmpty(); }
    const QRectF& box() const { return m_box; }
    void draw(QPainter& painter, const QColor& color) const;

private:
    QRectF m_box;
    QFont m_font;
    QStaticText m_text;
    QPointF m_topLeft;
    bool m_fits = true;
};

} // namespace skintext
