#include "settingstest.h"
#include "ui/settings/trackdropdelegate.h"

#include <QComboBox>
#include <QLineEdit>
#include <QMimeData>
#include <QPushButton>
#include <QToolButton>

using namespace settingstest;

class TestPlaylistEditor : public QObject {
    Q_OBJECT

    std::unique_ptr<Editor> e;

    QPoint cell(QChar name, int column = TrackTableModel::NameColumn) const
    {
        const QModelIndex index =
            e->view->trackModel()->index(e->rows().indexOf(QString(name)), column);
        return e->view->trackTable()->visualRect(index).center();
    }
    void choose(const QUuid& id)
    {
        e->view->picker()->setCurrentIndex(e->view->picker()->findData(id));
        emit e->view->picker()->activated(e->view->picker()->currentIndex());
    }
    // a drag event of this type sent to the table; whether the table took it
    template <typename Event> bool send(const QMimeData* mime, const QPoint& pos)
    {
        Event event(pos, Qt::MoveAction | Qt::CopyAction, mime, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(e->view->trackTable()->viewport(), &event);
        return event.isAccepted();
    }
    QUuid addPlaylist(const QStringList& names)
    {
        e->config.createPlaylist();
        e->config.savePlaylist(e->config.playlists().last().id, tracksNamed(names));
        return e->config.playlists().last().id;
    }

private slots:
    // with no playlists at all, showing the tab makes an empty "Untitled" and chooses it
    void init()
    {
        e = std::make_unique<Editor>();
        e->config.setPlaylists({});
        QVERIFY(e->open());
        QCOMPARE(e->view->selectedPlaylistID(), e->config.playlists().value(0).id);
        QCOMPARE(e->view->nameField()->text(), "Untitled");
    }
    void cleanup() { e.reset(); }

    // a new playlist is shown empty; the button is gone at 20 playlists and back below
    void newPlaylistIsChosenEmptyUpToTwenty()
    {
        e->fill({"A"});
        QToolButton* button = e->view->newPlaylistButton();
        QTest::mouseClick(button, Qt::LeftButton);
        const QUuid made = e->config.playlists().last().id;
        QVERIFY(e->view->picker()->currentData().toUuid() == made && e->rows().isEmpty());
        while (e->config.playlists().size() < 19)
            e->config.createPlaylist();
        QTest::mouseClick(button, Qt::LeftButton);
        QVERIFY(e->config.playlists().size() == 20 && !button->isVisible());
        e->config.deletePlaylist(made);
        QVERIFY(button->isVisible());
    }

    // Names keep 32 user-perceived characters, however many code points each takes; every edit
    // of the name is cut so and writes the settings file, never the playlist's.
    void renameKeepsThirtyTwoCharactersAndWritesTheSettings()
    {
        for (const QString one : {"y", "e\u0301", "\U0001F1E9\U0001F1EA",
                                  "\U0001F468\u200D\U0001F469\u200D\U0001F467"}) {
            QCOMPARE(PlaylistSettingsView::leadingCharacters(one.repeated(40), 32),
                     one.repeated(32));
            QCOMPARE(PlaylistSettingsView::leadingCharacters(QString(31, 'a') + one + one, 32),
                     QString(31, 'a') + one);
        }
        QSignalSpy playlistWrites(&e->config, &Config::playlistSaved);
        QLineEdit* field = e->view->nameField();
        field->selectAll();
        QInputMethodEvent commit; // as an input method commits text, replacing the selection
        commit.setCommitString(QString(40, 'x'));
        QApplication::sendEvent(field, &commit);
        QCOMPARE(e->view->picker()->currentText(), QString(32, 'x'));
        for (const char c : {'\b', 'y'}) {
            e->markSettings();
            QTest::keyClick(field, c);
            QCOMPARE(e->settings()["playlists"][0]["name"].toString(), field->text());
        }
        QCOMPARE(e->config.playlists().first().name, QString(31, 'x') + 'y');
        QCOMPARE(playlistWrites.count(), 0);
    }

    // Every edit of a row is written at once, in a cell each keystroke: cells keep the text as
    // typed (blanks, empty), the trash removes only its row. Fixed: closing the window with a
    // cell editor open committed into a half-destroyed view.
    void rowEditsAreWrittenAtOnce()
    {
        e->fill({"A", "B", "C"});
        TrackTableModel* model = e->view->trackModel();
        QVERIFY(model->setData(model->index(2, TrackTableModel::ArtistColumn), ""));
        QTest::mouseClick(e->view->trackTable()->viewport(), Qt::LeftButton, {},
                          cell('A', TrackTableModel::TrashColumn));
        e->view->trackTable()->edit(model->index(0, TrackTableModel::NameColumn));
        auto* editor = e->view->trackTable()->viewport()->findChild<QLineEdit*>();
        QVERIFY(editor);
        editor->selectAll();
        QSignalSpy written(&e->config, &Config::playlistSaved);
        QTest::keyClicks(editor, " B ");
        QCOMPARE(written.count(), 3);
        const QList<Track> shown = e->view->selectedTracks();
        QCOMPARE(namesOf(shown) << shown[1].artist, (QStringList{" B ", "C", ""}));
        const QUuid id = e->shown();
        e->tester.reset();
        e->view.reset();
        QCOMPARE(e->stored(id), shown);
    }

    // Choosing shows the other playlist and writes nothing, not even over a damaged file; the
    // player keeps playing what it played.
    void choosingAnotherPlaylistWritesNothing()
    {
        const QUuid first = e->shown(), other = addPlaylist({"X", "Y"});
        e->markSettings();
        QSignalSpy written(&e->config, &Config::playlistSaved);
        choose(other);
        QCOMPARE(e->rows(), (QStringList{"X", "Y"}));
        QVERIFY(testsupport::writeFile(e->config.playlistFileURL(other), "{\"tracks\": [1]}"));
        choose(first);
        QVERIFY(!testsupport::captureStdout([&] { choose(other); }).isEmpty());
        QVERIFY(e->rows().isEmpty() && e->settings().isEmpty() && written.isEmpty());
        QCOMPARE(testsupport::readFile(e->config.playlistFileURL(other)), "{\"tracks\": [1]}");
        QCOMPARE(e->config.currentPlaylistIndex(), 0);
    }

    // The question stays while another playlist is chosen and then applies to that one.
    // (Deleting the last playlist leaves a fresh one: the catalogue's own test.)
    void deleteAsksThenDeletesTheChosenPlaylist()
    {
        e->config.setPlaylists({Playlist{e->shown(), "Mine"}});
        e->config.createPlaylist();
        const QList<Playlist> before = e->config.playlists();
        QPushButton* button = e->view->deleteButton();
        QTest::mouseClick(button, Qt::LeftButton);
        QCOMPARE(button->text(), "Are you sure?");
        QCOMPARE(e->config.playlists(), before);
        choose(before.at(1).id);
        QTest::mouseClick(button, Qt::LeftButton);
        QCOMPARE(e->config.playlists(), QList<Playlist>{before.at(0)});
        QCOMPARE(e->view->nameField()->text() + button->text(), "MineDelete playlist...");
    }

    // Tracks added from outside (the command line, a second start) show at once, and the next
    // edit here keeps them.
    void outsideSaveReachesTheEditor()
    {
        e->fill({"Old", "Gone"});
        e->config.savePlaylist(e->shown(), e->stored(e->shown()) + tracksNamed({"Added"}));
        QCOMPARE(e->rows(), (QStringList{"Old", "Gone", "Added"}));
        e->view->deleteTrack(e->view->selectedTracks().at(1).id);
        QCOMPARE(e->storedNames(e->shown()), (QStringList{"Old", "Added"}));
    }

    // The dragged row follows the pointer over the rows, unsaved; a drop on a row writes the
    // order once, a drag that leaves the table or ends below the rows writes nothing. Text from
    // another program moves nothing; its drop writes the list unchanged.
    void reorder_data()
    {
        // the dragged row ("-": text from another program), the rows passed in turn ("-": only
        // below the rows), how the drag ends, the order then shown
        QTest::addColumn<QString>("drag");
        QTest::newRow("A over C") << "A C drop BCAD";
        QTest::newRow("D over B") << "D B drop ADBC";
        QTest::newRow("B over B") << "B B drop ABCD";
        QTest::newRow("A over B, C, D") << "A BCD drop BCDA";
        QTest::newRow("C over A, D") << "C AD drop ABDC";
        QTest::newRow("A over C, out") << "A C leave BCAD";
        QTest::newRow("A below the rows") << "A - below ABCD";
        QTest::newRow("foreign text") << "- C drop ABCD";
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
        QVERIFY(send<QDragEnterEvent>(mime.get(), cell(dragged.isEmpty() ? 'A' : dragged[0])));
        QPoint pointer(40, e->view->trackTable()->viewport()->height() - 2);
        QVERIFY(!send<QDragMoveEvent>(mime.get(), pointer));
        for (const QChar name : over) {
            pointer = cell(name, TrackTableModel::ArtistColumn);
            QVERIFY(send<QDragMoveEvent>(mime.get(), pointer));
        }
        QDragLeaveEvent leave;
        if (end == "leave")
            QApplication::sendEvent(e->view->trackTable()->viewport(), &leave);
        else
            QCOMPARE(send<QDropEvent>(mime.get(), pointer), end == "drop");
        QCOMPARE(e->view->draggedTrack().value_or(Track{}).trackName, end == "drop" ? "" : dragged);
        QCOMPARE(e->rows().join(""), order);
        QCOMPARE(e->storedNames(e->shown()).join(""), end == "drop" ? order : "ABCD");
        QCOMPARE(written.count(), int(end == "drop"));
    }

    // a drag carries the row's id, never a pointer into the list: a reload meanwhile stops it
    void reloadDuringADragStopsTheMoves()
    {
        e->fill({"A", "B", "C"});
        std::unique_ptr<QMimeData> mime(e->view->beginTrackDrag(0));
        QCOMPARE(mime->data(TrackTableView::trackIdMimeType()),
                 uuidString(e->view->selectedTracks().first().id).toUtf8());
        e->fill({"X", "Y"});
        e->view->dropDelegate(1).dropEntered();
        QCOMPARE(e->rows(), (QStringList{"X", "Y"}));
    }
};

QTEST_MAIN(TestPlaylistEditor)
#include "tst_playlisteditor.moc"
