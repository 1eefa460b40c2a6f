#pragma once

#include <QObject>
#include <QPointer>
#include <QSet>
#include <QString>
#include <QTimer>
#include <functional>

class QSystemTrayIcon;

// Tells the desktop something happened: through the notification service on the session bus, or, where no
// service answers, as a message of a tray icon when a tray exists. A click on either asks for the program.
class DesktopNotifier : public QObject
{
    Q_OBJECT

public:
    enum class Route { Service, Tray, None };
    Q_ENUM(Route)

    explicit DesktopNotifier(QObject *parent = nullptr);
    ~DesktopNotifier() override;

    // The icon that shows the message when no service answers; without one, an icon of the notifier's own
    // is shown for it.
    void setTrayIcon(QSystemTrayIcon *icon);
    // Whether a tray exists (QSystemTrayIcon::isSystemTrayAvailable unless a test says otherwise).
    void setTrayAvailable(std::function<bool()> available) { m_trayAvailable = std::move(available); }

    // Asynchronous: delivered() follows with the way it went.
    void notify(const QString &summary, const QString &body);

signals:
    void delivered(DesktopNotifier::Route route);
    // The user clicked the notification.
    void activated();

private slots:
    // The bus connects signals to slots by name only.
    void onActionInvoked(uint id, const QString &action);
    void onClosed(uint id, uint reason);

private:
    void sendToService(const QString &summary, const QString &body, bool markup);
    void showInTray(const QString &summary, const QString &body);

    std::function<bool()> m_trayAvailable;
    QPointer<QSystemTrayIcon> m_trayIcon;
    QSystemTrayIcon *m_ownTrayIcon = nullptr;
    QTimer m_ownTrayHide;
    // Notifications shown by the service and not closed yet.
    QSet<uint> m_shown;
};
