// What a rich-text editor gets for a converted message. Any text, converted with any link format or none:
// the html holds no tag but <br> and <a href="…">, and read back as an editor shows it, it is the content's
// text.
#include "fuzzcheck.h"
#include "links/editorcontent.h"
#include "links/linkconversion.h"
#include "links/linkformats.h"

namespace {

// The html as an editor shows it, with every tag checked on the way; false at a tag of any other kind.
bool readHtml(const QString &html, QString *shown)
{
    static const QList<std::pair<QLatin1String, QChar>> entities = {
        {QLatin1String("&amp;"), QLatin1Char('&')}, {QLatin1String("&lt;"), QLatin1Char('<')},
        {QLatin1String("&gt;"), QLatin1Char('>')}, {QLatin1String("&quot;"), QLatin1Char('"')},
        {QLatin1String("&#39;"), QLatin1Char('\'')}, {QLatin1String("&nbsp;"), QLatin1Char(' ')},
    };
    bool inLink = false;
    qsizetype i = 0;
    while (i < html.size()) {
        const QStringView rest = QStringView(html).sliced(i);
        if (rest.startsWith(QLatin1String("<br>")) && !inLink) {
            *shown += QLatin1Char('\n');
            i += 4;
        } else if (rest.startsWith(QLatin1String("<a href=\"")) && !inLink) {
            const qsizetype end = html.indexOf(QLatin1String("\">"), i + 9);
            if (end < 0) {
                return false;
            }
            const QStringView href = QStringView(html).sliced(i + 9, end - i - 9);
            if (href.contains(QLatin1Char('"')) || href.contains(QLatin1Char('<')) || href.contains(QLatin1Char('>'))) {
                return false;
            }
            inLink = true;
            i = end + 2;
        } else if (rest.startsWith(QLatin1String("</a>")) && inLink) {
            inLink = false;
            i += 4;
        } else if (rest.front() == QLatin1Char('<') || rest.front() == QLatin1Char('>')) {
            return false;
        } else if (rest.front() == QLatin1Char('&')) {
            const auto entity = std::find_if(entities.cbegin(), entities.cend(),
                                             [rest](const auto &known) { return rest.startsWith(known.first); });
            if (entity == entities.cend()) {
                return false;
            }
            *shown += entity->second;
            i += entity->first.size();
        } else {
            *shown += rest.front();
            ++i;
        }
    }
    return !inLink;
}

void check(const QString &converted, const LinkFormat *format)
{
    const EditorContent content = editorContent(converted, format);
    QString shown;
    FUZZ_CHECK(readHtml(content.html, &shown));
    // A NUL cannot go into a page; the editor gets the replacement character in its place. A tab shows as
    // four blanks.
    QString expected = content.text;
    expected.replace(QChar(0), QChar(0xFFFD)).replace(QLatin1Char('\t'), QLatin1String("    "));
    FUZZ_CHECK(content.links == content.html.contains(QLatin1String("<a ")));
    FUZZ_CHECK(shown == expected);
    FUZZ_CHECK(!content.text.contains(QLatin1Char('\r')));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    // The message, then a format of its own: LinkOpen01, LinkOpen02, LinkClose01, MailCall01.
    const QStringList fields = Fuzz::fields(data, size, 5);
    const QString &message = fields.at(0);
    check(message, nullptr);

    static const LinkFormatTable formats;
    const LinkFormat &html = formats[0];
    check(message, &html);
    check(convertLinks(message, html.LinkOpen01, html.LinkOpen02, html.LinkClose01, html.MailCall01), &html);

    LinkFormat own{QStringLiteral("own"), fields.at(1), fields.at(2), fields.at(3), fields.at(4)};
    check(convertLinks(message, own.LinkOpen01, own.LinkOpen02, own.LinkClose01, own.MailCall01), &own);
    return 0;
}
