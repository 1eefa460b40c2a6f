#include "ui/traypresence.h"

#include <QMenu>
#include <QMessageBox>
#include <QSystemTrayIcon>
#include <QWidget>

#include "base/settingsstore.h"
#include "ui/windowicon.h"

namespace {
const QString s_section = QStringLiteral("Settings");
}

TrayPresence::TrayPresence(QWidget *window, SettingsStore &settings, const QString &programName, QObject *parent)
    : QObject(parent)
    , m_window(window)
    , m_settings(settings)
    , m_programName(programName)
    , m_trayAvailable(&QSystemTrayIcon::isSystemTrayAvailable)
{
}

TrayPresence::~TrayPresence()
{
    delete m_menu;
}

void TrayPresence::setChecksOn(bool on)
{
    const bool wanted = on && m_trayAvailable && m_trayAvailable();
    if (!wanted) {
        if (m_icon) {
            m_icon->hide();
        }
        return;
    }
    if (!m_icon) {
        const QString name = m_programName.isEmpty() ? SettingsStore::applicationName() : m_programName;
        m_icon = new QSystemTrayIcon(programIcon(), this);
        m_icon->setObjectName(QStringLiteral("trayIcon"));
        m_icon->setToolTip(name);
        m_menu = new QMenu;
        m_menu->setObjectName(QStringLiteral("trayMenu"));
        connect(m_menu->addAction(tr("Show %1").arg(name)), &QAction::triggered, this, &TrayPresence::showRequested);
        connect(m_menu->addAction(tr("E&xit")), &QAction::triggered, this, &TrayPresence::exitRequested);
        m_icon->setContextMenu(m_menu);
        connect(m_icon, &QSystemTrayIcon::activated, this, [this](QSystemTrayIcon::ActivationReason reason) {
            if (reason == QSystemTrayIcon::Trigger || reason == QSystemTrayIcon::DoubleClick) {
                emit showRequested();
            }
        });
    }
    m_icon->show();
}

QSystemTrayIcon *TrayPresence::icon() const
{
    return m_icon && m_icon->isVisible() ? m_icon : nullptr;
}

bool TrayPresence::keepRunningOnClose()
{
    if (!icon()) {
        return false;
    }
    const QString answer = m_settings.read(s_section, settingKey(), QString());
    if (answer == QLatin1String("1") || answer == QLatin1String("0")) {
        return answer == QLatin1String("1");
    }
    QMessageBox box(QMessageBox::Question, m_programName,
                    tr("Keep Postavo running in the system tray?\n\nIt goes on checking your posts for replies and "
                       "tells you when someone answers. Its tray icon brings the window back; Exit in the icon's "
                       "menu ends it.\n\nPostavo asks this once."),
                    QMessageBox::Yes | QMessageBox::No, m_window);
    box.setObjectName(QStringLiteral("keepInTrayQuestion"));
    box.setDefaultButton(QMessageBox::Yes);
    const bool keep = box.exec() == QMessageBox::Yes;
    m_settings.write(s_section, settingKey(), keep ? QStringLiteral("1") : QStringLiteral("0"));
    return keep;
}
