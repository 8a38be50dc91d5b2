#include "theme/skinimages.h"

#include "core/fileio.h"
#include "core/pngchunks.h"

#include <QBuffer>
#include <QHash>
#include <QImageReader>

namespace theme {

namespace {

struct CachedImage {
    fileio::FileStamp stamp;
    QImage image; // null when the file did not decode
};

// Skin images are larger than anything a theme needs; a bigger (or bomb-sized) PNG is
// refused rather than decoded.
constexpr int kMaxImageSide = 8192;
// far above any real skin image; a file beyond it is not read at all
constexpr qint64 kMaxImageBytes = 64 * 1024 * 1024;

QImage decodeBounded(const QString& path, const QSize& maxPixels)
{
    auto bytes = fileio::readRegularFile(path, kMaxImageBytes, nullptr);
    if (!bytes || !pngchunks::fit(*bytes))
        return {};
    QBuffer device(&*bytes);
    device.open(QIODevice::ReadOnly);
    // a PNG or a JPEG is read as what it says it is; anything else is recognised by its content
    const QByteArray format = pngchunks::signatureFormat(*bytes);
    QImageReader reader(&device, format);
    reader.setAutoDetectImageFormat(format.isEmpty());
    const QSize size = reader.size();
    if (size.isValid() && (size.width() > kMaxImageSide || size.height() > kMaxImageSide))
        return {};
    reader.setAllocationLimit(256);
    if (size.isValid() && !maxPixels.isEmpty() &&
        (size.width() > maxPixels.width() || size.height() > maxPixels.height()))
        reader.setScaledSize(size.scaled(maxPixels, Qt::KeepAspectRatio).expandedTo(QSize(1, 1)));
    return reader.read();
}

} // namespace

QImage fallbackImage(const QString& element)
{
    static QHash<QString, QImage> cache;
    const auto it = cache.constFind(element);
    if (it != cache.constEnd())
        return *it;
    const QImage image(QStringLiteral(":/fallback/mini-graphite-%1.png").arg(element));
    cache.insert(element, image);
    return image;
}

QString builtInImageResource(const QString& theme, const QString& element)
{
    return QStringLiteral(":/themes/%1-%2@2x.png").arg(theme, element);
}

QImage skinImage(const QString& themeDir, const QString& element, const QSize& maxPixels)
{
    if (themeDir.isEmpty())
        return fallbackImage(element);

    static QHash<QString, CachedImage> cache;
    const QString path = themeDir + QLatin1Char('/') + element + QStringLiteral(".png");
    const QString key =
        path + QStringLiteral("@%1x%2").arg(maxPixels.width()).arg(maxPixels.height());
    const auto stamp = fileio::fileStamp(path);
    if (!stamp || !stamp->regular) {
        cache.remove(key);
        return fallbackImage(element);
    }
    auto it = cache.find(key);
    if (it == cache.end() || !(it->stamp == *stamp)) {
        // one theme's sixteen images at a few sizes; more means themes came and went
        if (cache.size() > 64)
            cache.clear();
        it = cache.insert(key, CachedImage{*stamp, decodeBounded(path, maxPixels)});
    }
    return it->image.isNull() ? fallbackImage(element) : it->image;
}

} // namespace theme
