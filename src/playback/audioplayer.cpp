#include "playback/audioplayer.h"

#include "core/output.h"
#include "playback/albumart.h"

#include <QFile>
#include <QFileInfo>
#include <QTimer>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <utility>

namespace {

constexpr int kTickMs = 100;
// however little a step moves, progress is taken at least this often
constexpr int kLongestTickMs = 5000;

void printFailure(const AudioPlayer::Error& error)
{
    printLine(QStringLiteral("Playback failed: ") + error.printed());
}

// NaN fails both comparisons and becomes 0
double clampFraction(double fraction)
{
    const double atLeastZero = fraction > 0 ? fraction : 0;
    return atLeastZero <= 1 ? atLeastZero : 1;
}

const AudioPlayer::Error kMissingFile{QStringLiteral("AudioPlayer"), -1,
                                      QStringLiteral("File does not exist")};

} // namespace

AudioPlayer::AudioPlayer(QObject* parent)
    : TrackPlayer(parent), m_timer(new QTimer(this)), m_coverReader(&albumart::readAlbumArt),
      m_mailbox(std::make_shared<playback::Mailbox>(this))
{
    m_timer->setInterval(kTickMs);
    m_timer->setTimerType(Qt::CoarseTimer);
    connect(m_timer, &QTimer::timeout, this, &AudioPlayer::updateProgress);
}

AudioPlayer::~AudioPlayer()
{
    m_timer->stop();
    m_mailbox->close();
    // the players are children: they go now, each waiting a moment for its pipeline to close
    for (Playbin* player : findChildren<Playbin*>(Qt::FindDirectChildrenOnly))
        player->setShutdownWait(true);
}

void AudioPlayer::discard(Playbin* player)
{
    if (!player)
        return;
    player->disconnect(this);
    player->setNextFile({});
    player->setPlaying(false);
    player->deleteLater();
}

std::optional<QUrl> TrackPlayer::fileURL(const QUrl& url)
{
    if (url.scheme().isEmpty()) {
        // a plain path keeps whatever looks like a query or a fragment: "a#b.mp3" is one name
        QString path = url.path(QUrl::FullyDecoded);
        if (url.hasQuery())
            path += u'?' + url.query(QUrl::FullyDecoded);
        if (url.hasFragment())
            path += u'#' + url.fragment(QUrl::FullyDecoded);
        if (path.isEmpty())
            return std::nullopt;
        return QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath());
    }
    // other schemes name no local file: the player has no network side
    if (!url.isLocalFile() || url.path().isEmpty())
        return std::nullopt;
    // kept as it is: a name that is not UTF-8 lives on only in its percent-encoding
    return url;
}

std::optional<QUrl> AudioPlayer::resolveFileURL(const QUrl& url, Error* error)
{
    const std::optional<QUrl> file = fileURL(url);
    std::optional<Error> failure;
    if (!file)
        failure = kMissingFile;
    else
        failure = playback::checkTrackFile(playback::localPath(*file));
    if (!failure)
        return file;
    if (error)
        *error = *failure;
    return std::nullopt;
}

void AudioPlayer::play(const QUrl& url)
{
    const std::optional<QUrl> resolved = fileURL(url);
    if (!resolved) {
        printFailure(kMissingFile);
        return;
    }
    if (m_player && m_player->url() == *resolved) {
        if (m_isPlaying)
            return;
        // an ended file starts again from its beginning
        if (m_ended)
            m_player->seekTo(0, false);
        m_ended = false;
        if (!m_loading)
            m_player->setPlaying(true);
        setIsPlaying(true);
        startTimer();
        return;
    }
    loadNewFile(*resolved);
}

// The new file is checked and opened off the main thread. Until it is ready, the previous one
// keeps sounding and stays ready to take over again should the new one fail to open.
void AudioPlayer::loadNewFile(const QUrl& url)
{
    const float oldVolume = volume();
    if (m_loading)
        discard(m_player);
    else if (m_player)
        m_previous = Previous{m_player, m_progress, m_duration, m_isPlaying, hasTimer(), m_ended};

    m_loading = true;
    m_failureReported = false;
    m_ended = false;
    m_pendingSeek.reset();
    // the successor named for the previous file is none of this one's
    m_nextURL = QUrl();
    m_player = createPlatformPlayer(url);
    emit urlChanged(url);
    if (oldVolume != volume())
        emit volumeChanged(volume());
    setDuration(1.0);
    setIsPlaying(true);
    startTimer();
}

Playbin* AudioPlayer::createPlatformPlayer(const QUrl& url)
{
    auto* player = new Playbin(this);
    connect(player, &Playbin::opened, this, [this, player] {
        if (player == m_player && m_loading)
            finishLoading();
    });
    connect(player, &Playbin::failed, this,
            [this, player](const Error& error) { handleFailure(player, error); });
    connect(player, &Playbin::endOfStream, this, [this, player] { handleEnd(player); });
    connect(player, &Playbin::durationChanged, this, [this, player] {
        if (player == m_player)
            takeDuration();
    });
    connect(player, &Playbin::nextFileStarted, this, &AudioPlayer::handleNextFile);
    player->setLoudness(m_loudness);
    player->open(url);
    return player;
}

void AudioPlayer::handleFailure(Playbin* player, const Error& error)
{
    if (player == m_previous.player) {
        m_previous.isPlaying = false;
        return;
    }
    if (player != m_player || m_failureReported)
        return;
    m_failureReported = true;
    printFailure(error);

    if (!m_loading) {
        // a loaded file that breaks off in the middle has stopped playing
        setIsPlaying(false);
        return;
    }
    m_loading = false;
    const float oldVolume = volume();
    discard(m_player);
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
    m_ended = previous.atEnd || previous.ended;
    emit urlChanged(m_player->url());
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
    takeDuration();
    announcePendingSeek();
    m_player->setNextFile(m_nextURL);
    loadAlbumArt(m_player->url());
    Playbin* previous = m_previous.player;
    m_previous = Previous{};
    if (!previous) {
        m_player->setPlaying(m_isPlaying);
    } else {
        // the new file sounds once the old one has fallen silent, never both at once
        previous->disconnect(this);
        previous->setNextFile({});
        previous->setPlaying(false);
        previous->whenDone([this, previous, player = m_player] {
            previous->deleteLater();
            if (player == m_player && !m_loading)
                player->setPlaying(m_isPlaying);
        });
    }
    emit opened(m_player->url());
}

// A seek asked for while the file opened has landed now that its length is known: it is
// announced with the position it really went to.
void AudioPlayer::announcePendingSeek()
{
    const std::optional<std::pair<double, bool>> pending =
        std::exchange(m_pendingSeek, std::nullopt);
    if (!pending)
        return;
    const auto [value, isFraction] = *pending;
    const std::optional<double> length = m_player->duration();
    if (isFraction)
        emit seeked(value * length.value_or(0));
    else
        emit seeked(length ? std::min(value, *length) : value);
}

void AudioPlayer::takeDuration()
{
    if (const std::optional<double> duration = m_player->duration())
        setDuration(*duration);
}

void AudioPlayer::handleEnd(Playbin* player)
{
    if (player == m_previous.player) {
        player->setPlaying(false);
        m_previous.ended = true;
        return;
    }
    if (player != m_player || m_loading)
        return;
    // paused at its end: a seek afterwards must not make it sound on its own
    player->setPlaying(false);
    m_ended = true;
    audioPlayerDidFinishPlaying();
}

// The queued file follows at the joint: from now on it is the loaded file, as if play() had
// opened it, only without a gap.
void AudioPlayer::handleNextFile(const QUrl& url)
{
    const float oldVolume = volume();
    m_player->setVolume(1.0);
    // it has been taken; whoever chooses the next file names the one after this
    m_nextURL = QUrl();
    m_player->setNextFile({});
    emit urlChanged(url);
    if (oldVolume != volume())
        emit volumeChanged(volume());
    setDuration(m_player->duration().value_or(1.0));
    tickSoon();
    loadAlbumArt(url);
    emit nextTrackStarted(url);
}

void AudioPlayer::setNextURL(const QUrl& url)
{
    m_nextURL = url.isEmpty() ? QUrl() : fileURL(url).value_or(QUrl());
    // a file still opening gets it once it is ready
    if (m_player && !m_loading)
        m_player->setNextFile(m_nextURL);
}

void AudioPlayer::setLoudness(Loudness loudness)
{
    m_loudness = loudness;
    for (Playbin* player : {m_player, m_previous.player})
        if (player)
            player->setLoudness(loudness);
}

void AudioPlayer::setProgressStep(double fraction)
{
    const double step = std::isfinite(fraction) && fraction > 0 ? fraction : 0;
    if (step == m_progressStep)
        return;
    m_progressStep = step;
    tickSoon();
}

// The next tick comes on the next beat: after a jump of the position or a change of what a
// step is, progress is taken again at once rather than after a long skip.
void AudioPlayer::tickSoon()
{
    if (m_timer->interval() != kTickMs)
        m_timer->setInterval(kTickMs);
}

void AudioPlayer::audioPlayerDidFinishPlaying()
{
    setIsPlaying(false);
    // whoever hears it may load the next file
    emit trackFinished();
}

void AudioPlayer::pause()
{
    if (m_player && !m_loading)
        m_player->setPlaying(false);
    if (m_previous.player) {
        m_previous.player->setPlaying(false);
        m_previous.isPlaying = false;
    }
    setIsPlaying(false);
}

void AudioPlayer::stop()
{
    if (m_player) {
        if (!m_loading)
            m_player->setPlaying(false);
        m_player->seekTo(0, false);
    }
    m_ended = false;
    if (m_previous.player) {
        m_previous.player->setPlaying(false);
        m_previous.player->seekTo(0, false);
        m_previous.isPlaying = false;
        m_previous.progress = 0;
        m_previous.hadTimer = false;
        m_previous.ended = false;
    }
    // the timer goes first: whoever hears isPlayingChanged must see a stopped file, not a
    // paused one that keeps its progress timer
    invalidateTimer();
    setProgress(0);
    setIsPlaying(false);
}

void AudioPlayer::seek(double fraction)
{
    if (!m_player)
        return;
    const double clamped = clampFraction(fraction);
    // while the file loads, the seek lands once its length is known, and is told then
    m_player->seekTo(clamped, true);
    m_ended = false;
    setProgress(clamped);
    tickSoon();
    if (m_loading)
        m_pendingSeek = std::pair(clamped, true);
    else
        emit seeked(clamped * m_player->duration().value_or(0));
}

void AudioPlayer::updateProgress()
{
    // paused, ended or loading nothing: this tick takes where it stopped, then the timer rests
    // until the file sounds again (it still counts as running)
    if (!m_isPlaying)
        m_timer->stop();
    if (!m_player)
        return;
    const std::optional<double> duration = m_player->duration();
    const std::optional<double> position = m_player->position();
    // an unknown length or position gives no fraction; the last one stays
    if (!duration || !position)
        return;
    setProgress(*position / *duration);
    // the beats on which progress moves less than a step are skipped
    if (m_progressStep > 0 && *duration > 0) {
        const double beats = std::floor(m_progressStep * *duration * 1000 / kTickMs);
        const int interval =
            int(std::clamp(beats, 1.0, double(kLongestTickMs / kTickMs))) * kTickMs;
        if (m_timer->interval() != interval)
            m_timer->setInterval(interval);
    }
}

bool AudioPlayer::hasPlayer() const
{
    return m_player != nullptr;
}

QUrl AudioPlayer::url() const
{
    return m_player ? m_player->url() : QUrl();
}

double AudioPlayer::currentTime() const
{
    return m_player ? m_player->position().value_or(0) : 0.0;
}

void AudioPlayer::setCurrentTime(double seconds)
{
    if (!m_player)
        return;
    double clamped = seconds > 0 ? seconds : 0;
    if (const std::optional<double> duration = m_player->duration();
        duration && clamped > *duration)
        clamped = *duration;
    m_player->seekTo(clamped, false);
    m_ended = false;
    tickSoon();
    if (m_loading)
        m_pendingSeek = std::pair(clamped, false);
    else
        emit seeked(clamped);
}

float AudioPlayer::volume() const
{
    return m_player ? float(m_player->volume()) : 1.0f;
}

void AudioPlayer::setVolume(float volume)
{
    if (!m_player)
        return;
    const float clamped = volume > 0 ? (volume < 1 ? volume : 1.0f) : 0.0f;
    if (clamped == this->volume())
        return;
    m_player->setVolume(clamped);
    emit volumeChanged(clamped);
}

bool AudioPlayer::hasTimer() const
{
    return m_hasTimer;
}

void AudioPlayer::invalidateTimer()
{
    m_hasTimer = false;
    m_timer->stop();
}

void AudioPlayer::startTimer()
{
    m_hasTimer = true;
    m_timer->setInterval(kTickMs);
    m_timer->start();
}

// A read is never cancelled, but its result counts only while its file is still the loaded
// one (or still sounds while another opens): a slow read of a file skipped meanwhile never
// replaces the picture of the current one.
void AudioPlayer::loadAlbumArt(const QUrl& url)
{
    if (!m_coverDir)
        m_coverDir = std::make_unique<QTemporaryDir>();
    // a new name per picture, so desktop shells that cache by URL show the new one
    const QString file =
        m_coverDir->isValid()
            ? m_coverDir->filePath(QStringLiteral("cover-%1.png").arg(++m_coverSerial))
            : QString();
    const QString path = QFile::decodeName(playback::localPath(url));
    playback::runDetached<Cover>(
        m_mailbox,
        [url, path, file, reader = m_coverReader] {
            Cover cover{url, reader(path), QString()};
            if (!cover.image.isNull() && !file.isEmpty() && cover.image.save(file, "PNG"))
                cover.file = file;
            return cover;
        },
        [this](const Cover& cover) {
            // the file still sounding while another opens may come back should that one fail
            const bool loaded = cover.url == this->url() ||
                                (m_previous.player && cover.url == m_previous.player->url());
            if (loaded)
                setCover(cover);
            else if (!cover.file.isEmpty())
                QFile::remove(cover.file);
        });
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
    if (isPlaying && m_hasTimer && !m_timer->isActive()) {
        m_timer->setInterval(kTickMs);
        m_timer->start();
    }
    emit isPlayingChanged(isPlaying);
}

void AudioPlayer::setCover(const Cover& cover)
{
    const Cover old = std::exchange(m_cover, cover);
    if (!old.file.isEmpty() && old.file != cover.file)
        QFile::remove(old.file);
    if (old == cover)
        return;
    emit coverChanged();
    // the same picture again (or none again) is no change of the picture
    if (old.image != cover.image)
        emit albumArtChanged();
}
