#pragma once

#include "theme/themedata.h"

#include <QImage>
#include <QString>

// Still pictures of a theme's skin as the player shows it when stopped: the background, the
// buttons, the menu buttons and the album placeholder, without texts. The files are read here
// and nothing is cached, so pictures can be made on any thread once loadFallbacks() has run
// on the main thread.
namespace skinpicture {

// Loads the built-in fallback images, which the pictures of incomplete themes share.
void loadFallbacks();

// The geometry of the theme in themeDir: its theme.json, or the family's geometry where that
// cannot be read. A theme without a directory has the geometry of the fallback images.
ThemeData geometryOf(const QString& themeDir, const QString& name);

// The skin drawn at scale (1, or 1.5 when enlarged) for a screen of the device pixel ratio;
// an element file that is missing or broken shows its fallback, as in the player.
QImage draw(const QString& themeDir, const ThemeData& geometry, double scale, qreal ratio);

// The picture fitted into a square of side points, centred, for a list entry.
QImage thumbnail(const QImage& picture, int side, qreal ratio);

} // namespace skinpicture
