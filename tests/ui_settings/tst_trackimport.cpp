#include "settingstest.h"
#include "ui/settings/trackimport.h"

#include <QFileDialog>
#include <QMessageBox>
#include <QMimeData>
#include <QProcess>
#include <QPushButton>

#include <taglib/id3v2tag.h>
#include <taglib/mpegfile.h>
#include <taglib/textidentificationframe.h>

#include <sys/stat.h>

using namespace settingstest;

// A short tone. An MP3 gets an ID3v2 tag holding exactly the given text frames, in this order
// ("TIT2=Title"); a FLAC gets them as Vorbis comments ("title=Title").
static bool toneFile(const QString& path, const QStringList& tags)
{
    const bool mp3 = path.endsWith(".mp3");
    QStringList args{"-v", "error", "-y", "-f", "lavfi", "-i", "sine=duration=0.3"};
    if (mp3)
        args << "-id3v2_version"
             << "0"
             << "-write_id3v1"
             << "0";
    for (const QString& tag : mp3 ? QStringList{} : tags)
        args << "-metadata" << tag;
    if (QProcess::execute("ffmpeg", args << path) != 0 || !mp3)
        return QFile::exists(path);
    TagLib::MPEG::File file(QFile::encodeName(path).constData());
    for (const QString& tag : tags) {
        auto* frame = new TagLib::ID3v2::TextIdentificationFrame(tag.left(4).toLatin1().data(),
                                                                 TagLib::String::UTF8);
        frame->setText(TagLib::String(tag.mid(5).toUtf8().constData(), TagLib::String::UTF8));
        file.ID3v2Tag(true)->addFrame(frame);
    }
    return file.save(TagLib::MPEG::File::ID3v2, TagLib::File::StripOthers);
}

// Reading tags, and the editor's imports by panel, drop and list, on real files.
class TestTrackImport : public QObject {
    Q_OBJECT

    QTemporaryDir m_files;
    std::unique_ptr<Editor> e;

    QString file(const QString& name) const { return m_files.filePath(name); }
    // the names are files here, unless they are URLs
    std::unique_ptr<QMimeData> drop(const QStringList& names) const
    {
        auto mime = std::make_unique<QMimeData>();
        QList<QUrl> urls;
        for (const QString& name : names)
            urls.append(name.contains(':') ? QUrl(name) : QUrl::fromLocalFile(file(name)));
        mime->setUrls(urls);
        return mime;
    }
    bool enter(const QMimeData* mime)
    {
        QDragEnterEvent event(QPoint(40, 40), Qt::CopyAction, mime, Qt::LeftButton, {});
        QApplication::sendEvent(e->view->trackTable()->viewport(), &event);
        return event.isAccepted();
    }
    // runs an import and waits for it; the playlist it reported
    QUuid imported(const std::function<void()>& start)
    {
        QSignalSpy finished(e->view.get(), &PlaylistSettingsView::importFinished);
        start();
        return finished.wait(30000) ? finished.first().first().toUuid() : QUuid();
    }

private slots:
    void initTestCase()
    {
        QVERIFY(toneFile(file("tagged.mp3"), {"TIT2=Morning Song", "TPE1=The Band"}));
        QVERIFY(toneFile(file("untagged.mp3"), {}));
        QVERIFY(toneFile(file("tit2-only.mp3"), {"TIT2=Only Title"}));
        QVERIFY(toneFile(file("empty-first.mp3"),
                         {"TIT2=", "TIT2=Second Title", "TPE1=", "TPE1=Second Artist"}));
        QVERIFY(toneFile(file("blank.mp3"), {"TIT2=   ", "TPE1= "}));
        QVERIFY(toneFile(file("tagged.flac"), {"title=Flac Title", "artist=Flac Artist"}));
        QVERIFY(QFile::copy(file("tagged.mp3"), file("My Sóng über ß.mp3")));
        QVERIFY(testsupport::writeFile(file("notes.txt"), "just some words\n"));
        QVERIFY(testsupport::writeFile(file("words.mp3"), QByteArray("not audio\n").repeated(200)));
        QVERIFY(testsupport::writeFile(file("empty.mp3"), ""));
        QVERIFY(QDir(m_files.path()).mkdir("album.mp3"));
        QCOMPARE(mkfifo(QFile::encodeName(file("pipe.mp3")).constData(), 0600), 0);
    }
    void init()
    {
        e = std::make_unique<Editor>();
        QVERIFY(e->open());
    }
    void cleanup() { e.reset(); }

    // An empty tag value goes on with the search, blanks are a value. Damaged files, folders
    // and pipes are no tracks (a pipe would block the read for ever). A path's '#', '?' and
    // '%' are no URL syntax in the stored location; the same file added twice is two rows, each
    // with its own id.
    void readsMetadata()
    {
        for (const QString row :
             {"tagged.mp3|Morning Song|The Band", "tit2-only.mp3|Only Title|Unknown artist",
              "empty-first.mp3|Second Title|Second Artist", "blank.mp3|   | ",
              "untagged.mp3|Track|Unknown artist", "tagged.flac|Flac Title|Flac Artist",
              "My Sóng über ß.mp3|Morning Song|The Band", "notes.txt", "words.mp3", "empty.mp3",
              "album.mp3", "pipe.mp3", "gone.mp3"}) {
            const QString path = file(row.section('|', 0, 0)), tags = row.section('|', 1);
            const auto track = trackimport::readTrack(path);
            QCOMPARE(trackimport::isPlayableFile(path), !tags.isEmpty());
            QCOMPARE(trackimport::readTrackTitle(path) + '|' + trackimport::readTrackArtist(path),
                     tags.isEmpty() ? "Track|Unknown artist" : tags);
            QCOMPARE(track ? QUrl(track->urlString).toLocalFile() + '|' + track->trackName + '|' +
                                 track->artist
                           : QString(),
                     tags.isEmpty() ? QString() : path + '|' + tags);
        }
        QCOMPARE(trackimport::urlString("/M/Café ß#b?c%d.mp3"),
                 "file:///M/Caf%C3%A9%20%C3%9F%23b%3Fc%25d.mp3");
        QVERIFY(trackimport::readTrack(file("blank.mp3"))->id !=
                trackimport::readTrack(file("blank.mp3"))->id);
    }

    // The rows of an import go to the playlist it was started for, whichever is shown when
    // they come; one deleted meanwhile gets none and no orphan file. The panel's files come in
    // its order, what is no audio left out, in one write even when nothing was added. Dropped
    // files are appended as their reads finish, reads that finish together sharing a write; a
    // drop of nothing playable writes nothing. A dropped list gives its entries in list order,
    // the list's names before the tags, and says what it leaves out in one line each. Fixed: a
    // switch right after dropped rows were shown, before their write, lost them.
    void importsReachTheirPlaylist_data()
    {
        // how ("drop": through the table), the files, what happens meanwhile ("start": another
        // playlist chosen at once, "rows": chosen as the rows appear), the names then stored
        // (sorted for a drop of files), the writes (-1: one to three), what is printed
        QTest::addColumn<QString>("row");
        for (const char* row :
             {"panel|notes.txt||Old|1|", "drop|album.mp3||Old|0|",
              "panel|tagged.mp3 notes.txt untagged.mp3 album.mp3 pipe.mp3 tagged.mp3||"
              "Old,Morning Song,Track,Morning Song|1|",
              "drop|tagged.mp3 untagged.mp3 tit2-only.mp3||Morning Song,Old,Only Title,Track|-1|",
              "drop|list.m3u||Old,Title,Flac Title|1|Skipped \"/gone.mp3\": no such file\n"
              "Skipped \"/notes.txt\": not a playable audio file\n",
              "panel|tagged.mp3|start|Old,Morning Song|1|",
              "drop|tagged.mp3|start|Old,Morning Song|1|",
              "drop|tagged.mp3|rows|Old,Morning Song|1|", "panel|tagged.mp3|deleted||0|"})
            QTest::newRow(row) << QString(row);
    }
    void importsReachTheirPlaylist()
    {
        QFETCH(QString, row);
        const QStringList c = row.split('|');
        const QString how = c[0], meanwhile = c[2];
        QStringList paths;
        for (const QString& name : c[1].split(' '))
            paths.append(file(name));
        QVERIFY(testsupport::writeFile(file("list.m3u"), "#EXTINF:1,Listed - Title\ntagged.mp3\n"
                                                         "tagged.flac\ngone.mp3\nnotes.txt\n"));
        const QUuid target = e->shown();
        e->fill({"Old"});
        e->config.createPlaylist();
        const QUuid other = e->config.playlists().last().id;
        e->config.savePlaylist(other, tracksNamed({"Other"}));
        const QByteArray otherFile = testsupport::readFile(e->config.playlistFileURL(other));
        if (meanwhile == "rows")
            connect(e->view->trackModel(), &TrackTableModel::rowsInserted, this,
                    [&] { e->view->setSelectedPlaylistID(other); });
        const auto mime = drop(c[1].split(' '));
        QDropEvent dropped(QPointF(40, 40), Qt::CopyAction, mime.get(), Qt::LeftButton, {});
        QSignalSpy written(&e->config, &Config::playlistSaved);
        QUuid reported;
        QString printed = testsupport::captureStdout([&] {
            reported = imported([&] {
                if (how == "panel")
                    e->view->importFiles(paths);
                else if (enter(mime.get()))
                    QApplication::sendEvent(e->view->trackTable()->viewport(), &dropped);
                // results come back through the event loop, so this always comes first
                if (meanwhile == "start")
                    e->view->setSelectedPlaylistID(other);
                if (meanwhile == "deleted")
                    e->view->confirmDeletePlaylist();
            });
        });
        QVERIFY(reported == target && (how == "panel" || dropped.isAccepted()));
        QCOMPARE(printed.remove(m_files.path()), c[5]);
        const QList<Track> rows = e->stored(target);
        QStringList names = namesOf(rows);
        if (c[4] == "-1")
            names.sort();
        QCOMPARE(names.join(','), c[3]);
        QVERIFY(c[4] == "-1" ? written.count() >= 1 && written.count() <= 3
                             : written.count() == c[4].toInt());
        QVERIFY(!c[1].endsWith(".m3u") || rows.at(1).artist == "Listed");
        QCOMPARE(QFile::exists(e->config.playlistFileURL(target)), meanwhile != "deleted");
        QCOMPARE(e->view->selectedTracks(), meanwhile.isEmpty() ? rows : e->stored(other));
        QCOMPARE(testsupport::readFile(e->config.playlistFileURL(other)), otherFile);
    }

    // "Add tracks..." imports the existing files chosen, "Export playlist..." writes the shown
    // playlist; a failed export says so, also in a window. A drop of web links only is refused.
    void buttonsAndDropsReachTheirActions()
    {
        e->view->addTracksButton()->click();
        auto* dialog = e->view->findChild<QFileDialog*>();
        QVERIFY(dialog && dialog->fileMode() == QFileDialog::ExistingFiles);
        dialog->selectFile(file("My Sóng über ß.mp3"));
        imported([&] { QVERIFY(QMetaObject::invokeMethod(dialog, "accept")); });
        QTRY_VERIFY(!e->view->findChild<QFileDialog*>());
        e->view->exportButton()->click();
        dialog = e->view->findChild<QFileDialog*>();
        QVERIFY(dialog && dialog->acceptMode() == QFileDialog::AcceptSave);
        dialog->selectFile(file("exported.m3u8"));
        QVERIFY(QMetaObject::invokeMethod(dialog, "accept"));
        QTRY_COMPARE(testsupport::readFile(file("exported.m3u8")),
                     "#EXTM3U\n#EXTINF:-1,The Band - Morning Song\n" +
                         QFile::encodeName(file("My Sóng über ß.mp3")) + "\n");
        const QString printed = testsupport::captureStdout(
            [&] { QVERIFY(!e->view->exportPlaylist(file("no/such/folder.m3u8"))); });
        QVERIFY(printed.startsWith("Failed to export playlist to ") &&
                e->view->findChild<QMessageBox*>());
        const auto link = drop({"https://example.org/song.mp3"});
        link->setText("https://example.org/song.mp3");
        QVERIFY(!enter(link.get()) && !e->view->importDroppedFiles(link.get()));
    }
};

QTEST_MAIN(TestTrackImport)
#include "tst_trackimport.moc"
