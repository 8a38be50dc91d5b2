#pragma once

#include <QStringList>

// The second start's side of the one-instance rule: its files go over the session bus to the
// player that holds the data directory, which adds them, plays the first and raises its window.
namespace handover {

// Finds the player of process pid on the session bus, waiting up to waitMs for it to register
// (it may be starting), and hands it the arguments; the lines of what it skipped are printed.
// False when there is no session bus or no such player on it.
bool handOver(qint64 pid, const QStringList& arguments, int waitMs);

} // namespace handover
