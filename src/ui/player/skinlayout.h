#pragma once

#include "theme/themedata.h"

#include <QColor>
#include <QFont>
#include <QPointF>
#include <QRectF>
#include <QSizeF>
#include <QString>

#include <optional>

// Where every element of the skin sits, for one theme geometry at one scale: rectangles,
// presence, hit-testing and the scrubber's arithmetic. A plain value: the window makes a new
// one when the theme or the enlargement changes.
class SkinLayout final {
public:
    // Stacking order: later entries lie above earlier ones of the same level.
    enum class Element {
        Close,
        Minimize,
        Rewind,
        PlayPause,
        FastForward,
        PlaylistMenu,
        TrackMenu,
        Scrubber,
        AlbumArt,
        TrackName,
        Artist,
    };
    static constexpr int kElementCount = 11;

    // The parts of the view's state that decide presence and size.
    struct State {
        bool minimized = false;
        bool playing = false;
        bool hasTracks = false;
    };

    // The layout of a geometry drawn at a scale (1, or 1.5 when enlarged).
    SkinLayout(const ThemeData& geometry, double scale) : m_geometry(geometry), m_scale(scale) {}
    static double scaleFor(bool superSized) { return superSized ? 1.5 : 1.0; }

    // Largest position or size, in skin points, that a theme value turns into: a theme.json
    // with NaN, infinities or 1e12 must not become a pixmap of that size.
    static constexpr double kMaxPoints = 4096;
    static constexpr double kMaxFontPoints = 512;
    static constexpr double kMinWindowPoints = ThemeData::kMinWindowPoints;
    static constexpr double kDragThreshold = 10;

    double scale() const;
    QSizeF skinSize(bool minimized) const;

    bool isPresent(Element element, const State& state) const;
    // The element's rectangle in skin coordinates at the current scale (the scrubber at
    // progress 0; see knobRect).
    QRectF rect(Element element) const;
    int level(Element element) const;
    // The topmost present element whose area contains the point; texts take no clicks.
    std::optional<Element> elementAt(const QPointF& point, const State& state,
                                     double progress = 0) const;

    // Scrubber travel and knob.
    double scrubberMinX() const;
    double scrubberMaxX() const;
    double scrubberY() const;
    double knobX(double progress) const;
    QRectF knobRect(double centreX) const;
    // The knob's centre x and the seek fraction for a pointer at x.
    double clampToTravel(double x) const;
    double fractionAt(double x) const;

    // Track texts: font scaled, box trackTextWidth wide (unscaled) and one line high.
    QFont textFont(Element element) const;
    QRectF textRect(Element element) const;
    QColor textColor() const;
    static QString elided(const QString& text, const QFont& font, double width);

    // NaN becomes 0, everything is bounded to +-limit.
    static double bounded(double value, double limit = kMaxPoints);

private:
    QRectF centred(const QPointF& pos, double width, double height) const;

    ThemeData m_geometry;
    double m_scale = 1.0;
};
