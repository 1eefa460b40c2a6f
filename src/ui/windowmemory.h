#pragma once

#include <QList>
#include <QRect>

class SettingsStore;

// A window's place as the settings file keeps it ([Window]: left, top, width, height, maximized), and how a
// remembered place is fitted to the screens of the next start. Geometry only: no window needed.
namespace WindowMemory {

struct Place
{
    QRect geometry; // the window's normal (not maximised) geometry, without the frame
    bool maximized = false;
};

// The remembered place; an empty geometry when none was kept or a value is not a number.
Place read(const SettingsStore &settings);
void write(SettingsStore &settings, const Place &place);

// A splitter's remembered sizes (key "splitter.<name>"), empty when none.
QList<int> readSplitter(const SettingsStore &settings, const QString &name);
void writeSplitter(SettingsStore &settings, const QString &name, const QList<int> &sizes);

// The first start: two thirds of the screen's available area in the screen's proportions, never below the
// design size (nor beyond the screen), centred on it.
QRect firstGeometry(const QRect &available, const QSize &designSize);

// A remembered geometry on the screens of now: on the screen it overlaps most (the first screen when it
// overlaps none, its screen having gone), no larger than that screen and not below the minimum, moved so that
// it lies whole on it.
QRect fitToScreens(const QRect &remembered, const QList<QRect> &screens, const QSize &minimum);

} // namespace WindowMemory
