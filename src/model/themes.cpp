#include "model/config.h"

#include "core/fileio.h"
#include "core/output.h"
#include "theme/skinimages.h"
#include "theme/themedata.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QHash>
#include <QTemporaryDir>

#include <algorithm>
#include <cmath>

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
    // a theme file is a few kilobytes; anything huge is not one
    constexpr qint64 kMaxThemeFile = 1 << 20;
    fileio::ReadError readError;
    const auto bytes = fileio::readRegularFile(path, kMaxThemeFile, &readError);
    if (!bytes) {
        printLine(QStringLiteral("Failed to read theme.json: ") + readError.message);
        return;
    }
    // keys a theme file written before they existed lacks take the family's values
    const auto decoded =
        theme::decodeTheme(*bytes, theme::familyGeometry(theme::familyOf(m_currentTheme)));
    if (const auto* error = std::get_if<theme::DecodeError>(&decoded)) {
        printLine(QStringLiteral("Failed to read theme.json: ") + error->message);
        return;
    }
    const ThemeData& t = std::get<ThemeData>(decoded);
    const auto tooSmall = [](double side) { return !(side >= ThemeData::kMinWindowPoints); };
    if (tooSmall(t.playerWidth) || tooSmall(t.playerHeight) || tooSmall(t.playerMinWidth) ||
        tooSmall(t.playerMinHeight))
        printLine(
            QStringLiteral("The theme \"%1\" makes the player window smaller than %2x%2 points; "
                           "it is shown at least that large.")
                .arg(m_currentTheme)
                .arg(ThemeData::kMinWindowPoints));
    applyTheme(t);
}

void Config::applyTheme(const ThemeData& t)
{
    if (theme::sameGeometry(m_geometry, t))
        return;
    m_geometry = t;
    emit geometryChanged();
}

ThemeData Config::currentGeometry() const
{
    return m_geometry;
}

namespace {

bool writeThemeJson(const QString& dir, const ThemeData& data, QString* error)
{
    return fileio::writeFileAtomically(dir + QStringLiteral("/theme.json"),
                                       theme::encodeTheme(data), error);
}

QString elementFile(const QString& dir, const QString& element)
{
    return dir + QLatin1Char('/') + element + QStringLiteral(".png");
}

} // namespace

void Config::writeThemeFile(const QString& name)
{
    const QString dir = themeDirectory(name);
    if (dir.isEmpty()) {
        printLine(QStringLiteral("Failed to write theme.json: \"%1\" is not a valid theme name.")
                      .arg(name));
        return;
    }
    const ThemeData data = theme::isBuiltInTheme(name)
                               ? theme::familyGeometry(theme::familyOf(name))
                               : currentGeometry();
    QString error;
    if (!writeThemeJson(dir, data, &error))
        reportSaveFailure(QStringLiteral("Failed to write theme.json: "), error);
}

// The built-in themes are made in a hidden directory beside Themes and moved into place with
// one rename once all of them are complete: Themes is either missing, and the next first
// start installs it, or whole. An existing Themes, with the user's edits, is left alone.
void Config::installBuiltInThemes()
{
    const QString themes = themesDirectory();
    if (QFileInfo::exists(themes))
        return;
    const QString prefix = QStringLiteral(".Themes-install-");
    QDir data(dataDirectory());
    // what an interrupted installation left behind
    for (const QString& stale :
         data.entryList({prefix + QLatin1Char('*')}, QDir::Dirs | QDir::Hidden))
        QDir(data.filePath(stale)).removeRecursively();
    QTemporaryDir staging(data.filePath(prefix + QStringLiteral("XXXXXX")));
    if (!staging.isValid()) {
        printLine(QStringLiteral("Could not create the directory \"%1\".").arg(themes));
        return;
    }
    for (const QString& name : theme::builtInThemeNames()) {
        if (!installTheme(name, staging.filePath(name)))
            return;
    }
    fileio::syncFileSystem(staging.path());
    if (!QFile::setPermissions(staging.path(), QFile::ReadOwner | QFile::WriteOwner |
                                                   QFile::ExeOwner | QFile::ReadGroup |
                                                   QFile::ExeGroup | QFile::ReadOther |
                                                   QFile::ExeOther) ||
        !QDir().rename(staging.path(), themes)) {
        printLine(QStringLiteral("Could not create the directory \"%1\".").arg(themes));
        return;
    }
    staging.setAutoRemove(false);
}

bool Config::installTheme(const QString& name, const QString& dir)
{
    if (!QDir().mkdir(dir)) {
        printLine(QStringLiteral("Could not create the directory \"%1\".").arg(dir));
        return false;
    }
    const ThemeData data = theme::familyGeometry(theme::familyOf(name));
    QString error;
    if (!fileio::writeNewFile(dir + QStringLiteral("/theme.json"), theme::encodeTheme(data),
                              &error)) {
        reportSaveFailure(QStringLiteral("Failed to write theme.json: "), error);
        return false;
    }
    for (const QString& element : theme::skinElements()) {
        const QString resource = theme::builtInImageResource(name, element);
        // a theme without a resource for an element draws that element's fallback
        if (!QFile::exists(resource))
            continue;
        QFile image(resource);
        if (!image.open(QIODevice::ReadOnly) ||
            !fileio::writeNewFile(elementFile(dir, element), image.readAll(), &error)) {
            reportSaveFailure(QStringLiteral("Failed to install the theme \"%1\": ").arg(name),
                              error.isEmpty() ? image.errorString() : error);
            return false;
        }
    }
    return true;
}

namespace {

// Pixels of one skin image, at most: any theme's sixteen stay under 64 MB together.
constexpr qint64 kMaxImagePixels = 1000 * 1000;

} // namespace

// The size an element's image is drawn at, enlarged and on the sharpest screen, in pixels.
QSize Config::skinImagePixels(const QString& element) const
{
    static const QHash<QString, std::pair<double ThemeData::*, double ThemeData::*>> sizes = {
        {QStringLiteral("close"), {&ThemeData::closeWidth, &ThemeData::closeHeight}},
        {QStringLiteral("ff"), {&ThemeData::ffWidth, &ThemeData::ffHeight}},
        {QStringLiteral("ff-on"), {&ThemeData::ffWidth, &ThemeData::ffHeight}},
        {QStringLiteral("min"), {&ThemeData::minWidth, &ThemeData::minHeight}},
        {QStringLiteral("pause"), {&ThemeData::playWidth, &ThemeData::playHeight}},
        {QStringLiteral("pause-on"), {&ThemeData::playWidth, &ThemeData::playHeight}},
        {QStringLiteral("play"), {&ThemeData::playWidth, &ThemeData::playHeight}},
        {QStringLiteral("play-on"), {&ThemeData::playWidth, &ThemeData::playHeight}},
        {QStringLiteral("player"), {&ThemeData::playerWidth, &ThemeData::playerHeight}},
        {QStringLiteral("player-min"), {&ThemeData::playerMinWidth, &ThemeData::playerMinHeight}},
        {QStringLiteral("playlist-menu"),
         {&ThemeData::playlistMenuWidth, &ThemeData::playlistMenuHeight}},
        {QStringLiteral("rr"), {&ThemeData::rrWidth, &ThemeData::rrHeight}},
        {QStringLiteral("rr-on"), {&ThemeData::rrWidth, &ThemeData::rrHeight}},
        {QStringLiteral("track-album"), {&ThemeData::trackArtWidth, &ThemeData::trackArtHeight}},
        {QStringLiteral("track-menu"), {&ThemeData::trackMenuWidth, &ThemeData::trackMenuHeight}},
        {QStringLiteral("track-scrubber"), {&ThemeData::scrubberWidth, &ThemeData::scrubberHeight}},
    };
    const auto it = sizes.constFind(element);
    if (it == sizes.constEnd())
        return {};
    const double ratio = qGuiApp ? std::max(1.0, qGuiApp->devicePixelRatio()) : 1.0;
    const auto pixels = [&](double points) {
        // NaN and negative sizes draw nothing; a pixel keeps the image decodable
        const double p =
            std::isnan(points) ? 1 : std::clamp(std::ceil(points * 1.5 * ratio), 1.0, 4096.0);
        return int(p);
    };
    QSize size(pixels(m_geometry.*(it->first)), pixels(m_geometry.*(it->second)));
    if (qint64(size.width()) * size.height() > kMaxImagePixels)
        size = size.scaled(1000, 1000, Qt::KeepAspectRatio).expandedTo(QSize(1, 1));
    return size;
}

QImage Config::skinImage(const QString& element) const
{
    return theme::skinImage(themeDirectory(m_currentTheme), element, skinImagePixels(element));
}

QImage Config::closeImage() const
{
    return skinImage(QStringLiteral("close"));
}
QImage Config::ffImage() const
{
    return skinImage(QStringLiteral("ff"));
}
QImage Config::ffOnImage() const
{
    return skinImage(QStringLiteral("ff-on"));
}
QImage Config::minImage() const
{
    return skinImage(QStringLiteral("min"));
}
QImage Config::pauseImage() const
{
    return skinImage(QStringLiteral("pause"));
}
QImage Config::pauseOnImage() const
{
    return skinImage(QStringLiteral("pause-on"));
}
QImage Config::playImage() const
{
    return skinImage(QStringLiteral("play"));
}
QImage Config::playOnImage() const
{
    return skinImage(QStringLiteral("play-on"));
}
QImage Config::playerImage() const
{
    return skinImage(QStringLiteral("player"));
}
QImage Config::playerMinImage() const
{
    return skinImage(QStringLiteral("player-min"));
}
QImage Config::playlistMenuImage() const
{
    return skinImage(QStringLiteral("playlist-menu"));
}
QImage Config::rrImage() const
{
    return skinImage(QStringLiteral("rr"));
}
QImage Config::rrOnImage() const
{
    return skinImage(QStringLiteral("rr-on"));
}
QImage Config::trackAlbumImage() const
{
    return skinImage(QStringLiteral("track-album"));
}
QImage Config::trackMenuImage() const
{
    return skinImage(QStringLiteral("track-menu"));
}
QImage Config::trackScrubberImage() const
{
    return skinImage(QStringLiteral("track-scrubber"));
}
