#include "theme/skinimages.h"

#include <QDateTime>
#include <QFileInfo>
#include <QHash>
#include <QImageReader>

namespace theme {

namespace {

struct CachedImage {
    QDateTime modified;
    qint64 size = -1;
    QImage image; // null when the file did not decode
};

// Skin images are larger than anything a theme needs; a bigger (or bomb-sized) PNG is
// refused rather than decoded.
constexpr int kMaxImageSide = 8192;

QImage decodeBounded(const QString& path)
{
    QImageReader reader(path);
    const QSize size = reader.size();
    if (size.isValid() && (size.width() > kMaxImageSide || size.height() > kMaxImageSide))
        return {};
    reader.setAllocationLimit(256);
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

QImage skinImage(const QString& themeDir, const QString& element)
{
    if (themeDir.isEmpty())
        return fallbackImage(element);

    static QHash<QString, CachedImage> cache;
    const QString path = themeDir + QLatin1Char('/') + element + QStringLiteral(".png");
    const QFileInfo info(path);
    if (!info.isFile()) {
        cache.remove(path);
        return fallbackImage(element);
    }
    const QDateTime modified = info.lastModified();
    const qint64 size = info.size();
    auto it = cache.find(path);
    if (it == cache.end() || it->modified != modified || it->size != size) {
        if (cache.size() > 512)
            cache.clear();
        it = cache.insert(path, CachedImage{modified, size, decodeBounded(path)});
    }
    return it->image.isNull() ? fallbackImage(element) : it->image;
}

} // namespace theme
