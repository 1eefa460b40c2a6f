#pragma once

#include <QIcon>
#include <QString>

class QWidget;

// Registers the resources of the program's windows (icons, the design skin); calling it again does nothing.
void initWindowResources();

// The sizes every program icon is drawn at.
inline constexpr int programIconSizes[] = { 16, 24, 32, 48, 64, 128, 256 };

// The named icon from the program's resources (":/icons/<name>/<size>.png") with every size it has, so the
// window system can pick the nearest one; an empty icon when no such name exists.
QIcon iconResource(const QString &resourceName);

// The program's own icon, "AAA".
QIcon programIcon();

// The window at the end of the owner chain that starts at the window (the window itself when it has no
// owner): the one whose entry the task bar shows.
QWidget *topOwner(QWidget *window);

// Gives the window the named icon and, with alsoTopOwner, its top owner as well. A name that does not exist
// gives an empty icon, which takes the window's icon away.
void setWindowIcon(QWidget *window, const QString &resourceName, bool alsoTopOwner);
