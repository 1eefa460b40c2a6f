#pragma once

#include <QTemporaryDir>

#include "base/appcontext.h"
#include "base/settingsstore.h"
#include "links/linkformats.h"
#include "replies/kepttextstore.h"

// One program's worth of state in a temporary folder: the data folder, the settings (with the help window
// kept closed at start-up, so it stays out of the tests' way) and the link formats. A store of kept page texts
// is there for the tests that put it into the context.
struct ProgramState
{
    QTemporaryDir dir;
    SettingsStore settings{dir.filePath(QStringLiteral("Postavo.ini"))};
    LinkFormatTable formats;
    AppContext context{DataFolder(dir.path()), &settings, &formats};
    KeptTextStore keptTexts{dir.filePath(QStringLiteral("page-texts"))};

    ProgramState() { settings.write(QStringLiteral("Settings"), QStringLiteral("showHelp"), QStringLiteral("0")); }
};
