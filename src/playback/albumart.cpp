#include "playback/albumart.h"

#include "core/fileio.h"
#include "core/pngchunks.h"
#include "playback/playbin.h"

#include <QBuffer>
#include <QDir>
#include <QFileInfo>
#include <QFile>
#include <QHash>
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

#include <algorithm>

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

// Front covers go first, the others after them, each in their stored order.
struct Pictures {
    QList<QByteArray> front;
    QList<QByteArray> other;

    void add(const TagLib::ByteVector& bytes, bool isFront)
    {
        (isFront ? front : other).append(toQByteArray(bytes));
    }
};

void appendId3v2(Pictures& out, TagLib::ID3v2::Tag* tag)
{
    if (!tag)
        return;
    for (TagLib::ID3v2::Frame* frame : tag->frameList("APIC")) {
        if (auto* picture = dynamic_cast<TagLib::ID3v2::AttachedPictureFrame*>(frame))
            out.add(picture->picture(),
                    picture->type() == TagLib::ID3v2::AttachedPictureFrame::FrontCover);
    }
}

void appendFlacPictures(Pictures& out, const TagLib::List<TagLib::FLAC::Picture*>& list)
{
    for (const TagLib::FLAC::Picture* picture : list)
        out.add(picture->data(), picture->type() == TagLib::FLAC::Picture::FrontCover);
}

void appendXiph(Pictures& out, TagLib::Ogg::XiphComment* comment)
{
    if (comment)
        appendFlacPictures(out, comment->pictureList());
}

void appendMp4(Pictures& out, TagLib::MP4::Tag* tag)
{
    if (!tag || !tag->contains("covr"))
        return;
    // MP4 pictures say nothing of what they show
    for (const TagLib::MP4::CoverArt& cover : tag->item("covr").toCoverArtList())
        out.add(cover.data(), false);
}

QList<QByteArray> embeddedPictures(TagLib::File* file)
{
    Pictures out;
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
    return out.front + out.other;
}

// A folder named like one disc of an album ("CD1", "Disc 2", "Disk 3") has its cover beside it.
// Read by hand: a regular expression would load and compile its engine for one folder name.
bool isDiscFolder(const QString& name)
{
    QStringView rest(name);
    bool named = false;
    for (const char* word : {"cd", "disc", "disk"}) {
        if (rest.startsWith(QLatin1String(word), Qt::CaseInsensitive)) {
            rest = rest.mid(qsizetype(qstrlen(word)));
            named = true;
            break;
        }
    }
    while (named && !rest.isEmpty() && rest.front().isSpace())
        rest = rest.mid(1);
    return named && !rest.isEmpty() &&
           std::all_of(rest.begin(), rest.end(), [](QChar c) { return c.isDigit(); });
}

QImage folderImage(const QString& dir)
{
    static const char* const kNames[] = {"cover", "folder", "front", "album"};
    static const char* const kExtensions[] = {"jpg", "jpeg", "png", "webp"};
    // the folder's file names by their lower-case form, each read once
    QHash<QString, QString> names;
    for (const QString& name : QDir(dir).entryList(QDir::Files | QDir::Hidden, QDir::NoSort))
        names.insert(name.toLower(), name);
    for (const char* base : kNames) {
        for (const char* extension : kExtensions) {
            const auto it =
                names.constFind(QLatin1String(base) + QLatin1Char('.') + QLatin1String(extension));
            if (it == names.constEnd())
                continue;
            const std::optional<QByteArray> bytes =
                fileio::readRegularFile(dir + QLatin1Char('/') + *it, kMaxPictureBytes, nullptr);
            QImage image = bytes ? decodePicture(*bytes) : QImage();
            if (!image.isNull())
                return image;
        }
    }
    return {};
}

} // namespace

QList<QByteArray> embeddedPictures(const QString& path)
{
    // TagLib takes a missing file for an empty one and opens files for writing: only a
    // regular file is read, and only read (a FIFO would block, a device never end)
    const QByteArray encoded = QFile::encodeName(path);
    if (playback::checkTrackFile(encoded))
        return {};
    TagLib::FileStream stream(encoded.constData(), true);
    if (!stream.isOpen())
        return {};
    TagLib::FileRef ref(&stream, false);
    TagLib::File* file = ref.file();
    if (!file || !file->isValid())
        return {};
    return embeddedPictures(file);
}

QImage folderCover(const QString& path)
{
    const QFileInfo track(path);
    const QDir dir = track.absoluteDir();
    QImage image = folderImage(dir.path());
    if (image.isNull() && isDiscFolder(dir.dirName()))
        image = folderImage(QFileInfo(dir.path()).absolutePath());
    return image;
}

QImage decodePicture(const QByteArray& bytes)
{
    if (bytes.isEmpty() || bytes.size() > kMaxPictureBytes || !pngchunks::fit(bytes))
        return {};
    QBuffer buffer;
    buffer.setData(bytes);
    if (!buffer.open(QIODevice::ReadOnly))
        return {};
    // a PNG or a JPEG is read as what it says it is; anything else is recognised by its content
    const QByteArray format = pngchunks::signatureFormat(bytes);
    QImageReader reader(&buffer, format);
    reader.setAutoDetectImageFormat(format.isEmpty());
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
    // the cover of another album is never taken: only the track's folder is looked in, and
    // the album's folder above a disc's
    if (playback::checkTrackFile(QFile::encodeName(path)))
        return {};
    return folderCover(path);
}

} // namespace albumart
