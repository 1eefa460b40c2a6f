#include "ui/windowmemory.h"

#include <QStringList>
#include <algorithm>
#include <cmath>

#include "base/settingsstore.h"

namespace {

const QString s_section = QStringLiteral("Window");

qint64 overlap(const QRect &a, const QRect &b)
{
    const QRect common = a.intersected(b);
    return common.isEmpty() ? 0 : qint64(common.width()) * common.height();
}

} // namespace

WindowMemory::Place WindowMemory::read(const SettingsStore &settings)
{
    int values[4] = {};
    const char *const keys[4] = { "left", "top", "width", "height" };
    for (int i = 0; i < 4; ++i) {
        bool ok = false;
        values[i] = settings.read(s_section, QLatin1String(keys[i]), QString()).trimmed().toInt(&ok);
        if (!ok) {
            return {};
        }
    }
    Place place;
    place.geometry = QRect(values[0], values[1], values[2], values[3]);
    if (place.geometry.width() <= 0 || place.geometry.height() <= 0) {
        return {};
    }
    place.maximized = settings.read(s_section, QStringLiteral("maximized"), QStringLiteral("0")) == QLatin1String("1");
    return place;
}

void WindowMemory::write(SettingsStore &settings, const Place &place)
{
    settings.write(s_section, QStringLiteral("left"), QString::number(place.geometry.x()));
    settings.write(s_section, QStringLiteral("top"), QString::number(place.geometry.y()));
    settings.write(s_section, QStringLiteral("width"), QString::number(place.geometry.width()));
    settings.write(s_section, QStringLiteral("height"), QString::number(place.geometry.height()));
    settings.write(s_section, QStringLiteral("maximized"), place.maximized ? QStringLiteral("1") : QStringLiteral("0"));
}

QList<int> WindowMemory::readSplitter(const SettingsStore &settings, const QString &name)
{
    // Written with spaces: INI readers take bare commas for a list.
    QList<int> sizes;
    const QStringList parts = settings.read(s_section, QStringLiteral("splitter.") + name, QString())
                                  .split(QLatin1Char(' '), Qt::SkipEmptyParts);
    for (const QString &part : parts) {
        bool ok = false;
        const int size = part.toInt(&ok);
        if (!ok || size < 0) {
            return {};
        }
        sizes.append(size);
    }
    return sizes;
}

void WindowMemory::writeSplitter(SettingsStore &settings, const QString &name, const QList<int> &sizes)
{
    QStringList parts;
    for (int size : sizes) {
        parts.append(QString::number(size));
    }
    settings.write(s_section, QStringLiteral("splitter.") + name, parts.join(QLatin1Char(' ')));
}

QRect WindowMemory::firstGeometry(const QRect &available, const QSize &designSize)
{
    // Two thirds of the area: each side scaled by the square root of two thirds.
    const double scale = std::sqrt(2.0 / 3.0);
    QSize size(int(available.width() * scale), int(available.height() * scale));
    size = size.expandedTo(designSize).boundedTo(available.size());
    QRect geometry(QPoint(), size);
    geometry.moveCenter(available.center());
    return geometry;
}

QRect WindowMemory::fitToScreens(const QRect &remembered, const QList<QRect> &screens, const QSize &minimum)
{
    if (screens.isEmpty()) {
        return remembered;
    }
    const auto best = std::max_element(screens.begin(), screens.end(),
        [&](const QRect &a, const QRect &b) { return overlap(a, remembered) < overlap(b, remembered); });
    const QRect screen = overlap(*best, remembered) > 0 ? *best : screens.first();
    QRect fitted(remembered.topLeft(), remembered.size().boundedTo(screen.size()).expandedTo(minimum));
    fitted.moveLeft(
        std::clamp(fitted.left(), screen.left(), std::max(screen.left(), screen.right() - fitted.width() + 1)));
    fitted.moveTop(
        std::clamp(fitted.top(), screen.top(), std::max(screen.top(), screen.bottom() - fitted.height() + 1)));
    return fitted;
}
