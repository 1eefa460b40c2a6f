#pragma once

#include <QString>
#include <QStringList>

// Whether two readings of a page are the same page: its text as the browser shows it and as the reply check
// got it, or a thread's text kept earlier and its text now. Compared by runs of three words, so that where
// each reader breaks its lines does not matter.
namespace PageLikeness {

// The share (0 to 1) of the reference text's word runs that the other text has too; 1 for a reference
// without any.
double coverage(const QStringList &reference, const QStringList &other);

// Whether now is another page than the reference the way a sign-in form or a check page differs from a thread,
// rather than a thread that grew or lost a post: hardly any of the reference's text is in it, or less than half
// is and it is much shorter or asks for a password.
bool isOtherPage(const QStringList &reference, const QStringList &now, bool nowAsksForPassword);

// Whether a client got another page than the browser shows at the same moment: hardly any of the browser's text
// is in it, or less than half is and it asks for a password. What the browser shows its reader alone (a comment
// held for moderation, the reader's own menus) makes no other page.
bool isOtherThanShown(const QStringList &shown, const QStringList &got, bool gotAsksForPassword);

// Whether the lines show the text (its spelling folded as forums set it, letter case ignored, runs of white
// space as one blank); an empty text is shown nowhere.
bool shows(const QStringList &lines, const QString &text);

} // namespace PageLikeness
