#include "ui/player/playercontroller.h"

#include "model/config.h"
#include "playback/audioplayer.h"
#include "playback/soundplayer.h"

#include <QCoreApplication>
#include <QPointer>
#include <QUrl>

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

void PlayerController::trackFinished()
{
    const qint64 old = m_config->currentTrackIndex();
    m_config->nextTrack();
    if (m_config->currentTrackIndex() != old || m_config->loopTracks()) {
        playCurrentTrack();
    } else {
        m_audioPlayer->stop();
        m_config->setCurrentTrackIndex(0);
    }
}

void PlayerController::installTrackFinishedHandler()
{
    // the audio player may outlive this controller
    m_audioPlayer->onTrackFinished = [controller = QPointer<PlayerController>(this)] {
        if (controller)
            controller->trackFinished();
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
