#include "base/commandline.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <cstdio>

namespace {

QString translated(const char *text)
{
    return QCoreApplication::translate("CommandLine", text);
}

const QString s_portable = QStringLiteral("portable");
const QString s_check = QStringLiteral("check");
const QString s_quiet = QStringLiteral("quiet");

void describe(QCommandLineParser &parser)
{
    parser.setApplicationDescription(
        translated(QT_TRANSLATE_NOOP("CommandLine", "Post messages to web forums and watch your posts for replies.")));
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addOption(QCommandLineOption(s_portable,
        translated(QT_TRANSLATE_NOOP("CommandLine",
            "Keep the data and settings beside the executable instead of in your home folder (as a "
            "file named \"portable\" there does)."))));
    parser.addOption(QCommandLineOption(s_check,
        translated(QT_TRANSLATE_NOOP("CommandLine",
            "Check your posts for new replies without a window, then end. Exit status: 0 no new replies, 1 new "
            "replies, 2 the check could not run, 3 Postavo is open and checks there."))));
    parser.addOption(QCommandLineOption(s_quiet, translated(QT_TRANSLATE_NOOP("CommandLine", "With --check: print nothing."))));
}

void write(FILE *stream, const QString &text)
{
    std::fputs(qPrintable(text), stream);
    std::fflush(stream);
}

} // namespace

CommandLine parseCommandLine(const QStringList &arguments)
{
    QCommandLineParser parser;
    describe(parser);
    CommandLine commandLine;
    if (!parser.parse(arguments)) {
        commandLine.action = CommandLine::Action::Error;
        commandLine.error = parser.errorText();
        return commandLine;
    }
    if (parser.isSet(QStringLiteral("help")) || parser.isSet(QStringLiteral("help-all"))) {
        commandLine.action = CommandLine::Action::Help;
    } else if (parser.isSet(QStringLiteral("version"))) {
        commandLine.action = CommandLine::Action::Version;
    } else if (!parser.positionalArguments().isEmpty()) {
        commandLine.action = CommandLine::Action::Error;
        commandLine.error = translated(QT_TRANSLATE_NOOP("CommandLine", "Unexpected argument: %1"))
                                .arg(parser.positionalArguments().constFirst());
    }
    commandLine.portable = parser.isSet(s_portable);
    commandLine.quiet = parser.isSet(s_quiet);
    if (commandLine.action == CommandLine::Action::Run && parser.isSet(s_check)) {
        commandLine.action = CommandLine::Action::Check;
    }
    return commandLine;
}

int answerOnTerminal(const CommandLine &commandLine)
{
    QCommandLineParser parser;
    describe(parser);
    switch (commandLine.action) {
    case CommandLine::Action::Help:
    case CommandLine::Action::Version:
        // Writes the answer and ends the process, Qt's own options listed on --help-all.
        parser.process(QCoreApplication::arguments());
        break;
    case CommandLine::Action::Error:
        write(stderr,
            commandLine.error + QLatin1Char('\n')
                + translated(QT_TRANSLATE_NOOP("CommandLine", "Try \"%1 --help\".")).arg(QCoreApplication::arguments().value(0))
                + QLatin1Char('\n'));
        return 2;
    case CommandLine::Action::Run:
    case CommandLine::Action::Check:
        break;
    }
    return 0;
}
