#pragma once

#include <QStringList>

// What the command line asks of the program.
struct CommandLine
{
    enum class Action { Run, Check, Help, Version, Error };
    Action action = Action::Run;
    bool portable = false;
    // With Check: nothing printed, the exit status alone tells.
    bool quiet = false;
    // For Error: what was wrong, worded for the terminal.
    QString error;
};

// Reads the arguments (the program's name first). Needs no application object, so help and version can be
// answered before anything asks for a display.
CommandLine parseCommandLine(const QStringList &arguments);

// Writes the help, the version or the error to the terminal and returns the exit code (help and version end
// the process themselves). Needs a
// QCoreApplication (the help names the program as it was started).
int answerOnTerminal(const CommandLine &commandLine);
