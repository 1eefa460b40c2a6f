#include "ui/frmwebsite.h"

#include <QDesktopServices>
#include <QPointer>
#include <QTimer>

#include "app/branding.h"
#include "ui/sitekey.h"

namespace {

QList<QPointer<frmWebsite>> &launchers()
{
    static QList<QPointer<frmWebsite>> s_launchers;
    return s_launchers;
}

} // namespace

frmWebsite::frmWebsite(QWidget *parent)
    : QWidget(parent, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowDoesNotAcceptFocus)
    , Timer1(new QTimer(this))
{
    setObjectName(QStringLiteral("frmWebsite"));
    // The launcher has nothing to show; on screen it is a speck that takes no focus from the user's windows.
    setAttribute(Qt::WA_ShowWithoutActivating);
    setAttribute(Qt::WA_TranslucentBackground);
    setWindowOpacity(0.0);
    setFixedSize(1, 1);

    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(1000);
    Timer1->setSingleShot(true);
    connect(Timer1, &QTimer::timeout, this, &frmWebsite::Timer1_Timer);
    Timer1->start();

    launchers().removeIf([](const QPointer<frmWebsite> &launcher) { return launcher.isNull(); });
    launchers().append(this);
    Form_Load();
}

frmWebsite::~frmWebsite()
{
    // Gone from the list first, so whoever waits on closed() sees this launcher no longer.
    launchers().removeAll(this);
    emit closed();
}

frmWebsite::Opener &frmWebsite::opener()
{
    static Opener s_opener = [](const QUrl &url) { QDesktopServices::openUrl(url); };
    return s_opener;
}

frmWebsite *frmWebsite::visibleLauncher()
{
    for (const QPointer<frmWebsite> &launcher : std::as_const(launchers())) {
        if (launcher && launcher->isVisible()) {
            return launcher;
        }
    }
    return nullptr;
}

void frmWebsite::whenNoneVisible(QObject *context, const std::function<void()> &done)
{
    frmWebsite *launcher = visibleLauncher();
    if (!launcher) {
        done();
        return;
    }
    // Checked again when it goes, for another launcher may have been shown meanwhile.
    connect(
        launcher, &frmWebsite::closed, context, [context, done] { whenNoneVisible(context, done); },
        Qt::SingleShotConnection);
}

void frmWebsite::Form_Load()
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

void frmWebsite::Timer1_Timer()
{
    hide();
    deleteLater();
}

frmWebsite *launchWebsite(bool show)
{
    siteKey() = websiteSiteKey;
    auto *launcher = new frmWebsite;
    if (show) {
        launcher->show();
    }
    return launcher;
}
