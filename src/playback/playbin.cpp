#include "playback/playbin.h"

#include <QTimer>

#include <gst/gst.h>

#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <cstring>
#include <deque>
#include <future>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// playbin's GstPlayFlags: audio only (no window for a cover shown as a video stream), with
// its own volume element so that the audio server's remembered stream volume never applies
constexpr guint kPlayAudio = 0x2;
constexpr guint kPlaySoftVolume = 0x10;
// a file that opens or seeks for longer than this is not waited for by the next request
constexpr GstClockTime kSettleTimeout = 5 * GST_SECOND;
constexpr auto kShutdownTimeout = std::chrono::milliseconds(500);

GstElement* makeAudioSink()
{
    // under the program's name: a title tag of any size never reaches the audio server
    GstElement* sink = gst_element_factory_make("pulsesink", nullptr);
    if (!sink)
        return gst_element_factory_make("autoaudiosink", nullptr);
    GstStructure* properties =
        gst_structure_new("properties", "media.name", G_TYPE_STRING, "Lindenfold", "media.role",
                          G_TYPE_STRING, "music", nullptr);
    g_object_set(sink, "client-name", "Lindenfold", "stream-properties", properties, nullptr);
    gst_structure_free(properties);
    return sink;
}

} // namespace

QString PlaybackError::printed() const
{
    return QStringLiteral("%1 error %2: %3").arg(domain).arg(code).arg(description);
}

namespace playback {

void initialise()
{
    static std::once_flag once;
    std::call_once(once, [] { gst_init(nullptr, nullptr); });
}

QByteArray localPath(const QUrl& url)
{
    return QByteArray::fromPercentEncoding(url.path(QUrl::FullyEncoded).toLatin1());
}

std::optional<PlaybackError> checkTrackFile(const QByteArray& path)
{
    const QString domain = QStringLiteral("AudioPlayer");
    // non-blocking, so that a FIFO without a writer answers at once
    const int fd = path.isEmpty() ? -1 : ::open(path.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        if (path.isEmpty() || errno == ENOENT || errno == ENOTDIR)
            return PlaybackError{domain, -1, QStringLiteral("File does not exist")};
        return PlaybackError{domain, -2, QString::fromLocal8Bit(std::strerror(errno))};
    }
    struct stat status {};
    const bool regular = ::fstat(fd, &status) == 0 && S_ISREG(status.st_mode);
    ::close(fd);
    if (!regular)
        return PlaybackError{domain, -2, QStringLiteral("Not a regular file")};
    return std::nullopt;
}

} // namespace playback

// What the worker thread, GStreamer's threads and the main thread share. It outlives the
// Playbin when the worker is stuck on a hung file.
struct Playbin::Shared {
    std::mutex mutex;
    std::condition_variable wake;
    std::deque<std::function<void(GstElement*)>> jobs;
    bool closing = false;
    GstElement* pipeline = nullptr;
    std::shared_ptr<playback::Mailbox> mailbox;
    // set once, before any thread starts; only used in what the mailbox delivers
    Playbin* owner = nullptr;

    bool wantPlaying = false;
    // the latest seek asked for, and whether a job to carry it out is queued
    std::optional<std::pair<double, bool>> seek;
    quint64 seekSerial = 0;
    bool seekQueued = false;

    // the answer to about-to-finish, given on the main thread
    struct Answer {
        std::mutex mutex;
        std::condition_variable given;
        bool done = false;
        QUrl url;
        void give(const QUrl& next)
        {
            const std::lock_guard lock(mutex);
            url = next;
            done = true;
            given.notify_all();
        }
    };
    std::shared_ptr<Answer> pendingAnswer;
    // set from the queueing until the queued file's segment reaches the sink
    std::optional<QUrl> queued;
    bool awaitingSegment = false;
    double durationBeforeJoint = 0;
};

// GStreamer's callbacks and the worker's loop, with access to the Playbin's insides.
struct Playbin::Callbacks {
    static void runWorker(const std::shared_ptr<Shared>& shared);
    static GstBusSyncReply onBusMessage(GstBus*, GstMessage* message, gpointer data);
    static void aboutToFinish(GstElement* pipeline, gpointer data);
    static GstPadProbeReturn onSinkEvent(GstPad*, GstPadProbeInfo* info, gpointer data);
};

namespace {

// Waits until the pipeline has settled (prerolled) or can't: a seek before that goes nowhere.
void settle(GstElement* pipeline)
{
    gst_element_get_state(pipeline, nullptr, nullptr, kSettleTimeout);
}

template <typename T>
gpointer sharedData(const std::shared_ptr<T>& shared)
{
    return new std::shared_ptr<T>(shared);
}

template <typename T>
void dropSharedData(gpointer data)
{
    delete static_cast<std::shared_ptr<T>*>(data);
}

} // namespace

void Playbin::Callbacks::runWorker(const std::shared_ptr<Shared>& shared)
{
    while (true) {
        std::function<void(GstElement*)> job;
        {
            std::unique_lock lock(shared->mutex);
            shared->wake.wait(lock, [&] { return !shared->jobs.empty() || shared->closing; });
            if (shared->jobs.empty())
                break;
            job = std::move(shared->jobs.front());
            shared->jobs.pop_front();
        }
        job(shared->pipeline);
    }
    gst_element_set_state(shared->pipeline, GST_STATE_NULL);
}

GstBusSyncReply Playbin::Callbacks::onBusMessage(GstBus*, GstMessage* message, gpointer data)
{
    Shared* shared = static_cast<std::shared_ptr<Shared>*>(data)->get();
    switch (GST_MESSAGE_TYPE(message)) {
    case GST_MESSAGE_ERROR:
    case GST_MESSAGE_EOS:
    case GST_MESSAGE_ASYNC_DONE:
    case GST_MESSAGE_DURATION_CHANGED:
        break;
    case GST_MESSAGE_STATE_CHANGED:
        if (GST_MESSAGE_SRC(message) == GST_OBJECT(shared->pipeline))
            break;
        return GST_BUS_DROP;
    default:
        return GST_BUS_DROP;
    }
    std::shared_ptr<GstMessage> held(gst_message_ref(message), gst_message_unref);
    shared->mailbox->post([self = shared->owner, held] { self->handleMessage(held.get()); });
    return GST_BUS_DROP;
}

// On a streaming thread: the file is about to run out. The main thread names the next file,
// which is checked here, off the main thread, before the pipeline gets it.
void Playbin::Callbacks::aboutToFinish(GstElement* pipeline, gpointer data)
{
    Shared* shared = static_cast<std::shared_ptr<Shared>*>(data)->get();
    auto answer = std::make_shared<Shared::Answer>();
    {
        const std::lock_guard lock(shared->mutex);
        if (shared->closing)
            return;
        shared->pendingAnswer = answer;
    }
    shared->mailbox->post([self = shared->owner, answer] {
        self->m_shared->durationBeforeJoint = self->duration().value_or(0);
        answer->give(self->nextFile ? self->nextFile() : QUrl());
    });
    QUrl next;
    {
        std::unique_lock lock(answer->mutex);
        // a main thread that does not answer in time (or a Playbin going away) lets the file end
        answer->given.wait_for(lock, std::chrono::seconds(2), [&] { return answer->done; });
        next = answer->url;
    }
    if (next.isEmpty() || playback::checkTrackFile(playback::localPath(next)))
        return;
    g_object_set(pipeline, "uri", next.toEncoded().constData(), nullptr);
    const std::lock_guard lock(shared->mutex);
    shared->queued = next;
}

// On the sink's pad: tags stay away from the audio server; the queued file's first segment
// tells the running time at which it is heard.
GstPadProbeReturn Playbin::Callbacks::onSinkEvent(GstPad*, GstPadProbeInfo* info, gpointer data)
{
    Shared* shared = static_cast<std::shared_ptr<Shared>*>(data)->get();
    GstEvent* event = GST_PAD_PROBE_INFO_EVENT(info);
    switch (GST_EVENT_TYPE(event)) {
    case GST_EVENT_TAG:
        return GST_PAD_PROBE_DROP;
    case GST_EVENT_STREAM_START: {
        const std::lock_guard lock(shared->mutex);
        shared->awaitingSegment = shared->queued.has_value();
        break;
    }
    case GST_EVENT_SEGMENT: {
        const std::lock_guard lock(shared->mutex);
        if (!shared->awaitingSegment || !shared->queued)
            break;
        const GstSegment* segment = nullptr;
        gst_event_parse_segment(event, &segment);
        const qint64 runningTime =
            qint64(gst_segment_to_running_time(segment, GST_FORMAT_TIME, segment->start));
        shared->mailbox->post([self = shared->owner, url = *shared->queued, runningTime] {
            self->jointAt(url, runningTime);
        });
        shared->awaitingSegment = false;
        shared->queued.reset();
        break;
    }
    default:
        break;
    }
    return GST_PAD_PROBE_OK;
}

Playbin::Playbin(QObject* parent)
    : QObject(parent), m_shared(std::make_shared<Shared>()),
      m_mailbox(std::make_shared<playback::Mailbox>(this)), m_jointTimer(new QTimer(this))
{
    playback::initialise();
    m_jointTimer->setSingleShot(true);
    m_jointTimer->setTimerType(Qt::PreciseTimer);
    connect(m_jointTimer, &QTimer::timeout, this, &Playbin::checkJoint);

    Shared* shared = m_shared.get();
    shared->owner = this;
    shared->mailbox = m_mailbox;
    GstElement* pipeline = gst_element_factory_make("playbin", nullptr);
    shared->pipeline = pipeline;
    GstElement* sink = makeAudioSink();
    if (sink) {
        GstPad* pad = gst_element_get_static_pad(sink, "sink");
        gst_pad_add_probe(pad, GST_PAD_PROBE_TYPE_EVENT_DOWNSTREAM, &Callbacks::onSinkEvent,
                          sharedData(m_shared), &dropSharedData<Shared>);
        gst_object_unref(pad);
        g_object_set(pipeline, "audio-sink", sink, nullptr);
    }
    g_object_set(pipeline, "flags", kPlayAudio | kPlaySoftVolume, nullptr);
    GstBus* bus = gst_element_get_bus(pipeline);
    gst_bus_set_sync_handler(bus, &Callbacks::onBusMessage, sharedData(m_shared),
                             &dropSharedData<Shared>);
    gst_object_unref(bus);
    g_signal_connect_data(pipeline, "about-to-finish", G_CALLBACK(&Callbacks::aboutToFinish),
                          sharedData(m_shared),
                          [](gpointer p, GClosure*) { dropSharedData<Shared>(p); }, GConnectFlags(0));
    m_thread = std::thread(&Callbacks::runWorker, m_shared);
}

Playbin::~Playbin()
{
    m_mailbox->close();
    std::shared_ptr<Shared::Answer> answer;
    {
        const std::lock_guard lock(m_shared->mutex);
        m_shared->closing = true;
        m_shared->jobs.clear();
        answer = m_shared->pendingAnswer;
        m_shared->wake.notify_all();
    }
    if (answer)
        answer->give(QUrl());
    // the worker sets the pipeline to NULL; a hung file may keep it from ever finishing
    auto finished = std::make_shared<std::promise<void>>();
    std::future<void> done = finished->get_future();
    std::thread([worker = std::move(m_thread), finished, shared = m_shared]() mutable {
        worker.join();
        gst_object_unref(shared->pipeline);
        finished->set_value();
    }).detach();
    if (m_shutdownWait)
        done.wait_for(kShutdownTimeout);
}

void Playbin::enqueue(std::function<void(GstElement*)> job)
{
    const std::lock_guard lock(m_shared->mutex);
    m_shared->jobs.push_back(std::move(job));
    m_shared->wake.notify_all();
}

void Playbin::open(const QUrl& url)
{
    m_url = url;
    m_opened = false;
    m_failed = false;
    auto mailbox = m_mailbox;
    enqueue([url, mailbox, self = this](GstElement* pipeline) {
        if (const std::optional<PlaybackError> error = playback::checkTrackFile(playback::localPath(url))) {
            mailbox->post([self, error = *error] {
                self->m_failed = true;
                emit self->failed(error);
            });
            return;
        }
        g_object_set(pipeline, "uri", url.toEncoded().constData(), nullptr);
        gst_element_set_state(pipeline, GST_STATE_PAUSED);
        settle(pipeline);
    });
}

void Playbin::setPlaying(bool playing)
{
    {
        const std::lock_guard lock(m_shared->mutex);
        m_shared->wantPlaying = playing;
    }
    if (!playing)
        m_jointTimer->stop();
    Shared* shared = m_shared.get();
    enqueue([shared](GstElement* pipeline) {
        bool playing = false;
        {
            const std::lock_guard lock(shared->mutex);
            playing = shared->wantPlaying;
        }
        gst_element_set_state(pipeline, playing ? GST_STATE_PLAYING : GST_STATE_PAUSED);
    });
}

void Playbin::seekTo(double value, bool isFraction)
{
    // until the seek is done, the position is where it goes
    if (!isFraction)
        m_seekTarget = value;
    else if (const std::optional<double> length = duration())
        m_seekTarget = value * *length;
    else
        m_seekTarget.reset();
    const quint64 serial = ++m_seekSerial;
    Shared* shared = m_shared.get();
    const std::lock_guard lock(shared->mutex);
    shared->seek = std::pair(value, isFraction);
    shared->seekSerial = serial;
    if (shared->seekQueued)
        return;
    shared->seekQueued = true;
    shared->jobs.push_back([shared](GstElement* pipeline) {
        settle(pipeline);
        std::pair<double, bool> target;
        quint64 serial = 0;
        {
            const std::lock_guard lock(shared->mutex);
            shared->seekQueued = false;
            if (!shared->seek)
                return;
            target = *shared->seek;
            serial = shared->seekSerial;
            shared->seek.reset();
        }
        const auto done = [shared, serial] {
            shared->mailbox->post([self = shared->owner, serial] {
                if (serial == self->m_seekSerial)
                    self->m_seekTarget.reset();
            });
        };
        double seconds = target.first;
        if (target.second) {
            gint64 length = 0;
            if (!gst_element_query_duration(pipeline, GST_FORMAT_TIME, &length) || length <= 0)
                return done();
            seconds *= double(length) / GST_SECOND;
        }
        gst_element_seek_simple(pipeline, GST_FORMAT_TIME,
                                GstSeekFlags(GST_SEEK_FLAG_FLUSH | GST_SEEK_FLAG_ACCURATE),
                                gint64(seconds * GST_SECOND));
        // the next seek waits for this one to be prerolled
        settle(pipeline);
        done();
    });
    shared->wake.notify_all();
}

std::optional<double> Playbin::position() const
{
    if (m_seekTarget)
        return m_seekTarget;
    if (m_joint) {
        const qint64 left = m_joint->second -
                            qint64(gst_element_get_current_running_time(m_shared->pipeline));
        return std::max(0.0, m_shared->durationBeforeJoint - std::max<qint64>(left, 0) / 1e9);
    }
    gint64 position = 0;
    if (!gst_element_query_position(m_shared->pipeline, GST_FORMAT_TIME, &position) || position < 0)
        return std::nullopt;
    return double(position) / GST_SECOND;
}

std::optional<double> Playbin::duration() const
{
    if (m_joint)
        return m_shared->durationBeforeJoint;
    gint64 duration = 0;
    if (!gst_element_query_duration(m_shared->pipeline, GST_FORMAT_TIME, &duration) || duration <= 0)
        return std::nullopt;
    return double(duration) / GST_SECOND;
}

void Playbin::setVolume(double volume)
{
    m_volume = volume;
    g_object_set(m_shared->pipeline, "volume", volume, nullptr);
}

void Playbin::handleMessage(GstMessage* message)
{
    switch (GST_MESSAGE_TYPE(message)) {
    case GST_MESSAGE_ERROR: {
        GError* error = nullptr;
        gst_message_parse_error(message, &error, nullptr);
        const PlaybackError failure{QStringLiteral("GStreamer"), error ? error->code : 0,
                                    QString::fromUtf8(error ? error->message : "")};
        g_clear_error(&error);
        m_failed = true;
        emit failed(failure);
        break;
    }
    case GST_MESSAGE_EOS:
        emit endOfStream();
        break;
    case GST_MESSAGE_ASYNC_DONE:
        if (!m_opened && !m_failed) {
            m_opened = true;
            emit opened();
        }
        break;
    case GST_MESSAGE_DURATION_CHANGED:
        emit durationChanged();
        break;
    case GST_MESSAGE_STATE_CHANGED: {
        GstState state = GST_STATE_NULL;
        gst_message_parse_state_changed(message, nullptr, &state, nullptr);
        m_statePlaying = state == GST_STATE_PLAYING;
        if (m_statePlaying && m_joint)
            checkJoint();
        break;
    }
    default:
        break;
    }
}

void Playbin::jointAt(const QUrl& url, qint64 runningTime)
{
    m_joint = std::pair(url, runningTime);
    checkJoint();
}

// The clock only runs while playing: a paused joint is looked at again when playing resumes.
void Playbin::checkJoint()
{
    if (!m_joint)
        return;
    const qint64 left =
        m_joint->second - qint64(gst_element_get_current_running_time(m_shared->pipeline));
    if (left > 0) {
        if (m_statePlaying)
            m_jointTimer->start(int(left / GST_MSECOND) + 1);
        return;
    }
    const QUrl url = m_joint->first;
    m_joint.reset();
    m_url = url;
    emit nextFileStarted(url);
}
