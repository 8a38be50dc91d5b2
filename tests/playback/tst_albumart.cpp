#include "playback/albumart.h"
#include "playback/audioplayer.h"
#include "support/audiotest.h"
#include "support/testsupport.h"

#include <QBuffer>
#include <QDir>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <future>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using audiotest::Format;
using Pictures = QList<QByteArray>;

namespace {

QByteArray imageBytes(const QColor& color, const QSize& size = {16, 16}, const char* format = "PNG")
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(color);
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format);
    return buffer.data();
}

// near the colour is good enough: JPEG is lossy; an invalid colour stands for no picture
bool shows(const QImage& image, const QColor& expected)
{
    if (image.isNull() || !expected.isValid())
        return image.isNull() && !expected.isValid();
    const QColor got = image.pixelColor(image.width() / 2, image.height() / 2);
    return std::abs(got.red() - expected.red()) < 16 && std::abs(got.blue() - expected.blue()) < 16;
}

} // namespace

// Cover pictures read by TagLib off the main thread; files made by the test itself.
class TestAlbumArt final : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    const QByteArray m_red = imageBytes(Qt::red);
    const QByteArray m_blue = imageBytes(Qt::blue, {24, 12}, "JPG");

    QString file(const QString& name, Format format, const Pictures& pictures)
    {
        return audiotest::makeToneFile(m_dir.path(), name,
                                       {{440}, 1, format, 0, true, true, "Title", pictures});
    }

private slots:
    // The first picture that decodes is the cover, in every format; big ones come scaled down.
    void cover_data()
    {
        QTest::addColumn<Format>("format");
        QTest::addColumn<Pictures>("pictures");
        QTest::addColumn<QColor>("expected");
        const QByteArray junk = QByteArray("definitely not a picture").repeated(10);
        for (Format format : {Format::Mp3, Format::Flac, Format::OggVorbis, Format::Opus,
                              Format::M4a, Format::Wav}) {
            QTest::addRow("%s-junk-blue", qPrintable(audiotest::extension(format)))
                << format << Pictures{junk, m_blue} << QColor(Qt::blue);
        }
        QTest::newRow("mp3-red-blue") << Format::Mp3 << Pictures{m_red, m_blue} << QColor(Qt::red);
        QTest::newRow("m4a-red-blue") << Format::M4a << Pictures{m_red, m_blue} << QColor(Qt::red);
        QTest::newRow("flac-none") << Format::Flac << Pictures{} << QColor();
        QTest::newRow("ogg-junk") << Format::OggVorbis << Pictures{junk} << QColor();
        // a header claiming 100000 x 100000 pixels (IHDR bytes 16..23) is no reason to allocate
        QTest::newRow("mp3-huge-red")
            << Format::Mp3
            << Pictures{imageBytes(Qt::red, {4, 4}).replace(16, 8, "\0\1\x86\xa0\0\1\x86\xa0", 8),
                        m_red}
            << QColor(Qt::red);
        const QByteArray wide = imageBytes(Qt::blue, {5000, 100}, "JPG");
        QTest::newRow("flac-wide-blue") << Format::Flac << Pictures{wide} << QColor(Qt::blue);
    }

    void cover()
    {
        QFETCH(Format, format);
        QFETCH(Pictures, pictures);
        QFETCH(QColor, expected);
        const QString path = file(QString::fromLatin1(QTest::currentDataTag()), format, pictures);
        QVERIFY(!path.isEmpty());
        const QImage image = albumart::readAlbumArt(path);
        QVERIFY(shows(image, expected) && image.width() <= 2048);
    }

    // Damaged, empty, lying or special files give no picture, and never block the reader: a FIFO
    // would wait for a writer that never comes.
    void damagedFilesGiveNoPicture_data()
    {
        QTest::addColumn<QString>("path");
        const auto write = [this](const QString& name, const QByteArray& bytes) {
            QTest::newRow(qPrintable(name)) << m_dir.filePath(name);
            QVERIFY(testsupport::writeFile(m_dir.filePath(name), bytes));
        };
        QByteArray noise;
        for (int i = 0; i < 50000; ++i)
            noise.append(char((i * 7919 + (i >> 3)) & 0xff));
        for (const QString ext : {"mp3", "flac", "ogg", "opus", "m4a", "wav"}) {
            write("empty." + ext, {});
            write("noise." + ext, noise);
        }
        // headers that promise far more than the file holds
        write("lying-id3.mp3", QByteArray("ID3\x03\x00\x00\x7f\x7f\x7f\x7f", 10) + noise);
        write("lying-atom.m4a", QByteArray("\xff\xff\xff\xf0" "ftypM4A \0\0\0\0", 16) + noise);
        write("marker.flac", "fLaC");
        QVERIFY(::mkfifo(QFile::encodeName(m_dir.filePath("fifo.mp3")).constData(), 0600) == 0);
        QVERIFY(QDir(m_dir.path()).mkdir("folder.mp3"));
        for (const char* name : {"fifo.mp3", "folder.mp3", "missing.mp3"})
            QTest::newRow(name) << m_dir.filePath(name);
    }

    void damagedFilesGiveNoPicture()
    {
        QFETCH(QString, path);
        auto read = std::async(std::launch::async, [&] { return albumart::readAlbumArt(path); });
        const bool answered = read.wait_for(std::chrono::seconds(5)) == std::future_status::ready;
        if (!answered) // a writer that goes at once lets a reader stuck on the FIFO end
            ::close(::open(QFile::encodeName(path).constData(), O_WRONLY | O_NONBLOCK));
        QVERIFY(answered);
        QVERIFY(read.get().isNull());
    }

    // The player shows the loaded file's picture, keeps it through a failed open and a resume,
    // and replaces it only once the next file's load has ended.
    void playerKeepsThePictureUntilTheNextLoadEnds()
    {
        const QString red = file("player-red", Format::M4a, {m_red});
        const QString none = file("player-none", Format::Flac, {});
        const QString alsoNone = file("player-also-none", Format::OggVorbis, {});
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
        QVERIFY(artSpy.count() == 1 && shows(player.albumArt(), Qt::red));

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
