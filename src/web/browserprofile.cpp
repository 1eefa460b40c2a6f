#include "web/browserprofile.h"

#include <QCoreApplication>
#include <QWebEngineProfile>

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
