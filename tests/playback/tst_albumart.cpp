#include "playback/albumart.h"
#include "playback/audioplayer.h"
#include "support/audiotest.h"
#include "support/testsupport.h"

#include <QBuffer>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <future>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using audiotest::Format;

namespace {

QByteArray imageBytes(const QColor& color, const QSize& size = QSize(16, 16),
                      const char* format = "PNG")
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(color);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format);
    return bytes;
}

// near the colour is good enough: JPEG is lossy; an invalid colour stands for no picture
bool shows(const QImage& image, const QColor& expected)
{
    if (image.isNull() || !expected.isValid())
        return image.isNull() && !expected.isValid();
    const QColor got = image.pixelColor(image.width() / 2, image.height() / 2);
    return std::abs(got.red() - expected.red()) < 16 && std::abs(got.blue() - expected.blue()) < 16;
}

// a PNG whose header claims 100000 x 100000 pixels
QByteArray hugePngHeader()
{
    // IHDR width and height sit at bytes 16..23
    return imageBytes(Qt::red, QSize(4, 4))
        .replace(16, 8, QByteArray("\0\1\x86\xa0\0\1\x86\xa0", 8));
}

} // namespace

// Cover pictures read by TagLib off the main thread; files made by the test itself.
class TestAlbumArt final : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    const QByteArray m_red = imageBytes(Qt::red);
    const QByteArray m_blue = imageBytes(Qt::blue, QSize(24, 12), "JPG");
    const QByteArray m_junk = QByteArray("definitely not a picture").repeated(10);

    QString file(const QString& name, Format format, const QList<QByteArray>& pictures)
    {
        audiotest::ToneFile toneFile{{440}, 1, format};
        toneFile.title = QStringLiteral("Title");
        toneFile.artist = QStringLiteral("Artist");
        toneFile.pictures = pictures;
        return audiotest::makeToneFile(m_dir.path(), name, toneFile);
    }

private slots:
    // The first picture that decodes is the cover, in every format.
    void firstDecodablePicture_data()
    {
        QTest::addColumn<Format>("format");
        QTest::addColumn<QList<QByteArray>>("pictures");
        QTest::addColumn<QColor>("expected");
        for (Format format : {Format::Mp3, Format::Flac, Format::OggVorbis, Format::Opus,
                              Format::M4a, Format::Wav}) {
            QTest::newRow(qPrintable(audiotest::extension(format) + " junk, then blue"))
                << format << QList<QByteArray>{m_junk, m_blue} << QColor(Qt::blue);
        }
        QTest::newRow("mp3 red, then blue")
            << Format::Mp3 << QList<QByteArray>{m_red, m_blue} << QColor(Qt::red);
        QTest::newRow("m4a red, then blue")
            << Format::M4a << QList<QByteArray>{m_red, m_blue} << QColor(Qt::red);
        QTest::newRow("flac no picture") << Format::Flac << QList<QByteArray>{} << QColor();
        QTest::newRow("ogg only junk")
            << Format::OggVorbis << QList<QByteArray>{m_junk} << QColor();
        QTest::newRow("mp3 huge header, then red")
            << Format::Mp3 << QList<QByteArray>{hugePngHeader(), m_red} << QColor(Qt::red);
    }

    void firstDecodablePicture()
    {
        QFETCH(Format, format);
        QFETCH(QList<QByteArray>, pictures);
        QFETCH(QColor, expected);
        const QString path =
            file(QString::fromLatin1(QTest::currentDataTag()).remove(u',').replace(u' ', u'-'),
                 format, pictures);
        QVERIFY(!path.isEmpty());
        QVERIFY(shows(albumart::readAlbumArt(path), expected));
    }

    void damagedFilesGiveNoPicture_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("bytes");
        QByteArray noise;
        for (int i = 0; i < 50000; ++i)
            noise.append(char((i * 7919 + (i >> 3)) & 0xff));
        for (const QString& ext : {"mp3", "flac", "ogg", "opus", "m4a", "wav"}) {
            QTest::newRow(qPrintable(ext + " empty"))
                << QStringLiteral("empty.") + ext << QByteArray();
            QTest::newRow(qPrintable(ext + " noise")) << QStringLiteral("noise.") + ext << noise;
        }
        // headers that promise far more than the file holds
        QTest::newRow("mp3 lying id3 size")
            << QStringLiteral("lying.mp3")
            << QByteArray("ID3\x03\x00\x00\x7f\x7f\x7f\x7f", 10) + noise;
        QTest::newRow("m4a lying atom size") << QStringLiteral("lying.m4a")
                                             << QByteArray("\xff\xff\xff\xf0"
                                                           "ftypM4A \x00\x00\x00\x00",
                                                           16) +
                                                    noise;
        QTest::newRow("flac marker only") << QStringLiteral("marker.flac") << QByteArray("fLaC");
    }

    void damagedFilesGiveNoPicture()
    {
        QFETCH(QString, name);
        QFETCH(QByteArray, bytes);
        QVERIFY(testsupport::writeFile(m_dir.filePath(name), bytes));
        QVERIFY(albumart::readAlbumArt(m_dir.filePath(name)).isNull());
        QVERIFY(albumart::readAlbumArt(m_dir.filePath(QStringLiteral("missing.mp3"))).isNull());
    }

    // Opening a FIFO to read would wait for a writer that never comes.
    void fifoIsNotRead()
    {
        const QByteArray fifo = QFile::encodeName(m_dir.filePath(QStringLiteral("fifo.mp3")));
        QVERIFY(::mkfifo(fifo.constData(), 0600) == 0);
        auto read = std::async(std::launch::async,
                               [&] { return albumart::readAlbumArt(QFile::decodeName(fifo)); });
        const bool answered = read.wait_for(std::chrono::seconds(5)) == std::future_status::ready;
        if (!answered) // a writer that goes at once lets the reader end
            ::close(::open(fifo.constData(), O_WRONLY | O_NONBLOCK));
        QVERIFY(answered);
        QVERIFY(read.get().isNull());
    }

    void bigPicturesAreScaledWhileDecoding()
    {
        // a header claiming 100000 x 100000 pixels does not make us allocate them
        QVERIFY(albumart::decodePicture(hugePngHeader()).isNull());
        const QImage image =
            albumart::decodePicture(imageBytes(Qt::green, QSize(5000, 100), "JPG"));
        QVERIFY(!image.isNull() && image.width() <= 2048);
    }

    // The player shows the loaded file's picture, keeps it through a failed open and a resume,
    // and replaces it only once the next file's load has ended.
    void playerKeepsThePictureUntilTheNextLoadEnds()
    {
        const QString red = file(QStringLiteral("player-red"), Format::M4a, {m_red});
        const QString none = file(QStringLiteral("player-none"), Format::Flac, {});
        const QString alsoNone = file(QStringLiteral("player-also-none"), Format::OggVorbis, {});
        // a picture TagLib can read, but no audio GStreamer can play
        const QString broken = m_dir.filePath(QStringLiteral("broken.mp3"));
        QVERIFY(testsupport::writeFile(broken, QByteArray(20000, '\0')));
        QVERIFY(audiotest::embedPictures(broken, Format::Mp3, {m_blue}));
        QVERIFY(!albumart::readAlbumArt(broken).isNull());
        AudioPlayer player;
        QSignalSpy artSpy(&player, &AudioPlayer::albumArtChanged);
        player.play(QUrl::fromLocalFile(red));
        QTRY_VERIFY_WITH_TIMEOUT(shows(player.albumArt(), Qt::red), 15000);

        const QString printed = testsupport::captureStdout([&] {
            player.play(QUrl::fromLocalFile(broken));
            QTRY_VERIFY_WITH_TIMEOUT(!player.isLoading(), 15000);
        });
        QVERIFY(printed.startsWith(QStringLiteral("Playback failed: ")));
        // the picture changes on disk; a resume must not read it again
        player.pause();
        player.stop();
        QVERIFY(audiotest::embedPictures(red, Format::M4a, {m_blue}));
        player.play(QUrl::fromLocalFile(red));
        QTest::qWait(1000);
        QCOMPARE(artSpy.count(), 1);
        QVERIFY(shows(player.albumArt(), Qt::red));

        player.play(QUrl::fromLocalFile(none));
        QVERIFY(!player.albumArt().isNull());
        QTRY_VERIFY_WITH_TIMEOUT(player.albumArt().isNull(), 15000);
        QCOMPARE(artSpy.count(), 2);
        // absent again stays absent without telling anyone
        player.play(QUrl::fromLocalFile(alsoNone));
        QTRY_VERIFY_WITH_TIMEOUT(!player.isLoading(), 15000);
        QTest::qWait(1000);
        QCOMPARE(artSpy.count(), 2);
    }
};

QTEST_GUILESS_MAIN(TestAlbumArt)
#include "tst_albumart.moc"
