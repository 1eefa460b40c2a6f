#include "base/foldedtext.h"

#include "base/characterreferences.h"

namespace FoldedText {

namespace {

bool isDash(QChar c)
{
    return c == u'-' || c == QChar(0x2013) || c == QChar(0x2014);
}

} // namespace

QString folded(QStringView text)
{
    // Only text holding "&" has references to read; most page text is folded without a decoded copy.
    const QString decoded = text.contains(u'&') ? CharacterReferences::decoded(text) : QString();
    const QStringView source = decoded.isNull() ? text : QStringView(decoded);
    // Pages run to megabytes: written into place, with room for each "…" to become three characters.
    QString result(source.size() + 2 * source.count(QChar(0x2026)), Qt::Uninitialized);
    QChar *out = result.data();
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
    result.truncate(out - result.constData());
    return result;
}

} // namespace FoldedText
