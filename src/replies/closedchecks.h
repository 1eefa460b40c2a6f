#pragma once

#include <QString>
#include <QStringList>

// Reply checks while Postavo is closed: a per-user systemd timer that runs "postavo --check --quiet" as often as
// the timed checks, its two unit files in the user's unit folder, enabled and started with systemctl --user.
class ClosedChecks
{
public:
    // command: the program and its options as the timer is to run it; systemctl: the program that tells the
    // user's service manager.
    ClosedChecks(const QString &unitFolder, const QStringList &command,
        const QString &systemctl = QStringLiteral("systemctl"));

    // ~/.config/systemd/user
    static QString defaultUnitFolder();
    static QString timerName() { return QStringLiteral("postavo-check.timer"); }
    static QString serviceName() { return QStringLiteral("postavo-check.service"); }

    QString serviceUnit() const;
    QString timerUnit(int minutes) const;

    // Whether this session has a user service manager that can keep a timer.
    bool isAvailable() const;
    bool isInstalled() const;
    // Writes the units for checks every so many minutes and starts the timer; on failure *error says why and
    // nothing is left behind.
    bool install(int minutes, QString *error);
    // Stops the timer and removes its units.
    bool remove(QString *error);

private:
    bool systemctl(const QStringList &arguments, QString *error) const;

    QString m_unitFolder;
    QStringList m_command;
    QString m_systemctl;
};
