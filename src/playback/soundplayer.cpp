#include "playback/soundplayer.h"

#include <QAudioOutput>
#include <QFileInfo>
#include <QMediaPlayer>
#include <QUrl>

#include <cstdio>

namespace {

void printLine(const QString& line)
{
    std::fputs((line + u'\n').toUtf8().constData(), stdout);
    std::fflush(stdout);
}

} // namespace

SoundPlayer::SoundPlayer(QObject* parent) : QObject(parent) {}

SoundPlayer::~SoundPlayer()
{
    if (m_player)
        m_player->stop();
}

void SoundPlayer::playSound(const QString& name)
{
    const QString resource = QStringLiteral(":/sounds/%1.m4a").arg(name);
    if (name.isEmpty() || !QFileInfo(resource).isFile()) {
        printLine(QStringLiteral("Error: Sound file ") + name + QStringLiteral(".m4a not found."));
        return;
    }
    // a fresh player per sound: releasing the previous one cuts its sound off, and a fresh
    // pipeline never needs the rewind that Qt 6.4's GStreamer backend can stall on
    if (m_player) {
        m_player->disconnect(this);
        m_player->stop();
        m_player->deleteLater();
    }
    m_player = new QMediaPlayer(this);
    m_player->setAudioOutput(new QAudioOutput(m_player));
    QMediaPlayer* player = m_player;
    connect(player, &QMediaPlayer::errorOccurred, this,
            [this, name](QMediaPlayer::Error error, const QString& description) {
                if (error != QMediaPlayer::NoError)
                    report(name, description);
            });
    connect(player, &QMediaPlayer::mediaStatusChanged, this,
            [this, name, player](QMediaPlayer::MediaStatus status) {
                if (status == QMediaPlayer::InvalidMedia)
                    report(name, player->errorString());
            });
    m_reported = false;
    player->setSource(QUrl(QStringLiteral("qrc") + resource));
    player->play();
    m_lastSound = name;
    emit soundStarted(name);
}

QString SoundPlayer::lastSound() const
{
    return m_lastSound;
}

// a sound that fails to open reports once, however many errors the backend sends
void SoundPlayer::report(const QString& name, const QString& description)
{
    if (m_reported)
        return;
    m_reported = true;
    const QString text = description.isEmpty() ? QStringLiteral("The file cannot be played")
                                               : description;
    printLine(QStringLiteral("Error: Could not play sound file ") + name +
              QStringLiteral(". Error: ") + text);
}
