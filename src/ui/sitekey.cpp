#include "ui/sitekey.h"

QString withWebScheme(const QString &address)
{
    if (address.contains(QLatin1String("https://"), Qt::CaseInsensitive)
        || address.contains(QLatin1String("http://"), Qt::CaseInsensitive)) {
        return address;
    }
    return QStringLiteral("http://") + address;
}

QString launcherAddress(const QString &key, const QString &website)
{
    if (key != websiteSiteKey) {
        return QString();
    }
    // A build without a website has nothing to open; "http://" alone would only show a browser error.
    const QString address = website.trimmed();
    if (address.isEmpty()) {
        return QString();
    }
    return withWebScheme(address);
}
