#include "ui/player/contentview.h"

#include "model/config.h"
#include "playback/trackplayer.h"
#include "model/currenttracks.h"
#include "ui/player/menuentries.h"
#include "control/playercontroller.h"
#include "ui/player/savenotice.h"
#include "theme/skinimagecache.h"
#include "ui/player/skintext.h"

#include <QContextMenuEvent>
#include <QMenu>
#include <QMetaMethod>
#include <QMouseEvent>
#include <QBitmap>
#include <QPainter>
#include <QScreen>
#include <QWindow>

#include <array>
#include <cmath>

namespace {

// Stacking order of the elements below the scrubber: level 0, then level 1.
constexpr std::array kLevel0{SkinLayout::Element::Close,       SkinLayout::Element::Minimize,
                             SkinLayout::Element::Rewind,      SkinLayout::Element::PlayPause,
                             SkinLayout::Element::FastForward, SkinLayout::Element::PlaylistMenu,
                             SkinLayout::Element::TrackMenu};

QRect dirtyRect(const QRectF& rect)
{
    // antialiased edges of a fractional rectangle reach into the next pixel
    return rect.toAlignedRect().adjusted(-1, -1, 1, 1);
}

} // namespace

ContentView::ContentView(Config* config, TrackPlayer* player, PlayerController* controller,
                         QWidget* parent)
    : QWidget(parent), m_config(config), m_player(player), m_controller(controller),
      m_layout(config->geometry(), SkinLayout::scaleFor(config->superSized())),
      m_tracks(config->trackList()),
      m_images(new theme::SkinImageCache(
          [config](const QString& element) { return config->skinImage(element); }, this))
{
    setMouseTracking(true);
    // the skin's rounded corners are transparent: on a compositing desktop they blend, elsewhere
    // the window's shape follows the background's alpha
    setAttribute(Qt::WA_TranslucentBackground);
    setFocusPolicy(Qt::StrongFocus);

    // every property of Config that the skin reads: geometry, options, images, position
    // what the skin is drawn from: the theme (geometry and images), the size, the track
    for (auto changed : {&Config::geometryChanged, &Config::currentThemeChanged,
                         &Config::superSizedChanged, &Config::playlistsChanged,
                         &Config::currentPlaylistIndexChanged, &Config::currentTrackIndexChanged})
        connect(m_config, changed, this, &ContentView::skinChanged);
    connect(m_tracks, &CurrentTracks::changed, this, [this] {
        m_textLayouts = {};
        update();
    });
    // an image edited on disk shows at once, its outline too
    connect(m_images, &theme::SkinImageCache::changed, this, [this] {
        updateShape(size());
        update();
    });
    m_images->setDirectory(m_config->themeDirectory(m_config->currentTheme()),
                           m_config->themesDirectory());
    connect(m_player, &TrackPlayer::isPlayingChanged, this, &ContentView::playingChanged);
    connect(m_player, &TrackPlayer::progressChanged, this, &ContentView::updateKnob);
    connect(m_player, &TrackPlayer::albumArtChanged, this,
            [this] { update(dirtyRect(m_layout.rect(Element::AlbumArt))); });
    new SaveNotice(m_config, this);
    updateSize();
}

ContentView::~ContentView() = default;

SkinLayout::State ContentView::state() const
{
    return {m_isMinimized, m_player->isPlaying(), !m_tracks->tracks().isEmpty()};
}

double ContentView::knobX() const
{
    return m_isDragging ? m_dragX : m_layout.knobX(m_player->progress());
}

QImage ContentView::imageFor(Element element) const
{
    const bool playing = m_player->isPlaying();
    const auto image = [this](const char* name) { return m_images->image(QLatin1String(name)); };
    switch (element) {
    case Element::Close:
        return image("close");
    case Element::Minimize:
        return image("min");
    case Element::Rewind:
        return image(m_isHoveringRR ? "rr-on" : "rr");
    case Element::PlayPause:
        if (playing)
            return image(m_isHoveringPlay ? "pause-on" : "pause");
        return image(m_isHoveringPlay ? "play-on" : "play");
    case Element::FastForward:
        return image(m_isHoveringFF ? "ff-on" : "ff");
    case Element::PlaylistMenu:
        return image("playlist-menu");
    case Element::TrackMenu:
        return image("track-menu");
    case Element::Scrubber:
        return image("track-scrubber");
    case Element::AlbumArt: {
        const QImage art = m_player->albumArt();
        if (!art.isNull() && !m_tracks->tracks().isEmpty())
            return art;
        return image("track-album");
    }
    case Element::TrackName:
    case Element::Artist:
        return {};
    }
    return {};
}

QImage ContentView::backgroundImage() const
{
    return m_images->image(m_isMinimized ? QStringLiteral("player-min") : QStringLiteral("player"));
}

QString ContentView::textFor(Element element) const
{
    if (!m_layout.isPresent(element, state()))
        return {};
    const std::optional<Track> track = m_tracks->currentTrack();
    if (!track)
        return {};
    if (element == Element::TrackName)
        return track->trackName;
    if (element == Element::Artist)
        return track->artist;
    return {};
}

QSize ContentView::windowSize() const
{
    const QSizeF skin = m_layout.skinSize(m_isMinimized);
    QSize size(int(std::ceil(skin.width())), int(std::ceil(skin.height())));
    if (const QScreen* screen = this->screen())
        size = size.boundedTo(screen->availableGeometry().size());
    return size.expandedTo(QSize(1, 1));
}

void ContentView::updateSize()
{
    const QSize size = windowSize();
    if (size != QSize(minimumSize()) || size != QSize(maximumSize()))
        setFixedSize(size);
    updateShape(size);
    updateProgressStep();
}

// The knob moves a device pixel per this much progress: the player need not tick more often.
void ContentView::updateProgressStep()
{
    const double travel =
        std::abs(m_layout.scrubberMaxX() - m_layout.scrubberMinX()) * devicePixelRatioF();
    m_player->setProgressStep(travel >= 1 ? 1 / travel : 1);
}

void ContentView::updateShape(const QSize& size)
{
    // keyed by the image itself: a player.png replaced on disk gives its new outline
    const QImage background = backgroundImage();
    const qint64 key = background.cacheKey();
    if (size == m_shapeSize && key == m_shapeKey)
        return;
    m_shapeSize = size;
    m_shapeKey = key;
    if (background.isNull() || !background.hasAlphaChannel() || size.isEmpty()) {
        clearMask();
        return;
    }
    const QImage scaled =
        background.scaled(m_layout.skinSize(m_isMinimized).toSize().boundedTo(size),
                          Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    QBitmap shape(size);
    shape.fill(Qt::color0);
    QPainter painter(&shape);
    painter.drawImage(0, 0, scaled.createAlphaMask());
    painter.end();
    setMask(shape);
}

void ContentView::setMinimized(bool minimized)
{
    if (minimized == m_isMinimized)
        return;
    m_isMinimized = minimized;
    updateSize();
    update();
}

void ContentView::skinChanged()
{
    m_layout = SkinLayout(m_config->geometry(), SkinLayout::scaleFor(m_config->superSized()));
    // the theme, or the size its images are decoded at, may be another: all are read again
    m_images->setDirectory(m_config->themeDirectory(m_config->currentTheme()),
                           m_config->themesDirectory());
    m_textLayouts = {};
    updateSize();
    update();
}

void ContentView::paintEvent(QPaintEvent* event)
{
    const QRect dirty = event->rect();
    const SkinLayout::State now = state();
    // the screen, and so its pixel ratio, may have changed since
    updateProgressStep();
    QPainter painter(this);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.fillRect(dirty, Qt::transparent);
    painter.setCompositionMode(QPainter::CompositionMode_SourceOver);

    // the background, scaled once per image and size: a knob step copies a few of its pixels
    const QPixmap& background = scaledBackground();
    const qreal ratio = background.devicePixelRatio();
    painter.drawPixmap(QRectF(dirty), background,
                       QRectF(dirty.x() * ratio, dirty.y() * ratio, dirty.width() * ratio,
                              dirty.height() * ratio));

    const auto drawSkinImage = [&](Element element, const QRectF& rect) {
        if (rect.isEmpty() || !dirtyRect(rect).intersects(dirty))
            return;
        painter.drawImage(rect, imageFor(element));
    };
    for (const Element element : kLevel0) {
        if (m_layout.isPresent(element, now))
            drawSkinImage(element, m_layout.rect(element));
    }

    if (m_layout.isPresent(Element::AlbumArt, now)) {
        const QRectF rect = m_layout.rect(Element::AlbumArt);
        const bool hasArt = !m_player->albumArt().isNull() && now.hasTracks;
        painter.setRenderHint(QPainter::SmoothPixmapTransform, hasArt);
        drawSkinImage(Element::AlbumArt, rect);
        painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    }
    paintText(painter, Element::TrackName, dirty);
    paintText(painter, Element::Artist, dirty);

    if (now.playing) {
        const QRectF knob = m_layout.knobRect(knobX());
        drawSkinImage(Element::Scrubber, knob);
        m_knobArea = dirtyRect(knob);
    }
}

const QPixmap& ContentView::scaledBackground()
{
    const QImage image = backgroundImage();
    const QSizeF skin = m_layout.skinSize(m_isMinimized);
    const qreal ratio = devicePixelRatioF();
    const BackgroundKey key{image.cacheKey(), skin, size(), ratio};
    if (key == m_backgroundKey)
        return m_background;
    m_backgroundKey = key;
    m_background = QPixmap((QSizeF(size()) * ratio).toSize());
    m_background.setDevicePixelRatio(ratio);
    m_background.fill(Qt::transparent);
    QPainter painter(&m_background);
    // the background is scaled smoothly, skin images keep their pixels
    painter.setRenderHint(QPainter::SmoothPixmapTransform, true);
    painter.drawImage(QRectF(QPointF(0, 0), skin), image);
    return m_background;
}

void ContentView::paintText(QPainter& painter, Element element, const QRect& dirty)
{
    // laid out once per text, font and box: a knob step only draws the line again
    std::optional<skintext::Line>& layout = m_textLayouts[element == Element::Artist ? 1 : 0];
    if (!layout) {
        const QString text = textFor(element);
        if (text.isEmpty()) {
            layout.emplace();
        } else {
            const QFont font = m_layout.textFont(element);
            const QRectF box = m_layout.textRect(element);
            layout.emplace(box, SkinLayout::elided(text, font, box.width()), font);
        }
    }
    if (layout->isEmpty() || !dirtyRect(layout->box()).intersects(dirty))
        return;
    layout->draw(painter, m_layout.textColor());
}

void ContentView::changeEvent(QEvent* event)
{
    // the system font the texts are set in
    if (event->type() == QEvent::ApplicationFontChange || event->type() == QEvent::FontChange) {
        m_textLayouts = {};
        update();
    }
    QWidget::changeEvent(event);
}

void ContentView::playingChanged(bool playing)
{
    // the knob went away under the pointer: end the drag as its release would
    if (!playing && m_isDragging)
        endDrag();
    if (!playing && m_pressed == Element::Scrubber)
        m_pressed.reset();
    update();
}

void ContentView::updateKnob()
{
    if (!m_player->isPlaying())
        return;
    const QRect area = dirtyRect(m_layout.knobRect(knobX()));
    if (area == m_knobArea)
        return;
    update(m_knobArea);
    update(area);
    m_knobArea = area;
}

void ContentView::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) {
        QWidget::mousePressEvent(event);
        return;
    }
    const QPointF pos = event->position();
    const std::optional<Element> element = m_layout.elementAt(pos, state(), m_player->progress());
    m_pressed.reset();
    if (element == Element::PlaylistMenu || element == Element::TrackMenu) {
        openMenu(*element);
    } else if (!element || element == Element::AlbumArt) {
        // no title bar: the background moves the window
        if (QWindow* handle = window()->windowHandle())
            handle->startSystemMove();
    } else {
        m_pressed = element;
        m_pressPos = pos;
    }
    event->accept();
}

void ContentView::mouseMoveEvent(QMouseEvent* event)
{
    const QPointF pos = event->position();
    if (m_pressed == Element::Scrubber && (event->buttons() & Qt::LeftButton)) {
        if (!m_isDragging && QLineF(m_pressPos, pos).length() >= SkinLayout::kDragThreshold)
            beginDrag();
        if (m_isDragging)
            dragTo(pos.x());
    }
    if (!event->buttons())
        setHover(m_layout.elementAt(pos, state(), m_player->progress()));
    QWidget::mouseMoveEvent(event);
}

void ContentView::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) {
        QWidget::mouseReleaseEvent(event);
        return;
    }
    const std::optional<Element> pressed = m_pressed;
    m_pressed.reset();
    if (m_isDragging) {
        endDrag();
    } else if (pressed && pressed != Element::Scrubber &&
               m_layout.elementAt(event->position(), state(), m_player->progress()) == pressed) {
        click(*pressed);
    }
    setHover(m_layout.elementAt(event->position(), state(), m_player->progress()));
    event->accept();
}

void ContentView::leaveEvent(QEvent* event)
{
    setHover(std::nullopt);
    QWidget::leaveEvent(event);
}

void ContentView::contextMenuEvent(QContextMenuEvent* event)
{
    if (!m_playerMenu) {
        QWidget::contextMenuEvent(event);
        return;
    }
    m_playerMenu->popup(event->globalPos());
    event->accept();
}

void ContentView::showEvent(QShowEvent* event)
{
    m_controller->installTrackFinishedHandler();
    updateSize();
    QWidget::showEvent(event);
}

void ContentView::setHover(std::optional<Element> element)
{
    const bool play = element == Element::PlayPause;
    const bool rr = element == Element::Rewind;
    const bool ff = element == Element::FastForward;
    if (play != m_isHoveringPlay) {
        m_isHoveringPlay = play;
        update(dirtyRect(m_layout.rect(Element::PlayPause)));
    }
    if (rr != m_isHoveringRR) {
        m_isHoveringRR = rr;
        update(dirtyRect(m_layout.rect(Element::Rewind)));
    }
    if (ff != m_isHoveringFF) {
        m_isHoveringFF = ff;
        update(dirtyRect(m_layout.rect(Element::FastForward)));
    }
}

void ContentView::click(Element element)
{
    switch (element) {
    case Element::Close:
        m_controller->quit();
        break;
    case Element::Minimize:
        setMinimized(!m_isMinimized);
        m_controller->minimizeToggled(QStringLiteral("min"));
        break;
    case Element::Rewind:
        m_controller->skipTrack(PlayerController::Direction::Previous, QStringLiteral("click"));
        break;
    case Element::PlayPause:
        if (m_player->isPlaying())
            m_controller->pause();
        else
            m_controller->play(QStringLiteral("click"));
        break;
    case Element::FastForward:
        m_controller->skipTrack(PlayerController::Direction::Next, QStringLiteral("click"));
        break;
    default:
        break;
    }
}

QMenu* ContentView::playlistMenu()
{
    if (!m_menu)
        m_menu = new QMenu(this);
    m_menu->clear();
    QStringList names;
    for (const Playlist& playlist : m_config->playlists())
        names << playlist.name;
    menuentries::addChoices(m_menu, names, m_config->currentPlaylistIndex(), [this](qint64 i) {
        m_controller->choosePlaylist(i, QStringLiteral("pop"));
    });
    menuentries::addEditPlaylists(m_menu, [this] { m_controller->requestSettings(); });
    return m_menu;
}

QMenu* ContentView::trackMenu()
{
    if (!m_menu)
        m_menu = new QMenu(this);
    m_menu->clear();
    const QList<Track>& tracks = m_tracks->tracks();
    if (tracks.isEmpty()) {
        menuentries::addEditPlaylists(m_menu, [this] { m_controller->requestSettings(); });
        return m_menu;
    }
    QStringList names;
    names.reserve(tracks.size());
    for (const Track& track : tracks)
        names << track.trackName;
    menuentries::addChoices(m_menu, names, m_config->currentTrackIndex(), [this](qint64 i) {
        m_controller->chooseTrack(i, QStringLiteral("pop"));
    });
    return m_menu;
}

void ContentView::activate(Element element)
{
    if (element == Element::PlaylistMenu || element == Element::TrackMenu)
        openMenu(element);
    else
        click(element);
}

QRect ContentView::elementRect(Element element) const
{
    if (element == Element::Scrubber)
        return m_layout.knobRect(knobX()).toAlignedRect();
    if (element == Element::TrackName || element == Element::Artist)
        return m_layout.textRect(element).toAlignedRect();
    return m_layout.rect(element).toAlignedRect();
}

void ContentView::openMenu(Element element)
{
    QMenu* menu = element == Element::PlaylistMenu ? playlistMenu() : trackMenu();
    const QRectF rect = m_layout.rect(element);
    menu->popup(mapToGlobal(QPoint(int(rect.left()), int(std::ceil(rect.bottom())))));
}

void ContentView::beginDrag()
{
    m_isDragging = true;
    setCursor(Qt::ClosedHandCursor);
    // the music plays on, but its ticks must not move the knob under the pointer
    m_player->invalidateTimer();
}

void ContentView::dragTo(double x)
{
    m_dragX = m_layout.clampToTravel(x);
    m_player->seek(m_layout.fractionAt(m_dragX));
    updateKnob();
}

void ContentView::endDrag()
{
    m_isDragging = false;
    setCursor(Qt::ArrowCursor);
    m_player->invalidateTimer();
    m_player->startTimer();
    updateKnob();
}
