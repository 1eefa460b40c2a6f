#pragma once

// A desktop notification service of the test's own, on a bus connection of its own (so calls to it really
// travel through the bus): it records every Notify call and can say that the user clicked a notification.

#include <QDBusConnection>
#include <QDBusMessage>
#include <QObject>
#include <QStringList>
#include <QVariantMap>

class NotificationServer : public QObject
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.Notifications")

public:
    struct Call
    {
        QString appName;
        QString summary;
        QString body;
        QStringList actions;
    };

    explicit NotificationServer(const QStringList &capabilities = {QStringLiteral("body"), QStringLiteral("actions")})
        : m_capabilities(capabilities)
        , m_bus(QDBusConnection::connectToBus(QDBusConnection::SessionBus, QStringLiteral("notificationServer")))
    {
    }

    ~NotificationServer() override
    {
        stop();
        QDBusConnection::disconnectFromBus(QStringLiteral("notificationServer"));
    }

    // Takes the service's name on the bus; false when the bus or the name is not to be had.
    bool start()
    {
        return m_bus.isConnected()
            && m_bus.registerObject(QStringLiteral("/org/freedesktop/Notifications"), this,
                                    QDBusConnection::ExportAllSlots | QDBusConnection::ExportAllSignals)
            && m_bus.registerService(QStringLiteral("org.freedesktop.Notifications"));
    }

    void stop()
    {
        m_bus.unregisterService(QStringLiteral("org.freedesktop.Notifications"));
        m_bus.unregisterObject(QStringLiteral("/org/freedesktop/Notifications"));
    }

    // The user clicks notification id.
    void click(uint id)
    {
        QDBusMessage signal = QDBusMessage::createSignal(QStringLiteral("/org/freedesktop/Notifications"),
            QStringLiteral("org.freedesktop.Notifications"), QStringLiteral("ActionInvoked"));
        signal << id << QStringLiteral("default");
        m_bus.send(signal);
    }

    QList<Call> calls;

public slots:
    QStringList GetCapabilities() { return m_capabilities; }

    uint Notify(const QString &appName, uint /*replacesId*/, const QString & /*appIcon*/, const QString &summary,
                const QString &body, const QStringList &actions, const QVariantMap & /*hints*/, int /*timeout*/)
    {
        calls.append({appName, summary, body, actions});
        return uint(calls.size());
    }

    void CloseNotification(uint /*id*/) {}

private:
    QStringList m_capabilities;
    QDBusConnection m_bus;
};
