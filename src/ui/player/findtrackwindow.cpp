#include "ui/player/findtrackwindow.h"

#include "control/playercontroller.h"
#include "model/config.h"
#include "model/currenttracks.h"
#include "playback/trackplayer.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListView>
#include <QScreen>
#include <QVBoxLayout>

QString foldForSearch(const QString& text)
{
    const QString decomposed = text.normalized(QString::NormalizationForm_KD);
    QString folded;
    folded.reserve(decomposed.size());
    for (const QChar c : decomposed) {
        const QChar::Category category = c.category();
        if (category != QChar::Mark_NonSpacing && category != QChar::Mark_SpacingCombining &&
            category != QChar::Mark_Enclosing)
            folded.append(c);
    }
    return folded.toCaseFolded();
}

void FoundTracksModel::setTracks(const QList<Track>& tracks)
{
    m_ids.clear();
    m_labels.clear();
    m_keys.clear();
    m_labels.reserve(tracks.size());
    m_keys.reserve(tracks.size());
    for (const Track& track : tracks) {
        m_ids.append(track.id);
        m_labels.append(track.trackName + QStringLiteral(" - ") + track.artist);
        // a word may not run from the title into the artist
        m_keys.append(foldForSearch(track.trackName) + QLatin1Char('\n') +
                      foldForSearch(track.artist));
    }
    filter();
}

void FoundTracksModel::setQuery(const QString& query)
{
    const QStringList words = foldForSearch(query).split(QLatin1Char(' '), Qt::SkipEmptyParts);
    if (words == m_words)
        return;
    m_words = words;
    filter();
}

void FoundTracksModel::filter()
{
    beginResetModel();
    m_rows.clear();
    for (qsizetype i = 0; i < m_keys.size(); ++i) {
        const QString& key = m_keys.at(i);
        if (std::all_of(m_words.cbegin(), m_words.cend(),
                        [&key](const QString& word) { return key.contains(word); }))
            m_rows.append(i);
    }
    endResetModel();
}

int FoundTracksModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_rows.size());
}

QVariant FoundTracksModel::data(const QModelIndex& index, int role) const
{
    if (role != Qt::DisplayRole || !index.isValid() || index.row() >= m_rows.size())
        return {};
    return m_labels.at(m_rows.at(index.row()));
}

qsizetype FoundTracksModel::trackIndex(int row) const
{
    return row >= 0 && row < m_rows.size() ? m_rows.at(row) : -1;
}

int FoundTracksModel::rowOf(qsizetype trackIndex) const
{
    const auto it = std::lower_bound(m_rows.cbegin(), m_rows.cend(), trackIndex);
    return it != m_rows.cend() && *it == trackIndex ? int(it - m_rows.cbegin()) : -1;
}

QUuid FoundTracksModel::trackId(int row) const
{
    const qsizetype index = trackIndex(row);
    return index >= 0 ? m_ids.at(index) : QUuid();
}

int FoundTracksModel::rowOfId(const QUuid& id) const
{
    const qsizetype index = id.isNull() ? -1 : m_ids.indexOf(id);
    return index >= 0 ? rowOf(index) : -1;
}

FindTrackWindow::FindTrackWindow(PlayerController* controller, QWidget* player)
    : QWidget(player, Qt::Tool), m_controller(controller), m_player(player),
      m_search(new QLineEdit(this)), m_list(new QListView(this)),
      m_model(new FoundTracksModel(this))
{
    setWindowTitle(tr("Find track"));
    m_search->setPlaceholderText(tr("Title or artist"));
    m_search->setClearButtonEnabled(true);
    m_list->setModel(m_model);
    // rows of one height are laid out without asking each of a hundred thousand for its size
    m_list->setUniformItemSizes(true);
    m_list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_list->setFocusPolicy(Qt::NoFocus);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 6);
    layout->addWidget(m_search);
    layout->addWidget(m_list);
    resize(360, 420);

    connect(m_search, &QLineEdit::textChanged, this, [this](const QString& text) {
        m_model->setQuery(text);
        choose(0);
    });
    connect(m_list, &QAbstractItemView::activated, this, &FindTrackWindow::playChosen);
    connect(controller->config()->trackList(), &CurrentTracks::changed, this, [this] {
        if (isVisible())
            reload();
    });
    m_search->installEventFilter(this);
}

void FindTrackWindow::open()
{
    m_search->clear();
    reload();
    choose(m_model->rowOf(m_controller->config()->currentTrackIndex()));
    if (!isVisible())
        placeBesidePlayer();
    show();
    raise();
    activateWindow();
    m_search->setFocus();
}

void FindTrackWindow::reload()
{
    // the chosen track stays chosen where it went, also when tracks came before it
    const QUuid chosen = m_model->trackId(m_list->currentIndex().row());
    m_model->setTracks(m_controller->config()->trackList()->tracks());
    const int row = m_model->rowOfId(chosen);
    choose(row >= 0 ? row : 0);
}

void FindTrackWindow::choose(int row)
{
    if (row < 0 || row >= m_model->rowCount()) {
        m_list->setCurrentIndex({});
        return;
    }
    const QModelIndex index = m_model->index(row);
    m_list->setCurrentIndex(index);
    m_list->scrollTo(index);
}

void FindTrackWindow::playChosen()
{
    const qsizetype track = m_model->trackIndex(m_list->currentIndex().row());
    if (track < 0)
        return;
    hide();
    m_controller->chooseTrack(track);
    if (!m_controller->player()->isPlaying())
        m_controller->play();
}

bool FindTrackWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != m_search || event->type() != QEvent::KeyPress)
        return QWidget::eventFilter(watched, event);
    const int current = m_list->currentIndex().row();
    const int page =
        std::max(1, m_list->viewport()->height() / std::max(1, m_list->sizeHintForRow(0)));
    switch (static_cast<QKeyEvent*>(event)->key()) {
    case Qt::Key_Up:
        choose(std::max(0, current - 1));
        return true;
    case Qt::Key_Down:
        choose(std::min(m_model->rowCount() - 1, current + 1));
        return true;
    case Qt::Key_PageUp:
        choose(std::max(0, current - page));
        return true;
    case Qt::Key_PageDown:
        choose(std::min(m_model->rowCount() - 1, current + page));
        return true;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        playChosen();
        return true;
    case Qt::Key_Escape:
        hide();
        return true;
    default:
        return false;
    }
}

void FindTrackWindow::placeBesidePlayer()
{
    // a Wayland compositor places windows itself
    if (QGuiApplication::platformName().startsWith(QLatin1String("wayland")) || !m_player)
        return;
    const QRect skin = m_player->frameGeometry();
    const QScreen* screen = m_player->screen();
    const QRect room = screen ? screen->availableGeometry() : QRect();
    QPoint at(skin.right() + 8, skin.top());
    if (room.isValid()) {
        if (at.x() + width() > room.right())
            at.setX(skin.left() - 8 - width());
        at.setX(std::clamp(at.x(), room.left(), std::max(room.left(), room.right() - width())));
        at.setY(std::clamp(at.y(), room.top(), std::max(room.top(), room.bottom() - height())));
    }
    move(at);
}
