#include "replies/timedchecks.h"

#include <QWidget>
#include <utility>

#include "base/settingsstore.h"
#include "replies/checkschedule.h"
#include "replies/checksettings.h"
#include "replies/postspanel.h"
#include "replies/replymonitor.h"
#include "replies/replyrun.h"
#include "ui/desktopnotifier.h"
#include "ui/traypresence.h"

TimedChecks::TimedChecks(
    QWidget *window, PostsPanel *posts, ReplyMonitor *monitor, SettingsStore &settings, const QString &programName)
    : QObject(window)
    , m_window(window)
    , m_posts(posts)
    , m_monitor(monitor)
    , m_settings(settings)
    , m_schedule(new CheckSchedule([monitor] { return monitor->isChecking(); }, this))
    , m_notifier(new DesktopNotifier(this))
    , m_tray(new TrayPresence(window, settings, programName, this))
{
    connect(m_schedule, &CheckSchedule::due, this, [this] {
        m_timedRun = true;
        m_posts->checkForReplies();
    });
    // A press during a timed run restarts it as the user's own run, told as such.
    connect(m_posts, &PostsPanel::checkRequested, this, [this] { m_timedRun = false; });
    connect(monitor, &ReplyMonitor::checkFinished, this,
        [this](int, int, const QStringList &addresses) { checkFinished(addresses); });
    // Watched again: its next growth is news.
    connect(monitor, &ReplyMonitor::baselineMeasured, this,
        [this](int, const QString &address) { m_toldPosts.forget(address); });
    connect(m_notifier, &DesktopNotifier::activated, this, &TimedChecks::showNewRepliesRequested);
    connect(m_tray, &TrayPresence::showRequested, this, &TimedChecks::showRequested);
    connect(m_tray, &TrayPresence::exitRequested, this, &TimedChecks::exitRequested);
}

void TimedChecks::setInterval(int minutes)
{
    m_schedule->setMinutes(minutes);
    m_tray->setChecksOn(m_schedule->isOn());
    m_notifier->setTrayIcon(m_tray->icon());
}

void TimedChecks::applyStoredInterval()
{
    setInterval(CheckSettings::checkEvery(m_settings));
}

bool TimedChecks::keepRunningOnClose()
{
    return m_tray->keepRunningOnClose();
}

void TimedChecks::checkFinished(const QStringList &newReplyAddresses)
{
    const bool timed = std::exchange(m_timedRun, false);
    const QStringList tell = m_toldPosts.take(newReplyAddresses, m_monitor->run()->unreached(), timed);
    if (!ReplyNotice::shouldTell(int(tell.size()), timed, m_window->isVisible() && m_window->isActiveWindow())) {
        return;
    }
    const ReplyNotice::Text text
        = ReplyNotice::forPosts(tell, [this](const QString &address) { return m_posts->newTextOf(address); });
    m_notifier->notify(text.summary, text.body);
}
