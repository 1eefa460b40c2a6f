#include "replies/pagetext.h"

#include <QStringDecoder>

#include <algorithm>
#include <array>
#include <cstring>
#include <iterator>
#include <string_view>
#include <type_traits>
#include <vector>

#include "base/characterreferences.h"
#include "base/charscan.h"
#include "base/textfile.h"

namespace PageText {

namespace {

// White space as markup has it: space, tab, line ends and form feed; no other space of Unicode.
template <typename Char> bool isAsciiSpace(Char c)
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

// Each character's part in a name's key: 1 to 10 for a digit, 11 to 36 for a letter in either case, 0 for a
// character no name has (every one past ASCII).
constexpr std::array<quint8, 256> s_nameCodes = [] {
    std::array<quint8, 256> codes {};
    for (char c = '0'; c <= '9'; ++c) {
        codes[size_t(c)] = quint8(c - '0' + 1);
    }
    for (char c = 'a'; c <= 'z'; ++c) {
        codes[size_t(c)] = quint8(c - 'a' + 11);
        codes[size_t(c - 'a' + 'A')] = quint8(c - 'a' + 11);
    }
    return codes;
}();

// The page's characters as numbers: bytes of an ASCII page, or UTF-16 code units.
template <typename Char> char16_t unitOf(Char c)
{
    return char16_t(std::make_unsigned_t<Char>(c));
}

template <typename Char> quint8 nameCode(Char c)
{
    // A byte needs no bounds check: the table has all of them.
    if constexpr (sizeof(Char) == 1) {
        return s_nameCodes[quint8(c)];
    } else {
        return unitOf(c) < 256 ? s_nameCodes[unitOf(c)] : 0;
    }
}

// The lines of a page's text in UTF-8, each ended by "\n", taken from the page's characters as they come.
class LineCollector
{
public:
    // room: the bytes the page's text can take, as a rule (a character reference may take more).
    explicit LineCollector(qsizetype room)
        : m_buffer(room + s_stepRoom, Qt::Uninitialized)
    { }

    // Takes the text from p up to the next tag, character references decoded; returns where the tag starts (end
    // when none does).
    template <typename Char> const Char *addUntilTag(const Char *p, const Char *const end)
    {
        const Char *stop = append<true>(p, end);
        if (stop < end && *stop == '&') {
            const Char *const tag = CharScan::find(stop, end, Char('<'));
            if constexpr (sizeof(Char) == 1) {
                addText(CharacterReferences::decoded(QString::fromUtf8(stop, tag - stop)));
            } else {
                addText(CharacterReferences::decoded(QStringView(stop, tag)));
            }
            stop = tag;
        }
        return stop;
    }

    void addText(QStringView text)
    {
        const auto *const begin = reinterpret_cast<const char16_t *>(text.data());
        append<false>(begin, begin + text.size());
    }

    // Bytes of text so far.
    qsizetype size() const { return qsizetype(m_size); }

    // Whole lines, each ended by "\n", after the lines so far.
    void addLines(QByteArrayView text)
    {
        endLine();
        makeRoom(size_t(text.size()));
        std::memcpy(m_data + m_size, text.data(), size_t(text.size()));
        m_size += size_t(text.size());
        m_lineStart = m_size;
    }

    void endLine()
    {
        if (m_size > m_lineStart) {
            makeRoom(1);
            m_data[m_size++] = '\n';
            m_lineStart = m_size;
        }
        m_pendingSpace = false;
    }

    TextLines take()
    {
        endLine();
        m_buffer.truncate(qsizetype(m_size));
        return TextLines::fromText(std::move(m_buffer));
    }

private:
    void makeRoom(size_t count)
    {
        if (m_size + count > size_t(m_buffer.size())) {
            m_buffer.resize(qsizetype(std::max(size_t(m_buffer.size()) * 2, m_size + count)));
            m_data = m_buffer.data();
        }
    }

    // Appends the text from p to end, or in markup up to its first "<" or "&", and returns where it stopped.
    // White space collapses to one blank within a line and goes at its ends; controls go; half a surrogate
    // pair becomes the replacement character.
    template <bool markup, typename Char> const Char *append(const Char *p, const Char *const end)
    {
        // A stretch of plain text is written a whole step at a time, or a character in up to four bytes, and a
        // blank may come before either. ASCII gives a byte a character: room for all of it at once. UTF-16 gives
        // up to three bytes a unit but most text far fewer: room as it comes, not three times the page's size.
        makeRoom(sizeof(Char) == 1 ? size_t(end - p) + s_stepRoom : s_stepRoom);
        char *out = m_data + m_size;
        char *limit = m_data + m_buffer.size();
        bool pending = m_pendingSpace;
        const auto blankIfPending = [&] {
            if (pending) {
                *out++ = ' ';
                pending = false;
            }
        };
        while (p < end) {
            if constexpr (sizeof(Char) == 2) {
                if (size_t(limit - out) < s_stepRoom) {
                    m_size = size_t(out - m_data);
                    makeRoom(std::max(s_stepRoom, size_t(end - p)));
                    out = m_data + m_size;
                    limit = m_data + m_buffer.size();
                }
            }
            // Most of a text is words and single blanks, taken a whole step at a time as they are.
            if (end - p >= CharScan::lanes<Char>) {
                const bool wasPending = pending;
                const int plain = CharScan::plainStretch(p, out + (wasPending ? 1 : 0));
                if (plain > 0) {
                    if (wasPending) {
                        *out++ = ' ';
                        pending = false;
                    }
                    out += plain;
                    p += plain;
                    if (plain == CharScan::lanes<Char>) {
                        continue;
                    }
                }
                // p is at a character that is not plain, most often the "<" that ends the text.
                if (markup && *p == '<') {
                    break;
                }
            }
            const char16_t c = unitOf(*p);
            if (c > 0x20 && c < 0x7f) {
                if (markup && (c == u'<' || c == u'&')) {
                    break;
                }
                blankIfPending();
                *out++ = char(c);
            } else if (sizeof(Char) == 1 && c >= 0x80) {
                // A character of a page in valid UTF-8, taken as its UTF-16 is, its bytes written as they are.
                const int length = CharScan::utf8Length(quint8(c));
                if (length == 0 || end - p < length) {
                    p = end; // never in valid UTF-8
                    break;
                }
                const char32_t character = utf8Character(p, length);
                if (QChar::isSpace(character)) {
                    pending = out > m_data + m_lineStart;
                } else if (QChar::category(character) != QChar::Other_Control) {
                    blankIfPending();
                    std::memcpy(out, p, size_t(length));
                    out += length;
                }
                p += length - 1;
            } else if (QChar::isSpace(c)) {
                pending = out > m_data + m_lineStart;
                // The indentation between tags, in one go.
                while (p + 1 < end && (p[1] == ' ' || p[1] == '\n' || p[1] == '\t' || p[1] == '\r')) {
                    ++p;
                }
            } else if (QChar::isHighSurrogate(c) && p + 1 < end && QChar::isLowSurrogate(unitOf(p[1]))) {
                blankIfPending();
                out = utf8(out, QChar::surrogateToUcs4(c, unitOf(*++p)));
            } else if (QChar::isSurrogate(c)) {
                blankIfPending();
                out = utf8(out, QChar::ReplacementCharacter);
            } else if (QChar::category(c) != QChar::Other_Control) {
                blankIfPending();
                out = utf8(out, c);
            }
            ++p;
        }
        m_size = size_t(out - m_data);
        m_pendingSpace = pending;
        return p;
    }

    // Bytes one step of append may write: a blank, then a stretch of plain text or a character in UTF-8.
    static constexpr size_t s_stepRoom = 1 + std::max(CharScan::lanes<char>, 4);

    // The character of the valid UTF-8 sequence of length bytes at p.
    template <typename Char> static char32_t utf8Character(const Char *p, int length)
    {
        const auto byte = [p](int i) { return char32_t(std::make_unsigned_t<Char>(p[i])); };
        char32_t character = byte(0) & (0x7f >> length);
        for (int i = 1; i < length; ++i) {
            character = character << 6 | (byte(i) & 0x3f);
        }
        return character;
    }

    static char *utf8(char *out, char32_t c)
    {
        if (c < 0x80) {
            *out++ = char(c);
        } else if (c < 0x800) {
            *out++ = char(0xc0 | c >> 6);
            *out++ = char(0x80 | (c & 0x3f));
        } else if (c < 0x10000) {
            *out++ = char(0xe0 | c >> 12);
            *out++ = char(0x80 | ((c >> 6) & 0x3f));
            *out++ = char(0x80 | (c & 0x3f));
        } else {
            *out++ = char(0xf0 | c >> 18);
            *out++ = char(0x80 | ((c >> 12) & 0x3f));
            *out++ = char(0x80 | ((c >> 6) & 0x3f));
            *out++ = char(0x80 | (c & 0x3f));
        }
        return out;
    }

    QByteArray m_buffer; // the lines so far, each ended by "\n", in its first m_size bytes
    char *m_data = m_buffer.data();
    size_t m_size = 0;
    size_t m_lineStart = 0; // where the line being collected starts
    bool m_pendingSpace = false;
};

// The ">" that closes the tag whose attributes start at attributes, quoted values skipped; nullptr when none does.
template <typename Char> const Char *tagEnd(const Char *const attributes, const Char *const end)
{
    for (const Char *p = attributes;; ++p) {
        p = CharScan::findAny(p, end, Char('>'), Char('"'), Char('\''));
        if (p == end) {
            return nullptr;
        }
        if (*p == '>') {
            return p;
        }
        // A quote starts a value only after "=", markup's white space between allowed; elsewhere it is a character
        // like others.
        const Char *before = p;
        while (before > attributes && isAsciiSpace(before[-1])) {
            --before;
        }
        if (before > attributes && before[-1] == '=') {
            p = CharScan::find(p + 1, end, *p);
            if (p == end) {
                return nullptr;
            }
        }
    }
}

// Where "</" and the name from name to nameEnd, in any letter case, first come from p on; end when never. Scripts
// and styles are long and hold many "<", so they are looked through a whole step at a time.
template <typename Char>
const Char *endTagOf(const Char *p, const Char *const end, const Char *name, const Char *nameEnd)
{
    const qsizetype length = nameEnd - name;
    const auto lower = [](char16_t c) { return c >= u'A' && c <= u'Z' ? char16_t(c + (u'a' - u'A')) : c; };
    for (; (p = CharScan::find(p, end, Char('<'))) != end; ++p) {
        if (end - p >= length + 2 && p[1] == '/'
            && std::equal(name, nameEnd, p + 2, [&](Char a, Char b) { return lower(unitOf(a)) == lower(unitOf(b)); })) {
            return p;
        }
    }
    return end;
}

// Where the comment whose "<!--" ends at p is closed by "-->"; end when never.
template <typename Char> const Char *commentEnd(const Char *const p, const Char *const end)
{
    for (const Char *close = CharScan::find(p, end, Char('>')); close != end;
         close = CharScan::find(close + 1, end, Char('>'))) {
        if (close - p >= 2 && close[-1] == '-' && close[-2] == '-') {
            return close + 1;
        }
    }
    return end;
}

// The readable lines of a page, from its bytes (ASCII or valid UTF-8) or its UTF-16.
template <typename Char> TextLines linesOfPage(const Char *const begin, const Char *const end)
{
    LineCollector lines(end - begin);
    const Char *p = begin;
    while (p < end) {
        // Most tags follow another with no text between.
        if (*p != '<') {
            p = lines.addUntilTag(p, end);
            if (p == end) {
                break;
            }
        }
        const Char next = p + 1 < end ? p[1] : Char(0);
        // The name's key as it is read: letters in either case and digits. A name starts with a letter.
        const Char *name = p + 1;
        quint8 code = nameCode(next);
        const bool closing = code == 0 && next == '/';
        if (code == 0) {
            if (next == '!' && end - p >= 4 && p[2] == '-' && p[3] == '-') {
                p = commentEnd(p + 4, end);
                continue;
            }
            if (next == '!' || next == '?') {
                const Char *const close = CharScan::find(p, end, Char('>'));
                p = close == end ? end : close + 1;
                continue;
            }
            name = p + 2;
            code = closing && name < end ? nameCode(*name) : 0;
        }
        if (code < 11) {
            lines.addText(u"<");
            ++p;
            continue;
        }
        const Char *nameEnd = name + 1;
        quint64 key = code;
        for (; nameEnd < end && (code = nameCode(*nameEnd)) != 0; ++nameEnd) {
            key = key << 6 | code;
        }
        if (nameEnd - name > 10) {
            key = 0; // longer than any name looked for
        }
        // Most tags end right after their name ("</p>"), and need no look through attributes.
        const Char *const close = nameEnd < end && *nameEnd == '>' ? nameEnd : tagEnd(nameEnd, end);
        if (close == nullptr) {
            break; // a tag that never ends takes the rest of the page with it, as in a browser
        }
        p = close + 1;
        const ElementKind kind = s_elements.kindOf(key);
        if (kind == ElementKind::Block) {
            lines.endLine();
            continue;
        }
        if (!closing && kind == ElementKind::Hidden && close[-1] != '/') {
            const Char *const endTag = endTagOf(p, end, name, nameEnd);
            const Char *const endClose = CharScan::find(endTag, end, Char('>'));
            p = endClose == end ? end : endClose + 1;
        }
    }
    return lines.take();
}

// How a page's bytes can be read as they are, without a copy in UTF-16.
enum class ByteReading {
    None, // only decoded
    Ascii, // all ASCII, in a character set whose ASCII bytes are ASCII
    Utf8, // valid UTF-8, declared or not, with no other character set declared
};

bool isUtf8(const QByteArray &charset)
{
    return charset == "utf-8" || charset == "utf8";
}

// Whether a page in this character set is UTF-8 when it is valid UTF-8: declared so, or declared none.
bool readsAsUtf8(const QByteArray &charset)
{
    return charset.isEmpty() || isUtf8(charset);
}

ByteReading byteReadingOf(const QByteArray &charset, QByteArrayView body)
{
    const char *const end = body.data() + body.size();
    if (readsAsUtf8(charset)) {
        switch (CharScan::encodingOf(body.data(), end)) {
        case CharScan::Encoding::Ascii:
            return ByteReading::Ascii;
        case CharScan::Encoding::Utf8:
            return ByteReading::Utf8;
        case CharScan::Encoding::Other:
            return ByteReading::None;
        }
    }
    return isWindows1252(charset) && CharScan::isAscii(body.data(), end) ? ByteReading::Ascii : ByteReading::None;
}

// The page decoded, when its bytes are not read as they are.
QString decodedPage(const QByteArray &charset, QByteArrayView body)
{
    const bool declaredUtf8 = isUtf8(charset);
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
    switch (byteReadingOf(charset, body)) {
    case ByteReading::Ascii:
        return QString::fromLatin1(body);
    case ByteReading::Utf8:
        return QString::fromUtf8(body);
    case ByteReading::None:
        break;
    }
    return decodedPage(charset, body);
}

QStringList linesOf(QStringView page)
{
    return textLinesOf(page).toList();
}

TextLines textLinesOf(QStringView page)
{
    return linesOfPage(page.utf16(), page.utf16() + page.size());
}

namespace {

// A byte-order mark starts no text, as decoding drops it.
const char *textStart(QByteArrayView body)
{
    return body.data() + (body.startsWith("\xEF\xBB\xBF") ? 3 : 0);
}

TextLines linesOfBody(const QByteArray &charset, QByteArrayView body)
{
    // Most pages are ASCII or UTF-8: read as they are, without a copy in UTF-16.
    switch (byteReadingOf(charset, body)) {
    case ByteReading::Ascii:
    case ByteReading::Utf8:
        return linesOfPage(textStart(body), body.data() + body.size());
    case ByteReading::None:
        break;
    }
    return textLinesOf(decodedPage(charset, body));
}

} // namespace

TextLines textLines(QByteArrayView contentType, QByteArrayView body)
{
    return linesOfBody(declaredCharset(contentType, body), body);
}

} // namespace PageText
