#pragma once

#include "model/records.h"

#include <QAbstractTableModel>
#include <QIcon>

// The playlist editor's working copy of a playlist's tracks, shown as the four-column table:
// drag handle, "Name", "Artist", trash. Edits of the two text columns are reported through
// trackEdited so the editor can write the playlist file.
class TrackTableModel final : public QAbstractTableModel {
    Q_OBJECT

public:
    enum Column { HandleColumn, NameColumn, ArtistColumn, TrashColumn, ColumnCount };

    explicit TrackTableModel(QObject* parent = nullptr);
    Q_DISABLE_COPY_MOVE(TrackTableModel)

    const QList<Track>& tracks() const { return m_tracks; }
    void setTracks(const QList<Track>& tracks);
    void appendTracks(const QList<Track>& tracks);
    // Every row whose id matches goes; the others keep their order.
    void removeTracks(const QUuid& id);
    // Moves one row so that it ends at index to; rows between shift towards from.
    void moveTrack(qsizetype from, qsizetype to);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

signals:
    // A "Name" or "Artist" cell was changed by the user.
    void trackEdited();

private:
    QList<Track> m_tracks;
    QIcon m_handleIcon;
    QIcon m_trashIcon;
};
