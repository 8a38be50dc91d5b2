#pragma once

#include "model/records.h"

#include <QAbstractListModel>
#include <QWidget>

class PlayerController;
class QLineEdit;
class QListView;

// A text as the search compares it: accents and case gone ("Éclair" -> "eclair").
QString foldForSearch(const QString& text);

// The tracks of the current playlist as "title - artist", in playlist order, narrowed to those
// whose title and artist hold every word of the query (case and accents aside). Each track's
// folded text is made once when the list is set, not per keystroke.
class FoundTracksModel final : public QAbstractListModel {
    Q_OBJECT

public:
    using QAbstractListModel::QAbstractListModel;

    void setTracks(const QList<Track>& tracks);
    void setQuery(const QString& query);

    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    // The playlist index of a row, and the row of a playlist index (-1 when not listed).
    qsizetype trackIndex(int row) const;
    int rowOf(qsizetype trackIndex) const;
    // The id of a row's track (null for none), and its row after the list changed.
    QUuid trackId(int row) const;
    int rowOfId(const QUuid& id) const;

private:
    void filter();

    QList<QUuid> m_ids;
    QStringList m_labels;
    QStringList m_keys;
    QStringList m_words;
    QList<qsizetype> m_rows;
};

// "Find track...": a search line over the current playlist's tracks beside the skin. Up and
// Down move, Return plays the chosen track, Escape closes; the list follows the playlist
// while the window is open.
class FindTrackWindow final : public QWidget {
    Q_OBJECT

public:
    FindTrackWindow(PlayerController* controller, QWidget* player);
    Q_DISABLE_COPY_MOVE(FindTrackWindow)

    // Shows all tracks with the current one chosen, the search line empty and focused.
    void open();
    // Plays the chosen row's track and closes; nothing without a chosen row.
    void playChosen();

    QLineEdit* searchLine() const { return m_search; }
    QListView* list() const { return m_list; }
    FoundTracksModel* model() const { return m_model; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void reload();
    void choose(int row);
    void placeBesidePlayer();

    PlayerController* m_controller;
    QWidget* m_player;
    QLineEdit* m_search;
    QListView* m_list;
    FoundTracksModel* m_model;
};
