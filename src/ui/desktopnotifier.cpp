#include "ui/desktopnotifier.h"

#include <QDBusConnection>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QGuiApplication>
#include <QStringList>
#include <QSystemTrayIcon>
#include <QTimer>
#include <QVariantMap>

#include "base/settingsstore.h"
#include "ui/windowicon.h"

namespace {

const QString s_service = QStringLiteral("org.freedesktop.Notifications");
const QString s_path = QStringLiteral("/org/freedesktop/Notifications");
const QString s_interface = QStringLiteral("org.freedesktop.Notifications");

QDBusMessage callOf(const QString &method)
{
    return QDBusMessage::createMethodCall(s_service, s_path, s_interface, method);
}

} // namespace

DesktopNotifier::DesktopNotifier(QObject *parent)
    : QObject(parent)
    , m_trayAvailable(&QSystemTrayIcon::isSystemTrayAvailable)
{
    // Any sender: a service started after us has another unique name than one we could look up now.
    QDBusConnection bus = QDBusConnection::sessionBus();
    bus.connect(QString(), s_path, s_interface, QStringLiteral("ActionInvoked"), this,
                SLOT(onActionInvoked(uint, QString)));
    bus.connect(QString(), s_path, s_interface, QStringLiteral("NotificationClosed"), this,
                SLOT(onClosed(uint, uint)));
}

DesktopNotifier::~DesktopNotifier() = default;

void DesktopNotifier::setTrayIcon(QSystemTrayIcon *icon)
{
    if (m_trayIcon == icon) {
        return;
    }
    if (m_trayIcon) {
        disconnect(m_trayIcon, nullptr, this, nullptr);
    }
    m_trayIcon = icon;
    if (icon) {
        connect(icon, &QSystemTrayIcon::messageClicked, this, &DesktopNotifier::activated);
    }
}

void DesktopNotifier::notify(const QString &summary, const QString &body)
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) {
        showInTray(summary, body);
        return;
    }
    // Servers that read markup in the body would take the "&" of an address for the start of an entity.
    auto *watcher = new QDBusPendingCallWatcher(bus.asyncCall(callOf(QStringLiteral("GetCapabilities"))), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, [this, watcher, summary, body] {
        watcher->deleteLater();
        const QDBusPendingReply<QStringList> reply = *watcher;
        if (reply.isError()) {
            showInTray(summary, body);
            return;
        }
        sendToService(summary, body, reply.value().contains(QStringLiteral("body-markup")));
    });
}

void DesktopNotifier::sendToService(const QString &summary, const QString &body, bool markup)
{
    QDBusMessage call = callOf(QStringLiteral("Notify"));
    // The desktop entry's name is also the icon's name in the icon theme.
    const QString entry = QGuiApplication::desktopFileName();
    QVariantMap hints;
    if (!entry.isEmpty()) {
        hints.insert(QStringLiteral("desktop-entry"), entry);
    }
    call << SettingsStore::applicationName() << uint(0) << entry << summary
         << (markup ? body.toHtmlEscaped() : body) << QStringList{QStringLiteral("default"), tr("Show")} << hints
         << int(-1);
    auto *watcher = new QDBusPendingCallWatcher(QDBusConnection::sessionBus().asyncCall(call), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, [this, watcher, summary, body] {
        watcher->deleteLater();
        const QDBusPendingReply<uint> reply = *watcher;
        if (reply.isError()) {
            showInTray(summary, body);
            return;
        }
        m_shown.insert(reply.value());
        emit delivered(Route::Service);
    });
}

void DesktopNotifier::showInTray(const QString &summary, const QString &body)
{
    if (!m_trayAvailable || !m_trayAvailable()) {
        emit delivered(Route::None);
        return;
    }
    QSystemTrayIcon *icon = m_trayIcon;
    if (!icon) {
        // Only for the message: it leaves the tray again once the message has had its time.
        if (!m_ownTrayIcon) {
            m_ownTrayIcon = new QSystemTrayIcon(programIcon(), this);
            m_ownTrayIcon->setToolTip(SettingsStore::applicationName());
            m_ownTrayHide.setSingleShot(true);
            m_ownTrayHide.setInterval(std::chrono::seconds(30));
            connect(&m_ownTrayHide, &QTimer::timeout, m_ownTrayIcon, &QSystemTrayIcon::hide);
            connect(m_ownTrayIcon, &QSystemTrayIcon::messageClicked, this, [this] {
                m_ownTrayIcon->hide();
                emit activated();
            });
            connect(m_ownTrayIcon, &QSystemTrayIcon::activated, this, [this] {
                m_ownTrayIcon->hide();
                emit activated();
            });
        }
        icon = m_ownTrayIcon;
        m_ownTrayHide.start();
    }
    icon->show();
    icon->showMessage(summary, body, QSystemTrayIcon::Information);
    emit delivered(Route::Tray);
}

void DesktopNotifier::onActionInvoked(uint id, const QString &action)
{
    if (m_shown.contains(id) && action == QLatin1String("default")) {
        emit activated();
    }
}

void DesktopNotifier::onClosed(uint id, uint /*reason*/)
{
    m_shown.remove(id);
}
