#pragma once

#include "playback/trackplayer.h"

#include <QList>

// A player that remembers what it is asked instead of sounding: a file "opens" at once (or
// when told, with holdOpen), and the test says when it ends or the next one takes over.
class FakeTrackPlayer final : public TrackPlayer {
    Q_OBJECT

public:
    using TrackPlayer::TrackPlayer;

    QList<QUrl> played;
    int stops = 0;
    bool holdOpen = false; // a played file stays loading until finishOpening()
    bool loading = false;  // the played file is still opening
    double length = 4;     // the length a file has once open
    QList<QUrl> nextURLs;  // every setNextURL, in order
    // the position and the volume, set by the player's commands or by the test
    double time = 0;
    float level = 1.0f;

    void play(const QUrl& url) override;
    void pause() override { setPlaying(false); }
    void stop() override;
    bool isPlaying() const override { return m_playing; }
    bool hasPlayer() const override { return !m_url.isEmpty(); }
    bool isLoading() const override { return loading; }
    QUrl url() const override { return m_url; }
    double duration() const override { return loading || m_url.isEmpty() ? 1.0 : length; }
    double progress() const override { return m_progress; }
    void seek(double fraction) override;
    double currentTime() const override { return time; }
    void setCurrentTime(double seconds) override;
    float volume() const override { return level; }
    void setVolume(float volume) override;
    Cover cover() const override { return m_cover; }
    bool hasTimer() const override { return m_timer; }
    void invalidateTimer() override { m_timer = false; }
    void startTimer() override { m_timer = true; }
    void setNextURL(const QUrl& url) override { nextURLs << url; }
    QUrl nextURL() const { return nextURLs.value(nextURLs.size() - 1); }

    // What the engine would do: the file opens, a failed open puts nothing back (the fake has
    // no previous file), the end arrives, the queued file takes over, a cover is read.
    void finishOpening();
    void fail();
    void finish();
    void joinNext(const QUrl& url);
    void setCover(const Cover& cover);
    void setProgress(double progress);

private:
    void setPlaying(bool playing);

    QUrl m_url;
    bool m_playing = false;
    bool m_timer = false;
    double m_progress = 0;
    Cover m_cover;
};
