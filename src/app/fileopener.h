#pragma once

#include "model/records.h"

#include <QObject>
#include <QStringList>

#include <functional>

class PlayerController;

// Files named on the command line, handed over by a second start, opened over MPRIS or dropped
// on the skin: their tracks (lists give their entries, folders their files) are added in order to
// the end of the current playlist with one save, and the first of them plays.
class FileOpener final : public QObject {
    Q_OBJECT

public:
    explicit FileOpener(PlayerController* controller, QObject* parent = nullptr);
    Q_DISABLE_COPY_MOVE(FileOpener)

    using Done = std::function<void(const QStringList& skipped)>;
    // What the added tracks do to playback: the first of them plays, or (for a drop on the
    // skin) the first plays only when nothing plays, and a playing track plays on.
    enum class Start { PlayFirst, KeepPlaying };
    // Paths, folders or file URIs; the files are read off the main thread and done gets one
    // line for each file or entry that was skipped.
    void open(const QStringList& arguments, const Done& done, Start start = Start::PlayFirst);

signals:
    // The tracks were added (count of them, possibly none) and the first plays.
    void opened(qsizetype added);

private:
    void add(const QList<Track>& tracks, Start start);

    PlayerController* m_controller;
};
