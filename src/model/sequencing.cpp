#include "model/config.h"

#include <QRandomGenerator>

void Config::previousTrack()
{
    const qint64 n = currentTracks().size();
    if (n == 0)
        return;
    // the remainder takes the sign of the dividend; a stale index far past the end
    // can leave it negative, which no list can use, so it wraps once more
    qint64 index = (m_currentTrackIndex - 1 + n) % n;
    if (index < 0)
        index += n;
    setCurrentTrackIndex(index);
}

void Config::nextTrack()
{
    const qint64 n = currentTracks().size();
    if (n == 0)
        return;
    if (m_shuffleTracks) {
        qint64 index = 0;
        if (n > 1) {
            do {
                index = qint64(QRandomGenerator::system()->bounded(quint64(n)));
            } while (index == m_currentTrackIndex);
        }
        setCurrentTrackIndex(index);
        return;
    }
    const qint64 next = m_currentTrackIndex + 1;
    if (next < n)
        setCurrentTrackIndex(next);
    else if (m_loopTracks)
        setCurrentTrackIndex(0);
}

qint64 Config::followingTrackIndex(qint64 trackCount) const
{
    if (trackCount <= 0)
        return m_currentTrackIndex;
    if (m_shuffleTracks) {
        if (trackCount == 1)
            return 0;
        qint64 index = 0;
        do {
            index = qint64(QRandomGenerator::system()->bounded(quint64(trackCount)));
        } while (index == m_currentTrackIndex);
        return index;
    }
    const qint64 next = m_currentTrackIndex + 1;
    if (next < trackCount)
        return next;
    return m_loopTracks ? 0 : m_currentTrackIndex;
}
