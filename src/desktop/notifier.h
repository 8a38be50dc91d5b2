#pragma once

#include <QObject>
#include <QUrl>

class Config;
class PlayerController;

// "Show notifications": a desktop notification when a track starts to sound, with its title,
// artist and cover. Each replaces the one before instead of stacking. Without a notification
// service nothing happens, and nothing is printed.
class Notifier final : public QObject {
    Q_OBJECT

public:
    explicit Notifier(PlayerController* controller, QObject* parent = nullptr);
    Q_DISABLE_COPY_MOVE(Notifier)

private:
    void notify(const QString& title, const QString& artist, const QUrl& url);

    PlayerController* m_controller;
    // the id of the notification shown last, which the next one replaces
    uint m_shownId = 0;
    // the file the last notification was about, still waiting for its cover
    QUrl m_waitingForCover;
    QString m_title;
    QString m_artist;
};
