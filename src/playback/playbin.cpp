#include "playback/playbin.h"

#include <QFile>
#include <QHash>
#include <QThreadPool>
#include <QTimer>

#include <gst/base/gsttypefindhelper.h>
#include <gst/gst.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <cstring>
#include <deque>
#include <future>
#include <utility>

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
// long enough that a short pause keeps its stream, short enough to matter on battery
std::atomic<int> releaseAfterMs{3000};

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

// The stage that levels files, apart from the user's volume: at 1.0 it passes samples on
// untouched. Formats the gain element does not take are converted first.
GstElement* makeGainStage()
{
    return gst_parse_bin_from_description("audioconvert ! volume name=gain", TRUE, nullptr);
}

// ahead of every other element for the same job
void raiseRank(const char* feature)
{
    if (GstPluginFeature* found = gst_registry_lookup_feature(gst_registry_get(), feature)) {
        gst_plugin_feature_set_rank(found, GST_RANK_PRIMARY + 1);
        gst_object_unref(found);
    }
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
    std::call_once(once, [] {
        gst_init(nullptr, nullptr);
        // aiffparse now and then leaves its stream unlinked on an AIFF with an ID3 chunk (as
        // most tagged ones have), which then never sounds: libav's reader goes first
        raiseRank("avdemux_aiff");
        // MP3 decoders tie on rank, so the name picks libav's, whose library and the codec
        // libraries it pulls in make up some 36 MB of the playing process; mpg123 decodes the
        // same for about 1 MB
        raiseRank("mpg123audiodec");
    });
}

void initialiseInBackground()
{
    // the application waits for the global pool's work when it ends
    QThreadPool::globalInstance()->start([] { initialise(); });
}

QByteArray localPath(const QUrl& url)
{
    return QByteArray::fromPercentEncoding(url.path(QUrl::FullyEncoded).toLatin1());
}

std::optional<PlaybackError> checkTrackFile(const QByteArray& path)
{
    const QString domain = QStringLiteral("AudioPlayer");
    // non-blocking, so that a FIFO without a writer answers at once
    const int fd =
        path.isEmpty() ? -1 : ::open(path.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
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
    std::optional<SeekTarget> seek;
    quint64 seekSerial = 0;
    bool seekQueued = false;

    // the file to follow, handed over ahead of time by the main thread: about-to-finish only
    // takes it
    QUrl nextFile;
    // the length the main thread last read, for the position until the joint
    double knownDuration = 0;
    // set from the queueing until the queued file's segment reaches the sink
    std::optional<QUrl> queued;
    bool awaitingSegment = false;
    // the queued file failed and broke off the playing one; its errors are not the user's
    bool queuedBroke = false;
    // counts the queued files dropped by a seek
    quint64 generation = 0;
    double durationBeforeJoint = 0;

    // While paused for a while the pipeline is in READY, without an audio stream: the file,
    // and the position to go back to (where a seek asked for meanwhile goes, too). The position
    // stays set until the pipeline has reached it again.
    bool released = false;
    QUrl releasedFile;
    std::optional<double> releasedAt;
    double volume = 1.0;

    // the gain element, the leveling chosen, the gains of the files opened and checked, and
    // which file's stream passed the gain element last
    GstElement* gain = nullptr;
    Loudness loudness = Loudness::Off;
    QHash<QUrl, ReplayGain> gains;
    QUrl openedFile;
    QUrl streamFile;

    // with the mutex held
    void applyGain()
    {
        if (gain)
            g_object_set(gain, "volume", replaygain::factor(gains.value(streamFile), loudness),
                         nullptr);
    }
    // with the mutex held; only the files that may still sound are kept
    void keepGain(const QUrl& url, const ReplayGain& replayGain)
    {
        constexpr qsizetype kKeptGains = 8;
        if (gains.size() >= kKeptGains) {
            const QHash<QUrl, ReplayGain> old = std::exchange(gains, {});
            for (const QUrl& kept : {openedFile, streamFile, nextFile, queued.value_or(QUrl())})
                if (old.contains(kept))
                    gains.insert(kept, old.value(kept));
        }
        gains.insert(url, replayGain);
    }
};

// GStreamer's callbacks and the worker's loop, with access to the Playbin's insides.
struct Playbin::Callbacks {
    static void runWorker(const std::shared_ptr<Shared>& shared);
    static GstBusSyncReply onBusMessage(GstBus*, GstMessage* message, gpointer data);
    static void aboutToFinish(GstElement* pipeline, gpointer data);
    static GstPadProbeReturn onSinkEvent(GstPad*, GstPadProbeInfo* info, gpointer data);
    static GstPadProbeReturn onGainEvent(GstPad*, GstPadProbeInfo* info, gpointer data);
};

namespace {

// A regular file whose first bytes GStreamer recognises: anything else is not queued, since a
// queued file that fails breaks off the one still playing.
bool looksPlayable(const QByteArray& path)
{
    if (playback::checkTrackFile(path))
        return false;
    QFile file(QFile::decodeName(path));
    if (QFile::encodeName(file.fileName()) != path || !file.open(QIODevice::ReadOnly))
        return true;
    const QByteArray head = file.read(16 * 1024);
    GstCaps* caps = gst_type_find_helper_for_data(
        nullptr, reinterpret_cast<const guint8*>(head.constData()), gsize(head.size()), nullptr);
    if (!caps)
        return false;
    gst_caps_unref(caps);
    return true;
}

// Whether the file decodes: a pipeline of its own, into no sound device, opened paused until its
// first audio is decoded. A file that GStreamer recognises but cannot decode (no plug-in, no
// valid frames) would otherwise be queued and break off the file still playing. A file that
// takes longer than the settle timeout counts as not decoding: it is then opened the usual way
// once the playing file has ended, which costs a gap, never sound.
bool decodes(const QUrl& url)
{
    if (!looksPlayable(playback::localPath(url)))
        return false;
    GstElement* pipeline = gst_element_factory_make("playbin", nullptr);
    GstElement* sink = gst_element_factory_make("fakesink", nullptr);
    if (!pipeline || !sink) {
        if (pipeline)
            gst_object_unref(pipeline);
        if (sink)
            gst_object_unref(sink);
        return false;
    }
    g_object_set(pipeline, "uri", url.toEncoded().constData(), "audio-sink", sink, "flags",
                 kPlayAudio, nullptr);
    GstStateChangeReturn result = gst_element_set_state(pipeline, GST_STATE_PAUSED);
    if (result == GST_STATE_CHANGE_ASYNC)
        result = gst_element_get_state(pipeline, nullptr, nullptr, kSettleTimeout);
    bool decoded = result == GST_STATE_CHANGE_SUCCESS;
    GstBus* bus = gst_element_get_bus(pipeline);
    if (GstMessage* error = gst_bus_pop_filtered(bus, GST_MESSAGE_ERROR)) {
        decoded = false;
        gst_message_unref(error);
    }
    gst_object_unref(bus);
    gst_element_set_state(pipeline, GST_STATE_NULL);
    gst_object_unref(pipeline);
    return decoded;
}

// Waits until the pipeline has settled (prerolled) or can't: a seek before that goes nowhere.
void settle(GstElement* pipeline)
{
    gst_element_get_state(pipeline, nullptr, nullptr, kSettleTimeout);
}

// A flushing, accurate seek once the pipeline is ready, waiting until it has prerolled there
// (so that the next seek does not overtake it).
void performSeek(GstElement* pipeline, const Playbin::SeekTarget& target)
{
    settle(pipeline);
    double seconds = target.value;
    if (target.isFraction) {
        gint64 length = 0;
        if (!gst_element_query_duration(pipeline, GST_FORMAT_TIME, &length) || length <= 0)
            return;
        seconds *= double(length) / GST_SECOND;
    }
    gst_element_seek_simple(pipeline, GST_FORMAT_TIME,
                            GstSeekFlags(GST_SEEK_FLAG_FLUSH | GST_SEEK_FLAG_ACCURATE),
                            gint64(seconds * GST_SECOND));
    settle(pipeline);
}

template <typename T> gpointer sharedData(const std::shared_ptr<T>& shared)
{
    return new std::shared_ptr<T>(shared);
}

template <typename T> void dropSharedData(gpointer data)
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
    case GST_MESSAGE_ERROR: {
        // a queued file that fails to open takes the playing one down with it (playbin's way):
        // that one ends here, and the next file is opened, and fails, the usual way
        const std::lock_guard lock(shared->mutex);
        if (shared->queuedBroke)
            return GST_BUS_DROP;
        if (shared->queued && !shared->awaitingSegment) {
            shared->queued.reset();
            shared->queuedBroke = true;
            shared->mailbox->post([self = shared->owner] { self->recoverFromQueuedFailure(); });
            return GST_BUS_DROP;
        }
        break;
    }
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

// On a streaming thread: the file is about to run out. The next file was named ahead of time;
// it is checked here, off the main thread, before the pipeline gets it. Nothing here waits on
// the main thread, so a stalled window never turns the joint into a gap.
void Playbin::Callbacks::aboutToFinish(GstElement* pipeline, gpointer data)
{
    Shared* shared = static_cast<std::shared_ptr<Shared>*>(data)->get();
    QUrl next;
    {
        const std::lock_guard lock(shared->mutex);
        if (shared->closing)
            return;
        // taken: a short file may run out before the main thread has heard of the joint, and
        // must not queue the same successor again
        next = std::exchange(shared->nextFile, QUrl());
        shared->durationBeforeJoint = shared->knownDuration;
    }
    if (next.isEmpty() || !looksPlayable(playback::localPath(next)))
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
        shared->mailbox->post([self = shared->owner, url = *shared->queued, runningTime,
                               generation = shared->generation,
                               before = shared->durationBeforeJoint] {
            self->jointAt(url, runningTime, generation, before);
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

// Before the gain element: a new stream is the queued file, if one is, or else the one opened.
// Its gain takes effect with its first sample, so a gapless joint stays exact.
GstPadProbeReturn Playbin::Callbacks::onGainEvent(GstPad*, GstPadProbeInfo* info, gpointer data)
{
    Shared* shared = static_cast<std::shared_ptr<Shared>*>(data)->get();
    if (GST_EVENT_TYPE(GST_PAD_PROBE_INFO_EVENT(info)) == GST_EVENT_STREAM_START) {
        const std::lock_guard lock(shared->mutex);
        shared->streamFile = shared->queued.value_or(shared->openedFile);
        shared->applyGain();
    }
    return GST_PAD_PROBE_OK;
}

Playbin::Playbin(QObject* parent)
    : QObject(parent), m_shared(std::make_shared<Shared>()),
      m_mailbox(std::make_shared<playback::Mailbox>(this)), m_jointTimer(new QTimer(this)),
      m_releaseTimer(new QTimer(this))
{
    playback::initialise();
    m_jointTimer->setSingleShot(true);
    m_jointTimer->setTimerType(Qt::PreciseTimer);
    connect(m_jointTimer, &QTimer::timeout, this, &Playbin::checkJoint);
    m_releaseTimer->setSingleShot(true);
    connect(m_releaseTimer, &QTimer::timeout, this, &Playbin::releaseStream);

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
        m_sink = sink;
    }
    if (GstElement* stage = makeGainStage()) {
        shared->gain = gst_bin_get_by_name(GST_BIN(stage), "gain");
        GstPad* pad = gst_element_get_static_pad(shared->gain, "sink");
        gst_pad_add_probe(pad, GST_PAD_PROBE_TYPE_EVENT_DOWNSTREAM, &Callbacks::onGainEvent,
                          sharedData(m_shared), &dropSharedData<Shared>);
        gst_object_unref(pad);
        g_object_set(pipeline, "audio-filter", stage, nullptr);
    }
    g_object_set(pipeline, "flags", kPlayAudio | kPlaySoftVolume, nullptr);
    GstBus* bus = gst_element_get_bus(pipeline);
    gst_bus_set_sync_handler(bus, &Callbacks::onBusMessage, sharedData(m_shared),
                             &dropSharedData<Shared>);
    gst_object_unref(bus);
    g_signal_connect_data(
        pipeline, "about-to-finish", G_CALLBACK(&Callbacks::aboutToFinish), sharedData(m_shared),
        [](gpointer p, GClosure*) { dropSharedData<Shared>(p); }, GConnectFlags(0));
    m_thread = std::thread(&Callbacks::runWorker, m_shared);
}

Playbin::~Playbin()
{
    m_mailbox->close();
    {
        const std::lock_guard lock(m_shared->mutex);
        m_shared->closing = true;
        m_shared->jobs.clear();
        m_shared->wake.notify_all();
    }
    // the worker sets the pipeline to NULL; a hung file may keep it from ever finishing
    auto finished = std::make_shared<std::promise<void>>();
    std::future<void> done = finished->get_future();
    std::thread([worker = std::move(m_thread), finished, shared = m_shared]() mutable {
        worker.join();
        if (shared->gain)
            gst_object_unref(shared->gain);
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
    m_duration.reset();
    m_opened = false;
    m_failed = false;
    auto mailbox = m_mailbox;
    enqueue([url, mailbox, self = this, shared = m_shared.get()](GstElement* pipeline) {
        if (const std::optional<PlaybackError> error =
                playback::checkTrackFile(playback::localPath(url))) {
            mailbox->post([self, error = *error] {
                self->m_failed = true;
                emit self->failed(error);
            });
            return;
        }
        const ReplayGain gain = replaygain::read(playback::localPath(url));
        {
            const std::lock_guard lock(shared->mutex);
            shared->keepGain(url, gain);
            shared->openedFile = url;
            shared->released = false;
            shared->releasedAt.reset();
        }
        g_object_set(pipeline, "uri", url.toEncoded().constData(), nullptr);
        gst_element_set_state(pipeline, GST_STATE_PAUSED);
        settle(pipeline);
    });
}

void Playbin::setReleaseAfter(int ms)
{
    releaseAfterMs = ms;
}

void Playbin::setPlaying(bool playing)
{
    {
        const std::lock_guard lock(m_shared->mutex);
        m_shared->wantPlaying = playing;
    }
    if (playing) {
        m_releaseTimer->stop();
    } else {
        m_jointTimer->stop();
        m_releaseTimer->start(releaseAfterMs);
    }
    Shared* shared = m_shared.get();
    enqueue([shared](GstElement* pipeline) {
        bool playing = false;
        std::optional<std::pair<QUrl, double>> reopen;
        {
            const std::lock_guard lock(shared->mutex);
            playing = shared->wantPlaying;
            if (shared->released && !playing)
                return;
            if (shared->released) {
                shared->released = false;
                shared->openedFile = shared->releasedFile;
                reopen = std::pair(shared->releasedFile, shared->releasedAt.value_or(0));
            }
        }
        if (reopen) {
            // the stream opens anew where the file paused; until the seek has landed, the
            // position is still the one it paused at
            g_object_set(pipeline, "uri", reopen->first.toEncoded().constData(), nullptr);
            gst_element_set_state(pipeline, GST_STATE_PAUSED);
            performSeek(pipeline, {reopen->second, false});
            // the volume element is a new one
            const std::lock_guard lock(shared->mutex);
            g_object_set(pipeline, "volume", shared->volume, nullptr);
            shared->releasedAt.reset();
        }
        gst_element_set_state(pipeline, playing ? GST_STATE_PLAYING : GST_STATE_PAUSED);
    });
}

// Only a paused file that is at rest lets its stream go: not while it opens or seeks, nor while
// a queued file is on its way to the speakers.
void Playbin::releaseStream()
{
    if (!m_opened || m_failed || m_joint)
        return;
    if (m_seekTarget) {
        m_releaseTimer->start(releaseAfterMs);
        return;
    }
    enqueue([shared = m_shared.get(), sink = m_sink, url = m_url](GstElement* pipeline) {
        {
            const std::lock_guard lock(shared->mutex);
            if (shared->wantPlaying || shared->released || shared->queued || shared->seekQueued ||
                shared->queuedBroke)
                return;
        }
        gint64 position = 0;
        if (!gst_element_query_position(sink ? sink : pipeline, GST_FORMAT_TIME, &position) ||
            position < 0)
            return;
        {
            const std::lock_guard lock(shared->mutex);
            shared->released = true;
            shared->releasedFile = url;
            shared->releasedAt = double(position) / GST_SECOND;
        }
        gst_element_set_state(pipeline, GST_STATE_READY);
    });
}

// Until a seek is done, the position is where it goes.
void Playbin::whenDone(std::function<void()> done)
{
    enqueue([mailbox = m_mailbox, done = std::move(done)](GstElement*) { mailbox->post(done); });
}

void Playbin::seekDone(quint64 serial)
{
    if (serial == m_seekSerial)
        m_seekTarget.reset();
}

void Playbin::seekTo(double value, bool isFraction)
{
    if (!isFraction)
        m_seekTarget = value;
    else if (const std::optional<double> length = duration())
        m_seekTarget = value * *length;
    else
        m_seekTarget.reset();
    const quint64 serial = ++m_seekSerial;
    const SeekTarget target{value, isFraction};
    Shared* shared = m_shared.get();
    const std::lock_guard lock(shared->mutex);
    if (shared->queued || m_joint) {
        // a file queued to follow is dropped and the loaded one opened again: a seek would
        // otherwise land in whichever of the two playbin counts as current. The dropped file
        // is still the one to follow, unless another was named since.
        if (shared->nextFile.isEmpty())
            shared->nextFile = shared->queued ? *shared->queued : m_joint->first;
        shared->queued.reset();
        shared->seek.reset();
        ++shared->generation;
        m_joint.reset();
        m_jointTimer->stop();
        shared->jobs.push_back([shared, target, serial, url = m_url](GstElement* pipeline) {
            gst_element_set_state(pipeline, GST_STATE_READY);
            bool playing = false;
            {
                const std::lock_guard lock(shared->mutex);
                shared->queued.reset();
                shared->awaitingSegment = false;
                shared->openedFile = url;
                playing = shared->wantPlaying;
            }
            g_object_set(pipeline, "uri", url.toEncoded().constData(), nullptr);
            gst_element_set_state(pipeline, GST_STATE_PAUSED);
            performSeek(pipeline, target);
            shared->mailbox->post([self = shared->owner, serial] { self->seekDone(serial); });
            if (playing)
                gst_element_set_state(pipeline, GST_STATE_PLAYING);
        });
        shared->wake.notify_all();
        return;
    }
    shared->seek = target;
    shared->seekSerial = serial;
    if (shared->seekQueued)
        return;
    shared->seekQueued = true;
    shared->jobs.push_back([shared](GstElement* pipeline) {
        SeekTarget target;
        quint64 serial = 0;
        settle(pipeline);
        {
            const std::lock_guard lock(shared->mutex);
            shared->seekQueued = false;
            if (!shared->seek)
                return;
            target = *shared->seek;
            serial = shared->seekSerial;
            shared->seek.reset();
            // without a stream, the seek waits for the file to play again
            if (shared->released) {
                if (!target.isFraction)
                    shared->releasedAt = target.value;
                else if (shared->knownDuration > 0)
                    shared->releasedAt = target.value * shared->knownDuration;
            }
        }
        if (!shared->released)
            performSeek(pipeline, target);
        shared->mailbox->post([self = shared->owner, serial] { self->seekDone(serial); });
    });
    shared->wake.notify_all();
}

std::optional<double> Playbin::position() const
{
    if (m_seekTarget)
        return m_seekTarget;
    {
        const std::lock_guard lock(m_shared->mutex);
        if (m_shared->releasedAt)
            return m_shared->releasedAt;
    }
    if (m_joint) {
        const qint64 left =
            m_joint->second - qint64(gst_element_get_current_running_time(m_shared->pipeline));
        return std::max(0.0, m_durationBeforeJoint - std::max<qint64>(left, 0) / 1e9);
    }
    // asked of the sink, which answers from its clock: the pipeline would walk its bins to it
    gint64 position = 0;
    if (!gst_element_query_position(m_sink ? m_sink : m_shared->pipeline, GST_FORMAT_TIME,
                                    &position) ||
        position < 0)
        return std::nullopt;
    return double(position) / GST_SECOND;
}

std::optional<double> Playbin::duration() const
{
    if (m_joint)
        return m_durationBeforeJoint;
    // asked ten times a second: kept until the pipeline says it changed
    if (!m_duration) {
        gint64 duration = 0;
        if (!gst_element_query_duration(m_shared->pipeline, GST_FORMAT_TIME, &duration) ||
            duration <= 0)
            return std::nullopt;
        m_duration = double(duration) / GST_SECOND;
        const std::lock_guard lock(m_shared->mutex);
        m_shared->knownDuration = *m_duration;
    }
    return m_duration;
}

void Playbin::setVolume(double volume)
{
    m_volume = volume;
    const std::lock_guard lock(m_shared->mutex);
    m_shared->volume = volume;
    g_object_set(m_shared->pipeline, "volume", volume, nullptr);
}

void Playbin::setLoudness(Loudness loudness)
{
    const std::lock_guard lock(m_shared->mutex);
    if (loudness == m_shared->loudness)
        return;
    m_shared->loudness = loudness;
    m_shared->applyGain();
}

double Playbin::gain() const
{
    double factor = 1.0;
    if (m_shared->gain)
        g_object_get(m_shared->gain, "volume", &factor, nullptr);
    return factor;
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
        m_duration.reset();
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

// The pipeline is opened again on the file that was playing, paused, and that file counts as
// ended: playing it again starts it from the beginning.
void Playbin::recoverFromQueuedFailure()
{
    Shared* shared = m_shared.get();
    enqueue([shared, url = m_url](GstElement* pipeline) {
        gst_element_set_state(pipeline, GST_STATE_READY);
        {
            const std::lock_guard lock(shared->mutex);
            shared->queuedBroke = false;
            shared->openedFile = url;
        }
        g_object_set(pipeline, "uri", url.toEncoded().constData(), nullptr);
        gst_element_set_state(pipeline, GST_STATE_PAUSED);
    });
    emit endOfStream();
}

// The file is checked to decode off the main thread first; until it has passed, nothing is
// queued, and the playing file simply ends.
void Playbin::setNextFile(const QUrl& url)
{
    if (url == m_nextFileRequested)
        return;
    m_nextFileRequested = url;
    {
        const std::lock_guard lock(m_shared->mutex);
        m_shared->nextFile = QUrl();
    }
    const quint64 serial = ++m_nextFileSerial;
    if (url.isEmpty())
        return;
    using Checked = std::optional<ReplayGain>;
    playback::runDetached<Checked>(
        m_mailbox,
        [url]() -> Checked {
            if (!decodes(url))
                return std::nullopt;
            return replaygain::read(playback::localPath(url));
        },
        [this, url, serial](const Checked& gain) {
            if (!gain || serial != m_nextFileSerial)
                return;
            const std::lock_guard lock(m_shared->mutex);
            m_shared->keepGain(url, *gain);
            m_shared->nextFile = url;
        });
}

void Playbin::jointAt(const QUrl& url, qint64 runningTime, quint64 generation,
                      double durationBefore)
{
    {
        // the queued file was dropped meanwhile
        const std::lock_guard lock(m_shared->mutex);
        if (generation != m_shared->generation)
            return;
    }
    m_joint = std::pair(url, runningTime);
    m_durationBeforeJoint = durationBefore;
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
    m_duration.reset();
    m_url = url;
    emit nextFileStarted(url);
}
