#pragma once

#include "theme/themedata.h"

#include <QColor>
#include <QFont>
#include <QPointF>
#include <QRectF>
#include <QSizeF>
#include <QString>

#include <optional>

class Config;

// Where every element of the skin sits, for the current theme geometry: rectangles at the
// scale of superSized, presence, hit-testing and the scrubber's arithmetic. Reads Config on
// every call, holds nothing of its own.
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

    explicit SkinLayout(const Config* config) : m_config(config) {}

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

    const Config* m_config;
};
