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

PostOutcome outcomeOf(ProbeFailure failure)
{
    switch (failure) {
    case ProbeFailure::None:
        break;
    case ProbeFailure::BadAddress:
        return PostOutcome::BadAddress;
    case ProbeFailure::UnknownHost:
        return PostOutcome::UnknownHost;
    case ProbeFailure::Refused:
        return PostOutcome::Refused;
    case ProbeFailure::NoAnswer:
        return PostOutcome::NoAnswer;
    case ProbeFailure::Certificate:
        return PostOutcome::CertificateProblem;
    case ProbeFailure::Broken:
        return PostOutcome::ConnectionBroken;
    case ProbeFailure::TooManyRedirects:
        return PostOutcome::TooManyRedirects;
    }
    return PostOutcome::ConnectionBroken;
}

} // namespace

bool PostResult::wasChecked() const
{
    return outcome == PostOutcome::NewReplies || outcome == PostOutcome::Unchanged || outcome == PostOutcome::Baseline;
}

QString PostResult::text() const
{
    const auto withDetail
        = [this](const QString &text) { return detail.isEmpty() ? text : text + QStringLiteral(": ") + detail; };
    switch (outcome) {
    case PostOutcome::NewReplies:
        return tr("New replies: grew by %1 bytes").arg(growth);
    case PostOutcome::Unchanged:
        return tr("No new replies");
    case PostOutcome::Baseline:
        return tr("Not measured before: size taken now (%1 bytes)").arg(newSize);
    case PostOutcome::NoAnswer:
        return withDetail(tr("No answer"));
    case PostOutcome::Refused:
        return tr("Connection refused");
    case PostOutcome::UnknownHost:
        return tr("Unknown host");
    case PostOutcome::CertificateProblem:
        return withDetail(tr("Certificate problem"));
    case PostOutcome::ServerError:
        return tr("Server error: status %1").arg(status);
    case PostOutcome::ConnectionBroken:
        return withDetail(tr("Connection broken off"));
    case PostOutcome::TooManyRedirects:
        return withDetail(tr("Too many redirects"));
    case PostOutcome::BadAddress:
        return tr("Not a web page address");
    }
    return QString();
}

namespace ReplyCheck {

PostResult resultOf(const PageMeasurement &measurement, const QString &storedSizeEntry, qint32 threshold)
{
    PostResult result;
    result.detail = measurement.detail;
    if (!measurement.isMeasured()) {
        result.outcome = outcomeOf(measurement.failure);
        return result;
    }
    if (measurement.isServerError()) {
        result.outcome = PostOutcome::ServerError;
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
