#pragma once

#include <QObject>

class Config;
class QLabel;
class QWidget;

// Tells the user, once per run, that a file could not be saved: a small note below the
// player window that goes away by itself. Nothing waits for a click; the failure is also
// printed, and what is in memory is saved again at the next change.
class SaveNotice final : public QObject {
    Q_OBJECT

public:
    SaveNotice(Config* config, QWidget* window);
    Q_DISABLE_COPY_MOVE(SaveNotice)

    static constexpr int kShownMilliseconds = 12000;
    // The note on screen (null before the first failure).
    QLabel* label() const { return m_label; }

private:
    void show(const QString& error);

    QWidget* m_window;
    QLabel* m_label = nullptr;
};
