#include "desktop/notifier.h"

#include "control/playercontroller.h"
#include "model/config.h"
#include "playback/trackplayer.h"

#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QImage>

namespace {

constexpr int kMaxCoverSide = 128;
constexpr uchar kLowUrgency = 0;

// The notification's "image-data": width, height, row stride, alpha, bits per sample,
// channels and the RGBA bytes.
struct NotificationImage {
    QImage image;
};

QDBusArgument& operator<<(QDBusArgument& argument, const NotificationImage& picture)
{
    const QImage& image = picture.image;
    argument.beginStructure();
    argument << image.width() << image.height() << int(image.bytesPerLine()) << true << 8 << 4
             << QByteArray(reinterpret_cast<const char*>(image.constBits()),
                           qsizetype(image.sizeInBytes()));
    argument.endStructure();
    return argument;
}

const QDBusArgument& operator>>(const QDBusArgument& argument, NotificationImage&)
{
    return argument;
}

} // namespace

Q_DECLARE_METATYPE(NotificationImage)

Notifier::Notifier(PlayerController* controller, QObject* parent)
    : QObject(parent), m_controller(controller)
{
    qDBusRegisterMetaType<NotificationImage>();
    connect(controller, &PlayerController::nowPlaying, this,
            [this](const Track& track, const Playlist&) {
                // a track restored paused at start is no change anyone heard
                if (!m_controller->config()->showsNotifications() ||
                    !m_controller->player()->isPlaying())
                    return;
                notify(track.trackName, track.artist,
                       TrackPlayer::fileURL(QUrl(track.urlString)).value_or(QUrl()));
            });
    // the cover is read after the file opened: the notification is shown again with it
    connect(controller->player(), &TrackPlayer::coverChanged, this, [this] {
        const Cover cover = m_controller->player()->cover();
        if (!m_waitingForCover.isEmpty() && cover.url == m_waitingForCover && !cover.image.isNull())
            notify(m_title, m_artist, m_waitingForCover);
    });
}

void Notifier::notify(const QString& title, const QString& artist, const QUrl& url)
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        return;
    m_title = title;
    m_artist = artist;
    QVariantMap hints{{QStringLiteral("desktop-entry"), QStringLiteral("lindenfold")},
                      {QStringLiteral("urgency"), QVariant::fromValue(kLowUrgency)}};
    const Cover cover = m_controller->player()->cover();
    if (cover.url == url && !cover.image.isNull()) {
        const QImage image =
            cover.image
                .scaled(kMaxCoverSide, kMaxCoverSide, Qt::KeepAspectRatio, Qt::SmoothTransformation)
                .convertToFormat(QImage::Format_RGBA8888);
        hints.insert(QStringLiteral("image-data"), QVariant::fromValue(NotificationImage{image}));
        m_waitingForCover = QUrl();
    } else {
        m_waitingForCover = url;
    }
    QDBusMessage message = QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.Notifications"),
        QStringLiteral("/org/freedesktop/Notifications"),
        QStringLiteral("org.freedesktop.Notifications"), QStringLiteral("Notify"));
    message << QStringLiteral("Lindenfold") << m_shownId << QString() << title << artist
            << QStringList() << hints << -1;
    // never auto-started: a desktop without a notification service simply shows nothing
    message.setAutoStartService(false);
    auto* watcher = new QDBusPendingCallWatcher(bus.asyncCall(message), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this,
            [this](QDBusPendingCallWatcher* call) {
                const QDBusPendingReply<uint> reply = *call;
                if (reply.isValid())
                    m_shownId = reply.value();
                call->deleteLater();
            });
}
