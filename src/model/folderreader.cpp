#include "model/folderreader.h"

#include "model/playlistformats.h"

#include <QCollator>
#include <QDir>
#include <QFileInfo>
#include <QMimeDatabase>

#include <sys/stat.h>

#include <algorithm>

namespace folderreader {
namespace {

// The collator of the calling thread: a collator is not to be shared between threads. The C
// locale's collator compares code points and knows no numbers; English orders as it would.
const QCollator& collator()
{
    thread_local const QCollator numeric = [] {
        const QLocale locale = QLocale().language() == QLocale::C
                                   ? QLocale(QLocale::English, QLocale::UnitedStates)
                                   : QLocale();
        QCollator c{locale};
        c.setNumericMode(true);
        c.setCaseSensitivity(Qt::CaseInsensitive);
        return c;
    }();
    return numeric;
}

// Covers, booklets, logs and lists lie beside the tracks; a folder gives only what may sound.
bool isBesideTheMusic(const QString& path)
{
    if (playlistformats::isPlaylistFile(path))
        return true;
    static const QMimeDatabase database;
    const QMimeType type = database.mimeTypeForFile(path, QMimeDatabase::MatchExtension);
    const QString name = type.name();
    return name.startsWith(QLatin1String("image/")) || name.startsWith(QLatin1String("text/")) ||
           name == QLatin1String("application/pdf") || name == QLatin1String("application/x-cue");
}

} // namespace

bool naturalLess(const QString& a, const QString& b)
{
    const int order = collator().compare(a, b);
    return order != 0 ? order < 0 : a < b;
}

void FolderReader::read(const QString& folder, QStringList& files, QStringList& skipped)
{
    // depth first, each folder's entries sorted: the natural order of the whole paths
    struct Pending {
        QString path;
        bool isDir;
    };
    QList<Pending> pending{{QDir(folder).absolutePath(), true}};
    while (!pending.isEmpty()) {
        const Pending next = pending.takeLast();
        if (!next.isDir) {
            if (m_taken >= kMaxFiles) {
                if (!m_full)
                    skipped.append(QStringLiteral("Skipped the rest of \"%1\": folders give at "
                                                  "most %2 files at once")
                                       .arg(folder)
                                       .arg(kMaxFiles));
                m_full = true;
                return;
            }
            ++m_taken;
            files.append(next.path);
            continue;
        }
        struct stat status {};
        if (::stat(QFile::encodeName(next.path).constData(), &status) != 0 ||
            !S_ISDIR(status.st_mode))
            continue;
        // a link back into a folder read already would read it again, or forever
        const std::pair<quint64, quint64> id{quint64(status.st_dev), quint64(status.st_ino)};
        if (m_seen.contains(id))
            continue;
        m_seen.insert(id);
        QFileInfoList entries = QDir(next.path).entryInfoList(
            QDir::Dirs | QDir::Files | QDir::NoDotAndDotDot, QDir::NoSort);
        std::sort(entries.begin(), entries.end(), [](const QFileInfo& a, const QFileInfo& b) {
            return naturalLess(a.fileName(), b.fileName());
        });
        // taken last-in first-out: the first entry goes on top
        for (auto it = entries.crbegin(); it != entries.crend(); ++it) {
            if (it->isDir() || !isBesideTheMusic(it->fileName()))
                pending.append({it->absoluteFilePath(), it->isDir()});
        }
    }
}

} // namespace folderreader
