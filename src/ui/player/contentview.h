#pragma once

#include "ui/player/skinlayout.h"
#include "ui/player/skintext.h"

#include <QImage>
#include <QPixmap>
#include <QWidget>

#include <array>
#include <optional>

class TrackPlayer;
class Config;
class CurrentTracks;
class PlayerController;
class QMenu;
namespace theme {
class SkinImageCache;
}

// The skinned player: background and up to eleven elements placed by the theme geometry,
// drawn from the current theme's images. The widget takes the skin's size.
class ContentView final : public QWidget {
    Q_OBJECT

public:
    ContentView(Config* config, TrackPlayer* player, PlayerController* controller,
                QWidget* parent = nullptr);
    ~ContentView() override;
    Q_DISABLE_COPY_MOVE(ContentView)

    using Element = SkinLayout::Element;

    const SkinLayout& layout() const { return m_layout; }
    SkinLayout::State state() const;
    CurrentTracks* currentTracks() const { return m_tracks; }
    TrackPlayer* player() const { return m_player; }

    bool isMinimized() const { return m_isMinimized; }
    // What the minimise button toggles (without its sound).
    void setMinimized(bool minimized);
    bool isHoveringPlay() const { return m_isHoveringPlay; }
    bool isHoveringRR() const { return m_isHoveringRR; }
    bool isHoveringFF() const { return m_isHoveringFF; }
    bool isDragging() const { return m_isDragging; }
    double dragX() const { return m_dragX; }
    // The knob's centre x as drawn now.
    double knobX() const;

    // The image an element shows in the current state (null for the texts).
    QImage imageFor(Element element) const;
    // The text an element shows, before elision; empty when it is absent.
    QString textFor(Element element) const;

    // The skin's pull-down menus, built from the current state.
    QMenu* playlistMenu();
    QMenu* trackMenu();

    // Shown on a right-click anywhere on the skin.
    void setPlayerMenu(QMenu* menu) { m_playerMenu = menu; }

    // The size the window takes: the skin's, never larger than the screen's usable area.
    QSize windowSize() const;

    // What a click on the element does (buttons act, menus open); used by assistive
    // technologies as well as the pointer.
    void activate(Element element);
    // A rectangle in widget coordinates covering the element as drawn now.
    QRect elementRect(Element element) const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void changeEvent(QEvent* event) override;

private slots:
    void skinChanged();

private:
    void click(Element element);
    void openMenu(Element element);
    void setHover(std::optional<Element> element);
    void beginDrag();
    void dragTo(double x);
    void endDrag();
    void playingChanged(bool playing);
    void updateKnob();
    void updateProgressStep();
    void updateSize();
    void updateShape(const QSize& size);
    const QPixmap& scaledBackground();
    QImage backgroundImage() const;
    void paintText(QPainter& painter, Element element, const QRect& dirty);

    Config* m_config;
    TrackPlayer* m_player;
    PlayerController* m_controller;
    SkinLayout m_layout;
    CurrentTracks* m_tracks = nullptr;
    // the theme's images as last read; read again when their files change
    theme::SkinImageCache* m_images = nullptr;

    bool m_isMinimized = false;
    bool m_isHoveringPlay = false;
    bool m_isHoveringRR = false;
    bool m_isHoveringFF = false;
    bool m_isDragging = false;
    double m_dragX = 0;

    std::optional<Element> m_pressed;
    QPointF m_pressPos;
    QRect m_knobArea;
    // what the scaled background was made from: the image, the skin and window sizes, the screen
    struct BackgroundKey {
        qint64 image = 0;
        QSizeF skin;
        QSize window;
        qreal ratio = 0;
        bool operator==(const BackgroundKey&) const = default;
    };
    QPixmap m_background;
    // the track name's and the artist's line as laid out for their box, until either changes
    std::array<std::optional<skintext::Line>, 2> m_textLayouts;
    BackgroundKey m_backgroundKey;
    QMenu* m_menu = nullptr;
    QMenu* m_playerMenu = nullptr;
    QSize m_shapeSize;
    qint64 m_shapeKey = 0;
};
