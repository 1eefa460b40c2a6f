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
    // Only text holding "&" has references to read; most page text is folded without a decoded copy.
    const QString decoded = text.contains(u'&') ? CharacterReferences::decoded(text) : QString();
    const QStringView source = decoded.isNull() ? text : QStringView(decoded);
    // Pages run to megabytes: written into place, with room for each "…" to become three characters.
    QString folded(source.size() + 2 * source.count(QChar(0x2026)), Qt::Uninitialized);
    QChar *out = folded.data();
    for (qsizetype i = 0; i < source.size(); ++i) {
        const QChar c = source.at(i);
        switch (c.unicode()) {
        case 0x2018:
        case 0x2019:
        case 0x201A:
        case 0x201B:
        case 0x2032:
            *out++ = u'\'';
            break;
        case 0x201C:
        case 0x201D:
        case 0x201E:
        case 0x2033:
            *out++ = u'"';
            break;
        case 0x2026:
            for (int dot = 0; dot < 3; ++dot) {
                *out++ = u'.';
            }
            break;
        case 0x00A0:
            *out++ = u' ';
            break;
        default:
            if (isDash(c)) {
                // "--" and "---" are what was typed for the dashes software sets in their place.
                while (i + 1 < source.size() && isDash(source.at(i + 1))) {
                    ++i;
                }
                *out++ = u'-';
            } else {
                *out++ = c;
            }
        }
    }
    folded.truncate(out - folded.constData());
    return folded;
}

bool pageTextContainsKey(const QString &outerHtml, const QString &innerHtml, const QString &key)
{
    if (key.isEmpty()) {
        return true;
    }
    const QString wanted = foldedTypography(key);
    const QString outer = foldedTypography(outerHtml);
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
    const QString inner = foldedTypography(innerHtml);
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
