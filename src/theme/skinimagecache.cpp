#include "theme/skinimagecache.h"

#include <QDir>
#include <QFileInfo>
#include <QFileSystemWatcher>

namespace theme {

SkinImageCache::SkinImageCache(Reader read, QObject* parent)
    : QObject(parent), m_read(std::move(read))
{
}

SkinImageCache::~SkinImageCache() = default;

void SkinImageCache::setDirectory(const QString& directory, const QString& themesDirectory)
{
    clear();
    if (directory == m_directory && themesDirectory == m_themesDirectory && m_watcher)
        return;
    m_directory = directory;
    m_themesDirectory = themesDirectory;
    delete m_watcher;
    m_watcher = nullptr;
    watch();
}

QImage SkinImageCache::image(const QString& element)
{
    const auto it = m_images.constFind(element);
    if (it != m_images.constEnd())
        return *it;
    const QImage image = m_read(element);
    m_images.insert(element, image);
    return image;
}

void SkinImageCache::clear()
{
    m_images.clear();
}

// The directory sees files come, go and be renamed over (an atomic replace); each file itself
// sees a write in place. The folder of all themes sees the theme's own folder come and go.
void SkinImageCache::watch()
{
    if (!m_watcher) {
        m_watcher = new QFileSystemWatcher(this);
        connect(m_watcher, &QFileSystemWatcher::directoryChanged, this,
                &SkinImageCache::filesChanged);
        connect(m_watcher, &QFileSystemWatcher::fileChanged, this, &SkinImageCache::filesChanged);
    }
    QStringList paths;
    if (!m_themesDirectory.isEmpty() && QFileInfo(m_themesDirectory).isDir())
        paths << m_themesDirectory;
    if (!m_directory.isEmpty() && QFileInfo(m_directory).isDir()) {
        paths << m_directory;
        // a name filter would compile a regular expression, and load its engine, for this
        for (const QString& name : QDir(m_directory).entryList(QDir::Files)) {
            if (name.endsWith(QLatin1String(".png"), Qt::CaseInsensitive))
                paths << m_directory + QLatin1Char('/') + name;
        }
    }
    const QStringList watched = m_watcher->files() + m_watcher->directories();
    for (const QString& path : watched)
        if (!paths.contains(path))
            m_watcher->removePath(path);
    for (const QString& path : paths)
        if (!watched.contains(path))
            m_watcher->addPath(path);
}

void SkinImageCache::filesChanged()
{
    clear();
    // a file renamed over another is a new one to watch
    watch();
    emit changed();
}

} // namespace theme
