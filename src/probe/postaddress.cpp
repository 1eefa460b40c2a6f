#include "probe/postaddress.h"

#include <QHostAddress>
#include <QUrl>

namespace PostAddress {

namespace {

bool isSchemeName(QStringView text)
{
    if (text.isEmpty() || !(text.front().isLetter() && text.front().unicode() < 0x80)) {
        return false;
    }
    for (const QChar c : text) {
        const bool ok = (c.unicode() < 0x80 && c.isLetterOrNumber()) || c == QLatin1Char('+') || c == QLatin1Char('-')
            || c == QLatin1Char('.');
        if (!ok) {
            return false;
        }
    }
    return true;
}

bool isAscii(const QString &text)
{
    for (const QChar c : text) {
        if (c.unicode() >= 0x80) {
            return false;
        }
    }
    return true;
}

// A host name as it goes on the wire; empty when an international name has no ASCII form.
QString asciiHost(const QString &host)
{
    return isAscii(host) ? host : QString::fromLatin1(QUrl::toAce(host));
}

bool isUsableHostName(const QString &host)
{
    if (host.isEmpty()) {
        return false;
    }
    for (const QChar c : host) {
        if (c.unicode() <= 0x20 || c.unicode() == 0x7f || QStringView(u"/\\?#@[]%<>\"").contains(c)) {
            return false;
        }
    }
    return !asciiHost(host).isEmpty();
}

bool isUnreserved(uchar c)
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' || c == '.'
        || c == '_' || c == '~';
}

bool isLiteralInTarget(uchar c)
{
    return isUnreserved(c) || QByteArrayView(":/?@!$&'()*+,;=[]").contains(char(c));
}

int hexValue(char c)
{
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    return -1;
}

void appendEscaped(QByteArray *out, uchar c)
{
    static const char digits[] = "0123456789ABCDEF";
    out->append('%');
    out->append(digits[c >> 4]);
    out->append(digits[c & 0xf]);
}

// One spelling for every way of writing the same path and query: escapes of unreserved characters decoded,
// every other escape in capitals, and what must be escaped escaped.
QString normalizedTarget(const QString &target)
{
    const QByteArray bytes = target.toUtf8();
    QByteArray out;
    out.reserve(bytes.size());
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const auto c = uchar(bytes.at(i));
        if (c == '%') {
            const int high = i + 2 < bytes.size() ? hexValue(bytes.at(i + 1)) : -1;
            const int low = high >= 0 ? hexValue(bytes.at(i + 2)) : -1;
            if (low < 0) {
                appendEscaped(&out, c);
                continue;
            }
            const auto decoded = uchar(high * 16 + low);
            if (isUnreserved(decoded)) {
                out.append(char(decoded));
            } else {
                appendEscaped(&out, decoded);
            }
            i += 2;
        } else if (isLiteralInTarget(c)) {
            out.append(char(c));
        } else {
            appendEscaped(&out, c);
        }
    }
    return QString::fromLatin1(out);
}

} // namespace

quint16 Parts::connectPort(quint16 httpPort) const
{
    if (port >= 0) {
        return quint16(port);
    }
    return secure ? defaultPort() : httpPort;
}

QString Parts::hostHeader() const
{
    QString text = isIpv6() ? QLatin1Char('[') + host + QLatin1Char(']') : asciiHost(host);
    if (port >= 0 && port != defaultPort()) {
        text += QLatin1Char(':') + QString::number(port);
    }
    return text;
}

QString Parts::toAddress() const
{
    return (secure ? QStringLiteral("https://") : QStringLiteral("http://"))
        + (isIpv6() ? QLatin1Char('[') + host + QLatin1Char(']') : host)
        + (port >= 0 ? QLatin1Char(':') + QString::number(port) : QString()) + target;
}

Parts split(const QString &address)
{
    Parts parts;
    QString rest = address.trimmed();
    const qsizetype separator = rest.indexOf(QLatin1String("://"));
    if (separator >= 0 && isSchemeName(QStringView(rest).left(separator))) {
        const QString scheme = rest.left(separator).toLower();
        if (scheme != QLatin1String("http") && scheme != QLatin1String("https")) {
            return parts;
        }
        parts.secure = scheme == QLatin1String("https");
        rest = rest.mid(separator + 3);
    }

    qsizetype authorityEnd = rest.size();
    for (const QChar c : { QLatin1Char('/'), QLatin1Char('?'), QLatin1Char('#') }) {
        const qsizetype at = rest.indexOf(c);
        if (at >= 0 && at < authorityEnd) {
            authorityEnd = at;
        }
    }
    QString authority = rest.left(authorityEnd);
    QString target = rest.mid(authorityEnd);

    // User name and password never go to the server in the request line.
    authority = authority.mid(authority.lastIndexOf(QLatin1Char('@')) + 1);

    QString portText;
    if (authority.startsWith(QLatin1Char('['))) {
        const qsizetype close = authority.indexOf(QLatin1Char(']'));
        if (close < 0) {
            return parts;
        }
        parts.host = authority.mid(1, close - 1);
        const QString after = authority.mid(close + 1);
        if (!after.isEmpty() && !after.startsWith(QLatin1Char(':'))) {
            return parts;
        }
        portText = after.mid(1);
        if (QHostAddress(parts.host).protocol() != QAbstractSocket::IPv6Protocol) {
            return parts;
        }
    } else {
        const qsizetype colon = authority.indexOf(QLatin1Char(':'));
        parts.host = colon < 0 ? authority : authority.left(colon);
        portText = colon < 0 ? QString() : authority.mid(colon + 1);
        if (!isUsableHostName(parts.host)) {
            return parts;
        }
    }
    if (!portText.isEmpty()) {
        bool ok = false;
        const uint port = portText.toUInt(&ok);
        if (!ok || port == 0 || port > 65535 || !portText.front().isDigit()) {
            return parts;
        }
        parts.port = int(port);
    }

    const qsizetype hash = target.indexOf(QLatin1Char('#'));
    if (hash >= 0) {
        target.truncate(hash);
    }
    if (!target.startsWith(QLatin1Char('/'))) {
        target.prepend(QLatin1Char('/'));
    }
    parts.target = target;
    parts.valid = true;
    return parts;
}

QByteArray requestTarget(const QString &target)
{
    const QByteArray bytes = target.toUtf8();
    QByteArray out;
    out.reserve(bytes.size());
    for (const char byte : bytes) {
        const auto c = uchar(byte);
        // Controls would end the request line early and let an address smuggle in headers of its own.
        if (c <= 0x20 || c >= 0x7f) {
            appendEscaped(&out, c);
        } else {
            out.append(byte);
        }
    }
    return out;
}

QString storedText(const QUrl &browserUrl)
{
    return browserUrl.toString(QUrl::FullyEncoded);
}

QString canonicalAddress(const QUrl &pageUrl, const QString &href)
{
    const QString written = href.trimmed();
    if (written.isEmpty()) {
        return {};
    }
    QUrl canonical = pageUrl.resolved(QUrl(written));
    canonical.setFragment(QString());
    const QString text = storedText(canonical);
    const Parts page = split(storedText(pageUrl));
    const Parts named = split(text);
    const QString scheme = canonical.scheme().toLower();
    if (!page.valid || !named.valid || (scheme != QLatin1String("http") && scheme != QLatin1String("https"))
        || asciiHost(page.host).compare(asciiHost(named.host), Qt::CaseInsensitive) != 0 || page.port != named.port) {
        return {};
    }
    return text;
}

QString identity(const QString &address)
{
    const Parts parts = split(address);
    if (!parts.valid) {
        return address.trimmed();
    }
    const QString host = parts.isIpv6()
        ? QLatin1Char('[') + QHostAddress(parts.host).toString().toLower() + QLatin1Char(']')
        : asciiHost(parts.host).toLower();
    const QString port = parts.port >= 0 && parts.port != parts.defaultPort()
        ? QLatin1Char(':') + QString::number(parts.port)
        : QString();
    return (parts.secure ? QStringLiteral("https://") : QStringLiteral("http://")) + host + port
        + normalizedTarget(parts.target);
}

bool isSamePost(const QString &a, const QString &b)
{
    return identity(a) == identity(b);
}

int indexOfPost(const QStringList &posts, const QString &address)
{
    const QString wanted = identity(address);
    for (qsizetype i = 0; i < posts.size(); ++i) {
        if (identity(posts.at(i)) == wanted) {
            return int(i);
        }
    }
    return -1;
}

} // namespace PostAddress
