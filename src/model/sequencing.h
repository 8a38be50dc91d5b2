#pragma once

#include <QtGlobal>

#include <functional>

// Which track comes before or after another, from nothing but the list's length, the
// position and the two options: the rules behind previousTrack and nextTrack.
namespace sequencing {

// A random position below n; the system's generator unless a test gives another.
using Random = std::function<qint64(qint64 n)>;
qint64 systemRandom(qint64 n);

// The track before index in a list of count > 0, wrapping from the first to the last.
qint64 previous(qint64 count, qint64 index);
// The track after index in a list of count > 0: a random other one under shuffle, the next,
// the first again past the end when looping, and index itself where the list ends.
qint64 next(qint64 count, qint64 index, bool shuffle, bool loop,
            const Random& random = systemRandom);

} // namespace sequencing
