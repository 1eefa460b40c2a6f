#include "base/numbertext.h"

#include <QRegularExpression>

bool readsAsNumber(const QString &text)
{
    // Written out rather than QString::toDouble, which takes exponents, "inf" and locale-free quirks.
    static const QRegularExpression number(
        QStringLiteral("\\A[ \\t]*[+-]?(?:[0-9]+(?:\\.[0-9]*)?|\\.[0-9]+)[ \\t]*\\z"));
    return number.match(text).hasMatch();
}
