#pragma once

#include <QObject>
#include <functional>

class QMenu;
class QSystemTrayIcon;
class QWidget;
class SettingsStore;

// Keeps the program in the system tray while checks on a timer are on: the tray icon with its menu, and the
// question, asked once and remembered, whether closing the main window leaves the program running there.
class TrayPresence : public QObject
{
    Q_OBJECT

public:
    // Where the answer is kept: section "Settings", key "keepInTray", "1" or "0"; absent until asked.
    static QString settingKey() { return QStringLiteral("keepInTray"); }

    // programName: what the icon and the question call the program.
    TrayPresence(QWidget *window, SettingsStore &settings, const QString &programName, QObject *parent = nullptr);
    ~TrayPresence() override;

    // Whether a tray exists (QSystemTrayIcon::isSystemTrayAvailable unless a test says otherwise).
    void setTrayAvailable(std::function<bool()> available) { m_trayAvailable = std::move(available); }
    // Shows the icon while timer checks are on and a tray exists, removes it otherwise.
    void setChecksOn(bool on);
    // The icon while it is shown, else null.
    QSystemTrayIcon *icon() const;

    // The user closes the main window: true when the program is to go on in the tray instead of ending.
    bool keepRunningOnClose();

signals:
    void showRequested();
    void exitRequested();

private:
    QWidget *m_window;
    SettingsStore &m_settings;
    QString m_programName;
    std::function<bool()> m_trayAvailable;
    QSystemTrayIcon *m_icon = nullptr;
    QMenu *m_menu = nullptr;
};
