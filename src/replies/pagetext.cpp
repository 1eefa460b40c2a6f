#include "replies/pagetext.h"

#include <QStringDecoder>

#include <algorithm>
#include <iterator>
#include <string_view>

#include "base/characterreferences.h"
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
    "td",
    "th",
    "title",
    "tr",
    "ul",
    "tbody",
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

bool isOneOf(std::string_view name, const auto &names)
{
    return std::find(std::begin(names), std::end(names), name) != std::end(names);
}

bool isAsciiLetter(QChar c)
{
    return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z');
}

class LineCollector
{
public:
    void addText(QStringView raw)
    {
        if (raw.contains(u'&')) {
            const QString text = CharacterReferences::decoded(raw);
            addPlain(text);
        } else {
            addPlain(raw);
        }
    }

    void endLine()
    {
        if (!m_line.isEmpty()) {
            // A copy of its own size; the buffer stays for the next line.
            m_lines.append(QString(m_line.constData(), m_line.size()));
            m_line.resize(0);
        }
        m_pendingSpace = false;
    }

    QStringList take()
    {
        endLine();
        return std::move(m_lines);
    }

private:
    // Runs of ordinary characters are appended whole; white space, controls and surrogates one by one.
    void addPlain(QStringView text)
    {
        const QChar *p = text.data();
        const QChar *const end = p + text.size();
        while (p < end) {
            const QChar *run = p;
            while (p < end && isPlain(p->unicode())) {
                ++p;
            }
            if (p > run) {
                addRun(run, p - run);
            }
            if (p == end) {
                break;
            }
            const QChar c = *p++;
            if (c.isSpace()) {
                m_pendingSpace = !m_line.isEmpty();
            } else if (c.isHighSurrogate() && p < end && p->isLowSurrogate()) {
                addRun(p - 1, 2);
                ++p;
            } else if (c.isSurrogate()) {
                const QChar replacement = QChar::ReplacementCharacter; // half a character is none
                addRun(&replacement, 1);
            } else if (c.category() != QChar::Other_Control) {
                addRun(&c, 1);
            }
        }
    }

    static bool isPlain(char16_t c)
    {
        if (c < 0x80) {
            return c > 0x20 && c != 0x7f;
        }
        return c > 0xa0 && !(c >= 0xd800 && c <= 0xdfff) && !QChar::isSpace(c) && c != 0xfeff
            && !(c >= 0x2000 && c <= 0x206f);
    }

    void addRun(const QChar *run, qsizetype length)
    {
        if (m_pendingSpace) {
            m_line += u' ';
            m_pendingSpace = false;
        }
        m_line.append(run, length);
    }

    QStringList m_lines;
    QString m_line;
    bool m_pendingSpace = false;
};

// Where the tag whose name ends at from is closed by its ">", quoted attribute values skipped; -1 when never.
qsizetype tagEnd(QStringView page, qsizetype from)
{
    QChar quote;
    QChar previous;
    for (qsizetype i = from; i < page.size(); ++i) {
        const QChar c = page.at(i);
        if (!quote.isNull()) {
            if (c == quote) {
                quote = QChar();
                previous = c;
            }
            continue;
        }
        if (c == u'>') {
            return i;
        }
        if ((c == u'"' || c == u'\'') && previous == u'=') {
            quote = c;
        }
        if (!c.isSpace()) {
            previous = c;
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
    QString text;
    if (isWindows1252(charset) && decodesWith("windows-1252", body, &text)) {
        return text;
    }
    if (!charset.isEmpty() && charset != "utf-8" && charset != "utf8"
        && decodesWith(charset.constData(), body, &text)) {
        return text;
    }
    // Stateful, so that a body cut short inside a character is no reason to read it all in another code page.
    QStringDecoder utf8(QStringDecoder::Utf8);
    text = utf8.decode(body);
    if (!utf8.hasError() || charset == "utf-8" || charset == "utf8") {
        return text;
    }
    return TextFile::decodeLine(body.toByteArray());
}

QStringList linesOf(QStringView page)
{
    LineCollector lines;
    const qsizetype size = page.size();
    qsizetype i = 0;
    while (i < size) {
        const qsizetype open = page.indexOf(u'<', i);
        if (open < 0) {
            lines.addText(page.sliced(i));
            break;
        }
        lines.addText(page.sliced(i, open - i));
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
        if (nameEnd >= size || !isAsciiLetter(page.at(nameEnd))) {
            lines.addText(u"<");
            ++i;
            continue;
        }
        std::string name;
        while (nameEnd < size && (isAsciiLetter(page.at(nameEnd)) || page.at(nameEnd).isDigit())) {
            if (name.size() < 16) {
                const char16_t c = page.at(nameEnd).unicode();
                name += char(c >= u'A' && c <= u'Z' ? c - u'A' + u'a' : c);
            }
            ++nameEnd;
        }
        const qsizetype close = tagEnd(page, nameEnd);
        if (close < 0) {
            break; // a tag that never ends takes the rest of the page with it, as in a browser
        }
        i = close + 1;
        if (isOneOf(name, s_blockElements)) {
            lines.endLine();
        }
        if (!closing && isOneOf(name, s_hiddenElements) && page.at(close - 1) != u'/') {
            const QString endTag = QStringLiteral("</") + QString::fromLatin1(name.data(), qsizetype(name.size()));
            const qsizetype end = page.indexOf(endTag, i, Qt::CaseInsensitive);
            const qsizetype endClose = end < 0 ? -1 : page.indexOf(u'>', end);
            i = endClose < 0 ? size : endClose + 1;
        }
    }
    return lines.take();
}

} // namespace PageText
