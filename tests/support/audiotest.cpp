#include "support/audiotest.h"

#include <QtTest>

#include <taglib/attachedpictureframe.h>
#include <taglib/fileref.h>
#include <taglib/flacfile.h>
#include <taglib/tpropertymap.h>
#include <taglib/mp4file.h>
#include <taglib/mpegfile.h>
#include <taglib/opusfile.h>
#include <taglib/vorbisfile.h>
#include <taglib/wavfile.h>

#include <cmath>
#include <numbers>

namespace audiotest {

namespace {

// ffmpeg's expression for the tone: a sine per segment, faded over 5 ms where asked, so that
// neither the file's edges nor the steps between segments click
QString toneExpression(const ToneFile& tone)
{
    QStringList segments;
    for (qsizetype i = 0; i < tone.frequencies.size(); ++i) {
        const double from = double(i) * tone.secondsEach;
        // a ramp that does not fade starts at 1
        segments << QStringLiteral("gte(t,%1)*lt(t,%2)*min(1,%3+(t-%1)/0.005)"
                                   "*min(1,%4+(%2-t)/0.005)*sin(2*PI*%5*(t+%6))")
                        .arg(from)
                        .arg(from + tone.secondsEach)
                        .arg(tone.fadeIn ? 0 : 1)
                        .arg(tone.fadeOut ? 0 : 1)
                        .arg(tone.frequencies[i])
                        .arg(tone.startSeconds);
    }
    return QStringLiteral("%1*(%2)").arg(kToneAmplitude).arg(segments.join(u'+'));
}

double pitch(const QList<float>& samples)
{
    int rising = 0;
    for (qsizetype i = 1; i < samples.size(); ++i)
        rising += samples[i - 1] < 0 && samples[i] >= 0 ? 1 : 0;
    return samples.isEmpty() ? 0 : double(rising) * kSampleRate / double(samples.size());
}

} // namespace

QString extension(Format format)
{
    static const char* const extensions[] = {"wav", "flac", "ogg",  "opus", "mp3",
                                             "m4a", "wv",   "aiff", "m4a",  "wma"};
    return QString::fromLatin1(extensions[int(format)]);
}

QString makeToneFile(const QString& dir, const QString& baseName, const ToneFile& toneFile)
{
    static const QStringList codecs[] = {{"pcm_s16le"},
                                         {"flac"},
                                         {"libvorbis", "-q:a", "5"},
                                         {"libopus", "-b:a", "128k"},
                                         {"libmp3lame", "-b:a", "192k", "-id3v2_version", "3"},
                                         {"aac", "-b:a", "192k"},
                                         {"wavpack"},
                                         {"pcm_s16be", "-write_id3v2", "1"},
                                         {"alac"},
                                         {"wmav2", "-b:a", "128k"}};
    QDir().mkpath(dir);
    const QString path = QDir(dir).filePath(baseName + u'.' + extension(toneFile.format));
    const QString source = QStringLiteral("aevalsrc='%1':s=%2:c=stereo:d=%3")
                               .arg(toneExpression(toneFile))
                               .arg(kSampleRate)
                               .arg(toneFile.secondsEach * double(toneFile.frequencies.size()));
    QStringList args{"-nostdin", "-loglevel", "error", "-y", "-f", "lavfi", "-i", source, "-c:a"};
    args << codecs[int(toneFile.format)] << "-metadata"
         << "title=" + toneFile.title;
    QProcess ffmpeg;
    ffmpeg.setProcessChannelMode(QProcess::MergedChannels);
    ffmpeg.start(QStringLiteral("ffmpeg"), args << path);
    if (!ffmpeg.waitForFinished(120000) || ffmpeg.exitStatus() != QProcess::NormalExit ||
        ffmpeg.exitCode() != 0) {
        qWarning().noquote() << "ffmpeg failed on" << path << ffmpeg.errorString()
                             << ffmpeg.readAll();
        return {};
    }
    if (!toneFile.pictures.isEmpty() && !embedPictures(path, toneFile.format, toneFile.pictures)) {
        qWarning() << "cannot embed pictures in" << path;
        return {};
    }
    return path;
}

bool embedPictures(const QString& path, Format format, const QList<QByteArray>& pictures)
{
    const QByteArray encoded = QFile::encodeName(path);
    const char* name = encoded.constData();
    // APIC frames need distinct descriptions; FLAC picture blocks go into FLAC files and, as
    // METADATA_BLOCK_PICTURE, into Ogg comments
    const auto add = [&](auto* target) {
        for (qsizetype i = 0; i < pictures.size(); ++i) {
            if constexpr (std::is_same_v<decltype(target), TagLib::ID3v2::Tag*>) {
                auto* frame = new TagLib::ID3v2::AttachedPictureFrame;
                frame->setType(TagLib::ID3v2::AttachedPictureFrame::FrontCover);
                frame->setDescription(TagLib::String::number(int(i) + 1));
                frame->setPicture({pictures[i].constData(), uint(pictures[i].size())});
                target->addFrame(frame);
            } else {
                auto* picture = new TagLib::FLAC::Picture;
                picture->setType(TagLib::FLAC::Picture::FrontCover);
                picture->setData({pictures[i].constData(), uint(pictures[i].size())});
                target->addPicture(picture);
            }
        }
    };
    switch (format) {
    case Format::Mp3: {
        TagLib::MPEG::File file(name);
        add(file.ID3v2Tag(true));
        return file.save(TagLib::MPEG::File::ID3v2, TagLib::File::StripNone, TagLib::ID3v2::v3);
    }
    case Format::Wav: {
        TagLib::RIFF::WAV::File f(name);
        return add(f.ID3v2Tag()), f.save();
    }
    case Format::Flac: {
        TagLib::FLAC::File f(name);
        return add(&f), f.save();
    }
    case Format::OggVorbis: {
        TagLib::Ogg::Vorbis::File f(name);
        return add(f.tag()), f.save();
    }
    case Format::Opus: {
        TagLib::Ogg::Opus::File f(name);
        return add(f.tag()), f.save();
    }
    case Format::M4a: {
        TagLib::MP4::File file(name);
        TagLib::MP4::CoverArtList covers;
        for (const QByteArray& bytes : pictures)
            covers.append({TagLib::MP4::CoverArt::PNG, {bytes.constData(), uint(bytes.size())}});
        file.tag()->setItem("covr", TagLib::MP4::Item(covers));
        return file.save();
    }
    default:
        return false;
    }
}

bool writeTags(const QString& path, const QVariantMap& tags)
{
    const TagLib::FileRef ref(QFile::encodeName(path).constData());
    if (ref.isNull())
        return false;
    TagLib::PropertyMap properties = ref.file()->properties();
    auto* mp4 = dynamic_cast<TagLib::MP4::File*>(ref.file());
    for (auto it = tags.begin(); it != tags.end(); ++it) {
        const TagLib::String key(it.key().toStdString()),
            value(it.value().toString().toStdString());
        if (mp4)
            mp4->tag()->setItem("----:com.apple.iTunes:" + key, TagLib::StringList(value));
        else
            properties.replace(key, TagLib::StringList(value));
    }
    if (!mp4)
        ref.file()->setProperties(properties);
    return ref.file()->save();
}

double rms(const QList<float>& samples)
{
    double sum = 0;
    for (float s : samples)
        sum += double(s) * s;
    return samples.isEmpty() ? 0 : std::sqrt(sum / double(samples.size()));
}

double amplitudeAt(const QList<float>& samples, double frequency)
{
    const qsizetype n = samples.size();
    if (n < 2)
        return 0;
    // Goertzel over a Hann window, which halves the coherent gain
    const double coeff = 2 * std::cos(2 * std::numbers::pi * frequency / kSampleRate);
    double s1 = 0, s2 = 0;
    for (qsizetype i = 0; i < n; ++i) {
        const double window = 0.5 - 0.5 * std::cos(2 * std::numbers::pi * double(i) / (n - 1));
        const double s0 = window * samples[i] + coeff * s1 - s2;
        s2 = s1;
        s1 = s0;
    }
    return 4 * std::sqrt(std::max(s1 * s1 + s2 * s2 - coeff * s1 * s2, 0.0)) / double(n);
}

SinkRecorder::~SinkRecorder()
{
    m_process.kill();
    m_process.waitForFinished(5000);
}

bool SinkRecorder::start()
{
    const QString sink = qEnvironmentVariable("LINDENFOLD_TEST_SINK", "lindenfold_null");
    m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    QObject::connect(&m_process, &QProcess::readyReadStandardOutput, &m_process,
                     [this] { m_pcm.append(m_process.readAllStandardOutput()); });
    m_process.start(QStringLiteral("parec"),
                    {"-d", sink + ".monitor", "--raw", "--format=s16le", "--channels=1",
                     QStringLiteral("--rate=%1").arg(kSampleRate), "--latency-msec=20"});
    // the null sink renders silence even when idle, so a working recording always grows
    if (QTest::qWaitFor(
            [this] { return recordedMs() >= 100 || m_process.state() == QProcess::NotRunning; },
            15000) &&
        recordedMs() >= 100)
        return true;
    qWarning() << "parec records nothing from" << sink << m_process.errorString();
    return false;
}

QList<float> SinkRecorder::lastSamples(int ms) const
{
    const qsizetype available = m_pcm.size() / 2;
    const qsizetype count =
        ms < 0 ? available : std::min<qsizetype>(available, qsizetype(ms) * kSampleRate / 1000);
    QList<float> samples(count);
    const char* data = m_pcm.constData() + (available - count) * 2;
    for (qsizetype i = 0; i < count; ++i)
        samples[i] = float(qFromLittleEndian<qint16>(data + 2 * i)) / 32768.0f;
    return samples;
}

void SinkRecorder::clear()
{
    m_process.waitForReadyRead(0);
    m_process.readAllStandardOutput();
    m_pcm.clear();
}

template <typename Heard> bool SinkRecorder::waitFor(int timeoutMs, int windowMs, Heard heard)
{
    // the event loop keeps running: the media backend works on this thread too
    return QTest::qWaitFor(
        [&] {
            const QList<float> samples = lastSamples(windowMs);
            return (windowMs < 0 || samples.size() >= windowMs * kSampleRate / 1000) &&
                   heard(samples);
        },
        timeoutMs);
}

bool SinkRecorder::waitForTone(double frequency, int timeoutMs, int windowMs)
{
    // most of the energy sits at this frequency, and the pitch agrees
    return waitFor(timeoutMs, windowMs, [frequency](const QList<float>& samples) {
        const double level = rms(samples);
        return level > 10 * kSilenceRms &&
               amplitudeAt(samples, frequency) > 0.8 * level * std::numbers::sqrt2 &&
               std::abs(pitch(samples) - frequency) < 0.02 * frequency;
    });
}

bool SinkRecorder::waitForSilence(int timeoutMs, int windowMs)
{
    return waitFor(timeoutMs, windowMs, [](const QList<float>& s) { return rms(s) < kSilenceRms; });
}

bool SinkRecorder::waitForSound(int timeoutMs)
{
    // a short sound may be anywhere in what was recorded: look at 20 ms pieces
    return waitFor(timeoutMs, -1, [](const QList<float>& all) {
        constexpr qsizetype piece = kSampleRate / 50;
        for (qsizetype i = 0; i + piece <= all.size(); i += piece) {
            if (rms(all.mid(i, piece)) > 5 * kSilenceRms)
                return true;
        }
        return false;
    });
}

QString SinkRecorder::describe(int windowMs) const
{
    const QList<float> samples = lastSamples(windowMs);
    return QStringLiteral("last %1 ms of %2 ms recorded: rms %3, pitch %4 Hz")
        .arg(windowMs)
        .arg(recordedMs())
        .arg(rms(samples), 0, 'f', 4)
        .arg(pitch(samples), 0, 'f', 1);
}

} // namespace audiotest
