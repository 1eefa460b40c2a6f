#include "replies/postoutcome.h"

#include <QCoreApplication>

#include <algorithm>
#include <cmath>

#include "replies/pagemeasurement.h"
#include "replies/replycheck.h"

namespace {

QString tr(const char *text)
{
    return QCoreApplication::translate("PostOutcome", text);
}

} // namespace

QString PostResult::text() const
{
    switch (outcome) {
    case PostOutcome::NewReplies:
        return tr("New replies: grew by %1 bytes").arg(growth);
    case PostOutcome::Unchanged:
        return tr("No new replies");
    case PostOutcome::Baseline:
        return tr("Not measured before: size taken now (%1 bytes)").arg(newSize);
    case PostOutcome::NewRepliesOnNextPage:
        return tr("New replies on the next page: %1").arg(page);
    case PostOutcome::PostGone:
        return tr("Your post is no longer on this page");
    case PostOutcome::OwnPostShown:
        return tr("Your post is now shown");
    case PostOutcome::Remeasured:
        return tr("Measured again as your browser sees it (%1 bytes)").arg(newSize);
    case PostOutcome::NotChecked:
        break;
    }
    const QString problem = PageFailures::text(failure, detail, status);
    return page.isEmpty() ? problem : tr("The thread's next page %1: %2").arg(page, problem);
}

namespace ReplyCheck {

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
