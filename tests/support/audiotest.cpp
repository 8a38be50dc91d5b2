#include "support/audiotest.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDebug>
#include <QDir>
#include <QFile>
#include <QThread>
#include <QtEndian>

#include <taglib/attachedpictureframe.h>
#include <taglib/flacfile.h>
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
        const double to = from + tone.secondsEach;
        QString segment = QStringLiteral("gte(t,%1)*lt(t,%2)").arg(from).arg(to);
        if (tone.fadeIn)
            segment += QStringLiteral("*min(1,(t-%1)/0.005)").arg(from);
        if (tone.fadeOut)
            segment += QStringLiteral("*min(1,(%1-t)/0.005)").arg(to);
        segments << segment + QStringLiteral("*sin(2*PI*%1*(t+%2))")
                                  .arg(tone.frequencies[i])
                                  .arg(tone.startSeconds);
    }
    return QStringLiteral("%1*(%2)").arg(kToneAmplitude).arg(segments.join(u'+'));
}

TagLib::ByteVector byteVector(const QByteArray& bytes)
{
    return TagLib::ByteVector(bytes.constData(), uint(bytes.size()));
}

// Keeps the caller's event loop (the player's signals) and the recording going.
template <typename Condition> bool waitUntil(int timeoutMs, Condition condition)
{
    const QDeadlineTimer deadline(timeoutMs);
    while (!condition()) {
        if (deadline.hasExpired())
            return false;
        // an idle event loop, never a blocked one: the media backend works on this thread too
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
        QThread::msleep(20);
    }
    return true;
}

double pitch(const QList<float>& samples)
{
    int rising = 0;
    for (qsizetype i = 1; i < samples.size(); ++i)
        rising += samples[i - 1] < 0 && samples[i] >= 0 ? 1 : 0;
    return samples.isEmpty() ? 0 : double(rising) * kSampleRate / double(samples.size());
}

// most of the energy sits at this frequency, and the pitch agrees
bool isTone(const QList<float>& samples, double frequency)
{
    const double level = rms(samples);
    return level > 10 * SinkRecorder::kSilenceRms &&
           amplitudeAt(samples, frequency) > 0.8 * level * std::numbers::sqrt2 &&
           std::abs(pitch(samples) - frequency) < 0.02 * frequency;
}

bool isSilence(const QList<float>& samples, double)
{
    return rms(samples) < SinkRecorder::kSilenceRms;
}

} // namespace

QString extension(Format format)
{
    static const char* const extensions[] = {"wav", "flac", "ogg", "opus", "mp3", "m4a"};
    return QString::fromLatin1(extensions[int(format)]);
}

QString makeToneFile(const QString& dir, const QString& baseName, const ToneFile& toneFile)
{
    static const QStringList codecs[] = {
        {"-c:a", "pcm_s16le"},
        {"-c:a", "flac"},
        {"-c:a", "libvorbis", "-q:a", "5"},
        {"-c:a", "libopus", "-b:a", "128k"},
        {"-c:a", "libmp3lame", "-b:a", "192k", "-id3v2_version", "3"},
        {"-c:a", "aac", "-b:a", "192k"},
    };
    QDir().mkpath(dir);
    const QString path = QDir(dir).filePath(baseName + u'.' + extension(toneFile.format));
    const QString source = QStringLiteral("aevalsrc='%1':s=%2:c=stereo:d=%3")
                               .arg(toneExpression(toneFile))
                               .arg(kSampleRate)
                               .arg(toneFile.secondsEach * double(toneFile.frequencies.size()));
    QStringList args{"-nostdin", "-loglevel", "error", "-y", "-f", "lavfi", "-i", source};
    args << codecs[int(toneFile.format)];
    if (!toneFile.title.isEmpty())
        args << "-metadata" << QStringLiteral("title=") + toneFile.title;
    if (!toneFile.artist.isEmpty())
        args << "-metadata" << QStringLiteral("artist=") + toneFile.artist;
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
    const QByteArray name = QFile::encodeName(path);
    const auto addApic = [&](TagLib::ID3v2::Tag* tag) {
        for (int i = 0; i < pictures.size(); ++i) {
            auto* frame = new TagLib::ID3v2::AttachedPictureFrame;
            frame->setType(TagLib::ID3v2::AttachedPictureFrame::FrontCover);
            frame->setMimeType("image/png");
            frame->setDescription(TagLib::String::number(i + 1));
            frame->setPicture(byteVector(pictures[i]));
            tag->addFrame(frame);
        }
    };
    const auto flacPicture = [](const QByteArray& bytes) {
        auto* picture = new TagLib::FLAC::Picture;
        picture->setType(TagLib::FLAC::Picture::FrontCover);
        picture->setMimeType("image/png");
        picture->setData(byteVector(bytes));
        return picture;
    };
    const auto addToXiph = [&](auto&& file) {
        for (const QByteArray& bytes : pictures)
            file.tag()->addPicture(flacPicture(bytes));
        return file.save();
    };
    switch (format) {
    case Format::Mp3: {
        TagLib::MPEG::File file(name.constData());
        addApic(file.ID3v2Tag(true));
        return file.save(TagLib::MPEG::File::ID3v2, TagLib::File::StripNone, TagLib::ID3v2::v3);
    }
    case Format::Wav: {
        TagLib::RIFF::WAV::File file(name.constData());
        addApic(file.ID3v2Tag());
        return file.save();
    }
    case Format::Flac: {
        TagLib::FLAC::File file(name.constData());
        for (const QByteArray& bytes : pictures)
            file.addPicture(flacPicture(bytes));
        return file.save();
    }
    case Format::OggVorbis:
        return addToXiph(TagLib::Ogg::Vorbis::File(name.constData()));
    case Format::Opus:
        return addToXiph(TagLib::Ogg::Opus::File(name.constData()));
    case Format::M4a: {
        TagLib::MP4::File file(name.constData());
        TagLib::MP4::CoverArtList covers;
        for (const QByteArray& bytes : pictures)
            covers.append(TagLib::MP4::CoverArt(TagLib::MP4::CoverArt::PNG, byteVector(bytes)));
        file.tag()->setItem("covr", TagLib::MP4::Item(covers));
        return file.save();
    }
    }
    return false;
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
    const double coeff = 2 * std::cos(2 * std::numbers::pi * frequency / kSampleRate);
    double s1 = 0;
    double s2 = 0;
    for (qsizetype i = 0; i < n; ++i) {
        const double window =
            0.5 - 0.5 * std::cos(2 * std::numbers::pi * double(i) / double(n - 1));
        const double s0 = window * samples[i] + coeff * s1 - s2;
        s2 = s1;
        s1 = s0;
    }
    // the Hann window halves the coherent gain
    return 4 * std::sqrt(std::max(s1 * s1 + s2 * s2 - coeff * s1 * s2, 0.0)) / double(n);
}

SinkRecorder::SinkRecorder()
{
    QObject::connect(&m_process, &QProcess::readyReadStandardOutput, &m_process,
                     [this] { m_pcm.append(m_process.readAllStandardOutput()); });
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
    m_process.start(QStringLiteral("parec"),
                    {"-d", sink + ".monitor", "--raw", "--format=s16le", "--channels=1",
                     QStringLiteral("--rate=%1").arg(kSampleRate), "--latency-msec=20"});
    // the null sink renders silence even when idle, so a working recording always grows
    waitUntil(15000, [this] {
        poll();
        return recordedMs() >= 100 || m_process.state() == QProcess::NotRunning;
    });
    if (recordedMs() < 100)
        qWarning() << "parec records nothing from" << sink << m_process.errorString();
    return recordedMs() >= 100;
}

void SinkRecorder::poll()
{
    m_process.waitForReadyRead(0);
    m_pcm.append(m_process.readAllStandardOutput());
}

QList<float> SinkRecorder::lastSamples(int ms) const
{
    const qsizetype available = m_pcm.size() / 2;
    const qsizetype count = std::min<qsizetype>(available, qsizetype(ms) * kSampleRate / 1000);
    QList<float> samples(count);
    const char* data = m_pcm.constData() + (available - count) * 2;
    for (qsizetype i = 0; i < count; ++i)
        samples[i] = float(qFromLittleEndian<qint16>(data + 2 * i)) / 32768.0f;
    return samples;
}

qint64 SinkRecorder::recordedMs() const
{
    return qint64(m_pcm.size() / 2) * 1000 / kSampleRate;
}

void SinkRecorder::clear()
{
    poll();
    m_pcm.clear();
}

bool SinkRecorder::waitForWindow(int timeoutMs, int windowMs,
                                 bool (*heard)(const QList<float>&, double), double frequency)
{
    return waitUntil(timeoutMs, [&] {
        poll();
        const QList<float> samples = lastSamples(windowMs);
        return samples.size() >= windowMs * kSampleRate / 1000 && heard(samples, frequency);
    });
}

bool SinkRecorder::waitForTone(double frequency, int timeoutMs, int windowMs)
{
    return waitForWindow(timeoutMs, windowMs, isTone, frequency);
}

bool SinkRecorder::waitForSilence(int timeoutMs, int windowMs)
{
    return waitForWindow(timeoutMs, windowMs, isSilence);
}

bool SinkRecorder::waitForSound(int timeoutMs)
{
    // a short sound may be anywhere in what was recorded: look at 20 ms pieces
    return waitUntil(timeoutMs, [&] {
        poll();
        const QList<float> all = lastSamples(int(recordedMs()));
        for (qsizetype i = 0; i + kSampleRate / 50 <= all.size(); i += kSampleRate / 50) {
            if (rms(all.mid(i, kSampleRate / 50)) > 5 * kSilenceRms)
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
