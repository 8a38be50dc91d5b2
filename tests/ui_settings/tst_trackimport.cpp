#include "settingstest.h"
#include "model/playlistformats.h"
#include "ui/settings/playlistsettingsview.h"
#include "ui/settings/trackimport.h"
#include "ui/settings/tracktablemodel.h"
#include "ui/settings/tracktableview.h"

#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QMimeData>
#include <QProcess>
#include <QSignalSpy>
#include <QtTest>

#include <taglib/id3v2tag.h>
#include <taglib/mpegfile.h>
#include <taglib/textidentificationframe.h>

#include <sys/stat.h>

using settingstest::namesOf;
using settingstest::storedTracks;
using settingstest::tracksNamed;

namespace {

bool ffmpeg(const QStringList& args)
{
    QProcess process;
    process.start("ffmpeg", QStringList{"-v", "error", "-y", "-f", "lavfi", "-i",
                                        "sine=frequency=440:duration=0.3"} +
                                args);
    return process.waitForFinished(60000) && process.exitCode() == 0;
}

bool untaggedMp3(const QString& path)
{
    return ffmpeg({"-id3v2_version", "0", "-write_id3v1", "0", "-fflags", "+bitexact", "-c:a",
                   "libmp3lame", "-b:a", "64k", path});
}

// an MP3 whose only tag is an ID3v2 tag holding exactly these text frames, in this order
bool mp3WithFrames(const QString& path, const QList<std::pair<QByteArray, QString>>& frames)
{
    if (!untaggedMp3(path))
        return false;
    TagLib::MPEG::File file(QFile::encodeName(path).constData());
    TagLib::ID3v2::Tag* tag = file.ID3v2Tag(true);
    for (const auto& [id, text] : frames) {
        auto* frame = new TagLib::ID3v2::TextIdentificationFrame(
            TagLib::ByteVector(id.constData(), uint(id.size())), TagLib::String::UTF8);
        frame->setText(TagLib::String(text.toUtf8().constData(), TagLib::String::UTF8));
        tag->addFrame(frame);
    }
    return file.save(TagLib::MPEG::File::ID3v2, TagLib::File::StripOthers);
}

} // namespace

class TestTrackImport : public QObject {
    Q_OBJECT

    QTemporaryDir m_files;
    std::unique_ptr<testsupport::TempHome> m_home;
    std::unique_ptr<Config> m_config;
    std::unique_ptr<PlaylistSettingsView> m_view;

    QString file(const QString& name) const { return m_files.filePath(name); }
    QUuid shownID() const { return *m_view->effectivePlaylistID(); }

    // a second playlist holding one track, not shown
    QUuid otherPlaylist()
    {
        m_config->createPlaylist();
        const QUuid other = m_config->playlists().last().id;
        m_config->savePlaylist(other, tracksNamed({"Other"}));
        return other;
    }

    QMimeData* fileDrop(const QStringList& names) const
    {
        auto* mime = new QMimeData;
        QList<QUrl> urls;
        for (const QString& name : names)
            urls.append(QUrl::fromLocalFile(file(name)));
        mime->setUrls(urls);
        return mime;
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_files.isValid());
        QVERIFY(ffmpeg({"-metadata", "title=Morning Song", "-metadata", "artist=The Band", "-c:a",
                        "libmp3lame", "-b:a", "64k", file("tagged.mp3")}));
        QVERIFY(untaggedMp3(file("untagged.mp3")));
        QVERIFY(mp3WithFrames(file("tit2-only.mp3"), {{"TIT2", "Only Title"}}));
        QVERIFY(mp3WithFrames(
            file("empty-first.mp3"),
            {{"TIT2", ""}, {"TIT2", "Second Title"}, {"TPE1", ""}, {"TPE1", "Second Artist"}}));
        QVERIFY(mp3WithFrames(file("blank.mp3"), {{"TIT2", "   "}, {"TPE1", " "}}));
        QVERIFY(ffmpeg({"-metadata", "title=Flac Title", "-metadata", "artist=Flac Artist",
                        file("tagged.flac")}));
        QVERIFY(QFile::copy(file("tagged.mp3"), file("My Sóng über ß.mp3")));
        QVERIFY(testsupport::writeFile(file("notes.txt"), "just some words\n"));
        QVERIFY(testsupport::writeFile(file("words.mp3"),
                                       QByteArray("not audio at all\n").repeated(200)));
        QVERIFY(testsupport::writeFile(file("empty.mp3"), ""));
        QVERIFY(QDir(m_files.path()).mkdir("album.mp3"));
        QCOMPARE(mkfifo(QFile::encodeName(file("pipe.mp3")).constData(), 0600), 0);
    }

    void init()
    {
        m_home = std::make_unique<testsupport::TempHome>();
        m_config = std::make_unique<Config>();
        m_config->setPlaysSounds(false);
        m_view = std::make_unique<PlaylistSettingsView>(m_config.get());
        m_view->resize(640, 480);
        m_view->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_view.get()));
    }
    void cleanup()
    {
        m_view.reset();
        m_config.reset();
        m_home.reset();
    }

    void readsMetadata_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("playable");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("artist");
        QTest::newRow("common tags") << "tagged.mp3" << true << "Morning Song"
                                     << "The Band";
        QTest::newRow("only a TIT2 frame") << "tit2-only.mp3" << true << "Only Title"
                                           << "Unknown artist";
        QTest::newRow("empty first frames") << "empty-first.mp3" << true << "Second Title"
                                            << "Second Artist";
        QTest::newRow("blanks are a value") << "blank.mp3" << true << "   "
                                            << " ";
        QTest::newRow("no tags") << "untagged.mp3" << true << "Track"
                                 << "Unknown artist";
        QTest::newRow("vorbis comments") << "tagged.flac" << true << "Flac Title"
                                         << "Flac Artist";
        QTest::newRow("blanks and non-ASCII in the name")
            << "My Sóng über ß.mp3" << true << "Morning Song"
            << "The Band";
        QTest::newRow("text file") << "notes.txt" << false << "Track"
                                   << "Unknown artist";
        QTest::newRow("text named like audio") << "words.mp3" << false << "Track"
                                               << "Unknown artist";
        QTest::newRow("empty file") << "empty.mp3" << false << "Track"
                                    << "Unknown artist";
        QTest::newRow("folder") << "album.mp3" << false << "Track"
                                << "Unknown artist";
        QTest::newRow("named pipe") << "pipe.mp3" << false << "Track"
                                    << "Unknown artist";
        QTest::newRow("missing") << "gone.mp3" << false << "Track"
                                 << "Unknown artist";
    }
    void readsMetadata()
    {
        QFETCH(QString, name);
        QFETCH(bool, playable);
        QFETCH(QString, title);
        QFETCH(QString, artist);
        QCOMPARE(trackimport::isPlayableFile(file(name)), playable);
        QCOMPARE(trackimport::readTrackTitle(file(name)), title);
        QCOMPARE(trackimport::readTrackArtist(file(name)), artist);
        const auto track = trackimport::readTrack(file(name));
        QCOMPARE(track.has_value(), playable);
        if (track) {
            QCOMPARE(track->trackName, title);
            QCOMPARE(track->artist, artist);
            QCOMPARE(QUrl(track->urlString).toLocalFile(), file(name));
        }
    }

    void urlStringIsPercentEncoded_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("url");
        QTest::newRow("blank") << "/Music/My Song.mp3"
                               << "file:///Music/My%20Song.mp3";
        QTest::newRow("non-ASCII") << "/Music/Café ß.mp3"
                                   << "file:///Music/Caf%C3%A9%20%C3%9F.mp3";
        QTest::newRow("reserved characters") << "/Music/a#b?c%d.mp3"
                                             << "file:///Music/a%23b%3Fc%25d.mp3";
    }
    void urlStringIsPercentEncoded()
    {
        QFETCH(QString, path);
        QFETCH(QString, url);
        QCOMPARE(trackimport::urlString(path), url);
        QCOMPARE(QUrl(url).toLocalFile(), path);
    }

    void panelImportAppendsInOrderAndWritesOnce()
    {
        m_config->savePlaylist(shownID(), tracksNamed({"Old"}));
        m_view->reloadTracks();
        QSignalSpy written(m_config.get(), &Config::playlistSaved);
        QSignalSpy finished(m_view.get(), &PlaylistSettingsView::importFinished);
        m_view->importFiles({file("tagged.mp3"), file("notes.txt"), file("untagged.mp3"),
                             file("album.mp3"), file("pipe.mp3"), file("tagged.mp3")});
        QVERIFY(finished.wait(30000));
        QCOMPARE(namesOf(m_view->selectedTracks()),
                 (QStringList{"Old", "Morning Song", "Track", "Morning Song"}));
        const QList<Track> rows = m_view->selectedTracks();
        // the same file twice: two rows, two ids
        QCOMPARE(rows.at(1).urlString, rows.at(3).urlString);
        QVERIFY(rows.at(1).id != rows.at(3).id);
        QCOMPARE(written.count(), 1);
        QCOMPARE(storedTracks(*m_config, shownID()), rows);
    }

    // the panel writes the playlist even when nothing was added; a drop does not
    void importOfNothingPlayable_data()
    {
        QTest::addColumn<bool>("byDrop");
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("writes");
        QTest::newRow("panel, text file") << false << "notes.txt" << 1;
        QTest::newRow("dropped folder") << true << "album.mp3" << 0;
    }
    void importOfNothingPlayable()
    {
        QFETCH(bool, byDrop);
        QFETCH(QString, name);
        QFETCH(int, writes);
        QSignalSpy written(m_config.get(), &Config::playlistSaved);
        QSignalSpy finished(m_view.get(), &PlaylistSettingsView::importFinished);
        std::unique_ptr<QMimeData> mime(fileDrop({name}));
        if (byDrop)
            QVERIFY(m_view->importDroppedFiles(mime.get()));
        else
            m_view->importFiles({file(name)});
        QVERIFY(finished.wait(30000));
        QCOMPARE(written.count(), writes);
        QVERIFY(m_view->selectedTracks().isEmpty());
    }

    void panelDialogChoosesFiles()
    {
        QSignalSpy finished(m_view.get(), &PlaylistSettingsView::importFinished);
        m_view->addTracksFromPanel();
        QFileDialog* dialog = m_view->findChild<QFileDialog*>();
        QVERIFY(dialog);
        QCOMPARE(dialog->windowTitle(), "Add track to playlist");
        QCOMPARE(dialog->fileMode(), QFileDialog::ExistingFiles);
        QCOMPARE(dialog->acceptMode(), QFileDialog::AcceptOpen);
        dialog->setDirectory(m_files.path());
        dialog->selectFile(file("My Sóng über ß.mp3"));
        QVERIFY(QMetaObject::invokeMethod(dialog, "accept"));
        QVERIFY(finished.wait(30000));
        QCOMPARE(m_view->selectedTracks().size(), 1);
        QCOMPARE(m_view->selectedTracks().first().urlString,
                 QUrl::fromLocalFile(file("My Sóng über ß.mp3")).toString(QUrl::FullyEncoded));
    }

    void cancelledPanelWritesNothing()
    {
        QSignalSpy written(m_config.get(), &Config::playlistSaved);
        m_view->addTracksFromPanel();
        QFileDialog* dialog = m_view->findChild<QFileDialog*>();
        QVERIFY(dialog);
        dialog->reject();
        QTRY_VERIFY(!m_view->findChild<QFileDialog*>());
        QCoreApplication::processEvents();
        QCOMPARE(written.count(), 0);
    }

    void droppedFilesAreAppendedAndWrittenAsTheyAreRead()
    {
        QSignalSpy written(m_config.get(), &Config::playlistSaved);
        QSignalSpy finished(m_view.get(), &PlaylistSettingsView::importFinished);
        std::unique_ptr<QMimeData> mime(fileDrop({"tagged.mp3", "untagged.mp3", "tit2-only.mp3"}));
        TrackTableView* table = m_view->trackTable();
        const QPoint inside(40, 40);
        QDragEnterEvent enter(inside, Qt::CopyAction, mime.get(), Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(table->viewport(), &enter);
        QVERIFY(enter.isAccepted());
        QDropEvent dropped(QPointF(inside), Qt::CopyAction, mime.get(), Qt::LeftButton,
                           Qt::NoModifier);
        QApplication::sendEvent(table->viewport(), &dropped);
        QVERIFY(dropped.isAccepted());
        QVERIFY(finished.wait(30000));
        // reads that finish together share a write; never more writes than files
        QVERIFY(written.count() >= 1 && written.count() <= 3);
        QStringList names = namesOf(m_view->selectedTracks());
        names.sort(); // rows come in the order their reads finish
        QCOMPARE(names, (QStringList{"Morning Song", "Only Title", "Track"}));
        QCOMPARE(storedTracks(*m_config, shownID()), m_view->selectedTracks());

        // one file at a time: one write each
        written.clear();
        for (const QString& name : {"tagged.flac", "blank.mp3"}) {
            std::unique_ptr<QMimeData> single(fileDrop({name}));
            QVERIFY(m_view->importDroppedFiles(single.get()));
            QVERIFY(finished.wait(30000));
        }
        QCOMPARE(written.count(), 2);
        QCOMPARE(namesOf(storedTracks(*m_config, shownID())).mid(3),
                 (QStringList{"Flac Title", "   "}));
    }

    // The rows go to the playlist the import was started for, whichever playlist is shown.
    void switchingPlaylistsDuringAnImport_data()
    {
        QTest::addColumn<bool>("byDrop");
        QTest::newRow("panel") << false;
        QTest::newRow("drop") << true;
    }
    void switchingPlaylistsDuringAnImport()
    {
        QFETCH(bool, byDrop);
        const QUuid target = shownID();
        m_config->savePlaylist(target, tracksNamed({"Old"}));
        m_view->reloadTracks();
        const QUuid other = otherPlaylist();
        const QByteArray otherFile = testsupport::readFile(m_config->playlistFileURL(other));
        QSignalSpy finished(m_view.get(), &PlaylistSettingsView::importFinished);
        std::unique_ptr<QMimeData> mime(fileDrop({"tagged.mp3"}));
        if (byDrop)
            QVERIFY(m_view->importDroppedFiles(mime.get()));
        else
            m_view->importFiles({file("tagged.mp3")});
        // results come back through the event loop, so this switch always comes first
        m_view->setSelectedPlaylistID(other);
        QVERIFY(finished.wait(30000));
        QCOMPARE(finished.first().first().toUuid(), target);
        QCOMPARE(namesOf(m_view->selectedTracks()), QStringList{"Other"});
        QCOMPARE(testsupport::readFile(m_config->playlistFileURL(other)), otherFile);
        QCOMPARE(namesOf(storedTracks(*m_config, target)), (QStringList{"Old", "Morning Song"}));
        m_view->setSelectedPlaylistID(target);
        QCOMPARE(namesOf(m_view->selectedTracks()), (QStringList{"Old", "Morning Song"}));
    }

    void switchingPlaylistsAsDroppedRowsAppearKeepsThem()
    {
        const QUuid target = shownID();
        const QUuid other = otherPlaylist();
        // the user's choice lands right after the rows are shown, before they are written
        connect(m_view->trackModel(), &QAbstractItemModel::rowsInserted, this,
                [&] { m_view->setSelectedPlaylistID(other); });
        QSignalSpy finished(m_view.get(), &PlaylistSettingsView::importFinished);
        std::unique_ptr<QMimeData> mime(fileDrop({"tagged.mp3"}));
        QVERIFY(m_view->importDroppedFiles(mime.get()));
        QVERIFY(finished.wait(30000));
        QCOMPARE(namesOf(storedTracks(*m_config, target)), QStringList{"Morning Song"});
        QCOMPARE(namesOf(storedTracks(*m_config, other)), QStringList{"Other"});
        QCOMPARE(namesOf(m_view->selectedTracks()), QStringList{"Other"});
    }

    // Lists of other players dropped on the table give their entries in list order, relative
    // ones found beside the list and the list's own names first; a missing entry and the list
    // naming itself are skipped with one line each.
    void droppedListsAddTheirEntries_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("content");
        const QByteArray flac = QFile::encodeName(file("tagged.flac"));
        const QByteArray flacUrl = QUrl::fromLocalFile(file("tagged.flac")).toEncoded();
        QTest::newRow("m3u") << "list.m3u"
                             << "#EXTM3U\n#EXTINF:12,Listed Artist - Listed Title\ntagged.mp3\n" + flac
                                    + "\ngone.mp3\nlist.m3u\nnotes.txt\nhttp://example.org/a.mp3\n";
        QTest::newRow("m3u8 with CRLF and a file URL")
            << "list.m3u8" << "\xEF\xBB\xBF#EXTM3U\r\n#EXTINF:-1 tvg=\"a,b\",Listed Artist - Listed Title\r\n"
                              "./tagged.mp3\r\n# a comment\r\n" + flacUrl + "\r\ngone.mp3\r\nlist.m3u8\r\n";
        QTest::newRow("pls") << "list.pls"
                             << "[playlist]\nFile2=" + flac + "\nFile1=tagged.mp3\n"
                                "Title1=Listed Artist - Listed Title\nFile3=gone.mp3\nFile4=list.pls\n"
                                "NumberOfEntries=4\nVersion=2\n";
        QTest::newRow("xspf") << "list.xspf"
                              << "<?xml version=\"1.0\"?><playlist version=\"1\" xmlns=\"http://xspf.org/ns/0/\">"
                                 "<title>Mine</title><trackList><track><location>tagged.mp3</location>"
                                 "<title>Listed Title</title><creator>Listed Artist</creator></track>"
                                 "<track><location>" + flacUrl + "</location></track>"
                                 "<track><location>gone.mp3</location></track>"
                                 "<track><location>list.xspf</location></track></trackList></playlist>";
    }
    void droppedListsAddTheirEntries()
    {
        QFETCH(QString, name);
        QFETCH(QByteArray, content);
        QVERIFY(testsupport::writeFile(file(name), content));
        QSignalSpy finished(m_view.get(), &PlaylistSettingsView::importFinished);
        std::unique_ptr<QMimeData> mime(fileDrop({name}));
        const QString printed = testsupport::captureStdout([&] {
            QVERIFY(m_view->importDroppedFiles(mime.get()));
            QVERIFY(finished.wait(30000));
        });
        const QList<Track> rows = storedTracks(*m_config, shownID());
        QCOMPARE(namesOf(rows), (QStringList{"Listed Title", "Flac Title"}));
        QCOMPARE(rows.at(0).artist, "Listed Artist");
        QCOMPARE(rows.at(1).urlString, QUrl::fromLocalFile(file("tagged.flac")).toString());
        QStringList expected{QStringLiteral("Skipped \"%1\": no such file").arg(file("gone.mp3")),
                             QStringLiteral("Skipped \"%1\": the list includes itself").arg(file(name))};
        if (name == "list.m3u")
            expected << "Skipped \"http://example.org/a.mp3\": not a local file"
                     << QStringLiteral("Skipped \"%1\": not a playable audio file").arg(file("notes.txt"));
        QCOMPARE(printed.split('\n', Qt::SkipEmptyParts), expected);
    }

    void anImportTakesAtMostItsLimitOfEntries()
    {
        QVERIFY(testsupport::writeFile(file("long.m3u"),
                                       QByteArray("gone.mp3\n").repeated(playlistformats::kMaxEntries + 5)));
        const playlistformats::Expansion expansion = playlistformats::expand({file("long.m3u")});
        QCOMPARE(expansion.skipped.size(), playlistformats::kMaxEntries + 1);
        QVERIFY(expansion.skipped.last().startsWith("Skipped the rest of"));
    }

    void listsNestAtMostEightDeep()
    {
        // list1 names list2 ... names listN, which names the track
        for (int depth : {8, 9}) {
            for (int i = 1; i < depth; ++i)
                QVERIFY(testsupport::writeFile(file(QStringLiteral("nest%1.m3u").arg(i)),
                                               QStringLiteral("nest%1.m3u\n").arg(i + 1).toUtf8()));
            QVERIFY(testsupport::writeFile(file(QStringLiteral("nest%1.m3u").arg(depth)), "tagged.mp3\n"));
            const playlistformats::Expansion expansion = playlistformats::expand({file("nest1.m3u")});
            QCOMPARE(expansion.items.size(), depth == 8 ? 1 : 0);
            QCOMPARE(expansion.skipped.size(), depth == 8 ? 0 : 1);
        }
    }

    // "Export playlist..." writes the shown playlist as M3U8; importing that list again gives
    // the same tracks, names edited in the table included.
    void exportedListImportsAsTheSameTracks()
    {
        QList<Track> tracks;
        for (const QString& name : {"tagged.mp3", "My Sóng über ß.mp3", "tagged.flac"})
            tracks.append(*trackimport::readTrack(file(name)));
        tracks[0].trackName = QStringLiteral("Edited - with a dash");
        tracks[1].artist = QStringLiteral("Ärtist");
        m_config->savePlaylist(shownID(), tracks);
        m_view->reloadTracks();

        m_view->exportButton()->click();
        auto* dialog = m_view->findChild<QFileDialog*>();
        QVERIFY(dialog);
        QCOMPARE(dialog->acceptMode(), QFileDialog::AcceptSave);
        dialog->selectFile(file("exported.m3u8"));
        QVERIFY(QMetaObject::invokeMethod(dialog, "accept"));
        QTRY_VERIFY(QFile::exists(file("exported.m3u8")));
        QVERIFY(testsupport::readFile(file("exported.m3u8"))
                    .startsWith("#EXTM3U\n#EXTINF:-1,The Band - Edited - with a dash\n"
                                + QFile::encodeName(file("tagged.mp3")) + "\n"));

        m_view->newPlaylist();
        QSignalSpy finished(m_view.get(), &PlaylistSettingsView::importFinished);
        m_view->importFiles({file("exported.m3u8")});
        QVERIFY(finished.wait(30000));
        QList<Track> again = storedTracks(*m_config, shownID());
        QCOMPARE(again.size(), tracks.size());
        for (int i = 0; i < again.size(); ++i)
            again[i].id = tracks[i].id;
        QCOMPARE(again, tracks);

        // a folder that is not there: nothing written, the reason printed and shown
        const QString printed = testsupport::captureStdout(
            [&] { QVERIFY(!m_view->exportPlaylist(file("no/such/folder.m3u8"))); });
        QVERIFY2(printed.startsWith("Failed to export playlist to "), qPrintable(printed));
        QVERIFY(m_view->findChild<QMessageBox*>());
    }

    // tracks added from outside (the command line, a second start) show at once, and the next
    // edit here keeps them
    void outsideSaveReachesTheEditor()
    {
        m_config->savePlaylist(shownID(), tracksNamed({"Old", "Gone"}));
        m_view->reloadTracks();
        m_config->savePlaylist(shownID(), storedTracks(*m_config, shownID()) + tracksNamed({"Added"}));
        QCOMPARE(namesOf(m_view->selectedTracks()), (QStringList{"Old", "Gone", "Added"}));
        m_view->deleteTrack(m_view->selectedTracks().at(1).id);
        QCOMPARE(namesOf(storedTracks(*m_config, shownID())), (QStringList{"Old", "Added"}));
    }

    void importIntoADeletedPlaylistWritesNoFile()
    {
        const QUuid other = otherPlaylist();
        m_view->setSelectedPlaylistID(other);
        QSignalSpy finished(m_view.get(), &PlaylistSettingsView::importFinished);
        m_view->importFiles({file("tagged.mp3")});
        m_view->requestDeletePlaylist();
        m_view->confirmDeletePlaylist();
        QVERIFY(finished.wait(30000));
        QVERIFY(!QFile::exists(m_config->playlistFileURL(other)));
        QVERIFY(m_view->selectedTracks().isEmpty());
    }
};

QTEST_MAIN(TestTrackImport)
#include "tst_trackimport.moc"
