#include "model/playlistformats.h"

#include "core/fileio.h"
#include "model/folderreader.h"

#include <QDir>
#include <QFileInfo>
#include <QMap>
#include <QRegularExpression>
#include <QStringDecoder>
#include <QStringTokenizer>
#include <QUrl>
#include <QXmlStreamReader>

namespace playlistformats {
namespace {

enum class Format { None, M3u, Pls, Xspf };

// No path is this long (the system's limit is 4096 bytes): a longer line is no entry.
constexpr qsizetype kMaxLineLength = 32768;
// An XSPF track sits four elements deep; a document nested deeper than this is no playlist.
constexpr int kMaxXmlDepth = 64;

Format formatOf(const QString& path)
{
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix == QLatin1String("m3u") || suffix == QLatin1String("m3u8"))
        return Format::M3u;
    if (suffix == QLatin1String("pls"))
        return Format::Pls;
    if (suffix == QLatin1String("xspf"))
        return Format::Xspf;
    return Format::None;
}

// More lines than this holding control characters (besides tabs) make a file no list: a
// binary file read as lines would give thousands of entries of noise.
constexpr int kMaxControlLines = 4;

std::optional<QString> decodeUtf8(QByteArrayView bytes)
{
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8.decode(bytes);
    if (utf8.hasError())
        return std::nullopt;
    return text;
}

bool isControlLine(QStringView line)
{
    // C1 is left out: Latin-1 reads the typographic quotes of Windows lists as C1
    return std::any_of(line.begin(), line.end(), [](QChar c) {
        return (c.unicode() < 0x20 && c != u'\t' && c != u'\r') || c.unicode() == 0x7f;
    });
}

// The text of a line-based list: UTF-8 where the bytes are valid UTF-8 (required for .m3u8),
// else Latin-1 as older lists were written; a byte order mark is dropped. Nothing for a file
// that is no text: NUL bytes, invalid UTF-8 in a list that declares UTF-8, or more than a few
// lines of control characters.
std::optional<QString> decodeText(const QByteArray& bytes, bool declaresUtf8)
{
    QByteArrayView view(bytes);
    if (view.startsWith("\xEF\xBB\xBF"))
        view = view.sliced(3);
    if (view.contains('\0'))
        return std::nullopt;
    std::optional<QString> text = decodeUtf8(view);
    if (!text && declaresUtf8)
        return std::nullopt;
    if (!text)
        text = QString::fromLatin1(view);
    int controlLines = 0;
    for (QStringView line : qTokenize(*text, u'\n')) {
        if (isControlLine(line) && ++controlLines > kMaxControlLines)
            return std::nullopt;
    }
    return text;
}

// An XML document in UTF-8 (what it is without a byte order mark or an encoding named in its
// declaration) holds no NUL and only valid UTF-8. Other encodings are the XML reader's.
bool isXmlText(const QByteArray& bytes)
{
    if (bytes.startsWith("\xFE\xFF") || bytes.startsWith("\xFF\xFE") ||
        bytes.startsWith(QByteArrayView("\0\0\xFE\xFF", 4)) ||
        bytes.startsWith(QByteArrayView("<\0", 2)) || bytes.startsWith(QByteArrayView("\0<", 2)))
        return true;
    if (bytes.contains('\0'))
        return false;
    static const QRegularExpression declared(
        QStringLiteral("^(?:\\xEF\\xBB\\xBF)?<\\?xml[^>]*encoding\\s*=\\s*[\"']([A-Za-z0-9._-]+)"));
    const QRegularExpressionMatch match = declared.match(QString::fromLatin1(bytes.left(256)));
    const bool utf8 = !match.hasMatch() ||
                      match.captured(1).compare(QLatin1String("utf-8"), Qt::CaseInsensitive) == 0 ||
                      match.captured(1).compare(QLatin1String("utf8"), Qt::CaseInsensitive) == 0;
    return !utf8 || decodeUtf8(bytes).has_value();
}

// A location as a list writes it: a file URL or a path (relative to the list's folder) gives an
// absolute local path; any other URL stays as written.
QString resolveLocation(const QString& written, const QString& baseDir)
{
    if (written.startsWith(QLatin1String("file:"), Qt::CaseInsensitive)) {
        const QUrl url(written);
        return url.isLocalFile() ? QDir::cleanPath(url.toLocalFile()) : written;
    }
    if (hasUriScheme(written))
        return written;
    return QDir::cleanPath(QDir(baseDir).absoluteFilePath(written));
}

// "Artist - Title" as lists show a track; without the separator the whole text is the title.
void splitDisplayTitle(const QString& display, Entry* entry)
{
    const qsizetype separator = display.indexOf(QLatin1String(" - "));
    if (separator < 0) {
        entry->title = display.trimmed();
        return;
    }
    entry->artist = display.left(separator).trimmed();
    entry->title = display.mid(separator + 3).trimmed();
}

// The display text of "#EXTINF:<length> [attributes],<display>": after the first comma that
// is not inside an attribute's quotes.
QString extinfDisplay(QStringView info)
{
    bool quoted = false;
    for (qsizetype i = 0; i < info.size(); ++i) {
        if (info[i] == QLatin1Char('"'))
            quoted = !quoted;
        else if (info[i] == QLatin1Char(',') && !quoted)
            return info.sliced(i + 1).toString();
    }
    return {};
}

QList<Entry> parseM3u(const QString& text, const QString& baseDir, qsizetype limit)
{
    QList<Entry> entries;
    Entry pending;
    for (QStringView line : qTokenize(text, u'\n')) {
        if (entries.size() >= limit)
            break;
        line = line.trimmed();
        if (line.isEmpty() || line.size() > kMaxLineLength)
            continue;
        if (line.startsWith(QLatin1String("#EXTINF:"), Qt::CaseInsensitive)) {
            pending = Entry{};
            splitDisplayTitle(extinfDisplay(line.sliced(8)), &pending);
            continue;
        }
        if (line.startsWith(QLatin1Char('#')))
            continue;
        pending.location = resolveLocation(line.toString(), baseDir);
        entries.append(std::exchange(pending, Entry{}));
    }
    return entries;
}

// [playlist] with File<n>= and Title<n>= keys; entries in the order of n.
QList<Entry> parsePls(const QString& text, const QString& baseDir, qsizetype limit)
{
    static const QRegularExpression key(QStringLiteral("^(file|title)(\\d{1,9})$"),
                                        QRegularExpression::CaseInsensitiveOption);
    QMap<int, Entry> numbered;
    for (QStringView line : qTokenize(text, u'\n')) {
        if (numbered.size() >= limit)
            break;
        line = line.trimmed();
        if (line.size() > kMaxLineLength)
            continue;
        const qsizetype equals = line.indexOf(QLatin1Char('='));
        if (equals <= 0)
            continue;
        const QRegularExpressionMatch match = key.match(line.left(equals).trimmed().toString());
        if (!match.hasMatch())
            continue;
        const QString value = line.sliced(equals + 1).trimmed().toString();
        Entry& entry = numbered[match.captured(2).toInt()];
        if (match.captured(1).compare(QLatin1String("file"), Qt::CaseInsensitive) == 0)
            entry.location = resolveLocation(value, baseDir);
        else
            splitDisplayTitle(value, &entry);
    }
    QList<Entry> entries;
    for (const Entry& entry : std::as_const(numbered)) {
        if (!entry.location.isEmpty())
            entries.append(entry);
    }
    return entries;
}

// <trackList><track><location/><title/><creator/></track>...; locations are URIs, relative
// ones resolved against the xml:base of their elements, nested bases against each other, and
// the list's folder outside them. A damaged document keeps the tracks before the fault.
QList<Entry> parseXspf(const QByteArray& content, const QString& baseDir, qsizetype limit)
{
    static const QString xmlNamespace = QStringLiteral("http://www.w3.org/XML/1998/namespace");
    // the base of each open element, the list's folder first
    QList<QUrl> bases{QUrl::fromLocalFile(QDir(baseDir).absolutePath() + QLatin1Char('/'))};
    QList<Entry> entries;
    QXmlStreamReader xml(content);
    std::optional<Entry> track;
    bool hasLocation = false;
    while (!xml.atEnd() && entries.size() < limit) {
        if (xml.readNext() != QXmlStreamReader::StartElement) {
            if (!xml.isEndElement())
                continue;
            if (bases.size() > 1)
                bases.removeLast();
            if (xml.name() == QLatin1String("track") && track) {
                if (hasLocation)
                    entries.append(*track);
                track.reset();
            }
            continue;
        }
        // the reader keeps every open element: a document of nothing but openings stops here
        if (bases.size() > kMaxXmlDepth)
            break;
        const QStringView base = xml.attributes().value(xmlNamespace, QLatin1String("base"));
        bases.append(base.isNull() ? bases.last() : bases.last().resolved(QUrl(base.toString())));
        const QUrl here = bases.last();
        // reading an element's text consumes its end as well
        const auto text = [&xml, &bases] {
            bases.removeLast();
            return xml.readElementText().trimmed();
        };
        const QStringView name = xml.name();
        if (name == QLatin1String("track")) {
            track = Entry{};
            hasLocation = false;
        } else if (track && name == QLatin1String("location") && !hasLocation) {
            const QString written = text();
            const QUrl writtenUrl(written);
            const QUrl url = here.resolved(writtenUrl);
            // a URL of another kind stays as written, unless a base made it whole
            track->location = url.isLocalFile()         ? QDir::cleanPath(url.toLocalFile())
                              : writtenUrl.isRelative() ? url.toString()
                                                        : written;
            hasLocation = !written.isEmpty();
        } else if (track && name == QLatin1String("title")) {
            track->title = text();
        } else if (track && name == QLatin1String("creator")) {
            track->artist = text();
        }
    }
    return entries;
}

struct Expander {
    Expansion result;
    // the lists being read, outermost first, by their real paths
    QStringList open;
    // entries and lists taken so far, and the bytes of all lists read
    int taken = 0;
    qint64 bytesRead = 0;
    bool full = false;
    folderreader::FolderReader folders;

    void skip(const QString& location, const QString& why)
    {
        result.skipped.append(skipLine(location, why));
    }

    bool hasRoom(const QString& list)
    {
        if (taken < kMaxEntries)
            return true;
        if (!full)
            result.skipped.append(
                QStringLiteral("Skipped the rest of \"%1\": an import takes at most %2 entries")
                    .arg(list)
                    .arg(kMaxEntries));
        full = true;
        return false;
    }

    void addList(const QString& path)
    {
        const QString real = QFileInfo(path).canonicalFilePath();
        if (open.contains(real.isEmpty() ? path : real)) {
            skip(path, QStringLiteral("the list includes itself"));
            return;
        }
        if (open.size() >= kMaxDepth) {
            skip(path, QStringLiteral("lists nest more than %1 deep").arg(kMaxDepth));
            return;
        }
        fileio::ReadError error;
        const std::optional<QByteArray> content =
            fileio::readRegularFile(path, kMaxListBytes, &error);
        if (!content) {
            skip(path, error.kind == fileio::ReadFailure::Missing ? QStringLiteral("no such file")
                                                                  : error.message);
            return;
        }
        // a list that names the same big list again and again stops here, not after terabytes
        bytesRead += content->size();
        if (bytesRead > kMaxImportBytes) {
            skip(path, QStringLiteral("the lists of one import hold more than %1 MB")
                           .arg(kMaxImportBytes / (1024 * 1024)));
            return;
        }
        open.append(real.isEmpty() ? path : real);
        // no more entries are parsed than the import can still take
        bool notText = false;
        const QList<Entry> entries = parse(path, *content, QFileInfo(path).absolutePath(),
                                           kMaxEntries - taken + 1, &notText);
        if (notText) {
            skip(path, QStringLiteral("not a playlist: the file is not text"));
            open.removeLast();
            return;
        }
        for (const Entry& entry : entries) {
            if (!hasRoom(path))
                break;
            ++taken;
            if (!QDir::isAbsolutePath(entry.location))
                skip(entry.location, QStringLiteral("not a local file"));
            else if (isPlaylistFile(entry.location))
                addList(entry.location);
            else if (!QFileInfo::exists(entry.location))
                skip(entry.location, QStringLiteral("no such file"));
            else
                result.items.append(Item{entry.location, entry.title, entry.artist, true});
        }
        open.removeLast();
    }
};

// Paths of tracks go out as written unless a reader would take them apart: line breaks and
// blanks at either end turn them into a file URL.
QString writtenLocation(const QString& urlString)
{
    const QUrl url(urlString);
    if (!url.isLocalFile())
        return url.isValid() ? url.toString(QUrl::FullyEncoded) : urlString.simplified();
    const QString path = url.toLocalFile();
    const bool plain = !path.isEmpty() && path.trimmed() == path &&
                       std::none_of(path.begin(), path.end(),
                                    [](QChar c) { return c.category() == QChar::Other_Control; });
    return plain ? path : url.toString(QUrl::FullyEncoded);
}

QString oneLine(QString text)
{
    for (QChar& c : text) {
        if (c.category() == QChar::Other_Control)
            c = QLatin1Char(' ');
    }
    return text;
}

} // namespace

bool hasUriScheme(const QString& text)
{
    static const QRegularExpression scheme(QStringLiteral("^[A-Za-z][A-Za-z0-9+.-]+:"));
    return scheme.match(text).hasMatch();
}

QString skipLine(const QString& location, const QString& why)
{
    // a hostile list's megabyte of a line is not printed whole
    constexpr qsizetype kShown = 512;
    const QString shown =
        location.size() > kShown ? location.left(kShown) + QStringLiteral("...") : location;
    return QStringLiteral("Skipped \"%1\": %2").arg(shown, why);
}

bool isPlaylistFile(const QString& path)
{
    return formatOf(path) != Format::None;
}

QList<Entry> parse(const QString& fileName, const QByteArray& content, const QString& baseDir,
                   qsizetype limit, bool* notText)
{
    const Format format = formatOf(fileName);
    std::optional<QString> text;
    bool isText = true;
    if (format == Format::M3u || format == Format::Pls) {
        const bool declaresUtf8 =
            QFileInfo(fileName).suffix().compare(QLatin1String("m3u8"), Qt::CaseInsensitive) == 0;
        text = decodeText(content, declaresUtf8);
        isText = text.has_value();
    } else if (format == Format::Xspf) {
        isText = isXmlText(content);
    }
    if (notText)
        *notText = !isText;
    if (!isText)
        return {};
    switch (format) {
    case Format::M3u:
        return parseM3u(*text, baseDir, limit);
    case Format::Pls:
        return parsePls(*text, baseDir, limit);
    case Format::Xspf:
        return parseXspf(content, baseDir, limit);
    case Format::None:
        break;
    }
    return {};
}

Expansion expand(const QStringList& paths, bool reportSkips)
{
    Expander expander;
    for (const QString& path : paths) {
        if (!expander.hasRoom(path))
            break;
        const QFileInfo info(path);
        if (info.isDir()) {
            QStringList files;
            expander.folders.read(path, files, expander.result.skipped);
            for (const QString& file : files) {
                if (!expander.hasRoom(path))
                    break;
                ++expander.taken;
                expander.result.items.append(Item{file, {}, {}, reportSkips});
            }
        } else if (isPlaylistFile(path)) {
            expander.addList(info.absoluteFilePath());
        } else {
            ++expander.taken;
            expander.result.items.append(Item{path, {}, {}, reportSkips});
        }
    }
    return expander.result;
}

QByteArray toM3u8(const QList<Track>& tracks)
{
    QString text = QStringLiteral("#EXTM3U\n");
    for (const Track& track : tracks) {
        text += QStringLiteral("#EXTINF:-1,") + oneLine(track.artist) + QStringLiteral(" - ") +
                oneLine(track.trackName) + QLatin1Char('\n');
        text += writtenLocation(track.urlString) + QLatin1Char('\n');
    }
    return text.toUtf8();
}

bool exportM3u8(const QString& path, const QList<Track>& tracks, QString* error)
{
    return fileio::writeFileAtomically(path, toM3u8(tracks), error);
}

} // namespace playlistformats
