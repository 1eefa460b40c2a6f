#pragma once

#include <QTemporaryDir>

#include "base/appcontext.h"
#include "base/settingsstore.h"
#include "links/linkformats.h"

// One program's worth of state in a temporary folder: the data folder, the settings (with the help window
// kept closed at start-up, so it stays out of the tests' way) and the link formats.
struct ProgramState
{
    QTemporaryDir dir;
    SettingsStore settings{dir.filePath(QStringLiteral("Postavo.ini"))};
    LinkFormatTable formats;
    AppContext context{DataFolder(dir.path()), &settings, &formats};

    ProgramState() { settings.write(QStringLiteral("Settings"), QStringLiteral("showHelp"), QStringLiteral("0")); }
};
