// The link conversion over any text and any link format, checked against a plain reading of the rules the
// conversion documents; the fast one must give exactly what the plain one gives.
#include "fuzzcheck.h"
#include "links/linkconversion.h"
#include "links/linkformats.h"

namespace {

bool endsLink(QChar c)
{
    return QStringView(u"\r\n?,! ").contains(c);
}

qsizetype scanToEnd(const QString &text, qsizetype from)
{
    while (from < text.size() && !endsLink(text.at(from))) {
        ++from;
    }
    return from;
}

// A link that runs to the very end of the text leaves a final '.' outside.
qsizetype withoutFinalDot(const QString &text, qsizetype end)
{
    return end == text.size() && end > 0 && text.at(end - 1) == QLatin1Char('.') ? end - 1 : end;
}

bool isHttpAt(const QString &text, qsizetype at)
{
    static const QLatin1String http("http://");
    if (at + http.size() > text.size()) {
        return false;
    }
    for (qsizetype i = 0; i < http.size(); ++i) {
        const char16_t c = text.at(at + i).unicode();
        const char16_t want = char16_t(http.at(i).unicode());
        // Only ASCII letters match in either case.
        if (c != want && !(want >= u'a' && want <= u'z' && c == want - 0x20)) {
            return false;
        }
    }
    return true;
}

QString plainConversion(const QString &text, const QString &open1, const QString &open2, const QString &close,
                        const QString &mail)
{
    QString withUrls;
    qsizetype copied = 0;
    for (qsizetype at = 0; at < text.size(); ++at) {
        if (!isHttpAt(text, at)) {
            continue;
        }
        const qsizetype end = withoutFinalDot(text, scanToEnd(text, at + 7));
        const QString url = text.mid(at, end - at);
        withUrls += text.mid(copied, at - copied) + open1 + url + open2 + url + close;
        copied = end;
        at = end - 1;
    }
    withUrls += text.mid(copied);

    // Addresses are found in the text with its URL markup, and never reach back into the previous address.
    QString result;
    copied = 0;
    qsizetype bound = 0;
    for (qsizetype at = withUrls.indexOf(QLatin1Char('@')); at >= 0; at = withUrls.indexOf(QLatin1Char('@'), at)) {
        qsizetype begin = at;
        while (begin > bound && !endsLink(withUrls.at(begin - 1))) {
            --begin;
        }
        const qsizetype end = withoutFinalDot(withUrls, scanToEnd(withUrls, at + 1));
        const QString address = withUrls.mid(begin, end - begin);
        result += withUrls.mid(copied, begin - copied) + open1 + mail + address + open2 + address + close;
        copied = end;
        bound = end;
        at = end;
    }
    result += withUrls.mid(copied);
    return result;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    // With four NULs the input names its own format: the four markup pieces, then the text.
    const QStringList fields = Fuzz::text(data, size).split(QChar(0));
    const QString text = fields.last();
    if (fields.size() >= 5) {
        FUZZ_CHECK(convertLinks(text, fields.at(0), fields.at(1), fields.at(2), fields.at(3))
                   == plainConversion(text, fields.at(0), fields.at(1), fields.at(2), fields.at(3)));
    }
    static const LinkFormatTable formats;
    for (int row = 0; row < LinkFormatTable::rowCount; ++row) {
        const LinkFormat &format = formats[row];
        if (format.Name.isEmpty()) {
            continue;
        }
        FUZZ_CHECK(convertMessage(text, format.Name, formats)
                   == plainConversion(text, format.LinkOpen01, format.LinkOpen02, format.LinkClose01,
                                      format.MailCall01));
    }
    FUZZ_CHECK(convertMessage(text, QStringLiteral("text"), formats) == text);
    return 0;
}
