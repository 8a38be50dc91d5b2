#pragma once

#include <QHash>
#include <QObject>
#include <QString>

#include <memory>

class QTimer;
typedef struct _GstBuffer GstBuffer;
typedef struct _GstElement GstElement;

namespace playback {
class Mailbox;
}

// Plays the short interface sounds ("click", "pop", "min", "drag") shipped as
// resources named "<name>.m4a". Each sound is decoded once, on its first use, and then played
// from memory on one audio stream, kept open while sounds follow each other so that each
// starts at once, and let go a moment after the last one has played out (an open stream wakes
// the process a hundred times a second). A new sound cuts off the previous one. Callers test
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

    // The samples of one sound, or why it could not be decoded.
    struct Decoded;

signals:
    // A sound was started (after its file was found).
    void soundStarted(const QString& name);

private:
    void decoded(const QString& name, const std::shared_ptr<Decoded>& sound);
    void start(const Decoded& sound);

    QString m_lastSound;
    // decoded sounds by name; a name being decoded has no entry yet
    QHash<QString, std::shared_ptr<Decoded>> m_sounds;
    QHash<QString, bool> m_decoding;
    GstElement* m_pipeline = nullptr;
    GstElement* m_source = nullptr;
    // lets the stream go once the last sound has played out; the pipeline then waits in READY
    QTimer* m_releaseTimer;
    bool m_released = false;
    std::shared_ptr<playback::Mailbox> m_mailbox;
};
