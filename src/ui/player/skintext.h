#pragma once

#include <QColor>
#include <QFont>
#include <QRectF>
#include <QString>

class QPainter;

namespace skintext {

// Draws one line of a title or an artist centred in box, in its own writing direction (the
// first strong character decides, as in a text field) and elided at its logical end: a
// right-to-left title loses its last words on the left. Scripts and emoji the font lacks come from
// the system's fallback fonts.
void draw(QPainter& painter, const QRectF& box, const QString& text, const QFont& font,
          const QColor& color);

} // namespace skintext
