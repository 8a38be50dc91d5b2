#include "ui/settings/trackimport.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QUrl>

#include <taglib/fileref.h>
#include <taglib/id3v2tag.h>
#include <taglib/mpegfile.h>
#include <taglib/tfilestream.h>
#include <taglib/tpropertymap.h>

#include <gst/gst.h>
#include <gst/pbutils/pbutils.h>

#include <memory>
#include <mutex>

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

// GStreamer's verdict on a file TagLib cannot read comes within this time, or it is no.
constexpr int kDiscoverSeconds = 5;

// An audio file opened for reading only. TagLib opens a file read-write where it may, and
// closing a file opened so tells file indexers that it changed.
struct AudioFile {
    // declared first, so that it outlives the file read from it
    std::unique_ptr<TagLib::FileStream> stream;
    TagLib::FileRef ref;
};

// Only regular files are opened: TagLib would block on a FIFO and fail on a directory.
std::optional<AudioFile> openAudio(const QString& path, bool readProperties)
{
    const QFileInfo info(path);
    if (!info.isFile())
        return std::nullopt;
    auto stream = std::make_unique<TagLib::FileStream>(
        QFile::encodeName(info.absoluteFilePath()).constData(), true);
    if (!stream->isOpen())
        return std::nullopt;
    TagLib::FileRef ref(stream.get(), readProperties, TagLib::AudioProperties::Average);
    if (ref.isNull())
        return std::nullopt;
    return AudioFile{std::move(stream), ref};
}

// Whether GStreamer finds a stream of sound in the file and decodes it: what TagLib cannot
// read (an RF64 WAV, a format TagLib does not know) may still play. Blocks for up to
// kDiscoverSeconds, so never on the main thread.
bool gstreamerPlays(const QString& path)
{
    if (!QFileInfo(path).isFile())
        return false;
    static std::once_flag initialised;
    std::call_once(initialised, [] { gst_init(nullptr, nullptr); });
    gchar* uri = gst_filename_to_uri(QFile::encodeName(path).constData(), nullptr);
    GstDiscoverer* discoverer = gst_discoverer_new(kDiscoverSeconds * GST_SECOND, nullptr);
    bool plays = false;
    if (uri && discoverer) {
        if (GstDiscovererInfo* info = gst_discoverer_discover_uri(discoverer, uri, nullptr)) {
            if (gst_discoverer_info_get_result(info) == GST_DISCOVERER_OK) {
                GList* audio = gst_discoverer_info_get_audio_streams(info);
                plays = audio != nullptr;
                gst_discoverer_stream_info_list_free(audio);
            }
            g_object_unref(info);
        }
    }
    if (discoverer)
        g_object_unref(discoverer);
    g_free(uri);
    return plays;
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

QString readField(const std::optional<AudioFile>& file, const Field& field)
{
    return file ? readField(file->ref, field)
                : QCoreApplication::translate("TrackImport", field.fallback);
}

// Playable by TagLib's reading, else (when asked) by GStreamer's.
bool playable(const std::optional<AudioFile>& file, const QString& path, Fallback fallback)
{
    return (file && playable(file->ref)) ||
           (fallback == Fallback::AskGStreamer && gstreamerPlays(path));
}

} // namespace

bool isPlayableFile(const QString& path)
{
    return playable(openAudio(path, true), path, Fallback::AskGStreamer);
}

QString readTrackTitle(const QString& path)
{
    return readField(openAudio(path, false), kTitle);
}

QString readTrackArtist(const QString& path)
{
    return readField(openAudio(path, false), kArtist);
}

QString urlString(const QString& path)
{
    return QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath()).toString(QUrl::FullyEncoded);
}

std::optional<Track> readTrack(const QString& path, Fallback fallback)
{
    const std::optional<AudioFile> file = openAudio(path, true);
    if (!playable(file, path, fallback))
        return std::nullopt;
    return Track{QUuid::createUuid(), urlString(path), readField(file, kTitle),
                 readField(file, kArtist)};
}

ImportResult readItem(const playlistformats::Item& item)
{
    std::optional<Track> track = readTrack(item.path);
    if (!track) {
        if (!item.reportSkip)
            return {};
        const QString why = QFileInfo::exists(item.path)
                                ? QStringLiteral("not a playable audio file")
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
