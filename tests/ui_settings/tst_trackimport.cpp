// The import's reading of real audio files: what only GStreamer can play, and that reading
// never changes a file as far as anyone watching it can tell.
#include "playback/albumart.h"
#include "support/audiotest.h"
#include "support/testsupport.h"
#include "ui/settings/trackimport.h"

#include <QtTest>

#include <cmath>

#include <sys/inotify.h>
#include <unistd.h>

namespace {

// Appends each value little-endian in its own width.
template <typename... T> void put(QByteArray& bytes, T... values)
{
    const auto one = [&](auto value) {
        for (size_t i = 0; i < sizeof(value); ++i)
            bytes += char((quint64(value) >> (8 * i)) & 0xff);
    };
    (one(values), ...);
}

// A WAV as it is written past 4 GB: an "RF64" RIFF whose 32-bit sizes are all ones, the true
// sizes in a "ds64" chunk; mono 16-bit PCM of a sine.
QByteArray rf64Wav(double seconds, double frequency)
{
    const int rate = audiotest::kSampleRate;
    const int frames = int(seconds * rate);
    QByteArray pcm, format;
    for (int i = 0; i < frames; ++i)
        put(pcm, qint16(std::lround(audiotest::kToneAmplitude * 32767 *
                                    std::sin(2 * M_PI * frequency * i / rate))));
    put(format, quint16(1), quint16(1), quint32(rate), quint32(rate * 2), quint16(2), quint16(16));
    QByteArray bytes("RF64");
    put(bytes, quint32(0xffffffff));
    bytes += "WAVEds64";
    put(bytes, quint32(28), quint64(4 + 8 + 28 + 8 + format.size() + 8 + pcm.size()),
        quint64(pcm.size()), quint64(frames), quint32(0));
    bytes += "fmt ";
    put(bytes, quint32(format.size()));
    bytes += format + "data";
    put(bytes, quint32(0xffffffff));
    return bytes + pcm;
}

// The names of the files in the watched folder closed after a write since the last call.
QStringList closedAfterWrite(int inotify)
{
    QStringList names;
    alignas(inotify_event) char buffer[64 * 1024];
    for (ssize_t n; (n = ::read(inotify, buffer, sizeof buffer)) > 0;) {
        for (char* at = buffer; at < buffer + n;) {
            const auto* event = reinterpret_cast<const inotify_event*>(at);
            if (event->len > 0)
                names.append(QFile::decodeName(event->name));
            at += sizeof(inotify_event) + event->len;
        }
    }
    return names;
}

} // namespace

class TestTrackImport : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    QString file(const QString& name) const { return m_dir.filePath(name); }

private slots:
    // Files TagLib cannot read are imported when GStreamer plays them, titled as any file
    // without readable tags: an RF64 WAV, which then plays. What neither reads stays out.
    void importsWhatGStreamerPlays_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<bool>("imported");
        QTest::newRow("RF64 WAV") << rf64Wav(0.8, 440) << true;
        QTest::newRow("RF64 WAV cut inside its header") << rf64Wav(0.8, 440).left(40) << false;
        QTest::newRow("text named as a WAV") << QByteArray("not audio\n").repeated(100) << false;
    }
    void importsWhatGStreamerPlays()
    {
        QFETCH(QByteArray, content);
        QFETCH(bool, imported);
        const QString path = file(QString(QTest::currentDataTag()) + ".wav");
        QVERIFY(testsupport::writeFile(path, content));
        const std::optional<Track> track = trackimport::readTrack(path);
        QCOMPARE(track.has_value(), imported);
        QCOMPARE(trackimport::isPlayableFile(path), imported);
        if (!imported)
            return;
        QCOMPARE(track->trackName + '/' + track->artist, "Track/Unknown artist");
        QCOMPARE(track->urlString, trackimport::urlString(path));

        audiotest::SinkRecorder recorder;
        QVERIFY(recorder.start());
        QProcess player;
        player.setProcessChannelMode(QProcess::ForwardedChannels);
        player.start("gst-launch-1.0",
                     {"-q", "playbin", "uri=" + track->urlString,
                      "audio-sink=pulsesink device=" +
                          qEnvironmentVariable("LINDENFOLD_TEST_SINK", "lindenfold_null")});
        QVERIFY_HEARD(recorder, waitForTone(440));
        QVERIFY(player.waitForFinished(15000) && player.exitCode() == 0);
    }

    // The formats the plugin packages add are imported with their tags.
    void importsMoreFormats_data()
    {
        QTest::addColumn<int>("format");
        QTest::newRow("WavPack") << int(audiotest::Format::WavPack);
        QTest::newRow("AIFF") << int(audiotest::Format::Aiff);
        QTest::newRow("ALAC") << int(audiotest::Format::Alac);
        QTest::newRow("WMA") << int(audiotest::Format::Wma);
    }
    void importsMoreFormats()
    {
        QFETCH(int, format);
        const QString path = audiotest::makeToneFile(
            m_dir.path(), QTest::currentDataTag(),
            {{440}, 0.5, audiotest::Format(format), 0, true, true, "Tagged"});
        const std::optional<Track> track = trackimport::readTrack(path);
        QVERIFY(track && trackimport::isPlayableFile(path));
        QCOMPARE(track->trackName, "Tagged");
    }

    // Reading tags, pictures and playability leaves no close-after-write on the file (file
    // indexers read the file again for each).
    void opensFilesReadOnly_data()
    {
        QTest::addColumn<int>("format");
        QTest::newRow("WAV") << int(audiotest::Format::Wav);
        QTest::newRow("FLAC") << int(audiotest::Format::Flac);
        QTest::newRow("Ogg Vorbis") << int(audiotest::Format::OggVorbis);
        QTest::newRow("MP3") << int(audiotest::Format::Mp3);
        QTest::newRow("M4A") << int(audiotest::Format::M4a);
    }
    void opensFilesReadOnly()
    {
        QFETCH(int, format);
        QImage cover(8, 8, QImage::Format_RGB32);
        cover.fill(Qt::red);
        QBuffer png;
        QVERIFY(png.open(QIODevice::WriteOnly) && cover.save(&png, "PNG"));
        audiotest::ToneFile tone;
        tone.secondsEach = 0.3;
        tone.format = audiotest::Format(format);
        tone.pictures = {png.data()};
        const QString path = audiotest::makeToneFile(m_dir.path(), QTest::currentDataTag(), tone);
        QVERIFY(!path.isEmpty());

        const int inotify = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
        QVERIFY(inotify >= 0);
        const auto closeInotify = qScopeGuard([inotify] { ::close(inotify); });
        QVERIFY(inotify_add_watch(inotify, QFile::encodeName(m_dir.path()).constData(),
                                  IN_CLOSE_WRITE) >= 0);
        const std::optional<Track> track = trackimport::readTrack(path);
        QVERIFY(track && trackimport::isPlayableFile(path));
        QCOMPARE(trackimport::readTrackTitle(path) + '/' + trackimport::readTrackArtist(path),
                 track->trackName + '/' + track->artist);
        QCOMPARE(albumart::readAlbumArt(path).pixelColor(0, 0), QColor(Qt::red));
        QCOMPARE(closedAfterWrite(inotify), QStringList());
        // the watch sees a write
        QFile written(path);
        QVERIFY(written.open(QIODevice::Append));
        written.close();
        QCOMPARE(closedAfterWrite(inotify), QStringList{QFileInfo(path).fileName()});
    }
};

QTEST_GUILESS_MAIN(TestTrackImport)
#include "tst_trackimport.moc"
