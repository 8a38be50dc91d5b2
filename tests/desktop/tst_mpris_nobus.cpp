#include "desktop/mpris.h"
#include "model/config.h"
#include "playback/audioplayer.h"
#include "support/testsupport.h"
#include "control/playercontroller.h"

#include <QtTest>

class TestMprisWithoutBus : public QObject {
    Q_OBJECT

private slots:
    void saysUnavailableAndCarriesOn()
    {
        testsupport::TempHome home;
        Config config;
        AudioPlayer audioPlayer;
        PlayerController controller(&config, &audioPlayer);
        MprisService service(&controller, &audioPlayer);
        bool registered = true;
        const QString printed = testsupport::captureStdout([&] { registered = service.registerOnSessionBus(); });
        QVERIFY(!registered);
        QCOMPARE(printed.count('\n'), 1);
        QVERIFY(printed.startsWith("MPRIS is unavailable"));
        // the service object still answers locally
        QCOMPARE(service.playbackStatus(), "Stopped");
    }
};

QTEST_GUILESS_MAIN(TestMprisWithoutBus)
#include "tst_mpris_nobus.moc"
