// The skin artwork: buttons, knob, album placeholder and the four families' backgrounds.
#include "skinart.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPainterPathStroker>
#include <QRadialGradient>
#include <QtMath>

namespace skingen {

namespace {

// ---------------------------------------------------------------- small helpers

QColor alpha(QColor c, int a)
{
    c.setAlpha(a);
    return c;
}

QColor mix(const QColor& a, const QColor& b, double t)
{
    return QColor::fromRgbF(float(a.redF() + (b.redF() - a.redF()) * t),
                            float(a.greenF() + (b.greenF() - a.greenF()) * t),
                            float(a.blueF() + (b.blueF() - a.blueF()) * t),
                            float(a.alphaF() + (b.alphaF() - a.alphaF()) * t));
}

QImage canvas(QSize px)
{
    QImage img(px, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::transparent);
    return img;
}

void begin(QPainter& p, QImage& img)
{
    p.begin(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    p.scale(kScale, kScale);
}

QPainterPath roundRect(const QRectF& r, double radius)
{
    QPainterPath path;
    path.addRoundedRect(r, radius, radius);
    return path;
}

QPainterPath circle(QPointF c, double d)
{
    QPainterPath path;
    path.addEllipse(c, d / 2, d / 2);
    return path;
}

QPainterPath strokeToFill(const QPainterPath& path, double width, Qt::PenCapStyle cap = Qt::RoundCap)
{
    QPainterPathStroker s;
    s.setWidth(width);
    s.setCapStyle(cap);
    s.setJoinStyle(Qt::RoundJoin);
    return s.createStroke(path).simplified();
}

// Fills `path` (in the painter's current coordinates) into an offscreen layer, blurs it and
// draws it back at `offset` (points). Used for drop shadows and glows.
void softFill(QPainter& p, const QPainterPath& path, const QColor& colour, double blurPt,
              QPointF offset = {}, const QPainterPath* clip = nullptr)
{
    QPaintDevice* dev = p.device();
    QImage layer = canvas(QSize(dev->width(), dev->height()));
    {
        QPainter lp(&layer);
        lp.setRenderHint(QPainter::Antialiasing);
        lp.setTransform(p.transform());
        lp.translate(offset);
        lp.fillPath(path, colour);
    }
    blurImage(layer, int(std::lround(blurPt * kScale)));
    p.save();
    if (clip) p.setClipPath(*clip, Qt::IntersectClip);
    p.resetTransform();
    p.drawImage(0, 0, layer);
    p.restore();
}

// Shadow cast inside a recess: darkness along its top edge fading downwards.
void innerShadow(QPainter& p, const QPainterPath& path, const QColor& colour, double blurPt,
                 double dy)
{
    QPainterPath outside;
    outside.addRect(path.boundingRect().adjusted(-20, -20, 20, 20));
    outside = outside.subtracted(path.translated(0, dy));
    softFill(p, outside, colour, blurPt, {}, &path);
}

// ---------------------------------------------------------------- glyphs (fill paths)

enum class Glyph { Play, Pause, FastForward, Rewind, Close, Minimise, List, Note };

QPainterPath triangleRight(double x0, double cy, double w, double h)
{
    QPainterPath t;
    t.moveTo(x0, cy - h / 2);
    t.lineTo(x0 + w, cy);
    t.lineTo(x0, cy + h / 2);
    t.closeSubpath();
    return t;
}

// A glyph of nominal height h centred on c.
QPainterPath glyphPath(Glyph g, QPointF c, double h)
{
    QPainterPath path;
    const double cx = c.x(), cy = c.y();
    const double round = h * 0.09; // softened corners
    switch (g) {
    case Glyph::Play: {
        const double w = h * 0.86;
        QPainterPath t = triangleRight(cx - w * 0.40, cy, w - round, h - round * 1.6);
        path = t.united(strokeToFill(t, round));
        break;
    }
    case Glyph::Pause: {
        const double bw = h * 0.30, gap = h * 0.26;
        path.addRoundedRect(QRectF(cx - gap / 2 - bw, cy - h / 2, bw, h), h * 0.07, h * 0.07);
        path.addRoundedRect(QRectF(cx + gap / 2, cy - h / 2, bw, h), h * 0.07, h * 0.07);
        break;
    }
    case Glyph::FastForward:
    case Glyph::Rewind: {
        const double th = h * 0.82, tw = h * 0.62, bar = h * 0.16, gap = h * 0.10;
        const double total = tw * 2 - tw * 0.12 + gap + bar;
        double x = cx - total / 2;
        QPainterPath t1 = triangleRight(x, cy, tw, th);
        QPainterPath t2 = triangleRight(x + tw * 0.88, cy, tw, th);
        QPainterPath b;
        b.addRoundedRect(QRectF(x + tw * 1.88 + gap, cy - th / 2, bar, th), bar * 0.3, bar * 0.3);
        path = t1.united(t2).united(strokeToFill(t1, round)).united(strokeToFill(t2, round)).united(b);
        if (g == Glyph::Rewind) {
            QTransform m;
            m.translate(cx, 0);
            m.scale(-1, 1);
            m.translate(-cx, 0);
            path = m.map(path);
        }
        break;
    }
    case Glyph::Close: {
        const double d = h / 2;
        QPainterPath x;
        x.moveTo(cx - d, cy - d); x.lineTo(cx + d, cy + d);
        x.moveTo(cx + d, cy - d); x.lineTo(cx - d, cy + d);
        path = strokeToFill(x, h * 0.26);
        break;
    }
    case Glyph::Minimise: {
        QPainterPath l;
        l.moveTo(cx - h * 0.55, cy); l.lineTo(cx + h * 0.55, cy);
        path = strokeToFill(l, h * 0.26);
        break;
    }
    case Glyph::List: {
        QPainterPath lines;
        for (int i = -1; i <= 1; ++i) {
            const double y = cy + i * h * 0.40;
            lines.moveTo(cx - h * 0.22, y); lines.lineTo(cx + h * 0.62, y);
            lines.addEllipse(QPointF(cx - h * 0.55, y), h * 0.10, h * 0.10);
        }
        path = strokeToFill(lines, h * 0.18);
        break;
    }
    case Glyph::Note: {
        // two beamed eighth notes
        const double rx = h * 0.22, ry = h * 0.16;
        QPainterPath heads;
        const QPointF h1(cx - h * 0.36, cy + h * 0.34), h2(cx + h * 0.40, cy + h * 0.24);
        for (QPointF hc : {h1, h2}) {
            QPainterPath e;
            e.addEllipse(QPointF(0, 0), rx, ry);
            QTransform t;
            t.translate(hc.x(), hc.y());
            t.rotate(-22);
            heads.addPath(t.map(e));
        }
        const double sw = h * 0.12;
        QPainterPath stems;
        const double s1x = h1.x() + rx * 0.86, s2x = h2.x() + rx * 0.86;
        stems.addRect(QRectF(s1x - sw, cy - h * 0.42, sw, h1.y() - (cy - h * 0.42)));
        stems.addRect(QRectF(s2x - sw, cy - h * 0.52, sw, h2.y() - (cy - h * 0.52)));
        QPainterPath beam;
        beam.moveTo(s1x - sw, cy - h * 0.42);
        beam.lineTo(s2x, cy - h * 0.52 - h * 0.02);
        beam.lineTo(s2x, cy - h * 0.52 + h * 0.20);
        beam.lineTo(s1x - sw, cy - h * 0.42 + h * 0.22);
        beam.closeSubpath();
        path = heads.united(stems).united(beam);
        break;
    }
    }
    return path.simplified();
}

// A linden leaf emblem: a tilted, slightly lopsided heart-shaped blade with its veins cut
// out and a curved stem (drawn upright it would read as a spade).
QPainterPath leafPath(QPointF c, double h)
{
    QPainterPath blade;
    blade.moveTo(0.06, -0.50);                                        // tip
    blade.cubicTo(0.20, -0.36, 0.46, -0.22, 0.44, 0.02);              // right margin
    blade.cubicTo(0.42, 0.24, 0.24, 0.34, 0.10, 0.26);                // right lobe
    blade.cubicTo(0.06, 0.24, 0.03, 0.21, 0.01, 0.18);                // sinus
    blade.cubicTo(-0.04, 0.27, -0.22, 0.30, -0.32, 0.18);             // left lobe
    blade.cubicTo(-0.42, 0.06, -0.36, -0.20, -0.14, -0.34);           // left margin
    blade.cubicTo(-0.06, -0.40, 0.02, -0.44, 0.06, -0.50);
    blade.closeSubpath();
    QPainterPath veins;
    veins.moveTo(0.01, 0.14); veins.quadTo(0.02, -0.14, 0.05, -0.36);     // midrib
    veins.moveTo(0.03, -0.02); veins.quadTo(0.16, -0.06, 0.28, -0.02);    // one pair of veins
    veins.moveTo(0.02, -0.06); veins.quadTo(-0.10, -0.10, -0.22, -0.08);
    QPainterPath stem;
    stem.moveTo(0.01, 0.16);
    stem.cubicTo(0.00, 0.30, -0.04, 0.40, -0.12, 0.50);
    QPainterPath leaf = blade.subtracted(strokeToFill(veins, 0.05)).united(strokeToFill(stem, 0.07));
    QTransform t;
    t.translate(c.x(), c.y());
    t.rotate(24);
    t.scale(h, h);
    return t.map(leaf);
}

// ---------------------------------------------------------------- caps and glyph drawing

void drawGlyph(QPainter& p, const QPainterPath& glyph, const Scheme& s, bool lit, double glowPt)
{
    if (lit) {
        softFill(p, glyph, alpha(s.glow, 255), glowPt);
        softFill(p, glyph, alpha(s.glow, 255), glowPt * 0.5);
        softFill(p, glyph, alpha(s.glow, 160), glowPt * 0.25);
        p.fillPath(glyph, s.glyphOn);
    } else {
        p.fillPath(glyph.translated(0, 0.5), s.glyphShadow);
        p.fillPath(glyph, s.glyph);
    }
}

void drawCap(QPainter& p, const QPainterPath& shape, const Scheme& s, bool lit)
{
    const QRectF r = shape.boundingRect();
    softFill(p, shape, QColor(0, 0, 0, 110), 1.2, {0, 0.8});
    QColor hi = s.capHi, lo = s.capLo;
    if (lit) {
        hi = mix(mix(hi, Qt::white, 0.30), s.glow, 0.12);
        lo = mix(mix(lo, Qt::white, 0.20), s.glow, 0.12);
    }
    QLinearGradient g(r.topLeft(), r.bottomLeft());
    g.setColorAt(0, hi);
    g.setColorAt(1, lo);
    p.fillPath(shape, g);
    // gloss on the upper half
    QLinearGradient gloss(r.topLeft(), QPointF(r.left(), r.top() + r.height() * 0.55));
    gloss.setColorAt(0, QColor(255, 255, 255, lit ? 90 : 60));
    gloss.setColorAt(1, QColor(255, 255, 255, 0));
    p.fillPath(shape, gloss);
    if (lit) {
        // lit from behind: a bright centre fading to the edge
        QRadialGradient rg(r.center(), std::max(r.width(), r.height()) * 0.62);
        const QColor core = mix(s.glow, Qt::white, 0.45);
        rg.setColorAt(0, alpha(core, 150));
        rg.setColorAt(0.55, alpha(core, 60));
        rg.setColorAt(1, alpha(core, 0));
        p.fillPath(shape, rg);
    }
    // light rim along the top, dark edge all round
    p.save();
    p.setClipPath(shape);
    p.setPen(QPen(alpha(s.rim, lit ? 200 : 140), 0.7));
    p.setBrush(Qt::NoBrush);
    p.drawPath(shape.translated(0, 0.55));
    p.restore();
    p.setPen(QPen(alpha(lo.darker(200), 190), 0.5));
    p.setBrush(Qt::NoBrush);
    p.drawPath(shape);
    if (lit) {
        p.setPen(QPen(alpha(s.glow, 150), 0.6));
        p.drawPath(shape);
    }
}

// ---------------------------------------------------------------- element shapes per family

// The cap of a transport button inside its frame (points, frame-local).
QPainterPath transportCap(const QString& family, QSizeF frame, bool isPlay)
{
    const QPointF c(frame.width() / 2, frame.height() / 2);
    if (family == "neo" || family == "max") {
        const double d = isPlay ? 31 : 27;
        return circle(c, d);
    }
    const double w = 30, h = 40;
    const double radius = family == "nano" ? 10 : 5;
    return roundRect(QRectF(c.x() - w / 2, c.y() - h / 2, w, h), radius);
}

QPainterPath smallCap(QSizeF frame)
{
    const double w = std::min(15.0, frame.width() - 2), h = std::min(12.0, frame.height() - 2);
    return roundRect(QRectF((frame.width() - w) / 2, (frame.height() - h) / 2, w, h), 3.5);
}

QImage renderTransport(const QString& family, const Scheme& s, Glyph glyph, bool lit, QSize px)
{
    QImage img = canvas(px);
    QPainter p;
    begin(p, img);
    const QSizeF frame(px.width() / kScale, px.height() / kScale);
    const bool isPlay = glyph == Glyph::Play || glyph == Glyph::Pause;
    drawCap(p, transportCap(family, frame, isPlay), s, lit);
    const QPointF c(frame.width() / 2, frame.height() / 2);
    double h = 10;
    QPointF gc = c;
    if (glyph == Glyph::Play) { h = 12; gc.rx() += 0.8; }
    if (glyph == Glyph::Pause) h = 11;
    if (glyph == Glyph::FastForward || glyph == Glyph::Rewind) h = 9.5;
    if ((family == "neo" || family == "max") && !isPlay) h *= 0.9;
    drawGlyph(p, glyphPath(glyph, gc, h), s, lit, 2.6);
    p.end();
    return img;
}

QImage renderSmall(const Scheme& s, Glyph glyph, QSize px)
{
    QImage img = canvas(px);
    QPainter p;
    begin(p, img);
    const QSizeF frame(px.width() / kScale, px.height() / kScale);
    drawCap(p, smallCap(frame), s, false);
    const QPointF c(frame.width() / 2, frame.height() / 2);
    double h = 5.6;
    if (glyph == Glyph::Close) h = 4.8;
    if (glyph == Glyph::List) h = 5.6;
    if (glyph == Glyph::Note) h = 7.4;
    drawGlyph(p, glyphPath(glyph, c, h), s, false, 0);
    p.end();
    return img;
}

QImage renderKnob(const Scheme& s, QSize px)
{
    QImage img = canvas(px);
    QPainter p;
    begin(p, img);
    const QPointF c(px.width() / kScale / 2, px.height() / kScale / 2);
    const double d = std::min(px.width(), px.height()) / kScale - 2;
    const QPainterPath body = circle(c, d);
    softFill(p, body, QColor(0, 0, 0, 130), 1.0, {0, 0.7});
    QLinearGradient g(c.x(), c.y() - d / 2, c.x(), c.y() + d / 2);
    g.setColorAt(0, mix(s.rim, Qt::white, 0.5));
    g.setColorAt(1, mix(s.capLo, s.rim, 0.25));
    p.fillPath(body, g);
    p.setPen(QPen(alpha(s.capLo.darker(220), 200), 0.5));
    p.drawPath(body);
    // dished centre with the accent jewel
    const QPainterPath dish = circle(c, d * 0.56);
    QLinearGradient dg(c.x(), c.y() - d * 0.28, c.x(), c.y() + d * 0.28);
    dg.setColorAt(0, mix(s.capLo, Qt::black, 0.15));
    dg.setColorAt(1, mix(s.rim, Qt::white, 0.3));
    p.fillPath(dish, dg);
    const QPainterPath jewel = circle(c, d * 0.34);
    softFill(p, jewel, alpha(s.accent, 230), 1.2);
    QRadialGradient jg(c - QPointF(d * 0.05, d * 0.07), d * 0.2);
    jg.setColorAt(0, mix(s.accent, Qt::white, 0.65));
    jg.setColorAt(1, s.accent);
    p.fillPath(jewel, jg);
    p.end();
    return img;
}

QImage renderAlbum(const Scheme& s, QSize px)
{
    QImage img = canvas(px);
    QPainter p;
    begin(p, img);
    const double w = px.width() / kScale, h = px.height() / kScale;
    const double u = std::min(w, h);
    const QRectF r(0, 0, w, h);
    const QPainterPath frame = roundRect(r, u * 0.035);
    QLinearGradient bg(r.topLeft(), r.bottomRight());
    bg.setColorAt(0, s.artHi);
    bg.setColorAt(1, s.artLo);
    p.fillPath(frame, bg);
    // soft light from the upper left
    QRadialGradient light(QPointF(w * 0.25, h * 0.18), u * 0.9);
    light.setColorAt(0, QColor(255, 255, 255, 70));
    light.setColorAt(1, QColor(255, 255, 255, 0));
    p.fillPath(frame, light);

    // the record
    const QPointF c(w / 2, h / 2);
    const double d = u * 0.74;
    softFill(p, circle(c, d), QColor(0, 0, 0, 120), u * 0.035, {0, u * 0.02});
    QRadialGradient vinyl(c, d / 2);
    vinyl.setColorAt(0, QColor(40, 40, 44));
    vinyl.setColorAt(1, QColor(14, 14, 16));
    p.fillPath(circle(c, d), vinyl);
    p.setBrush(Qt::NoBrush);
    for (double f = 0.46; f < 0.97; f += 0.085) {
        p.setPen(QPen(QColor(255, 255, 255, 16), u * 0.006));
        p.drawEllipse(c, d * f / 2, d * f / 2);
    }
    // sheen: two opposite wedges of light
    p.save();
    p.setClipPath(circle(c, d).subtracted(circle(c, d * 0.40)));
    for (int k = 0; k < 2; ++k) {
        QPainterPath wedge;
        wedge.moveTo(c);
        wedge.arcTo(QRectF(c.x() - d, c.y() - d, 2 * d, 2 * d), 30 + k * 180, 28);
        wedge.closeSubpath();
        softFill(p, wedge, QColor(255, 255, 255, 34), u * 0.03);
    }
    p.restore();
    p.setPen(QPen(QColor(255, 255, 255, 40), u * 0.006));
    p.drawEllipse(c, d / 2 - u * 0.003, d / 2 - u * 0.003);
    // label
    const double ld = d * 0.36;
    QLinearGradient lg(c.x(), c.y() - ld / 2, c.x(), c.y() + ld / 2);
    lg.setColorAt(0, mix(s.accent, Qt::white, 0.25));
    lg.setColorAt(1, s.accent.darker(118));
    p.fillPath(circle(c, ld), lg);
    const QColor ink = s.artLo.darker(130);
    p.fillPath(glyphPath(Glyph::Note, c + QPointF(0, -ld * 0.02), ld * 0.36), alpha(ink, 220));
    // thin border so the placeholder reads as a cover
    p.setPen(QPen(QColor(0, 0, 0, 90), 0.5));
    p.setBrush(Qt::NoBrush);
    p.drawPath(frame);
    p.end();
    return img;
}

// ---------------------------------------------------------------- background pieces

void drawBody(QPainter& p, const QPainterPath& body, const Scheme& s)
{
    const QRectF r = body.boundingRect();
    QLinearGradient g(r.topLeft(), r.bottomLeft());
    g.setColorAt(0, s.bodyHi);
    g.setColorAt(1, s.bodyLo);
    p.fillPath(body, g);
    // broad sheen from the top
    QLinearGradient sheen(r.topLeft(), QPointF(r.left(), r.top() + std::min(r.height(), 60.0)));
    sheen.setColorAt(0, QColor(255, 255, 255, 46));
    sheen.setColorAt(1, QColor(255, 255, 255, 0));
    p.fillPath(body, sheen);
    p.save();
    p.setClipPath(body);
    p.setPen(QPen(alpha(s.rim, 150), 0.9));
    p.setBrush(Qt::NoBrush);
    p.drawPath(body.translated(0, 0.8));
    p.restore();
    p.setPen(QPen(QColor(0, 0, 0, 150), 0.8));
    p.drawPath(body);
}

// A recessed area in the body (well behind a button, frame round the album art).
void drawWell(QPainter& p, const QPainterPath& well, const Scheme& s, double darkness = 1.0)
{
    const QRectF r = well.boundingRect();
    // light lip under the bottom edge
    p.fillPath(well.translated(0, 0.7), alpha(s.rim, 110));
    QLinearGradient g(r.topLeft(), r.bottomLeft());
    g.setColorAt(0, mix(s.bodyLo, Qt::black, 0.35 * darkness));
    g.setColorAt(1, mix(s.bodyLo, Qt::black, 0.12 * darkness));
    p.fillPath(well, g);
    innerShadow(p, well, QColor(0, 0, 0, 150), 1.3, 1.1);
}

void drawScreen(QPainter& p, const QPainterPath& screen, const Scheme& s)
{
    const QRectF r = screen.boundingRect();
    p.fillPath(screen.translated(0, 0.7), alpha(s.rim, 120));
    QLinearGradient g(r.topLeft(), r.bottomLeft());
    g.setColorAt(0, s.screen);
    g.setColorAt(1, mix(s.screen, s.accent, 0.10));
    p.fillPath(screen, g);
    innerShadow(p, screen, QColor(0, 0, 0, 200), 1.6, 1.3);
    // glass reflection over the upper part
    p.save();
    p.setClipPath(screen);
    QPainterPath glass;
    glass.moveTo(r.left(), r.top());
    glass.lineTo(r.right(), r.top());
    glass.lineTo(r.right(), r.top() + r.height() * 0.28);
    glass.cubicTo(r.right() - r.width() * 0.4, r.top() + r.height() * 0.40,
                  r.left() + r.width() * 0.4, r.top() + r.height() * 0.46,
                  r.left(), r.top() + r.height() * 0.52);
    glass.closeSubpath();
    p.fillPath(glass, QColor(255, 255, 255, 14));
    p.restore();
}

// The groove in which the scrubber knob travels (its centre goes from x0 to x1 at y).
void drawGroove(QPainter& p, double x0, double x1, double y, const Scheme& s, double onScreen)
{
    const double t = 3.0;
    const QPainterPath groove = roundRect(QRectF(x0 - 1.5, y - t / 2, x1 - x0 + 3, t), t / 2);
    p.fillPath(groove.translated(0, 0.6), alpha(onScreen > 0 ? QColor(255, 255, 255) : s.rim,
                                                onScreen > 0 ? 28 : 110));
    p.fillPath(groove, QColor(0, 0, 0, 215));
    // a faint accent line in the bottom of the groove
    p.fillPath(roundRect(QRectF(x0 - 1, y, x1 - x0 + 2, 0.9), 0.45), alpha(s.accent, 70));
    // ticks at both ends
    p.setPen(QPen(alpha(onScreen > 0 ? s.accent : s.rim, 90), 0.6));
    for (double x : {x0, x1})
        p.drawLine(QPointF(x, y - t / 2 - 2.2), QPointF(x, y - t / 2 - 0.8));
}

void drawEmblem(QPainter& p, QPointF c, double h, const Scheme& s)
{
    const QPainterPath leaf = leafPath(c, h);
    p.fillPath(leaf.translated(0, 0.6), alpha(s.rim, 120));
    p.fillPath(leaf, alpha(mix(s.bodyLo, Qt::black, 0.45), 200));
}

QPainterPath unionOf(std::initializer_list<QPainterPath> paths)
{
    QPainterPath u;
    for (const auto& path : paths) u = u.united(path);
    return u;
}

QRectF inflate(const QRectF& r, double d) { return r.adjusted(-d, -d, d, d); }

// Well around one transport button, following the cap's shape.
QPainterPath transportWell(const Geometry& g, QPointF pos, QSizeF size, bool isPlay)
{
    QPainterPath cap = transportCap(g.family, size, isPlay);
    const QRectF fr = Geometry::frame(pos, size);
    cap.translate(fr.topLeft());
    const QRectF cr = cap.boundingRect();
    if (g.family == "neo" || g.family == "max") return circle(cr.center(), cr.width() + 3.4);
    const double radius = g.family == "nano" ? 11.5 : 6.5;
    return roundRect(inflate(cr, 1.6), radius);
}

QPainterPath smallWell(QPointF pos, QSizeF size)
{
    QPainterPath cap = smallCap(size);
    const QRectF fr = Geometry::frame(pos, size);
    return roundRect(inflate(cap.boundingRect().translated(fr.topLeft()), 1.2), 4.5);
}

void drawTransportWells(QPainter& p, const Geometry& g, const Scheme& s)
{
    drawWell(p, unionOf({transportWell(g, g.rrPos, g.rrSize, false),
                         transportWell(g, g.playPos, g.playSize, true),
                         transportWell(g, g.ffPos, g.ffSize, false)}),
             s);
}

// ---------------------------------------------------------------- the four backgrounds

void backgroundNano(QPainter& p, const Geometry& g, const Scheme& s)
{
    const QRectF all(0.5, 0.5, g.playerWidth - 1, g.playerHeight - 1);
    const QPainterPath body = roundRect(all, 8);
    drawBody(p, body, s);
    // base lip with the scrubber groove along the bottom edge
    p.save();
    p.setClipPath(body);
    const double lipTop = 57.8;
    QLinearGradient lg(0, lipTop, 0, g.playerHeight);
    lg.setColorAt(0, mix(s.bodyLo, Qt::black, 0.30));
    lg.setColorAt(1, mix(s.bodyLo, Qt::black, 0.45));
    p.fillRect(QRectF(0, lipTop, g.playerWidth, g.playerHeight - lipTop), lg);
    p.setPen(QPen(alpha(s.rim, 120), 0.6));
    p.drawLine(QPointF(0, lipTop - 0.3), QPointF(g.playerWidth, lipTop - 0.3));
    p.restore();
    drawGroove(p, g.scrubberMinPos.x(), g.scrubberMaxPos.x(), g.scrubberMinPos.y(), s, 1);
    drawWell(p, smallWell(g.closePos, g.closeSize), s);
    drawTransportWells(p, g, s);
    drawEmblem(p, QPointF(11, 38.5), 15, s);
    p.setPen(QPen(QColor(0, 0, 0, 150), 0.8));
    p.setBrush(Qt::NoBrush);
    p.drawPath(body);
}

void backgroundNeo(QPainter& p, const Geometry& g, const Scheme& s)
{
    const QRectF all(0.5, 0.5, g.playerWidth - 1, g.playerHeight - 1);
    const QPainterPath body = roundRect(all, 28);
    drawBody(p, body, s);
    const QPointF c(g.playerWidth / 2, g.playerHeight / 2);
    // the dial: a raised disc in a shallow channel
    const double rDial = 60.5;
    drawWell(p, circle(c, 2 * rDial + 3.2), s, 0.8);
    const QPainterPath dial = circle(c, 2 * rDial);
    softFill(p, dial, QColor(0, 0, 0, 120), 1.5, {0, 1.0});
    QRadialGradient dg(c - QPointF(0, rDial * 0.6), rDial * 1.7);
    dg.setColorAt(0, mix(s.bodyHi, Qt::white, 0.12));
    dg.setColorAt(1, mix(s.bodyLo, s.bodyHi, 0.25));
    p.fillPath(dial, dg);
    p.save();
    p.setClipPath(dial);
    p.setPen(QPen(alpha(s.rim, 170), 0.8));
    p.setBrush(Qt::NoBrush);
    p.drawPath(dial.translated(0, 0.7));
    p.restore();
    // transport bar across the middle
    const QRectF bar(g.rrPos.x() - 17.5, g.playPos.y() - 19.0, g.ffPos.x() - g.rrPos.x() + 35, 38);
    drawWell(p, roundRect(bar, 19), s);
    drawGroove(p, g.scrubberMinPos.x(), g.scrubberMaxPos.x(), g.scrubberMinPos.y(), s, 0);
    drawWell(p, unionOf({smallWell(g.playlistMenuPos, g.playlistMenuSize),
                         smallWell(g.trackMenuPos, g.trackMenuSize)}),
             s);
    drawWell(p, smallWell(g.closePos, g.closeSize), s);
    drawEmblem(p, QPointF(c.x(), 27), 16, s);
}

void backgroundMini(QPainter& p, const Geometry& g, const Scheme& s, bool minimised)
{
    const double W = minimised ? g.playerMinWidth : g.playerWidth;
    const double H = minimised ? g.playerMinHeight : g.playerHeight;
    const QRectF all(0.5, 0.5, W - 1, H - 1);
    const QPainterPath body = roundRect(all, 6);
    drawBody(p, body, s);
    // side rail with the four small buttons
    const double railW = g.playerMinWidth;
    p.save();
    p.setClipPath(body);
    QLinearGradient rg(0, 0, 0, H);
    rg.setColorAt(0, mix(s.rail, Qt::white, 0.10));
    rg.setColorAt(1, s.rail);
    p.fillRect(QRectF(0, 0, railW, H), rg);
    QLinearGradient sheen(0, 0, 0, 40);
    sheen.setColorAt(0, QColor(255, 255, 255, 40));
    sheen.setColorAt(1, QColor(255, 255, 255, 0));
    p.fillRect(QRectF(0, 0, railW, H), sheen);
    if (!minimised) {
        p.setPen(QPen(QColor(0, 0, 0, 120), 0.8));
        p.drawLine(QPointF(railW - 0.2, 0), QPointF(railW - 0.2, H));
    }
    p.setPen(QPen(alpha(s.rim, 120), 0.7));
    p.drawPath(body.translated(0, 0.8));
    p.restore();
    drawWell(p, unionOf({smallWell(g.closePos, g.closeSize), smallWell(g.minPos, g.minSize)}), s);
    drawWell(p, unionOf({smallWell(g.playlistMenuPos, g.playlistMenuSize),
                         smallWell(g.trackMenuPos, g.trackMenuSize)}),
             s);
    drawEmblem(p, QPointF(railW / 2, 48), 13, s);

    if (!minimised) {
        // album art frame
        const QRectF art = Geometry::frame(g.trackArtPos, g.trackArtSize);
        drawWell(p, roundRect(inflate(art, 1.0), 3), s, 1.4);
        // screen with groove and texts
        const double left = g.trackNamePos.x() - g.trackTextWidth / 2 - 1.0;
        const QRectF screen(left, 57.2, W - 1.6 - left, H - 1.6 - 57.2);
        drawScreen(p, roundRect(screen, 4), s);
        p.save();
        p.setClipRect(screen.adjusted(0.6, 0, -0.6, 0));
        drawGroove(p, g.scrubberMinPos.x(), g.scrubberMaxPos.x(), g.scrubberMinPos.y(), s, 1);
        p.restore();
        drawTransportWells(p, g, s);
        drawEmblem(p, QPointF((left + g.rrPos.x() - 17) / 2 + 0.5, g.rrPos.y()), 15, s);
    }
    p.setPen(QPen(QColor(0, 0, 0, 150), 0.8));
    p.setBrush(Qt::NoBrush);
    p.drawPath(body);
}

void backgroundMax(QPainter& p, const Geometry& g, const Scheme& s, bool minimised)
{
    const double W = g.playerWidth;
    const double H = minimised ? g.playerMinHeight : g.playerHeight;
    const QRectF all(0.5, 0.5, W - 1, H - 1);
    const QPainterPath body = roundRect(all, minimised ? 6 : 9);
    drawBody(p, body, s);
    const double stripH = g.playerMinHeight;
    p.save();
    p.setClipPath(body);
    QLinearGradient rg(0, 0, 0, stripH);
    rg.setColorAt(0, mix(s.rail, Qt::white, 0.12));
    rg.setColorAt(1, s.rail);
    p.fillRect(QRectF(0, 0, W, stripH), rg);
    if (!minimised) {
        p.setPen(QPen(QColor(0, 0, 0, 130), 0.8));
        p.drawLine(QPointF(0, stripH + 0.3), QPointF(W, stripH + 0.3));
    }
    p.setPen(QPen(alpha(s.rim, 120), 0.7));
    p.drawPath(body.translated(0, 0.8));
    p.restore();
    drawWell(p, unionOf({smallWell(g.closePos, g.closeSize), smallWell(g.minPos, g.minSize)}), s);
    drawWell(p, unionOf({smallWell(g.playlistMenuPos, g.playlistMenuSize),
                         smallWell(g.trackMenuPos, g.trackMenuSize)}),
             s);
    // centre of the title strip: leaf and a grille of slots
    const double mid = (g.minPos.x() + g.playlistMenuPos.x()) / 2;
    drawEmblem(p, QPointF(mid, 10), 12.5, s);
    for (int side = -1; side <= 1; side += 2) {
        for (int i = 0; i < 4; ++i) {
            const double x = mid + side * (10 + i * 6.5);
            const QPainterPath slot = roundRect(QRectF(x - 2, 8.6, 4, 2.4), 1.2);
            p.fillPath(slot.translated(0, 0.5), alpha(s.rim, 90));
            p.fillPath(slot, QColor(0, 0, 0, 150));
        }
    }

    if (!minimised) {
        const QRectF art = Geometry::frame(g.trackArtPos, g.trackArtSize);
        drawWell(p, roundRect(inflate(art, 1.0), 3), s, 1.4);
        const QRectF screen(2, art.bottom() + 0.6, W - 4, 204.5 - art.bottom());
        drawScreen(p, roundRect(screen, 3.5), s);
        p.save();
        p.setClipRect(screen.adjusted(0.5, 0, -0.5, 0));
        drawGroove(p, g.scrubberMinPos.x() + 1.2, g.scrubberMaxPos.x() - 1.2,
                   g.scrubberMinPos.y() + 0.9, s, 1);
        p.restore();
        const QRectF bar(g.rrPos.x() - 17, g.playPos.y() - 18.5, g.ffPos.x() - g.rrPos.x() + 34, 37);
        drawWell(p, roundRect(bar, 18.5), s);
        // speaker grilles either side of the transport
        for (double gx : {bar.left() / 2 + 1, (bar.right() + W) / 2 - 1}) {
            for (int row = -2; row <= 2; ++row) {
                for (int col = -1; col <= 1; ++col) {
                    if (std::abs(row) == 2 && col != 0) continue;
                    const QPointF dot(gx + col * 4, g.playPos.y() + row * 4);
                    p.fillPath(circle(dot + QPointF(0, 0.5), 2.0), alpha(s.rim, 80));
                    p.fillPath(circle(dot, 2.0), QColor(0, 0, 0, 150));
                }
            }
        }
    }
    p.setPen(QPen(QColor(0, 0, 0, 150), 0.8));
    p.setBrush(Qt::NoBrush);
    p.drawPath(body);
}

QImage renderBackground(const Geometry& g, const Scheme& s, bool minimised, QSize px)
{
    QImage img = canvas(px);
    QPainter p;
    p.begin(&img);
    p.setRenderHint(QPainter::Antialiasing);
    // points -> pixels; a background may be asked for at a size other than its skin (never
    // with the built-in table, but keep the drawing proportional)
    const double W = minimised ? g.playerMinWidth : g.playerWidth;
    const double H = minimised ? g.playerMinHeight : g.playerHeight;
    p.scale(px.width() / W, px.height() / H);
    if (g.family == "nano") backgroundNano(p, g, s);
    else if (g.family == "neo") backgroundNeo(p, g, s);
    else if (g.family == "max") backgroundMax(p, g, s, minimised);
    else backgroundMini(p, g, s, minimised);
    p.end();
    return img;
}

} // namespace

QImage renderElement(const QString& theme, const QString& element)
{
    const QString family = theme.section('-', 0, 0);
    const QString colour = theme.section('-', 1);
    const Geometry& g = geometryFor(family);
    const Scheme& s = schemeFor(colour);
    const QSize px = elementPixelSize(g, element);
    const bool lit = element.endsWith("-on");
    if (element == "player")
        return renderBackground(g, s, false, px);
    if (element == "player-min") {
        // nano and neo cannot be minimised: their minimised skin is the full player
        const bool strip = family == "mini" || family == "max";
        return renderBackground(g, s, strip, px);
    }
    if (element.startsWith("play") && !element.startsWith("playlist"))
        return renderTransport(family, s, Glyph::Play, lit, px);
    if (element.startsWith("pause")) return renderTransport(family, s, Glyph::Pause, lit, px);
    if (element.startsWith("ff")) return renderTransport(family, s, Glyph::FastForward, lit, px);
    if (element.startsWith("rr")) return renderTransport(family, s, Glyph::Rewind, lit, px);
    if (element == "close") return renderSmall(s, Glyph::Close, px);
    if (element == "min") return renderSmall(s, Glyph::Minimise, px);
    if (element == "playlist-menu") return renderSmall(s, Glyph::List, px);
    if (element == "track-menu") return renderSmall(s, Glyph::Note, px);
    if (element == "track-scrubber") return renderKnob(s, px);
    if (element == "track-album") return renderAlbum(s, px);
    return canvas(px);
}

} // namespace skingen
