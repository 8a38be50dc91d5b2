#pragma once

#include <QObject>
#include <QPointF>
#include <QRectF>

#include <optional>

class QWidget;

// Pulls the player window flush against an edge of the screen's usable area when a move
// leaves it within snapThreshold of that edge (or overhanging it by as much).
class WindowSnapDelegate final : public QObject {
    Q_OBJECT

public:
    explicit WindowSnapDelegate(QObject* parent = nullptr);
    Q_DISABLE_COPY_MOVE(WindowSnapDelegate)

    double snapThreshold() const { return m_snapThreshold; }

    // Where a window with this frame goes on a screen with this usable area; nothing when
    // no edge is within the threshold. y grows downwards: "bottom" is the larger y; left
    // wins over right and bottom over top.
    static std::optional<QPointF> snappedOrigin(const QRectF& frame, const QRectF& available,
                                                double threshold = 10);

    // Snaps the window after each of its moves (X11; Wayland does not let clients place
    // windows).
    void attach(QWidget* window);
    // Applies one snap to the window now; true when it moved.
    bool windowDidMove(QWidget* window);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    const double m_snapThreshold = 10;
    QWidget* m_window = nullptr;
    bool m_moving = false;
};
