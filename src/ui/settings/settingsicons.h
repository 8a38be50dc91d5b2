#pragma once

#include <QIcon>

// Icons of the settings window: the desktop's icon theme first, a drawn one where the theme
// has none (headless sessions and bare window managers have no icon theme at all).
namespace settingsicons {

QIcon general();
QIcon playlists();
QIcon newPlaylist();
QIcon dragHandle();
QIcon trash();

} // namespace settingsicons
