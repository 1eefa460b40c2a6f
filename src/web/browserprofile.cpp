#include "web/browserprofile.h"

#include <QCoreApplication>
#include <QNetworkCookie>
#include <QWebEngineCookieStore>
#include <QWebEngineProfile>

#include "replies/requestidentity.h"

namespace {
QWebEngineProfile *s_profile = nullptr;
}

QWebEngineProfile *browserProfile()
{
    return s_profile ? s_profile : QWebEngineProfile::defaultProfile();
}

void useStoredBrowserProfile()
{
    if (!s_profile) {
        s_profile = new QWebEngineProfile(QStringLiteral("Postavo"), QCoreApplication::instance());
        s_profile->setPersistentCookiesPolicy(QWebEngineProfile::AllowPersistentCookies);
    }
}

void exposePagesToAssistiveTechnology()
{
    const char *const name = "QTWEBENGINE_ENABLE_LINUX_ACCESSIBILITY";
    if (!qEnvironmentVariableIsSet(name)) {
        qputenv(name, "1");
    }
}

void shareIdentity(QWebEngineProfile *profile, RequestIdentity *identity, QObject *context)
{
    identity->setUserAgentSource([profile] { return profile->httpUserAgent(); });
    QWebEngineCookieStore *store = profile->cookieStore();
    QObject::connect(store, &QWebEngineCookieStore::cookieAdded, context,
        [identity](const QNetworkCookie &cookie) { identity->storeCookie(cookie); });
    QObject::connect(store, &QWebEngineCookieStore::cookieRemoved, context,
        [identity](const QNetworkCookie &cookie) { identity->removeCookie(cookie); });
    // The cookies kept from earlier runs arrive as added ones.
    store->loadAllCookies();
}
