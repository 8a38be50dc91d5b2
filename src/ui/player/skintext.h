#pragma once

#include <QColor>
#include <QFont>
#include <QRectF>
#include <QString>

class QPainter;

namespace skintext {

// Draws one line of a title or an artist, already elided to box's width at its logical end
// (SkinLayout::elided: a right-to-left title loses its last words on the left), centred in box
// in its own writing direction (the first strong character decides, as in a text field). Scripts
// and emoji the font lacks come from the system's fallback fonts.
void draw(QPainter& painter, const QRectF& box, const QString& line, const QFont& font,
          const QColor& color);

} // namespace skintext
