#include "replies/pagefailure.h"

#include <QCoreApplication>

namespace PageFailures {

QString text(PageFailure failure, const QString &detail, int status)
{
    const auto tr = [](const char *text) { return QCoreApplication::translate("PageFailure", text); };
    const auto withDetail
        = [&detail](const QString &text) { return detail.isEmpty() ? text : text + QStringLiteral(": ") + detail; };
    switch (failure) {
    case PageFailure::None:
        return QString();
    case PageFailure::BadAddress:
        // The redirect's own words say more than the general ones.
        return detail.isEmpty() ? tr("Not a web page address") : detail;
    case PageFailure::UnknownHost:
        return tr("Unknown host");
    case PageFailure::Refused:
        return tr("Connection refused");
    case PageFailure::NoAnswer:
        return withDetail(tr("No answer"));
    case PageFailure::Certificate:
        return withDetail(tr("Certificate problem"));
    case PageFailure::Broken:
        return withDetail(tr("Connection broken off"));
    case PageFailure::TooManyRedirects:
        return withDetail(tr("Too many redirects"));
    case PageFailure::ServerError:
        return tr("Server error: status %1").arg(status);
    case PageFailure::NoReply:
        return tr("Closed without a reply");
    case PageFailure::NotHttp:
        return tr("Not a web server's reply");
    case PageFailure::CutShort:
        return withDetail(tr("Page cut short"));
    }
    return QString();
}

} // namespace PageFailures
