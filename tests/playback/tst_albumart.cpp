#include "playback/albumart.h"
#include "playback/audioplayer.h"
#include "support/audiotest.h"
#include "support/testsupport.h"

#include <QBuffer>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

using audiotest::Format;
using audiotest::ToneFile;

namespace {

QColor colorOf(const QImage& image)
{
    return image.isNull() ? QColor() : image.pixelColor(image.width() / 2, image.height() / 2);
}

// a PNG whose header claims an enormous picture
QByteArray hugePngHeader()
{
    QByteArray png = audiotest::imageBytes(Qt::red, QSize(4, 4));
    // IHDR width and height sit at bytes 16..23
    const char huge[8] = {0, 1, char(0x86), char(0xa0), 0, 1, char(0x86), char(0xa0)};
    png.replace(16, 8, QByteArray(huge, 8));
    return png;
}

} // namespace

// Cover pictures read by TagLib off the main thread; files made by the test itself.
class TestAlbumArt final : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();

    void firstDecodablePicture_data();
    void firstDecodablePicture();
    void damagedFilesGiveNoPicture_data();
    void damagedFilesGiveNoPicture();
    void oversizedPicturesAreBounded();

    void playerShowsTheLoadedFilesPicture();
    void resumeKeepsThePictureWithoutANewLoad();
    void failedOpenKeepsThePicture();

private:
    QString file(const QString& name, Format format, const QList<QByteArray>& pictures);

    QTemporaryDir m_dir;
    const QByteArray m_red = audiotest::imageBytes(Qt::red);
    const QByteArray m_blue = audiotest::imageBytes(Qt::blue, QSize(24, 12), "JPG");
    const QByteArray m_notAnImage = QByteArray("definitely not a picture").repeated(10);
};

QString TestAlbumArt::file(const QString& name, Format format, const QList<QByteArray>& pictures)
{
    ToneFile toneFile;
    toneFile.frequencies = {440};
    toneFile.secondsEach = 2;
    toneFile.format = format;
    toneFile.title = QStringLiteral("Title");
    toneFile.artist = QStringLiteral("Artist");
    toneFile.pictures = pictures;
    return audiotest::makeToneFile(m_dir.path(), name, toneFile);
}

void TestAlbumArt::initTestCase()
{
    QVERIFY(m_dir.isValid());
    QVERIFY(!QImage::fromData(m_red).isNull());
    QVERIFY(!QImage::fromData(m_blue).isNull());
}

void TestAlbumArt::firstDecodablePicture_data()
{
    QTest::addColumn<Format>("format");
    QTest::addColumn<QList<QByteArray>>("pictures");
    QTest::addColumn<QColor>("expected");
    const QList<Format> formats{Format::Mp3,  Format::Flac, Format::OggVorbis,
                                Format::Opus, Format::M4a,  Format::Wav};
    for (Format format : formats) {
        const QByteArray ext = audiotest::extension(format).toUtf8();
        QTest::newRow(ext + " one picture") << format << QList<QByteArray>{m_red} << QColor(Qt::red);
        QTest::newRow(ext + " first not an image")
            << format << QList<QByteArray>{m_notAnImage, m_blue} << QColor(Qt::blue);
        QTest::newRow(ext + " two pictures") << format << QList<QByteArray>{m_red, m_blue}
                                             << QColor(Qt::red);
        QTest::newRow(ext + " no picture") << format << QList<QByteArray>{} << QColor();
        QTest::newRow(ext + " only junk") << format << QList<QByteArray>{m_notAnImage} << QColor();
    }
}

void TestAlbumArt::firstDecodablePicture()
{
    QFETCH(Format, format);
    QFETCH(QList<QByteArray>, pictures);
    QFETCH(QColor, expected);
    const QString path = file(QString::fromLatin1(QTest::currentDataTag()).replace(u' ', u'-'),
                              format, pictures);
    QVERIFY(!path.isEmpty());
    const QImage image = albumart::readAlbumArt(path);
    QCOMPARE(image.isNull(), !expected.isValid());
    if (expected.isValid()) {
        // JPEG is lossy: near the colour is good enough
        const QColor got = colorOf(image);
        QVERIFY2(std::abs(got.red() - expected.red()) < 16 &&
                     std::abs(got.blue() - expected.blue()) < 16,
                 qPrintable(got.name()));
    }
}

void TestAlbumArt::damagedFilesGiveNoPicture_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("bytes");
    QByteArray noise;
    for (int i = 0; i < 50000; ++i)
        noise.append(char((i * 7919 + (i >> 3)) & 0xff));
    for (const QString& ext : {"mp3", "flac", "ogg", "opus", "m4a", "wav"}) {
        QTest::newRow(qPrintable(ext + " empty")) << QStringLiteral("empty.") + ext << QByteArray();
        QTest::newRow(qPrintable(ext + " noise")) << QStringLiteral("noise.") + ext << noise;
    }
    // an ID3v2 header that promises far more than the file holds
    QTest::newRow("mp3 lying id3 size")
        << QStringLiteral("lying.mp3") << QByteArray("ID3\x03\x00\x00\x7f\x7f\x7f\x7f", 10) + noise;
    QTest::newRow("m4a lying atom size")
        << QStringLiteral("lying.m4a")
        << QByteArray("\xff\xff\xff\xf0" "ftypM4A \x00\x00\x00\x00", 16) + noise;
    QTest::newRow("flac marker only") << QStringLiteral("marker.flac") << QByteArray("fLaC");
}

void TestAlbumArt::damagedFilesGiveNoPicture()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, bytes);
    const QString path = m_dir.filePath(name);
    QVERIFY(testsupport::writeFile(path, bytes));
    QVERIFY(albumart::readAlbumArt(path).isNull());
    QVERIFY(albumart::readAlbumArt(m_dir.filePath(QStringLiteral("missing.mp3"))).isNull());
}

void TestAlbumArt::oversizedPicturesAreBounded()
{
    // a header claiming 100000 x 100000 pixels does not make us allocate them
    QVERIFY(albumart::decodePicture(hugePngHeader()).isNull());
    const QString path = file(QStringLiteral("huge-then-red"), Format::Mp3,
                              {hugePngHeader(), m_red});
    QCOMPARE(colorOf(albumart::readAlbumArt(path)), QColor(Qt::red));

    // a big but genuine picture is scaled down while decoding
    const QByteArray big = audiotest::imageBytes(Qt::green, QSize(5000, 100), "JPG");
    const QImage image = albumart::decodePicture(big);
    QVERIFY(!image.isNull());
    QVERIFY(image.width() <= 2048);
}

void TestAlbumArt::playerShowsTheLoadedFilesPicture()
{
    const QString withArt = file(QStringLiteral("with-art"), Format::Mp3, {m_red});
    const QString without = file(QStringLiteral("without-art"), Format::Flac, {});
    AudioPlayer player;
    QSignalSpy artSpy(&player, &AudioPlayer::albumArtChanged);
    player.play(QUrl::fromLocalFile(withArt));
    QTRY_VERIFY_WITH_TIMEOUT(!player.albumArt().isNull(), 15000);
    QCOMPARE(colorOf(player.albumArt()), QColor(Qt::red));
    QCOMPARE(artSpy.count(), 1);

    // the old picture stays until the new file's load has ended
    player.play(QUrl::fromLocalFile(without));
    QVERIFY(!player.albumArt().isNull());
    QTRY_VERIFY_WITH_TIMEOUT(player.albumArt().isNull(), 15000);
    QCOMPARE(artSpy.count(), 2);

    // absent again stays absent without telling anyone
    const QString alsoWithout = file(QStringLiteral("also-without"), Format::OggVorbis, {});
    player.play(QUrl::fromLocalFile(alsoWithout));
    QTRY_COMPARE_WITH_TIMEOUT(player.url(), QUrl::fromLocalFile(alsoWithout), 15000);
    QTest::qWait(1000);
    QCOMPARE(artSpy.count(), 2);
}

void TestAlbumArt::resumeKeepsThePictureWithoutANewLoad()
{
    const QString withArt = file(QStringLiteral("resume-art"), Format::M4a, {m_blue});
    AudioPlayer player;
    QSignalSpy artSpy(&player, &AudioPlayer::albumArtChanged);
    player.play(QUrl::fromLocalFile(withArt));
    QTRY_VERIFY_WITH_TIMEOUT(!player.albumArt().isNull(), 15000);
    player.pause();
    player.stop();
    QVERIFY(!player.albumArt().isNull());
    // the picture changes on disk; a resume must not read it again
    QVERIFY(audiotest::embedPictures(withArt, Format::M4a, {m_red}));
    player.play(QUrl::fromLocalFile(withArt));
    QTest::qWait(1000);
    QCOMPARE(artSpy.count(), 1);
    QVERIFY(colorOf(player.albumArt()).blue() > 200);
}

void TestAlbumArt::failedOpenKeepsThePicture()
{
    const QString withArt = file(QStringLiteral("kept-art"), Format::Flac, {m_red});
    // a picture TagLib can read, but no audio GStreamer can play
    const QString broken = m_dir.filePath(QStringLiteral("broken.mp3"));
    QVERIFY(testsupport::writeFile(broken, QByteArray(20000, '\0')));
    QVERIFY(audiotest::embedPictures(broken, Format::Mp3, {m_blue}));
    QVERIFY(!albumart::readAlbumArt(broken).isNull());
    AudioPlayer player;
    player.play(QUrl::fromLocalFile(withArt));
    QTRY_VERIFY_WITH_TIMEOUT(!player.albumArt().isNull(), 15000);
    const QString printed = testsupport::captureStdout([&] {
        player.play(QUrl::fromLocalFile(broken));
        QTRY_COMPARE_WITH_TIMEOUT(player.url(), QUrl::fromLocalFile(withArt), 15000);
        QTest::qWait(1000);
    });
    QVERIFY(printed.startsWith(QStringLiteral("Playback failed: ")));
    QCOMPARE(colorOf(player.albumArt()), QColor(Qt::red));
}

QTEST_GUILESS_MAIN(TestAlbumArt)
#include "tst_albumart.moc"
