#include "replies/replynotice.h"

#include <QCoreApplication>

#include "replies/replytexts.h"

namespace ReplyNotice {

Text forReplies(int count, const QStringList &addresses, const QStringList &firstReply)
{
    Text text;
    text.summary = QCoreApplication::translate("ReplyNotice", "New replies to %n of your posts", nullptr, count);
    QStringList lines = addresses.mid(0, shownAddresses);
    const int more = count - int(lines.size());
    if (more > 0) {
        lines.append(QCoreApplication::translate("ReplyNotice", "and %n more", nullptr, more));
    }
    const QString quote = ReplyTexts::excerpt(firstReply.mid(0, 1), quotedLength).replace(u'\n', u' ');
    if (!quote.isEmpty()) {
        lines.prepend(QCoreApplication::translate("ReplyNotice", "\u201C%1\u201D").arg(quote));
    }
    text.body = lines.join(QLatin1Char('\n'));
    return text;
}

bool shouldTell(int newReplyCount, bool timedRun, bool windowActive)
{
    return newReplyCount > 0 && (timedRun || !windowActive);
}

Text forPosts(const QStringList &addresses, const std::function<QStringList(const QString &)> &newTextOf)
{
    QStringList firstReply;
    for (const QString &address : addresses) {
        firstReply = newTextOf(address);
        if (!firstReply.isEmpty()) {
            break;
        }
    }
    return forReplies(int(addresses.size()), addresses, firstReply);
}

QStringList ToldPosts::take(const QStringList &found, const QStringList &unreached, bool timedRun)
{
    QStringList tell;
    for (const QString &address : found) {
        if (!timedRun || !m_known.contains(address)) {
            tell.append(address);
        }
    }
    // A post the run could not reach may still have the replies it was told of.
    QSet<QString> known(found.cbegin(), found.cend());
    for (const QString &address : unreached) {
        if (m_known.contains(address)) {
            known.insert(address);
        }
    }
    m_known = std::move(known);
    return tell;
}

} // namespace ReplyNotice
