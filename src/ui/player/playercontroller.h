#pragma once

#include "model/records.h"

#include <QObject>
#include <QUrl>

#include <optional>

class AudioPlayer;
class Config;

// The deciding logic shared by the skin, the menus and the desktop's media controls:
// which track plays, what the transport buttons and menu entries do, what follows the
// end of a track. Holds no state of its own beyond the two shared objects.
class PlayerController final : public QObject {
    Q_OBJECT

public:
    PlayerController(Config* config, AudioPlayer* audioPlayer, QObject* parent = nullptr);
    Q_DISABLE_COPY_MOVE(PlayerController)

    Config* config() const { return m_config; }
    AudioPlayer* audioPlayer() const { return m_audioPlayer; }

    enum class Direction { Previous, Next };

    // Hands the track at currentTrackIndex of the current playlist to the audio player;
    // false when there is nothing to play.
    bool playCurrentTrack();
    // previousTrack/nextTrack, then restart playback if it runs, else "click".
    void skipTrack(Direction direction);

    // Transport buttons of the skin (with their interface sounds).
    void pressPlay();
    void pressPause();
    void pressRewind() { skipTrack(Direction::Previous); }
    void pressFastForward() { skipTrack(Direction::Next); }
    // The view has toggled its minimised state; "min" only while nothing plays.
    void pressMinimize();
    void pressClose();

    // The end-of-track handler installed as the audio player's onTrackFinished.
    void trackFinished();
    // Shortly before the end: the file that will follow without a gap (empty for none). At
    // the joint the choice holds only if loop, shuffle, the playlist and its tracks are still
    // what it was made from; otherwise it is made again, as at the end of a track.
    QUrl queueNextTrack();
    void nextTrackStarted();
    // Installs the three handlers above into the audio player.
    void installTrackFinishedHandler();

    // Entries of the skin's playlist and track menus ("pop" when sounds are on).
    void choosePlaylistFromSkin(qint64 index);
    void chooseTrackFromSkin(qint64 index);

    // Commands of the "Player" menu (no interface sounds).
    void menuPlayPause();
    void menuToggleLoop();
    void menuToggleShuffle();
    void menuVolumeUp();
    void menuVolumeDown();
    void menuChoosePlaylist(qint64 index);
    void menuChooseTrack(qint64 index);

    // "Edit playlists" and "Settings...": whoever owns the settings window shows it.
    void requestSettings() { emit settingsRequested(); }

signals:
    void settingsRequested();

private:
    void playSound(const QString& name);
    // Makes playlist i current (the shared steps of both playlist menus); false when i is
    // already current or names no playlist.
    bool switchPlaylist(qint64 index);

    // What follows the current track, and what that was decided from.
    struct NextChoice {
        qint64 playlistIndex = 0;
        qint64 fromIndex = 0;
        bool loop = false;
        bool shuffle = false;
        QList<Track> tracks;
        qint64 index = 0;
        // false: playback stops and the index returns to 0
        bool plays = false;
    };
    NextChoice chooseNext() const;
    bool stillHolds(const NextChoice& choice) const;
    void follow(const NextChoice& choice);

    Config* m_config;
    AudioPlayer* m_audioPlayer;
    std::optional<NextChoice> m_nextChoice;
};
