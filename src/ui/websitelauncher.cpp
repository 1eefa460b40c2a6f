#include "ui/websitelauncher.h"

#include <QDesktopServices>
#include <QTimer>

#include "ui/sitekey.h"

WebsiteLauncher::WebsiteLauncher(const QString &siteKey, Website &website, QWidget *parent)
    : QWidget(parent, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowDoesNotAcceptFocus)
    , m_closeTimer(new QTimer(this))
    , m_website(&website)
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

    website.m_launchers.removeIf([](const QPointer<WebsiteLauncher> &launcher) { return launcher.isNull(); });
    website.m_launchers.append(this);
    const QString address = launcherAddress(siteKey, website.address());
    if (!address.isEmpty()) {
        const QUrl url(address, QUrl::TolerantMode);
        if (url.isValid()) {
            website.open(url);
        }
    }
}

WebsiteLauncher::~WebsiteLauncher()
{
    // Gone from the list first, so whoever waits on closed() sees this launcher no longer.
    if (m_website) {
        m_website->m_launchers.removeAll(this);
    }
    emit closed();
}

void WebsiteLauncher::closeAfterDelay()
{
    hide();
    deleteLater();
}

Website::Website(const QString &address, QObject *parent)
    : QObject(parent)
    , m_address(address)
    , m_opener([](const QUrl &url) { QDesktopServices::openUrl(url); })
{ }

void Website::open(const QUrl &url) const
{
    if (m_opener) {
        m_opener(url);
    }
}

WebsiteLauncher *Website::launch(bool show)
{
    auto *launcher = new WebsiteLauncher(websiteSiteKey, *this);
    if (show) {
        launcher->show();
    }
    return launcher;
}

WebsiteLauncher *Website::visibleLauncher() const
{
    for (const QPointer<WebsiteLauncher> &launcher : m_launchers) {
        if (launcher && launcher->isVisible()) {
            return launcher;
        }
    }
    return nullptr;
}

void Website::whenNoneVisible(QObject *context, const std::function<void()> &done)
{
    WebsiteLauncher *launcher = visibleLauncher();
    if (!launcher) {
        done();
        return;
    }
    // Checked again when it goes (once gone from the list), for another launcher may have been shown meanwhile.
    connect(
        launcher, &WebsiteLauncher::closed, context,
        [this, context, done] { whenNoneVisible(context, done); },
        Qt::SingleShotConnection);
}
