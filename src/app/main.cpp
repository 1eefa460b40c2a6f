#include <QApplication>

#include "app/mainwindow.h"
#include "app/programstart.h"
#include "base/appcontext.h"
#include "base/endrequests.h"
#include "base/settingsstore.h"
#include "links/linkformats.h"
#include "replies/kepttextstore.h"
#include "ui/windowicon.h"
#include "web/browserprofile.h"

int main(int argc, char *argv[])
{
    // The browser engine shares its graphics contexts with the windows; it wants that set up first.
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    exposePagesToAssistiveTechnology();
    QApplication app(argc, argv);
    QApplication::setApplicationName(SettingsStore::applicationName());
    QApplication::setApplicationVersion(QStringLiteral(POSTAVO_VERSION));
    // Ties the windows to the installed desktop entry (its name without ".desktop").
    QGuiApplication::setDesktopFileName(QStringLiteral(POSTAVO_APP_ID));
    QApplication::setWindowIcon(programIcon());
    // The main window's shut-down decides when the program ends: a website launcher may still be on its way.
    QApplication::setQuitOnLastWindowClosed(false);

    useStoredBrowserProfile();

    SettingsStore settings;
    LinkFormatTable linkFormats;
    KeptTextStore keptTexts(KeptTextStore::defaultFolder());
    AppContext context{DataFolder::forProgram(), &settings, &linkFormats, &keptTexts};

    // The splash comes first and brings up the main window.
    ProgramStart start(context);
    QObject::connect(&start, &ProgramStart::programEnded, &app, &QApplication::quit, Qt::QueuedConnection);
    QObject::connect(&start, &ProgramStart::startFailed, &app, [&app] { app.exit(1); }, Qt::QueuedConnection);

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
