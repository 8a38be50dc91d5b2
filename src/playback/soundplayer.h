#pragma once

#include <QObject>
#include <QString>

class QMediaPlayer;
class QAudioOutput;

// Plays the short interface sounds ("click", "pop", "min", "drag") shipped as
// resources named "<name>.m4a". A new sound cuts off the previous one. Callers test
// Config::playsSounds first.
class SoundPlayer final : public QObject {
    Q_OBJECT

public:
    explicit SoundPlayer(QObject* parent = nullptr);
    ~SoundPlayer() override;
    Q_DISABLE_COPY_MOVE(SoundPlayer)

    void playSound(const QString& name);

    // Name of the last sound started (empty before the first); lets tests see which sound
    // an action asked for.
    QString lastSound() const;

signals:
    // A sound was started (after its file was found).
    void soundStarted(const QString& name);

private:
    void report(const QString& name, const QString& description);

    QMediaPlayer* m_player = nullptr;
    QString m_lastSound;
    // the backend may send several errors for one file: one line each sound
    bool m_reported = false;
};
