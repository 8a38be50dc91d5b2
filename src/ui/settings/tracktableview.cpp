#include "ui/settings/tracktableview.h"

#include "ui/settings/trackdropdelegate.h"
#include "ui/settings/tracktablemodel.h"

#include <QApplication>
#include <QDrag>
#include <QDragEnterEvent>
#include <QHeaderView>
#include <QLineEdit>
#include <QMimeData>
#include <QStyledItemDelegate>

namespace {

// Commits a cell on every keystroke, so each edit reaches the playlist file at once.
class LiveEditDelegate final : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override
    {
        QWidget* editor = QStyledItemDelegate::createEditor(parent, option, index);
        if (auto* line = qobject_cast<QLineEdit*>(editor)) {
            line->setFrame(false);
            connect(line, &QLineEdit::textEdited, this,
                    [this, line] { emit const_cast<LiveEditDelegate*>(this)->commitData(line); });
        }
        return editor;
    }
};

bool hasLocalFile(const QMimeData* mime)
{
    const QList<QUrl> urls = mime->urls();
    return std::any_of(urls.begin(), urls.end(), [](const QUrl& url) { return url.isLocalFile(); });
}

} // namespace

QString TrackTableView::trackIdMimeType()
{
    return QStringLiteral("application/x-lindenfold-track-id");
}

TrackTableView::TrackTableView(QWidget* parent) : QTableView(parent)
{
    setSelectionMode(NoSelection);
    setEditTriggers(DoubleClicked | EditKeyPressed);
    setItemDelegate(new LiveEditDelegate(this));
    setAcceptDrops(true);
    viewport()->setAcceptDrops(true);
    setDropIndicatorShown(false);
    setDragDropMode(DragDrop);
    setAutoScroll(true);
    setWordWrap(false);
    setMouseTracking(true); // the handle shows an open hand
    setCornerButtonEnabled(false);
    setShowGrid(false);
    setAlternatingRowColors(true);
    verticalHeader()->hide();
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    horizontalHeader()->setHighlightSections(false);
    connect(this, &QAbstractItemView::clicked, this, [this](const QModelIndex& index) {
        if (index.column() == TrackTableModel::TrashColumn && m_hooks.deleteRow)
            m_hooks.deleteRow(index.row());
    });
}

void TrackTableView::setModel(QAbstractItemModel* model)
{
    QTableView::setModel(model);
    QHeaderView* header = horizontalHeader();
    header->setMinimumSectionSize(24);
    header->setSectionResizeMode(TrackTableModel::HandleColumn, QHeaderView::Fixed);
    header->setSectionResizeMode(TrackTableModel::NameColumn, QHeaderView::Stretch);
    header->setSectionResizeMode(TrackTableModel::ArtistColumn, QHeaderView::Stretch);
    header->setSectionResizeMode(TrackTableModel::TrashColumn, QHeaderView::Fixed);
    header->resizeSection(TrackTableModel::HandleColumn, 24);
    header->resizeSection(TrackTableModel::TrashColumn, 24);
}

void TrackTableView::mousePressEvent(QMouseEvent* event)
{
    m_pressRow = -1;
    if (event->button() == Qt::LeftButton) {
        m_pressPos = event->position().toPoint();
        m_pressRow = rowAt(m_pressPos.y());
    }
    QTableView::mousePressEvent(event);
}

void TrackTableView::mouseMoveEvent(QMouseEvent* event)
{
    if (event->buttons() == Qt::NoButton) {
        const QPoint pos = event->position().toPoint();
        if (columnAt(pos.x()) == TrackTableModel::HandleColumn && rowAt(pos.y()) >= 0)
            viewport()->setCursor(Qt::OpenHandCursor);
        else
            viewport()->unsetCursor();
    }
    const bool dragging = (event->buttons() & Qt::LeftButton) && m_pressRow >= 0 &&
                          state() != EditingState &&
                          (event->position().toPoint() - m_pressPos).manhattanLength() >=
                              QApplication::startDragDistance();
    if (!dragging || !m_hooks.beginDrag) {
        QTableView::mouseMoveEvent(event);
        return;
    }
    const int row = m_pressRow;
    m_pressRow = -1;
    auto* drag = new QDrag(this);
    drag->setMimeData(m_hooks.beginDrag(row));
    drag->exec(Qt::MoveAction | Qt::CopyAction, Qt::MoveAction);
}

void TrackTableView::mouseReleaseEvent(QMouseEvent* event)
{
    m_pressRow = -1;
    QTableView::mouseReleaseEvent(event);
}

TrackTableView::DropKind TrackTableView::dropKind(const QMimeData* mime)
{
    if (!mime)
        return DropKind::None;
    // links that are not local files (web addresses) are refused, even when they carry text
    if (mime->hasUrls())
        return hasLocalFile(mime) ? DropKind::Files : DropKind::None;
    if (mime->hasFormat(trackIdMimeType()) || mime->hasText())
        return DropKind::Row;
    return DropKind::None;
}

void TrackTableView::enterRowAt(const QPoint& pos)
{
    const int row = rowAt(pos.y());
    if (row == m_hoverRow)
        return;
    m_hoverRow = row;
    if (row >= 0 && m_hooks.dropDelegate)
        m_hooks.dropDelegate(row).dropEntered();
}

void TrackTableView::dragEnterEvent(QDragEnterEvent* event)
{
    m_hoverRow = -1;
    const DropKind kind = dropKind(event->mimeData());
    if (kind == DropKind::None) {
        QTableView::dragEnterEvent(event);
        event->ignore();
        return;
    }
    setState(DraggingState);
    if (kind == DropKind::Row)
        enterRowAt(event->position().toPoint());
    event->setDropAction(kind == DropKind::Files ? Qt::CopyAction : Qt::MoveAction);
    event->accept();
}

void TrackTableView::dragMoveEvent(QDragMoveEvent* event)
{
    QTableView::dragMoveEvent(event); // auto-scrolls near the edges
    const DropKind kind = dropKind(event->mimeData());
    if (kind == DropKind::None) {
        event->ignore();
        return;
    }
    const QPoint pos = event->position().toPoint();
    if (kind == DropKind::Row) {
        enterRowAt(pos);
        // rows take the drop; the empty area below them does not
        if (rowAt(pos.y()) < 0) {
            event->ignore();
            return;
        }
    }
    event->setDropAction(kind == DropKind::Files ? Qt::CopyAction : Qt::MoveAction);
    event->accept();
}

void TrackTableView::dragLeaveEvent(QDragLeaveEvent* event)
{
    m_hoverRow = -1;
    QTableView::dragLeaveEvent(event);
}

void TrackTableView::dropEvent(QDropEvent* event)
{
    stopAutoScroll();
    setState(NoState);
    m_hoverRow = -1;
    const DropKind kind = dropKind(event->mimeData());
    const int row = rowAt(event->position().toPoint().y());
    bool accepted = false;
    if (kind == DropKind::Files && m_hooks.importDrop)
        accepted = m_hooks.importDrop(event->mimeData());
    else if (kind == DropKind::Row && row >= 0 && m_hooks.dropDelegate)
        accepted = m_hooks.dropDelegate(row).performDrop();
    if (!accepted) {
        event->ignore();
        return;
    }
    event->setDropAction(kind == DropKind::Files ? Qt::CopyAction : Qt::MoveAction);
    event->accept();
}
