#include "web/keystrokes.h"

#include <Qt>

namespace {

// The key code a keyboard layout producing this character would report: letters and digits their own keys,
// other characters their upper-case code point, as Qt's platform plugins do for unnamed keys.
int keyFor(char32_t ch)
{
    if (ch >= U'a' && ch <= U'z') {
        return Qt::Key_A + int(ch - U'a');
    }
    if (ch == U'\t') {
        return Qt::Key_Tab;
    }
    if (ch < 0x20 || ch == 0x7f) {
        return Qt::Key_unknown;
    }
    if (ch > 0xffff) {
        return Qt::Key_unknown;
    }
    return int(QChar::toUpper(ch));
}

} // namespace

QList<KeyStroke> keyStrokesForText(const QString &text)
{
    QList<KeyStroke> strokes;
    strokes.reserve(text.size());
    const qsizetype size = text.size();
    for (qsizetype i = 0; i < size; ++i) {
        const QChar c = text.at(i);
        if (c == QLatin1Char('\r') || c == QLatin1Char('\n')) {
            if (c == QLatin1Char('\r') && i + 1 < size && text.at(i + 1) == QLatin1Char('\n')) {
                ++i;
            }
            strokes.append({Qt::Key_Return, QStringLiteral("\r")});
            continue;
        }
        if (c.isHighSurrogate() && i + 1 < size && text.at(i + 1).isLowSurrogate()) {
            // The web engine reads one code unit per key event, as keyboards on some systems send such
            // characters: a press for each half of the pair.
            strokes.append({Qt::Key_unknown, QString(c)});
            strokes.append({Qt::Key_unknown, QString(text.at(i + 1))});
            ++i;
            continue;
        }
        strokes.append({keyFor(c.unicode()), QString(c)});
    }
    return strokes;
}
