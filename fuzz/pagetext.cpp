// A page's readable text, the line comparison that finds what a page added, and the kept-text files. Any bytes
// as a page (after a Content-Type value up to the first NUL): its lines are non-empty, trimmed and those of its
// decoded text; its lines, written as markup again, read as themselves; behind an open <template> it shows
// nothing; its tokens, whatever text follows each start tag, move forward through it, one at least a character.
// The comparison keeps what it does not call added or removed the same on both sides, with or without its budget;
// comparing only where two texts differ finds what comparing all their lines does; and a kept text reads
// back as written, the next page it names with it. The next page a page names is on its site. Any bytes as a
// kept-text file read without harm.
#include <QUrl>

#include <algorithm>

#include "fuzzcheck.h"
#include "pagetext/addedtext.h"
#include "pagetext/kepttextstore.h"
#include "pagetext/linediff.h"
#include "pagetext/markuptokenizer.h"
#include "pagetext/pagelikeness.h"
#include "pagetext/pagemarkup.h"
#include "pagetext/pagetext.h"

namespace {

QStringList kept(const QStringList &lines, const std::vector<qsizetype> &changed)
{
    QStringList out;
    size_t next = 0;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if (next < changed.size() && changed[next] == i) {
            ++next;
        } else {
            out.append(lines.at(i));
        }
    }
    FUZZ_CHECK(next == changed.size());
    return out;
}

void checkComparison(const QStringList &earlier, const QStringList &later, qint64 budget)
{
    const LineDiff::Changes changes = LineDiff::between(earlier, later, budget);
    FUZZ_CHECK(std::is_sorted(changes.added.begin(), changes.added.end()));
    FUZZ_CHECK(std::is_sorted(changes.removed.begin(), changes.removed.end()));
    QStringList fromEarlier = kept(earlier, changes.removed);
    QStringList fromLater = kept(later, changes.added);
    if (budget < 0) {
        fromEarlier.sort();
        fromLater.sort();
    }
    FUZZ_CHECK(fromEarlier == fromLater);
}

// Every text is a piece of the page after the one before, every tag has a name, and each token takes at least a
// character: reading ends, in linear time. After a start tag the text goes on as the tag's last letter says.
void checkTokens(QStringView page)
{
    using Content = MarkupTokenizer::Content;
    using Kind = MarkupTokenizer::Token::Kind;
    MarkupTokenizer tokens(page);
    const QChar *done = page.data();
    qsizetype count = 0;
    for (const MarkupTokenizer::Token *token = &tokens.next(); token->kind != Kind::End; token = &tokens.next()) {
        FUZZ_CHECK(++count <= page.size());
        if (token->kind == Kind::Text) {
            const QStringView text = token->text;
            FUZZ_CHECK(
                !text.isEmpty() && text.data() >= done && text.data() + text.size() <= page.data() + page.size());
            done = text.data() + text.size();
            continue;
        }
        FUZZ_CHECK(!token->name.isEmpty());
        if (token->kind == Kind::StartTag) {
            const char16_t pick = token->name.back().unicode() % 8;
            tokens.setContent(pick < 4 ? Content(pick + 1) : Content::Markup);
            tokens.setForeignContent(pick == 7);
        }
    }
}

// The lines as markup: each escaped, with a <br> after it.
QString markupOf(const QStringList &lines)
{
    QString markup;
    for (const QString &line : lines) {
        markup += line.toHtmlEscaped() + QStringLiteral("<br>");
    }
    return markup;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes = Fuzz::bytes(data, size);
    const qsizetype nul = bytes.indexOf('\0');
    const QByteArray contentType = nul < 0 ? QByteArray() : bytes.left(nul);
    const QByteArray body = nul < 0 ? bytes : bytes.mid(nul + 1);

    const QByteArray charset = PageText::declaredCharset(contentType, body);
    FUZZ_CHECK(charset == charset.toLower());
    const QStringList lines = PageText::lines(contentType, body);
    for (const QString &line : lines) {
        FUZZ_CHECK(!line.isEmpty() && line == line.trimmed() && !line.contains(u'\n'));
    }
    const QString page = PageText::decoded(contentType, body);
    FUZZ_CHECK(lines == PageText::linesOf(page));
    FUZZ_CHECK(PageText::linesOf(markupOf(lines)) == lines);
    if (!page.contains(QLatin1String("</template"), Qt::CaseInsensitive)) {
        FUZZ_CHECK(PageText::linesOf(QString(QStringLiteral("<template>") + page)).isEmpty());
    }
    checkTokens(page);

    const QStringList earlier = lines.mid(0, lines.size() / 2) + lines.mid(lines.size() * 3 / 4);
    checkComparison(earlier, lines, LineDiff::defaultBudget);
    checkComparison(earlier, lines, -1);
    const QStringList noise = AddedText::noiseBetween(lines, earlier);
    const QStringList runs = AddedText::runs(earlier, lines, noise);
    for (const QString &run : runs) {
        FUZZ_CHECK(AddedText::wordCount(run) >= AddedText::minimumWords);
    }
    // Comparing only where the texts differ finds what comparing every line does.
    const TextLines earlierLines(earlier);
    const TextLines laterLines(lines);
    FUZZ_CHECK(runs == AddedText::runs(earlierLines.views(), laterLines.views(), noise));
    FUZZ_CHECK(noise == AddedText::noiseBetween(laterLines.views(), earlierLines.views()));

    // The next page a page names is on its own site, and how likely two pages are the same page is a share.
    const QUrl address(QStringLiteral("https://forum.example/t?id=3&page=2"));
    const PageMarkup::Facts markup = PageMarkup::read(page, address);
    FUZZ_CHECK(markup.nextPage.isEmpty() || QUrl(markup.nextPage).host() == address.host());
    const double shared = PageLikeness::coverage(earlier, lines);
    FUZZ_CHECK(shared >= 0.0 && shared <= 1.0);
    FUZZ_CHECK(PageLikeness::coverage(lines, lines) == 1.0);

    const KeptText text { lines, earlier, markup.nextPage, earlier.mid(0, 3) };
    FUZZ_CHECK(KeptTextStore::decode(KeptTextStore::encode(text)) == text);
    KeptTextStore::decode(bytes);
    return 0;
}
