#include "playback/soundplayer.h"
#include "support/audiotest.h"
#include "support/testsupport.h"

#include <QFile>
#include <QSignalSpy>
#include <QTest>

// The shipped sounds plus test-only ones (":/sounds/tone440", "tone880": 3 s each, and "broken"),
// heard on the test audio server's null sink.
class TestSoundPlayer final : public QObject {
    Q_OBJECT

    audiotest::SinkRecorder m_recorder;

private slots:
    void initTestCase() { QVERIFY(m_recorder.start()); }

    void missingSoundIsReported_data()
    {
        QTest::addColumn<QString>("name");
        QTest::newRow("unknown") << QStringLiteral("whoosh");
        QTest::newRow("with extension") << QStringLiteral("click.m4a");
        QTest::newRow("empty") << QString();
    }

    void missingSoundIsReported()
    {
        QFETCH(QString, name);
        SoundPlayer sounds;
        QSignalSpy startedSpy(&sounds, &SoundPlayer::soundStarted);
        const QString printed = testsupport::captureStdout([&] { sounds.playSound(name); });
        QCOMPARE(printed,
                 QStringLiteral("Error: Sound file ") + name + QStringLiteral(".m4a not found.\n"));
        QCOMPARE(startedSpy.count(), 0);
        QVERIFY(sounds.lastSound().isEmpty());
    }

    void shippedSoundsPlay_data()
    {
        QTest::addColumn<QString>("name");
        for (const char* name : {"click", "pop", "min", "drag"})
            QTest::newRow(name) << QString::fromLatin1(name);
    }

    // Short and quiet: heard, then silence again, nothing near full scale.
    void shippedSoundsPlay()
    {
        QFETCH(QString, name);
        SoundPlayer sounds;
        QSignalSpy startedSpy(&sounds, &SoundPlayer::soundStarted);
        m_recorder.clear();
        const QString printed = testsupport::captureStdout([&] {
            sounds.playSound(name);
            QVERIFY_HEARD(m_recorder, waitForSound());
        });
        QVERIFY(printed.isEmpty());
        QCOMPARE(startedSpy.count(), 1);
        QCOMPARE(startedSpy.at(0).at(0).toString(), name);
        QCOMPARE(sounds.lastSound(), name);
        QVERIFY_HEARD(m_recorder, waitForSilence());
        const QList<float> all = m_recorder.lastSamples(int(m_recorder.recordedMs()));
        QVERIFY(*std::max_element(all.begin(), all.end()) < 0.5f);
    }

    // An undecodable sound is reported once and leaves the player working; a new sound cuts off
    // the one still playing at once, and a sound that has ended plays again.
    void soundsCutOffAndRestart()
    {
        SoundPlayer sounds;
        const QString printed = testsupport::captureStdout([&] {
            sounds.playSound(QStringLiteral("broken"));
            QTest::qWait(1500);
        });
        QVERIFY2(
            printed.startsWith(QStringLiteral("Error: Could not play sound file broken. Error: ")),
            qPrintable(printed));
        QCOMPARE(printed.count(u'\n'), 1);
        QCOMPARE(sounds.lastSound(), QStringLiteral("broken"));

        sounds.playSound(QStringLiteral("tone440"));
        QVERIFY_HEARD(m_recorder, waitForTone(440));
        sounds.playSound(QStringLiteral("tone880"));
        // well before the 3 s of 440 Hz could have played out
        QVERIFY_HEARD(m_recorder, waitForTone(880, 1500));
        QVERIFY(audiotest::amplitudeAt(m_recorder.lastSamples(250), 440) < 0.01);
        QCOMPARE(sounds.lastSound(), QStringLiteral("tone880"));
        QVERIFY_HEARD(m_recorder, waitForSilence());
        sounds.playSound(QStringLiteral("tone880"));
        QVERIFY_HEARD(m_recorder, waitForTone(880));
    }
};

QTEST_GUILESS_MAIN(TestSoundPlayer)
#include "tst_soundplayer.moc"
