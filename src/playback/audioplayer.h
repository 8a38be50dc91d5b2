#pragma once

#include "playback/playbin.h"

#include "playback/trackplayer.h"

#include <QImage>
#include <QObject>
#include <QUrl>

#include <functional>
#include <memory>
#include <optional>

class QTimer;

// The one playback controller: loads one local file, plays, pauses, stops and seeks it,
// publishes the played fraction for the scrubber and reports the end of a file; the next
// file of a playlist is queued before the end so that it follows without a gap. The media
// libraries start on the first play, not at start. Nothing here touches a track's file on
// the calling thread.
class AudioPlayer final : public QObject, public TrackPlayer {
    Q_OBJECT
    Q_PROPERTY(double progress READ progress NOTIFY progressChanged)
    Q_PROPERTY(double duration READ duration NOTIFY durationChanged)
    Q_PROPERTY(bool isPlaying READ isPlaying NOTIFY isPlayingChanged)
    Q_PROPERTY(QImage albumArt READ albumArt NOTIFY albumArtChanged)

public:
    explicit AudioPlayer(QObject* parent = nullptr);
    ~AudioPlayer() override;
    Q_DISABLE_COPY_MOVE(AudioPlayer)

    using Error = PlaybackError;
    // A URL without a scheme (a plain path, "#" and all) becomes a file URL; a missing file, or
    // one that is no regular readable file, is an error. Reads the file system: play() runs it
    // off the main thread.
    static std::optional<QUrl> resolveFileURL(const QUrl& url, Error* error = nullptr);
    // The same without looking at the file system: the file URL, or nothing for a URL that
    // names no local file.
    static std::optional<QUrl> fileURL(const QUrl& url);

    void play(const QUrl& url) override;
    void pause() override;
    void stop() override;
    void seek(double fraction);
    void updateProgress();

    double progress() const { return m_progress; }
    double duration() const override { return m_duration; }
    bool isPlaying() const override { return m_isPlaying; }
    QImage albumArt() const { return m_albumArt; }

    // The loaded file (empty before the first load); "player present" means hasPlayer().
    bool hasPlayer() const override;
    QUrl url() const;
    // A file was handed over and is not ready yet (its length still unknown).
    bool isLoading() const override { return m_loading; }

    // Current time of the loaded file in seconds (0 without one); setting it seeks.
    double currentTime() const override;
    void setCurrentTime(double seconds) override;

    // Volume of the loaded file, 0...1; a newly loaded file starts at 1.0. Without a
    // loaded file volume() is 1.0 and setVolume does nothing.
    float volume() const override;
    void setVolume(float volume) override;

    // The progress timer: the scrubber stops it during a drag and starts a new one after.
    bool hasTimer() const;
    void invalidateTimer();
    void startTimer();

    // onTrackFinished, nextTrackURL and onNextTrackStarted (from TrackPlayer): nextTrackURL is
    // asked shortly before the playing file ends, for the file to follow it without a gap (an
    // empty URL lets it end and onTrackFinished follows); onNextTrackStarted says that file is
    // heard from now on, when url() and urlChanged already say so.

signals:
    void progressChanged(double progress);
    void durationChanged(double duration);
    void isPlayingChanged(bool isPlaying);
    void albumArtChanged();
    // A different file was loaded (not emitted on resume).
    void urlChanged(const QUrl& url);
    void volumeChanged(float volume);
    // A seek moved the position (not emitted by the progress ticks).
    void seeked(double seconds);

private:
    // What the previous file looked like, kept while a newly opened file is still loading so
    // that an open failure can put everything back.
    struct Previous {
        Playbin* player = nullptr;
        double progress = 0;
        double duration = 1.0;
        bool isPlaying = false;
        bool hadTimer = false;
        bool atEnd = false;
        // it played to its end while the new file was loading
        bool ended = false;
    };

    void loadNewFile(const QUrl& url);
    Playbin* createPlatformPlayer(const QUrl& url);
    // Silences a player and lets it go; it may be in the middle of a signal that brought us here.
    void discard(Playbin* player);
    void handleFailure(Playbin* player, const Error& error);
    void finishLoading();
    void restorePrevious();
    void handleEnd(Playbin* player);
    void handleNextFile(const QUrl& url);
    void takeDuration();
    void audioPlayerDidFinishPlaying();
    void loadAlbumArt(const QUrl& url);
    void setProgress(double progress);
    void setDuration(double duration);
    void setIsPlaying(bool isPlaying);
    void setAlbumArt(const QImage& image);
    void resetVolume(float oldVolume);

    Playbin* m_player = nullptr;
    QTimer* m_timer = nullptr;
    double m_progress = 0;
    double m_duration = 1.0;
    bool m_isPlaying = false;
    QImage m_albumArt;
    bool m_loading = false;
    bool m_failureReported = false;
    bool m_ended = false;
    Previous m_previous;
    std::shared_ptr<playback::Mailbox> m_mailbox;
};
