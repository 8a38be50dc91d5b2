#include "desktop/mpris.h"

#include "model/config.h"
#include "core/output.h"
#include "playback/trackplayer.h"
#include "control/playercontroller.h"

#include <QCoreApplication>
#include <QDBusAbstractAdaptor>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QUrl>

#include <cmath>

namespace {

const QString kObjectPath = QStringLiteral("/org/mpris/MediaPlayer2");
const QString kRootInterface = QStringLiteral("org.mpris.MediaPlayer2");
const QString kPlayerInterface = QStringLiteral("org.mpris.MediaPlayer2.Player");
const QString kBusName = QStringLiteral("org.mpris.MediaPlayer2.lindenfold");

class RootAdaptor final : public QDBusAbstractAdaptor {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.mpris.MediaPlayer2")
    Q_PROPERTY(bool CanQuit READ canQuit)
    Q_PROPERTY(bool CanRaise READ canRaise)
    Q_PROPERTY(bool HasTrackList READ hasTrackList)
    Q_PROPERTY(QString Identity READ identity)
    Q_PROPERTY(QString DesktopEntry READ desktopEntry)
    Q_PROPERTY(QStringList SupportedUriSchemes READ supportedUriSchemes)
    Q_PROPERTY(QStringList SupportedMimeTypes READ supportedMimeTypes)

public:
    explicit RootAdaptor(MprisService* service) : QDBusAbstractAdaptor(service), m_service(service)
    {
    }

    bool canQuit() const { return true; }
    bool canRaise() const { return true; }
    bool hasTrackList() const { return false; }
    QString identity() const { return QStringLiteral("Lindenfold"); }
    QString desktopEntry() const { return QStringLiteral("lindenfold"); }
    QStringList supportedUriSchemes() const { return {QStringLiteral("file")}; }
    QStringList supportedMimeTypes() const { return MprisService::supportedMimeTypes(); }

public slots:
    void Raise() { m_service->raise(); }
    void Quit() { m_service->quit(); }

private:
    MprisService* m_service;
};

class PlayerAdaptor final : public QDBusAbstractAdaptor {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.mpris.MediaPlayer2.Player")
    Q_PROPERTY(QString PlaybackStatus READ playbackStatus)
    Q_PROPERTY(QString LoopStatus READ loopStatus WRITE setLoopStatus)
    Q_PROPERTY(double Rate READ rate WRITE setRate)
    Q_PROPERTY(bool Shuffle READ shuffle WRITE setShuffle)
    Q_PROPERTY(QVariantMap Metadata READ metadata)
    Q_PROPERTY(double Volume READ volume WRITE setVolume)
    Q_PROPERTY(qlonglong Position READ position)
    Q_PROPERTY(double MinimumRate READ rate)
    Q_PROPERTY(double MaximumRate READ rate)
    Q_PROPERTY(bool CanGoNext READ yes)
    Q_PROPERTY(bool CanGoPrevious READ yes)
    Q_PROPERTY(bool CanPlay READ yes)
    Q_PROPERTY(bool CanPause READ yes)
    Q_PROPERTY(bool CanSeek READ yes)
    Q_PROPERTY(bool CanControl READ yes)

public:
    explicit PlayerAdaptor(MprisService* service)
        : QDBusAbstractAdaptor(service), m_service(service)
    {
    }

    QString playbackStatus() const { return m_service->playbackStatus(); }
    QString loopStatus() const { return m_service->loopStatus(); }
    void setLoopStatus(const QString& status) { m_service->setLoopStatus(status); }
    double rate() const { return 1.0; }
    void setRate(double) {}
    bool shuffle() const { return m_service->shuffle(); }
    void setShuffle(bool shuffle) { m_service->setShuffle(shuffle); }
    QVariantMap metadata() const { return m_service->metadata(); }
    double volume() const { return m_service->volume(); }
    void setVolume(double volume) { m_service->setVolume(volume); }
    qlonglong position() const { return m_service->position(); }
    bool yes() const { return true; }

public slots:
    void Next() { m_service->next(); }
    void Previous() { m_service->previous(); }
    void Pause() { m_service->pause(); }
    void PlayPause() { m_service->playPause(); }
    void Stop() { m_service->stop(); }
    void Play() { m_service->play(); }
    void Seek(qlonglong offset) { m_service->seek(offset); }
    void SetPosition(const QDBusObjectPath& trackId, qlonglong position)
    {
        m_service->setPosition(trackId, position);
    }
    void OpenUri(const QString& uri) { m_service->open({uri}, {}); }

signals:
    void Seeked(qlonglong position);

private:
    MprisService* m_service;
};

// The hand-over of a second start: its files (absolute paths or file URIs) are added and the
// first plays; the reply, sent once they are read, lists what was skipped.
class LindenfoldAdaptor final : public QDBusAbstractAdaptor {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.lindenfold.Lindenfold")

public:
    explicit LindenfoldAdaptor(MprisService* service)
        : QDBusAbstractAdaptor(service), m_service(service)
    {
    }

public slots:
    QStringList Open(const QStringList& arguments, const QDBusMessage& message)
    {
        message.setDelayedReply(true);
        m_service->open(arguments, [message](const QStringList& skipped) {
            QDBusConnection::sessionBus().send(message.createReply(QVariant(skipped)));
        });
        return {};
    }

private:
    MprisService* m_service;
};

qint64 microseconds(double seconds)
{
    if (!std::isfinite(seconds) || seconds <= 0)
        return 0;
    return qint64(seconds * 1e6);
}

} // namespace

MprisService::MprisService(PlayerController* controller, TrackPlayer* player, QObject* parent)
    : QObject(parent), m_controller(controller), m_config(controller->config()), m_player(player),
      m_nowPlaying(controller->lastNowPlaying())
{
    new RootAdaptor(this);
    auto* adaptor = new PlayerAdaptor(this);
    new LindenfoldAdaptor(this);

    m_refreshTimer.setSingleShot(true);
    m_refreshTimer.setInterval(0);
    connect(&m_refreshTimer, &QTimer::timeout, this, &MprisService::refresh);

    connect(m_player, &TrackPlayer::seeked, adaptor, [this, adaptor](double seconds) {
        if (m_registered)
            emit adaptor->Seeked(microseconds(seconds));
    });
    connect(m_controller, &PlayerController::nowPlaying, this,
            [this](const Track& track, const Playlist& playlist) {
                m_nowPlaying = std::pair(track, playlist);
                refreshLater();
            });
    connect(m_player, &TrackPlayer::isPlayingChanged, this, &MprisService::refreshLater);
    connect(m_player, &TrackPlayer::durationChanged, this, &MprisService::refreshLater);
    connect(m_player, &TrackPlayer::urlChanged, this, &MprisService::refreshLater);
    connect(m_player, &TrackPlayer::coverChanged, this, &MprisService::refreshLater);
    connect(m_player, &TrackPlayer::volumeChanged, this, &MprisService::refreshLater);
    for (auto changed : {&Config::loopTracksChanged, &Config::shuffleTracksChanged,
                         &Config::currentTrackIndexChanged, &Config::currentPlaylistIndexChanged,
                         &Config::playlistsChanged})
        connect(m_config, changed, this, &MprisService::refreshLater);
    connect(m_config, &Config::playlistSaved, this, &MprisService::refreshLater);
}

void MprisService::takeCurrentValues()
{
    m_playbackStatus = playbackStatus();
    m_loopStatus = loopStatus();
    m_shuffle = shuffle();
    m_volume = volume();
    m_metadata = metadata();
}

MprisService::~MprisService()
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (bus.isConnected()) {
        bus.unregisterObject(kObjectPath);
        bus.unregisterService(kBusName);
    }
}

bool MprisService::registerOnSessionBus()
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) {
        const QString reason = bus.lastError().message();
        printLine(
            QStringLiteral("MPRIS is unavailable: no session bus") +
            (reason.isEmpty() ? QString() : QStringLiteral(" (") + reason + QLatin1Char(')')));
        return false;
    }
    if (!bus.registerObject(kObjectPath, this)) {
        printLine(QStringLiteral("MPRIS is unavailable: ") + bus.lastError().message());
        return false;
    }
    // a second running player takes an instance name, as the protocol suggests
    if (!bus.registerService(kBusName) &&
        !bus.registerService(instanceBusName(QCoreApplication::applicationPid()))) {
        printLine(QStringLiteral("MPRIS is unavailable: ") + bus.lastError().message());
        return false;
    }
    takeCurrentValues();
    m_registered = true;
    return true;
}

void MprisService::refreshLater()
{
    if (m_registered && !m_refreshTimer.isActive())
        m_refreshTimer.start();
}

QString MprisService::playbackStatus() const
{
    if (m_player->isPlaying())
        return QStringLiteral("Playing");
    // a paused file keeps its progress timer; a stopped one has none
    if (m_player->hasPlayer() && m_player->hasTimer())
        return QStringLiteral("Paused");
    return QStringLiteral("Stopped");
}

QString MprisService::loopStatus() const
{
    return m_config->loopTracks() ? QStringLiteral("Playlist") : QStringLiteral("None");
}

void MprisService::setLoopStatus(const QString& status)
{
    // the player loops whole playlists only: "Track" counts as "Playlist"
    m_controller->setLoop(status != QLatin1String("None"));
}

bool MprisService::shuffle() const
{
    return m_config->shuffleTracks();
}

void MprisService::setShuffle(bool shuffle)
{
    m_controller->setShuffle(shuffle);
}

double MprisService::volume() const
{
    return m_player->volume();
}

void MprisService::setVolume(double volume)
{
    if (!std::isfinite(volume))
        return;
    m_player->setVolume(float(qBound(0.0, volume, 1.0)));
}

qint64 MprisService::position() const
{
    return microseconds(m_player->currentTime());
}

QDBusObjectPath MprisService::trackObjectPath(const QUuid& id)
{
    return QDBusObjectPath(QStringLiteral("/org/lindenfold/track/") +
                           id.toString(QUuid::Id128).toUpper());
}

QVariantMap MprisService::metadata() const
{
    const QList<Track> tracks = m_config->currentTracks();
    const qint64 index = m_config->currentTrackIndex();
    if (index < 0 || index >= tracks.size())
        return {{QStringLiteral("mpris:trackid"),
                 QVariant::fromValue(QDBusObjectPath(
                     QStringLiteral("/org/mpris/MediaPlayer2/TrackList/NoTrack")))}};
    const Track& track = tracks.at(index);
    QVariantMap map;
    map.insert(QStringLiteral("mpris:trackid"), QVariant::fromValue(trackObjectPath(track.id)));
    map.insert(QStringLiteral("xesam:title"), track.trackName);
    map.insert(QStringLiteral("xesam:artist"), QStringList{track.artist});
    map.insert(QStringLiteral("xesam:url"), track.urlString);
    // length and cover belong to the track that really sounds, once it does
    const std::optional<Playlist> playlist = m_config->currentPlaylist();
    const bool isLoaded = m_player->hasPlayer() && !m_player->isLoading() && m_nowPlaying &&
                          m_nowPlaying->first.id == track.id && playlist &&
                          m_nowPlaying->second.id == playlist->id;
    if (isLoaded) {
        map.insert(QStringLiteral("mpris:length"), microseconds(m_player->duration()));
        const Cover cover = m_player->cover();
        if (!cover.file.isEmpty() && cover.url == m_player->url())
            map.insert(QStringLiteral("mpris:artUrl"), QUrl::fromLocalFile(cover.file).toString());
    }
    return map;
}

// Skips and plays from the desktop sound as the skin's buttons do.
void MprisService::next()
{
    m_controller->skipTrack(PlayerController::Direction::Next, QStringLiteral("click"));
}

void MprisService::previous()
{
    m_controller->skipTrack(PlayerController::Direction::Previous, QStringLiteral("click"));
}

void MprisService::pause()
{
    if (m_player->isPlaying())
        m_controller->pause();
}

void MprisService::playPause()
{
    m_controller->playPause(QStringLiteral("click"));
}

void MprisService::stop()
{
    m_player->stop();
}

void MprisService::play()
{
    if (!m_player->isPlaying())
        m_controller->play(QStringLiteral("click"));
}

// Past the end moves on, as the protocol asks.
void MprisService::seek(qint64 offset)
{
    m_controller->seekBy(double(offset) / 1e6, QStringLiteral("click"));
}

void MprisService::setPosition(const QDBusObjectPath& trackId, qint64 position)
{
    const QVariantMap current = metadata();
    if (current.value(QStringLiteral("mpris:trackid")).value<QDBusObjectPath>() == trackId)
        m_controller->seekTo(double(position) / 1e6);
}

QString MprisService::busName()
{
    return kBusName;
}

QString MprisService::instanceBusName(qint64 pid)
{
    return kBusName + QStringLiteral(".instance") + QString::number(pid);
}

QStringList MprisService::supportedMimeTypes()
{
    return {QStringLiteral("audio/flac"),         QStringLiteral("audio/x-flac"),
            QStringLiteral("audio/mpeg"),         QStringLiteral("audio/ogg"),
            QStringLiteral("audio/x-vorbis+ogg"), QStringLiteral("audio/x-opus+ogg"),
            QStringLiteral("audio/opus"),         QStringLiteral("audio/x-wav"),
            QStringLiteral("audio/wav"),          QStringLiteral("audio/mp4"),
            QStringLiteral("audio/x-m4a"),        QStringLiteral("audio/aac"),
            QStringLiteral("audio/x-wavpack"),    QStringLiteral("audio/x-aiff"),
            QStringLiteral("audio/aiff"),         QStringLiteral("audio/x-musepack"),
            QStringLiteral("audio/x-ape"),        QStringLiteral("audio/x-ms-wma"),
            QStringLiteral("audio/x-mpegurl"),    QStringLiteral("application/vnd.apple.mpegurl"),
            QStringLiteral("audio/x-scpls"),      QStringLiteral("application/xspf+xml")};
}

void MprisService::open(const QStringList& arguments,
                        const std::function<void(const QStringList&)>& done)
{
    raise();
    if (!openHandler) {
        if (done)
            done({});
        return;
    }
    openHandler(arguments, [done](const QStringList& skipped) {
        if (done)
            done(skipped);
        else
            for (const QString& line : skipped)
                printLine(line);
    });
}

void MprisService::raise()
{
    if (raiseHandler)
        raiseHandler();
}

void MprisService::quit()
{
    if (quitHandler)
        quitHandler();
    else
        QCoreApplication::quit();
}

void MprisService::refresh()
{
    if (!m_registered)
        return;
    QVariantMap player;
    if (const QString status = playbackStatus(); status != m_playbackStatus)
        player.insert(QStringLiteral("PlaybackStatus"), m_playbackStatus = status);
    if (const QString loop = loopStatus(); loop != m_loopStatus)
        player.insert(QStringLiteral("LoopStatus"), m_loopStatus = loop);
    if (const bool s = shuffle(); s != m_shuffle)
        player.insert(QStringLiteral("Shuffle"), m_shuffle = s);
    if (const double v = volume(); v != m_volume)
        player.insert(QStringLiteral("Volume"), m_volume = v);
    if (const QVariantMap meta = metadata(); meta != m_metadata)
        player.insert(QStringLiteral("Metadata"), m_metadata = meta);
    if (!player.isEmpty())
        emitChanged(kPlayerInterface, player);
}

void MprisService::emitChanged(const QString& interface, const QVariantMap& changed)
{
    QDBusMessage signal =
        QDBusMessage::createSignal(kObjectPath, QStringLiteral("org.freedesktop.DBus.Properties"),
                                   QStringLiteral("PropertiesChanged"));
    signal << interface << changed << QStringList();
    QDBusConnection::sessionBus().send(signal);
}

#include "mpris.moc"
