#pragma once

#include <QImage>
#include <QObject>
#include <QUrl>

#include <functional>
#include <optional>

class QMediaPlayer;
class QAudioOutput;
class QTimer;

// The one playback controller: loads one local file, plays, pauses, stops and seeks it,
// publishes the played fraction for the scrubber and reports the end of a file. The media
// pipeline is created on the first play, not at start.
class AudioPlayer final : public QObject {
    Q_OBJECT
    Q_PROPERTY(double progress READ progress NOTIFY progressChanged)
    Q_PROPERTY(double duration READ duration NOTIFY durationChanged)
    Q_PROPERTY(bool isPlaying READ isPlaying NOTIFY isPlayingChanged)
    Q_PROPERTY(QImage albumArt READ albumArt NOTIFY albumArtChanged)

public:
    explicit AudioPlayer(QObject* parent = nullptr);
    ~AudioPlayer() override;
    Q_DISABLE_COPY_MOVE(AudioPlayer)

    struct Error {
        QString domain;
        int code = 0;
        QString description;
        // "AudioPlayer error -1: File does not exist"
        QString printed() const;
    };
    // A URL without a scheme becomes a file URL; a missing file is an error.
    static std::optional<QUrl> resolveFileURL(const QUrl& url, Error* error = nullptr);

    void play(const QUrl& url);
    void pause();
    void stop();
    void seek(double fraction);
    void updateProgress();

    double progress() const { return m_progress; }
    double duration() const { return m_duration; }
    bool isPlaying() const { return m_isPlaying; }
    QImage albumArt() const { return m_albumArt; }

    // The loaded file (empty before the first load); "player present" means hasPlayer().
    bool hasPlayer() const;
    QUrl url() const;

    // Current time of the loaded file in seconds (0 without one); setting it seeks.
    double currentTime() const;
    void setCurrentTime(double seconds);

    // Volume of the loaded file, 0...1; a newly loaded file starts at 1.0. Without a
    // loaded file volume() is 1.0 and setVolume does nothing.
    float volume() const;
    void setVolume(float volume);

    // The progress timer: the scrubber stops it during a drag and starts a new one after.
    bool hasTimer() const;
    void invalidateTimer();
    void startTimer();

    std::function<void()> onTrackFinished;

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
        QMediaPlayer* player = nullptr;
        double progress = 0;
        double duration = 1.0;
        bool isPlaying = false;
        bool hadTimer = false;
        bool ended = false;
    };

    void loadNewFile(const QUrl& url);
    QMediaPlayer* createPlatformPlayer(const QUrl& url);
    void reopenLoadedFile();
    void handleStatus(QMediaPlayer* player, int status);
    void handleFailure(QMediaPlayer* player);
    void handleDuration(QMediaPlayer* player, qint64 ms);
    void finishLoading();
    void restorePrevious();
    void dropPrevious();
    void audioPlayerDidFinishPlaying();
    void loadAlbumArt(const QUrl& url);
    void setProgress(double progress);
    void setDuration(double duration);
    void setIsPlaying(bool isPlaying);
    void setAlbumArt(const QImage& image);

    QMediaPlayer* m_player = nullptr;
    QTimer* m_timer = nullptr;
    double m_progress = 0;
    double m_duration = 1.0;
    bool m_isPlaying = false;
    QImage m_albumArt;
    bool m_loading = false;
    bool m_failureReported = false;
    // a seek asked for before the loading file knew its duration
    std::optional<double> m_pendingSeek;
    Previous m_previous;
};
