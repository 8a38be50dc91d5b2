#include "settingstest.h"
#include "ui/settings/playlistsettingsview.h"
#include "ui/settings/trackdropdelegate.h"
#include "ui/settings/tracktablemodel.h"
#include "ui/settings/tracktableview.h"

#include <QAbstractItemModelTester>
#include <QComboBox>
#include <QLineEdit>
#include <QMimeData>
#include <QPushButton>
#include <QSignalSpy>
#include <QToolButton>
#include <QtTest>

using settingstest::namesOf;
using settingstest::SettingsWatch;
using settingstest::storedTracks;
using settingstest::tracksNamed;

class TestPlaylistEditor : public QObject {
    Q_OBJECT

    std::unique_ptr<testsupport::TempHome> m_home;
    std::unique_ptr<Config> m_config;
    std::unique_ptr<PlaylistSettingsView> m_view;
    std::unique_ptr<QAbstractItemModelTester> m_tester;

    void openEditor()
    {
        m_view = std::make_unique<PlaylistSettingsView>(m_config.get());
        m_tester = std::make_unique<QAbstractItemModelTester>(
            m_view->trackModel(), QAbstractItemModelTester::FailureReportingMode::QtTest);
        m_view->resize(640, 480);
        m_view->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_view.get()));
    }

    QUuid shownID() const { return *m_view->effectivePlaylistID(); }

    // the shown playlist holds these tracks, in its file and in the table
    void fill(const QStringList& names)
    {
        m_config->savePlaylist(shownID(), tracksNamed(names));
        m_view->reloadTracks();
        QCOMPARE(namesOf(m_view->selectedTracks()), names);
    }

    int rowOf(const QString& name) const
    {
        return int(namesOf(m_view->selectedTracks()).indexOf(name));
    }

    QPoint cellCentre(int row, int column) const
    {
        return m_view->trackTable()->visualRect(m_view->trackModel()->index(row, column)).center();
    }

    void choose(const QUuid& id)
    {
        const int index = m_view->picker()->findData(id);
        QVERIFY(index >= 0);
        m_view->picker()->setCurrentIndex(index);
        emit m_view->picker()->activated(index);
    }

    template <typename Event, typename... Args> bool sendToTable(Args&&... args)
    {
        Event event(std::forward<Args>(args)...);
        QApplication::sendEvent(m_view->trackTable()->viewport(), &event);
        return event.isAccepted();
    }

    bool dragEnter(const QMimeData* mime, const QPoint& pos)
    {
        return sendToTable<QDragEnterEvent>(pos, Qt::MoveAction | Qt::CopyAction, mime,
                                            Qt::LeftButton, Qt::NoModifier);
    }
    bool dragMove(const QMimeData* mime, const QPoint& pos)
    {
        return sendToTable<QDragMoveEvent>(pos, Qt::MoveAction | Qt::CopyAction, mime,
                                           Qt::LeftButton, Qt::NoModifier);
    }
    bool drop(const QMimeData* mime, const QPoint& pos)
    {
        return sendToTable<QDropEvent>(QPointF(pos), Qt::MoveAction | Qt::CopyAction, mime,
                                       Qt::LeftButton, Qt::NoModifier);
    }

private slots:
    void init()
    {
        m_home = std::make_unique<testsupport::TempHome>();
        m_config = std::make_unique<Config>();
        m_config->setPlaysSounds(false); // the sound cases are in tst_settingssounds
        m_config->setPlaylists({});
    }
    void cleanup()
    {
        m_tester.reset();
        m_view.reset();
        m_config.reset();
        m_home.reset();
    }

    void openingWithNoPlaylistsMakesOne()
    {
        openEditor();
        QCOMPARE(m_config->playlists().size(), 1);
        const Playlist made = m_config->playlists().first();
        QCOMPARE(made.name, "Untitled");
        QCOMPARE(m_view->selectedPlaylistID(), made.id);
        QCOMPARE(m_view->picker()->currentText(), "Untitled");
        QCOMPARE(m_view->nameField()->text(), "Untitled");
        QVERIFY(m_view->selectedTracks().isEmpty());
    }

    void withoutSelectionTheFirstPlaylistIsShown()
    {
        m_config->createPlaylist();
        m_config->createPlaylist();
        const QUuid first = m_config->playlists().first().id;
        m_config->savePlaylist(first, tracksNamed({"A"}));
        m_view = std::make_unique<PlaylistSettingsView>(m_config.get());
        // not shown yet: nothing chosen, the first playlist stands in
        QVERIFY(!m_view->selectedPlaylistID());
        QCOMPARE(m_view->effectivePlaylistID(), first);
        QCOMPARE(m_view->picker()->currentData().toUuid(), first);
        m_view->reloadTracks();
        QCOMPARE(namesOf(m_view->selectedTracks()), QStringList{"A"});
    }

    void newPlaylistIsChosenWithAnEmptyTable()
    {
        openEditor();
        fill({"A", "B"});
        SettingsWatch settings(m_home->settingsFile());
        QTest::mouseClick(m_view->newPlaylistButton(), Qt::LeftButton);
        QCOMPARE(m_config->playlists().size(), 2);
        const QUuid made = m_config->playlists().last().id;
        QCOMPARE(m_view->selectedPlaylistID(), made);
        QVERIFY(m_view->selectedTracks().isEmpty());
        QCOMPARE(m_view->picker()->currentData().toUuid(), made);
        QVERIFY(settings.written());
        QVERIFY(QFile::exists(m_config->playlistFileURL(made)));
    }

    void atMostTwentyPlaylistsFromTheButton()
    {
        openEditor();
        while (m_config->playlists().size() < 19)
            m_config->createPlaylist();
        QVERIFY(m_view->newPlaylistButton()->isVisible());
        QTest::mouseClick(m_view->newPlaylistButton(), Qt::LeftButton);
        QCOMPARE(m_config->playlists().size(), 20);
        QVERIFY(!m_view->newPlaylistButton()->isVisible());
        m_config->deletePlaylist(m_config->playlists().first().id);
        QVERIFY(m_view->newPlaylistButton()->isVisible());
    }

    void renameKeepsThirtyTwoCharacters_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("kept");
        const QString family =
            QString::fromUtf8("\U0001F468\u200D\U0001F469\u200D\U0001F467\u200D\U0001F466");
        const QString decomposedE = QString::fromUtf8("e\u0301");
        const QString flag = QString::fromUtf8("\U0001F1E9\U0001F1EA");
        QTest::newRow("40 ASCII letters") << QString(40, 'x') << QString(32, 'x');
        QTest::newRow("exactly 32") << QString(32, 'y') << QString(32, 'y');
        QTest::newRow("combining accents count once")
            << decomposedE.repeated(40) << decomposedE.repeated(32);
        QTest::newRow("ZWJ family emoji count once") << family.repeated(33) << family.repeated(32);
        QTest::newRow("flags count once") << flag.repeated(35) << flag.repeated(32);
        QTest::newRow("emoji cut after 31 letters")
            << QString(31, 'a') + family + family << QString(31, 'a') + family;
        QTest::newRow("empty") << ""
                               << "";
    }
    void renameKeepsThirtyTwoCharacters()
    {
        QFETCH(QString, typed);
        QFETCH(QString, kept);
        openEditor();
        QSignalSpy tracksWritten(m_config.get(), &Config::playlistSaved);
        SettingsWatch settings(m_home->settingsFile());
        m_view->nameField()->selectAll();
        if (typed.isEmpty()) {
            QTest::keyClick(m_view->nameField(), Qt::Key_Backspace);
        } else {
            // text arrives as an input method would commit it, replacing the selection
            QInputMethodEvent commit;
            commit.setCommitString(typed);
            QApplication::sendEvent(m_view->nameField(), &commit);
        }
        QCOMPARE(m_view->nameField()->text(), kept);
        QCOMPARE(m_config->playlists().first().name, kept);
        QCOMPARE(m_view->picker()->currentText(), kept);
        QCOMPARE(settings.json()["playlists"].toArray().first()["name"].toString(), kept);
        QCOMPARE(tracksWritten.count(), 0);
    }

    void renameWritesOnEveryKeystroke()
    {
        openEditor();
        m_view->nameField()->setFocus();
        m_view->nameField()->selectAll();
        SettingsWatch settings(m_home->settingsFile());
        for (const QChar c : QStringLiteral("Road")) {
            settings.reset();
            QTest::keyClick(m_view->nameField(), c.toLatin1());
            QVERIFY(settings.written());
        }
        QCOMPARE(m_config->playlists().first().name, "Road");
    }

    void cellEditsWriteThePlaylist_data()
    {
        QTest::addColumn<int>("column");
        QTest::addColumn<QString>("text");
        QTest::newRow("name") << int(TrackTableModel::NameColumn) << "New name";
        QTest::newRow("artist") << int(TrackTableModel::ArtistColumn) << "New artist";
        QTest::newRow("blanks kept") << int(TrackTableModel::NameColumn) << "  padded  ";
        QTest::newRow("emptied name") << int(TrackTableModel::NameColumn) << "";
    }
    void cellEditsWriteThePlaylist()
    {
        QFETCH(int, column);
        QFETCH(QString, text);
        openEditor();
        fill({"A", "B"});
        QSignalSpy written(m_config.get(), &Config::playlistSaved);
        QVERIFY(m_view->trackModel()->setData(m_view->trackModel()->index(1, column), text));
        QCOMPARE(written.count(), 1);
        const Track stored = storedTracks(*m_config, shownID()).at(1);
        QCOMPARE(column == TrackTableModel::NameColumn ? stored.trackName : stored.artist, text);
        QCOMPARE(stored, m_view->selectedTracks().at(1));
    }

    void typingInACellWritesEachKeystroke()
    {
        openEditor();
        fill({"A"});
        TrackTableView* table = m_view->trackTable();
        table->edit(m_view->trackModel()->index(0, TrackTableModel::NameColumn));
        auto* editor = table->viewport()->findChild<QLineEdit*>();
        QVERIFY(editor);
        editor->selectAll();
        QSignalSpy written(m_config.get(), &Config::playlistSaved);
        QTest::keyClicks(editor, "Hey");
        QCOMPARE(written.count(), 3);
        const QUuid id = shownID();
        QCOMPARE(storedTracks(*m_config, id).first().trackName, "Hey");
        // closing the window with the editor still open commits once more into a dying view
        m_tester.reset();
        m_view.reset();
        QCOMPARE(storedTracks(*m_config, id).first().trackName, "Hey");
    }

    void trashRemovesOnlyItsRow()
    {
        openEditor();
        fill({"A", "B", "C"});
        QSignalSpy written(m_config.get(), &Config::playlistSaved);
        QTest::mouseClick(m_view->trackTable()->viewport(), Qt::LeftButton, {},
                          cellCentre(1, TrackTableModel::TrashColumn));
        QCOMPARE(namesOf(m_view->selectedTracks()), (QStringList{"A", "C"}));
        QCOMPARE(written.count(), 1);
        QCOMPARE(namesOf(storedTracks(*m_config, shownID())), (QStringList{"A", "C"}));
    }

    void choosingAnotherPlaylistWritesNothing()
    {
        openEditor();
        fill({"A"});
        m_config->createPlaylist();
        const QUuid other = m_config->playlists().last().id;
        m_config->savePlaylist(other, tracksNamed({"X", "Y"}));
        SettingsWatch settings(m_home->settingsFile());
        QSignalSpy written(m_config.get(), &Config::playlistSaved);
        choose(other);
        QCOMPARE(m_view->selectedPlaylistID(), other);
        QCOMPARE(namesOf(m_view->selectedTracks()), (QStringList{"X", "Y"}));
        QCOMPARE(m_view->nameField()->text(), "Untitled");
        QVERIFY(!settings.written());
        QCOMPARE(written.count(), 0);
        // the player keeps playing what it played
        QCOMPARE(m_config->currentPlaylistIndex(), 0);
    }

    void damagedPlaylistFileShowsEmptyAndStaysUntilEdited()
    {
        openEditor();
        const QString file = m_config->playlistFileURL(shownID());
        QVERIFY(testsupport::writeFile(file, "{\"tracks\": [{\"id\": 1}]}"));
        const QString printed = testsupport::captureStdout([&] { m_view->reloadTracks(); });
        QVERIFY(!printed.isEmpty());
        QVERIFY(m_view->selectedTracks().isEmpty());
        QCOMPARE(testsupport::readFile(file), QByteArray("{\"tracks\": [{\"id\": 1}]}"));
    }

    void deleteAsksThenDeletesTheChosenPlaylist()
    {
        openEditor();
        m_config->createPlaylist();
        m_config->createPlaylist();
        const QList<Playlist> before = m_config->playlists();
        QPushButton* button = m_view->deleteButton();
        QCOMPARE(button->text(), "Delete playlist...");
        QTest::mouseClick(button, Qt::LeftButton);
        QVERIFY(m_view->deletePlaylistWarning());
        QCOMPARE(button->text(), "Are you sure?");
        QCOMPARE(m_config->playlists(), before);

        // the question stays while another playlist is chosen, and applies to that one
        choose(before.at(1).id);
        QCOMPARE(button->text(), "Are you sure?");
        QTest::mouseClick(button, Qt::LeftButton);
        QCOMPARE(m_config->playlists(), (QList<Playlist>{before.at(0), before.at(2)}));
        QVERIFY(!QFile::exists(m_config->playlistFileURL(before.at(1).id)));
        QCOMPARE(m_view->selectedPlaylistID(), before.at(0).id);
        QVERIFY(!m_view->deletePlaylistWarning());
        QCOMPARE(button->text(), "Delete playlist...");
    }

    void deletingTheOnlyPlaylistLeavesAnEmptyUntitled()
    {
        openEditor();
        fill({"A", "B"});
        m_config->setPlaylists({Playlist{shownID(), "Mine"}});
        const QUuid old = shownID();
        m_view->requestDeletePlaylist();
        m_view->confirmDeletePlaylist();
        QCOMPARE(m_config->playlists().size(), 1);
        const Playlist left = m_config->playlists().first();
        QVERIFY(left.id != old);
        QCOMPARE(left.name, "Untitled");
        QCOMPARE(m_view->selectedPlaylistID(), left.id);
        QVERIFY(m_view->selectedTracks().isEmpty());
        QVERIFY(!QFile::exists(m_config->playlistFileURL(old)));
        QCOMPARE(m_view->nameField()->text(), "Untitled");
    }

    void reorder_data()
    {
        QTest::addColumn<QString>("dragged");
        QTest::addColumn<QStringList>("over");
        QTest::addColumn<QStringList>("order");
        QTest::newRow("A over C") << "A" << QStringList{"C"} << QStringList{"B", "C", "A", "D"};
        QTest::newRow("D over B") << "D" << QStringList{"B"} << QStringList{"A", "D", "B", "C"};
        QTest::newRow("B over B") << "B" << QStringList{"B"} << QStringList{"A", "B", "C", "D"};
        QTest::newRow("A over B, C, D")
            << "A" << QStringList{"B", "C", "D"} << QStringList{"B", "C", "D", "A"};
        QTest::newRow("C over A then back over D")
            << "C" << QStringList{"A", "D"} << QStringList{"A", "B", "D", "C"};
    }
    void reorder()
    {
        QFETCH(QString, dragged);
        QFETCH(QStringList, over);
        QFETCH(QStringList, order);
        openEditor();
        fill({"A", "B", "C", "D"});
        QSignalSpy written(m_config.get(), &Config::playlistSaved);
        std::unique_ptr<QMimeData> mime(m_view->beginTrackDrag(rowOf(dragged)));
        QCOMPARE(mime->data(TrackTableView::trackIdMimeType()),
                 uuidString(m_view->draggedTrack()->id).toUtf8());
        QVERIFY(dragEnter(mime.get(), cellCentre(rowOf(dragged), TrackTableModel::NameColumn)));
        QPoint pointer;
        for (const QString& name : over) {
            pointer = cellCentre(rowOf(name), TrackTableModel::ArtistColumn);
            QVERIFY(dragMove(mime.get(), pointer));
            // small moves inside the same row change nothing more
            QVERIFY(dragMove(mime.get(), pointer + QPoint(3, 1)));
        }
        QCOMPARE(namesOf(m_view->selectedTracks()), order);
        QCOMPARE(written.count(), 0);
        QVERIFY(drop(mime.get(), pointer));
        QCOMPARE(written.count(), 1);
        QCOMPARE(namesOf(storedTracks(*m_config, shownID())), order);
        QVERIFY(!m_view->draggedTrack());
    }

    void dragLeavingTheTableKeepsTheOrderUnsaved()
    {
        openEditor();
        fill({"A", "B", "C", "D"});
        QSignalSpy written(m_config.get(), &Config::playlistSaved);
        std::unique_ptr<QMimeData> mime(m_view->beginTrackDrag(0));
        QVERIFY(dragEnter(mime.get(), cellCentre(0, TrackTableModel::NameColumn)));
        QVERIFY(dragMove(mime.get(), cellCentre(2, TrackTableModel::NameColumn)));
        sendToTable<QDragLeaveEvent>();
        QCOMPARE(namesOf(m_view->selectedTracks()), (QStringList{"B", "C", "A", "D"}));
        QCOMPARE(written.count(), 0);
        QCOMPARE(namesOf(storedTracks(*m_config, shownID())), (QStringList{"A", "B", "C", "D"}));
        QCOMPARE(m_view->draggedTrack()->trackName, "A");
    }

    void dropBelowTheRowsIsNotTaken()
    {
        openEditor();
        fill({"A", "B"});
        QSignalSpy written(m_config.get(), &Config::playlistSaved);
        std::unique_ptr<QMimeData> mime(m_view->beginTrackDrag(0));
        const QPoint below(40, m_view->trackTable()->viewport()->height() - 2);
        QVERIFY(dragEnter(mime.get(), cellCentre(0, TrackTableModel::NameColumn)));
        QVERIFY(!dragMove(mime.get(), below));
        QVERIFY(!drop(mime.get(), below));
        QCOMPARE(written.count(), 0);
    }

    void foreignTextDropRewritesUnchanged()
    {
        openEditor();
        fill({"A", "B", "C"});
        QSignalSpy written(m_config.get(), &Config::playlistSaved);
        QMimeData text;
        text.setText("some words");
        QVERIFY(dragEnter(&text, cellCentre(0, TrackTableModel::NameColumn)));
        QVERIFY(dragMove(&text, cellCentre(2, TrackTableModel::NameColumn)));
        QVERIFY(drop(&text, cellCentre(2, TrackTableModel::NameColumn)));
        QCOMPARE(namesOf(m_view->selectedTracks()), (QStringList{"A", "B", "C"}));
        QCOMPARE(written.count(), 1);
    }

    void webLinksAreRefused()
    {
        openEditor();
        fill({"A"});
        QMimeData link;
        link.setUrls({QUrl("https://example.org/song.mp3")});
        link.setText("https://example.org/song.mp3");
        QVERIFY(!dragEnter(&link, cellCentre(0, TrackTableModel::NameColumn)));
        QVERIFY(!m_view->importDroppedFiles(&link));
        QVERIFY(!drop(&link, cellCentre(0, TrackTableModel::NameColumn)));
        QCOMPARE(namesOf(m_view->selectedTracks()), QStringList{"A"});
    }

    void reloadDuringADragStopsTheMoves()
    {
        openEditor();
        fill({"A", "B", "C"});
        delete m_view->beginTrackDrag(0);
        m_config->savePlaylist(shownID(), tracksNamed({"X", "Y"}));
        m_view->reloadTracks();
        m_view->dropDelegate(1).dropEntered();
        QCOMPARE(namesOf(m_view->selectedTracks()), (QStringList{"X", "Y"}));
    }
};

QTEST_MAIN(TestPlaylistEditor)
#include "tst_playlisteditor.moc"
