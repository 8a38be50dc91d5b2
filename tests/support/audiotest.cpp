#include "support/audiotest.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDebug>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QEventLoop>
#include <QThread>
#include <QTimer>
#include <QtEndian>

#include <taglib/attachedpictureframe.h>
#include <taglib/flacfile.h>
#include <taglib/flacpicture.h>
#include <taglib/id3v2tag.h>
#include <taglib/mp4file.h>
#include <taglib/mpegfile.h>
#include <taglib/opusfile.h>
#include <taglib/vorbisfile.h>
#include <taglib/wavfile.h>
#include <taglib/xiphcomment.h>

#include <cmath>
#include <numbers>

namespace audiotest {

namespace {

constexpr int kChannels = 2;

bool run(const QString& program, const QStringList& args)
{
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(program, args);
    if (!process.waitForFinished(120000) || process.exitStatus() != QProcess::NormalExit ||
        process.exitCode() != 0) {
        qWarning().noquote() << program << args.join(u' ') << "failed:" << process.readAll();
        return false;
    }
    return true;
}

// 16-bit stereo PCM WAV with a short fade at each segment's edges, so segments do not click.
bool writeWav(const QString& path, const ToneFile& toneFile)
{
    const int perSegment = int(toneFile.secondsEach * kSampleRate);
    const qint64 start = std::llround(toneFile.startSeconds * kSampleRate);
    const int fade = kSampleRate / 200;
    QByteArray data;
    data.reserve(qsizetype(perSegment) * toneFile.frequencies.size() * kChannels * 2);
    for (double frequency : toneFile.frequencies) {
        for (int i = 0; i < perSegment; ++i) {
            double gain = toneFile.amplitude;
            if (i < fade && toneFile.fadeIn)
                gain *= double(i) / fade;
            else if (perSegment - i < fade && toneFile.fadeOut)
                gain *= double(perSegment - i) / fade;
            const double value =
                gain * std::sin(2 * std::numbers::pi * frequency * double(start + i) / kSampleRate);
            const qint16 sample = qint16(std::lround(value * 32767));
            for (int c = 0; c < kChannels; ++c) {
                char bytes[2];
                qToLittleEndian(sample, bytes);
                data.append(bytes, 2);
            }
        }
    }
    QByteArray header;
    auto put32 = [&header](quint32 v) {
        char b[4];
        qToLittleEndian(v, b);
        header.append(b, 4);
    };
    auto put16 = [&header](quint16 v) {
        char b[2];
        qToLittleEndian(v, b);
        header.append(b, 2);
    };
    header.append("RIFF");
    put32(quint32(36 + data.size()));
    header.append("WAVEfmt ");
    put32(16);
    put16(1);
    put16(kChannels);
    put32(kSampleRate);
    put32(kSampleRate * kChannels * 2);
    put16(kChannels * 2);
    put16(16);
    header.append("data");
    put32(quint32(data.size()));
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(header) == 44 &&
           file.write(data) == data.size();
}

QStringList codecArgs(Format format)
{
    switch (format) {
    case Format::Wav:
        return {"-c:a", "pcm_s16le"};
    case Format::Flac:
        return {"-c:a", "flac"};
    case Format::OggVorbis:
        return {"-c:a", "libvorbis", "-q:a", "5"};
    case Format::Opus:
        return {"-c:a", "libopus", "-b:a", "128k"};
    case Format::Mp3:
        return {"-c:a", "libmp3lame", "-b:a", "192k", "-id3v2_version", "3"};
    case Format::M4a:
        return {"-c:a", "aac", "-b:a", "192k"};
    }
    return {};
}

TagLib::ByteVector toByteVector(const QByteArray& bytes)
{
    return TagLib::ByteVector(bytes.constData(), uint(bytes.size()));
}

TagLib::FLAC::Picture* flacPicture(const QByteArray& bytes)
{
    auto* picture = new TagLib::FLAC::Picture;
    picture->setType(TagLib::FLAC::Picture::FrontCover);
    picture->setMimeType("image/png");
    picture->setData(toByteVector(bytes));
    return picture;
}

void addApic(TagLib::ID3v2::Tag* tag, const QList<QByteArray>& pictures)
{
    for (int i = 0; i < pictures.size(); ++i) {
        auto* frame = new TagLib::ID3v2::AttachedPictureFrame;
        frame->setType(TagLib::ID3v2::AttachedPictureFrame::FrontCover);
        frame->setMimeType("image/png");
        frame->setDescription(TagLib::String(QByteArray::number(i + 1).constData()));
        frame->setPicture(toByteVector(pictures[i]));
        tag->addFrame(frame);
    }
}

} // namespace

QString extension(Format format)
{
    switch (format) {
    case Format::Wav:
        return QStringLiteral("wav");
    case Format::Flac:
        return QStringLiteral("flac");
    case Format::OggVorbis:
        return QStringLiteral("ogg");
    case Format::Opus:
        return QStringLiteral("opus");
    case Format::Mp3:
        return QStringLiteral("mp3");
    case Format::M4a:
        return QStringLiteral("m4a");
    }
    return {};
}

const QList<Format>& allFormats()
{
    static const QList<Format> formats{Format::Wav,  Format::Flac, Format::OggVorbis,
                                       Format::Opus, Format::Mp3,  Format::M4a};
    return formats;
}

QString makeToneFile(const QString& dir, const QString& baseName, const ToneFile& toneFile)
{
    QDir().mkpath(dir);
    const QString path = QDir(dir).filePath(baseName + u'.' + extension(toneFile.format));
    const QString wav = QDir(dir).filePath(baseName + QStringLiteral(".source.wav"));
    if (!writeWav(wav, toneFile)) {
        qWarning() << "cannot write" << wav;
        return {};
    }
    QStringList args{"-nostdin", "-loglevel", "error", "-y", "-i", wav};
    args << codecArgs(toneFile.format);
    if (!toneFile.title.isEmpty())
        args << "-metadata" << QStringLiteral("title=") + toneFile.title;
    if (!toneFile.artist.isEmpty())
        args << "-metadata" << QStringLiteral("artist=") + toneFile.artist;
    args << path;
    const bool encoded = run(QStringLiteral("ffmpeg"), args);
    QFile::remove(wav);
    if (!encoded)
        return {};
    if (!toneFile.pictures.isEmpty() && !embedPictures(path, toneFile.format, toneFile.pictures)) {
        qWarning() << "cannot embed pictures in" << path;
        return {};
    }
    return path;
}

bool embedPictures(const QString& path, Format format, const QList<QByteArray>& pictures)
{
    const QByteArray name = QFile::encodeName(path);
    switch (format) {
    case Format::Mp3: {
        TagLib::MPEG::File file(name.constData());
        addApic(file.ID3v2Tag(true), pictures);
        return file.save(TagLib::MPEG::File::ID3v2, TagLib::File::StripNone,
                         TagLib::ID3v2::v3);
    }
    case Format::Wav: {
        TagLib::RIFF::WAV::File file(name.constData());
        addApic(file.ID3v2Tag(), pictures);
        return file.save();
    }
    case Format::Flac: {
        TagLib::FLAC::File file(name.constData());
        for (const QByteArray& bytes : pictures)
            file.addPicture(flacPicture(bytes));
        return file.save();
    }
    case Format::OggVorbis: {
        TagLib::Ogg::Vorbis::File file(name.constData());
        for (const QByteArray& bytes : pictures)
            file.tag()->addPicture(flacPicture(bytes));
        return file.save();
    }
    case Format::Opus: {
        TagLib::Ogg::Opus::File file(name.constData());
        for (const QByteArray& bytes : pictures)
            file.tag()->addPicture(flacPicture(bytes));
        return file.save();
    }
    case Format::M4a: {
        TagLib::MP4::File file(name.constData());
        TagLib::MP4::CoverArtList covers;
        for (const QByteArray& bytes : pictures)
            covers.append(TagLib::MP4::CoverArt(TagLib::MP4::CoverArt::PNG, toByteVector(bytes)));
        file.tag()->setItem("covr", TagLib::MP4::Item(covers));
        return file.save();
    }
    }
    return false;
}

QByteArray imageBytes(const QColor& color, const QSize& size, const char* format)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(color);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format);
    return bytes;
}

double rms(const QList<float>& samples)
{
    if (samples.isEmpty())
        return 0;
    double sum = 0;
    for (float s : samples)
        sum += double(s) * s;
    return std::sqrt(sum / samples.size());
}

double amplitudeAt(const QList<float>& samples, double frequency)
{
    const qsizetype n = samples.size();
    if (n < 2)
        return 0;
    const double omega = 2 * std::numbers::pi * frequency / kSampleRate;
    const double coeff = 2 * std::cos(omega);
    double s1 = 0;
    double s2 = 0;
    for (qsizetype i = 0; i < n; ++i) {
        const double window = 0.5 - 0.5 * std::cos(2 * std::numbers::pi * i / (n - 1));
        const double s0 = window * samples[i] + coeff * s1 - s2;
        s2 = s1;
        s1 = s0;
    }
    const double power = s1 * s1 + s2 * s2 - coeff * s1 * s2;
    // the Hann window halves the coherent gain
    return 4 * std::sqrt(std::max(power, 0.0)) / n;
}

double dominantFrequency(const QList<float>& samples)
{
    const double level = rms(samples);
    if (level < SinkRecorder::kSilenceRms)
        return 0;
    const double threshold = level * 0.5;
    bool below = false;
    qsizetype first = -1;
    qsizetype last = -1;
    int crossings = 0;
    for (qsizetype i = 0; i < samples.size(); ++i) {
        if (samples[i] < -threshold) {
            below = true;
        } else if (below && samples[i] > threshold) {
            below = false;
            if (first < 0)
                first = i;
            else
                ++crossings;
            last = i;
        }
    }
    if (crossings == 0)
        return 0;
    return double(crossings) * kSampleRate / double(last - first);
}

SinkRecorder::SinkRecorder()
{
    QObject::connect(&m_process, &QProcess::readyReadStandardOutput, &m_process,
                     [this] { readAvailable(); });
}

SinkRecorder::~SinkRecorder()
{
    stop();
}

bool SinkRecorder::start()
{
    const QString sink = qEnvironmentVariable("LINDENFOLD_TEST_SINK", QStringLiteral("lindenfold_null"));
    m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    m_process.start(QStringLiteral("parec"),
                    {QStringLiteral("-d"), sink + QStringLiteral(".monitor"),
                     QStringLiteral("--raw"), QStringLiteral("--format=s16le"),
                     QStringLiteral("--rate=%1").arg(kSampleRate), QStringLiteral("--channels=1"),
                     QStringLiteral("--latency-msec=20")});
    if (!m_process.waitForStarted(10000)) {
        qWarning() << "parec did not start:" << m_process.errorString();
        return false;
    }
    // the null sink renders silence even when idle, so a working recording always grows
    const QDeadlineTimer deadline(15000);
    while (recordedMs() < 100 && !deadline.hasExpired()) {
        if (m_process.state() != QProcess::Running) {
            qWarning() << "parec ended before recording anything";
            return false;
        }
        m_process.waitForReadyRead(200);
        readAvailable();
    }
    if (recordedMs() < 100) {
        qWarning() << "parec records nothing from" << sink;
        return false;
    }
    return true;
}

void SinkRecorder::stop()
{
    if (m_process.state() == QProcess::NotRunning)
        return;
    m_process.terminate();
    if (!m_process.waitForFinished(5000)) {
        m_process.kill();
        m_process.waitForFinished(5000);
    }
}

void SinkRecorder::readAvailable()
{
    m_pcm.append(m_process.readAllStandardOutput());
}

QList<float> SinkRecorder::lastSamples(int ms) const
{
    const qsizetype available = m_pcm.size() / 2;
    const qsizetype count = std::min<qsizetype>(available, qsizetype(ms) * kSampleRate / 1000);
    QList<float> samples;
    samples.reserve(count);
    const char* data = m_pcm.constData() + (available - count) * 2;
    for (qsizetype i = 0; i < count; ++i)
        samples.append(qFromLittleEndian<qint16>(data + 2 * i) / 32768.0f);
    return samples;
}

qint64 SinkRecorder::recordedMs() const
{
    return qint64(m_pcm.size() / 2) * 1000 / kSampleRate;
}

void SinkRecorder::clear()
{
    readAvailable();
    m_pcm.clear();
}

namespace {

// Keeps the caller's event loop (the player's signals) and the recording going.
template <typename Condition>
bool waitUntil(int timeoutMs, Condition condition)
{
    const QDeadlineTimer deadline(timeoutMs);
    while (true) {
        if (condition())
            return true;
        if (deadline.hasExpired())
            return false;
        // an idle event loop, never a blocked one: the media backend works on this thread too
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
        QThread::msleep(20);
    }
}

} // namespace

bool SinkRecorder::waitForTone(double frequency, int timeoutMs, int windowMs)
{
    return waitUntil(timeoutMs, [&] {
        m_process.waitForReadyRead(0);
        readAvailable();
        const QList<float> samples = lastSamples(windowMs);
        if (samples.size() < windowMs * kSampleRate / 1000)
            return false;
        const double level = rms(samples);
        const double amplitude = amplitudeAt(samples, frequency);
        // most of the energy sits at this frequency, and the pitch agrees
        return level > 10 * kSilenceRms && amplitude > 0.8 * level * std::numbers::sqrt2 &&
               std::abs(dominantFrequency(samples) - frequency) < 0.02 * frequency;
    });
}

bool SinkRecorder::waitForSilence(int timeoutMs, int windowMs)
{
    return waitUntil(timeoutMs, [&] {
        m_process.waitForReadyRead(0);
        readAvailable();
        const QList<float> samples = lastSamples(windowMs);
        return samples.size() >= windowMs * kSampleRate / 1000 && rms(samples) < kSilenceRms;
    });
}

bool SinkRecorder::waitForSound(int timeoutMs)
{
    return waitUntil(timeoutMs, [&] {
        m_process.waitForReadyRead(0);
        readAvailable();
        const QList<float> all = lastSamples(int(recordedMs()));
        // a short sound may be anywhere in what was recorded: look at 20 ms pieces
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
        .arg(dominantFrequency(samples), 0, 'f', 1);
}

} // namespace audiotest
