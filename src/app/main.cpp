#include <csignal>
#include <QApplication>
#include <QMessageBox>
#include <QWebEngineProfile>
#include <QDir>
#include <QFile>
#include <memory>

#include "app/headlesscheck.h"
#include "base/writerlock.h"
#include "replies/checksettings.h"
#include "replies/closedchecks.h"
#include "app/mainwindow.h"
#include "app/programstart.h"
#include "app/programcontext.h"
#include "base/commandline.h"
#include "base/endrequests.h"
#include "base/settingsstore.h"
#include "base/translations.h"
#include "links/linkformats.h"
#include "pagetext/kepttextstore.h"
#include "ui/websitelauncher.h"
#include "ui/windowicon.h"
#include "web/browserprofile.h"

namespace {

void nameTheProgram()
{
    QCoreApplication::setApplicationName(SettingsStore::applicationName());
    QCoreApplication::setApplicationVersion(QStringLiteral(POSTAVO_VERSION));
}

QStringList argumentList(int argc, char *argv[])
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i) {
        arguments.append(QString::fromLocal8Bit(argv[i]));
    }
    return arguments;
}

} // namespace

int main(int argc, char *argv[])
{
    // A file size limit (ulimit -f) would end the program at a save; ignored, the save fails with its reason.
    std::signal(SIGXFSZ, SIG_IGN);
    // Help, version and a check without a window are answered on the terminal, before anything asks for a
    // display or starts the browser engine.
    CommandLine commandLine = parseCommandLine(argumentList(argc, argv));
    if (commandLine.action == CommandLine::Action::Help || commandLine.action == CommandLine::Action::Version
        || commandLine.action == CommandLine::Action::Check) {
        QCoreApplication terminal(argc, argv);
        nameTheProgram();
        installTranslations();
        return commandLine.action == CommandLine::Action::Check ? HeadlessCheck::run(commandLine)
                                                                : answerOnTerminal(commandLine);
    }

    // The browser engine shares its graphics contexts with the windows; it wants that set up first.
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    exposePagesToAssistiveTechnology();
    QApplication app(argc, argv);
    nameTheProgram();
    installTranslations();
    // Qt's own options (-platform, -style, ...) are gone from the arguments now; what is left is ours.
    commandLine = parseCommandLine(QCoreApplication::arguments());
    if (commandLine.action != CommandLine::Action::Run) {
        return answerOnTerminal(commandLine);
    }
    // Ties the windows to the installed desktop entry (its name without ".desktop").
    QGuiApplication::setDesktopFileName(QStringLiteral(POSTAVO_APP_ID));
    QApplication::setWindowIcon(programIcon());
    // The main window's shut-down decides when the program ends: a website launcher may still be on its way.
    QApplication::setQuitOnLastWindowClosed(false);

    DataLocation location;
    const DataFolder dataFolder = DataFolder::forProgram(commandLine.portable, &location);
    // The window writes the lists while it runs; a check started without it ends and lets go, keeping what it
    // measured.
    WriterLock writerLock(dataFolder.path());
    if (!writerLock.takeFromHolder(20000)) {
        QMessageBox::critical(nullptr, QStringLiteral("Postavo"),
            QCoreApplication::translate("main", "Another Postavo is writing the lists in\n%1\nand does not let go.")
                .arg(dataFolder.path()));
        return 1;
    }
    const auto settings = SettingsStore::forLocation(location);
    LinkFormatTable linkFormats;
    KeptTextStore keptTexts(KeptTextStore::folderFor(location));
    // A portable program keeps its browser's cookies and cache beside itself too, and what the engine and Qt's
    // graphics keep in the per-user folders (the engine's preferences, compiled shaders) in that folder as well.
    const QString browserFolder = location.portable ? QDir(location.path).filePath(QStringLiteral("browser")) : QString();
    if (location.portable) {
        qputenv("XDG_DATA_HOME", QFile::encodeName(browserFolder + QStringLiteral("/data")));
        qputenv("XDG_CACHE_HOME", QFile::encodeName(browserFolder + QStringLiteral("/cache")));
    }
    QWebEngineProfile *profile = storedBrowserProfile(browserFolder, &app);
    // Checks without the window ask for pages as the browser pane does.
    CheckSettings::storeBrowserUserAgent(*settings, profile->httpUserAgent());
    Website website(BrandingInfo::ofThisBuild().website);
    // The timer runs this program as it was started, portable or not.
    QStringList checkCommand { QCoreApplication::applicationFilePath() };
    if (commandLine.portable) {
        checkCommand.append(QStringLiteral("--portable"));
    }
    ClosedChecks closedChecks(ClosedChecks::defaultUnitFolder(), checkCommand + QStringList { QStringLiteral("--check"), QStringLiteral("--quiet") });
    ProgramContext context { { dataFolder, settings.get() }, &linkFormats, &keptTexts, profile, nullptr, &website,
        &closedChecks };

    // The splash comes first and brings up the main window.
    ProgramStart start(context);
    start.setDataLocation(location);
    QObject::connect(&start, &ProgramStart::programEnded, &app, &QApplication::quit, Qt::QueuedConnection);
    QObject::connect(
        &start, &ProgramStart::startFailed, &app, [&app] { app.exit(1); }, Qt::QueuedConnection);

    // Asked to end from outside (log-out, kill, Ctrl+C): the main window's shut-down saves and ends the program.
    EndRequests endRequests;
    QObject::connect(&endRequests, &EndRequests::requested, &start, [&app, &start] {
        if (MainWindow *mainWindow = start.mainWindow()) {
            mainWindow->close();
        } else {
            app.quit();
        }
    });

    start.begin();
    return app.exec();
}
