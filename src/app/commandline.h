#pragma once

#include <QString>
#include <QStringList>

// lindenfold [FILE|URI]... with --help and --version, read before any window or lock exists.
struct CommandLine {
    enum class Action { Run, Help, Version, Error };
    Action action = Action::Run;
    // audio files, playlists or file URIs, as given
    QStringList files;
    QString error;
};

// Qt's own options (-platform wayland, -style ...) are let through for the application object.
CommandLine parseCommandLine(const QStringList& arguments);

// Prints the help, the version or the error with a hint at --help; the exit status.
int answerCommandLine(const CommandLine& commandLine);

// The files made absolute against the current directory, for a player that runs elsewhere;
// URIs that name no existing file stay as given.
QStringList absoluteArguments(const QStringList& files);
