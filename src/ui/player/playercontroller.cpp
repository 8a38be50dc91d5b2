#include "ui/player/playercontroller.h"

#include "model/config.h"
#include "playback/audioplayer.h"
#include "playback/soundplayer.h"

#include <QCoreApplication>
#include <QPointer>
#include <QUrl>

#include <utility>

PlayerController::PlayerController(Config* config, AudioPlayer* audioPlayer, QObject* parent)
    : QObject(parent), m_config(config), m_audioPlayer(audioPlayer)
{
}

void PlayerController::playSound(const QString& name)
{
    if (m_config->playsSounds())
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
    m_audioPlayer->play(url);
    return true;
}

void PlayerController::skipTrack(Direction direction)
{
    if (direction == Direction::Previous)
        m_config->previousTrack();
    else
        m_config->nextTrack();
    if (m_audioPlayer->isPlaying()) {
        m_audioPlayer->stop();
        playCurrentTrack();
    } else {
        playSound(QStringLiteral("click"));
    }
}

void PlayerController::pressPlay()
{
    if (!playCurrentTrack())
        playSound(QStringLiteral("click"));
}

void PlayerController::pressPause()
{
    m_audioPlayer->pause();
}

void PlayerController::pressMinimize()
{
    if (!m_audioPlayer->isPlaying())
        playSound(QStringLiteral("min"));
}

void PlayerController::pressClose()
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
        m_audioPlayer->stop();
        m_config->setCurrentTrackIndex(0);
    }
}

void PlayerController::trackFinished()
{
    const std::optional<NextChoice> queued = std::exchange(m_nextChoice, std::nullopt);
    follow(queued && stillHolds(*queued) ? *queued : chooseNext());
}

QUrl PlayerController::queueNextTrack()
{
    m_nextChoice = chooseNext();
    const NextChoice& choice = *m_nextChoice;
    if (!choice.plays || choice.index < 0 || choice.index >= choice.tracks.size())
        return {};
    const QUrl url(choice.tracks.at(choice.index).urlString);
    return url.isValid() ? url : QUrl();
}

void PlayerController::nextTrackStarted()
{
    const std::optional<NextChoice> queued = std::exchange(m_nextChoice, std::nullopt);
    if (queued && queued->plays && stillHolds(*queued)) {
        m_config->setCurrentTrackIndex(queued->index);
        return;
    }
    // the queued file no longer follows by the rules: they choose again, and a file equal to
    // the one now sounding plays on
    follow(chooseNext());
}

void PlayerController::installTrackFinishedHandler()
{
    // the audio player may outlive this controller
    const QPointer<PlayerController> controller(this);
    m_audioPlayer->onTrackFinished = [controller] {
        if (controller)
            controller->trackFinished();
    };
    m_audioPlayer->nextTrackURL = [controller] {
        return controller ? controller->queueNextTrack() : QUrl();
    };
    m_audioPlayer->onNextTrackStarted = [controller](const QUrl&) {
        if (controller)
            controller->nextTrackStarted();
    };
}

bool PlayerController::switchPlaylist(qint64 index)
{
    if (index == m_config->currentPlaylistIndex() || index < 0 ||
        index >= m_config->playlists().size())
        return false;
    m_config->setCurrentPlaylistIndex(index);
    m_config->setLastSelectedPlaylistID(index);
    m_config->saveSettings();
    m_config->setCurrentTrackIndex(0);
    if (m_audioPlayer->isPlaying())
        m_audioPlayer->stop();
    return true;
}

void PlayerController::choosePlaylistFromSkin(qint64 index)
{
    if (switchPlaylist(index))
        playSound(QStringLiteral("pop"));
}

void PlayerController::chooseTrackFromSkin(qint64 index)
{
    m_config->setCurrentTrackIndex(index);
    if (m_audioPlayer->isPlaying()) {
        m_audioPlayer->stop();
        playCurrentTrack();
    } else {
        playSound(QStringLiteral("pop"));
    }
}

void PlayerController::menuPlayPause()
{
    if (m_audioPlayer->isPlaying())
        m_audioPlayer->pause();
    else
        playCurrentTrack();
}

void PlayerController::menuToggleLoop()
{
    m_config->setLoopTracks(!m_config->loopTracks());
    m_config->saveSettings();
}

void PlayerController::menuToggleShuffle()
{
    m_config->setShuffleTracks(!m_config->shuffleTracks());
    m_config->saveSettings();
}

void PlayerController::menuVolumeUp()
{
    if (!m_audioPlayer->hasPlayer())
        return;
    const float volume = m_audioPlayer->volume() + 0.1f;
    m_audioPlayer->setVolume(volume > 1.0f ? 1.0f : volume);
}

void PlayerController::menuVolumeDown()
{
    if (!m_audioPlayer->hasPlayer())
        return;
    const float volume = m_audioPlayer->volume() - 0.1f;
    m_audioPlayer->setVolume(volume <= 0.0f ? 0.0f : volume);
}

void PlayerController::menuChoosePlaylist(qint64 index)
{
    switchPlaylist(index);
}

void PlayerController::menuChooseTrack(qint64 index)
{
    m_config->setCurrentTrackIndex(index);
    if (!m_audioPlayer->isPlaying())
        return;
    m_audioPlayer->stop();
    playCurrentTrack();
}
