#include "replies/replycheck.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace ReplyCheck {

namespace {
std::optional<double> readNumber(const QString &text)
{
    bool ok = false;
    const double value = text.trimmed().toDouble(&ok);
    if (!ok || !std::isfinite(value)) {
        return std::nullopt;
    }
    return value;
}
} // namespace

qint32 thresholdFromSetting(const QString &setting)
{
    const std::optional<double> value = readNumber(setting);
    if (!value) {
        return defaultThreshold;
    }
    const double rounded = std::nearbyint(*value); // the default rounding mode sends halves to the even neighbour
    constexpr double low = std::numeric_limits<qint16>::min();
    constexpr double high = std::numeric_limits<qint16>::max();
    return static_cast<qint32>(std::clamp(rounded, low, high));
}

std::optional<double> storedSize(const QString &entry)
{
    return readNumber(entry);
}

bool hasNewReplies(qint32 newSize, const std::optional<double> &stored, qint32 threshold)
{
    if (!stored) {
        return false;
    }
    const double growth = double(newSize) - *stored;
    return growth > double(threshold);
}

} // namespace ReplyCheck
