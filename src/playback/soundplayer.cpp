#include "playback/soundplayer.h"

#include "core/output.h"
#include "playback/playbin.h"

#include <QFile>
#include <QTimer>

#include <gst/app/gstappsink.h>
#include <gst/app/gstappsrc.h>
#include <gst/gst.h>

#include <algorithm>
#include <cstdio>

namespace {

// what the sounds are decoded to and played as
constexpr const char* kFormat = "audio/x-raw,format=S16LE,layout=interleaved,rate=44100,channels=2";
constexpr int kBytesPerSecond = 44100 * 2 * 2;
// how long the stream stays open after a sound has played out, for the next click
constexpr int kKeepStreamMs = 2000;

} // namespace

// PCM of one sound, or why it could not be decoded.
struct SoundPlayer::Decoded {
    GstBuffer* pcm = nullptr;
    QString error;
    ~Decoded()
    {
        if (pcm)
            gst_buffer_unref(pcm);
    }
};

namespace {

// Decodes an m4a held in memory to one buffer of PCM; runs off the main thread.
std::shared_ptr<SoundPlayer::Decoded> decode(const QByteArray& bytes)
{
    auto result = std::make_shared<SoundPlayer::Decoded>();
    GError* error = nullptr;
    GstElement* pipeline = gst_parse_launch(
        (QByteArrayLiteral("appsrc name=in ! decodebin ! audioconvert ! audioresample ! ") +
         kFormat + " ! appsink name=out sync=false")
            .constData(),
        &error);
    if (!pipeline) {
        result->error = QString::fromUtf8(error ? error->message : "no decoder");
        g_clear_error(&error);
        return result;
    }
    GstElement* in = gst_bin_get_by_name(GST_BIN(pipeline), "in");
    GstElement* out = gst_bin_get_by_name(GST_BIN(pipeline), "out");
    gst_app_src_push_buffer(GST_APP_SRC(in),
                            gst_buffer_new_memdup(bytes.constData(), gsize(bytes.size())));
    gst_app_src_end_of_stream(GST_APP_SRC(in));
    gst_element_set_state(pipeline, GST_STATE_PLAYING);
    QByteArray collected;
    GstBus* bus = gst_element_get_bus(pipeline);
    GstMessage* message = nullptr;
    // an error ends nothing at the appsink: the bus is asked between samples
    while (!message && !gst_app_sink_is_eos(GST_APP_SINK(out))) {
        GstSample* sample = gst_app_sink_try_pull_sample(GST_APP_SINK(out), 50 * GST_MSECOND);
        if (!sample) {
            message = gst_bus_pop_filtered(bus, GST_MESSAGE_ERROR);
            continue;
        }
        GstMapInfo map;
        if (gst_buffer_map(gst_sample_get_buffer(sample), &map, GST_MAP_READ)) {
            collected.append(reinterpret_cast<const char*>(map.data), qsizetype(map.size));
            gst_buffer_unmap(gst_sample_get_buffer(sample), &map);
        }
        gst_sample_unref(sample);
    }
    if (message) {
        gst_message_parse_error(message, &error, nullptr);
        result->error = QString::fromUtf8(error ? error->message : "");
        g_clear_error(&error);
        gst_message_unref(message);
    } else if (!collected.isEmpty()) {
        result->pcm = gst_buffer_new_memdup(collected.constData(), gsize(collected.size()));
    } else {
        result->error = QStringLiteral("The file holds no sound");
    }
    gst_object_unref(bus);
    gst_element_set_state(pipeline, GST_STATE_NULL);
    gst_object_unref(in);
    gst_object_unref(out);
    gst_object_unref(pipeline);
    return result;
}

gboolean acceptSeek(GstAppSrc*, guint64, gpointer)
{
    return TRUE;
}

} // namespace

SoundPlayer::SoundPlayer(QObject* parent)
    : QObject(parent), m_releaseTimer(new QTimer(this)),
      m_mailbox(std::make_shared<playback::Mailbox>(this))
{
    m_releaseTimer->setSingleShot(true);
    connect(m_releaseTimer, &QTimer::timeout, this, [this] {
        gst_element_set_state(m_pipeline, GST_STATE_READY);
        m_released = true;
    });
}

SoundPlayer::~SoundPlayer()
{
    m_mailbox->close();
    if (m_pipeline) {
        gst_element_set_state(m_pipeline, GST_STATE_NULL);
        gst_object_unref(m_source);
        gst_object_unref(m_pipeline);
    }
}

void SoundPlayer::playSound(const QString& name)
{
    const QString resource = QStringLiteral(":/sounds/%1.m4a").arg(name);
    QFile file(resource);
    if (name.isEmpty() || !file.open(QIODevice::ReadOnly)) {
        printLine(QStringLiteral("Error: Sound file ") + name + QStringLiteral(".m4a not found."));
        return;
    }
    m_lastSound = name;
    emit soundStarted(name);
    if (const std::shared_ptr<Decoded> sound = m_sounds.value(name)) {
        decoded(name, sound);
        return;
    }
    if (m_decoding.value(name))
        return;
    m_decoding.insert(name, true);
    playback::initialise();
    playback::runDetached<std::shared_ptr<Decoded>>(
        m_mailbox, [bytes = file.readAll()] { return decode(bytes); },
        [this, name](const std::shared_ptr<Decoded>& sound) {
            m_decoding.remove(name);
            m_sounds.insert(name, sound);
            // only the sound asked for last plays; an earlier one still decoding stays silent
            if (name == m_lastSound)
                decoded(name, sound);
        });
}

QString SoundPlayer::lastSound() const
{
    return m_lastSound;
}

void SoundPlayer::decoded(const QString& name, const std::shared_ptr<Decoded>& sound)
{
    if (!sound->pcm) {
        printLine(QStringLiteral("Error: Could not play sound file ") + name +
                  QStringLiteral(". Error: ") + sound->error);
        return;
    }
    start(*sound);
}

// One stream stays open for all sounds: a flushing seek empties it (cutting off what sounds)
// and the new sound's samples go straight in, without waiting for the clock.
void SoundPlayer::start(const Decoded& sound)
{
    if (!m_pipeline) {
        m_pipeline = gst_parse_launch(
            (QByteArrayLiteral("appsrc name=in format=time stream-type=seekable caps=") + kFormat +
             " ! pulsesink name=out sync=false buffer-time=40000 latency-time=10000 "
             "client-name=Lindenfold")
                .constData(),
            nullptr);
        if (!m_pipeline)
            return;
        // nobody reads its bus: what it says (an audio server that is gone) is dropped
        GstBus* bus = gst_element_get_bus(m_pipeline);
        gst_bus_set_flushing(bus, TRUE);
        gst_object_unref(bus);
        m_source = gst_bin_get_by_name(GST_BIN(m_pipeline), "in");
        GstAppSrcCallbacks callbacks{};
        callbacks.seek_data = acceptSeek;
        gst_app_src_set_callbacks(GST_APP_SRC(m_source), &callbacks, nullptr, nullptr);
        gst_element_set_state(m_pipeline, GST_STATE_PLAYING);
    } else if (m_released) {
        gst_element_set_state(m_pipeline, GST_STATE_PLAYING);
        m_released = false;
    } else {
        gst_element_seek_simple(m_pipeline, GST_FORMAT_TIME, GST_SEEK_FLAG_FLUSH, 0);
    }
    gst_app_src_push_buffer(GST_APP_SRC(m_source), gst_buffer_ref(sound.pcm));
    const qint64 soundMs = qint64(gst_buffer_get_size(sound.pcm)) * 1000 / kBytesPerSecond;
    m_releaseTimer->start(int(std::min<qint64>(soundMs, 60000)) + kKeepStreamMs);
}
