#include "probe/redirectpolicy.h"

#include <QCoreApplication>
#include <QUrl>

#include "probe/postaddress.h"

namespace {

QString tr(const char *text)
{
    return QCoreApplication::translate("RedirectPolicy", text);
}

} // namespace

bool RedirectPolicy::isRedirect(int status)
{
    return status == 301 || status == 302 || status == 303 || status == 307 || status == 308;
}

void RedirectPolicy::reset()
{
    m_visited.clear();
    m_count = 0;
}

RedirectPolicy::Step RedirectPolicy::next(const QString &from, const QString &location)
{
    Step step;
    const QUrl next = QUrl(PostAddress::split(from).toAddress()).resolved(QUrl(location));
    const QString scheme = next.scheme().toLower();
    if (!next.isValid() || (scheme != QLatin1String("http") && scheme != QLatin1String("https"))) {
        step.failure = PageFailure::BadAddress;
        step.detail = tr("Redirected to an address that is not a web page");
        return step;
    }
    const QString address = next.toString(QUrl::FullyEncoded | QUrl::RemoveFragment);
    if (m_count >= MaxRedirects) {
        step.failure = PageFailure::TooManyRedirects;
        step.detail = tr("Redirected more than %1 times").arg(MaxRedirects);
        return step;
    }
    // Only pages that redirect are remembered: most pages answer at once.
    m_visited.insert(PostAddress::identity(from));
    if (m_visited.contains(PostAddress::identity(address))) {
        step.failure = PageFailure::TooManyRedirects;
        step.detail = tr("Redirected in a loop");
        return step;
    }
    ++m_count;
    step.address = address;
    return step;
}
