#pragma once

#include <QMetaType>
#include <QString>
#include <QStringList>

#include "replies/pagefailure.h"

struct PageMeasurement;

// What a reply check found for one post.
enum class PostOutcome {
    NewReplies, // grew by more than the threshold
    Unchanged, // grew by at most the threshold, or shrank
    Baseline, // no usable stored size: the size measured now is its first
    NotChecked, // the page could not be measured, or the server answered with an error: see failure
};

struct PostResult
{
    PostOutcome outcome = PostOutcome::NotChecked;
    PageFailure failure = PageFailure::None;
    // The page's size now: for NewReplies, Unchanged and Baseline (the caller stores it for a baseline).
    qint32 newSize = 0;
    // New size minus stored size: for NewReplies and Unchanged.
    qint64 growth = 0;
    // ServerError: the status code.
    int status = 0;
    // The socket or TLS layer's words, when it gave any.
    QString detail;
    // NewReplies: the runs of text the page added since its text was kept, in page order; empty when the text
    // tells nothing (none was kept, or only numbers moved).
    QStringList newText;

    // False when the page could not be measured (it counts among those that "could not be checked").
    bool wasChecked() const { return outcome != PostOutcome::NotChecked; }
    // A short text for beside the post.
    QString text() const;
};

Q_DECLARE_METATYPE(PostResult)

namespace ReplyCheck {

// The outcome of a measured (or failed) page against the entry stored for it, by hasNewReplies().
PostResult resultOf(const PageMeasurement &measurement, const QString &storedSizeEntry, qint32 threshold);

} // namespace ReplyCheck
