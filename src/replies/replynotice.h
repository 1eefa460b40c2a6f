#pragma once

#include <QSet>
#include <QString>
#include <QStringList>
#include <functional>

// What the desktop is told when a reply check finds new replies, and when it is told at all.
namespace ReplyNotice {

// Addresses named in a notice; the rest are counted.
inline constexpr int shownAddresses = 3;
// Characters quoted of the first new reply.
inline constexpr qsizetype quotedLength = 160;

struct Text
{
    QString summary;
    QString body; // the quote, when there is one, then one address a line
};

// Precondition: count >= 1; addresses holds the posts with new replies in list order. firstReply: the new text
// of the first of them (its runs), quoted at the top; empty when the text tells nothing.
Text forReplies(int count, const QStringList &addresses, const QStringList &firstReply = {});
// The same for the posts to tell of, quoting the first of them whose new text has words (newTextOf gives it).
Text forPosts(const QStringList &addresses, const std::function<QStringList(const QString &)> &newTextOf);

// A timed check always tells; a check the user started tells only when the main window is not the active one.
bool shouldTell(int newReplyCount, bool timedRun, bool windowActive);

// Remembers the posts the user knows have new replies, so that a timed check, which finds a grown post again
// every time until it is measured anew, tells of each growth once.
class ToldPosts
{
public:
    ToldPosts() = default;
    // The posts told of by an earlier run, as known() gave them.
    explicit ToldPosts(const QStringList &known)
        : m_known(known.cbegin(), known.cend())
    { }
    // In a fixed order, so the same posts are always stored alike.
    QStringList known() const
    {
        QStringList known(m_known.cbegin(), m_known.cend());
        known.sort();
        return known;
    }

    // The posts a finished run is to tell of: for a timed run those not told before, for a run the user
    // started all it found. Every found post counts as told from now on. A told post is forgotten, so that its
    // next replies are told again, only when a run measured it without new replies (unreached lists the posts
    // the run could not measure) or when the user watches it again.
    QStringList take(const QStringList &found, const QStringList &unreached, bool timedRun);
    void forget(const QString &address) { m_known.remove(address); }

private:
    QSet<QString> m_known;
};

} // namespace ReplyNotice
