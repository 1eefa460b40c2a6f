#include "pagetext/pageencoding.h"

#include <QStringDecoder>

#include <algorithm>
#include <iterator>
#include <string_view>

#include "base/textfile.h"

namespace PageEncoding {

namespace {

bool isAsciiSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f';
}

bool isAsciiLetter(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

char asciiLower(char c)
{
    return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c;
}

// Labels browsers read as Windows-1252, which is what such pages are really written in.
bool isWindows1252(QByteArrayView label)
{
    static constexpr std::string_view labels[] = { "ascii", "cp1252", "cp819", "iso-8859-1", "iso8859-1", "iso_8859-1",
        "l1", "latin1", "us-ascii", "windows-1252", "x-user-defined" };
    const std::string_view name(label.data(), size_t(label.size()));
    return std::find(std::begin(labels), std::end(labels), name) != std::end(labels);
}

bool isUtf8(QByteArrayView label)
{
    return label == "utf-8" || label == "utf8";
}

// The position of "charset" in text at or after from, in any letter case; -1 when absent.
qsizetype indexOfCharset(QByteArrayView text, qsizetype from)
{
    static constexpr std::string_view word = "charset";
    for (qsizetype i = from; i + qsizetype(word.size()) <= text.size(); ++i) {
        if (std::equal(word.begin(), word.end(), text.begin() + i, [](char w, char c) { return w == asciiLower(c); })) {
            return i;
        }
    }
    return -1;
}

qsizetype skipSpaces(QByteArrayView text, qsizetype i)
{
    while (i < text.size() && isAsciiSpace(text[i])) {
        ++i;
    }
    return i;
}

// The Standard's prescan of a page's first bytes: its reading of one attribute of a tag at *position, names and
// values lower case; false when the tag ends first. Values are as written: no character reference is read.
bool nextAttribute(QByteArrayView bytes, qsizetype *position, QByteArray *name, QByteArray *value)
{
    qsizetype i = *position;
    while (i < bytes.size() && (isAsciiSpace(bytes[i]) || bytes[i] == '/')) {
        ++i;
    }
    if (i >= bytes.size() || bytes[i] == '>') {
        *position = i;
        return false;
    }
    name->clear();
    value->clear();
    // The first character may be "=": a name of its own.
    for (; i < bytes.size(); ++i) {
        const char c = bytes[i];
        if ((c == '=' && !name->isEmpty()) || isAsciiSpace(c) || c == '/' || c == '>') {
            break;
        }
        *name += asciiLower(c);
    }
    i = skipSpaces(bytes, i);
    if (i >= bytes.size() || bytes[i] != '=') {
        *position = i;
        return true;
    }
    i = skipSpaces(bytes, i + 1);
    if (i < bytes.size() && (bytes[i] == '"' || bytes[i] == '\'')) {
        const char quote = bytes[i];
        for (++i; i < bytes.size() && bytes[i] != quote; ++i) {
            *value += asciiLower(bytes[i]);
        }
        *position = i + 1;
        return true;
    }
    for (; i < bytes.size() && !isAsciiSpace(bytes[i]) && bytes[i] != '>'; ++i) {
        *value += asciiLower(bytes[i]);
    }
    *position = i;
    return true;
}

// The character set a <meta> whose attributes start at *position names, known to a converter; empty when it names
// none. *position goes past its attributes.
QByteArray metaCharset(QByteArrayView bytes, qsizetype *position)
{
    QList<QByteArray> seen;
    QByteArray name;
    QByteArray value;
    bool gotPragma = false;
    enum class NeedPragma { Unknown, Yes, No } needPragma = NeedPragma::Unknown;
    QByteArray charset;
    while (nextAttribute(bytes, position, &name, &value)) {
        if (seen.contains(name)) {
            continue;
        }
        seen.append(name);
        if (name == "http-equiv") {
            gotPragma = gotPragma || value == "content-type";
        } else if (name == "content" && charset.isEmpty()) {
            charset = knownLabel(charsetOfContent(value));
            needPragma = charset.isEmpty() ? needPragma : NeedPragma::Yes;
        } else if (name == "charset") {
            charset = knownLabel(value);
            needPragma = NeedPragma::No;
        }
    }
    // A tag cut off by the end of the bytes looked through names nothing.
    if (*position >= bytes.size() || needPragma == NeedPragma::Unknown
        || (needPragma == NeedPragma::Yes && !gotPragma)) {
        return {};
    }
    return charset;
}

// The charset of the first <meta> in bytes that names a known one, as the Standard's prescan finds it; empty when
// none does.
QByteArray prescanned(QByteArrayView bytes)
{
    QByteArray name;
    QByteArray value;
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        if (bytes[i] != '<') {
            continue;
        }
        const QByteArrayView rest = bytes.sliced(i);
        if (rest.startsWith("<!--")) {
            // Past the first "-->", whose dashes may be those of the "<!--".
            const qsizetype close = rest.indexOf("-->", 2);
            if (close < 0) {
                return {};
            }
            i += close + 2;
        } else if (rest.size() > 5 && rest.first(5).toByteArray().toLower() == "<meta"
            && (isAsciiSpace(rest[5]) || rest[5] == '/')) {
            i += 5;
            const QByteArray charset = metaCharset(bytes, &i);
            if (!charset.isEmpty()) {
                return charset.startsWith("utf-16") ? QByteArray("utf-8") : charset;
            }
        } else if (rest.size() > 1
            && (isAsciiLetter(rest[1]) || (rest.size() > 2 && rest[1] == '/' && isAsciiLetter(rest[2])))) {
            // Any other tag: its attributes' values may hold what looks like markup.
            while (i < bytes.size() && !isAsciiSpace(bytes[i]) && bytes[i] != '>') {
                ++i;
            }
            while (nextAttribute(bytes, &i, &name, &value)) { }
        } else if (rest.startsWith("<!") || rest.startsWith("</") || rest.startsWith("<?")) {
            const qsizetype close = rest.indexOf('>');
            if (close < 0) {
                return {};
            }
            i += close;
        }
    }
    return {};
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

} // namespace

QByteArray knownLabel(QByteArrayView label)
{
    QByteArray name = label.trimmed().toByteArray().toLower();
    if (isWindows1252(name)) {
        return "windows-1252";
    }
    if (isUtf8(name)) {
        return "utf-8";
    }
    return !name.isEmpty() && QStringDecoder(name.constData()).isValid() ? name : QByteArray();
}

QByteArray charsetOfContent(QByteArrayView content)
{
    for (qsizetype at = indexOfCharset(content, 0); at >= 0; at = indexOfCharset(content, at + 7)) {
        qsizetype i = skipSpaces(content, at + 7);
        if (i >= content.size() || content[i] != '=') {
            continue;
        }
        i = skipSpaces(content, i + 1);
        if (i >= content.size()) {
            return {};
        }
        if (content[i] == '"' || content[i] == '\'') {
            const qsizetype close = content.indexOf(content[i], i + 1);
            return close < 0 ? QByteArray() : content.sliced(i + 1, close - i - 1).toByteArray();
        }
        qsizetype end = i;
        while (end < content.size() && !isAsciiSpace(content[end]) && content[end] != ';') {
            ++end;
        }
        return content.sliced(i, end - i).toByteArray();
    }
    return {};
}

bool sameEncoding(const QByteArray &a, const QByteArray &b)
{
    return knownLabel(a) == knownLabel(b);
}

Declaration declared(QByteArrayView contentType, QByteArrayView body)
{
    if (QByteArray charset = bomCharset(body); !charset.isEmpty()) {
        return { charset, true };
    }
    if (QByteArray charset = knownLabel(charsetOfContent(contentType)); !charset.isEmpty()) {
        return { charset, true };
    }
    return { prescanned(body.first(std::min(body.size(), prescanLength))), false };
}

QString decoded(QByteArrayView body, const QByteArray &charset, QByteArray *used, const LegacyCodePage &legacy)
{
    const QByteArray bom = bomCharset(body);
    if (!bom.isEmpty() && bom == charset) {
        body = body.sliced(bom == "utf-8" ? 3 : 2);
    }
    if (used != nullptr) {
        *used = charset.isEmpty() ? QByteArray("utf-8") : charset;
    }
    if (!charset.isEmpty() && charset != "utf-8") {
        QStringDecoder decoder(charset.constData());
        return decoder.decode(body);
    }
    // Stateful, so that a body cut short inside a character is no reason to read it all in another code page.
    QStringDecoder utf8(QStringDecoder::Utf8);
    QString text = utf8.decode(body);
    if (!utf8.hasError() || !charset.isEmpty()) {
        return text;
    }
    if (used != nullptr) {
        used->clear();
    }
    return TextFile::decodeLine(body.toByteArray(), legacy);
}

} // namespace PageEncoding
