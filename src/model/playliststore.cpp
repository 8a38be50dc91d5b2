#include "model/config.h"

#include "model/codec.h"
#include "model/output.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

QString Config::playlistsDirectory() const
{
    return dataDirectory() + QLatin1Char('/') + QCoreApplication::translate("Config", "Playlists");
}

QString Config::playlistFileURL(const QUuid& id) const
{
    return playlistsDirectory() + QLatin1Char('/') + uuidString(id) + QStringLiteral(".json");
}

void Config::ensurePlaylistsDirectory()
{
    const QString dir = playlistsDirectory();
    if (QFileInfo::exists(dir))
        return;
    if (!QDir().mkpath(dir)) {
        printLine(QStringLiteral("Could not create the directory \"%1\".").arg(dir));
        return;
    }
    createPlaylist();
}

void Config::createPlaylist()
{
    setLastSelectedPlaylistID(0);
    const Playlist entry{QUuid::createUuid(), QCoreApplication::translate("Config", "Untitled")};

    QFile file(playlistFileURL(entry.id));
    const QByteArray bytes = codec::encodePlaylist(PlaylistData{});
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size()) {
        file.close();
        printLine(QStringLiteral("New playlist written successfully."));
        emit playlistSaved(entry.id);
    } else {
        printLine(QStringLiteral("Failed to save JSON data: ") + file.errorString());
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
    QSaveFile file(playlistFileURL(id));
    const QByteArray bytes = codec::encodePlaylist(PlaylistData{tracks});
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
        printLine(QStringLiteral("Failed to save JSON data: ") + file.errorString());
        return;
    }
    emit playlistSaved(id);
}

QList<Track> Config::loadTracks(const Playlist& playlist) const
{
    QFile file(playlistFileURL(playlist.id));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    auto decoded = codec::decodePlaylist(file.readAll());
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
    const auto playlist = currentPlaylist();
    return playlist ? loadTracks(*playlist) : QList<Track>{};
}
