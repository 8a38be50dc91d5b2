#include "playback/replaygain.h"

#include "playback/playbin.h"

#include <taglib/asffile.h>
#include <taglib/fileref.h>
#include <taglib/mp4file.h>
#include <taglib/opusfile.h>
#include <taglib/tfilestream.h>
#include <taglib/tpropertymap.h>

#include <QHash>

#include <cmath>

namespace replaygain {

namespace {

// beyond these a tag is damaged or hand-made, not measured
constexpr double kMaxGainDb = 30;
constexpr double kMaxPeak = 100;
// an R128 gain is relative to -23 LUFS, 5 dB below the ReplayGain reference
constexpr double kR128ToReplayGainDb = 5;

std::optional<double> parsePeak(const QString& text)
{
    bool ok = false;
    const double peak = text.trimmed().toDouble(&ok);
    if (!ok || !std::isfinite(peak) || peak <= 0 || peak > kMaxPeak)
        return std::nullopt;
    return peak;
}

// signed Q7.8 dB, as an integer in text
std::optional<double> parseR128(const QString& text)
{
    bool ok = false;
    const int value = text.trimmed().toInt(&ok);
    if (!ok || value < -32768 || value > 32767)
        return std::nullopt;
    return double(value) / 256 + kR128ToReplayGainDb;
}

// The tags by lower-case name; formats whose generic map leaves the names out are asked directly.
QHash<QString, QString> gainTags(TagLib::File* file)
{
    QHash<QString, QString> tags;
    const auto keep = [&tags](const TagLib::String& name, const TagLib::String& value) {
        const QString key = QString::fromStdString(name.to8Bit(true)).toLower();
        if ((key.startsWith(u"replaygain_") || key.startsWith(u"r128_")) && !tags.contains(key))
            tags.insert(key, QString::fromStdString(value.to8Bit(true)));
    };
    const TagLib::PropertyMap properties = file->properties();
    for (const auto& [name, values] : properties)
        if (!values.isEmpty())
            keep(name, values.front());
    if (auto* mp4 = dynamic_cast<TagLib::MP4::File*>(file); mp4 && mp4->tag()) {
        for (const auto& [name, item] : mp4->tag()->itemMap()) {
            const TagLib::String prefix = "----:com.apple.iTunes:";
            const TagLib::StringList values = item.toStringList();
            if (name.startsWith(prefix) && !values.isEmpty())
                keep(name.substr(prefix.size()), values.front());
        }
    }
    if (auto* asf = dynamic_cast<TagLib::ASF::File*>(file); asf && asf->tag()) {
        for (const auto& [name, attributes] : asf->tag()->attributeListMap())
            if (!attributes.isEmpty())
                keep(name, attributes.front().toString());
    }
    return tags;
}

} // namespace

std::optional<double> parseGain(const QString& text)
{
    QString number = text.trimmed();
    if (number.endsWith(u"db", Qt::CaseInsensitive))
        number.chop(2);
    bool ok = false;
    const double gain = number.trimmed().toDouble(&ok);
    if (!ok || !std::isfinite(gain) || std::abs(gain) > kMaxGainDb)
        return std::nullopt;
    return gain;
}

ReplayGain read(const QByteArray& path)
{
    if (playback::checkTrackFile(path))
        return {};
    TagLib::FileStream stream(path.constData(), true);
    if (!stream.isOpen())
        return {};
    const TagLib::FileRef ref(&stream, false);
    if (ref.isNull())
        return {};
    const QHash<QString, QString> tags = gainTags(ref.file());
    const auto value = [&tags](const char* key, auto parse) -> std::optional<double> {
        const auto found = tags.constFind(QLatin1String(key));
        return found == tags.cend() ? std::nullopt : parse(*found);
    };
    ReplayGain gain{
        value("replaygain_track_gain", parseGain), value("replaygain_track_peak", parsePeak),
        value("replaygain_album_gain", parseGain), value("replaygain_album_peak", parsePeak)};
    // Opus keeps its own gains; the header's output gain is already applied by the decoder
    if (dynamic_cast<TagLib::Ogg::Opus::File*>(ref.file())) {
        if (const std::optional<double> track = value("r128_track_gain", parseR128))
            gain.trackGain = track;
        if (const std::optional<double> album = value("r128_album_gain", parseR128))
            gain.albumGain = album;
    }
    return gain;
}

double factor(const ReplayGain& gain, Loudness loudness)
{
    if (loudness == Loudness::Off)
        return 1.0;
    const bool album =
        loudness == Loudness::Album ? gain.albumGain.has_value() : !gain.trackGain.has_value();
    const std::optional<double> db = album ? gain.albumGain : gain.trackGain;
    if (!db)
        return 1.0;
    // an album is at least as loud at its peak as any of its tracks
    const std::optional<double> peak = album && gain.albumPeak ? gain.albumPeak : gain.trackPeak;
    const double linear = std::pow(10.0, *db / 20);
    return peak && *peak * linear > 1.0 ? 1.0 / *peak : linear;
}

} // namespace replaygain
