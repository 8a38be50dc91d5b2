#pragma once

#include <QDBusObjectPath>
#include <QObject>
#include <QTemporaryDir>
#include <QVariantMap>

#include <functional>

class AudioPlayer;
class Config;
class PlayerController;

// MPRIS2 on the session bus, so that media keys, the desktop's media controls and
// playerctl drive the player. Commands go through the same controller as the skin.
class MprisService final : public QObject {
    Q_OBJECT

public:
    MprisService(PlayerController* controller, AudioPlayer* audioPlayer, QObject* parent = nullptr);
    ~MprisService() override;
    Q_DISABLE_COPY_MOVE(MprisService)

    // Registers the object and the bus name; without a session bus prints one line and
    // returns false, and the player runs on without it.
    bool registerOnSessionBus();

    // Raise shows the player window; Quit ends the application.
    std::function<void()> raiseHandler;
    std::function<void()> quitHandler;
    // Opens files or file URIs as the command line does and calls back with the lines of what
    // was skipped, once the files are read.
    using OpenDone = std::function<void(const QStringList& skipped)>;
    std::function<void(const QStringList& arguments, const OpenDone& done)> openHandler;

    // The bus names: the first running player's, and that of any other running beside it.
    static QString busName();
    static QString instanceBusName(qint64 pid);
    // What the player opens, as the desktop entry lists it.
    static QStringList supportedMimeTypes();

    // org.mpris.MediaPlayer2.Player state, as the adaptors publish it.
    QString playbackStatus() const;
    QString loopStatus() const;
    void setLoopStatus(const QString& status);
    bool shuffle() const;
    void setShuffle(bool shuffle);
    double volume() const;
    void setVolume(double volume);
    qint64 position() const;
    QVariantMap metadata() const;

    void next();
    void previous();
    void pause();
    void playPause();
    void stop();
    void play();
    void seek(qint64 offset);
    void setPosition(const QDBusObjectPath& trackId, qint64 position);
    void raise();
    void quit();
    // OpenUri and the hand-over of a second start: raises the window, then opens; without a
    // callback the skipped lines are printed here.
    void open(const QStringList& arguments, const OpenDone& done);

    // A D-Bus object path naming a track by its id.
    static QDBusObjectPath trackObjectPath(const QUuid& id);

private:
    void refresh();
    void emitChanged(const QString& interface, const QVariantMap& changed);
    // The album art as a PNG in a private directory, for desktop shells to show.
    QString writeCoverFile();

    PlayerController* m_controller;
    Config* m_config;
    AudioPlayer* m_audioPlayer;
    QTemporaryDir m_coverDir;
    quint64 m_coverSerial = 0;
    QString m_coverFile;
    qint64 m_coverKey = 0;

    // last published values, so only real changes are signalled
    QString m_playbackStatus;
    QString m_loopStatus;
    bool m_shuffle = false;
    double m_volume = 1.0;
    QVariantMap m_metadata;
};
