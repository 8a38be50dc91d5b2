#pragma once

#include <QObject>
#include <QStringList>

class FileOpener;
class QMimeData;
class QWidget;

// Files, folders and playlist files dropped on the player window go to the end of the current
// playlist, as those of the command line do; a playing track plays on, else the first added
// one plays. What is skipped is printed.
class SkinDrop final : public QObject {
    Q_OBJECT

public:
    SkinDrop(QWidget* window, FileOpener* opener);
    Q_DISABLE_COPY_MOVE(SkinDrop)

    // The local files and folders of a drop, in the drop's order; empty for a drop of
    // something else (a web link, text).
    static QStringList localFiles(const QMimeData* mime);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    FileOpener* m_opener;
};
