// Lindenfold skin artwork generator: shared declarations.
//
// Every skin image is drawn with QPainter from vectors at twice the size of its frame in the
// family's built-in geometry. Coordinates inside the drawing code are skin
// points; the painters are scaled by kScale before drawing.
#pragma once

#include <QColor>
#include <QImage>
#include <QPointF>
#include <QRectF>
#include <QSizeF>
#include <QString>
#include <QStringList>

#include <vector>

namespace skingen {

inline constexpr double kScale = 2.0; // the "@2x" resolution of every image

// The built-in geometry of one theme family (the 50 keys of "theme.json").
struct Geometry {
    QString family;
    double playerWidth, playerHeight, playerMinWidth, playerMinHeight;
    int trackTextSize, artistTextSize;
    bool textReversed;
    QPointF closePos;        QSizeF closeSize;
    QPointF playPos;         QSizeF playSize;
    QPointF ffPos;           QSizeF ffSize;
    QPointF minPos;          QSizeF minSize;
    QPointF rrPos;           QSizeF rrSize;
    QPointF trackMenuPos;    QSizeF trackMenuSize;
    QPointF playlistMenuPos; QSizeF playlistMenuSize;
    QPointF scrubberMinPos, scrubberMaxPos; QSizeF scrubberSize;
    QPointF trackNamePos, trackArtistPos; double trackTextWidth;
    QPointF trackArtPos;     QSizeF trackArtSize;

    // The frame of an element centred on its position (points).
    static QRectF frame(QPointF centre, QSizeF size)
    {
        return {centre.x() - size.width() / 2, centre.y() - size.height() / 2, size.width(),
                size.height()};
    }
};

const Geometry& geometryFor(const QString& family); // "nano", "neo", "mini", "max"

// One colour scheme (graphite, blueberry, ...).
struct Scheme {
    QString name;
    QColor bodyHi, bodyLo; // body gradient, top to bottom
    QColor rail;           // secondary panels (side rail, title strip)
    QColor rim;            // bevel highlight
    QColor capHi, capLo;   // button caps, top to bottom
    QColor glyph;          // symbol on the caps
    QColor glyphShadow;    // engraving line under the symbol
    QColor glyphOn;        // symbol when lit
    QColor glow;           // halo of a lit symbol
    QColor screen;         // dark screen behind texts
    QColor accent;         // progress groove light, knob jewel, record label
    QColor artHi, artLo;   // album placeholder gradient
};

const Scheme& schemeFor(const QString& colour);

const QStringList& families();      // nano, neo, mini, max
const QStringList& colours();       // graphite ... blackberry
const QStringList& elements();      // the 16 element names
QStringList themeNames();           // the 22 built-in themes, catalogue order

// Size in pixels (2x) of an element's image for a family; zero-sized elements use the mini size.
QSize elementPixelSize(const Geometry& g, const QString& element);

// Draw one element of one theme at its 2x pixel size.
QImage renderElement(const QString& theme, const QString& element);

// Compose the contact sheet (2x) from an image source.
using ImageSource = QImage (*)(const QString& theme, const QString& element);
QImage renderContactSheet(ImageSource source);

// Helpers (paintutil.cpp).
void blurImage(QImage& img, int radius); // premultiplied ARGB, three box passes
QImage quantizeForPng(const QImage& img); // palette image when it loses (almost) nothing

} // namespace skingen
