#pragma once

#include <QTableView>

#include <functional>

class QMimeData;
class TrackDropDelegate;

// The playlist editor's track table: rows are dragged by any cell to reorder them, files
// dropped from the file manager are imported, the trash column deletes its row. What a drag or
// drop does is decided by the editor through the hooks.
class TrackTableView final : public QTableView {
    Q_OBJECT

public:
    // Type of a row drag's data: the row's track id in canonical form, never a pointer.
    static QString trackIdMimeType();

    struct Hooks {
        // marks the row as dragged and returns the drag's data
        std::function<QMimeData*(int row)> beginDrag;
        std::function<TrackDropDelegate(int row)> dropDelegate;
        // file drops; false refuses the drop
        std::function<bool(const QMimeData*)> importDrop;
        std::function<void(int row)> deleteRow;
    };

    explicit TrackTableView(QWidget* parent = nullptr);
    Q_DISABLE_COPY_MOVE(TrackTableView)

    void setHooks(Hooks hooks) { m_hooks = std::move(hooks); }
    void setModel(QAbstractItemModel* model) override;

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dragLeaveEvent(QDragLeaveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    enum class DropKind { None, Files, Row };
    static DropKind dropKind(const QMimeData* mime);
    void enterRowAt(const QPoint& pos);

    Hooks m_hooks;
    QPoint m_pressPos;
    int m_pressRow = -1;
    // the row the current drag is over; the dragged track moves only when this changes
    int m_hoverRow = -1;
};
