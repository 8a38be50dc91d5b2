#pragma once

#include <QObject>

class QSocketNotifier;

// SIGTERM and SIGINT end the event loop cleanly: the handler only writes to a pipe, the
// main thread quits the application when it reads from it.
class UnixSignals final : public QObject {
    Q_OBJECT

public:
    explicit UnixSignals(QObject* parent = nullptr);
    ~UnixSignals() override;
    Q_DISABLE_COPY_MOVE(UnixSignals)

private:
    QSocketNotifier* m_notifier = nullptr;
};
