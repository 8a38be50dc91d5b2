#include "model/config.h"
#include "model/sequencing.h"
#include "support/testsupport.h"

#include <QtTest>

class TestSequencing : public QObject {
    Q_OBJECT

private slots:
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
        QTest::newRow("previous wraps, loop off") << 3 << 0 << false << false << false << 2;
        QTest::newRow("previous wraps, shuffle on") << 3 << 0 << true << false << false << 2;
        QTest::newRow("shuffle of one stays") << 1 << 0 << true << true << true << 0;
        QTest::newRow("shuffle of two from 0") << 2 << 0 << true << true << true << 1;
        QTest::newRow("shuffle of two from 1") << 2 << 1 << true << false << true << 0;
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
        const qint64 to = forward ? sequencing::next(n, index, shuffle, loop) : sequencing::previous(n, index);
        QCOMPARE(to, expected);
    }

    void shuffleIsUniformAndNeverRepeats()
    {
        constexpr int draws = 4000;
        QList<int> counts(5, 0);
        for (int i = 0; i < draws; ++i)
            ++counts[int(sequencing::next(5, 2, true, false))];
        QCOMPARE(counts[2], 0);
        // each of the other four expects 1000; a 5-sigma band is about +-137
        for (int i : {0, 1, 3, 4})
            QVERIFY2(qAbs(counts[i] - draws / 4) < 160, qPrintable(QString::number(counts[i])));
    }

    // Config moves its index by these rules over the current playlist, and not at all over
    // an empty or missing one.
    void configFollowsTheCurrentPlaylist()
    {
        testsupport::TempHome home;
        Config config;
        const QUuid id = config.playlists().first().id;
        config.savePlaylist(id, {Track{QUuid::createUuid(), "file:///a.wav", "A", "B"},
                                 Track{QUuid::createUuid(), "file:///b.wav", "A", "B"}});
        config.nextTrack();
        QCOMPARE(config.currentTrackIndex(), 1);
        config.previousTrack();
        QCOMPARE(config.currentTrackIndex(), 0);
        // a file removed by hand is seen by the watcher
        QFile::remove(config.playlistFileURL(id));
        QTRY_VERIFY(config.currentTracks().isEmpty());
        config.setCurrentTrackIndex(1);
        config.nextTrack();
        config.previousTrack();
        QCOMPARE(config.currentTrackIndex(), 1);
        config.setPlaylists({});
        config.nextTrack();
        QCOMPARE(config.currentTrackIndex(), 1);
    }
};

QTEST_GUILESS_MAIN(TestSequencing)
#include "tst_sequencing.moc"
