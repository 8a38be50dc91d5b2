#pragma once

#include "model/records.h"

#include <QDBusObjectPath>
#include <QObject>
#include <QTimer>
#include <QVariantMap>

#include <functional>
#include <optional>

class Config;
class PlayerController;
class TrackPlayer;

// MPRIS2 on the session bus, so that media keys, the desktop's media controls and
// playerctl drive the player. Commands go through the same controller as the skin.
class MprisService final : public QObject {
    Q_OBJECT

public:
    MprisService(PlayerController* controller, TrackPlayer* player, QObject* parent = nullptr);
    ~MprisService() override;
    Q_DISABLE_COPY_MOVE(MprisService)

    // Registers the object and the bus name; without a session bus prints one line and
    // returns false, and the player runs on without it. Until registered, nothing is
    // refreshed or signalled.
    bool registerOnSessionBus();
    bool isRegistered() const { return m_registered; }

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
    // Many changes of one event (a skip changes the index, the file, the state and the length)
    // become one PropertiesChanged, sent once control returns to the event loop.
    void refreshLater();
    void refresh();
    void emitChanged(const QString& interface, const QVariantMap& changed);
    void takeCurrentValues();

    PlayerController* m_controller;
    Config* m_config;
    TrackPlayer* m_player;
    QTimer m_refreshTimer;
    bool m_registered = false;
    // the track the controller last said really sounds, with its playlist
    std::optional<std::pair<Track, Playlist>> m_nowPlaying;

    // last published values, so only real changes are signalled
    QString m_playbackStatus;
    QString m_loopStatus;
    bool m_shuffle = false;
    double m_volume = 1.0;
    QVariantMap m_metadata;
};
