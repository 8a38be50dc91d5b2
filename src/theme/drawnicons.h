#pragma once

#include <QIcon>

#include <functional>
#include <initializer_list>

class QPainter;

// Interface icons for places where the desktop may have no icon theme (headless sessions,
// bare window managers): drawn on a 16 x 16 grid in the palette's text colour.
namespace drawnicons {

using Drawing = std::function<void(QPainter&)>;

// The drawing at 1x and 2x for sharp HiDPI output; the painter starts with a round 1.4 pen.
QIcon drawn(const Drawing& draw);
// The first of the names the icon theme has, the drawing where it has none.
QIcon themed(std::initializer_list<const char*> names, const Drawing& fallback);
// The palette's text colour.
QColor ink();

} // namespace drawnicons
