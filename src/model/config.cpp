#include "model/config.h"

#include "core/fileio.h"
#include "model/codec.h"
#include "model/currenttracks.h"
#include "core/output.h"
#include "playback/soundplayer.h"
#include "theme/themedata.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include <cstdlib>

Config::Config(QObject* parent) : QObject(parent)
{
    // 1. every field holds its default (member initialisers)
    // 2. the documents directory
    locateDocumentDirectory();
    // 3. the interface-sound player, and the one reader of the current playlist's tracks
    m_soundPlayer = new SoundPlayer(this);
    m_currentTracks = new CurrentTracks(this);
    // 4.-5. an existing, readable settings file naming a theme
    const bool usable = hasUsableSettings();
    // a first start cut short after its settings file listed the first playlist finishes
    // moving that playlist into place; one cut short before is started again
    settleStagedPlaylists(usable);
    if (usable) {
        loadSettings();
        // a first start that could not complete its themes (a full disk) finishes them now
        installBuiltInThemes();
        loadTheme();
        return;
    }
    // 6. first start, written so that an interruption at any point is healed by the next
    // start: the themes and Playlists appear complete or not at all, Playlists only once
    // the settings file lists its playlist. An existing Playlists is left as it is.
    installBuiltInThemes();
    ensurePlaylistsDirectory();
    // making the first playlist saved the settings; without one the defaults are written
    if (m_playlists.isEmpty())
        writeDefaultSettings();
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

namespace {

// A settings file is a few kilobytes; this bounds what a damaged or hostile one can cost.
constexpr qint64 kMaxSettingsFile = 16 << 20;
// Copies of damaged settings files kept beside the settings file, the first one included.
constexpr int kMaxBrokenCopies = 10;

std::optional<QByteArray> readSettingsFile(const QString& path)
{
    fileio::ReadError error;
    auto bytes = fileio::readRegularFile(path, kMaxSettingsFile, &error);
    if (!bytes)
        printLine(error.message);
    return bytes;
}

} // namespace

bool Config::hasUsableSettings()
{
    const QString path = settingsFileURL();
    if (!QFileInfo::exists(path) && !QFileInfo(path).isSymLink())
        return false;

    const auto bytes = readSettingsFile(path);
    if (!bytes) {
        keepBrokenSettings(path);
        return false;
    }
    const auto decoded = codec::decodeSettings(*bytes);
    if (const auto* error = std::get_if<codec::DecodeError>(&decoded)) {
        printLine(error->message);
        keepBrokenSettings(path);
        return false;
    }
    if (std::get<SettingsData>(decoded).currentTheme.isEmpty()) {
        keepBrokenSettings(path);
        return false;
    }
    return true;
}

// A settings file about to be replaced by the defaults keeps its bytes beside it, so the
// playlist catalogue can be recovered by hand. No copy is ever overwritten: the first is
// ".broken", later ones ".broken.2", ".broken.3" and on; the oldest numbered copies go first
// once there are too many.
void Config::keepBrokenSettings(const QString& path)
{
    const QString first = path + QStringLiteral(".broken");
    const QFileInfo info(path);
    const QString prefix = info.fileName() + QStringLiteral(".broken.");
    QList<int> numbers;
    for (const QString& name : info.dir().entryList({prefix + QLatin1Char('*')},
                                                    QDir::Files | QDir::System | QDir::Hidden)) {
        bool ok = false;
        const int n = name.mid(prefix.size()).toInt(&ok);
        if (ok && n >= 2)
            numbers << n;
    }
    std::sort(numbers.begin(), numbers.end());
    const bool hasFirst = QFileInfo::exists(first) || QFileInfo(first).isSymLink();
    QString target = first;
    if (hasFirst) {
        target =
            path + QStringLiteral(".broken.%1").arg(numbers.isEmpty() ? 2 : numbers.last() + 1);
        while (!numbers.isEmpty() && numbers.size() + 2 > kMaxBrokenCopies)
            QFile::remove(path + QStringLiteral(".broken.%1").arg(numbers.takeFirst()));
    }
    if (QFile::rename(path, target) || QFile::copy(path, target))
        printLine(QStringLiteral("The damaged settings file was kept as \"%1\".").arg(target));
    else
        printLine(
            QStringLiteral("The damaged settings file could not be kept as \"%1\".").arg(target));
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
    const auto bytes = readSettingsFile(path);
    if (!bytes)
        return;
    const auto decoded = codec::decodeSettings(*bytes);
    if (const auto* error = std::get_if<codec::DecodeError>(&decoded)) {
        printLine(error->message);
        return;
    }
    const SettingsData& d = std::get<SettingsData>(decoded);
#define LINDENFOLD_OPTION_LOAD(Type, name, setter, initial, presence) setter(d.name);
    LINDENFOLD_OPTIONS(LINDENFOLD_OPTION_LOAD)
#undef LINDENFOLD_OPTION_LOAD
    setPlaylists(d.playlists);
    if (d.lastSelectedPlaylistID) {
        setLastSelectedPlaylistID(*d.lastSelectedPlaylistID);
        setCurrentPlaylistIndex(*d.lastSelectedPlaylistID);
    }
}

// Settings are replaced atomically: a crash or a full disk in the middle of a save must
// not leave a truncated file that the next start would take for a first start.
bool Config::writeSettingsFile(const SettingsData& data)
{
    QString error;
    if (fileio::writeFileAtomically(settingsFileURL(), codec::encodeSettings(data), &error))
        return true;
    reportSaveFailure(QStringLiteral("Failed to save JSON data: "), error);
    return false;
}

void Config::reportSaveFailure(const QString& prefix, const QString& error)
{
    printLine(prefix + error);
    emit saveFailed(error);
}

void Config::writeDefaultSettings()
{
    SettingsData d;
    d.lastSelectedPlaylistID = 0;
    writeSettingsFile(d);
}

void Config::saveSettings()
{
    writeCurrentSettings();
}

bool Config::writeCurrentSettings()
{
    SettingsData d;
#define LINDENFOLD_OPTION_SAVE(Type, name, setter, initial, presence) d.name = m_##name;
    LINDENFOLD_OPTIONS(LINDENFOLD_OPTION_SAVE)
#undef LINDENFOLD_OPTION_SAVE
    d.lastSelectedPlaylistID = m_lastSelectedPlaylistID;
    d.playlists = codec::sortedByName(m_playlists);
    return writeSettingsFile(d);
}
