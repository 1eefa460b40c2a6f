#include "links/linkconversion.h"

#include <algorithm>
#include <vector>

#ifdef Q_OS_LINUX
#include <sys/mman.h>
#endif

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
        qsizetype end = scanToEnd(d, p + 7, size);
        // A URL that runs to the very end of the text leaves a final '.' outside: it ends the sentence.
        if (end == size && d[end - 1] == u'.') {
            --end;
        }
        urls.push_back({ p, end });
        p = findHttp(text, end);
    }
    return urls;
}

// The text with its URLs replaced by markup, held as a list of views into the original text and the format
// strings, so that the address search runs on it without building it.
class PieceText
{
public:
    void add(QStringView view)
    {
        if (!view.isEmpty()) {
            m_pieces.push_back({ view.utf16(), m_size, m_size + view.size() });
            m_size += view.size();
        }
    }

    qsizetype size() const { return m_size; }

    char16_t at(qsizetype pos, int &hint) const
    {
        hint = locate(pos, hint);
        return m_pieces[hint].data[pos - m_pieces[hint].start];
    }

    // The first `c` at or after `from`, or -1.
    qsizetype indexOf(char16_t c, qsizetype from, int &hint) const
    {
        if (from >= m_size) {
            return -1;
        }
        for (hint = locate(from, hint); hint < int(m_pieces.size()); ++hint) {
            const Piece &piece = m_pieces[hint];
            const qsizetype local = std::max<qsizetype>(from - piece.start, 0);
            const qsizetype found = QStringView(piece.data, piece.end - piece.start).indexOf(QChar(c), local);
            if (found >= 0) {
                return piece.start + found;
            }
        }
        hint = int(m_pieces.size()) - 1;
        return -1;
    }

    // The first end-set character at or after `from`, or size().
    qsizetype scanToEnd(qsizetype from, int &hint) const
    {
        while (from < m_size) {
            hint = locate(from, hint);
            const Piece &piece = m_pieces[hint];
            const qsizetype length = piece.end - piece.start;
            qsizetype local = from - piece.start;
            while (local < length && !isEndChar(piece.data[local])) {
                ++local;
            }
            from = piece.start + local;
            if (local < length) {
                return from;
            }
        }
        return m_size;
    }

    // The position right after the last end-set character before `before`, but not less than `bound`.
    qsizetype walkBack(qsizetype before, qsizetype bound, int &hint) const
    {
        while (before > bound) {
            hint = locate(before - 1, hint);
            const Piece &piece = m_pieces[hint];
            const qsizetype low = std::max(piece.start, bound) - piece.start;
            qsizetype local = before - piece.start;
            while (local > low && !isEndChar(piece.data[local - 1])) {
                --local;
            }
            before = piece.start + local;
            if (local > low) {
                return before;
            }
        }
        return before;
    }

    void appendTo(QString &out, qsizetype from, qsizetype to, int &hint) const
    {
        while (from < to) {
            hint = locate(from, hint);
            const Piece &piece = m_pieces[hint];
            const qsizetype until = std::min(to, piece.end);
            out.append(QStringView(piece.data + (from - piece.start), until - from));
            from = until;
        }
    }

private:
    struct Piece
    {
        const char16_t *data;
        qsizetype start;
        qsizetype end;
    };

    // The piece holding `pos`, searched from a nearby piece: callers move through the text almost in order.
    int locate(qsizetype pos, int hint) const
    {
        while (pos < m_pieces[hint].start) {
            --hint;
        }
        while (pos >= m_pieces[hint].end) {
            ++hint;
        }
        return hint;
    }

    std::vector<Piece> m_pieces;
    qsizetype m_size = 0;
};

// An address is the run around an '@' up to the nearest end-set characters on both sides. The walk back stops
// at '?', ',' and '!' too, not only at CR, LF and space: otherwise the forward scan could end before the '@',
// which would stay behind unconverted. The walk never reaches back past the markup of the previous address,
// so two addresses joined by a comma stay two links and the search stays linear. URL markup is ordinary text
// here: an address may reach into it.
std::vector<Span> findAddresses(const PieceText &text)
{
    std::vector<Span> addresses;
    int hint = 0;
    qsizetype bound = 0;
    qsizetype at = text.indexOf(u'@', 0, hint);
    while (at >= 0) {
        const qsizetype begin = text.walkBack(at, bound, hint);
        qsizetype end = text.scanToEnd(at + 1, hint);
        if (end == text.size() && text.at(end - 1, hint) == u'.') {
            --end;
        }
        addresses.push_back({ begin, end });
        bound = end;
        at = text.indexOf(u'@', end, hint);
    }
    return addresses;
}

// A huge result would otherwise take one page fault per 4 KiB as it is written, which costs more than the
// conversion itself.
void preferLargePages(QString &buffer)
{
#ifdef Q_OS_LINUX
    constexpr quintptr large = 2 * 1024 * 1024;
    const qsizetype bytes = buffer.capacity() * qsizetype(sizeof(QChar));
    if (bytes < qsizetype(4 * large)) {
        return;
    }
    const quintptr begin = (quintptr(buffer.data()) + large - 1) & ~(large - 1);
    const quintptr end = (quintptr(buffer.data()) + quintptr(bytes)) & ~(large - 1);
    if (end > begin) {
        madvise(reinterpret_cast<void *>(begin), end - begin, MADV_HUGEPAGE);
    }
#else
    Q_UNUSED(buffer)
#endif
}

} // namespace

QString convertLinks(const QString &text, const QString &linkOpen01, const QString &linkOpen02,
    const QString &linkClose01, const QString &mailCall01)
{
    const std::vector<Span> urls = findUrls(text);

    PieceText withUrls;
    qsizetype copied = 0;
    for (const Span &url : urls) {
        const QStringView piece = QStringView(text).sliced(url.begin, url.end - url.begin);
        withUrls.add(QStringView(text).sliced(copied, url.begin - copied));
        withUrls.add(linkOpen01);
        withUrls.add(piece);
        withUrls.add(linkOpen02);
        withUrls.add(piece);
        withUrls.add(linkClose01);
        copied = url.end;
    }
    withUrls.add(QStringView(text).sliced(copied));

    const std::vector<Span> addresses = findAddresses(withUrls);
    if (urls.empty() && addresses.empty()) {
        return text;
    }

    const qsizetype perAddress = linkOpen01.size() + mailCall01.size() + linkOpen02.size() + linkClose01.size();
    qsizetype size = withUrls.size();
    for (const Span &address : addresses) {
        size += perAddress + address.end - address.begin;
    }
    QString result;
    result.reserve(size);
    preferLargePages(result);
    int hint = 0;
    copied = 0;
    for (const Span &address : addresses) {
        withUrls.appendTo(result, copied, address.begin, hint);
        result.append(linkOpen01);
        result.append(mailCall01);
        withUrls.appendTo(result, address.begin, address.end, hint);
        result.append(linkOpen02);
        withUrls.appendTo(result, address.begin, address.end, hint);
        result.append(linkClose01);
        copied = address.end;
    }
    withUrls.appendTo(result, copied, withUrls.size(), hint);
    return result;
}

QString convertMessage(const QString &text, const QString &selectorText, const LinkFormatTable &formats)
{
    const LinkFormat *format = formats.findByName(selectorText);
    if (!format) {
        return text;
    }
    return convertLinks(text, format->LinkOpen01, format->LinkOpen02, format->LinkClose01, format->MailCall01);
}
