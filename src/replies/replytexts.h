#pragma once

#include <QByteArrayView>
#include <QString>
#include <QStringList>

#include "base/textfile.h"
#include "probe/postoutcome.h"

class KeptTextStore;

// The text side of measuring an own post's page: what is kept of the page and what a check tells of it beside its
// size. The text tells what the replies say, whether the page is still the thread's, whether it still shows the
// user's own post, and whether the thread went on to another page.
namespace ReplyTexts {

// Body bytes a probe keeps for the text; the text of a longer page is read from its beginning.
inline constexpr qint64 keptBodyLimit = 8 * 1024 * 1024;
// Pages after the post's that a check reads, at most.
inline constexpr int followedPages = 5;

// What a check knows of a post beside its page.
struct PostFacts
{
    // The beginning of the user's own post there; empty when it is not known.
    QString ownText;
    // Whether the page showed it when its size was stored.
    bool ownTextShown = false;
    // Whether the stored size was measured as the browser pane sees the page.
    bool measuredAsBrowser = true;
};

// The page measured for the post's stored size.
struct Baseline
{
    // Its readable lines.
    QStringList lines;
    // The page it names as its next one now; empty when none.
    QString nextPage;
    // It has a password box: a sign-in form.
    bool asksForPassword = false;
    // The thread went on from it since its text was kept last, or had gone on then: the pages after it are to
    // be kept with it (keepFollowing(), setFollowing()).
    bool goesOn = false;
};

// The page's text becomes the one later checks compare with.
Baseline keepBaseline(KeptTextStore &store, const QString &address, QByteArrayView contentType, QByteArrayView body,
    const LegacyCodePage &legacy = {});
// A page after the post's, read with its baseline: its text is kept under its own address. Returns the page it
// names as its next one.
QString keepFollowing(KeptTextStore &store, const QString &page, QByteArrayView contentType, QByteArrayView body,
    const LegacyCodePage &legacy = {});
// The pages after the post's that were read with its baseline.
void setFollowing(KeptTextStore &store, const QString &address, const QStringList &following);

// A page whose size moved by more than this changed for more than its counters (a post taken away, a page
// split in two): the lines that changed on it are no noise.
inline constexpr qint64 noiseGrowthLimit = 1024;

struct Judgement
{
    PostResult result;
    // A page after the post's to read for replies (afterFollowing()); empty when none.
    QString follow;
};

// A check measured the page with result (sized: NewReplies, Unchanged or Baseline). Where the text tells more,
// the outcome changes: another page than the thread's (NotChecked, NotThePage), the own post no longer shown
// (PostGone) or shown now with nothing else added (OwnPostShown), a size stored before as another client got
// the page (Remeasured). NewReplies get the runs of text added since the kept text, the own post's left out.
// A page without kept text keeps its text now and claims nothing from it; Unchanged remembers the lines that
// changed anyway as the page's noise.
Judgement afterCheck(KeptTextStore &store, const QString &address, const PostResult &sized, const PostFacts &facts,
    QByteArrayView contentType, QByteArrayView body, const LegacyCodePage &legacy = {});

// A page after the post's read by a check.
struct Following
{
    // What its replies say; empty when it has none since the post's text was kept.
    QStringList newText;
    // The page it names as its next one.
    QString nextPage;
};
Following afterFollowing(KeptTextStore &store, const QString &address, const QString &page,
    QByteArrayView contentType, QByteArrayView body, const LegacyCodePage &legacy = {});

// The beginning of a post's new text for a short view: whole lines while they fit in about length
// characters, the last cut at a word with "…".
QString excerpt(const QStringList &newText, qsizetype length);

} // namespace ReplyTexts
