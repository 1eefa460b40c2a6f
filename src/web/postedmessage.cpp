#include "web/postedmessage.h"

#include "base/characterreferences.h"
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

namespace {

bool isDash(QChar c)
{
    return c == u'-' || c == QChar(0x2013) || c == QChar(0x2014);
}

} // namespace

QString foldedTypography(QStringView text)
{
    // Only text holding "&" has references to read; most page text passes without a copy of its own.
    const QString decoded = text.contains(u'&') ? CharacterReferences::decoded(text) : text.toString();
    QString folded;
    folded.reserve(decoded.size());
    for (qsizetype i = 0; i < decoded.size(); ++i) {
        const QChar c = decoded.at(i);
        switch (c.unicode()) {
        case 0x2018: case 0x2019: case 0x201A: case 0x201B: case 0x2032:
            folded.append(u'\'');
            break;
        case 0x201C: case 0x201D: case 0x201E: case 0x2033:
            folded.append(u'"');
            break;
        case 0x2026:
            folded.append(QLatin1String("..."));
            break;
        case 0x00A0:
            folded.append(u' ');
            break;
        default:
            if (isDash(c)) {
                // "--" and "---" are what was typed for the dashes software sets in their place.
                while (i + 1 < decoded.size() && isDash(decoded.at(i + 1))) {
                    ++i;
                }
                folded.append(u'-');
            } else {
                folded.append(c);
            }
        }
    }
    return folded;
}

bool pageTextContainsKey(const QString &outerHtml, const QString &innerHtml, const QString &key)
{
    if (key.isEmpty()) {
        return true;
    }
    const QString wanted = foldedTypography(key);
    const QString outer = foldedTypography(outerHtml);
    const QString inner = foldedTypography(innerHtml);
    if (outer.contains(wanted, Qt::CaseInsensitive) || inner.contains(wanted, Qt::CaseInsensitive)) {
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
