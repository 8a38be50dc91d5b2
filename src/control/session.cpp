#include "control/session.h"

#include "control/playercontroller.h"
#include "core/fileio.h"
#include "core/output.h"
#include "model/config.h"
#include "model/currenttracks.h"
#include "playback/trackplayer.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QTimer>

#include <nlohmann/json.hpp>

#include <cmath>

namespace {

constexpr int kSaveIntervalMs = 10000;
constexpr qint64 kMaxSessionBytes = 64 * 1024;
constexpr int kQuitWaitMs = 2000;

QString text(const nlohmann::json& object, const char* key)
{
    const auto found = object.find(key);
    return found != object.end() && found->is_string()
               ? QString::fromStdString(found->get<std::string>())
               : QString();
}

} // namespace

Session::Session(PlayerController* controller, QObject* parent)
    : QObject(parent), m_controller(controller), m_timer(new QTimer(this))
{
    m_writer.setMaxThreadCount(1);
    m_timer->setInterval(kSaveIntervalMs);
    connect(m_timer, &QTimer::timeout, this, &Session::save);
    TrackPlayer* player = controller->player();
    connect(player, &TrackPlayer::isPlayingChanged, this, [this](bool playing) {
        if (playing) {
            m_timer->start();
        } else {
            m_timer->stop();
            save();
        }
    });
    connect(controller, &PlayerController::nowPlaying, this, &Session::save);
    connect(qApp, &QCoreApplication::aboutToQuit, this, [this] {
        save();
        flush();
    });
}

Session::~Session()
{
    flush();
}

QString Session::filePath()
{
    QString state = qEnvironmentVariable("XDG_STATE_HOME");
    // a relative path is to be ignored, as for every XDG directory
    if (state.isEmpty() || QDir::isRelativePath(state))
        state = QDir::homePath() + QStringLiteral("/.local/state");
    return state + QStringLiteral("/lindenfold/session.json");
}

void Session::save()
{
    const Config* config = m_controller->config();
    if (m_restoring || !config->resumesPlayback())
        return;
    const std::optional<Playlist> playlist = config->currentPlaylist();
    const QList<Track> tracks = config->currentTracks();
    const qint64 index = config->currentTrackIndex();
    if (!playlist || index < 0 || index >= tracks.size())
        return;
    const Track& track = tracks.at(index);
    const TrackPlayer* player = m_controller->player();
    const bool loaded =
        player->hasPlayer() && player->url() == TrackPlayer::fileURL(QUrl(track.urlString));
    nlohmann::ordered_json session;
    session["playlistID"] = uuidString(playlist->id).toStdString();
    session["trackID"] = uuidString(track.id).toStdString();
    session["urlString"] = track.urlString.toStdString();
    session["position"] = loaded ? player->currentTime() : 0.0;
    const QByteArray bytes = QByteArray::fromStdString(session.dump(2));
    m_writer.start([bytes] {
        const QString path = filePath();
        QString error;
        if (!QDir().mkpath(QFileInfo(path).path()) ||
            !fileio::writeFileAtomically(path, bytes, &error))
            printLine(QStringLiteral("Failed to save JSON data: ") +
                      (error.isEmpty() ? QStringLiteral("cannot create ") + path : error));
    });
}

void Session::flush()
{
    m_writer.waitForDone(kQuitWaitMs);
}

void Session::restore()
{
    Config* config = m_controller->config();
    if (!config->resumesPlayback())
        return;
    const std::optional<QByteArray> bytes =
        fileio::readRegularFile(filePath(), kMaxSessionBytes, nullptr);
    if (!bytes)
        return;
    const nlohmann::json session =
        nlohmann::json::parse(bytes->begin(), bytes->end(), nullptr, false);
    if (!session.is_object())
        return;
    const QUuid playlistID(text(session, "playlistID"));
    const QList<Playlist> playlists = config->playlists();
    const auto playlist = std::find_if(playlists.begin(), playlists.end(),
                                       [&](const Playlist& p) { return p.id == playlistID; });
    if (playlistID.isNull() || playlist == playlists.end())
        return;
    const qint64 playlistIndex = playlist - playlists.begin();
    config->setCurrentPlaylistIndex(playlistIndex);
    config->setLastSelectedPlaylistID(playlistIndex);

    // a long playlist is read on a worker thread: its tracks are waited for here, once
    config->trackList()->tracks();
    config->trackList()->waitForDecode();
    const QList<Track> tracks = config->currentTracks();
    const QUuid trackID(text(session, "trackID"));
    const QString urlString = text(session, "urlString");
    auto track = std::find_if(tracks.begin(), tracks.end(),
                              [&](const Track& t) { return !trackID.isNull() && t.id == trackID; });
    if (track == tracks.end())
        track = std::find_if(tracks.begin(), tracks.end(), [&](const Track& t) {
            return !urlString.isEmpty() && t.urlString == urlString;
        });
    double position = 0;
    if (track != tracks.end()) {
        const auto saved = session.find("position");
        if (saved != session.end() && saved->is_number() && std::isfinite(saved->get<double>()))
            position = std::max(0.0, saved->get<double>());
    }
    config->setCurrentTrackIndex(track == tracks.end() ? 0 : track - tracks.begin());

    m_restoring = true;
    TrackPlayer* player = m_controller->player();
    if (m_controller->playCurrentTrack()) {
        player->pause();
        if (position > 0)
            player->setCurrentTime(position);
    }
    m_restoring = false;
}
