#include "model/config.h"

#include "model/output.h"
#include "theme/skinimages.h"
#include "theme/themedata.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

QString Config::themesDirectory() const
{
    return dataDirectory() + QLatin1Char('/') + QCoreApplication::translate("Config", "Themes");
}

QString Config::themeDirectory(const QString& name) const
{
    // a name that would lead outside Themes counts as a theme without a directory
    if (!theme::isSafeThemeName(name))
        return {};
    return themesDirectory() + QLatin1Char('/') + name;
}

QString Config::themeFileURL() const
{
    const QString dir = themeDirectory(m_currentTheme);
    return dir.isEmpty() ? QString() : dir + QStringLiteral("/theme.json");
}

void Config::loadTheme()
{
    const QString path = themeFileURL();
    if (path.isEmpty() || !QFileInfo::exists(path))
        return;
    QFile file(path);
    // a theme file is a few kilobytes; anything huge is not one
    constexpr qint64 kMaxThemeFile = 1 << 20;
    if (!file.open(QIODevice::ReadOnly)) {
        printLine(QStringLiteral("Failed to read theme.json: ") + file.errorString());
        return;
    }
    if (file.size() > kMaxThemeFile) {
        printLine(QStringLiteral("Failed to read theme.json: The file is too large to be a theme."));
        return;
    }
    const auto decoded = theme::decodeTheme(file.readAll());
    if (const auto* error = std::get_if<theme::DecodeError>(&decoded)) {
        printLine(QStringLiteral("Failed to read theme.json: ") + error->message);
        return;
    }
    applyTheme(std::get<ThemeData>(decoded));
}

void Config::applyTheme(const ThemeData& t)
{
    setPlayerWidth(t.playerWidth);
    setPlayerHeight(t.playerHeight);
    setPlayerMinWidth(t.playerMinWidth);
    setPlayerMinHeight(t.playerMinHeight);
    setTrackTextSize(t.trackTextSize);
    setArtistTextSize(t.artistTextSize);
    setTextReversed(t.textReversed);
    setClosePos(t.closePos);
    setCloseWidth(t.closeWidth);
    setCloseHeight(t.closeHeight);
    setPlayPos(t.playPos);
    setPlayWidth(t.playWidth);
    setPlayHeight(t.playHeight);
    setFfPos(t.ffPos);
    setFfWidth(t.ffWidth);
    setFfHeight(t.ffHeight);
    setMinPos(t.minPos);
    setMinWidth(t.minWidth);
    setMinHeight(t.minHeight);
    setRrPos(t.rrPos);
    setRrWidth(t.rrWidth);
    setRrHeight(t.rrHeight);
    setTrackMenuPos(t.trackMenuPos);
    setTrackMenuWidth(t.trackMenuWidth);
    setTrackMenuHeight(t.trackMenuHeight);
    setPlaylistMenuPos(t.playlistMenuPos);
    setPlaylistMenuWidth(t.playlistMenuWidth);
    setPlaylistMenuHeight(t.playlistMenuHeight);
    setScrubberMinPos(t.scrubberMinPos);
    setScrubberMaxPos(t.scrubberMaxPos);
    setScrubberWidth(t.scrubberWidth);
    setScrubberHeight(t.scrubberHeight);
    setTrackNamePos(t.trackNamePos);
    setTrackArtistPos(t.trackArtistPos);
    setTrackTextWidth(t.trackTextWidth);
    setTrackArtPos(t.trackArtPos);
    setTrackArtWidth(t.trackArtWidth);
    setTrackArtHeight(t.trackArtHeight);
}

ThemeData Config::currentGeometry() const
{
    return ThemeData{m_playerWidth,     m_playerHeight,   m_playerMinWidth,
                     m_playerMinHeight, m_trackTextSize,  m_artistTextSize,
                     m_textReversed,    m_closePos,       m_closeWidth,
                     m_closeHeight,     m_playPos,        m_playWidth,
                     m_playHeight,      m_ffPos,          m_ffWidth,
                     m_ffHeight,        m_minPos,         m_minWidth,
                     m_minHeight,       m_rrPos,          m_rrWidth,
                     m_rrHeight,        m_trackMenuPos,   m_trackMenuWidth,
                     m_trackMenuHeight, m_playlistMenuPos, m_playlistMenuWidth,
                     m_playlistMenuHeight, m_scrubberMinPos, m_scrubberMaxPos,
                     m_scrubberWidth,   m_scrubberHeight, m_trackNamePos,
                     m_trackArtistPos,  m_trackTextWidth, m_trackArtPos,
                     m_trackArtWidth,   m_trackArtHeight};
}

void Config::writeThemeFile(const QString& name)
{
    const QString dir = themeDirectory(name);
    if (dir.isEmpty()) {
        printLine(QStringLiteral("Failed to write theme.json: \"%1\" is not a valid theme name.").arg(name));
        return;
    }
    const ThemeData data = theme::isBuiltInTheme(name) ? theme::familyGeometry(theme::familyOf(name))
                                                       : currentGeometry();
    QSaveFile file(dir + QStringLiteral("/theme.json"));
    const QByteArray bytes = theme::encodeTheme(data);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
        printLine(QStringLiteral("Failed to write theme.json: ") + file.errorString());
}

void Config::installBuiltInThemes()
{
    const QString themes = themesDirectory();
    if (QFileInfo::exists(themes))
        return;
    if (!QDir().mkpath(themes)) {
        printLine(QStringLiteral("Could not create the directory \"%1\".").arg(themes));
        return;
    }
    for (const QString& name : std::as_const(m_availableThemes)) {
        const QString dir = themeDirectory(name);
        if (dir.isEmpty() || QFileInfo::exists(dir))
            continue;
        if (!QDir().mkdir(dir)) {
            printLine(QStringLiteral("Could not create the directory \"%1\".").arg(dir));
            continue;
        }
        writeThemeFile(name);
        for (const QString& element : theme::skinElements()) {
            const QString resource = theme::builtInImageResource(name, element);
            const QString target = dir + QLatin1Char('/') + element + QStringLiteral(".png");
            // a missing resource or a failed copy leaves the element to its fallback
            if (QFile::exists(resource) && QFile::copy(resource, target))
                QFile::setPermissions(target, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther);
        }
    }
}

QImage Config::skinImage(const QString& element) const
{
    return theme::skinImage(themeDirectory(m_currentTheme), element);
}

QImage Config::closeImage() const { return skinImage(QStringLiteral("close")); }
QImage Config::ffImage() const { return skinImage(QStringLiteral("ff")); }
QImage Config::ffOnImage() const { return skinImage(QStringLiteral("ff-on")); }
QImage Config::minImage() const { return skinImage(QStringLiteral("min")); }
QImage Config::pauseImage() const { return skinImage(QStringLiteral("pause")); }
QImage Config::pauseOnImage() const { return skinImage(QStringLiteral("pause-on")); }
QImage Config::playImage() const { return skinImage(QStringLiteral("play")); }
QImage Config::playOnImage() const { return skinImage(QStringLiteral("play-on")); }
QImage Config::playerImage() const { return skinImage(QStringLiteral("player")); }
QImage Config::playerMinImage() const { return skinImage(QStringLiteral("player-min")); }
QImage Config::playlistMenuImage() const { return skinImage(QStringLiteral("playlist-menu")); }
QImage Config::rrImage() const { return skinImage(QStringLiteral("rr")); }
QImage Config::rrOnImage() const { return skinImage(QStringLiteral("rr-on")); }
QImage Config::trackAlbumImage() const { return skinImage(QStringLiteral("track-album")); }
QImage Config::trackMenuImage() const { return skinImage(QStringLiteral("track-menu")); }
QImage Config::trackScrubberImage() const { return skinImage(QStringLiteral("track-scrubber")); }
