#include "ui/player/skinpicture.h"

#include "core/fileio.h"
#include "theme/skinimages.h"
#include "ui/player/skinlayout.h"

#include <QFileInfo>
#include <QImageReader>
#include <QPainter>

#include <utility>

namespace {

using Element = SkinLayout::Element;

constexpr std::pair<Element, const char*> kElements[] = {{Element::Close, "close"},
                                                         {Element::Minimize, "min"},
                                                         {Element::Rewind, "rr"},
                                                         {Element::PlayPause, "play"},
                                                         {Element::FastForward, "ff"},
                                                         {Element::PlaylistMenu, "playlist-menu"},
                                                         {Element::TrackMenu, "track-menu"},
                                                         {Element::AlbumArt, "track-album"}};

// the same bounds as the player's images: a hostile file costs no more than its drawn size
constexpr int kMaxImageSide = 8192;

QImage elementImage(const QString& themeDir, const QString& element, const QSize& pixels)
{
    if (!themeDir.isEmpty()) {
        const QString path = themeDir + QLatin1Char('/') + element + QStringLiteral(".png");
        if (QFileInfo(path).isFile()) {
            QImageReader reader(path);
            const QSize size = reader.size();
            if (size.isValid() && size.width() <= kMaxImageSide && size.height() <= kMaxImageSide) {
                reader.setAllocationLimit(256);
                if (!pixels.isEmpty() &&
                    (size.width() > pixels.width() || size.height() > pixels.height()))
                    reader.setScaledSize(
                        size.scaled(pixels, Qt::KeepAspectRatio).expandedTo(QSize(1, 1)));
                const QImage image = reader.read();
                if (!image.isNull())
                    return image;
            }
        }
    }
    return theme::fallbackImage(element);
}

} // namespace

namespace skinpicture {

void loadFallbacks()
{
    for (const QString& element : theme::skinElements())
        theme::fallbackImage(element);
}

ThemeData geometryOf(const QString& themeDir, const QString& name)
{
    if (themeDir.isEmpty() || !QFileInfo(themeDir).isDir())
        return {};
    const ThemeData family = theme::familyGeometry(theme::familyOf(name));
    fileio::ReadError error;
    const auto bytes =
        fileio::readRegularFile(themeDir + QStringLiteral("/theme.json"), 1 << 20, &error);
    if (!bytes)
        return family;
    const auto decoded = theme::decodeTheme(*bytes, family);
    const auto* geometry = std::get_if<ThemeData>(&decoded);
    return geometry ? *geometry : family;
}

QImage draw(const QString& themeDir, const ThemeData& geometry, double scale, qreal ratio)
{
    const SkinLayout layout(geometry, scale);
    const QSizeF skin = layout.skinSize(false);
    QImage picture((skin * ratio).toSize(), QImage::Format_ARGB32_Premultiplied);
    picture.setDevicePixelRatio(ratio);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, true);
    painter.drawImage(QRectF(QPointF(0, 0), skin),
                      elementImage(themeDir, QStringLiteral("player"), (skin * ratio).toSize()));
    const SkinLayout::State stopped{false, false, true};
    for (const auto& [element, name] : kElements) {
        const QRectF rect = layout.rect(element);
        if (!layout.isPresent(element, stopped) || rect.isEmpty() ||
            !rect.intersects(QRectF(QPointF(0, 0), skin)))
            continue;
        painter.drawImage(
            rect, elementImage(themeDir, QLatin1String(name), (rect.size() * ratio).toSize() * 2));
    }
    return picture;
}

QImage thumbnail(const QImage& picture, int side, qreal ratio)
{
    const int pixels = qRound(side * ratio);
    QImage square(pixels, pixels, QImage::Format_ARGB32_Premultiplied);
    square.fill(Qt::transparent);
    if (!picture.isNull()) {
        QImage fitted =
            picture.scaled(pixels, pixels, Qt::KeepAspectRatio, Qt::SmoothTransformation);
        fitted.setDevicePixelRatio(1);
        QPainter painter(&square);
        painter.drawImage((pixels - fitted.width()) / 2, (pixels - fitted.height()) / 2, fitted);
    }
    square.setDevicePixelRatio(ratio);
    return square;
}

} // namespace skinpicture
