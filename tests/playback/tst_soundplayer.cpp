#include "playback/soundplayer.h"
#include "support/audiotest.h"
#include "support/testsupport.h"

#include <QSignalSpy>
#include <QTest>

// The shipped sounds plus test-only ones (":/sounds/tone440", "tone880": 3 s each, and "broken"),
// heard on the test audio server's null sink.
class TestSoundPlayer final : public QObject {
    Q_OBJECT

    audiotest::SinkRecorder m_recorder;

private slots:
    void initTestCase() { QVERIFY(m_recorder.start()); }

    // A name without a sound is reported, and neither starts nor counts as the last sound.
    void missingSoundIsReported()
    {
        SoundPlayer sounds;
        QSignalSpy startedSpy(&sounds, &SoundPlayer::soundStarted);
        for (const QString name : {"whoosh", "click.m4a", ""}) {
            QCOMPARE(testsupport::captureStdout([&] { sounds.playSound(name); }),
                     "Error: Sound file " + name + ".m4a not found.\n");
        }
        QVERIFY(startedSpy.isEmpty() && sounds.lastSound().isEmpty());
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
        QVERIFY(printed.isEmpty() && sounds.lastSound() == name);
        QVERIFY(startedSpy.count() == 1 && startedSpy[0][0].toString() == name);
        QVERIFY_HEARD(m_recorder, waitForSilence());
        const QList<float> all = m_recorder.lastSamples(-1);
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
        QVERIFY2(printed.startsWith("Error: Could not play sound file broken. Error: ") &&
                     printed.count(u'\n') == 1,
                 qPrintable(printed));
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
