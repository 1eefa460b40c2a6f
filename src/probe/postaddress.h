#pragma once

#include <QString>
#include <QStringList>

class QUrl;

// A post's address: the parts the probe connects to and asks for, the text kept in the own-posts list, and
// the post's identity, which ignores what does not change the page (the fragment, the letter case of scheme
// and host, a written default port, and whether a character is percent-encoded or not).
namespace PostAddress {

struct Parts
{
    bool valid = false; // an http or https address with a usable host
    bool secure = false; // https
    QString host; // as written, without the brackets of an IPv6 literal
    int port = -1; // written in the address; -1 when none is
    QString target; // path and query, fragment removed, never empty

    bool isIpv6() const { return host.contains(QLatin1Char(':')); }
    quint16 defaultPort() const { return secure ? 443 : 80; }
    // The port to connect to; httpPort stands in for 80 (tests serve plain http elsewhere).
    quint16 connectPort(quint16 httpPort = 80) const;
    // The Host header: the host (in ASCII form), and its port when the address names one that is not the
    // scheme's default.
    QString hostHeader() const;
    // A full address for these parts, for resolving a redirect against.
    QString toAddress() const;
};

// "http://" in any letter case, "https://", or no scheme at all (read as http); anything else is not valid.
Parts split(const QString &address);

// The request line's target: the path and query as stored, with what cannot travel in a request line
// (controls, blanks, non-ASCII) percent-encoded. An address that is already encoded goes out unchanged.
QByteArray requestTarget(const QString &target);

// The text kept for the page the browser shows: fully encoded, fragment included (it takes the user back to
// the reply), one line.
QString storedText(const QUrl &browserUrl);

// The canonical address a page names (its <link rel="canonical"> href, resolved against the page's address)
// as it is kept, fragment removed, when it is an address of the same site (host and written port); empty
// otherwise, so that a hostile page cannot have another site measured in its place.
QString canonicalAddress(const QUrl &pageUrl, const QString &href);

// Equal for two addresses of the same post. An address that is not a web address is its own identity.
QString identity(const QString &address);
bool isSamePost(const QString &a, const QString &b);
// The first entry that is the same post as address; -1 when none is.
int indexOfPost(const QStringList &posts, const QString &address);

} // namespace PostAddress
