#pragma once

#include <QObject>
#include <QString>
#include <QThreadPool>

class PlayerController;
class QTimer;

// Where the listener stopped: the current playlist, track and position, kept in
// "session.json" under $XDG_STATE_HOME/lindenfold (~/.local/state/lindenfold) while
// "Resume where I stopped" is on. Written when a track starts, on pause and stop, every 10 s
// while playing and at quit; the file is replaced whole, off the main thread, in order.
class Session final : public QObject {
    Q_OBJECT

public:
    explicit Session(PlayerController* controller, QObject* parent = nullptr);
    ~Session() override;
    Q_DISABLE_COPY_MOVE(Session)

    static QString filePath();

    // At start, with the option on: the saved playlist and track (by id, then by URL, else the
    // playlist's first) become current and are loaded paused at the saved position. Nothing
    // happens without the option, or with a missing or damaged file, or when the playlist is
    // gone. Never starts playback.
    void restore();
    // Writes the place now (when the option is on); the write itself runs off this thread.
    void save();
    // Waits a moment for the writes handed over so far.
    void flush();

private:
    PlayerController* m_controller;
    QTimer* m_timer;
    QThreadPool m_writer;
    bool m_restoring = false;
};
