#include "model/config.h"
#include "support/testsupport.h"

#include <QSignalSpy>
#include <QtTest>

using testsupport::TempHome;

class TestSequencing : public QObject {
    Q_OBJECT

    std::unique_ptr<TempHome> m_home;
    std::unique_ptr<Config> m_config;

    void useTracks(int n)
    {
        QList<Track> tracks;
        for (int i = 0; i < n; ++i)
            tracks << Track{QUuid::createUuid(), QStringLiteral("file:///t%1.wav").arg(i), "T", "A"};
        m_config->savePlaylist(m_config->playlists().first().id, tracks);
    }

private slots:
    void init()
    {
        m_home = std::make_unique<TempHome>();
        m_config = std::make_unique<Config>();
    }
    void cleanup()
    {
        m_config.reset();
        m_home.reset();
    }

    void steps_data()
    {
        QTest::addColumn<int>("n");
        QTest::addColumn<int>("index");
        QTest::addColumn<bool>("shuffle");
        QTest::addColumn<bool>("loop");
        QTest::addColumn<bool>("forward");
        QTest::addColumn<int>("expected");
        QTest::newRow("next wraps with loop") << 3 << 2 << false << true << true << 0;
        QTest::newRow("next stays at end without loop") << 3 << 2 << false << false << true << 2;
        QTest::newRow("next moves on") << 3 << 0 << false << false << true << 1;
        QTest::newRow("previous wraps, loop on") << 3 << 0 << false << true << false << 2;
        QTest::newRow("previous wraps, loop off") << 3 << 0 << false << false << false << 2;
        QTest::newRow("previous wraps, shuffle on") << 3 << 0 << true << false << false << 2;
        QTest::newRow("shuffle of one stays") << 1 << 0 << true << true << true << 0;
        QTest::newRow("shuffle of two from 0") << 2 << 0 << true << true << true << 1;
        QTest::newRow("shuffle of two from 1") << 2 << 1 << true << false << true << 0;
        QTest::newRow("empty next") << 0 << 4 << false << true << true << 4;
        QTest::newRow("empty previous") << 0 << 4 << false << true << false << 4;
        QTest::newRow("stale index next") << 2 << 5 << false << false << true << 5;
        QTest::newRow("stale index next, loop") << 2 << 5 << false << true << true << 0;
        QTest::newRow("stale index previous") << 3 << 7 << false << false << false << 0;
        QTest::newRow("negative stale index previous") << 3 << -9 << false << false << false << 2;
    }
    void steps()
    {
        QFETCH(int, n);
        QFETCH(int, index);
        QFETCH(bool, shuffle);
        QFETCH(bool, loop);
        QFETCH(bool, forward);
        QFETCH(int, expected);
        useTracks(n);
        m_config->setCurrentTrackIndex(index);
        m_config->setShuffleTracks(shuffle);
        m_config->setLoopTracks(loop);
        QSignalSpy changed(m_config.get(), &Config::currentTrackIndexChanged);
        forward ? m_config->nextTrack() : m_config->previousTrack();
        QCOMPARE(m_config->currentTrackIndex(), expected);
        QCOMPARE(changed.count(), expected == index ? 0 : 1);
    }

    void missingFileChangesNothing()
    {
        QFile::remove(m_config->playlistFileURL(m_config->playlists().first().id));
        m_config->setCurrentTrackIndex(1);
        m_config->nextTrack();
        m_config->previousTrack();
        QCOMPARE(m_config->currentTrackIndex(), 1);
        m_config->setPlaylists({});
        m_config->nextTrack();
        QCOMPARE(m_config->currentTrackIndex(), 1);
    }

    void shuffleIsUniformAndNeverRepeats()
    {
        useTracks(5);
        m_config->setShuffleTracks(true);
        m_config->setCurrentTrackIndex(2);
        constexpr int draws = 4000;
        QList<int> counts(5, 0);
        for (int i = 0; i < draws; ++i) {
            m_config->nextTrack();
            ++counts[int(m_config->currentTrackIndex())];
            m_config->setCurrentTrackIndex(2);
        }
        QCOMPARE(counts[2], 0);
        // each of the other four expects 1000; a 5-sigma band is about +-137
        for (int i : {0, 1, 3, 4})
            QVERIFY2(qAbs(counts[i] - draws / 4) < 160, qPrintable(QString::number(counts[i])));
    }
};

QTEST_GUILESS_MAIN(TestSequencing)
#include "tst_sequencing.moc"
