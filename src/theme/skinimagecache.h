#pragma once

#include <QHash>
#include <QImage>
#include <QObject>
#include <QString>

#include <functional>

class QFileSystemWatcher;

namespace theme {

// The skin images of one theme directory as last read, for a window that draws them many times
// a second: an image is read again only after its directory told (through inotify) that a file
// in it was replaced, removed or added, or the theme itself changed. Drawing costs no file
// system call.
class SkinImageCache final : public QObject {
    Q_OBJECT

public:
    // read gives the image of an element ("close", "player", ...) as it is now.
    using Reader = std::function<QImage(const QString& element)>;
    explicit SkinImageCache(Reader read, QObject* parent = nullptr);
    ~SkinImageCache() override;
    Q_DISABLE_COPY_MOVE(SkinImageCache)

    // The theme directory whose files the images come from (empty: none, so only the theme's
    // folder appearing matters) and the folder holding the themes. Forgets what was read.
    void setDirectory(const QString& directory, const QString& themesDirectory);
    QImage image(const QString& element);
    // Forgets what was read: the next image() reads its file again.
    void clear();

signals:
    // A file of the theme changed on disk: what shows its images draws them again.
    void changed();

private:
    void watch();
    void filesChanged();

    Reader m_read;
    QString m_directory;
    QString m_themesDirectory;
    QHash<QString, QImage> m_images;
    QFileSystemWatcher* m_watcher = nullptr;
};

} // namespace theme
