#include "probe/postoutcome.h"

#include <QCoreApplication>

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
