#pragma once

#include <QString>
#include <QStringList>

class SettingsStore;

// The reply check's settings, each read, written and given its default here alone: the threshold ("size"), how
// often to check while the program runs ("checkEvery"), and the six timing keys an older version kept, carried
// as they are. Section "data". The check's time limits are ProbeTimeouts'.
namespace CheckSettings {

inline constexpr qint32 defaultThreshold = 500;

// The threshold as stored, for showing and editing it; "500" when none is.
QString thresholdText(const SettingsStore &settings);
// The threshold as the check applies it (see ReplyCheck::thresholdFromSetting).
qint32 threshold(const SettingsStore &settings);
void storeThreshold(SettingsStore &settings, const QString &text);

// Minutes between checks while the program runs; 0 for never, and for a stored value that is not one of
// CheckSchedule::choices().
int checkEvery(const SettingsStore &settings);
void storeCheckEvery(SettingsStore &settings, int minutes);

// The browser pane's User-Agent as the window last saw it, for checks that run without it (section
// "Checks"); empty before the window first ran.
QString browserUserAgent(const SettingsStore &settings);
void storeBrowserUserAgent(SettingsStore &settings, const QString &userAgent);

// The posts a check without the window has told of, so that each is told once across its runs (section
// "Checks").
QStringList toldWithoutWindow(const SettingsStore &settings);
void storeToldWithoutWindow(SettingsStore &settings, const QStringList &addresses);

// "minutes0", "seconds0", "minutes1", ... in their order, and their values as stored.
QStringList timeKeys();
QStringList timeValues(const SettingsStore &settings);
void storeTimeValues(SettingsStore &settings, const QStringList &values);

} // namespace CheckSettings
