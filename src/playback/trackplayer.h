#pragma once

#include <QUrl>

#include <functional>

// What the player controller needs of an audio player: AudioPlayer is the real one, the
// controller's tests drive a fake without a sound server.
class TrackPlayer {
public:
    virtual ~TrackPlayer() = default;

    virtual void play(const QUrl& url) = 0;
    virtual void pause() = 0;
    virtual void stop() = 0;
    virtual bool isPlaying() const = 0;
    // A file is loaded (playing, paused or stopped); volume and position need one.
    virtual bool hasPlayer() const = 0;
    // The loaded file is still opening: its length is not known yet.
    virtual bool isLoading() const = 0;
    virtual double duration() const = 0;
    virtual double currentTime() const = 0;
    virtual void setCurrentTime(double seconds) = 0;
    virtual float volume() const = 0;
    virtual void setVolume(float volume) = 0;

    // The file has played to its end.
    std::function<void()> onTrackFinished;
    // Shortly before the end: the file to follow without a gap (empty for none).
    std::function<QUrl()> nextTrackURL;
    // The queued file has taken over at the joint.
    std::function<void(const QUrl& url)> onNextTrackStarted;
};
