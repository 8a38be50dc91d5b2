#include "ui/settings/trackimport.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QUrl>

#include <taglib/fileref.h>
#include <taglib/id3v2tag.h>
#include <taglib/mpegfile.h>
#include <taglib/tpropertymap.h>

namespace trackimport {
namespace {

QString toQString(const TagLib::String& s)
{
    return QString::fromUtf8(s.toCString(true));
}

struct Field {
    // reads the combined (common) tag
    TagLib::String (TagLib::Tag::*common)() const;
    const char* propertyKey;
    const char* id3Frame;
    const char* fallback;
};

const Field kTitle{&TagLib::Tag::title, "TITLE", "TIT2", QT_TRANSLATE_NOOP("TrackImport", "Track")};
const Field kArtist{&TagLib::Tag::artist, "ARTIST", "TPE1",
                    QT_TRANSLATE_NOOP("TrackImport", "Unknown artist")};

// Only regular files are opened: TagLib would block on a FIFO and fail on a directory.
std::optional<TagLib::FileRef> openAudio(const QString& path, bool readProperties)
{
    const QFileInfo info(path);
    if (!info.isFile())
        return std::nullopt;
    TagLib::FileRef ref(QFile::encodeName(info.absoluteFilePath()).constData(), readProperties,
                        TagLib::AudioProperties::Average);
    if (ref.isNull())
        return std::nullopt;
    return ref;
}

// TagLib accepts an MP3 without a single frame (text, an empty file) with blank properties
bool playable(const TagLib::FileRef& ref)
{
    const TagLib::AudioProperties* properties = ref.audioProperties();
    return ref.file()->isValid() && properties && properties->sampleRate() > 0 &&
           properties->channels() > 0;
}

QString readField(const TagLib::FileRef& ref, const Field& field)
{
    // a blank value counts as a value; only an empty one goes on with the search
    if (const TagLib::Tag* tag = ref.tag()) {
        const QString common = toQString((tag->*field.common)());
        if (!common.isEmpty())
            return common;
    }
    const TagLib::PropertyMap properties = ref.file()->properties();
    const auto it = properties.find(field.propertyKey);
    if (it != properties.end()) {
        for (const TagLib::String& value : it->second) {
            if (!value.isEmpty())
                return toQString(value);
        }
    }
    if (auto* mpeg = dynamic_cast<TagLib::MPEG::File*>(ref.file()); mpeg && mpeg->hasID3v2Tag()) {
        const auto& frames = mpeg->ID3v2Tag()->frameListMap();
        const auto frameIt = frames.find(field.id3Frame);
        if (frameIt != frames.end()) {
            for (const TagLib::ID3v2::Frame* frame : frameIt->second) {
                const QString value = toQString(frame->toString());
                if (!value.isEmpty())
                    return value;
            }
        }
    }
    return QCoreApplication::translate("TrackImport", field.fallback);
}

QString readField(const QString& path, const Field& field)
{
    const auto ref = openAudio(path, false);
    return ref ? readField(*ref, field)
               : QCoreApplication::translate("TrackImport", field.fallback);
}

} // namespace

bool isPlayableFile(const QString& path)
{
    const auto ref = openAudio(path, true);
    return ref && playable(*ref);
}

QString readTrackTitle(const QString& path)
{
    return readField(path, kTitle);
}

QString readTrackArtist(const QString& path)
{
    return readField(path, kArtist);
}

QString urlString(const QString& path)
{
    return QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath()).toString(QUrl::FullyEncoded);
}

std::optional<Track> readTrack(const QString& path)
{
    const auto ref = openAudio(path, true);
    if (!ref || !playable(*ref))
        return std::nullopt;
    return Track{QUuid::createUuid(), urlString(path), readField(*ref, kTitle),
                 readField(*ref, kArtist)};
}

ImportResult readItem(const playlistformats::Item& item)
{
    std::optional<Track> track = readTrack(item.path);
    if (!track) {
        if (!item.reportSkip)
            return {};
        const QString why = QFileInfo::exists(item.path) ? QStringLiteral("not a playable audio file")
                                                         : QStringLiteral("no such file");
        return {std::nullopt, playlistformats::skipLine(item.path, why)};
    }
    // a list's own names win, so an exported list comes back as it was
    if (!item.title.isEmpty())
        track->trackName = item.title;
    if (!item.artist.isEmpty())
        track->artist = item.artist;
    return {std::move(track), {}};
}

} // namespace trackimport
