#pragma once

#include <QMetaType>
#include <QString>
#include <QStringList>
#include <optional>

#include "probe/pagefailure.h"


// What a reply check found for one post.
enum class PostOutcome {
    NewReplies, // grew by more than the threshold
    Unchanged, // grew by at most the threshold, or shrank
    Baseline, // no usable stored size: the size measured now is its first
    NotChecked, // the page could not be measured, the server answered with an error, or it is not the
                // post's page any more: see failure
    NewRepliesOnNextPage, // the thread went on to a page after the post's, and that page has replies: see page
    PostGone, // the page no longer shows the user's own post: removed, or moved
    OwnPostShown, // the page grew by the user's own post (a held comment let through): its size is stored
    Remeasured, // stored before as another client got the page: measured afresh as the browser sees it
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
    // tells nothing (none was kept, or only numbers moved). NewRepliesOnNextPage: what the next pages say.
    QStringList newText;
    // NewRepliesOnNextPage: the last page after the post's that has replies. NotChecked: the page after the
    // post's that could not be read, when it was not the post's own.
    QString page;
    // Whether the page shows the user's own post now; unknown when the post's own text is not known.
    std::optional<bool> ownPostShown;

    // False when the page could not be measured (it counts among those that "could not be checked").
    bool wasChecked() const { return outcome != PostOutcome::NotChecked; }
    // Told as new replies are: bold among the posts, listed under "New Replies", in the notification.
    bool isNews() const
    {
        return outcome == PostOutcome::NewReplies || outcome == PostOutcome::NewRepliesOnNextPage
            || outcome == PostOutcome::PostGone;
    }
    // The size measured now becomes the post's stored size.
    bool storesSize() const
    {
        return outcome == PostOutcome::Baseline || outcome == PostOutcome::OwnPostShown
            || outcome == PostOutcome::Remeasured;
    }
    // A short text for beside the post.
    QString text() const;
};

Q_DECLARE_METATYPE(PostResult)
