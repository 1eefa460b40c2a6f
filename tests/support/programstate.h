#pragma once

#include <QTemporaryDir>

#include "app/programcontext.h"
#include "base/settingsstore.h"
#include "links/linkformats.h"
#include "pagetext/kepttextstore.h"
#include "support/openedsites.h"
#include "ui/websitelauncher.h"

// One program's worth of state in a temporary folder: the data folder, the settings (with the help window
// kept closed at start-up, so it stays out of the tests' way) and the link formats. A store of kept page texts
// is there for the tests that put it into the context; the website's addresses are kept in opened, never opened.
struct ProgramState
{
    QTemporaryDir dir;
    SettingsStore settings{dir.filePath(QStringLiteral("Postavo.ini"))};
    LinkFormatTable formats;
    KeptTextStore keptTexts{dir.filePath(QStringLiteral("page-texts"))};
    Website website{BrandingInfo::ofThisBuild().website};
    OpenedSites opened{website};
    ProgramContext context{{DataFolder(dir.path()), &settings}, &formats, nullptr, nullptr, nullptr, &website};

    ProgramState() { settings.write(QStringLiteral("Settings"), QStringLiteral("showHelp"), QStringLiteral("0")); }
};
