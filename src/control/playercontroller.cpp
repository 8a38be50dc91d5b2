#include "control/playercontroller.h"

#include "model/config.h"
#include "model/currenttracks.h"
#include "playback/trackplayer.h"
#include "playback/soundplayer.h"

#include <QCoreApplication>
#include <QUrl>

#include <algorithm>
#include <utility>

PlayerController::PlayerController(Config* config, TrackPlayer* player, QObject* parent)
    : QObject(parent), m_config(config), m_player(player)
{
    connect(m_player, &TrackPlayer::opened, this, &PlayerController::fileOpened);
    connect(m_config, &Config::loudnessModeChanged, this, &PlayerController::applyLoudness);
    connect(m_config, &Config::shuffleTracksChanged, this, &PlayerController::applyLoudness);
    applyLoudness();
}

void PlayerController::applyLoudness()
{
    const QString mode = m_config->loudnessMode();
    const bool byAlbum = mode == u"album" || (mode == u"auto" && !m_config->shuffleTracks());
    if (mode == u"track" || mode == u"auto" || mode == u"album")
        m_player->setLoudness(byAlbum ? Loudness::Album : Loudness::Track);
    else
        m_player->setLoudness(Loudness::Off);
}

void PlayerController::setStopsAfterCurrentTrack(bool stops)
{
    if (stops == m_stopsAfterCurrentTrack)
        return;
    m_stopsAfterCurrentTrack = stops;
    emit stopsAfterCurrentTrackChanged(stops);
    // nothing may follow without a gap now, or something may again
    pushNextTrack();
}

void PlayerController::playSound(const QString& name)
{
    if (!name.isEmpty() && m_config->playsSounds())
        m_config->soundPlayer()->playSound(name);
}

bool PlayerController::playCurrentTrack()
{
    const QList<Track> tracks = m_config->currentTracks();
    const qint64 index = m_config->currentTrackIndex();
    if (index < 0 || index >= tracks.size())
        return false;
    // a hand-edited urlString that is no URL is nothing to play; a plain path, blanks and
    // all, is a file to play
    const QUrl url(tracks.at(index).urlString);
    if (url.isEmpty() || !url.isValid())
        return false;
    const std::optional<Playlist> playlist = m_config->currentPlaylist();
    m_handed = Handed{TrackPlayer::fileURL(url).value_or(QUrl()), tracks.at(index),
                      playlist.value_or(Playlist{})};
    m_player->play(url);
    return true;
}

std::optional<std::pair<Track, Playlist>> PlayerController::currentEntry() const
{
    const QList<Track> tracks = m_config->currentTracks();
    const qint64 index = m_config->currentTrackIndex();
    const std::optional<Playlist> playlist = m_config->currentPlaylist();
    if (!playlist || index < 0 || index >= tracks.size())
        return std::nullopt;
    return std::pair(tracks.at(index), *playlist);
}

void PlayerController::fileOpened(const QUrl& url)
{
    const std::optional<Handed> handed = std::exchange(m_handed, std::nullopt);
    if (handed && handed->url == url)
        announce(handed->track, handed->playlist);
    pushNextTrack();
}

void PlayerController::announce(const Track& track, const Playlist& playlist)
{
    m_nowPlaying = std::pair(track, playlist);
    emit nowPlaying(track, playlist);
}

void PlayerController::pushNextTrack()
{
    if (!m_installed || !m_player->hasPlayer())
        return;
    m_player->setNextURL(queueNextTrack());
}

void PlayerController::skipTrack(Direction direction, const QString& sound)
{
    setStopsAfterCurrentTrack(false);
    if (direction == Direction::Previous)
        m_config->previousTrack();
    else
        m_config->nextTrack();
    if (m_player->isPlaying()) {
        m_player->stop();
        playCurrentTrack();
    } else {
        playSound(sound);
    }
}

void PlayerController::play(const QString& sound)
{
    if (!playCurrentTrack())
        playSound(sound);
}

void PlayerController::pause()
{
    m_player->pause();
}

void PlayerController::playPause(const QString& sound)
{
    if (m_player->isPlaying())
        pause();
    else
        play(sound);
}

void PlayerController::minimizeToggled(const QString& sound)
{
    if (!m_player->isPlaying())
        playSound(sound);
}

void PlayerController::quit()
{
    QCoreApplication::quit();
}

PlayerController::NextChoice PlayerController::chooseNext() const
{
    NextChoice choice{m_config->currentPlaylistIndex(), m_config->currentTrackIndex(),
                      m_config->loopTracks(), m_config->shuffleTracks(), m_config->currentTracks()};
    choice.index = m_config->followingTrackIndex(choice.tracks.size());
    choice.plays = choice.index != choice.fromIndex || choice.loop;
    return choice;
}

bool PlayerController::stillHolds(const NextChoice& choice) const
{
    return choice.playlistIndex == m_config->currentPlaylistIndex() &&
           choice.fromIndex == m_config->currentTrackIndex() &&
           choice.loop == m_config->loopTracks() && choice.shuffle == m_config->shuffleTracks() &&
           choice.tracks == m_config->currentTracks();
}

void PlayerController::follow(const NextChoice& choice)
{
    if (choice.plays) {
        m_config->setCurrentTrackIndex(choice.index);
        playCurrentTrack();
    } else {
        m_player->stop();
        m_config->setCurrentTrackIndex(0);
    }
}

void PlayerController::trackFinished()
{
    const std::optional<NextChoice> queued = std::exchange(m_nextChoice, std::nullopt);
    if (m_stopsAfterCurrentTrack) {
        setStopsAfterCurrentTrack(false);
        follow(NextChoice{});
        return;
    }
    follow(queued && stillHolds(*queued) ? *queued : chooseNext());
}

QUrl PlayerController::queueNextTrack()
{
    m_nextChoice = chooseNext();
    const NextChoice& choice = *m_nextChoice;
    if (m_stopsAfterCurrentTrack)
        return {};
    if (!choice.plays || choice.index < 0 || choice.index >= choice.tracks.size())
        return {};
    const QUrl url(choice.tracks.at(choice.index).urlString);
    return url.isValid() ? url : QUrl();
}

void PlayerController::nextTrackStarted(const QUrl& url)
{
    const std::optional<NextChoice> queued = std::exchange(m_nextChoice, std::nullopt);
    const auto names = [&url](const NextChoice& choice) {
        return choice.index >= 0 && choice.index < choice.tracks.size() &&
               TrackPlayer::fileURL(QUrl(choice.tracks.at(choice.index).urlString)) == url;
    };
    m_handed.reset();
    if (m_stopsAfterCurrentTrack) {
        // the successor was already on its way when the stop was asked for
        setStopsAfterCurrentTrack(false);
        follow(NextChoice{});
        return;
    }
    if (queued && queued->plays && names(*queued) && stillHolds(*queued)) {
        m_config->setCurrentTrackIndex(queued->index);
    } else {
        // the queued file no longer follows by the rules: they choose again, and a file equal
        // to the one now sounding plays on
        follow(chooseNext());
    }
    const std::optional<std::pair<Track, Playlist>> current = currentEntry();
    if (current && m_player->url() == url && m_player->isPlaying() && !m_player->isLoading() &&
        TrackPlayer::fileURL(QUrl(current->first.urlString)) == url) {
        if (m_handed && m_handed->url == url)
            m_handed.reset();
        announce(current->first, current->second);
    }
    pushNextTrack();
}

void PlayerController::installTrackFinishedHandler()
{
    if (m_installed)
        return;
    m_installed = true;
    connect(m_player, &TrackPlayer::trackFinished, this, &PlayerController::trackFinished);
    connect(m_player, &TrackPlayer::nextTrackStarted, this, &PlayerController::nextTrackStarted);
    // what follows the loaded file changes with these; the engine keeps the latest choice
    for (auto changed : {&Config::loopTracksChanged, &Config::shuffleTracksChanged,
                         &Config::currentPlaylistIndexChanged, &Config::currentTrackIndexChanged,
                         &Config::playlistsChanged})
        connect(m_config, changed, this, &PlayerController::pushNextTrack);
    connect(m_config->trackList(), &CurrentTracks::changed, this, &PlayerController::pushNextTrack);
    pushNextTrack();
}

void PlayerController::choosePlaylist(qint64 index, const QString& sound)
{
    if (index == m_config->currentPlaylistIndex() || index < 0 ||
        index >= m_config->playlists().size())
        return;
    setStopsAfterCurrentTrack(false);
    m_config->setCurrentPlaylistIndex(index);
    m_config->setLastSelectedPlaylistID(index);
    m_config->saveSettings();
    m_config->setCurrentTrackIndex(0);
    if (m_player->isPlaying())
        m_player->stop();
    playSound(sound);
}

void PlayerController::chooseTrack(qint64 index, const QString& sound)
{
    setStopsAfterCurrentTrack(false);
    m_config->setCurrentTrackIndex(index);
    if (m_player->isPlaying()) {
        m_player->stop();
        playCurrentTrack();
    } else {
        playSound(sound);
    }
}

void PlayerController::setLoop(bool loop)
{
    if (loop == m_config->loopTracks())
        return;
    m_config->setLoopTracks(loop);
    m_config->saveSettings();
}

void PlayerController::setShuffle(bool shuffle)
{
    if (shuffle == m_config->shuffleTracks())
        return;
    m_config->setShuffleTracks(shuffle);
    m_config->saveSettings();
}

void PlayerController::toggleLoop()
{
    setLoop(!m_config->loopTracks());
}

void PlayerController::toggleShuffle()
{
    setShuffle(!m_config->shuffleTracks());
}

void PlayerController::volumeUp()
{
    if (!m_player->hasPlayer())
        return;
    const float volume = m_player->volume() + 0.1f;
    m_player->setVolume(volume > 1.0f ? 1.0f : volume);
}

void PlayerController::volumeDown()
{
    if (!m_player->hasPlayer())
        return;
    const float volume = m_player->volume() - 0.1f;
    m_player->setVolume(volume <= 0.0f ? 0.0f : volume);
}

void PlayerController::seekBy(double seconds, const QString& sound)
{
    if (!m_player->hasPlayer())
        return;
    const double target = m_player->currentTime() + seconds;
    if (target > m_player->duration() && !m_player->isLoading()) {
        skipTrack(Direction::Next, sound);
        return;
    }
    m_player->setCurrentTime(std::max(0.0, target));
}

void PlayerController::seekTo(double seconds)
{
    if (!m_player->hasPlayer() || seconds < 0 || seconds > m_player->duration())
        return;
    m_player->setCurrentTime(seconds);
}
