#include "ui/player/playermenu.h"

#include "model/config.h"
#include "playback/trackplayer.h"
#include "model/currenttracks.h"
#include "ui/player/menuentries.h"
#include "control/playercontroller.h"
#include "ui/player/findtrackwindow.h"

PlayerMenu::PlayerMenu(PlayerController* controller, TrackPlayer* player, bool withWindowItems,
                       QWidget* parent)
    : QMenu(tr("Player"), parent), m_controller(controller), m_player(player),
      m_currentTracks(controller->config()->trackList())
{
    PlayerController* c = m_controller;
    m_playPause = addAction(tr("Play"), c, [c] { c->playPause(); });
    m_playPause->setShortcut(QKeySequence(Qt::Key_Space));
    m_loop = addAction(tr("Loop tracks"), c, &PlayerController::toggleLoop);
    m_loop->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_L));
    m_shuffle = addAction(tr("Shuffle tracks"), c, &PlayerController::toggleShuffle);
    m_shuffle->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
    // shown as loop and shuffle are: a checkmark while it is on
    m_stopAfter = addAction(tr("Stop after this track"), c,
                            [c] { c->setStopsAfterCurrentTrack(!c->stopsAfterCurrentTrack()); });
    connect(c, &PlayerController::stopsAfterCurrentTrackChanged, this, &PlayerMenu::updateTitles);
    addSeparator();
    m_volumeUp = addAction(tr("Volume Up"), c, &PlayerController::volumeUp);
    // "+" sits on the "=" key of many layouts: both work
    m_volumeUp->setShortcuts(
        {QKeySequence(Qt::CTRL | Qt::Key_Plus), QKeySequence(Qt::CTRL | Qt::Key_Equal)});
    m_volumeDown = addAction(tr("Volume Down"), c, &PlayerController::volumeDown);
    m_volumeDown->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Minus));
    addSeparator();
    m_playlists = addMenu(tr("Playlists"));
    m_tracks = addMenu(tr("Tracks"));
    if (withWindowItems) {
        m_find = addAction(tr("Find track..."), this, [this] {
            if (!m_findWindow)
                m_findWindow = new FindTrackWindow(m_controller, parentWidget());
            m_findWindow->open();
        });
        m_find->setShortcuts({QKeySequence(Qt::Key_J), QKeySequence(Qt::CTRL | Qt::Key_F)});
        addSeparator();
        addAction(tr("Settings..."), c, &PlayerController::requestSettings);
        addAction(tr("Quit"), c, &PlayerController::quit);
    }

    Config* config = c->config();
    connect(m_player, &TrackPlayer::isPlayingChanged, this, &PlayerMenu::updateTitles);
    connect(config, &Config::loopTracksChanged, this, &PlayerMenu::updateTitles);
    connect(config, &Config::shuffleTracksChanged, this, &PlayerMenu::updateTitles);
    // the submenus are built when the menu opens, not on every change of what they list
    connect(this, &QMenu::aboutToShow, this, &PlayerMenu::refresh);
    refresh();
}

QList<QAction*> PlayerMenu::shortcutActions() const
{
    QList<QAction*> actions{m_playPause, m_loop, m_shuffle, m_volumeUp, m_volumeDown};
    if (m_find)
        actions.append(m_find);
    return actions;
}

void PlayerMenu::updateTitles()
{
    const Config* config = m_controller->config();
    m_playPause->setText(m_player->isPlaying() ? tr("Pause") : tr("Play"));
    m_loop->setIcon(config->loopTracks() ? menuentries::checkmark() : QIcon());
    m_shuffle->setIcon(config->shuffleTracks() ? menuentries::checkmark() : QIcon());
    m_stopAfter->setIcon(m_controller->stopsAfterCurrentTrack() ? menuentries::checkmark()
                                                                : QIcon());
}

void PlayerMenu::refresh()
{
    updateTitles();
    const Config* config = m_controller->config();
    PlayerController* c = m_controller;

    m_playlists->clear();
    QStringList names;
    for (const Playlist& playlist : config->playlists())
        names << playlist.name;
    menuentries::addChoices(m_playlists, names, config->currentPlaylistIndex(),
                            [c](qint64 i) { c->choosePlaylist(i); });

    m_tracks->clear();
    const QList<Track>& tracks = m_currentTracks->tracks();
    names.clear();
    names.reserve(tracks.size());
    for (const Track& track : tracks)
        names << track.trackName;
    menuentries::addChoices(m_tracks, names, config->currentTrackIndex(),
                            [c](qint64 i) { c->chooseTrack(i); });
    // the Tracks submenu exists only while the current playlist has tracks
    m_tracks->menuAction()->setVisible(!tracks.isEmpty());
}
