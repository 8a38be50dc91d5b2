#include "core/output.h"
#include "model/playlistformats.h"
#include "support/testsupport.h"

#include <QtTest>

using namespace playlistformats;

// entries as "location|title|artist;..."
static QString flat(const QList<Entry>& entries)
{
    QStringList lines;
    for (const Entry& e : entries)
        lines.append(e.location + '|' + e.title + '|' + e.artist);
    return lines.join(';');
}

// Lists of other players in and out, without the editor or any audio file.
class TestPlaylistFormats : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    QString file(const QString& name) const { return m_dir.filePath(name); }
    void write(const QString& name, const QByteArray& bytes)
    {
        QVERIFY(testsupport::writeFile(file(name), bytes));
    }

private slots:
    // A list's name picks its format; "!" for a file that is no text and so no list.
    void parsesEachFormat_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("entries");
        QTest::newRow("m3u: an #EXTINF names the entry after it, relative paths beside the list")
            << "l.m3u"
            << QByteArray("#EXTM3U\n#EXTINF:1,Band - Song\na.mp3\n# note\n\n/m/b.flac\n../c.mp3\n"
                          "file:///m/d%20e.mp3\nhttp://x.org/f\n#EXTINF:3,Only Title\n./g.mp3\n")
            << "/l/a.mp3|Song|Band;/m/b.flac||;/c.mp3||;/m/d e.mp3||;http://x.org/f||;"
               "/l/g.mp3|Only Title|";
        QTest::newRow("m3u8: BOM, CRLF, a quoted comma")
            << "l.M3U8"
            << QByteArray("\xEF\xBB\xBF#EXTM3U\r\n#EXTINF:-1 a=\"b,c\",B - S\r\nd/a\r\n")
            << "/l/d/a|S|B";
        QTest::newRow("m3u: Latin-1, a line too long for a path")
            << "l.m3u" << QByteArray(40000, 'x') + "\ncaf\xE9\n"
            << "/l/café||";
        QTest::newRow("m3u: entries holding escape sequences are entries")
            << "l.m3u" << QByteArray("\x1b[31mred.mp3\n#EXTINF:1,\x1b]0;T\x07\n\tb.mp3\n")
            << "/l/\x1b[31mred.mp3||;/l/b.mp3|\x1b]0;T\x07|";
        QTest::newRow("m3u: four lines of control characters are still a list")
            << "l.m3u" << QByteArray("\x01\x7f\n").repeated(4)
            << "/l/\x01\x7f||;/l/\x01\x7f||;"
               "/l/\x01\x7f||;/l/\x01\x7f||";
        QTest::newRow("m3u: five are no text")
            << "l.m3u" << QByteArray("\x01\n").repeated(5) << "!";
        QTest::newRow("m3u: a NUL byte is no text")
            << "l.m3u" << QByteArray("a.mp3\n\0\n", 8) << "!";
        QTest::newRow("m3u8: invalid UTF-8 is no text")
            << "l.m3u8" << QByteArray("caf\xE9\n") << "!";
        QTest::newRow("pls: numbered keys in any order and case, a title without a file")
            << "l.pls"
            << QByteArray("[playlist]\nFile2=/m/b\nfile1=a\nTitle1=Band - Song\nTitle3=No File\n"
                          "NumberOfEntries=3\n")
            << "/l/a|Song|Band;/m/b||";
        QTest::newRow("xspf: titles, creators, the first location of a track")
            << "l.xspf"
            << QByteArray("<playlist><title>L</title><trackList><track><location>a%20b</location>"
                          "<title>S</title><creator>B</creator></track><track><location>file:///m/b"
                          "</location><location>c</location></track><track><title>No location"
                          "</title></track><track><location>http://x.org/f</location></track>")
            << "/l/a b|S|B;/m/b||;http://x.org/f||";
        // bases resolve against the base around them, the outermost against the list's folder
        QTest::newRow("xspf: xml:base of the playlist and of tracks")
            << "l.xspf"
            << QByteArray(
                   "<playlist xmlns=\"http://xspf.org/ns/0/\" xml:base=\"music/\"><trackList>"
                   "<track xml:base=\"album/\"><location>a.mp3</location></track>"
                   "<track xml:base=\"/other/x.xspf\"><location>b.mp3</location></track>"
                   "<track xml:base=\"file:///x/y/\"><location>../c.mp3</location></track>"
                   "<track xml:base=\"http://x.org/m/\"><location>e.mp3</location></track>"
                   "<track><location>d.mp3</location></track></trackList></playlist>")
            << "/l/music/album/a.mp3||;/other/b.mp3||;/x/c.mp3||;http://x.org/m/e.mp3||;"
               "/l/music/d.mp3||";
        QTest::newRow("xspf: a damaged document keeps what came before")
            << "l.xspf" << QByteArray("<playlist><track><location>/a</location></track><track><l")
            << "/a||";
        QTest::newRow("xspf: openings only are no list")
            << "l.xspf" << QByteArray("<a>").repeated(99999) << "";
        QTest::newRow("xspf: invalid UTF-8 is no text")
            << "l.xspf" << QByteArray("<playlist><track><location>\xE9</location></track>") << "!";
        QTest::newRow("xspf: a NUL byte is no text")
            << "l.xspf" << QByteArray("<playlist>\0</playlist>", 22) << "!";
        QTest::newRow("xspf: Latin-1 as declared")
            << "l.xspf"
            << QByteArray("<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><playlist><track>"
                          "<location>\xE9</location></track></playlist>")
            << "/l/é||";
        const QString utf16 = "<playlist><track><location>é</location></track></playlist>";
        QTest::newRow("xspf: UTF-16 with its byte order mark")
            << "l.xspf"
            << QByteArray("\xFF\xFE") +
                   QByteArray(reinterpret_cast<const char*>(utf16.utf16()), utf16.size() * 2)
            << "/l/é||";
        QTest::newRow("not a list by its name") << "l.txt" << QByteArray("a.mp3\n") << "";
    }
    void parsesEachFormat()
    {
        QFETCH(QString, name);
        QFETCH(QByteArray, content);
        QFETCH(QString, entries);
        bool notText = false;
        QCOMPARE(flat(parse(name, content, "/l", kMaxEntries, &notText)),
                 entries == "!" ? "" : entries);
        QCOMPARE(notText, entries == "!");
        QCOMPARE(isPlaylistFile(name), name != "l.txt");
    }

    // Control characters of a list reach the terminal written out; the line's end stays.
    void printsControlCharactersEscaped()
    {
        const QString printed = testsupport::captureStdout([] {
            printLine(skipLine(
                QString::fromUtf8("/m/\x1b[2J\x1b]0;T\x07 a\nb\r\t\x7f\xc2\x9b\xc2\xa0é.mp3"),
                "no such file"));
        });
        QCOMPARE(printed,
                 QString::fromUtf8("Skipped \"/m/\\x1b[2J\\x1b]0;T\\x07 a\\x0ab\\x0d\\x09\\x7f"
                                   "\\x9b\xc2\xa0é.mp3\": no such file\n"));
    }

    // Lists in lists give their entries in place; each entry left out is one line, a long
    // location cut short (a binary list in one line: tst_commandline). One import takes a
    // bounded number of entries however long its lists are.
    void expandsListsInOrder()
    {
        write("track.mp3", "");
        write("sub.pls", "[playlist]\nFile1=track.mp3\n");
        QVERIFY(QDir(m_dir.path()).mkdir("folder.m3u"));
        const QString web = "http://x.org/" + QString(1000, 'x');
        write("list.m3u", "#EXTINF:1,Band - Song\ntrack.mp3\ngone.mp3\nlist.m3u\n" + web.toUtf8() +
                              "\nsub.pls\nfolder.m3u\n");
        Expansion got = expand({file("list.m3u"), "/not/checked.mp3"}, true);
        QStringList items; // path|title|artist, "!" when a failed read is to be reported
        for (const Item& i : got.items)
            items << i.path + '|' + i.title + '|' + i.artist + (i.reportSkip ? "!" : "");
        QCOMPARE(items, (QStringList{file("track.mp3") + "|Song|Band!", file("track.mp3") + "||!",
                                     "/not/checked.mp3||!"}));
        QCOMPARE(got.skipped.mid(0, 3),
                 (QStringList{skipLine(file("gone.mp3"), "no such file"),
                              skipLine(file("list.m3u"), "the list includes itself"),
                              "Skipped \"" + web.left(512) + "...\": not a local file"}));
        QVERIFY(got.skipped.size() == 4 &&
                got.skipped[3].startsWith("Skipped \"" + file("folder.m3u") + "\": "));
        QVERIFY(!expand({"/a.mp3"}).items[0].reportSkip);
        write("long.m3u", QByteArray("gone.mp3\n").repeated(kMaxEntries + 5));
        got = expand({file("long.m3u")});
        QCOMPARE(got.skipped.size(), kMaxEntries + 1);
        QVERIFY(got.skipped.last().startsWith("Skipped the rest of"));
        QCOMPARE(parse("l.m3u", "a\nb\nc\n", "/", 2).size(), 2);
        QCOMPARE(parse("l.pls", "File1=a\nFile2=b\nFile3=c\n", "/", 2).size(), 2);
        QCOMPARE(
            parse("l.xspf",
                  "<playlist>" + QByteArray("<track><location>b</location></track>").repeated(3),
                  "/", 2)
                .size(),
            2);
    }

    // A list naming the next one, so many deep; the innermost names a track.
    void nestsAtMostEightDeep_data()
    {
        QTest::addColumn<int>("depth");
        QTest::addColumn<QString>("itemsAndSkipped");
        QTest::newRow("eight deep is followed") << 8 << "1 0";
        QTest::newRow("nine deep is refused") << 9 << "0 1";
    }
    void nestsAtMostEightDeep()
    {
        QFETCH(int, depth);
        QFETCH(QString, itemsAndSkipped);
        write("track.mp3", "");
        for (int i = 1; i < depth; ++i)
            write(QString("n%1.m3u").arg(i), QString("n%1.m3u\n").arg(i + 1).toUtf8());
        write(QString("n%1.m3u").arg(depth), "track.mp3\n");
        const Expansion got = expand({file("n1.m3u")});
        QCOMPARE(QString("%1 %2").arg(got.items.size()).arg(got.skipped.size()), itemsAndSkipped);
    }

    // Exported lists read back as the same tracks, names and paths whole (a failed export:
    // tst_playlisteditor).
    void exportReadsBackTheSame()
    {
        const QList<Track> tracks{{{}, "file:///m/My%20Song.mp3", "Song - Live", "Band"},
                                  {{}, "file:///m/%C3%A9.mp3%20", "Two\nLines", "Ärtist"},
                                  {{}, "https://x.org/a%20b", "Web", "Radio"}};
        const QByteArray written = toM3u8(tracks);
        QCOMPARE(
            QString::fromUtf8(written),
            "#EXTM3U\n#EXTINF:-1,Band - Song - Live\n/m/My Song.mp3\n#EXTINF:-1,Ärtist - "
            "Two Lines\nfile:///m/%C3%A9.mp3%20\n#EXTINF:-1,Radio - Web\nhttps://x.org/a%20b\n");
        QCOMPARE(flat(parse("x.m3u8", written, "/")),
                 "/m/My Song.mp3|Song - Live|Band;/m/é.mp3 |Two Lines|Ärtist;"
                 "https://x.org/a%20b|Web|Radio");
        QString error;
        QVERIFY(exportM3u8(file("out.m3u8"), tracks, &error) &&
                testsupport::readFile(file("out.m3u8")) == written);
    }
};

QTEST_GUILESS_MAIN(TestPlaylistFormats)
#include "tst_playlistformats.moc"
