#include "ui/settings/settingsicons.h"

#include "theme/drawnicons.h"

#include <QPainter>
#include <QPainterPath>

#include <cmath>
#include <numbers>

namespace settingsicons {
namespace {

using drawnicons::drawn;
using drawnicons::themed;

void drawGear(QPainter& p)
{
    QPainterPath teeth;
    constexpr int kTeeth = 8;
    for (int i = 0; i < kTeeth * 2; ++i) {
        const double angle = i * std::numbers::pi / kTeeth;
        const double radius = (i % 2 == 0) ? 7.0 : 5.2;
        const QPointF point(8 + radius * std::cos(angle), 8 + radius * std::sin(angle));
        i == 0 ? teeth.moveTo(point) : teeth.lineTo(point);
    }
    teeth.closeSubpath();
    p.drawPath(teeth);
    p.drawEllipse(QPointF(8, 8), 2.2, 2.2);
}

void drawNoteList(QPainter& p)
{
    p.drawLine(QPointF(1.5, 3), QPointF(9, 3));
    p.drawLine(QPointF(1.5, 6.5), QPointF(9, 6.5));
    p.drawLine(QPointF(1.5, 10), QPointF(6, 10));
    p.drawLine(QPointF(12.5, 2), QPointF(12.5, 12.5));
    p.drawLine(QPointF(12.5, 2), QPointF(15, 3.5));
    p.setBrush(p.pen().color());
    p.drawEllipse(QPointF(10.8, 12.8), 1.9, 1.6);
}

void drawNewDocument(QPainter& p)
{
    QPainterPath page;
    page.moveTo(3, 1.5);
    page.lineTo(9.5, 1.5);
    page.lineTo(12.5, 4.5);
    page.lineTo(12.5, 8);
    page.moveTo(8, 14.5);
    page.lineTo(3, 14.5);
    page.lineTo(3, 1.5);
    p.drawPath(page);
    p.drawLine(QPointF(12.5, 10), QPointF(12.5, 15));
    p.drawLine(QPointF(10, 12.5), QPointF(15, 12.5));
}

void drawChevrons(QPainter& p)
{
    p.drawPolyline(QPolygonF({QPointF(4.5, 6), QPointF(8, 2.5), QPointF(11.5, 6)}));
    p.drawPolyline(QPolygonF({QPointF(4.5, 10), QPointF(8, 13.5), QPointF(11.5, 10)}));
}

void drawTrash(QPainter& p)
{
    p.drawLine(QPointF(2, 4), QPointF(14, 4));
    p.drawLine(QPointF(6, 4), QPointF(6.5, 2));
    p.drawLine(QPointF(6.5, 2), QPointF(9.5, 2));
    p.drawLine(QPointF(9.5, 2), QPointF(10, 4));
    p.drawPolyline(
        QPolygonF({QPointF(3.5, 4), QPointF(4.5, 14.5), QPointF(11.5, 14.5), QPointF(12.5, 4)}));
    p.drawLine(QPointF(6.5, 6.5), QPointF(6.5, 12));
    p.drawLine(QPointF(9.5, 6.5), QPointF(9.5, 12));
}

} // namespace

QIcon general()
{
    return themed({"preferences-system", "preferences-other", "configure"}, drawGear);
}

QIcon playlists()
{
    return themed({"view-media-playlist", "audio-x-generic"}, drawNoteList);
}

QIcon newPlaylist()
{
    return themed({"document-new"}, drawNewDocument);
}

QIcon dragHandle()
{
    // no icon theme has an up-and-down chevron: always drawn
    return drawn(drawChevrons);
}

QIcon trash()
{
    return themed({"user-trash", "edit-delete"}, drawTrash);
}

} // namespace settingsicons
