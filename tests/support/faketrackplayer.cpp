#include "support/faketrackplayer.h"

void FakeTrackPlayer::play(const QUrl& url)
{
    played << url;
    const QUrl file = fileURL(url).value_or(QUrl());
    m_timer = true;
    if (file == m_url) {
        setPlaying(true);
        return;
    }
    m_url = file;
    loading = true;
    time = 0;
    level = 1.0f;
    emit urlChanged(m_url);
    setPlaying(true);
    if (!holdOpen)
        finishOpening();
}

void FakeTrackPlayer::finishOpening()
{
    if (!std::exchange(loading, false))
        return;
    emit durationChanged(length);
    emit opened(m_url);
}

void FakeTrackPlayer::fail()
{
    loading = false;
    m_url = QUrl();
    m_timer = false;
    setPlaying(false);
    emit urlChanged(m_url);
}

void FakeTrackPlayer::stop()
{
    ++stops;
    time = 0;
    m_timer = false;
    setProgress(0);
    setPlaying(false);
}

void FakeTrackPlayer::seek(double fraction)
{
    if (!hasPlayer())
        return;
    const double clamped = qBound(0.0, fraction > 0 ? fraction : 0.0, 1.0);
    time = clamped * duration();
    setProgress(clamped);
    emit seeked(time);
}

void FakeTrackPlayer::setCurrentTime(double seconds)
{
    if (hasPlayer())
        emit seeked(time = seconds);
}

void FakeTrackPlayer::setVolume(float volume)
{
    if (hasPlayer() && volume != level)
        emit volumeChanged(level = volume);
}

void FakeTrackPlayer::finish()
{
    setPlaying(false);
    emit trackFinished();
}

void FakeTrackPlayer::joinNext(const QUrl& next)
{
    m_url = next;
    time = 0;
    emit urlChanged(next);
    emit nextTrackStarted(next);
}

void FakeTrackPlayer::setCover(const Cover& cover)
{
    const bool pictureChanged = cover.image != m_cover.image;
    m_cover = cover;
    emit coverChanged();
    if (pictureChanged)
        emit albumArtChanged();
}

void FakeTrackPlayer::setProgress(double progress)
{
    if (progress != m_progress)
        emit progressChanged(m_progress = progress);
}

void FakeTrackPlayer::setPlaying(bool playing)
{
    if (playing != m_playing)
        emit isPlayingChanged(m_playing = playing);
}
