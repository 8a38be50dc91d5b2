#include "app/skindrop.h"

#include "app/fileopener.h"
#include "core/output.h"

#include <QDropEvent>
#include <QMimeData>
#include <QUrl>
#include <QWidget>

SkinDrop::SkinDrop(QWidget* window, FileOpener* opener) : QObject(window), m_opener(opener)
{
    window->setAcceptDrops(true);
    window->installEventFilter(this);
}

QStringList SkinDrop::localFiles(const QMimeData* mime)
{
    QStringList files;
    if (!mime)
        return files;
    for (const QUrl& url : mime->urls()) {
        if (url.isLocalFile() && !url.toLocalFile().isEmpty())
            files.append(url.toLocalFile());
    }
    return files;
}

bool SkinDrop::eventFilter(QObject* watched, QEvent* event)
{
    switch (event->type()) {
    case QEvent::DragEnter:
    case QEvent::DragMove: {
        auto* drag = static_cast<QDragMoveEvent*>(event);
        // nothing is read yet: a folder or a list is looked into only once it is dropped
        if (localFiles(drag->mimeData()).isEmpty()) {
            drag->ignore();
        } else {
            drag->setDropAction(Qt::CopyAction);
            drag->accept();
        }
        return true;
    }
    case QEvent::Drop: {
        auto* drop = static_cast<QDropEvent*>(event);
        const QStringList files = localFiles(drop->mimeData());
        if (files.isEmpty()) {
            drop->ignore();
            return true;
        }
        drop->setDropAction(Qt::CopyAction);
        drop->accept();
        m_opener->open(
            files,
            [](const QStringList& skipped) {
                for (const QString& line : skipped)
                    printLine(line);
            },
            FileOpener::Start::KeepPlaying);
        return true;
    }
    default:
        return QObject::eventFilter(watched, event);
    }
}
