#pragma once

#include "model/records.h"

#include <QString>

namespace playertest {

// Tones of 440, 660, 880 Hz... as WAV files in dir, and the tracks that name them
// ("Tone 1", "Artist 1", ...).
QList<Track> makeTracks(const QString& dir, int count = 3, double seconds = 1.0);

} // namespace playertest
