#include "web/browserprofile.h"

#include <QString>
#include <QNetworkCookie>
#include <QWebEngineCookieStore>
#include <QWebEngineProfile>

#include "probe/requestidentity.h"

QWebEngineProfile *storedBrowserProfile(const QString &storageFolder, QObject *parent)
{
    auto *profile = new QWebEngineProfile(QStringLiteral("Postavo"), parent);
    if (!storageFolder.isEmpty()) {
        profile->setPersistentStoragePath(storageFolder + QStringLiteral("/storage"));
        profile->setCachePath(storageFolder + QStringLiteral("/cache"));
    }
    profile->setPersistentCookiesPolicy(QWebEngineProfile::AllowPersistentCookies);
    return profile;
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
