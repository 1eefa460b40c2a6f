#pragma once

#include <QByteArrayView>
#include <QString>
#include <QStringList>

#include "replies/postoutcome.h"

class KeptTextStore;

// The text side of measuring an own post's page: what is kept of the page and what a check tells was added.
// Only explains; the byte count alone decides whether a post has new replies.
namespace ReplyTexts {

// Body bytes a probe keeps for the text; the text of a longer page is read from its beginning.
inline constexpr qint64 keptBodyLimit = 8 * 1024 * 1024;

// The page was measured for the post's stored size: its text becomes the one later checks compare with.
void keepBaseline(KeptTextStore &store, const QString &address, QByteArrayView contentType, QByteArrayView body);

// A page whose size moved by more than this changed for more than its counters (a post taken away, a page
// split in two): the lines that changed on it are no noise.
inline constexpr qint64 noiseGrowthLimit = 1024;

// A check measured the page with result (NewReplies, Unchanged or Baseline). For NewReplies, the runs of text
// added since the kept text; nothing when no text was kept, which the page's text now becomes. For Unchanged,
// the lines that changed anyway are remembered as the page's noise.
QStringList afterCheck(KeptTextStore &store, const QString &address, const PostResult &result,
    QByteArrayView contentType, QByteArrayView body);

// The beginning of a post's new text for a short view: whole lines while they fit in about length
// characters, the last cut at a word with "…".
QString excerpt(const QStringList &newText, qsizetype length);

} // namespace ReplyTexts
