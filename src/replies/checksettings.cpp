#include "replies/checksettings.h"

#include "base/settingsstore.h"
#include "replies/checkschedule.h"
#include "replies/replycheck.h"

namespace CheckSettings {

namespace {
const QString s_section = QStringLiteral("data");
const QString s_threshold = QStringLiteral("size");
const QString s_checkEvery = QStringLiteral("checkEvery");
} // namespace

QString thresholdText(const SettingsStore &settings)
{
    return settings.read(s_section, s_threshold, QString::number(defaultThreshold));
}

qint32 threshold(const SettingsStore &settings)
{
    return ReplyCheck::thresholdFromSetting(thresholdText(settings));
}

void storeThreshold(SettingsStore &settings, const QString &text)
{
    settings.write(s_section, s_threshold, text);
}

int checkEvery(const SettingsStore &settings)
{
    return CheckSchedule::minutesFromSetting(settings.read(s_section, s_checkEvery, QStringLiteral("0")));
}

void storeCheckEvery(SettingsStore &settings, int minutes)
{
    settings.write(s_section, s_checkEvery, QString::number(minutes));
}

QStringList timeKeys()
{
    QStringList keys;
    for (int digit = 0; digit < 3; ++digit) {
        keys.append(QStringLiteral("minutes") + QString::number(digit));
        keys.append(QStringLiteral("seconds") + QString::number(digit));
    }
    return keys;
}

QStringList timeValues(const SettingsStore &settings)
{
    QStringList values;
    for (const QString &key : timeKeys()) {
        values.append(settings.read(s_section, key, QString()));
    }
    return values;
}

void storeTimeValues(SettingsStore &settings, const QStringList &values)
{
    const QStringList keys = timeKeys();
    for (qsizetype i = 0; i < keys.size(); ++i) {
        settings.write(s_section, keys[i], values.value(i));
    }
}

} // namespace CheckSettings

namespace {
const QString s_checks = QStringLiteral("Checks");
const QString s_userAgent = QStringLiteral("browserUserAgent");
const QString s_told = QStringLiteral("toldWithoutWindow");
} // namespace

QString CheckSettings::browserUserAgent(const SettingsStore &settings)
{
    return settings.read(s_checks, s_userAgent, QString());
}

void CheckSettings::storeBrowserUserAgent(SettingsStore &settings, const QString &userAgent)
{
    // Written only when it changed: the window tells it at every start.
    if (browserUserAgent(settings) != userAgent) {
        settings.write(s_checks, s_userAgent, userAgent);
    }
}

QStringList CheckSettings::toldWithoutWindow(const SettingsStore &settings)
{
    // Stored addresses are fully encoded: no spaces in them.
    return settings.read(s_checks, s_told, QString()).split(u' ', Qt::SkipEmptyParts);
}

void CheckSettings::storeToldWithoutWindow(SettingsStore &settings, const QStringList &addresses)
{
    const QString joined = addresses.join(u' ');
    if (settings.read(s_checks, s_told, QString()) != joined) {
        settings.write(s_checks, s_told, joined);
    }
}
