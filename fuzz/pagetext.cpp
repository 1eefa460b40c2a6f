// A page's readable text, the line comparison that finds what a page added, and the kept-text files. Any bytes
// as a page (after a Content-Type value up to the first NUL): its lines are non-empty, trimmed and those of its
// decoded text; the comparison keeps what it does not call added or removed the same on both sides, with or
// without its budget; comparing only the part where two texts differ finds what comparing all their lines does;
// and a kept text reads back as written. Any bytes as a kept-text file read without harm.
#include <algorithm>

#include "fuzzcheck.h"
#include "replies/addedtext.h"
#include "replies/kepttextstore.h"
#include "replies/linediff.h"
#include "replies/pagetext.h"

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
    // An ASCII page, read as its bytes, reads as its decoded text does.
    FUZZ_CHECK(lines == PageText::linesOf(PageText::decoded(contentType, body)));

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

    const KeptText text { lines, earlier };
    FUZZ_CHECK(KeptTextStore::decode(KeptTextStore::encode(text)) == text);
    KeptTextStore::decode(bytes);
    return 0;
}
