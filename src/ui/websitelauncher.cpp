#include "ui/websitelauncher.h"

#include <QDesktopServices>
#include <QPointer>
#include <QTimer>

#include "base/branding.h"
#include "ui/sitekey.h"

namespace {

QList<QPointer<WebsiteLauncher>> &launchers()
{
    static QList<QPointer<WebsiteLauncher>> s_launchers;
    return s_launchers;
}

} // namespace

WebsiteLauncher::WebsiteLauncher(QWidget *parent)
    : QWidget(parent, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowDoesNotAcceptFocus)
    , m_closeTimer(new QTimer(this))
{
    setObjectName(QStringLiteral("WebsiteLauncher"));
    // The launcher has nothing to show; on screen it is a speck that takes no focus from the user's windows.
    setAttribute(Qt::WA_ShowWithoutActivating);
    setAttribute(Qt::WA_TranslucentBackground);
    setWindowOpacity(0.0);
    setFixedSize(1, 1);

    m_closeTimer->setObjectName(QStringLiteral("closeTimer"));
    m_closeTimer->setInterval(1000);
    m_closeTimer->setSingleShot(true);
    connect(m_closeTimer, &QTimer::timeout, this, &WebsiteLauncher::closeAfterDelay);
    m_closeTimer->start();

    launchers().removeIf([](const QPointer<WebsiteLauncher> &launcher) { return launcher.isNull(); });
    launchers().append(this);
    openSite();
}

WebsiteLauncher::~WebsiteLauncher()
{
    // Gone from the list first, so whoever waits on closed() sees this launcher no longer.
    launchers().removeAll(this);
    emit closed();
}

WebsiteLauncher::Opener &WebsiteLauncher::opener()
{
    static Opener s_opener = [](const QUrl &url) { QDesktopServices::openUrl(url); };
    return s_opener;
}

WebsiteLauncher *WebsiteLauncher::visibleLauncher()
{
    for (const QPointer<WebsiteLauncher> &launcher : std::as_const(launchers())) {
        if (launcher && launcher->isVisible()) {
            return launcher;
        }
    }
    return nullptr;
}

void WebsiteLauncher::whenNoneVisible(QObject *context, const std::function<void()> &done)
{
    WebsiteLauncher *launcher = visibleLauncher();
    if (!launcher) {
        done();
        return;
    }
    // Checked again when it goes, for another launcher may have been shown meanwhile.
    connect(
        launcher, &WebsiteLauncher::closed, context, [context, done] { whenNoneVisible(context, done); },
        Qt::SingleShotConnection);
}

void WebsiteLauncher::openSite()
{
    loadBranding();
    if (siteKey() != websiteSiteKey) {
        return;
    }
    const QString address = launcherAddress(siteKey(), brandingInfo().website);
    if (!address.isEmpty()) {
        const QUrl url(address, QUrl::TolerantMode);
        if (url.isValid() && opener()) {
            opener()(url);
        }
    }
    siteKey().clear();
}

void WebsiteLauncher::closeAfterDelay()
{
    hide();
    deleteLater();
}

WebsiteLauncher *launchWebsite(bool show)
{
    siteKey() = websiteSiteKey;
    auto *launcher = new WebsiteLauncher;
    if (show) {
        launcher->show();
    }
    return launcher;
}
