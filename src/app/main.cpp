#include <QApplication>

#include "app/appcontext.h"
#include "app/form1.h"
#include "app/settingsstore.h"
#include "links/linkformats.h"

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(SettingsStore::applicationName());
    QApplication::setApplicationVersion(QStringLiteral(POSTAVO_VERSION));

    SettingsStore settings;
    LinkFormatTable linkFormats;
    AppContext context{DataFolder::ofExecutable(), &settings, &linkFormats};

    Form1 mainWindow(context);
    QObject::connect(&mainWindow, &Form1::programEnded, &app, &QApplication::quit, Qt::QueuedConnection);
    if (!mainWindow.Form_Load()) {
        return 1;
    }
    mainWindow.show();
    return app.exec();
}
