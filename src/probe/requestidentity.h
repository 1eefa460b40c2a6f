#pragma once

#include <QByteArray>
#include <QNetworkCookieJar>
#include <QString>
#include <functional>

class QUrl;

// Who the reply check says it is when it asks for a page: the browser pane's User-Agent and the cookies the
// browser holds for that address (sign-in and session cookies included), so that a forum answers the check
// with the page it shows the user. The cookies live in memory only, fed by the browser's cookie store as it
// changes; nothing here is written anywhere.
class RequestIdentity
{
public:
    RequestIdentity();
    ~RequestIdentity();

    // Asked at each request, so that a changed User-Agent applies from the next page on.
    void setUserAgentSource(std::function<QString()> source) { m_userAgent = std::move(source); }
    QString userAgent() const;

    // The browser's cookie store added or changed a cookie, or removed one.
    void storeCookie(const QNetworkCookie &cookie);
    void removeCookie(const QNetworkCookie &cookie);
    void clearCookies();

    // The cookies a browser sends with a request for url: matched by domain and path, Secure ones only over
    // https, expired ones never, the most specific path first.
    QList<QNetworkCookie> cookiesFor(const QUrl &url) const;

    // The request's header lines for url ("User-Agent: ...", "Cookie: ...", each ended by CR LF); none for what
    // is unknown. A value that could end its line early is left out whole.
    QByteArray headerLinesFor(const QUrl &url) const;

private:
    // QNetworkCookieJar knows the rules by which a browser picks the cookies for an address.
    class Jar : public QNetworkCookieJar
    {
    public:
        using QNetworkCookieJar::allCookies;
        using QNetworkCookieJar::setAllCookies;
    };

    std::function<QString()> m_userAgent;
    Jar m_jar;
};
