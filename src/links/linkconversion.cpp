#include "links/linkconversion.h"

#include <vector>

#include "links/linkformats.h"

namespace {

// One piece of text to be replaced by markup: [begin, end).
struct Span
{
    qsizetype begin;
    qsizetype end;
};

// CR, LF, '?', ',', '!' and space end a URL or an address; all of them lie below 64.
constexpr quint64 s_endSet = (quint64(1) << '\r') | (quint64(1) << '\n') | (quint64(1) << '?') | (quint64(1) << ',')
    | (quint64(1) << '!') | (quint64(1) << ' ');

inline bool isEndChar(char16_t c)
{
    return c < 64 && ((s_endSet >> c) & 1);
}

inline qsizetype scanToEnd(const char16_t *text, qsizetype from, qsizetype size)
{
    while (from < size && !isEndChar(text[from])) {
        ++from;
    }
    return from;
}

// A link that runs to the very end of the text leaves a final '.' outside: it ends the sentence.
inline qsizetype trimFinalDot(const char16_t *text, qsizetype end, qsizetype size)
{
    return (end == size && text[end - 1] == u'.') ? end - 1 : end;
}

inline bool isLetter(char16_t c, char16_t lower)
{
    return (c | 0x20) == lower;
}

// The first "http://" at or after `from`, letter case ignored. Colons are rare in prose, so the scan looks for
// them with the vectorised character search and checks the letters around each.
qsizetype findHttp(QStringView text, qsizetype from)
{
    const char16_t *d = text.utf16();
    const qsizetype size = text.size();
    qsizetype colon = from + 4;
    while (colon + 2 < size) {
        colon = text.indexOf(u':', colon);
        if (colon < 0 || colon + 2 >= size) {
            return -1;
        }
        if (d[colon + 1] == u'/' && d[colon + 2] == u'/' && isLetter(d[colon - 4], u'h') && isLetter(d[colon - 3], u't')
            && isLetter(d[colon - 2], u't') && isLetter(d[colon - 1], u'p')) {
            return colon - 4;
        }
        ++colon;
    }
    return -1;
}

std::vector<Span> findUrls(QStringView text)
{
    std::vector<Span> urls;
    const char16_t *d = text.utf16();
    const qsizetype size = text.size();
    qsizetype p = findHttp(text, 0);
    while (p >= 0) {
        const qsizetype end = trimFinalDot(d, scanToEnd(d, p + 7, size), size);
        urls.push_back({ p, end });
        p = findHttp(text, end);
    }
    return urls;
}

// The backward walk from an '@' stops at any end-set character, not only at CR, LF and space: an address that
// followed a '?', ',' or '!' would otherwise be cut before its '@' by the forward scan and the '@' would be left
// behind unconverted (or found again forever). It also never reaches back past the previous address's markup,
// so two addresses joined by a comma stay two links and the scan stays linear. Markup from the URL pass is
// ordinary text here.
std::vector<Span> findAddresses(QStringView text)
{
    std::vector<Span> addresses;
    const char16_t *d = text.utf16();
    const qsizetype size = text.size();
    qsizetype bound = 0;
    qsizetype at = text.indexOf(u'@');
    while (at >= 0) {
        qsizetype begin = at;
        while (begin > bound && !isEndChar(d[begin - 1])) {
            --begin;
        }
        const qsizetype end = trimFinalDot(d, scanToEnd(d, at + 1, size), size);
        addresses.push_back({ begin, end });
        bound = end;
        at = text.indexOf(u'@', end);
    }
    return addresses;
}

qsizetype totalLength(const std::vector<Span> &spans)
{
    qsizetype length = 0;
    for (const Span &span : spans) {
        length += span.end - span.begin;
    }
    return length;
}

// Replaces each span by prefix + span + middle + span + suffix.
QString wrapSpans(
    QStringView text, const std::vector<Span> &spans, QStringView prefix, QStringView middle, QStringView suffix)
{
    const qsizetype perSpan = prefix.size() + middle.size() + suffix.size();
    QString result;
    result.reserve(text.size() + totalLength(spans) + perSpan * qsizetype(spans.size()));
    qsizetype copied = 0;
    for (const Span &span : spans) {
        const QStringView piece = text.sliced(span.begin, span.end - span.begin);
        result.append(text.sliced(copied, span.begin - copied));
        result.append(prefix);
        result.append(piece);
        result.append(middle);
        result.append(piece);
        result.append(suffix);
        copied = span.end;
    }
    result.append(text.sliced(copied));
    return result;
}

} // namespace

QString convertLinks(const QString &text, const QString &linkOpen01, const QString &linkOpen02,
    const QString &linkClose01, const QString &mailCall01)
{
    QString withUrls = text;
    const std::vector<Span> urls = findUrls(text);
    if (!urls.empty()) {
        withUrls = wrapSpans(text, urls, linkOpen01, linkOpen02, linkClose01);
    }

    const std::vector<Span> addresses = findAddresses(withUrls);
    if (addresses.empty()) {
        return withUrls;
    }
    const QString mailPrefix = linkOpen01 + mailCall01;
    return wrapSpans(withUrls, addresses, mailPrefix, linkOpen02, linkClose01);
}

QString convertMessage(const QString &text, const QString &selectorText, const LinkFormatTable &formats)
{
    const LinkFormat *format = formats.findByName(selectorText);
    if (!format) {
        return text;
    }
    return convertLinks(text, format->LinkOpen01, format->LinkOpen02, format->LinkClose01, format->MailCall01);
}
