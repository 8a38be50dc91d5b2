#include "ui/settings/playlistsettingsview.h"

#include "model/config.h"
#include "core/output.h"
#include "model/playlistformats.h"
#include "ui/settings/settingsicons.h"
#include "ui/settings/trackdropdelegate.h"
#include "ui/settings/trackimport.h"
#include "ui/settings/tracktablemodel.h"
#include "ui/settings/tracktableview.h"

#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QFutureWatcher>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QMessageBox>
#include <QMimeData>
#include <QPushButton>
#include <QScopedValueRollback>
#include <QShowEvent>
#include <QSignalBlocker>
#include <QStandardPaths>
#include <QTextBoundaryFinder>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>
#include <QtConcurrent>

PlaylistSettingsView::PlaylistSettingsView(Config* config, QWidget* parent)
    : QWidget(parent), m_config(config), m_tracks(new TrackTableModel(this))
{
    buildLayout();

    connect(m_picker, &QComboBox::activated, this,
            [this](int index) { setSelectedPlaylistID(m_picker->itemData(index).toUuid()); });
    connect(m_newButton, &QToolButton::clicked, this, &PlaylistSettingsView::newPlaylist);
    connect(m_nameField, &QLineEdit::textEdited, this, &PlaylistSettingsView::renamePlaylist);
    connect(m_addButton, &QPushButton::clicked, this, &PlaylistSettingsView::addTracksFromPanel);
    connect(m_deleteButton, &QPushButton::clicked, this, [this] {
        m_deletePlaylistWarning ? confirmDeletePlaylist() : requestDeletePlaylist();
    });
    connect(m_tracks, &TrackTableModel::trackEdited, this,
            &PlaylistSettingsView::saveSelectedTracks);
    connect(m_config, &Config::playlistsChanged, this, &PlaylistSettingsView::syncControls);
    connect(m_exportButton, &QPushButton::clicked, this, &PlaylistSettingsView::exportFromPanel);
    // tracks added from outside (the command line, a second start) show at once, and the
    // next edit here does not write over them
    connect(m_config, &Config::playlistSaved, this, &PlaylistSettingsView::takeOutsideSave);

    m_table->setHooks({
        .beginDrag = [this](int row) { return beginTrackDrag(row); },
        .dropDelegate = [this](int row) { return dropDelegate(row); },
        .importDrop = [this](const QMimeData* mime) { return importDroppedFiles(mime); },
        .deleteRow = [this](int row) { deleteTrack(m_tracks->tracks().at(row).id); },
    });
    syncControls();
}

PlaylistSettingsView::~PlaylistSettingsView()
{
    writePendingRows();
    // closing the window commits an open cell editor; every keystroke was written already,
    // and this view is half gone by then
    disconnect(m_tracks, nullptr, this, nullptr);
    m_table->setHooks({});
}

void PlaylistSettingsView::buildLayout()
{
    m_picker = new QComboBox(this);
    m_picker->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    m_newButton = new QToolButton(this);
    m_newButton->setAutoRaise(true);
    m_newButton->setIcon(settingsicons::newPlaylist());
    m_newButton->setToolTip(tr("New playlist"));

    m_nameField = new QLineEdit(this);
    m_nameField->setFrame(false);
    QFont nameFont = m_nameField->font();
    nameFont.setBold(true);
    nameFont.setPointSize(24);
    m_nameField->setFont(nameFont);
    m_nameField->setTextMargins(12, 0, 12, 0);
    // a plain field: the name reads as a title until it is edited
    m_nameField->setStyleSheet(QStringLiteral("QLineEdit { background: transparent; }"));

    m_table = new TrackTableView(this);
    m_table->setModel(m_tracks);
    m_table->setStyleSheet(QStringLiteral("QTableView { border-radius: 4px; }"));

    m_addButton = new QPushButton(tr("Add tracks..."), this);
    m_exportButton = new QPushButton(tr("Export playlist..."), this);
    m_deleteButton = new QPushButton(tr("Delete playlist..."), this);

    auto* pickerRow = new QHBoxLayout;
    pickerRow->addStretch();
    pickerRow->addWidget(m_picker);
    pickerRow->addWidget(m_newButton);
    pickerRow->addStretch();

    auto* editor = new QVBoxLayout;
    editor->setContentsMargins(12, 0, 12, 0);
    editor->addWidget(m_nameField);
    editor->addWidget(m_table, 1);

    auto* buttonRow = new QHBoxLayout;
    buttonRow->addStretch();
    buttonRow->addWidget(m_addButton);
    buttonRow->addWidget(m_exportButton);
    buttonRow->addWidget(m_deleteButton);
    buttonRow->addStretch();

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(pickerRow);
    layout->addLayout(editor, 1);
    layout->addLayout(buttonRow);
}

QString PlaylistSettingsView::leadingCharacters(const QString& text, int count)
{
    QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, text);
    int kept = 0;
    while (kept < count && finder.toNextBoundary() != -1)
        ++kept;
    return kept < count ? text : text.left(finder.position());
}

void PlaylistSettingsView::setSelectedPlaylistID(std::optional<QUuid> id)
{
    if (id == m_selectedPlaylistID)
        return;
    writePendingRows();
    m_selectedPlaylistID = id;
    reloadTracks();
    syncControls();
}

std::optional<QUuid> PlaylistSettingsView::effectivePlaylistID() const
{
    if (m_selectedPlaylistID)
        return m_selectedPlaylistID;
    const QList<Playlist> playlists = m_config->playlists();
    if (playlists.isEmpty())
        return std::nullopt;
    return playlists.first().id;
}

std::optional<Playlist> PlaylistSettingsView::currentPlaylist() const
{
    const auto id = effectivePlaylistID();
    if (!id)
        return std::nullopt;
    for (const Playlist& playlist : m_config->playlists()) {
        if (playlist.id == *id)
            return playlist;
    }
    return std::nullopt;
}

const QList<Track>& PlaylistSettingsView::selectedTracks() const
{
    return m_tracks->tracks();
}

void PlaylistSettingsView::refreshEditor()
{
    if (m_config->playlists().isEmpty())
        m_config->createPlaylist();
    if (!m_selectedPlaylistID) {
        const QList<Playlist> playlists = m_config->playlists();
        setSelectedPlaylistID(playlists.isEmpty() ? std::nullopt
                                                  : std::optional<QUuid>(playlists.first().id));
    }
    reloadTracks();
    syncControls();
}

void PlaylistSettingsView::reloadTracks()
{
    writePendingRows();
    const auto id = effectivePlaylistID();
    if (!id)
        return;
    // the store's reading rules: unreadable is empty silently, undecodable is printed
    m_tracks->setTracks(m_config->loadTracks(Playlist{*id, {}}));
}

void PlaylistSettingsView::saveSelectedTracks()
{
    if (const auto id = effectivePlaylistID())
        writeTracks(*id, m_tracks->tracks());
}

void PlaylistSettingsView::newPlaylist()
{
    m_config->createPlaylist();
    const QList<Playlist> playlists = m_config->playlists();
    setSelectedPlaylistID(playlists.isEmpty() ? std::nullopt
                                              : std::optional<QUuid>(playlists.last().id));
    reloadTracks();
}

void PlaylistSettingsView::renamePlaylist(const QString& text)
{
    const QString kept = leadingCharacters(text, kMaxNameLength);
    if (kept != m_nameField->text()) {
        const int cursor = std::min(m_nameField->cursorPosition(), int(kept.size()));
        m_nameField->setText(kept);
        m_nameField->setCursorPosition(cursor);
    }
    const auto playlist = currentPlaylist();
    if (!playlist)
        return;
    QList<Playlist> playlists = m_config->playlists();
    const auto it = std::find_if(playlists.begin(), playlists.end(),
                                 [&](const Playlist& p) { return p.id == playlist->id; });
    if (it == playlists.end())
        return;
    it->name = kept;
    m_config->setPlaylists(playlists);
    m_config->saveSettings();
}

void PlaylistSettingsView::deleteTrack(const QUuid& id)
{
    m_tracks->removeTracks(id);
    saveSelectedTracks();
}

void PlaylistSettingsView::requestDeletePlaylist()
{
    m_deletePlaylistWarning = true;
    syncControls();
}

void PlaylistSettingsView::confirmDeletePlaylist()
{
    if (!m_selectedPlaylistID)
        return;
    writePendingRows();
    m_config->deletePlaylist(*m_selectedPlaylistID);
    const QList<Playlist> playlists = m_config->playlists();
    setSelectedPlaylistID(playlists.isEmpty() ? std::nullopt
                                              : std::optional<QUuid>(playlists.first().id));
    refreshEditor();
    m_deletePlaylistWarning = false;
    syncControls();
}

namespace {

// The dialog of "Add tracks...": files and folders alike may be chosen. A double click opens
// a folder; "Open" takes what is selected, folders included. The desktop's own dialogs choose
// either files or folders, never both.
class FilesAndFoldersDialog final : public QFileDialog {
public:
    FilesAndFoldersDialog(QWidget* parent, const QString& title) : QFileDialog(parent, title)
    {
        setOption(QFileDialog::DontUseNativeDialog);
        setFileMode(QFileDialog::ExistingFiles);
        setAcceptMode(QFileDialog::AcceptOpen);
    }

    void accept() override
    {
        const QStringList chosen = selectedFiles();
        const auto isDir = [](const QString& path) { return QFileInfo(path).isDir(); };
        const auto exists = [](const QString& path) { return QFileInfo::exists(path); };
        if (chosen.isEmpty() || std::none_of(chosen.begin(), chosen.end(), isDir) ||
            !std::all_of(chosen.begin(), chosen.end(), exists)) {
            QFileDialog::accept();
            return;
        }
        emit filesSelected(chosen);
        QDialog::accept();
    }
};

} // namespace

void PlaylistSettingsView::addTracksFromPanel()
{
    const auto target = effectivePlaylistID();
    if (!target)
        return;
    auto* dialog = new FilesAndFoldersDialog(this, tr("Add track to playlist"));
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    connect(
        dialog, &QFileDialog::filesSelected, this,
        [this, target = *target](const QStringList& files) { startImport(files, target, true); });
    dialog->open();
}

void PlaylistSettingsView::importFiles(const QStringList& paths)
{
    if (const auto target = effectivePlaylistID())
        startImport(paths, *target, true);
}

bool PlaylistSettingsView::importDroppedFiles(const QMimeData* mime)
{
    QStringList files;
    for (const QUrl& url : mime->urls()) {
        if (url.isLocalFile())
            files.append(url.toLocalFile());
    }
    if (files.isEmpty())
        return false;
    if (const auto target = effectivePlaylistID())
        startImport(files, *target, false);
    return true;
}

void PlaylistSettingsView::startImport(const QStringList& paths, const QUuid& target, bool isPanel)
{
    // lists are opened off the main thread too: their entries take the place of the list
    auto* expansion = new QFutureWatcher<playlistformats::Expansion>(this);
    connect(expansion, &QFutureWatcherBase::finished, this, [=, this] {
        expansion->deleteLater();
        const playlistformats::Expansion result = expansion->result();
        for (const QString& line : result.skipped)
            printLine(line);
        // a list's entries and a folder's files keep their order, also when they were dropped
        const bool inOrder =
            isPanel || std::any_of(paths.begin(), paths.end(), [](const QString& path) {
                return playlistformats::isPlaylistFile(path) || QFileInfo(path).isDir();
            });
        readImported(result.items, target, isPanel, inOrder);
    });
    expansion->setFuture(QtConcurrent::run([paths] { return playlistformats::expand(paths); }));
}

void PlaylistSettingsView::readImported(const QList<playlistformats::Item>& items,
                                        const QUuid& target, bool isPanel, bool inOrder)
{
    using Watcher = QFutureWatcher<trackimport::ImportResult>;
    auto* watcher = new Watcher(this);
    const auto playable = [watcher](int begin, int end) {
        QList<Track> tracks;
        for (int i = begin; i < end; ++i) {
            const trackimport::ImportResult result = watcher->resultAt(i);
            if (result.track)
                tracks.append(*result.track);
            else if (!result.skipped.isEmpty())
                printLine(result.skipped);
        }
        return tracks;
    };
    if (inOrder) {
        // one write for the whole import, in the panel's (or the list's) order
        connect(watcher, &QFutureWatcherBase::finished, this, [=, this] {
            appendImported(target, playable(0, watcher->future().resultCount()), isPanel);
        });
    } else {
        // Dropped files are appended as their reads finish; the rows that arrive in one pass
        // of the event loop share a write, so a big drop does not rewrite the list per file.
        connect(watcher, &QFutureWatcherBase::resultsReadyAt, this, [=, this](int begin, int end) {
            appendImported(target, playable(begin, end), false);
        });
    }
    connect(watcher, &QFutureWatcherBase::finished, this, [this, watcher, target] {
        watcher->deleteLater();
        writePendingRows();
        emit importFinished(target);
    });
    watcher->setFuture(QtConcurrent::mapped(items, &trackimport::readItem));
}

void PlaylistSettingsView::appendImported(const QUuid& target, const QList<Track>& tracks,
                                          bool writeAlways)
{
    if (tracks.isEmpty() && !writeAlways)
        return;
    if (effectivePlaylistID() == target) {
        if (writeAlways) {
            m_tracks->appendTracks(tracks);
            writeTracks(target, m_tracks->tracks());
            return;
        }
        // marked before the rows show, so anything that replaces the list meanwhile writes them
        if (!m_pendingRows) {
            m_pendingRows = target;
            QTimer::singleShot(0, this, &PlaylistSettingsView::writePendingRows);
        }
        m_tracks->appendTracks(tracks);
        return;
    }
    // Another playlist is shown now: the rows still go to the playlist they were added to,
    // through its file; a playlist deleted meanwhile gets nothing (no orphan file).
    const QList<Playlist> playlists = m_config->playlists();
    const bool listed = std::any_of(playlists.begin(), playlists.end(),
                                    [&](const Playlist& p) { return p.id == target; });
    if (!listed)
        return;
    writeTracks(target, m_config->loadTracks(Playlist{target, {}}) + tracks);
}

void PlaylistSettingsView::takeOutsideSave(const QUuid& id)
{
    if (m_writing || id != effectivePlaylistID())
        return;
    QList<Track> tracks = m_config->loadTracks(Playlist{id, {}});
    if (!std::exchange(m_pendingRows, std::nullopt)) {
        m_tracks->setTracks(tracks);
        return;
    }
    // dropped rows not written yet follow what came from outside
    QSet<QUuid> saved;
    for (const Track& track : std::as_const(tracks))
        saved.insert(track.id);
    for (const Track& track : m_tracks->tracks()) {
        if (!saved.contains(track.id))
            tracks.append(track);
    }
    m_tracks->setTracks(tracks);
    writeTracks(id, tracks);
}

void PlaylistSettingsView::writeTracks(const QUuid& id, const QList<Track>& tracks)
{
    const QScopedValueRollback writing(m_writing, true);
    m_config->savePlaylist(id, tracks);
}

void PlaylistSettingsView::exportFromPanel()
{
    const auto playlist = currentPlaylist();
    if (!playlist)
        return;
    QString name = playlist->name;
    name.replace(QLatin1Char('/'), QLatin1Char('-'));
    // the music folder where there is one, else home
    QString dir = QStandardPaths::writableLocation(QStandardPaths::MusicLocation);
    if (dir.isEmpty() || !QFileInfo(dir).isDir())
        dir = QDir::homePath();
    auto* dialog = new QFileDialog(this, tr("Export playlist"),
                                   QDir(dir).filePath(name + QStringLiteral(".m3u8")),
                                   tr("M3U8 playlist (*.m3u8)"));
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->setAcceptMode(QFileDialog::AcceptSave);
    dialog->setDefaultSuffix(QStringLiteral("m3u8"));
    connect(dialog, &QFileDialog::fileSelected, this, &PlaylistSettingsView::exportPlaylist);
    dialog->open();
}

bool PlaylistSettingsView::exportPlaylist(const QString& path)
{
    writePendingRows();
    QString error;
    if (playlistformats::exportM3u8(path, m_tracks->tracks(), &error))
        return true;
    printLine(QStringLiteral("Failed to export playlist to \"%1\": %2").arg(path, error));
    auto* box = new QMessageBox(QMessageBox::Warning, tr("Export playlist"),
                                tr("The playlist could not be written to %1: %2").arg(path, error),
                                QMessageBox::Ok, this);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->open();
    return false;
}

void PlaylistSettingsView::writePendingRows()
{
    // the working list is written before anything replaces it, so dropped rows are never lost
    const auto target = std::exchange(m_pendingRows, std::nullopt);
    if (target && effectivePlaylistID() == target)
        writeTracks(*target, m_tracks->tracks());
}

QMimeData* PlaylistSettingsView::beginTrackDrag(int row)
{
    const Track& track = m_tracks->tracks().at(row);
    m_draggedTrack = track;
    auto* mime = new QMimeData;
    const QString id = uuidString(track.id);
    mime->setData(TrackTableView::trackIdMimeType(), id.toUtf8());
    mime->setText(id);
    return mime;
}

TrackDropDelegate PlaylistSettingsView::dropDelegate(int row)
{
    return TrackDropDelegate(m_tracks->tracks().at(row), m_tracks, &m_draggedTrack, m_config,
                             [this] { saveSelectedTracks(); });
}

void PlaylistSettingsView::syncControls()
{
    const QList<Playlist> playlists = m_config->playlists();
    const auto effective = effectivePlaylistID();
    {
        const QSignalBlocker blocker(m_picker);
        m_picker->clear();
        for (const Playlist& playlist : playlists)
            m_picker->addItem(playlist.name, playlist.id);
        m_picker->setCurrentIndex(effective ? m_picker->findData(*effective) : -1);
    }
    m_newButton->setVisible(playlists.size() < kMaxPlaylists);

    const auto current = currentPlaylist();
    m_nameField->setVisible(current.has_value());
    if (current && m_nameField->text() != current->name) {
        m_nameField->setText(current->name);
        m_nameField->setCursorPosition(0); // a long name shows its beginning
    }

    m_deleteButton->setText(m_deletePlaylistWarning ? tr("Are you sure?")
                                                    : tr("Delete playlist..."));
}

void PlaylistSettingsView::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    // each time the tab comes into view the editor reads the catalogue and the file again
    if (!event->spontaneous())
        refreshEditor();
}
