#pragma once

#include "model/playlistformats.h"
#include "model/records.h"

#include <QWidget>

#include <optional>

class Config;
class QComboBox;
class QLineEdit;
class QMimeData;
class QPushButton;
class QToolButton;
class TrackDropDelegate;
class TrackTableModel;
class TrackTableView;

// The "Playlists" tab: choose, create, rename and delete playlists, and edit the chosen one's
// tracks. The table is a working copy of the playlist's file; every change is written through.
class PlaylistSettingsView final : public QWidget {
    Q_OBJECT

public:
    static constexpr int kMaxPlaylists = 20;
    static constexpr int kMaxNameLength = 32;

    explicit PlaylistSettingsView(Config* config, QWidget* parent = nullptr);
    ~PlaylistSettingsView() override;
    Q_DISABLE_COPY_MOVE(PlaylistSettingsView)

    // The first count user-perceived characters (grapheme clusters) of text.
    static QString leadingCharacters(const QString& text, int count);

    std::optional<QUuid> selectedPlaylistID() const { return m_selectedPlaylistID; }
    // Choosing another playlist reloads the table and writes nothing.
    void setSelectedPlaylistID(std::optional<QUuid> id);
    // The chosen playlist, else the first of the catalogue, else none.
    std::optional<QUuid> effectivePlaylistID() const;
    std::optional<Playlist> currentPlaylist() const;
    const QList<Track>& selectedTracks() const;
    const std::optional<Track>& draggedTrack() const { return m_draggedTrack; }
    bool deletePlaylistWarning() const { return m_deletePlaylistWarning; }

    void refreshEditor();
    void reloadTracks();
    void saveSelectedTracks();

    // The editor's actions, as its controls run them.
    void newPlaylist();
    void renamePlaylist(const QString& text);
    void deleteTrack(const QUuid& id);
    void requestDeletePlaylist();
    void confirmDeletePlaylist();
    // Opens the "Add track to playlist" file dialog; the import runs when it is accepted.
    void addTracksFromPanel();
    // The panel import of already chosen files into the effective playlist: read off the main
    // thread, appended in the given order, written once.
    void importFiles(const QStringList& paths);
    // The local files of a drop are read concurrently and appended as they are read, each
    // batch of finished reads written at once; false when the drop holds no local file.
    bool importDroppedFiles(const QMimeData* mime);

    // "Export playlist...": a save dialog for an M3U8 copy of the shown playlist.
    void exportFromPanel();
    // Writes the shown playlist's tracks to path as M3U8, atomically; a failure is printed and
    // shown in a message that waits for nobody.
    bool exportPlaylist(const QString& path);

    // A row drag starts: the row becomes draggedTrack; the returned data carries its id.
    QMimeData* beginTrackDrag(int row);
    TrackDropDelegate dropDelegate(int row);

    QComboBox* picker() const { return m_picker; }
    QToolButton* newPlaylistButton() const { return m_newButton; }
    QLineEdit* nameField() const { return m_nameField; }
    TrackTableView* trackTable() const { return m_table; }
    TrackTableModel* trackModel() const { return m_tracks; }
    QPushButton* addTracksButton() const { return m_addButton; }
    QPushButton* exportButton() const { return m_exportButton; }
    QPushButton* deleteButton() const { return m_deleteButton; }

signals:
    // A panel import or a drop finished and wrote (or, for a deleted target, dropped) its rows.
    void importFinished(const QUuid& target);

protected:
    void showEvent(QShowEvent* event) override;

private:
    void buildLayout();
    void syncControls();
    void startImport(const QStringList& paths, const QUuid& target, bool isPanel);
    void readImported(const QList<playlistformats::Item>& items, const QUuid& target, bool isPanel,
                      bool inOrder);
    void appendImported(const QUuid& target, const QList<Track>& tracks, bool writeAlways);
    void writePendingRows();
    void writeTracks(const QUuid& id, const QList<Track>& tracks);
    // A playlist file written by someone else (the command line, a second start): the shown
    // one is read again, so the next edit here does not write over what was added.
    void takeOutsideSave(const QUuid& id);

    Config* m_config;
    std::optional<QUuid> m_selectedPlaylistID;
    TrackTableModel* m_tracks = nullptr;
    std::optional<Track> m_draggedTrack;
    bool m_deletePlaylistWarning = false;
    // the shown playlist, while it has dropped rows that are not written yet
    std::optional<QUuid> m_pendingRows;
    // true while this view writes a playlist file itself
    bool m_writing = false;

    QComboBox* m_picker = nullptr;
    QToolButton* m_newButton = nullptr;
    QLineEdit* m_nameField = nullptr;
    TrackTableView* m_table = nullptr;
    QPushButton* m_addButton = nullptr;
    QPushButton* m_exportButton = nullptr;
    QPushButton* m_deleteButton = nullptr;
};
