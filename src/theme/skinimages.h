#pragma once

#include <QImage>
#include <QSize>
#include <QString>

namespace theme {

// The image of one skin element of a theme directory: the file "<element>.png" when it is
// there and decodes, otherwise the built-in "mini-graphite-<element>" image. An empty
// themeDir means the theme has no directory. Decoded files are cached by path, size and
// modification time, so a file replaced on disk shows at the next call.
// Decoded no larger than maxPixels (keeping its proportions): a theme's images cost what
// they are drawn at, whatever their files hold. An empty maxPixels decodes at full size.
QImage skinImage(const QString& themeDir, const QString& element, const QSize& maxPixels = {});

// The built-in fallback image of an element (a null image for an unknown element).
QImage fallbackImage(const QString& element);

// Resource path of a built-in theme image, ":/themes/<theme>-<element>@2x.png".
QString builtInImageResource(const QString& theme, const QString& element);

} // namespace theme
