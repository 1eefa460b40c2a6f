#include "probe/pagefailure.h"

#include <QByteArray>
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
    case PageFailure::BrowserCheck:
        return tr("The forum asks for a browser check: open the post once in Postavo's browser, then check again.");
    case PageFailure::NotThePage:
        return tr("Not your thread's page now: signed out?");
    }
    return QString();
}

bool isBrowserCheck(int status, bool challengeHeader, QByteArrayView body)
{
    if (status != 403 && status != 429 && status != 503) {
        return false;
    }
    if (challengeHeader) {
        return true;
    }
    // Words shields put on such pages, in any letter case; the page's beginning is enough to tell.
    static const char *const signs[] = { "captcha", "challenge", "checking your browser", "browser check",
        "verify you are human", "are you a robot", "enable javascript and cookies", "document.cookie",
        "ddos protection" };
    const QByteArray start = body.first(qMin<qsizetype>(body.size(), 16 * 1024)).toByteArray().toLower();
    for (const char *sign : signs) {
        if (start.contains(sign)) {
            return true;
        }
    }
    return false;
}

} // namespace PageFailures
