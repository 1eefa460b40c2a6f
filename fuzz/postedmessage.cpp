// Finding a posted message's beginning in page markup. Any page and key: the search ends, it agrees with a
// search of the folded page joined whole, a text always holds itself, and folding leaves none of the
// characters it stands in for.
#include "base/foldedtext.h"
#include "web/postedmessage.h"
#include "base/textfile.h"
#include "fuzzcheck.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QStringList fields = Fuzz::fields(data, size, 3);
    const QString &outer = fields.at(0);
    const QString &inner = fields.at(1);
    const QString key = PostedMessage::postedMessageKey(fields.at(2));

    const QString folded = FoldedText::folded(outer);
    for (const char16_t gone :
        { 0x2018, 0x2019, 0x201A, 0x201B, 0x2032, 0x201C, 0x201D, 0x201E, 0x2033, 0x2013, 0x2014, 0x2026, 0x00A0 }) {
        FUZZ_CHECK(!folded.contains(QChar(gone)));
    }
    FUZZ_CHECK(!folded.contains(QLatin1String("--")));

    const bool found = PostedMessage::pageTextContainsKey(outer, inner, key);
    const QString joined = folded + TextFile::crlf + FoldedText::folded(inner);
    FUZZ_CHECK(found == (key.isEmpty() || joined.contains(FoldedText::folded(key), Qt::CaseInsensitive)));
    FUZZ_CHECK(PostedMessage::pageTextContainsKey(outer, inner, outer));
    FUZZ_CHECK(PostedMessage::pageTextContainsKey(outer, inner, inner));
    return 0;
}
