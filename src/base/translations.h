#pragma once

#include <QLocale>
#include <QStringList>

// The folders the program's translations (postavo_<language>.qm) are looked for in, first found first: beside
// the executable (a build tree, a portable folder) and in the installed shared folder.
QStringList translationFolders(const QString &programFolder);

// Loads the program's and Qt's own translations for the locale (the system's by default) into the running
// application. English needs none. Returns the program's translation file that was loaded, empty for none.
QString installTranslations(const QLocale &locale = QLocale());
