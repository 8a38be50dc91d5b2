#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

// How files are levelled: not at all, each by its own gain, or by its album's gain.
enum class Loudness { Off, Track, Album };

// The loudness tags of one file, in dB relative to the ReplayGain reference, and the peaks as
// linear sample values (1.0 is full scale). What a file lacks, or holds in a form that makes no
// sense, is absent.
struct ReplayGain {
    std::optional<double> trackGain;
    std::optional<double> trackPeak;
    std::optional<double> albumGain;
    std::optional<double> albumPeak;
    bool operator==(const ReplayGain&) const = default;
};

namespace replaygain {

// Reads the tags with TagLib, only for reading: REPLAYGAIN_* in Vorbis comments, FLAC, ID3v2
// TXXX, APE, MP4 freeform atoms and ASF attributes; R128_* for Opus. Nothing for a file that is
// missing, not a regular file or has no such tags. May block on the file: never on the main
// thread.
ReplayGain read(const QByteArray& path);

// "-6.02 dB" and the like, or nothing.
std::optional<double> parseGain(const QString& text);

// The linear factor the gain stage applies: 1.0 when off or without a gain; the file's other
// gain when the chosen one is missing; never so much that the peak goes beyond full scale.
double factor(const ReplayGain& gain, Loudness loudness);

} // namespace replaygain
