#include "web/postedmessage.h"

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
    if (outerHtml.contains(key, Qt::CaseInsensitive) || innerHtml.contains(key, Qt::CaseInsensitive)) {
        return true;
    }
    // A match that is in neither part overlaps the CR LF between them, so it lies within key-1 characters
    // either side of it; searching that window spares joining two copies of a large page. Letter-case
    // folding maps one character to one, so a match is always exactly as long as the key.
    const qsizetype reach = key.size() - 1;
    const QString joint = QStringView(outerHtml).right(reach) + TextFile::crlf + QStringView(innerHtml).left(reach);
    return joint.contains(key, Qt::CaseInsensitive);
}

} // namespace PostedMessage
