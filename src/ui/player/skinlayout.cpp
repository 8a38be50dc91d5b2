#include "ui/player/skinlayout.h"

#include <QFontDatabase>
#include <QFontMetricsF>

#include <algorithm>
#include <array>
#include <cmath>

using Element = SkinLayout::Element;

double SkinLayout::bounded(double value, double limit)
{
    if (std::isnan(value))
        return 0;
    return std::clamp(value, -limit, limit);
}

double SkinLayout::scale() const
{
    return m_scale;
}

QSizeF SkinLayout::skinSize(bool minimized) const
{
    const double s = scale();
    const double w = minimized ? m_geometry.playerMinWidth : m_geometry.playerWidth;
    const double h = minimized ? m_geometry.playerMinHeight : m_geometry.playerHeight;
    // the theme may say anything (zero, negative, NaN): a window stays big enough to see and grab
    return {std::max(kMinWindowPoints, bounded(w)) * s, std::max(kMinWindowPoints, bounded(h)) * s};
}

QRectF SkinLayout::centred(const QPointF& pos, double width, double height) const
{
    const double s = scale();
    const double w = std::max(0.0, bounded(width)) * s;
    const double h = std::max(0.0, bounded(height)) * s;
    const QPointF c(bounded(pos.x()) * s, bounded(pos.y()) * s);
    return {c.x() - w / 2, c.y() - h / 2, w, h};
}

QRectF SkinLayout::rect(Element element) const
{
    const ThemeData& c = m_geometry;
    switch (element) {
    case Element::Close:
        return centred(c.closePos, c.closeWidth, c.closeHeight);
    case Element::Minimize:
        return centred(c.minPos, c.minWidth, c.minHeight);
    case Element::Rewind:
        return centred(c.rrPos, c.rrWidth, c.rrHeight);
    case Element::PlayPause:
        return centred(c.playPos, c.playWidth, c.playHeight);
    case Element::FastForward:
        return centred(c.ffPos, c.ffWidth, c.ffHeight);
    case Element::PlaylistMenu:
        return centred(c.playlistMenuPos, c.playlistMenuWidth, c.playlistMenuHeight);
    case Element::TrackMenu:
        return centred(c.trackMenuPos, c.trackMenuWidth, c.trackMenuHeight);
    case Element::Scrubber:
        return knobRect(knobX(0));
    case Element::AlbumArt:
        return centred(c.trackArtPos, c.trackArtWidth, c.trackArtHeight);
    case Element::TrackName:
    case Element::Artist:
        return textRect(element);
    }
    return {};
}

int SkinLayout::level(Element element) const
{
    switch (element) {
    case Element::Scrubber:
        return 100;
    case Element::AlbumArt:
    case Element::TrackName:
    case Element::Artist:
        return 1;
    default:
        return 0;
    }
}

bool SkinLayout::isPresent(Element element, const State& state) const
{
    const ThemeData& c = m_geometry;
    switch (element) {
    case Element::Minimize:
        return c.minWidth > 0;
    case Element::PlaylistMenu:
        return c.playlistMenuWidth > 0;
    case Element::TrackMenu:
        return c.trackMenuWidth > 0;
    case Element::Scrubber:
        return state.playing;
    case Element::AlbumArt:
        return c.trackArtWidth > 0;
    case Element::TrackName:
        return c.trackTextSize >= 1 && state.hasTracks;
    case Element::Artist:
        return c.artistTextSize >= 1 && state.hasTracks;
    default:
        return true;
    }
}

std::optional<Element> SkinLayout::elementAt(const QPointF& point, const State& state,
                                             double progress) const
{
    // topmost first: the knob, then level 1, then level 0, each later-drawn first
    static constexpr std::array order{
        Element::Scrubber,     Element::AlbumArt, Element::FastForward,
        Element::PlayPause,    Element::Rewind,   Element::TrackMenu,
        Element::PlaylistMenu, Element::Minimize, Element::Close};
    const QSizeF size = skinSize(state.minimized);
    if (point.x() < 0 || point.y() < 0 || point.x() >= size.width() || point.y() >= size.height())
        return std::nullopt;
    for (const Element element : order) {
        if (!isPresent(element, state))
            continue;
        const QRectF area =
            element == Element::Scrubber ? knobRect(knobX(progress)) : rect(element);
        if (!area.isEmpty() && area.contains(point))
            return element;
    }
    return std::nullopt;
}

double SkinLayout::scrubberMinX() const
{
    return bounded(m_geometry.scrubberMinPos.x()) * scale();
}

double SkinLayout::scrubberMaxX() const
{
    return bounded(m_geometry.scrubberMaxPos.x()) * scale();
}

double SkinLayout::scrubberY() const
{
    return bounded(m_geometry.scrubberMinPos.y()) * scale();
}

double SkinLayout::knobX(double progress) const
{
    if (!std::isfinite(progress))
        progress = 0;
    return scrubberMinX() + (scrubberMaxX() - scrubberMinX()) * progress;
}

QRectF SkinLayout::knobRect(double centreX) const
{
    const double s = scale();
    const double w = std::max(0.0, bounded(m_geometry.scrubberWidth)) * s;
    const double h = std::max(0.0, bounded(m_geometry.scrubberHeight)) * s;
    return {centreX - w / 2, scrubberY() - h / 2, w, h};
}

double SkinLayout::clampToTravel(double x) const
{
    // max first, then min: a theme whose max lies left of its min pins the knob to max
    return std::min(std::max(x, scrubberMinX()), scrubberMaxX());
}

double SkinLayout::fractionAt(double x) const
{
    const double length = scrubberMaxX() - scrubberMinX();
    if (length == 0)
        return 0;
    return (clampToTravel(x) - scrubberMinX()) / length;
}

QFont SkinLayout::textFont(Element element) const
{
    const qint64 size =
        element == Element::Artist ? m_geometry.artistTextSize : m_geometry.trackTextSize;
    QFont font = QFontDatabase::systemFont(QFontDatabase::GeneralFont);
    font.setPointSizeF(std::clamp(double(size), 1.0, kMaxFontPoints) * scale());
    font.setBold(element != Element::Artist);
    return font;
}

QRectF SkinLayout::textRect(Element element) const
{
    const QPointF pos =
        element == Element::Artist ? m_geometry.trackArtistPos : m_geometry.trackNamePos;
    const double width = std::max(0.0, bounded(m_geometry.trackTextWidth));
    const double height = QFontMetricsF(textFont(element)).height();
    const QPointF c(bounded(pos.x()) * scale(), bounded(pos.y()) * scale());
    return {c.x() - width / 2, c.y() - height / 2, width, height};
}

QColor SkinLayout::textColor() const
{
    QColor color = m_geometry.textReversed ? QColor(Qt::white) : QColor(Qt::black);
    color.setAlphaF(0.65f);
    return color;
}

QString SkinLayout::elided(const QString& text, const QFont& font, double width)
{
    // one line: a line break in a hand-edited name must not make a second one
    QString line = text;
    line.replace(QLatin1Char('\n'), QLatin1Char(' ')).replace(QLatin1Char('\r'), QLatin1Char(' '));
    return QFontMetricsF(font).elidedText(line, Qt::ElideRight, width);
}
