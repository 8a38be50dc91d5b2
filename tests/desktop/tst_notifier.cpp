// Notifications on a private session bus, received by a stand-in notification service on a
// connection of its own.
#include "control/playercontroller.h"
#include "desktop/notifier.h"
#include "model/config.h"
#include "support/faketrackplayer.h"
#include "support/testsupport.h"

#include <QtDBus>
#include <QtTest>

class StandIn : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.Notifications")

public:
    QList<QVariantMap> calls; // replaces, summary, body and the hints of each Notify

public slots:
    uint Notify(const QString&, uint replaces, const QString&, const QString& summary,
                const QString& body, const QStringList&, const QVariantMap& hints, int)
    {
        QVariantMap call = hints;
        call.insert({{"replaces", replaces}, {"summary", summary}, {"body", body}});
        calls << call;
        return replaces ? replaces : 7;
    }
};

class TestNotifier : public QObject {
    Q_OBJECT

private slots:
    // One bubble, replaced by the next track and again once the cover is read; none without
    // the option.
    void notifies_data()
    {
        QTest::addColumn<bool>("option");
        QTest::addColumn<QStringList>("told");
        QTest::newRow("on") << true << QStringList{"0 A Ann", "7 B Bob", "7 B Bob cover"};
        QTest::newRow("off") << false << QStringList{};
    }
    void notifies()
    {
        QFETCH(bool, option);
        QFETCH(QStringList, told);
        testsupport::TempHome home;
        QDBusConnection bus = QDBusConnection::connectToBus(QDBusConnection::SessionBus, "standin");
        StandIn service;
        QVERIFY(bus.registerObject("/org/freedesktop/Notifications", &service,
                                   QDBusConnection::ExportAllSlots));
        QVERIFY(bus.registerService("org.freedesktop.Notifications"));
        Config config;
        config.setShowsNotifications(option);
        FakeTrackPlayer player;
        PlayerController controller(&config, &player);
        Notifier notifier(&controller);
        config.savePlaylist(config.playlists().first().id,
                            {{QUuid::createUuid(), "/music/a.flac", "A", "Ann"},
                             {QUuid::createUuid(), "/music/b.flac", "B", "Bob"}});
        controller.play();
        QTest::qWait(200);
        controller.skipTrack(PlayerController::Direction::Next);
        QTest::qWait(200);
        QImage cover(4, 4, QImage::Format_RGB32);
        cover.fill(Qt::red);
        player.setCover({QUrl::fromLocalFile("/music/b.flac"), cover, {}});
        QTest::qWait(300);
        QStringList heard;
        for (const QVariantMap& call : std::as_const(service.calls)) {
            QCOMPARE(call.value("desktop-entry").toString(), "lindenfold");
            QCOMPARE(call.value("urgency").value<uchar>(), 0);
            heard << QStringList{call.value("replaces").toString(),
                                 call.value("summary").toString(), call.value("body").toString(),
                                 call.contains("image-data") ? "cover" : ""}
                         .join(' ')
                         .trimmed();
        }
        QCOMPARE(heard, told);
        bus.unregisterService("org.freedesktop.Notifications");
        QDBusConnection::disconnectFromBus("standin");
    }
};

QTEST_GUILESS_MAIN(TestNotifier)
#include "tst_notifier.moc"
