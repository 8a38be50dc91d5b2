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
    // each list as (name, content, entries as "location|title|artist;...")
    void parsesEachFormat()
    {
        const std::tuple<QString, QByteArray, QString> lists[] = {
            // an #EXTINF names only the entry after it; relative paths are found beside the list
            {"l.m3u",
             "#EXTM3U\n#EXTINF:1,Band - Song\na.mp3\n# note\n\n/m/b.flac\n../c.mp3\n"
             "file:///m/d%20e.mp3\nhttp://x.org/f\n#EXTINF:3,Only Title\n./g.mp3\n",
             "/l/a.mp3|Song|Band;/m/b.flac||;/c.mp3||;/m/d e.mp3||;http://x.org/f||;"
             "/l/g.mp3|Only Title|"},
            // BOM, CRLF, a quoted comma
            {"l.M3U8", "\xEF\xBB\xBF#EXTM3U\r\n#EXTINF:-1 a=\"b,c\",B - S\r\nd/a\r\n",
             "/l/d/a|S|B"},
            // Latin-1, and a line too long for a path
            {"l.m3u", QByteArray(40000, 'x') + "\ncaf\xE9\n", "/l/café||"},
            // numbered keys in any order and case; a title without a file is no entry
            {"l.pls",
             "[playlist]\nFile2=/m/b\nfile1=a\nTitle1=Band - Song\nTitle3=No File\n"
             "NumberOfEntries=3\n",
             "/l/a|Song|Band;/m/b||"},
            {"l.xspf",
             "<playlist><title>L</title><trackList><track><location>a%20b</location><title>S"
             "</title><creator>B</creator></track><track><location>file:///m/b</location>"
             "<location>c</location></track><track><title>No location</title></track><track>"
             "<location>http://x.org/f</location></track>",
             "/l/a b|S|B;/m/b||;http://x.org/f||"},
            // a damaged document keeps what came before; one of openings only is no list
            {"l.xspf", "<playlist><track><location>/a</location></track><track><l", "/a||"},
            {"l.xspf", QByteArray("<a>").repeated(99999), ""},
            {"l.txt", "a.mp3\n", ""}};
        for (const auto& [name, content, entries] : lists) {
            QCOMPARE(flat(parse(name, content, "/l")), entries);
            QCOMPARE(isPlaylistFile(name), name != "l.txt");
        }
    }

    // Lists in lists give their entries in place, at most 8 deep; what is left out is said in
    // one line each, a hostile list's long location cut short. One import takes a bounded
    // number of entries however long its lists are.
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
        QVERIFY(got.skipped.value(3).startsWith("Skipped \"" + file("folder.m3u") + "\": "));
        QVERIFY(!expand({"/a.mp3"}).items[0].reportSkip);
        for (int depth : {8, 9}) {
            for (int i = 1; i < depth; ++i)
                write(QString("n%1.m3u").arg(i), QString("n%1.m3u\n").arg(i + 1).toUtf8());
            write(QString("n%1.m3u").arg(depth), "track.mp3\n");
            got = expand({file("n1.m3u")});
            QCOMPARE(QString("%1 %2").arg(got.items.size()).arg(got.skipped.size()),
                     depth == 8 ? "1 0" : "0 1");
        }
        write("long.m3u", QByteArray("gone.mp3\n").repeated(kMaxEntries + 5));
        got = expand({file("long.m3u")});
        QCOMPARE(got.skipped.size(), kMaxEntries + 1);
        QVERIFY(got.skipped.last().startsWith("Skipped the rest of"));
        QCOMPARE(parse("l.m3u", "a\nb\nc\n", "/", 2).size(), 2);
    }

    // Exported lists read back as the same tracks; a name or path a reader would take apart is
    // written so that it comes back whole. A failed write says why.
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
        QVERIFY(!exportM3u8(file("no/such/folder.m3u8"), tracks, &error) && !error.isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestPlaylistFormats)
#include "tst_playlistformats.moc"
