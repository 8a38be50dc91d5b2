#include "model/config.h"

#include "model/codec.h"
#include "model/output.h"
#include "playback/soundplayer.h"
#include "theme/themedata.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>

#include <cstdlib>

Config::Config(QObject* parent) : QObject(parent)
{
    // 1. every field holds its default (member initialisers)
    // 2. the documents directory
    locateDocumentDirectory();
    // 3. the interface-sound player
    m_soundPlayer = new SoundPlayer(this);
    // 4.-5. an existing, readable settings file naming a theme
    if (setUpFromExistingSettings())
        return;
    // 6. first start
    writeDefaultSettings();
    installBuiltInThemes();
    ensurePlaylistsDirectory();
}

Config::~Config() = default;

QStringList Config::builtInThemeNames()
{
    return theme::builtInThemeNames();
}

void Config::locateDocumentDirectory()
{
    const QString dir = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    QString error;
    if (dir.isEmpty())
        error = QStringLiteral("no documents directory is known for this user");
    else if (!QDir().mkpath(dir))
        error = QStringLiteral("could not create \"%1\"").arg(dir);
    if (!error.isEmpty()) {
        printLine(QStringLiteral("Unable to locate document directory: ") + error);
        std::exit(EXIT_FAILURE);
    }
    m_documentDirectory = QDir(dir).absolutePath();
}

bool Config::setUpFromExistingSettings()
{
    const QString path = settingsFileURL();
    if (!QFileInfo::exists(path))
        return false;

    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        printLine(file.errorString());
        keepBrokenSettings(path);
        return false;
    }
    const QByteArray bytes = file.readAll();
    file.close();
    const auto decoded = codec::decodeSettings(bytes);
    if (const auto* error = std::get_if<codec::DecodeError>(&decoded)) {
        printLine(error->message);
        keepBrokenSettings(path);
        return false;
    }
    if (std::get<SettingsData>(decoded).currentTheme.isEmpty()) {
        keepBrokenSettings(path);
        return false;
    }
    loadSettings();
    loadTheme();
    return true;
}

// A settings file about to be replaced by the defaults keeps its bytes beside it, so the
// playlist catalogue can be recovered by hand.
void Config::keepBrokenSettings(const QString& path)
{
    const QString broken = path + QStringLiteral(".broken");
    QFile::remove(broken);
    if (!QFile::rename(path, broken))
        QFile::copy(path, broken);
}

QString Config::dataDirectory() const
{
    return m_documentDirectory + QStringLiteral("/lindenfold");
}

QString Config::settingsFileURL() const
{
    const QString dir = dataDirectory();
    if (!QFileInfo::exists(dir) && !QDir().mkpath(dir))
        printLine(QStringLiteral("Could not create the directory \"%1\".").arg(dir));
    return dir + QStringLiteral("/lindenfold-settings.json");
}

void Config::loadSettings()
{
    const QString path = settingsFileURL();
    if (!QFileInfo::exists(path)) {
        printLine(QStringLiteral("Settings file not found."));
        return;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        printLine(file.errorString());
        return;
    }
    const auto decoded = codec::decodeSettings(file.readAll());
    if (const auto* error = std::get_if<codec::DecodeError>(&decoded)) {
        printLine(error->message);
        return;
    }
    const SettingsData& d = std::get<SettingsData>(decoded);
    setCurrentTheme(d.currentTheme);
    setAvailableThemes(d.availableThemes);
    setPlaysSounds(d.playsSounds);
    setSuperSized(d.superSized);
    setIsFloating(d.isFloating);
    setShuffleTracks(d.shuffleTracks);
    setLoopTracks(d.loopTracks);
    setPlaylists(d.playlists);
    if (d.lastSelectedPlaylistID) {
        setLastSelectedPlaylistID(*d.lastSelectedPlaylistID);
        setCurrentPlaylistIndex(*d.lastSelectedPlaylistID);
    }
}

namespace {

// Settings are replaced atomically: a crash in the middle of a save must not leave a
// truncated file that the next start would take for a first start.
void writeSettingsFile(const QString& path, const SettingsData& data)
{
    QSaveFile file(path);
    const QByteArray bytes = codec::encodeSettings(data);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
        printLine(QStringLiteral("Failed to save JSON data: ") + file.errorString());
}

} // namespace

void Config::writeDefaultSettings()
{
    SettingsData d;
    d.currentTheme = QStringLiteral("mini-graphite");
    d.availableThemes = builtInThemeNames();
    d.lastSelectedPlaylistID = 0;
    writeSettingsFile(settingsFileURL(), d);
}

void Config::saveSettings()
{
    SettingsData d;
    d.currentTheme = m_currentTheme;
    d.availableThemes = m_availableThemes;
    d.playsSounds = m_playsSounds;
    d.superSized = m_superSized;
    d.isFloating = m_isFloating;
    d.shuffleTracks = m_shuffleTracks;
    d.loopTracks = m_loopTracks;
    d.lastSelectedPlaylistID = m_lastSelectedPlaylistID;
    d.playlists = codec::sortedByName(m_playlists);
    writeSettingsFile(settingsFileURL(), d);
}
