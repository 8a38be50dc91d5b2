#include "model/config.h"
#include "support/testsupport.h"
#include "ui/settings/generalsettingsview.h"
#include "ui/settings/playlistsettingsview.h"
#include "ui/settings/settingsview.h"
#include "ui/settings/trackdropdelegate.h"
#include "ui/settings/trackimport.h"
#include "ui/settings/tracktablemodel.h"
#include "ui/settings/tracktableview.h"

#include <QtTest>
#include <QtWidgets>

#include <taglib/id3v2tag.h>
#include <taglib/mpegfile.h>
#include <taglib/textidentificationframe.h>

#include <sys/stat.h>

static QList<Track> tracksNamed(const QStringList& names)
{
    QList<Track> tracks;
    for (const QString& name : names)
        tracks.append({QUuid::createUuid(), "file:///music/" + name + ".mp3", name, "By " + name});
    return tracks;
}

static QStringList namesOf(const QList<Track>& tracks)
{
    QStringList names;
    for (const Track& track : tracks)
        names.append(track.trackName);
    return names;
}

// The playlist editor on a private home, its table model checked for inconsistent signals.
struct Editor {
    testsupport::TempHome home;
    Config config;
    // the settings file becomes a marker that reads as empty until something writes it again
    void markSettings() { testsupport::writeFile(home.settingsFile(), "-"); }
    QJsonObject settings() const
    {
        return QJsonDocument::fromJson(testsupport::readFile(home.settingsFile())).object();
    }
    std::unique_ptr<PlaylistSettingsView> view = std::make_unique<PlaylistSettingsView>(&config);
    std::unique_ptr<QAbstractItemModelTester> tester = std::make_unique<QAbstractItemModelTester>(
        view->trackModel(), QAbstractItemModelTester::FailureReportingMode::QtTest);

    QUuid shown() const { return *view->effectivePlaylistID(); }
    QStringList rows() const { return namesOf(view->selectedTracks()); }
    QList<Track> stored(const QUuid& id) const { return config.loadTracks(Playlist{id, {}}); }
    QStringList storedNames(const QUuid& id) const { return namesOf(stored(id)); }
    // the shown playlist's file holds these tracks, and so the table
    void fill(const QStringList& names) { config.savePlaylist(shown(), tracksNamed(names)); }
    void choose(const QUuid& id)
    {
        view->picker()->setCurrentIndex(view->picker()->findData(id));
        emit view->picker()->activated(view->picker()->currentIndex());
    }
    QPoint cell(QChar name, int column = TrackTableModel::NameColumn) const
    {
        const QModelIndex index = view->trackModel()->index(rows().indexOf(QString(name)), column);
        return view->trackTable()->visualRect(index).center();
    }
    // a drag event of this type sent to the table; whether the table took it
    template <typename Event> bool send(const QMimeData* mime, QPoint pos = {40, 40})
    {
        Event event(pos, Qt::MoveAction | Qt::CopyAction, mime, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(view->trackTable()->viewport(), &event);
        return event.isAccepted();
    }
};

// The settings window: the General tab, and the playlist editor with its playlists, rows,
// reordering and imports of real files.
class TestPlaylistEditor : public QObject {
    Q_OBJECT

    QTemporaryDir m_files;
    std::unique_ptr<Editor> e;

    QString file(const QString& name) const { return m_files.filePath(name); }
    // runs an import and waits for it; the playlist it reported
    QUuid imported(const std::function<void()>& start)
    {
        QSignalSpy finished(e->view.get(), &PlaylistSettingsView::importFinished);
        start();
        return finished.wait(30000) ? finished.first().first().toUuid() : QUuid();
    }

private slots:
    // Short tones whose ID3v2 tag holds exactly the given frames; damaged files, a folder and a
    // pipe named as audio; a list.
    void initTestCase()
    {
        const auto tone = [](const QStringList& args) {
            return QProcess::execute(
                "ffmpeg",
                QStringList{"-v", "error", "-f", "lavfi", "-i", "sine=duration=0.3"} + args);
        };
        QCOMPARE(tone({"-id3v2_version", "0", "-write_id3v1", "0", file("untagged.mp3")}), 0);
        QCOMPARE(tone({"-metadata", "title=Flac Title", "-metadata", "artist=Flac Artist",
                       file("tagged.flac")}),
                 0);
        for (const QStringList& tags :
             {QStringList{"tagged.mp3", "TIT2=Morning Song", "TPE1=The Bänd"},
              {"tit2-only.mp3", "TIT2=Only Title"},
              {"blank.mp3", "TIT2=   ", "TPE1= "},
              {"empty-first.mp3", "TIT2=", "TIT2=Second Title", "TPE1=", "TPE1=Second Artist"}}) {
            QVERIFY(QFile::copy(file("untagged.mp3"), file(tags[0])));
            TagLib::MPEG::File mp3(QFile::encodeName(file(tags[0])).constData());
            for (const QString& tag : tags.mid(1)) {
                auto* frame = new TagLib::ID3v2::TextIdentificationFrame(
                    tag.left(4).toLatin1().data(), TagLib::String::UTF8);
                frame->setText(
                    TagLib::String(tag.mid(5).toUtf8().constData(), TagLib::String::UTF8));
                mp3.ID3v2Tag(true)->addFrame(frame);
            }
            QVERIFY(mp3.save(TagLib::MPEG::File::ID3v2, TagLib::File::StripOthers));
        }
        QVERIFY(QFile::copy(file("tagged.mp3"), file("My Sóng über ß.mp3")));
        QVERIFY(testsupport::writeFile(file("notes.txt"), "just some words\n"));
        QVERIFY(testsupport::writeFile(file("words.mp3"), QByteArray("not audio\n").repeated(200)));
        QVERIFY(testsupport::writeFile(file("empty.mp3"), ""));
        QVERIFY(QDir(m_files.path()).mkdir("album.mp3"));
        QCOMPARE(mkfifo(QFile::encodeName(file("pipe.mp3")).constData(), 0600), 0);
        QVERIFY(testsupport::writeFile(file("list.m3u"), "#EXTINF:1,Listed - Title\ntagged.mp3\n"
                                                         "tagged.flac\ngone.mp3\nnotes.txt\n"));
    }
    // Sounds off. Without playlists, showing the tab makes an empty "Untitled" and chooses it.
    void init()
    {
        e = std::make_unique<Editor>();
        e->config.setPlaysSounds(false);
        e->config.setPlaylists({});
        e->view->resize(640, 480);
        e->view->show();
        QVERIFY(QTest::qWaitForWindowExposed(e->view.get()));
        QCOMPARE(e->view->selectedPlaylistID(), e->config.playlists().value(0).id);
        QCOMPARE(e->view->nameField()->text(), "Untitled");
    }
    void cleanup() { e.reset(); }

    // A new playlist is chosen and shown empty. Choosing writes nothing, not even over a damaged
    // file, and the player plays on. Delete asks first, and the question follows the choice.
    // Names keep 32 user-perceived characters; each edit writes the settings, not the playlist.
    // Then the General tab.
    void playlistsAndGeneralSettings()
    {
        const QUuid first = e->shown();
        e->fill({"A"});
        QTest::mouseClick(e->view->newPlaylistButton(), Qt::LeftButton);
        const QUuid made = e->config.playlists().last().id;
        QVERIFY(e->view->picker()->currentData().toUuid() == made && e->rows().isEmpty());

        e->config.createPlaylist();
        const QUuid other = e->config.playlists().last().id;
        e->config.savePlaylist(other, tracksNamed({"X", "Y"}));
        e->markSettings();
        QSignalSpy written(&e->config, &Config::playlistSaved);
        e->choose(other);
        QCOMPARE(e->rows(), (QStringList{"X", "Y"}));
        QVERIFY(testsupport::writeFile(e->config.playlistFileURL(other), "{\"tracks\": [1]}"));
        e->choose(first);
        QVERIFY(!testsupport::captureStdout([&] { e->choose(other); }).isEmpty());
        QVERIFY(e->rows().isEmpty() && e->settings().isEmpty() && written.isEmpty());
        QCOMPARE(testsupport::readFile(e->config.playlistFileURL(other)), "{\"tracks\": [1]}");
        QCOMPARE(e->config.currentPlaylistIndex(), 0);

        e->config.setPlaylists({Playlist{first, "Mine"}, Playlist{other, "Other"}});
        e->choose(first);
        QPushButton* del = e->view->deleteButton();
        QTest::mouseClick(del, Qt::LeftButton);
        QCOMPARE(del->text() + QString::number(e->config.playlists().size()), "Are you sure?2");
        e->choose(other);
        QTest::mouseClick(del, Qt::LeftButton);
        QCOMPARE(e->config.playlists(), (QList<Playlist>{Playlist{first, "Mine"}}));
        QCOMPARE(e->view->nameField()->text() + del->text(), "MineDelete playlist...");

        for (const QString one : {"y", "e\u0301", "\U0001F1E9\U0001F1EA",
                                  "\U0001F468\u200D\U0001F469\u200D\U0001F467"}) {
            const QString full = QString(31, 'a') + one;
            QCOMPARE(PlaylistSettingsView::leadingCharacters(one.repeated(40), 32) + '|' +
                         PlaylistSettingsView::leadingCharacters(full + one, 32),
                     one.repeated(32) + '|' + full);
        }
        QSignalSpy playlistWrites(&e->config, &Config::playlistSaved);
        QLineEdit* field = e->view->nameField();
        field->selectAll();
        QTest::keyClicks(field, QString(40, 'x'));
        QCOMPARE(e->view->picker()->currentText(), QString(32, 'x'));
        for (const char c : {'\b', 'y'}) {
            e->markSettings();
            QTest::keyClick(field, c);
            QCOMPARE(e->settings()["playlists"][0]["name"].toString(), field->text());
        }
        QCOMPARE(e->config.playlists().first().name, QString(31, 'x') + 'y');
        QCOMPARE(playlistWrites.count(), 0);

        SettingsView view(&e->config);
        view.show();
        QVERIFY(QTest::qWaitForWindowExposed(&view));

        // Each toggle shows its field, also when the Player menu changes it, and every change
        // is written at once.
        const QList<QCheckBox*> toggles = view.generalView()->toggles();
        const QStringList keys{"playsSounds", "superSized", "isFloating", "loopTracks",
                               "shuffleTracks"};
        for (int i = 0; i < keys.size(); ++i) {
            const QByteArray key = keys[i].toLatin1();
            const bool before = e->config.property(key).toBool();
            QCOMPARE(toggles[i]->isChecked(), before);
            e->markSettings();
            QTest::mouseClick(toggles[i], Qt::LeftButton);
            QCOMPARE(e->settings()[keys[i]].toBool(), !before);
            e->markSettings();
            e->config.setProperty(key, before);
            QVERIFY(toggles[i]->isChecked() == before && e->settings()[keys[i]].toBool() == before);
        }

        // The picker follows the catalogue and the current theme, also when chosen elsewhere. A
        // chosen theme is written, then its geometry loaded; choosing the current one does
        // neither (its file now says otherwise). (A theme without theme.json: tst_themes.)
        QComboBox* picker = view.generalView()->themePicker();
        const QString current = e->config.currentTheme();
        const double width = e->config.playerWidth();
        QCOMPARE(picker->currentText(), current);
        const auto file = [&](const QString& t) {
            return e->config.themeDirectory(t) + "/theme.json";
        };
        QJsonObject theme = QJsonDocument::fromJson(testsupport::readFile(file(current))).object();
        for (const auto& [name, w] : {std::pair{QString("wide"), 301}, {current, 999}}) {
            theme["playerWidth"] = w;
            testsupport::writeFile(file(name), QJsonDocument(theme).toJson());
        }
        e->config.setAvailableThemes({current, "wide"});
        for (const auto& [name, saved, w] :
             {std::tuple{current, QString(), width}, {"wide", "wide", 301.0}}) {
            e->markSettings();
            picker->setCurrentIndex(picker->findText(name));
            emit picker->activated(picker->currentIndex());
            QCOMPARE(e->settings()["currentTheme"].toString(), saved);
            QCOMPARE(e->config.playerWidth(), w);
        }
        e->config.setCurrentTheme(current);
        QCOMPARE(picker->currentIndex(), 0);

        // The editor's tab was never shown, so the first playlist stands in for the chosen one.
        e->config.createPlaylist();
        QCOMPARE(view.playlistView()->effectivePlaylistID(), e->config.playlists().first().id);
    }

    // '#', '?', '%' of a path are no URL syntax; a file added twice is two rows. The buttons
    // import and export (a failed export says so, also in a window); web links are refused.
    // Tracks added from outside show at once. A drag carries the row's id: a reload stops it.
    // Every row edit is written at once, cells keep the text as typed, the trash removes only
    // its row; closing with a cell editor open is safe.
    void buttonsAndRowEdits()
    {
        QCOMPARE(trackimport::urlString("/M/Café ß#b?c%d.mp3"),
                 "file:///M/Caf%C3%A9%20%C3%9F%23b%3Fc%25d.mp3");
        QVERIFY(trackimport::readTrack(file("blank.mp3"))->id !=
                trackimport::readTrack(file("blank.mp3"))->id);
        e->view->addTracksButton()->click();
        auto* dialog = e->view->findChild<QFileDialog*>();
        QVERIFY(dialog);
        dialog->selectFile(file("My Sóng über ß.mp3"));
        imported([&] { QVERIFY(QMetaObject::invokeMethod(dialog, "accept")); });
        QTRY_VERIFY(!e->view->findChild<QFileDialog*>());
        e->view->exportButton()->click();
        dialog = e->view->findChild<QFileDialog*>();
        QVERIFY(dialog);
        dialog->selectFile(file("exported.m3u8"));
        QVERIFY(QMetaObject::invokeMethod(dialog, "accept"));
        QTRY_VERIFY(testsupport::readFile(file("exported.m3u8"))
                        .endsWith(",The Bänd - Morning Song\n" +
                                  file("My Sóng über ß.mp3").toUtf8() + "\n"));
        const QString printed = testsupport::captureStdout(
            [&] { QVERIFY(!e->view->exportPlaylist(file("no/such/folder.m3u8"))); });
        QVERIFY(printed.startsWith("Failed to export playlist to ") &&
                e->view->findChild<QMessageBox*>());
        QMimeData link;
        link.setUrls({QUrl("https://example.org/song.mp3")});
        QVERIFY(!e->send<QDragEnterEvent>(&link) && !e->view->importDroppedFiles(&link));

        e->fill({"Old", "Gone"});
        e->config.savePlaylist(e->shown(), e->stored(e->shown()) + tracksNamed({"Added"}));
        QCOMPARE(e->rows().join(','), "Old,Gone,Added");
        e->view->deleteTrack(e->view->selectedTracks().at(1).id);
        QCOMPARE(e->storedNames(e->shown()).join(','), "Old,Added");
        std::unique_ptr<QMimeData> mime(e->view->beginTrackDrag(0));
        QCOMPARE(mime->data(TrackTableView::trackIdMimeType()),
                 uuidString(e->view->selectedTracks().first().id).toUtf8());
        e->fill({"A", "B", "C"});
        e->view->dropDelegate(1).dropEntered();
        QCOMPARE(e->rows(), (QStringList{"A", "B", "C"}));

        TrackTableModel* model = e->view->trackModel();
        QVERIFY(model->setData(model->index(2, TrackTableModel::ArtistColumn), ""));
        QTest::mouseClick(e->view->trackTable()->viewport(), Qt::LeftButton, {},
                          e->cell('A', TrackTableModel::TrashColumn));
        e->view->trackTable()->edit(model->index(0, TrackTableModel::NameColumn));
        QSignalSpy written(&e->config, &Config::playlistSaved);
        QTest::keyClicks(e->view->trackTable()->viewport()->findChild<QLineEdit*>(), " B ");
        QCOMPARE(written.count(), 3);
        const QList<Track> shown = e->view->selectedTracks();
        QCOMPARE(namesOf(shown) << shown[1].artist, (QStringList{" B ", "C", ""}));
        const QUuid id = e->shown();
        e->tester.reset();
        e->view.reset();
        QCOMPARE(e->stored(id), shown);
    }

    // Tags and their fallbacks (an empty value searches on, blanks are a value); damaged files,
    // folders and pipes are no tracks. An import's rows go to the playlist it was started for,
    // whichever is shown (a deleted one gets none and no orphan file). The panel's files come in
    // its order in one write, even of nothing; dropped files as their reads finish, nothing
    // playable writing nothing; a dropped list in list order, its names before the tags, a
    // line per entry left out. A switch between dropped rows shown and written loses none.
    void importsReachTheirPlaylist_data()
    {
        // how, the files, what happens meanwhile ("start": another playlist chosen at once,
        // "rows": as the rows appear), names/artists stored (sorted for a drop), writes (-1: 1-3)
        QTest::addColumn<QString>("row");
        for (const char* row :
             {"panel|notes.txt||Old/By Old|1|", "drop|album.mp3||Old/By Old|0|",
              "panel|tagged.mp3 notes.txt untagged.mp3 tit2-only.mp3 empty-first.mp3 blank.mp3 "
              "tagged.flac words.mp3 empty.mp3 album.mp3 pipe.mp3 gone.mp3 tagged.mp3||Old/By Old,"
              "Morning Song/The Bänd,Track/Unknown artist,Only Title/Unknown artist,Second Title/"
              "Second Artist,   / ,Flac Title/Flac Artist,Morning Song/The Bänd|1|",
              "drop|tagged.mp3 untagged.mp3 tit2-only.mp3||Morning Song/The Bänd,Old/By Old,"
              "Only Title/Unknown artist,Track/Unknown artist|-1|",
              "drop|list.m3u||Old/By Old,Title/Listed,Flac Title/Flac Artist|1|Skipped "
              "\"/gone.mp3\": no such file\nSkipped \"/notes.txt\": not a playable audio file\n",
              "panel|tagged.mp3|start|Old/By Old,Morning Song/The Bänd|1|",
              "drop|tagged.mp3|rows|Old/By Old,Morning Song/The Bänd|1|",
              "panel|tagged.mp3|deleted||0|"})
            QTest::newRow(row) << QString(row);
    }
    void importsReachTheirPlaylist()
    {
        QFETCH(QString, row);
        const QStringList c = row.split('|');
        const QString meanwhile = c[2];
        QMimeData mime;
        for (const QString& name : c[1].split(' '))
            mime.setUrls(mime.urls() << QUrl::fromLocalFile(file(name)));
        const QUuid target = e->shown();
        e->fill({"Old"});
        e->config.createPlaylist();
        const QUuid other = e->config.playlists().last().id;
        e->config.savePlaylist(other, tracksNamed({"Other"}));
        const QByteArray otherFile = testsupport::readFile(e->config.playlistFileURL(other));
        if (meanwhile == "rows")
            connect(e->view->trackModel(), &TrackTableModel::rowsInserted, this,
                    [&] { e->view->setSelectedPlaylistID(other); });
        QSignalSpy written(&e->config, &Config::playlistSaved);
        QUuid reported;
        bool accepted = true;
        QString printed = testsupport::captureStdout([&] {
            reported = imported([&] {
                if (c[0] == "panel")
                    e->view->importFiles(QUrl::toStringList(mime.urls(), QUrl::PreferLocalFile));
                else
                    accepted = e->send<QDragEnterEvent>(&mime) && e->send<QDropEvent>(&mime);
                // results come back through the event loop, so this always comes first
                if (meanwhile == "start")
                    e->view->setSelectedPlaylistID(other);
                if (meanwhile == "deleted")
                    e->view->confirmDeletePlaylist();
            });
        });
        QVERIFY(reported == target && accepted);
        QCOMPARE(printed.remove(m_files.path()), c[5]);
        const QList<Track> rows = e->stored(target);
        QStringList names;
        for (const Track& track : rows)
            names << track.trackName + '/' + track.artist;
        if (c[4] == "-1")
            names.sort();
        QCOMPARE(names.join(','), c[3]);
        QVERIFY(c[4] == "-1" ? written.count() >= 1 && written.count() <= 3
                             : written.count() == c[4].toInt());
        QCOMPARE(QFile::exists(e->config.playlistFileURL(target)), meanwhile != "deleted");
        QCOMPARE(e->view->selectedTracks(), meanwhile.isEmpty() ? rows : e->stored(other));
        QCOMPARE(testsupport::readFile(e->config.playlistFileURL(other)), otherFile);
    }

    // The dragged row follows the pointer, unsaved; a drop on a row writes once, a drag that
    // leaves or ends below the rows writes nothing; text from another program moves nothing.
    void reorder_data()
    {
        // dragged row ("-": text), rows passed ("-": below them), how it ends, the order shown
        QTest::addColumn<QString>("drag");
        for (const char* row : {"B B drop ABCD", "A BCD drop BCDA", "C AD drop ABDC",
                                "A C leave BCAD", "A - below ABCD", "- C drop ABCD"})
            QTest::newRow(row) << QString(row);
    }
    void reorder()
    {
        QFETCH(QString, drag);
        const QStringList d = drag.remove('-').split(' ');
        const QString dragged = d[0], over = d[1], end = d[2], order = d[3];
        e->fill({"A", "B", "C", "D"});
        QSignalSpy written(&e->config, &Config::playlistSaved);
        std::unique_ptr<QMimeData> mime(new QMimeData);
        mime->setText("some words");
        if (!dragged.isEmpty())
            mime.reset(e->view->beginTrackDrag(e->rows().indexOf(dragged)));
        QVERIFY(
            e->send<QDragEnterEvent>(mime.get(), e->cell(dragged.isEmpty() ? 'A' : dragged[0])));
        QPoint pointer(40, e->view->trackTable()->viewport()->height() - 2);
        QVERIFY(!e->send<QDragMoveEvent>(mime.get(), pointer));
        for (const QChar name : over)
            QVERIFY(e->send<QDragMoveEvent>(
                mime.get(), pointer = e->cell(name, TrackTableModel::ArtistColumn)));
        QDragLeaveEvent leave;
        if (end == "leave")
            QApplication::sendEvent(e->view->trackTable()->viewport(), &leave);
        else
            QCOMPARE(e->send<QDropEvent>(mime.get(), pointer), end == "drop");
        QCOMPARE(e->view->draggedTrack().value_or(Track{}).trackName, end == "drop" ? "" : dragged);
        QCOMPARE(e->rows().join("") + e->storedNames(e->shown()).join(""),
                 order + (end == "drop" ? order : "ABCD"));
        QCOMPARE(written.count(), int(end == "drop"));
    }
};

QTEST_MAIN(TestPlaylistEditor)
#include "tst_playlisteditor.moc"
