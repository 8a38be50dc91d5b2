#pragma once

#include "model/records.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

// Playlists of other players in and out: M3U/M3U8, PLS and XSPF are read, M3U8 is written.
// Nothing here reads audio files; the import reads their tags.
namespace playlistformats {

// Lists in lists are followed this deep; a list at the next level is refused.
constexpr int kMaxDepth = 8;
// An import takes at most this many entries and lists, whatever its lists hold.
constexpr int kMaxEntries = 100000;
constexpr qint64 kMaxListBytes = 16 * 1024 * 1024;
constexpr qint64 kMaxImportBytes = 64 * 1024 * 1024;

// One entry of a list: an absolute local path, or a URL of another kind as written; the title
// and artist the list gives for it (empty where it gives none).
struct Entry {
    QString location;
    QString title;
    QString artist;

    friend bool operator==(const Entry&, const Entry&) = default;
};

// A URI rather than a path: a scheme of two or more letters and a colon ("file:", "http:").
bool hasUriScheme(const QString& text);

// A file named like a list we read: .m3u, .m3u8, .pls or .xspf, in any case.
bool isPlaylistFile(const QString& path);

// The entries of a list's content in list order, at most limit of them; relative locations
// are resolved against baseDir. fileName picks the format by its extension. A file that is no
// text (NUL bytes, invalid UTF-8 where the list declares UTF-8, more than a few lines of control
// characters) gives no entries, and notText is set.
QList<Entry> parse(const QString& fileName, const QByteArray& content, const QString& baseDir,
                   qsizetype limit = kMaxEntries, bool* notText = nullptr);

// One file to import, with the title and artist its list gave.
struct Item {
    QString path;
    QString title;
    QString artist;
    // skipping it is said in one printed line (entries of lists, files named on the command line)
    bool reportSkip = false;
};

// The printed line for a file or list left out: Skipped "<location>": <why>
QString skipLine(const QString& location, const QString& why);

struct Expansion {
    QList<Item> items;
    // one line per entry or list that was left out, and why
    QStringList skipped;
};

// The given files in order, each list replaced by its entries and each folder by its files
// (folderreader: natural order, at most 20,000 files in all); lists in lists are followed
// up to kMaxDepth levels, and a list that includes itself is refused. Missing entries and
// locations that are no local files are skipped.
Expansion expand(const QStringList& paths, bool reportSkips = false);

// The tracks as an M3U8 list: UTF-8, #EXTM3U, an #EXTINF line with "artist - title" and the
// absolute path of each track.
QByteArray toM3u8(const QList<Track>& tracks);
// Writes toM3u8 to path atomically; false with the reason in error.
bool exportM3u8(const QString& path, const QList<Track>& tracks, QString* error);

} // namespace playlistformats
