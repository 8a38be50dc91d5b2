#pragma once

#include "playback/playbin.h"

#include "playback/trackplayer.h"

#include <QImage>
#include <QObject>
#include <QTemporaryDir>
#include <QUrl>

#include <functional>
#include <memory>
#include <optional>

class QTimer;

// The one playback controller: loads one local file, plays, pauses, stops and seeks it,
// publishes the played fraction for the scrubber and reports the end of a file; the next
// file of a playlist, handed over ahead of time, follows without a gap. The media libraries
// start on the first play, not at start. Nothing here touches a track's file on the calling
// thread.
class AudioPlayer final : public TrackPlayer {
    Q_OBJECT

public:
    explicit AudioPlayer(QObject* parent = nullptr);
    ~AudioPlayer() override;
    Q_DISABLE_COPY_MOVE(AudioPlayer)

    using Error = PlaybackError;
    // A URL without a scheme (a plain path, "#" and all) becomes a file URL; a missing file, or
    // one that is no regular readable file, is an error. Reads the file system: play() runs it
    // off the main thread.
    static std::optional<QUrl> resolveFileURL(const QUrl& url, Error* error = nullptr);

    void play(const QUrl& url) override;
    void pause() override;
    void stop() override;
    void seek(double fraction) override;
    void updateProgress();

    double progress() const override { return m_progress; }
    double duration() const override { return m_duration; }
    bool isPlaying() const override { return m_isPlaying; }
    Cover cover() const override { return m_cover; }

    // The loaded file (empty before the first load); "player present" means hasPlayer().
    bool hasPlayer() const override;
    QUrl url() const override;
    // A file was handed over and is not ready yet (its length still unknown).
    bool isLoading() const override { return m_loading; }

    // Current time of the loaded file in seconds (0 without one); setting it seeks.
    double currentTime() const override;
    void setCurrentTime(double seconds) override;

    // Volume of the loaded file, 0...1; a newly loaded file starts at 1.0. Without a
    // loaded file volume() is 1.0 and setVolume does nothing.
    float volume() const override;
    void setVolume(float volume) override;

    bool hasTimer() const override;
    void invalidateTimer() override;
    void startTimer() override;

    // Taken by the engine shortly before the loaded file ends, on its own thread, without
    // asking anyone; a file that is not local is no successor.
    void setNextURL(const QUrl& url) override;
    void setLoudness(Loudness loudness) override;
    void setProgressStep(double fraction) override;

    // Reads a file's cover picture off the main thread; albumart::readAlbumArt unless
    // replaced (tests make it slow).
    using CoverReader = std::function<QImage(const QString& path)>;
    void setCoverReader(CoverReader reader) { m_coverReader = std::move(reader); }

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
    void announcePendingSeek();
    void audioPlayerDidFinishPlaying();
    void loadAlbumArt(const QUrl& url);
    void setProgress(double progress);
    void setDuration(double duration);
    void setIsPlaying(bool isPlaying);
    void setCover(const Cover& cover);
    void tickSoon();

    Playbin* m_player = nullptr;
    // ticks only while the file sounds; m_hasTimer says whether it counts as running
    QTimer* m_timer = nullptr;
    bool m_hasTimer = false;
    double m_progressStep = 0;
    double m_progress = 0;
    double m_duration = 1.0;
    bool m_isPlaying = false;
    Cover m_cover;
    CoverReader m_coverReader;
    std::unique_ptr<QTemporaryDir> m_coverDir;
    quint64 m_coverSerial = 0;
    QUrl m_nextURL;
    Loudness m_loudness = Loudness::Off;
    // a seek asked for while the file opens, announced once it lands: seconds or a fraction
    std::optional<std::pair<double, bool>> m_pendingSeek;
    bool m_loading = false;
    bool m_failureReported = false;
    bool m_ended = false;
    Previous m_previous;
    std::shared_ptr<playback::Mailbox> m_mailbox;
};
