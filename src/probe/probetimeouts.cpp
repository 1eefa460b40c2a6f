#include "probe/probetimeouts.h"

#include <algorithm>
#include <cmath>

#include "base/settingsstore.h"

namespace {

int millisecondsFrom(const QString &seconds, int defaultMs)
{
    bool ok = false;
    const double value = seconds.trimmed().toDouble(&ok);
    if (!ok || !std::isfinite(value)) {
        return defaultMs;
    }
    return int(std::clamp(value, 1.0, 3600.0) * 1000.0);
}

} // namespace

ProbeTimeouts ProbeTimeouts::fromSettingTexts(const QString &connect, const QString &read, const QString &page)
{
    const ProbeTimeouts defaults;
    ProbeTimeouts timeouts;
    timeouts.connectMs = millisecondsFrom(connect, defaults.connectMs);
    timeouts.readMs = millisecondsFrom(read, defaults.readMs);
    timeouts.pageMs = millisecondsFrom(page, defaults.pageMs);
    return timeouts;
}

ProbeTimeouts ProbeTimeouts::fromSettings(const SettingsStore &settings)
{
    const QString section = QStringLiteral("data");
    return fromSettingTexts(settings.read(section, QStringLiteral("connectTimeout"), QString()),
        settings.read(section, QStringLiteral("readTimeout"), QString()),
        settings.read(section, QStringLiteral("pageTimeout"), QString()));
}
