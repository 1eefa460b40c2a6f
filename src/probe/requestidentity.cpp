#include "probe/requestidentity.h"

#include <QNetworkCookie>
#include <QUrl>

namespace {

bool fitsOneLine(QByteArrayView value)
{
    return !value.contains('\r') && !value.contains('\n') && !value.contains('\0');
}

} // namespace

RequestIdentity::RequestIdentity() = default;
RequestIdentity::~RequestIdentity() = default;

QString RequestIdentity::userAgent() const
{
    return m_userAgent ? m_userAgent() : QString();
}

void RequestIdentity::storeCookie(const QNetworkCookie &cookie)
{
    // Replaces one of the same name, domain and path, as the browser does.
    m_jar.updateCookie(cookie) || m_jar.insertCookie(cookie);
}

void RequestIdentity::removeCookie(const QNetworkCookie &cookie)
{
    m_jar.deleteCookie(cookie);
}

void RequestIdentity::clearCookies()
{
    m_jar.setAllCookies({});
}

QList<QNetworkCookie> RequestIdentity::cookiesFor(const QUrl &url) const
{
    return m_jar.cookiesForUrl(url);
}

QByteArray RequestIdentity::headerLinesFor(const QUrl &url) const
{
    QByteArray lines;
    const QByteArray agent = userAgent().toUtf8();
    if (!agent.isEmpty() && fitsOneLine(agent)) {
        lines += "User-Agent: " + agent + "\r\n";
    }
    QByteArray cookies;
    for (const QNetworkCookie &cookie : cookiesFor(url)) {
        const QByteArray pair = cookie.toRawForm(QNetworkCookie::NameAndValueOnly);
        if (pair.isEmpty() || !fitsOneLine(pair)) {
            continue;
        }
        cookies += (cookies.isEmpty() ? "" : "; ") + pair;
    }
    if (!cookies.isEmpty()) {
        lines += "Cookie: " + cookies + "\r\n";
    }
    return lines;
}
