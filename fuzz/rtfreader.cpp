// The rich-text reader over any bytes. Checks that nothing in the file becomes markup (every tag is one the
// reader writes) and that the HTML shows the same text as the plain-text reading.
#include <QSet>

#include "fuzzcheck.h"
#include "ui/rtfreader.h"

namespace {

const QSet<QString> s_writtenTags = {
    QStringLiteral("html"), QStringLiteral("body"), QStringLiteral("p"), QStringLiteral("br"),
    QStringLiteral("span"), QStringLiteral("a"),    QStringLiteral("b"), QStringLiteral("i"),
    QStringLiteral("u"),    QStringLiteral("s"),    QStringLiteral("sup"), QStringLiteral("sub"),
};

// The text a browser would show, paragraphs and line breaks as "\n"; the non-breaking space that holds an
// empty paragraph open is no text of the document.
QString shownText(const QString &html)
{
    QString text;
    for (qsizetype i = 0; i < html.size(); ++i) {
        const QChar c = html.at(i);
        if (c == QLatin1Char('<')) {
            const qsizetype end = html.indexOf(QLatin1Char('>'), i);
            FUZZ_CHECK(end > i);
            const QString tag = html.mid(i + 1, end - i - 1);
            QString name = tag.section(QLatin1Char(' '), 0, 0);
            if (name.startsWith(QLatin1Char('/'))) {
                name.remove(0, 1);
            }
            FUZZ_CHECK(s_writtenTags.contains(name));
            if (name == QLatin1String("br")) {
                text += QLatin1Char('\n');
            } else if (tag == QLatin1String("/p")) {
                text += QLatin1Char('\n');
            }
            i = end;
        } else if (c == QLatin1Char('&')) {
            const qsizetype end = html.indexOf(QLatin1Char(';'), i);
            FUZZ_CHECK(end > i);
            const QString entity = html.mid(i, end - i + 1);
            if (entity == QLatin1String("&amp;")) {
                text += QLatin1Char('&');
            } else if (entity == QLatin1String("&lt;")) {
                text += QLatin1Char('<');
            } else if (entity == QLatin1String("&gt;")) {
                text += QLatin1Char('>');
            } else if (entity == QLatin1String("&quot;")) {
                text += QLatin1Char('"');
            } else {
                FUZZ_CHECK(entity == QLatin1String("&nbsp;"));
            }
            i = end;
        } else {
            FUZZ_CHECK(c != QLatin1Char('>'));
            text += c;
        }
    }
    return text;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray rtf = Fuzz::bytes(data, size);
    const QString html = rtfToHtml(rtf);
    FUZZ_CHECK(html.startsWith(QLatin1String("<html><body>")) && html.endsWith(QLatin1String("</body></html>")));
    FUZZ_CHECK(shownText(html) == rtfToPlainText(rtf));
    (void)looksLikeRtf(rtf);
    return 0;
}
