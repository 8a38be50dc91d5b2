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

// On the first-start path. The first playlist is made even when the directory is already
// there (an earlier first start was cut short, or the settings file was lost), so that a
// start without a settings file always ends with a playlist to play from.
void Config::ensurePlaylistsDirectory()
{
    const QString dir = playlistsDirectory();
    if (!QFileInfo(dir).isDir() && !QDir().mkpath(dir)) {
        printLine(QStringLiteral("Could not create the directory \"%1\".").arg(dir));
        return;
    }
    createPlaylist();
}

void Config::createPlaylist()
{
    setLastSelectedPlaylistID(0);
    const Playlist entry{QUuid::createUuid(), QCoreApplication::translate("Config", "Untitled")};

    QString error;
    if (fileio::writeFileAtomically(playlistFileURL(entry.id), codec::encodePlaylist(PlaylistData{}), &error)) {
        printLine(QStringLiteral("New playlist written successfully."));
        emit playlistSaved(entry.id);
    } else {
        reportSaveFailure(QStringLiteral("Failed to save JSON data: "), error);
    }

    QList<Playlist> list = m_playlists;
    list.append(entry);
    setPlaylists(list);
    saveSettings();
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
    const auto it = std::find_if(list.begin(), list.end(), [&](const Playlist& p) { return p.id == id; });
    if (it == list.end())
        return;
    list.erase(it);
    setPlaylists(list);
    saveSettings();
}

void Config::savePlaylist(const QUuid& id, const QList<Track>& tracks)
{
    QString error;
    if (!fileio::writeFileAtomically(playlistFileURL(id), codec::encodePlaylist(PlaylistData{tracks}), &error)) {
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
            printLine(QStringLiteral("Playlist file \"%1\" not read: %2").arg(path, readError.message));
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
