#include "model/sequencing.h"

#include "model/config.h"

#include <QRandomGenerator>

namespace sequencing {

qint64 systemRandom(qint64 n)
{
    return qint64(QRandomGenerator::system()->bounded(quint64(n)));
}

qint64 previous(qint64 count, qint64 index)
{
    // the remainder takes the sign of the dividend; a stale index far past the end
    // can leave it negative, which no list can use, so it wraps once more
    qint64 before = (index - 1 + count) % count;
    if (before < 0)
        before += count;
    return before;
}

qint64 next(qint64 count, qint64 index, bool shuffle, bool loop, const Random& random)
{
    if (shuffle) {
        if (count == 1)
            return 0;
        qint64 pick = 0;
        do {
            pick = random(count);
        } while (pick == index);
        return pick;
    }
    if (index + 1 < count)
        return index + 1;
    return loop ? 0 : index;
}

} // namespace sequencing

void Config::previousTrack()
{
    const qint64 n = currentTracks().size();
    if (n > 0)
        setCurrentTrackIndex(sequencing::previous(n, m_currentTrackIndex));
}

void Config::nextTrack()
{
    const qint64 n = currentTracks().size();
    if (n > 0)
        setCurrentTrackIndex(
            sequencing::next(n, m_currentTrackIndex, m_shuffleTracks, m_loopTracks));
}

qint64 Config::followingTrackIndex(qint64 trackCount) const
{
    if (trackCount <= 0)
        return m_currentTrackIndex;
    return sequencing::next(trackCount, m_currentTrackIndex, m_shuffleTracks, m_loopTracks);
}
