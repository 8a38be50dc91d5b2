#include "playback/soundplayer.h"
#include "support/audiotest.h"
#include "support/testsupport.h"

#include <QFile>
#include <QSignalSpy>
#include <QTest>

#include <memory>

using audiotest::SinkRecorder;

// The shipped sounds plus test-only ones (":/sounds/tone440", "tone880", "broken"), heard on
// the test audio server's null sink.
class TestSoundPlayer final : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void missingSoundIsReported_data();
    void missingSoundIsReported();
    void shippedSoundsPlay_data();
    void shippedSoundsPlay();
    void undecodableSoundIsReported();
    void aNewSoundCutsOffThePrevious();
    void theSameSoundRestarts();

private:
    std::unique_ptr<SoundPlayer> m_sounds;
    std::unique_ptr<SinkRecorder> m_recorder;
};

void TestSoundPlayer::init()
{
    m_recorder = std::make_unique<SinkRecorder>();
    QVERIFY(m_recorder->start());
    m_sounds = std::make_unique<SoundPlayer>();
}

void TestSoundPlayer::cleanup()
{
    m_sounds.reset();
    m_recorder.reset();
}

void TestSoundPlayer::missingSoundIsReported_data()
{
    QTest::addColumn<QString>("name");
    QTest::newRow("unknown") << QStringLiteral("whoosh");
    QTest::newRow("with extension") << QStringLiteral("click.m4a");
    QTest::newRow("empty") << QString();
}

void TestSoundPlayer::missingSoundIsReported()
{
    QFETCH(QString, name);
    QSignalSpy startedSpy(m_sounds.get(), &SoundPlayer::soundStarted);
    const QString printed = testsupport::captureStdout([&] { m_sounds->playSound(name); });
    QCOMPARE(printed, QStringLiteral("Error: Sound file ") + name + QStringLiteral(".m4a not found.\n"));
    QCOMPARE(startedSpy.count(), 0);
    QVERIFY(m_sounds->lastSound().isEmpty());
}

void TestSoundPlayer::shippedSoundsPlay_data()
{
    QTest::addColumn<QString>("name");
    for (const char* name : {"click", "pop", "min", "drag"})
        QTest::newRow(name) << QString::fromLatin1(name);
}

void TestSoundPlayer::shippedSoundsPlay()
{
    QFETCH(QString, name);
    QVERIFY(QFile::exists(QStringLiteral(":/sounds/%1.m4a").arg(name)));
    QSignalSpy startedSpy(m_sounds.get(), &SoundPlayer::soundStarted);
    m_recorder->clear();
    const QString printed = testsupport::captureStdout([&] {
        m_sounds->playSound(name);
        QVERIFY2(m_recorder->waitForSound(), qPrintable(m_recorder->describe()));
    });
    QVERIFY(printed.isEmpty());
    QCOMPARE(startedSpy.count(), 1);
    QCOMPARE(startedSpy.at(0).at(0).toString(), name);
    QCOMPARE(m_sounds->lastSound(), name);
    // short: silence again well within a second
    QVERIFY2(m_recorder->waitForSilence(), qPrintable(m_recorder->describe()));
    // quiet: nothing near full scale
    const QList<float> all = m_recorder->lastSamples(int(m_recorder->recordedMs()));
    QVERIFY(*std::max_element(all.begin(), all.end()) < 0.5f);
}

void TestSoundPlayer::undecodableSoundIsReported()
{
    const QString printed = testsupport::captureStdout([&] {
        m_sounds->playSound(QStringLiteral("broken"));
        QTest::qWait(1500);
    });
    QVERIFY2(printed.startsWith(QStringLiteral("Error: Could not play sound file broken. Error: ")),
             qPrintable(printed));
    QCOMPARE(printed.count(u'\n'), 1);
    QCOMPARE(m_sounds->lastSound(), QStringLiteral("broken"));

    // the player is usable afterwards
    m_sounds->playSound(QStringLiteral("tone440"));
    QVERIFY2(m_recorder->waitForTone(440), qPrintable(m_recorder->describe()));
}

void TestSoundPlayer::aNewSoundCutsOffThePrevious()
{
    m_sounds->playSound(QStringLiteral("tone440"));
    QVERIFY2(m_recorder->waitForTone(440), qPrintable(m_recorder->describe()));
    m_sounds->playSound(QStringLiteral("tone880"));
    QVERIFY2(m_recorder->waitForTone(880), qPrintable(m_recorder->describe()));
    QVERIFY(audiotest::amplitudeAt(m_recorder->lastSamples(250), 440) < 0.01);
    QCOMPARE(m_sounds->lastSound(), QStringLiteral("tone880"));
}

void TestSoundPlayer::theSameSoundRestarts()
{
    m_sounds->playSound(QStringLiteral("tone440"));
    QVERIFY2(m_recorder->waitForTone(440), qPrintable(m_recorder->describe()));
    m_sounds->playSound(QStringLiteral("tone880"));
    QVERIFY2(m_recorder->waitForTone(880), qPrintable(m_recorder->describe()));
    QVERIFY2(m_recorder->waitForSilence(), qPrintable(m_recorder->describe()));
    // the ended sound asked again plays again
    m_sounds->playSound(QStringLiteral("tone880"));
    QVERIFY2(m_recorder->waitForTone(880), qPrintable(m_recorder->describe()));
}

QTEST_GUILESS_MAIN(TestSoundPlayer)
#include "tst_soundplayer.moc"
