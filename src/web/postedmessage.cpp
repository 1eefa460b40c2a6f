#include "web/postedmessage.h"

#include "base/foldedtext.h"
#include "base/textfile.h"

namespace PostedMessage {

QString postedMessageKey(const QString &lastInsertedMessage)
{
    qsizetype length = lastInsertedMessage.size();
    for (const QLatin1String marker :
        { QLatin1String("\r\n"), QLatin1String("\r"), QLatin1String("\n"), QLatin1String("<") }) {
        const qsizetype position = lastInsertedMessage.indexOf(marker);
        if (position > 0 && position < length) {
            length = position;
        }
    }
    return lastInsertedMessage.left(length);
}

bool pageTextContainsKey(const QString &outerHtml, const QString &innerHtml, const QString &key)
{
    if (key.isEmpty()) {
        return true;
    }
    const QString wanted = FoldedText::folded(key);
    const QString outer = FoldedText::folded(outerHtml);
    if (outer.contains(wanted, Qt::CaseInsensitive)) {
        return true;
    }
    // A body's inner markup is its outer markup's content, already searched; so the inner markup needs
    // folding only for a key that could reach across the CR LF between the two. (Nothing folded reaches past
    // the ">" and "<" around the content.)
    const qsizetype contentStart = outerHtml.indexOf(u'>') + 1;
    const QLatin1String bodyEnd("</body>");
    const bool innerIsContent = contentStart > 0 && outerHtml.endsWith(bodyEnd)
        && outerHtml.size() == contentStart + innerHtml.size() + bodyEnd.size()
        && QStringView(outerHtml).sliced(contentStart, innerHtml.size()) == innerHtml;
    if (innerIsContent && !wanted.contains(u'\r') && !wanted.contains(u'\n')) {
        return false;
    }
    const QString inner = FoldedText::folded(innerHtml);
    if (inner.contains(wanted, Qt::CaseInsensitive)) {
        return true;
    }
    // A match that is in neither part overlaps the CR LF between them, so it lies within key-1 characters
    // either side of it; searching that window spares joining two copies of a large page. Letter-case
    // folding maps one character to one, so a match is always exactly as long as the key. Folding each part
    // alone is folding the whole: no reference or run of dashes reaches across a line break.
    const qsizetype reach = wanted.size() - 1;
    const QString joint = QStringView(outer).right(reach) + TextFile::crlf + QStringView(inner).left(reach);
    return joint.contains(wanted, Qt::CaseInsensitive);
}

} // namespace PostedMessage
