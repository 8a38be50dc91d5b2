#pragma once

#include <QByteArray>
#include <QMetaObject>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QUrl>

#include "playback/replaygain.h"

#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>

class QTimer;
typedef struct _GstElement GstElement;
typedef struct _GstMessage GstMessage;

// What went wrong with a file, printed after "Playback failed: ", e.g.
// "AudioPlayer error -1: File does not exist", "GStreamer error 4: Could not determine type of
// stream."
struct PlaybackError {
    QString domain;
    int code = 0;
    QString description;
    QString printed() const;
};

namespace playback {

// Loads GStreamer and its plugin registry; only the first call does any work.
void initialise();
// The same on a pool thread: the first track or interface sound then finds GStreamer loaded
// instead of loading it on the main thread (a tenth of a second, seconds with a stale registry).
void initialiseInBackground();

// The file system path of a file URL, byte for byte: "%FF" stays the byte 0xFF.
QByteArray localPath(const QUrl& url);

// Why this is no file to play (missing, not a regular file, unreadable), or nothing. May block
// on a hung file system, so never on the main thread.
std::optional<PlaybackError> checkTrackFile(const QByteArray& path);

// A main-thread receiver that other threads may post to after it is gone: those posts are dropped.
class Mailbox {
public:
    explicit Mailbox(QObject* receiver) : m_receiver(receiver) {}
    void close()
    {
        const std::lock_guard lock(m_mutex);
        m_receiver = nullptr;
    }
    template <typename Function> void post(Function&& function)
    {
        const std::lock_guard lock(m_mutex);
        if (m_receiver)
            QMetaObject::invokeMethod(m_receiver, std::forward<Function>(function),
                                      Qt::QueuedConnection);
    }

private:
    std::mutex m_mutex;
    QObject* m_receiver;
};

// Runs work on a thread that nobody waits for (quitting never hangs on a hung file system) and
// hands the result to done on the mailbox's thread, if its receiver still exists.
template <typename Result>
void runDetached(const std::shared_ptr<Mailbox>& mailbox, std::function<Result()> work,
                 std::function<void(Result)> done)
{
    std::thread([mailbox, work = std::move(work), done = std::move(done)] {
        Result result = work();
        mailbox->post([done, result = std::move(result)] { done(result); });
    }).detach();
}

} // namespace playback

// One GStreamer playbin for one file at a time, with its own thread for everything that may
// wait on the file (opening, state changes, seeks): the main thread only queues requests and
// hears back through the bus. Audio only, into PulseAudio under the program's name.
class Playbin final : public QObject {
    Q_OBJECT

public:
    explicit Playbin(QObject* parent = nullptr);
    // The pipeline shuts down on a thread of its own; one blocked on a hung file is left to itself.
    ~Playbin() override;
    // Makes the destructor wait a moment for the shutdown (at the end of the program).
    void setShutdownWait(bool wait) { m_shutdownWait = wait; }
    Q_DISABLE_COPY_MOVE(Playbin)

    // Checks the file on the worker thread and opens it paused at its start; opened() or
    // failed() follows.
    void open(const QUrl& url);
    QUrl url() const { return m_url; }
    bool isOpened() const { return m_opened; }

    // Paused for a while, the pipeline lets its audio stream go (the audio server's client
    // wakes the process every half second while a stream is open, even a corked one); playing
    // again opens it anew where it paused.
    void setPlaying(bool playing);
    // How long a paused file keeps its audio stream (tests shorten it).
    static void setReleaseAfter(int ms);
    // Calls done on the main thread once every request made so far has been carried out.
    void whenDone(std::function<void()> done);
    // A flushing, accurate seek to seconds, or to a fraction of the length; asked while the file
    // opens it lands once it is ready. Requests made while one runs merge into the latest.
    void seekTo(double value, bool isFraction);
    // Seconds, or nothing while unknown.
    std::optional<double> position() const;
    std::optional<double> duration() const;
    double volume() const { return m_volume; }
    void setVolume(double volume);
    // How files are levelled; a change applies at once to what sounds. Each file's gain is read
    // from its tags when it is opened or checked to follow.
    void setLoudness(Loudness loudness);
    // The factor the gain stage applies now.
    double gain() const;

    struct SeekTarget {
        double value = 0;
        bool isFraction = false;
    };

    // The file to follow the current one without a gap, or an empty URL to let it end; taken
    // on a streaming thread shortly before the end, so named ahead of time. Only a file that
    // decodes is queued.
    void setNextFile(const QUrl& url);

signals:
    void opened();
    void failed(const PlaybackError& error);
    void endOfStream();
    // The queued file is heard from now on (the old one has played out to its last sample).
    void nextFileStarted(const QUrl& url);
    void durationChanged();

private:
    struct Shared;
    struct Callbacks;

    void enqueue(std::function<void(GstElement*)> job);
    void handleMessage(GstMessage* message);
    void jointAt(const QUrl& url, qint64 runningTime, quint64 generation, double durationBefore);
    void recoverFromQueuedFailure();
    void seekDone(quint64 serial);
    void checkJoint();
    void releaseStream();

    std::shared_ptr<Shared> m_shared;
    std::shared_ptr<playback::Mailbox> m_mailbox;
    std::thread m_thread;
    // the audio sink inside the pipeline (the pipeline holds it)
    GstElement* m_sink = nullptr;
    QTimer* m_jointTimer;
    QTimer* m_releaseTimer;
    QUrl m_url;
    bool m_opened = false;
    bool m_failed = false;
    bool m_statePlaying = false;
    bool m_shutdownWait = false;
    double m_volume = 1.0;
    mutable std::optional<double> m_duration;
    // where the seeks asked for and not yet done go
    std::optional<double> m_seekTarget;
    quint64 m_seekSerial = 0;
    // counts the files named to follow: only the latest one's check counts
    quint64 m_nextFileSerial = 0;
    QUrl m_nextFileRequested;
    // the queued file and the running time at which it is heard, while that is still ahead
    std::optional<std::pair<QUrl, qint64>> m_joint;
    // the length of the file that plays until the joint
    double m_durationBeforeJoint = 0;
};
