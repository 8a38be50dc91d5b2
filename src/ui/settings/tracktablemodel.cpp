#include "ui/settings/tracktablemodel.h"

#include "ui/settings/settingsicons.h"

TrackTableModel::TrackTableModel(QObject* parent)
    : QAbstractTableModel(parent), m_handleIcon(settingsicons::dragHandle()),
      m_trashIcon(settingsicons::trash())
{
}

void TrackTableModel::setTracks(const QList<Track>& tracks)
{
    beginResetModel();
    m_tracks = tracks;
    endResetModel();
}

void TrackTableModel::appendTracks(const QList<Track>& tracks)
{
    if (tracks.isEmpty())
        return;
    const int first = int(m_tracks.size());
    beginInsertRows({}, first, first + int(tracks.size()) - 1);
    m_tracks.append(tracks);
    endInsertRows();
}

void TrackTableModel::removeTracks(const QUuid& id)
{
    for (qsizetype row = m_tracks.size() - 1; row >= 0; --row) {
        if (m_tracks.at(row).id != id)
            continue;
        beginRemoveRows({}, int(row), int(row));
        m_tracks.removeAt(row);
        endRemoveRows();
    }
}

void TrackTableModel::moveTrack(qsizetype from, qsizetype to)
{
    if (from == to || from < 0 || to < 0 || from >= m_tracks.size() || to >= m_tracks.size())
        return;
    // a move down names the row after the destination, as beginMoveRows counts before removal
    const int destination = int(from < to ? to + 1 : to);
    beginMoveRows({}, int(from), int(from), {}, destination);
    m_tracks.move(from, to);
    endMoveRows();
}

int TrackTableModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_tracks.size());
}

int TrackTableModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant TrackTableModel::data(const QModelIndex& index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return {};
    const Track& track = m_tracks.at(index.row());
    switch (index.column()) {
    case HandleColumn:
        if (role == Qt::DecorationRole)
            return m_handleIcon;
        if (role == Qt::ToolTipRole)
            return tr("Drag to reorder");
        break;
    case NameColumn:
        if (role == Qt::DisplayRole || role == Qt::EditRole)
            return track.trackName;
        break;
    case ArtistColumn:
        if (role == Qt::DisplayRole || role == Qt::EditRole)
            return track.artist;
        break;
    case TrashColumn:
        if (role == Qt::DecorationRole)
            return m_trashIcon;
        if (role == Qt::ToolTipRole)
            return tr("Delete track");
        break;
    default:
        break;
    }
    return {};
}

bool TrackTableModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    if (role != Qt::EditRole ||
        !checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return false;
    if (index.column() != NameColumn && index.column() != ArtistColumn)
        return false;
    Track& track = m_tracks[index.row()];
    QString& field = index.column() == NameColumn ? track.trackName : track.artist;
    // the text is kept as typed: no trimming, no length limit, empty allowed
    field = value.toString();
    emit dataChanged(index, index, {Qt::DisplayRole, Qt::EditRole});
    emit trackEdited();
    return true;
}

QVariant TrackTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    if (section == NameColumn)
        return tr("Name");
    if (section == ArtistColumn)
        return tr("Artist");
    return QString();
}

Qt::ItemFlags TrackTableModel::flags(const QModelIndex& index) const
{
    if (!index.isValid())
        return Qt::ItemIsDropEnabled;
    Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsDragEnabled | Qt::ItemIsDropEnabled;
    if (index.column() == NameColumn || index.column() == ArtistColumn)
        f |= Qt::ItemIsEditable;
    return f;
}
