#include "replies/pagetext.h"

#include <QStringDecoder>

#include <algorithm>
#include <array>
#include <cstring>
#include <iterator>
#include <string_view>

#include "base/characterreferences.h"
#include "base/charscan.h"
#include "base/textfile.h"

namespace PageText {

namespace {

bool isAsciiSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f';
}

char asciiLower(char c)
{
    return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c;
}

// The position of needle (lower case) in text at or after from, in any letter case; -1 when absent.
qsizetype indexOfFolded(QByteArrayView text, std::string_view needle, qsizetype from)
{
    const qsizetype last = text.size() - qsizetype(needle.size());
    for (qsizetype i = from; i <= last; ++i) {
        qsizetype k = 0;
        while (k < qsizetype(needle.size()) && asciiLower(text.at(i + k)) == needle[size_t(k)]) {
            ++k;
        }
        if (k == qsizetype(needle.size())) {
            return i;
        }
    }
    return -1;
}

QByteArray trimmedLabel(QByteArrayView value)
{
    QByteArray label = value.trimmed().toByteArray().toLower();
    if (label.size() >= 2 && (label.front() == '"' || label.front() == '\'') && label.back() == label.front()) {
        label = label.mid(1, label.size() - 2).trimmed();
    }
    return label;
}

// The charset named in a Content-Type value ("text/html; charset=UTF-8"); empty when none is.
QByteArray charsetParameter(QByteArrayView value)
{
    const qsizetype at = indexOfFolded(value, "charset", 0);
    if (at < 0) {
        return {};
    }
    qsizetype i = at + 7;
    while (i < value.size() && isAsciiSpace(value.at(i))) {
        ++i;
    }
    if (i >= value.size() || value.at(i) != '=') {
        return {};
    }
    ++i;
    while (i < value.size() && isAsciiSpace(value.at(i))) {
        ++i;
    }
    qsizetype end = i;
    if (end < value.size() && (value.at(end) == '"' || value.at(end) == '\'')) {
        const char quote = value.at(end);
        end = i + 1;
        while (end < value.size() && value.at(end) != quote) {
            ++end;
        }
        return trimmedLabel(value.sliced(i + 1, end - i - 1));
    }
    while (end < value.size() && value.at(end) != ';' && !isAsciiSpace(value.at(end))) {
        ++end;
    }
    return trimmedLabel(value.sliced(i, end - i));
}

// The charset a <meta> tag starting at from declares; empty when it declares none. *end is where the tag ends.
QByteArray metaCharset(QByteArrayView head, qsizetype from, qsizetype *end)
{
    QByteArray charset;
    QByteArray content;
    bool contentType = false;
    qsizetype i = from;
    const qsizetype size = head.size();
    while (i < size && head.at(i) != '>') {
        while (i < size && (isAsciiSpace(head.at(i)) || head.at(i) == '/')) {
            ++i;
        }
        const qsizetype nameStart = i;
        while (i < size && !isAsciiSpace(head.at(i)) && head.at(i) != '=' && head.at(i) != '>') {
            ++i;
        }
        const QByteArray name = head.sliced(nameStart, i - nameStart).toByteArray().toLower();
        while (i < size && isAsciiSpace(head.at(i))) {
            ++i;
        }
        QByteArrayView value;
        if (i < size && head.at(i) == '=') {
            ++i;
            while (i < size && isAsciiSpace(head.at(i))) {
                ++i;
            }
            if (i < size && (head.at(i) == '"' || head.at(i) == '\'')) {
                const char quote = head.at(i++);
                const qsizetype valueStart = i;
                while (i < size && head.at(i) != quote) {
                    ++i;
                }
                value = head.sliced(valueStart, i - valueStart);
                i = qMin(size, i + 1);
            } else {
                const qsizetype valueStart = i;
                while (i < size && !isAsciiSpace(head.at(i)) && head.at(i) != '>') {
                    ++i;
                }
                value = head.sliced(valueStart, i - valueStart);
            }
        } else if (nameStart == i) {
            ++i; // a stray character that starts no attribute
        }
        if (name == "charset" && charset.isEmpty()) {
            charset = trimmedLabel(value);
        } else if (name == "http-equiv") {
            contentType = trimmedLabel(value) == "content-type";
        } else if (name == "content") {
            content = value.toByteArray();
        }
    }
    *end = i;
    if (!charset.isEmpty()) {
        return charset;
    }
    return contentType ? charsetParameter(content) : QByteArray();
}

QByteArray bomCharset(QByteArrayView body)
{
    if (body.startsWith("\xEF\xBB\xBF")) {
        return "utf-8";
    }
    if (body.startsWith("\xFE\xFF")) {
        return "utf-16be";
    }
    if (body.startsWith("\xFF\xFE")) {
        return "utf-16le";
    }
    return {};
}

// Labels browsers read as Windows-1252, which is what such pages are really written in.
bool isWindows1252(const QByteArray &label)
{
    static constexpr std::string_view labels[] = {
        "ascii",
        "cp1252",
        "cp819",
        "iso-8859-1",
        "iso8859-1",
        "iso_8859-1",
        "l1",
        "latin1",
        "us-ascii",
        "windows-1252",
    };
    const std::string_view name(label.constData(), size_t(label.size()));
    return std::find(std::begin(labels), std::end(labels), name) != std::end(labels);
}

bool decodesWith(const char *name, QByteArrayView body, QString *text)
{
    QStringDecoder decoder(name);
    if (!decoder.isValid()) {
        return false;
    }
    *text = decoder.decode(body);
    return true;
}

// Blocks of text: each begins and ends a line.
constexpr std::string_view s_blockElements[] = {
    "address",
    "article",
    "aside",
    "blockquote",
    "body",
    "br",
    "caption",
    "center",
    "dd",
    "details",
    "dialog",
    "dir",
    "div",
    "dl",
    "dt",
    "fieldset",
    "figcaption",
    "figure",
    "footer",
    "form",
    "h1",
    "h2",
    "h3",
    "h4",
    "h5",
    "h6",
    "head",
    "header",
    "hr",
    "html",
    "legend",
    "li",
    "main",
    "menu",
    "nav",
    "ol",
    "option",
    "p",
    "pre",
    "section",
    "summary",
    "table",
    "tbody",
    "td",
    "th",
    "title",
    "tr",
    "ul",
};

// Elements whose content is never shown as text; skipped to their end tag.
constexpr std::string_view s_hiddenElements[] = {
    "iframe",
    "noembed",
    "noframes",
    "noscript",
    "script",
    "style",
    "svg",
    "template",
    "xmp",
};

// A tag name of up to ten lower-case letters and digits as one number, so that looking it up compares numbers;
// 0 for a longer name, which is in no table.
constexpr quint64 nameKey(std::string_view name)
{
    if (name.size() > 10) {
        return 0;
    }
    quint64 key = 0;
    for (const char c : name) {
        key = key << 6 | quint64(c >= 'a' ? c - 'a' + 11 : c - '0' + 1);
    }
    return key;
}

enum class ElementKind : quint8 { Other, Block, Hidden };

// The block and hidden elements by the keys of their names, in a table of open addressing: a tag costs a probe
// or two however many names there are.
class ElementTable
{
public:
    consteval ElementTable()
    {
        for (const std::string_view name : s_blockElements) {
            insert(nameKey(name), ElementKind::Block);
        }
        for (const std::string_view name : s_hiddenElements) {
            insert(nameKey(name), ElementKind::Hidden);
        }
    }

    constexpr ElementKind kindOf(quint64 key) const
    {
        for (size_t slot = slotOf(key);; slot = (slot + 1) % size) {
            if (m_keys[slot] == key) {
                return m_kinds[slot];
            }
            if (m_keys[slot] == 0) {
                return ElementKind::Other;
            }
        }
    }

private:
    static constexpr size_t size = 256;

    static constexpr size_t slotOf(quint64 key) { return size_t((key * 0x9E3779B97F4A7C15ULL) >> 56); }

    consteval void insert(quint64 key, ElementKind kind)
    {
        size_t slot = slotOf(key);
        while (m_keys[slot] != 0) {
            slot = (slot + 1) % size;
        }
        m_keys[slot] = key;
        m_kinds[slot] = kind;
    }

    std::array<quint64, size> m_keys {};
    std::array<ElementKind, size> m_kinds {};
};

constexpr ElementTable s_elements;

// Each ASCII character's part in a name's key: 1 to 10 for a digit, 11 to 36 for a letter in either case, 0 for
// a character no name has.
constexpr std::array<quint8, 128> s_nameCodes = [] {
    std::array<quint8, 128> codes {};
    for (char c = '0'; c <= '9'; ++c) {
        codes[size_t(c)] = quint8(c - '0' + 1);
    }
    for (char c = 'a'; c <= 'z'; ++c) {
        codes[size_t(c)] = quint8(c - 'a' + 11);
        codes[size_t(c - 'a' + 'A')] = quint8(c - 'a' + 11);
    }
    return codes;
}();

quint8 nameCode(char16_t c)
{
    return c < 128 ? s_nameCodes[c] : 0;
}

class LineCollector
{
public:
    explicit LineCollector(qsizetype pageSize)
        : m_buffer(pageSize + 2, Qt::Uninitialized)
    { }

    // Takes the page's text from `from` up to the next tag, character references decoded; returns where the
    // tag starts (the page's size when none does).
    [[gnu::always_inline]] qsizetype addUntilTag(QStringView page, qsizetype from)
    {
        const char16_t *const begin = page.utf16();
        const char16_t *const end = begin + page.size();
        const char16_t *stop = append<true>(begin + from, end);
        if (stop < end && *stop == u'&') {
            const char16_t *const tag = std::find(stop, end, u'<');
            const QString decoded = CharacterReferences::decoded(QStringView(stop, tag));
            addText(decoded);
            stop = tag;
        }
        return stop - begin;
    }

    void addText(QStringView text)
    {
        const auto *const begin = reinterpret_cast<const char16_t *>(text.data());
        append<false>(begin, begin + text.size());
    }

    [[gnu::always_inline]] void endLine()
    {
        if (m_size > m_lineStart) {
            makeRoom(1);
            ++m_lineCount;
            m_data[m_size++] = u'\n';
            m_lineStart = m_size;
        }
        m_pendingSpace = false;
    }

    TextLines take()
    {
        endLine();
        m_buffer.truncate(qsizetype(m_size));
        return TextLines::fromText(std::move(m_buffer), m_lineCount);
    }

private:
    [[gnu::always_inline]] void makeRoom(size_t count)
    {
        if (m_size + count > size_t(m_buffer.size())) {
            m_buffer.resize(qsizetype(std::max(size_t(m_buffer.size()) * 2, m_size + count)));
            m_data = reinterpret_cast<char16_t *>(m_buffer.data());
        }
    }

    // Appends the text from p to end, or in markup up to its first "<" or "&", and returns where it stopped.
    // White space collapses to one blank within a line and goes at its ends; controls go; half a surrogate
    // pair becomes the replacement character.
    template <bool markup> [[gnu::always_inline]] const char16_t *append(const char16_t *p, const char16_t *const end)
    {
        // Each character gives at most one, and a blank may come before the first.
        makeRoom(size_t(end - p) + 1);
        char16_t *const lineStart = m_data + m_lineStart;
        char16_t *out = m_data + m_size;
        bool pending = m_pendingSpace;
        const auto put = [&](char16_t c) {
            if (pending) {
                *out++ = u' ';
                pending = false;
            }
            *out++ = c;
        };
        while (p < end) {
            // Most of a text is words and single blanks, taken eight characters at a time as they are.
            if (const int plain = end - p >= 8 ? CharScan::plainStretch(p) : 0) {
                if (pending) {
                    *out++ = u' ';
                    pending = false;
                }
                // All eight, whatever their count: a copy of a fixed size is one move, and the room is there.
                std::memcpy(out, p, 8 * sizeof(char16_t));
                out += plain;
                p += plain;
                if (plain == 8) {
                    continue;
                }
                // p is at a character that is not plain, often the "<" that ends the text: taken on below.
            }
            const char16_t c = *p;
            if (c > 0x20 && c < 0x7f) {
                if (markup && (c == u'<' || c == u'&')) {
                    break;
                }
                put(c);
            } else if (QChar::isSpace(c)) {
                pending = out > lineStart;
                // The indentation between tags, in one go.
                while (p + 1 < end && (p[1] == u' ' || p[1] == u'\n' || p[1] == u'\t' || p[1] == u'\r')) {
                    ++p;
                }
            } else if (QChar::isHighSurrogate(c) && p + 1 < end && QChar::isLowSurrogate(p[1])) {
                put(c);
                *out++ = *++p;
            } else if (QChar::isSurrogate(c)) {
                put(QChar::ReplacementCharacter);
            } else if (QChar::category(c) != QChar::Other_Control) {
                put(c);
            }
            ++p;
        }
        m_size = size_t(out - m_data);
        m_pendingSpace = pending;
        return p;
    }

    QString m_buffer; // the lines so far, each ended by "\n", in its first m_size characters
    char16_t *m_data = reinterpret_cast<char16_t *>(m_buffer.data());
    size_t m_size = 0;
    size_t m_lineStart = 0; // where the line being collected starts
    qsizetype m_lineCount = 0;
    bool m_pendingSpace = false;
};

// Where the tag whose name ends at from is closed by its ">", quoted attribute values skipped; -1 when never.
qsizetype tagEnd(QStringView page, qsizetype from)
{
    const char16_t *const begin = page.utf16();
    const char16_t *const end = begin + page.size();
    const char16_t *const attributes = begin + from;
    for (const char16_t *p = attributes;; ++p) {
        p = CharScan::findAny(p, end, u'>', u'"', u'\'');
        if (p == end) {
            return -1;
        }
        if (*p == u'>') {
            return p - begin;
        }
        // A quote starts a value only after "=", blanks between allowed; elsewhere it is a character like others.
        const char16_t *before = p;
        while (before > attributes && QChar::isSpace(before[-1])) {
            --before;
        }
        if (before > attributes && before[-1] == u'=') {
            p = CharScan::find(p + 1, end, *p);
            if (p == end) {
                return -1;
            }
        }
    }
}

// Where "</" and name, in any letter case, first come at or after from; -1 when never. Scripts and styles are
// long and hold many "<", so they are looked through eight characters at a time.
qsizetype endTagOf(QStringView page, qsizetype from, QStringView name)
{
    const char16_t *const begin = page.utf16();
    const char16_t *const end = begin + page.size();
    for (const char16_t *p = begin + from; (p = CharScan::find(p, end, u'<')) != end; ++p) {
        if (end - p >= name.size() + 2 && p[1] == u'/'
            && QStringView(p + 2, name.size()).compare(name, Qt::CaseInsensitive) == 0) {
            return p - begin;
        }
    }
    return -1;
}

} // namespace

QByteArray declaredCharset(QByteArrayView contentType, QByteArrayView body)
{
    QByteArray charset = bomCharset(body);
    if (charset.isEmpty()) {
        charset = charsetParameter(contentType);
    }
    if (!charset.isEmpty()) {
        return charset;
    }
    const QByteArrayView head = body.first(qMin(body.size(), charsetScanLength));
    for (qsizetype at = indexOfFolded(head, "<meta", 0); at >= 0; at = indexOfFolded(head, "<meta", at)) {
        qsizetype end = at + 5;
        if (end < head.size() && !isAsciiSpace(head.at(end)) && head.at(end) != '/') {
            at = end;
            continue;
        }
        charset = metaCharset(head, end, &end);
        if (!charset.isEmpty()) {
            // A page that says UTF-16 in its own bytes cannot be: its markup was read as ASCII.
            return charset.startsWith("utf-16") ? QByteArray("utf-8") : charset;
        }
        at = end;
    }
    return {};
}

QString decoded(QByteArrayView contentType, QByteArrayView body)
{
    const QByteArray charset = declaredCharset(contentType, body);
    const bool declaredUtf8 = charset == "utf-8" || charset == "utf8";
    // Plain ASCII, as most pages are, reads the same in either: no decoding needed.
    if ((charset.isEmpty() || declaredUtf8 || isWindows1252(charset))
        && CharScan::isAscii(body.data(), body.data() + body.size())) {
        return QString::fromLatin1(body);
    }
    QString text;
    if (isWindows1252(charset) && decodesWith("windows-1252", body, &text)) {
        return text;
    }
    if (!charset.isEmpty() && !declaredUtf8 && decodesWith(charset.constData(), body, &text)) {
        return text;
    }
    // Most pages are whole and valid UTF-8, which the one-step conversion reads fastest; it marks anything else,
    // a character cut short included, with the replacement character, and such a page is read again below.
    text = QString::fromUtf8(body);
    if (!text.contains(QChar::ReplacementCharacter)) {
        return text;
    }
    // Stateful, so that a body cut short inside a character is no reason to read it all in another code page.
    QStringDecoder utf8(QStringDecoder::Utf8);
    text = utf8.decode(body);
    if (!utf8.hasError() || declaredUtf8) {
        return text;
    }
    return TextFile::decodeLine(body.toByteArray());
}

QStringList linesOf(QStringView page)
{
    return textLinesOf(page).toList();
}

TextLines textLinesOf(QStringView page)
{
    LineCollector lines(page.size());
    const qsizetype size = page.size();
    const char16_t *const data = page.utf16();
    qsizetype i = 0;
    while (i < size) {
        const qsizetype open = lines.addUntilTag(page, i);
        if (open == size) {
            break;
        }
        i = open;
        const QChar next = i + 1 < size ? page.at(i + 1) : QChar();
        if (next == u'!' && page.sliced(i).startsWith(u"<!--")) {
            const qsizetype close = page.indexOf(u"-->", i + 4);
            i = close < 0 ? size : close + 3;
            continue;
        }
        if (next == u'!' || next == u'?') {
            const qsizetype close = page.indexOf(u'>', i);
            i = close < 0 ? size : close + 1;
            continue;
        }
        const bool closing = next == u'/';
        qsizetype nameEnd = i + (closing ? 2 : 1);
        // A name starts with a letter.
        if (nameEnd >= size || nameCode(data[nameEnd]) < 11) {
            lines.addText(u"<");
            ++i;
            continue;
        }
        const qsizetype nameStart = nameEnd;
        quint64 key = 0;
        for (quint8 code; nameEnd < size && (code = nameCode(data[nameEnd])) != 0; ++nameEnd) {
            key = key << 6 | code;
        }
        if (nameEnd - nameStart > 10) {
            key = 0; // longer than any name looked for
        }
        // Most tags end right after their name ("</p>"), and need no look through attributes.
        const qsizetype close = nameEnd < size && data[nameEnd] == u'>' ? nameEnd : tagEnd(page, nameEnd);
        if (close < 0) {
            break; // a tag that never ends takes the rest of the page with it, as in a browser
        }
        i = close + 1;
        const ElementKind kind = s_elements.kindOf(key);
        if (kind == ElementKind::Block) {
            lines.endLine();
        }
        if (!closing && kind == ElementKind::Hidden && page.at(close - 1) != u'/') {
            const qsizetype end = endTagOf(page, i, page.sliced(nameStart, nameEnd - nameStart));
            const qsizetype endClose = end < 0 ? -1 : page.indexOf(u'>', end);
            i = endClose < 0 ? size : endClose + 1;
        }
    }
    return lines.take();
}

} // namespace PageText
