#pragma once

#include "model/records.h"

#include <QObject>
#include <QStringList>

#include <functional>

class PlayerController;

// Files named on the command line, handed over by a second start or opened over MPRIS: their
// tracks (lists give their entries) are added in order to the end of the current playlist
// with one save, and the first of them plays.
class FileOpener final : public QObject {
    Q_OBJECT

public:
    explicit FileOpener(PlayerController* controller, QObject* parent = nullptr);
    Q_DISABLE_COPY_MOVE(FileOpener)

    using Done = std::function<void(const QStringList& skipped)>;
    // Paths or file URIs; the files are read off the main thread and done gets one line for
    // each file or entry that was skipped.
    void open(const QStringList& arguments, const Done& done);

signals:
    // The tracks were added (count of them, possibly none) and the first plays.
    void opened(qsizetype added);

private:
    void add(const QList<Track>& tracks);

    PlayerController* m_controller;
};
