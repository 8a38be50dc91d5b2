#include "playback/albumart.h"

#include "core/pngchunks.h"
#include "playback/playbin.h"

#include <QBuffer>
#include <QFile>
#include <QImageReader>

#include <taglib/attachedpictureframe.h>
#include <taglib/fileref.h>
#include <taglib/tfilestream.h>
#include <taglib/flacfile.h>
#include <taglib/id3v2tag.h>
#include <taglib/mp4file.h>
#include <taglib/mpegfile.h>
#include <taglib/oggflacfile.h>
#include <taglib/opusfile.h>
#include <taglib/rifffile.h>
#include <taglib/aifffile.h>
#include <taglib/speexfile.h>
#include <taglib/vorbisfile.h>
#include <taglib/wavfile.h>
#include <taglib/xiphcomment.h>

namespace albumart {

namespace {

// A cover larger than this is not a cover; decoding it would only cost memory.
constexpr qsizetype kMaxPictureBytes = 32 * 1024 * 1024;
constexpr int kMaxDecodeMegabytes = 128;
// The skin shows a few hundred pixels at most; bigger pictures are scaled while decoding.
constexpr int kMaxSide = 2048;

QByteArray toQByteArray(const TagLib::ByteVector& bytes)
{
    return QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

void appendId3v2(QList<QByteArray>& out, TagLib::ID3v2::Tag* tag)
{
    if (!tag)
        return;
    for (TagLib::ID3v2::Frame* frame : tag->frameList("APIC")) {
        if (auto* picture = dynamic_cast<TagLib::ID3v2::AttachedPictureFrame*>(frame))
            out.append(toQByteArray(picture->picture()));
    }
}

void appendFlacPictures(QList<QByteArray>& out, const TagLib::List<TagLib::FLAC::Picture*>& list)
{
    for (const TagLib::FLAC::Picture* picture : list)
        out.append(toQByteArray(picture->data()));
}

void appendXiph(QList<QByteArray>& out, TagLib::Ogg::XiphComment* comment)
{
    if (comment)
        appendFlacPictures(out, comment->pictureList());
}

void appendMp4(QList<QByteArray>& out, TagLib::MP4::Tag* tag)
{
    if (!tag || !tag->contains("covr"))
        return;
    for (const TagLib::MP4::CoverArt& cover : tag->item("covr").toCoverArtList())
        out.append(toQByteArray(cover.data()));
}

} // namespace

QList<QByteArray> embeddedPictures(const QString& path)
{
    QList<QByteArray> out;
    // TagLib takes a missing file for an empty one and opens files for writing: only a
    // regular file is read, and only read (a FIFO would block, a device never end)
    const QByteArray encoded = QFile::encodeName(path);
    if (playback::checkTrackFile(encoded))
        return out;
    TagLib::FileStream stream(encoded.constData(), true);
    if (!stream.isOpen())
        return out;
    TagLib::FileRef ref(&stream, false);
    TagLib::File* file = ref.file();
    if (!file || !file->isValid())
        return out;

    if (auto* mpeg = dynamic_cast<TagLib::MPEG::File*>(file)) {
        appendId3v2(out, mpeg->ID3v2Tag());
    } else if (auto* flac = dynamic_cast<TagLib::FLAC::File*>(file)) {
        appendFlacPictures(out, flac->pictureList());
        appendXiph(out, flac->xiphComment());
        appendId3v2(out, flac->ID3v2Tag());
    } else if (auto* mp4 = dynamic_cast<TagLib::MP4::File*>(file)) {
        appendMp4(out, mp4->tag());
    } else if (auto* wav = dynamic_cast<TagLib::RIFF::WAV::File*>(file)) {
        appendId3v2(out, wav->ID3v2Tag());
    } else if (auto* aiff = dynamic_cast<TagLib::RIFF::AIFF::File*>(file)) {
        appendId3v2(out, aiff->tag());
    } else if (auto* vorbis = dynamic_cast<TagLib::Ogg::Vorbis::File*>(file)) {
        appendXiph(out, vorbis->tag());
    } else if (auto* opus = dynamic_cast<TagLib::Ogg::Opus::File*>(file)) {
        appendXiph(out, opus->tag());
    } else if (auto* oggFlac = dynamic_cast<TagLib::Ogg::FLAC::File*>(file)) {
        appendXiph(out, oggFlac->tag());
    } else if (auto* speex = dynamic_cast<TagLib::Ogg::Speex::File*>(file)) {
        appendXiph(out, speex->tag());
    }
    return out;
}

QImage decodePicture(const QByteArray& bytes)
{
    if (bytes.isEmpty() || bytes.size() > kMaxPictureBytes || !pngchunks::fit(bytes))
        return {};
    QBuffer buffer;
    buffer.setData(bytes);
    if (!buffer.open(QIODevice::ReadOnly))
        return {};
    QImageReader reader(&buffer);
    reader.setAllocationLimit(kMaxDecodeMegabytes);
    reader.setAutoTransform(true);
    const QSize size = reader.size();
    if (size.isValid() && (size.width() > kMaxSide || size.height() > kMaxSide))
        reader.setScaledSize(size.scaled(kMaxSide, kMaxSide, Qt::KeepAspectRatio));
    return reader.read();
}

QImage readAlbumArt(const QString& path)
{
    for (const QByteArray& bytes : embeddedPictures(path)) {
        QImage image = decodePicture(bytes);
        if (!image.isNull())
            return image;
    }
    return {};
}

} // namespace albumart
