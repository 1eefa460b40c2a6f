#include "replies/replycheck.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "base/numbertext.h"
#include "probe/pagemeasurement.h"

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
    constexpr double low = std::numeric_limits<qint16>::min();
    constexpr double high = std::numeric_limits<qint16>::max();
    const std::optional<double> value = readNumber(setting);
    if (!value) {
        // The options dialog lets through any run of digits; one too long for a double is beyond the range
        // (or, all zeros before its point, too small to be anything but zero) and is clamped like any other.
        if (!readsAsNumber(setting)) {
            return CheckSettings::defaultThreshold;
        }
        const QString whole = setting.trimmed().section(QLatin1Char('.'), 0, 0);
        if (!std::any_of(whole.cbegin(), whole.cend(), [](QChar c) { return c >= u'1' && c <= u'9'; })) {
            return 0;
        }
        return static_cast<qint32>(whole.startsWith(QLatin1Char('-')) ? low : high);
    }
    const double rounded = std::nearbyint(*value); // the default rounding mode sends halves to the even neighbour
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

PostResult resultOf(const PageMeasurement &measurement, const QString &storedSizeEntry, qint32 threshold)
{
    PostResult result;
    result.detail = measurement.detail;
    if (!measurement.isUsable()) {
        result.failure = measurement.problem();
        result.status = measurement.status;
        return result;
    }
    result.newSize = measurement.size;
    const std::optional<double> stored = storedSize(storedSizeEntry);
    if (!stored) {
        result.outcome = PostOutcome::Baseline;
        return result;
    }
    // A stored size far outside what a page can be still gives a growth that fits.
    result.growth = qint64(std::clamp(std::round(double(measurement.size) - *stored), -9.0e18, 9.0e18));
    result.outcome
        = hasNewReplies(measurement.size, stored, threshold) ? PostOutcome::NewReplies : PostOutcome::Unchanged;
    return result;
}

} // namespace ReplyCheck
