#pragma once

#include "model/playlistformats.h"
#include "model/records.h"

#include <QString>
#include <QStringList>

#include <optional>

// Reading a file's playability, title and artist for the playlist editor's import. Every
// function here is safe to call from worker threads: each call opens its own TagLib handle.
namespace trackimport {

// TagLib opens the file as audio and finds its audio properties, or else GStreamer finds and
// decodes a stream of sound in it (within a few seconds; call it off the main thread); never
// true for a directory or a device, pipe or socket (reading one of those could block forever).
// Files are opened for reading only.
bool isPlayableFile(const QString& path);

// Common title first, then every format's own title items (ID3v2 "TIT2"); "Track" when none.
QString readTrackTitle(const QString& path);
// Same search for the artist (ID3v2 lead performer "TPE1"); "Unknown artist" when none.
QString readTrackArtist(const QString& path);

// The file's absolute URL, percent-encoded: /Music/My Song.mp3 -> file:///Music/My%20Song.mp3
QString urlString(const QString& path);

// Whether a file TagLib cannot read is handed to GStreamer to find out if it plays. The tag
// fuzzer reads tags only: a discoverer run per input would leave it a few inputs a second.
enum class Fallback { AskGStreamer, TagsOnly };

// A new track for a playable file (fresh id), or nothing; one TagLib open for all three reads.
std::optional<Track> readTrack(const QString& path, Fallback fallback = Fallback::AskGStreamer);

// One item of an import: the track (the list's title and artist before the file's own), or
// nothing, with the line that says why when the item asks for one.
struct ImportResult {
    std::optional<Track> track;
    QString skipped;
};
ImportResult readItem(const playlistformats::Item& item);

} // namespace trackimport
