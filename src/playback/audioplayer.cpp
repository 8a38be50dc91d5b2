#include "playback/audioplayer.h"

#include "playback/albumart.h"

#include <QAudioOutput>
#include <QFileInfo>
#include <QFutureWatcher>
#include <QMediaPlayer>
#include <QTimer>
#include <QtConcurrent/QtConcurrentRun>

#include <cstdio>

namespace {

constexpr int kTickMs = 100;

void printLine(const QString& line)
{
    std::fputs((line + u'\n').toUtf8().constData(), stdout);
    std::fflush(stdout);
}

// NaN fails both comparisons and becomes 0
double clampFraction(double fraction)
{
    const double atLeastZero = fraction > 0 ? fraction : 0;
    return atLeastZero <= 1 ? atLeastZero : 1;
}

void discard(QMediaPlayer* player, QObject* receiver)
{
    QObject::disconnect(player, nullptr, receiver, nullptr);
    player->stop();
    // it may be in the middle of emitting the signal that brought us here
    player->deleteLater();
}

} // namespace

QString AudioPlayer::Error::printed() const
{
    return QStringLiteral("%1 error %2: %3").arg(domain).arg(code).arg(description);
}

AudioPlayer::AudioPlayer(QObject* parent) : QObject(parent), m_timer(new QTimer(this))
{
    m_timer->setInterval(kTickMs);
    m_timer->setTimerType(Qt::CoarseTimer);
    connect(m_timer, &QTimer::timeout, this, &AudioPlayer::updateProgress);
}

AudioPlayer::~AudioPlayer()
{
    m_timer->stop();
    if (m_previous.player)
        m_previous.player->stop();
    if (m_player)
        m_player->stop();
}

std::optional<QUrl> AudioPlayer::resolveFileURL(const QUrl& url, Error* error)
{
    QString path;
    if (url.scheme().isEmpty())
        path = url.path(QUrl::FullyDecoded);
    else if (url.isLocalFile())
        path = url.toLocalFile();
    // other schemes name no local file: the player has no network side
    if (!path.isEmpty() && QFileInfo::exists(path))
        return QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath());
    if (error)
        *error = Error{QStringLiteral("AudioPlayer"), -1, QStringLiteral("File does not exist")};
    return std::nullopt;
}

void AudioPlayer::play(const QUrl& url)
{
    Error error;
    const std::optional<QUrl> resolved = resolveFileURL(url, &error);
    if (!resolved) {
        printLine(QStringLiteral("Playback failed: ") + error.printed());
        return;
    }
    if (m_player && m_player->source() == *resolved) {
        if (m_player->playbackState() == QMediaPlayer::PlayingState)
            return;
        // an ended file starts again from its beginning
        if (m_player->mediaStatus() == QMediaPlayer::EndOfMedia)
            reopenLoadedFile();
        m_player->play();
        setIsPlaying(true);
        startTimer();
        return;
    }
    loadNewFile(*resolved);
}

QMediaPlayer* AudioPlayer::createPlatformPlayer(const QUrl& url)
{
    auto* player = new QMediaPlayer(this);
    player->setAudioOutput(new QAudioOutput(player));
    connect(player, &QMediaPlayer::mediaStatusChanged, this,
            [this, player](QMediaPlayer::MediaStatus status) { handleStatus(player, status); });
    connect(player, &QMediaPlayer::errorOccurred, this,
            [this, player](QMediaPlayer::Error error) {
                if (error != QMediaPlayer::NoError)
                    handleFailure(player);
            });
    connect(player, &QMediaPlayer::durationChanged, this,
            [this, player](qint64 ms) { handleDuration(player, ms); });
    player->setSource(url);
    return player;
}

// The new file opens asynchronously. Until it has loaded, the previous one keeps sounding and
// stays ready to take over again should the new one fail to open.
void AudioPlayer::loadNewFile(const QUrl& url)
{
    const float oldVolume = volume();
    if (m_loading)
        discard(m_player, this);
    else if (m_player)
        m_previous = Previous{m_player, m_progress, m_duration, m_isPlaying, hasTimer(), false};

    m_loading = true;
    m_failureReported = false;
    m_pendingSeek.reset();
    m_player = createPlatformPlayer(url);
    emit urlChanged(url);
    if (oldVolume != volume())
        emit volumeChanged(volume());
    setDuration(1.0);
    m_player->play();
    setIsPlaying(true);
    startTimer();
}

// Qt 6.4's GStreamer backend flushes its pipeline when it plays on from the stopped or ended
// state; racing the PulseAudio stream, that flush can leave the stream starved for good. A
// rewound file therefore gets the same file on a fresh pipeline; nothing observable changes.
void AudioPlayer::reopenLoadedFile()
{
    const QUrl url = m_player->source();
    const float volume = this->volume();
    discard(m_player, this);
    m_player = createPlatformPlayer(url);
    m_player->audioOutput()->setVolume(volume);
}

void AudioPlayer::handleStatus(QMediaPlayer* player, int status)
{
    if (player == m_previous.player) {
        if (status == QMediaPlayer::EndOfMedia)
            m_previous.ended = true;
        return;
    }
    if (player != m_player)
        return;
    switch (status) {
    case QMediaPlayer::InvalidMedia:
        handleFailure(player);
        break;
    case QMediaPlayer::LoadedMedia:
    case QMediaPlayer::StalledMedia:
    case QMediaPlayer::BufferingMedia:
    case QMediaPlayer::BufferedMedia:
        if (m_loading)
            finishLoading();
        break;
    case QMediaPlayer::EndOfMedia:
        if (m_loading)
            finishLoading();
        audioPlayerDidFinishPlaying();
        break;
    default:
        break;
    }
}

void AudioPlayer::handleFailure(QMediaPlayer* player)
{
    if (player != m_player || m_failureReported)
        return;
    m_failureReported = true;
    QString description = player->errorString();
    if (description.isEmpty())
        description = QStringLiteral("The file cannot be played");
    const Error error{QStringLiteral("QMediaPlayer"), int(player->error()), description};
    printLine(QStringLiteral("Playback failed: ") + error.printed());

    if (!m_loading) {
        // a loaded file that breaks off in the middle has stopped playing
        setIsPlaying(false);
        return;
    }
    m_loading = false;
    m_pendingSeek.reset();
    const float oldVolume = volume();
    discard(m_player, this);
    m_player = nullptr;
    if (m_previous.player) {
        restorePrevious();
        return;
    }
    // nothing was loaded before: back to the empty state
    invalidateTimer();
    setIsPlaying(false);
    setDuration(1.0);
    emit urlChanged(QUrl());
    if (oldVolume != volume())
        emit volumeChanged(volume());
}

void AudioPlayer::restorePrevious()
{
    const Previous previous = m_previous;
    m_previous = Previous{};
    const float oldVolume = volume();
    m_player = previous.player;
    emit urlChanged(m_player->source());
    if (oldVolume != volume())
        emit volumeChanged(volume());
    setDuration(previous.duration);
    setProgress(previous.progress);
    if (previous.hadTimer)
        startTimer();
    else
        invalidateTimer();
    setIsPlaying(previous.isPlaying);
    // it reached its end while the failed file was loading
    if (previous.ended)
        audioPlayerDidFinishPlaying();
}

void AudioPlayer::finishLoading()
{
    m_loading = false;
    dropPrevious();
    loadAlbumArt(m_player->source());
}

void AudioPlayer::dropPrevious()
{
    if (m_previous.player)
        discard(m_previous.player, this);
    m_previous = Previous{};
}

void AudioPlayer::handleDuration(QMediaPlayer* player, qint64 ms)
{
    if (player != m_player || ms <= 0)
        return;
    setDuration(ms / 1000.0);
    if (m_pendingSeek) {
        const double fraction = *m_pendingSeek;
        m_pendingSeek.reset();
        m_player->setPosition(qRound64(fraction * ms));
    }
}

void AudioPlayer::audioPlayerDidFinishPlaying()
{
    setIsPlaying(false);
    // the handler may install another handler or load the next file
    if (const std::function<void()> handler = onTrackFinished)
        handler();
}

void AudioPlayer::pause()
{
    if (m_player)
        m_player->pause();
    if (m_previous.player) {
        m_previous.player->pause();
        m_previous.isPlaying = false;
    }
    setIsPlaying(false);
}

void AudioPlayer::stop()
{
    m_pendingSeek.reset();
    if (m_player && !m_loading) {
        reopenLoadedFile();
    } else if (m_player) {
        m_player->pause();
        m_player->setPosition(0);
    }
    if (m_previous.player) {
        m_previous.player->pause();
        m_previous.player->setPosition(0);
        m_previous.isPlaying = false;
        m_previous.progress = 0;
        m_previous.hadTimer = false;
    }
    setProgress(0);
    setIsPlaying(false);
    invalidateTimer();
}

void AudioPlayer::seek(double fraction)
{
    if (!m_player)
        return;
    const double clamped = clampFraction(fraction);
    const qint64 durationMs = m_player->duration();
    if (durationMs > 0) {
        m_pendingSeek.reset();
        m_player->setPosition(qRound64(clamped * durationMs));
    } else {
        // still loading: the position is set once the length is known
        m_pendingSeek = clamped;
    }
    setProgress(clamped);
    emit seeked(clamped * durationMs / 1000.0);
}

void AudioPlayer::updateProgress()
{
    if (!m_player)
        return;
    const qint64 durationMs = m_player->duration();
    // an unknown length gives no fraction; the last one stays
    if (durationMs <= 0)
        return;
    setProgress(double(m_player->position()) / double(durationMs));
}

bool AudioPlayer::hasPlayer() const
{
    return m_player != nullptr;
}

QUrl AudioPlayer::url() const
{
    return m_player ? m_player->source() : QUrl();
}

double AudioPlayer::currentTime() const
{
    return m_player ? m_player->position() / 1000.0 : 0.0;
}

void AudioPlayer::setCurrentTime(double seconds)
{
    if (!m_player)
        return;
    double clamped = seconds > 0 ? seconds : 0;
    const qint64 durationMs = m_player->duration();
    if (durationMs > 0 && clamped * 1000.0 > double(durationMs))
        clamped = durationMs / 1000.0;
    m_pendingSeek.reset();
    m_player->setPosition(qRound64(clamped * 1000.0));
    emit seeked(clamped);
}

float AudioPlayer::volume() const
{
    return m_player ? m_player->audioOutput()->volume() : 1.0f;
}

void AudioPlayer::setVolume(float volume)
{
    if (!m_player)
        return;
    const float clamped = volume > 0 ? (volume < 1 ? volume : 1.0f) : 0.0f;
    if (clamped == this->volume())
        return;
    m_player->audioOutput()->setVolume(clamped);
    emit volumeChanged(clamped);
}

bool AudioPlayer::hasTimer() const
{
    return m_timer->isActive();
}

void AudioPlayer::invalidateTimer()
{
    m_timer->stop();
}

void AudioPlayer::startTimer()
{
    m_timer->start();
}

void AudioPlayer::loadAlbumArt(const QUrl& url)
{
    // loads are never cancelled: the one that finishes last decides the picture
    auto* watcher = new QFutureWatcher<QImage>(this);
    connect(watcher, &QFutureWatcherBase::finished, this, [this, watcher] {
        setAlbumArt(watcher->result());
        watcher->deleteLater();
    });
    watcher->setFuture(QtConcurrent::run(&albumart::readAlbumArt, url.toLocalFile()));
}

void AudioPlayer::setProgress(double progress)
{
    if (progress == m_progress)
        return;
    m_progress = progress;
    emit progressChanged(progress);
}

void AudioPlayer::setDuration(double duration)
{
    if (duration == m_duration)
        return;
    m_duration = duration;
    emit durationChanged(duration);
}

void AudioPlayer::setIsPlaying(bool isPlaying)
{
    if (isPlaying == m_isPlaying)
        return;
    m_isPlaying = isPlaying;
    emit isPlayingChanged(isPlaying);
}

void AudioPlayer::setAlbumArt(const QImage& image)
{
    if (image == m_albumArt)
        return;
    m_albumArt = image;
    emit albumArtChanged();
}
