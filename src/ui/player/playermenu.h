#pragma once

#include <QMenu>

class TrackPlayer;
class CurrentTracks;
class PlayerController;
class FindTrackWindow;

// The "Player" menu: play/pause, loop, shuffle, volume, and the Playlists and Tracks
// submenus. Its content follows the state it shows; the actions with shortcuts can be added
// to a window so that the keys work while it has focus.
class PlayerMenu final : public QMenu {
    Q_OBJECT

public:
    // withWindowItems adds "Settings..." and "Quit", for places with no other way to them.
    PlayerMenu(PlayerController* controller, TrackPlayer* player, bool withWindowItems,
               QWidget* parent = nullptr);
    Q_DISABLE_COPY_MOVE(PlayerMenu)

    QAction* playPauseAction() const { return m_playPause; }
    QAction* loopAction() const { return m_loop; }
    QAction* shuffleAction() const { return m_shuffle; }
    QAction* stopAfterAction() const { return m_stopAfter; }
    QAction* volumeUpAction() const { return m_volumeUp; }
    QAction* volumeDownAction() const { return m_volumeDown; }
    QMenu* playlistsMenu() const { return m_playlists; }
    QMenu* tracksMenu() const { return m_tracks; }
    // "Find track..." (J, Ctrl+F), with the menu's parent window: opens the search window.
    QAction* findAction() const { return m_find; }
    // Null until first opened.
    FindTrackWindow* findWindow() const { return m_findWindow; }
    QList<QAction*> shortcutActions() const;

    // Recomputes titles, checkmarks and submenus from the current state.
    void refresh();

private:
    void updateTitles();

    PlayerController* m_controller;
    TrackPlayer* m_player;
    CurrentTracks* m_currentTracks;
    QAction* m_playPause = nullptr;
    QAction* m_loop = nullptr;
    QAction* m_shuffle = nullptr;
    QAction* m_stopAfter = nullptr;
    QAction* m_volumeUp = nullptr;
    QAction* m_volumeDown = nullptr;
    QMenu* m_playlists = nullptr;
    QMenu* m_tracks = nullptr;
    QAction* m_find = nullptr;
    FindTrackWindow* m_findWindow = nullptr;
};
