// The contact sheet: every built-in theme composed the way the player window shows it.
#include "skinart.h"

#include <QFont>
#include <QFontMetricsF>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

#include <tuple>

namespace skingen {

namespace {

constexpr double kKnobProgress = 0.4;
const char* kTrackName = "Morning Light";
const char* kArtist = "The Lindens";

QRectF scaled(const QRectF& r) { return {r.x() * kScale, r.y() * kScale, r.width() * kScale, r.height() * kScale}; }

// Draws a skin image into its frame the way the player does: stretched, nearest-neighbour.
void drawSkinImage(QPainter& p, const QImage& img, QPointF pos, QSizeF size)
{
    if (size.width() <= 0 || size.height() <= 0 || img.isNull()) return;
    const QRectF target = scaled(Geometry::frame(pos, size));
    p.save();
    p.setRenderHint(QPainter::SmoothPixmapTransform, false);
    p.drawImage(target, img);
    p.restore();
}

void drawText(QPainter& p, const QString& text, bool bold, int size, QPointF pos, double width,
              bool reversed)
{
    if (size < 1) return;
    QFont font("DejaVu Sans");
    font.setPixelSize(int(size * kScale));
    font.setBold(bold);
    QFontMetricsF fm(font);
    const double w = width * kScale;
    const QString shown = fm.elidedText(text, Qt::ElideRight, w);
    const QRectF box(pos.x() * kScale - w / 2, pos.y() * kScale - fm.height() / 2, w, fm.height());
    p.save();
    p.setFont(font);
    p.setOpacity(0.65);
    p.setPen(reversed ? Qt::white : Qt::black);
    p.drawText(box, Qt::AlignCenter | Qt::TextSingleLine, shown);
    p.restore();
}

// The window shadow under a skin (the player window has a system shadow).
void drawShadow(QPainter& p, const QRectF& r, double radius)
{
    QImage layer(int(r.width() + 80), int(r.height() + 80), QImage::Format_ARGB32_Premultiplied);
    layer.fill(Qt::transparent);
    {
        QPainter lp(&layer);
        lp.setRenderHint(QPainter::Antialiasing);
        QPainterPath path;
        path.addRoundedRect(QRectF(40, 48, r.width(), r.height()), radius, radius);
        lp.fillPath(path, QColor(0, 0, 0, 95));
    }
    blurImage(layer, 26);
    p.drawImage(QPointF(r.x() - 40, r.y() - 40), layer);
}

// One skin at its origin (painter already translated), full or minimised.
void composeSkin(QPainter& p, ImageSource src, const QString& theme, bool minimised)
{
    const Geometry& g = geometryFor(theme.section('-', 0, 0));
    const double W = minimised ? g.playerMinWidth : g.playerWidth;
    const double H = minimised ? g.playerMinHeight : g.playerHeight;
    const QRectF skin(0, 0, W * kScale, H * kScale);
    drawShadow(p, skin, 8 * kScale);
    p.save();
    p.setClipRect(skin); // the window edge cuts off whatever lies outside the skin
    p.setRenderHint(QPainter::SmoothPixmapTransform, true);
    p.drawImage(skin, src(theme, minimised ? "player-min" : "player"));
    drawSkinImage(p, src(theme, "close"), g.closePos, g.closeSize);
    drawSkinImage(p, src(theme, "min"), g.minPos, g.minSize);
    drawSkinImage(p, src(theme, "rr"), g.rrPos, g.rrSize);
    drawSkinImage(p, src(theme, "play-on"), g.playPos, g.playSize); // pointer over play
    drawSkinImage(p, src(theme, "ff"), g.ffPos, g.ffSize);
    drawSkinImage(p, src(theme, "playlist-menu"), g.playlistMenuPos, g.playlistMenuSize);
    drawSkinImage(p, src(theme, "track-menu"), g.trackMenuPos, g.trackMenuSize);
    drawSkinImage(p, src(theme, "track-album"), g.trackArtPos, g.trackArtSize);
    drawText(p, kTrackName, true, g.trackTextSize, g.trackNamePos, g.trackTextWidth, g.textReversed);
    drawText(p, kArtist, false, g.artistTextSize, g.trackArtistPos, g.trackTextWidth, g.textReversed);
    const double x = g.scrubberMinPos.x() + (g.scrubberMaxPos.x() - g.scrubberMinPos.x()) * kKnobProgress;
    drawSkinImage(p, src(theme, "track-scrubber"), QPointF(x, g.scrubberMinPos.y()), g.scrubberSize);
    p.restore();
}

void label(QPainter& p, const QString& text, QPointF topLeft, double width, int px, bool bold,
           const QColor& colour, Qt::Alignment align = Qt::AlignHCenter)
{
    QFont font("DejaVu Sans");
    font.setPixelSize(px);
    font.setBold(bold);
    p.save();
    p.setFont(font);
    p.setPen(colour);
    p.drawText(QRectF(topLeft.x(), topLeft.y(), width, px * 1.6), align | Qt::AlignTop, text);
    p.restore();
}

} // namespace

QImage renderContactSheet(ImageSource src)
{
    // layout in points, rendered at kScale: nano and neo in a row of seven each, then the
    // mini themes three to a row (each with its minimised strip) beside the max column
    const double margin = 36, gapX = 26, labelH = 24, rowGap = 20, sectionGap = 26;
    const double width = 1240;
    struct Cell { QString theme; bool minimised; QPointF at; double labelWidth; };
    std::vector<Cell> cells;
    std::vector<std::tuple<QString, double, double, double>> headings; // name, x, y, rule end
    auto family = [](const QString& f) {
        QStringList t;
        for (const QString& c : colours()) t << f + "-" + c;
        return t;
    };
    double y = 96;
    for (const QString& f : {QString("nano"), QString("neo")}) {
        const Geometry& g = geometryFor(f);
        headings.push_back({f, margin, y, width - margin});
        y += 34;
        const double rowW = 7 * g.playerWidth + 6 * gapX;
        double x = (width - rowW) / 2;
        for (const QString& t : family(f)) {
            cells.push_back({t, false, {x, y}, g.playerWidth});
            x += g.playerWidth + gapX;
        }
        y += g.playerHeight + labelH + rowGap + sectionGap;
    }
    {
        const Geometry& mini = geometryFor("mini");
        const Geometry& max = geometryFor("max");
        const double stripGap = 10;
        const double cellW = mini.playerWidth + stripGap + mini.playerMinWidth;
        const double miniW = 3 * cellW + 2 * gapX;
        const double colGap = 60;
        const double x0 = (width - (miniW + colGap + max.playerWidth)) / 2;
        const double maxX = x0 + miniW + colGap;
        headings.push_back({"mini", margin, y, maxX - 24});
        headings.push_back({"max", maxX, y, width - margin});
        y += 34;
        const QStringList minis = family("mini");
        for (int i = 0; i < minis.size(); ++i) {
            const double x = x0 + (i % 3) * (cellW + gapX);
            const double cy = y + (i / 3) * (mini.playerHeight + labelH + rowGap);
            cells.push_back({minis[i], false, {x, cy}, cellW});
            cells.push_back({minis[i], true, {x + mini.playerWidth + stripGap, cy}, 0});
        }
        cells.push_back({"max-graphite", false, {maxX, y}, max.playerWidth});
        cells.push_back({"max-graphite", true, {maxX, y + max.playerHeight + 14}, 0});
        const double miniH = 3 * (mini.playerHeight + labelH + rowGap) - rowGap;
        const double maxH = max.playerHeight + 14 + max.playerMinHeight + labelH;
        y += std::max(miniH, maxH);
    }
    const double height = y + margin;

    QImage sheet(int(width * kScale), int(height * kScale), QImage::Format_ARGB32_Premultiplied);
    QPainter p(&sheet);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    QLinearGradient bg(0, 0, 0, sheet.height());
    bg.setColorAt(0, QColor("#f1f1f3"));
    bg.setColorAt(1, QColor("#dcdde1"));
    p.fillRect(sheet.rect(), bg);

    label(p, "Lindenfold themes", QPointF(margin, 26) * kScale, 600 * kScale, int(26 * kScale), true,
          QColor("#2b2d31"), Qt::AlignLeft);
    label(p, "22 built-in skins in four families at actual size (mini and max with their minimised strips), play under the pointer, knob at 40 %",
          QPointF(margin, 60) * kScale, 1000 * kScale, int(12 * kScale), false, QColor("#6a6d73"),
          Qt::AlignLeft);
    for (const auto& [name, hx, hy, ruleEnd] : headings) {
        label(p, name, QPointF(hx, hy) * kScale, 300 * kScale, int(15 * kScale), true,
              QColor("#3a3d42"), Qt::AlignLeft);
        p.setPen(QPen(QColor(0, 0, 0, 40), kScale));
        const double textW = name.size() * 10.5 + 8;
        p.drawLine(QPointF(hx + textW, hy + 11) * kScale, QPointF(ruleEnd, hy + 11) * kScale);
    }
    for (const Cell& c : cells) {
        const Geometry& g = geometryFor(c.theme.section('-', 0, 0));
        p.save();
        p.translate(c.at * kScale);
        composeSkin(p, src, c.theme, c.minimised);
        p.restore();
        if (!c.minimised) {
            double below = g.playerHeight + 7;
            if (g.family == "max") below += 14 + g.playerMinHeight;
            label(p, c.theme, QPointF(c.at.x(), c.at.y() + below) * kScale, c.labelWidth * kScale,
                  int(11 * kScale), false, QColor("#45484e"));
        }
    }
    p.end();
    return sheet;
}

} // namespace skingen
