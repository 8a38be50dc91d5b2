#pragma once

#include "model/records.h"

#include <QObject>
#include <QUrl>

#include <optional>

class Config;
class TrackPlayer;

// The deciding logic shared by the skin, the menus and the desktop's media controls:
// which track plays, what the transport buttons and menu entries do, what follows the
// end of a track. Holds no state of its own beyond the two shared objects.
//
// An action takes the interface sound its caller wants ("click", "pop", "min"; empty for
// none): the skin gives one, the "Player" menu none. The sound plays where the action's
// rules say so, and only when sounds are on.
class PlayerController final : public QObject {
    Q_OBJECT
    Q_PROPERTY(bool stopsAfterCurrentTrack READ stopsAfterCurrentTrack WRITE
                   setStopsAfterCurrentTrack NOTIFY stopsAfterCurrentTrackChanged)

public:
    PlayerController(Config* config, TrackPlayer* player, QObject* parent = nullptr);
    Q_DISABLE_COPY_MOVE(PlayerController)

    Config* config() const { return m_config; }
    TrackPlayer* player() const { return m_player; }

    enum class Direction { Previous, Next };

    // Hands the track at currentTrackIndex of the current playlist to the audio player;
    // false when there is nothing to play.
    bool playCurrentTrack();

    // Plays the current track; the sound when there is nothing to play.
    void play(const QString& sound = {});
    void pause();
    // Pauses what plays, plays what does not.
    void playPause(const QString& sound = {});
    // previousTrack/nextTrack, then restart playback if it runs, else the sound.
    void skipTrack(Direction direction, const QString& sound = {});
    // Track i of the current playlist: played at once if something plays, else the sound.
    void chooseTrack(qint64 index, const QString& sound = {});
    // Playlist i becomes current (saved, track 0, playback stopped); the sound when it changed.
    void choosePlaylist(qint64 index, const QString& sound = {});
    // The view has toggled its minimised state; the sound only while nothing plays.
    void minimizeToggled(const QString& sound = {});
    void quit();

    // Loop and shuffle, saved at once; a value equal to the current one changes nothing.
    void setLoop(bool loop);
    void setShuffle(bool shuffle);
    void toggleLoop();
    void toggleShuffle();
    // Steps of 0.1 within 0...1, for a loaded file only.
    void volumeUp();
    void volumeDown();
    // Seeks by an offset from the current position; past the end it moves on to the next
    // track. A file still loading has no length yet: the seek lands once it has.
    void seekBy(double seconds, const QString& sound = {});
    // Seeks to a position within the loaded file; outside it nothing happens.
    void seekTo(double seconds);

    // What the end of the loaded file does: the next track, or a stop.
    void trackFinished();
    // The file that will follow without a gap (empty for none), chosen now and handed to the
    // player ahead of time: when a track starts and again when loop, shuffle, the current
    // playlist or its tracks change. At the joint the choice holds only if it named the file
    // that started and loop, shuffle, the playlist and its tracks are still what it was made
    // from; otherwise it is made again, as at the end of a track.
    QUrl queueNextTrack();
    void nextTrackStarted(const QUrl& url);
    // From now on the player's end of file and its gapless joint are handled here, and the
    // file to follow is handed to it (the player window does this once it is shown).
    void installTrackFinishedHandler();

    // "Stop after this track": the current track plays to its end, then playback stops as at
    // the end of a playlist that does not loop. Cleared once used and by any track change made
    // by hand.
    bool stopsAfterCurrentTrack() const { return m_stopsAfterCurrentTrack; }
    void setStopsAfterCurrentTrack(bool stops);

    // What nowPlaying last told, for whoever starts listening later.
    const std::optional<std::pair<Track, Playlist>>& lastNowPlaying() const { return m_nowPlaying; }

    // "Edit playlists" and "Settings...": whoever owns the settings window shows it.
    void requestSettings() { emit settingsRequested(); }

signals:
    void settingsRequested();
    void stopsAfterCurrentTrackChanged(bool stops);
    // The track really sounds from its start: its file opened after a play, or it followed
    // the previous one at the gapless joint. Never for a file that failed to open.
    void nowPlaying(const Track& track, const Playlist& playlist);

private:
    void playSound(const QString& name);
    void fileOpened(const QUrl& url);
    // Hands the file that follows by the rules to the player, when one is loaded.
    void pushNextTrack();
    // The current track and playlist, if the index points at a track.
    std::optional<std::pair<Track, Playlist>> currentEntry() const;
    void announce(const Track& track, const Playlist& playlist);
    // the leveling the settings ask for: "auto" is by album in order, by track when shuffled
    void applyLoudness();

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
    TrackPlayer* m_player;
    std::optional<NextChoice> m_nextChoice;
    // what the last play handed to the player, until its file opens
    struct Handed {
        QUrl url;
        Track track;
        Playlist playlist;
    };
    std::optional<Handed> m_handed;
    bool m_installed = false;
    bool m_stopsAfterCurrentTrack = false;
    std::optional<std::pair<Track, Playlist>> m_nowPlaying;
};
