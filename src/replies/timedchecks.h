#pragma once

#include <QObject>

#include "replies/replynotice.h"

class QWidget;
class CheckSchedule;
class DesktopNotifier;
class PostsPanel;
class ReplyMonitor;
class SettingsStore;
class TrayPresence;

// Reply checks on a timer while the program runs: the schedule, the desktop notification of new replies
// (each post told once), and the tray icon that keeps the program running while checks are on.
class TimedChecks : public QObject
{
    Q_OBJECT

public:
    // window: the main window, whose being in front tells whether a notification is needed.
    TimedChecks(
        QWidget *window, PostsPanel *posts, ReplyMonitor *monitor, SettingsStore &settings, const QString &programName);

    // Checks every so many minutes (0: off) from now on.
    void setInterval(int minutes);
    // The interval kept in the settings.
    void applyStoredInterval();
    // The user closes the main window: true when the program is to go on in the tray instead.
    bool keepRunningOnClose();

signals:
    // The window is to be shown (the tray's icon or menu).
    void showRequested();
    // The window is to be shown on the new replies (a click on a notification).
    void showNewRepliesRequested();
    // The program is to end (the tray's Exit).
    void exitRequested();

private:
    void checkFinished(const QStringList &newReplyAddresses);

    QWidget *m_window;
    PostsPanel *m_posts;
    ReplyMonitor *m_monitor;
    SettingsStore &m_settings;
    CheckSchedule *m_schedule;
    DesktopNotifier *m_notifier;
    TrayPresence *m_tray;
    // The run going now was started by the timer.
    bool m_timedRun = false;
    ReplyNotice::ToldPosts m_toldPosts;
};
