#include "app/commandline.h"

#include "core/output.h"
#include "model/playlistformats.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFileInfo>

namespace {

void setUp(QCommandLineParser& parser)
{
    parser.setApplicationDescription(QCoreApplication::translate(
        "CommandLine", "A small skinned music player. Files given are added to the end of the "
                       "current playlist and the first of them plays; when Lindenfold runs "
                       "already, they go to the running player."));
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addPositionalArgument(
        QStringLiteral("files"),
        QCoreApplication::translate(
            "CommandLine", "Audio files, folders, playlists (M3U, M3U8, PLS, XSPF) or file URIs."),
        QStringLiteral("[FILE|URI...]"));
    // what QGuiApplication reads from the command line itself
    for (const char* name : {"platform", "platformpluginpath", "platformtheme", "plugin",
                             "qwindowgeometry", "qwindowicon", "qwindowtitle", "display",
                             "geometry", "style", "stylesheet", "session", "title"}) {
        QCommandLineOption option(QString::fromLatin1(name), QString(), QStringLiteral("value"));
        option.setFlags(QCommandLineOption::HiddenFromHelp);
        parser.addOption(option);
    }
    for (const char* name : {"reverse", "widgetcount", "nograb", "dograb", "sync"}) {
        QCommandLineOption option(QString::fromLatin1(name));
        option.setFlags(QCommandLineOption::HiddenFromHelp);
        parser.addOption(option);
    }
}

} // namespace

CommandLine parseCommandLine(const QStringList& arguments)
{
    QCommandLineParser parser;
    setUp(parser);
    CommandLine result;
    if (!parser.parse(arguments)) {
        result.action = CommandLine::Action::Error;
        result.error = parser.errorText();
    } else if (parser.isSet(QStringLiteral("help")) || parser.isSet(QStringLiteral("help-all"))) {
        result.action = CommandLine::Action::Help;
    } else if (parser.isSet(QStringLiteral("version"))) {
        result.action = CommandLine::Action::Version;
    }
    result.files = parser.positionalArguments();
    return result;
}

int answerCommandLine(const CommandLine& commandLine)
{
    switch (commandLine.action) {
    case CommandLine::Action::Run:
        break;
    case CommandLine::Action::Help: {
        // built again here, so that its texts are those of the installed translation
        QCommandLineParser parser;
        setUp(parser);
        // one printed line per line of the help: printLine escapes a line break
        const QString text = parser.helpText();
        for (const QString& line :
             (text.endsWith(QLatin1Char('\n')) ? text.chopped(1) : text).split(QLatin1Char('\n')))
            printLine(line);
        return 0;
    }
    case CommandLine::Action::Version:
        printLine(QStringLiteral("lindenfold ") + QCoreApplication::applicationVersion());
        return 0;
    case CommandLine::Action::Error: {
        // the error quotes the argument as given
        const QByteArray text =
            (escapeControls(commandLine.error) + QLatin1Char('\n') +
             QCoreApplication::translate("CommandLine", "Try \"lindenfold --help\".") +
             QLatin1Char('\n'))
                .toUtf8();
        std::fwrite(text.constData(), 1, size_t(text.size()), stderr);
        return 2;
    }
    }
    return 0;
}

QStringList absoluteArguments(const QStringList& files)
{
    QStringList absolute;
    for (const QString& file : files) {
        const QFileInfo info(file);
        absolute.append(
            !info.exists() && playlistformats::hasUriScheme(file) ? file : info.absoluteFilePath());
    }
    return absolute;
}
