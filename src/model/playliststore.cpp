#include "model/config.h"

#include "core/fileio.h"
#include "model/codec.h"
#include "model/currenttracks.h"
#include "core/output.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

QString Config::playlistsDirectory() const
{
    return dataDirectory() + QLatin1Char('/') + QCoreApplication::translate("Config", "Playlists");
}

QString Config::playlistFileURL(const QUuid& id) const
{
    return playlistsDirectory() + QLatin1Char('/') + uuidString(id) + QStringLiteral(".json");
}

namespace {

bool existsAt(const QString& path)
{
    return QFileInfo::exists(path) || QFileInfo(path).isSymLink();
}

} // namespace

// Where a first start makes Playlists with its first playlist before the settings file
// lists that playlist; renamed to Playlists once it does.
QString Config::stagedPlaylistsDirectory() const
{
    return dataDirectory() + QStringLiteral("/.") +
           QCoreApplication::translate("Config", "Playlists") + QStringLiteral(".staging");
}

// At every start, before the settings are applied. A staged directory beside Playlists is
// left over and goes. Without Playlists it is a first start cut short: once its settings
// file was written (it lists the staged playlist) the move is finished, before that the
// first start is made again from the beginning.
void Config::settleStagedPlaylists(bool settingsListThem)
{
    const QString staged = stagedPlaylistsDirectory();
    if (!existsAt(staged))
        return;
    const QString dir = playlistsDirectory();
    if (!existsAt(dir) && settingsListThem) {
        // kept for the next start when the move fails now
        if (!QDir().rename(staged, dir))
            printLine(QStringLiteral("Could not create the directory \"%1\".").arg(dir));
        return;
    }
    if (!QDir(staged).removeRecursively())
        printLine(QStringLiteral("Could not remove the directory \"%1\".").arg(staged));
}

// On the first-start path. Only a first start that finds no Playlists makes a first
// playlist: an existing one (the settings file was lost or damaged) is left exactly as it
// is, its playlists unlisted. The new directory is made under another name and takes the
// name Playlists only after the settings file lists its playlist, so a Playlists directory
// never exists without the catalogue that made it.
void Config::ensurePlaylistsDirectory()
{
    const QString dir = playlistsDirectory();
    if (existsAt(dir))
        return;
    const QString staged = stagedPlaylistsDirectory();
    if (existsAt(staged))
        QDir(staged).removeRecursively();
    if (!QDir().mkpath(staged)) {
        printLine(QStringLiteral("Could not create the directory \"%1\".").arg(dir));
        return;
    }
    if (!createPlaylistIn(staged)) {
        // without a settings file that lists it, the next start begins afresh
        QDir(staged).removeRecursively();
        return;
    }
    fileio::syncFileSystem(staged);
    if (!QDir().rename(staged, dir))
        printLine(QStringLiteral("Could not create the directory \"%1\".").arg(dir));
}

void Config::createPlaylist()
{
    createPlaylistIn(playlistsDirectory());
}

// Makes the playlist's file in dir; whether the settings listing it were written.
bool Config::createPlaylistIn(const QString& dir)
{
    setLastSelectedPlaylistID(0);
    const Playlist entry{QUuid::createUuid(), QCoreApplication::translate("Config", "Untitled")};

    QString error;
    const QString file = dir + QLatin1Char('/') + uuidString(entry.id) + QStringLiteral(".json");
    if (fileio::writeFileAtomically(file, codec::encodePlaylist(PlaylistData{}), &error)) {
        printLine(QStringLiteral("New playlist written successfully."));
        emit playlistSaved(entry.id);
    } else {
        reportSaveFailure(QStringLiteral("Failed to save JSON data: "), error);
    }

    QList<Playlist> list = m_playlists;
    list.append(entry);
    setPlaylists(list);
    return writeCurrentSettings();
}

void Config::deletePlaylist(const QUuid& id)
{
    setLastSelectedPlaylistID(0);
    const QString path = playlistFileURL(id);
    if (m_playlists.size() == 1)
        createPlaylist();
    if (QFileInfo::exists(path)) {
        QFile file(path);
        if (!file.remove())
            printLine(QStringLiteral("Failed to delete playlist file: ") + file.errorString());
    }
    QList<Playlist> list = m_playlists;
    const auto it =
        std::find_if(list.begin(), list.end(), [&](const Playlist& p) { return p.id == id; });
    if (it == list.end())
        return;
    list.erase(it);
    setPlaylists(list);
    saveSettings();
}

void Config::savePlaylist(const QUuid& id, const QList<Track>& tracks)
{
    QString error;
    if (!fileio::writeFileAtomically(playlistFileURL(id),
                                     codec::encodePlaylist(PlaylistData{tracks}), &error)) {
        reportSaveFailure(QStringLiteral("Failed to save JSON data: "), error);
        return;
    }
    emit playlistSaved(id);
}

QList<Track> Config::loadTracks(const Playlist& playlist) const
{
    return readTracksFile(playlistFileURL(playlist.id));
}

QList<Track> Config::readTracksFile(const QString& path)
{
    // far beyond any real playlist (a million tracks); bounds what a damaged file can cost
    constexpr qint64 kMaxPlaylistFile = qint64(256) << 20;
    fileio::ReadError readError;
    auto bytes = fileio::readRegularFile(path, kMaxPlaylistFile, &readError);
    if (!bytes) {
        // a missing or unreadable file reads as empty without a word; only the limit is told
        if (readError.kind == fileio::ReadFailure::TooLarge)
            printLine(
                QStringLiteral("Playlist file \"%1\" not read: %2").arg(path, readError.message));
        return {};
    }
    // the bytes are let go as soon as they are parsed
    auto decoded = codec::decodePlaylist(std::move(*bytes));
    if (const auto* error = std::get_if<codec::DecodeError>(&decoded)) {
        printLine(error->message);
        return {};
    }
    return std::move(std::get<PlaylistData>(decoded).tracks);
}

std::optional<Playlist> Config::currentPlaylist() const
{
    if (m_currentPlaylistIndex < 0 || m_currentPlaylistIndex >= m_playlists.size())
        return std::nullopt;
    return m_playlists.at(m_currentPlaylistIndex);
}

QList<Track> Config::currentTracks() const
{
    return m_currentTracks->tracks();
}
