// Reply checks while the program runs: the timer, the desktop notification of new replies and the tray.
#include "app/mainwindow.h"

#include <QPushButton>
#include <QTabBar>
#include <utility>

#include "app/traypresence.h"
#include "base/settingsstore.h"
#include "replies/checkschedule.h"
#include "replies/postspanel.h"
#include "replies/replymonitor.h"
#include "replies/replynotice.h"
#include "replies/replyrun.h"
#include "ui/desktopnotifier.h"

void MainWindow::createReplyWatch()
{
    checkSchedule = new CheckSchedule([this] { return replyMonitor->isChecking(); }, this);
    notifier = new DesktopNotifier(this);
    trayPresence = new TrayPresence(this, *m_context.settings, this);

    connect(checkSchedule, &CheckSchedule::due, this, [this] {
        m_timedRun = true;
        postsPanel->checkForReplies();
    });
    // A press during a timed run restarts it as the user's own run, told as such.
    connect(postsPanel->checkRepliesButton, &QPushButton::clicked, this, [this] { m_timedRun = false; });

    connect(replyMonitor, &ReplyMonitor::checkFinished, this, &MainWindow::replyCheckFinished);
    // Watched again: its next growth is news.
    connect(replyMonitor, &ReplyMonitor::baselineMeasured, this,
        [this](int, const QString &address) { m_toldPosts.forget(address); });
    connect(notifier, &DesktopNotifier::activated, this, &MainWindow::showNewReplies);
    connect(trayPresence, &TrayPresence::showRequested, this, &MainWindow::bringUp);
    // The tray's Exit leaves through the same shut-down as the File menu's.
    connect(trayPresence, &TrayPresence::exitRequested, this, &MainWindow::close);
}

void MainWindow::applyCheckInterval(int minutes)
{
    checkSchedule->setMinutes(minutes);
    trayPresence->setChecksOn(checkSchedule->isOn());
    notifier->setTrayIcon(trayPresence->icon());
}

void MainWindow::replyCheckFinished(int /*newReplyCount*/, int /*notCheckedCount*/, const QStringList &newReplyAddresses)
{
    const bool timed = std::exchange(m_timedRun, false);
    const QStringList tell = m_toldPosts.take(newReplyAddresses, replyMonitor->run()->unreached(), timed);
    if (!ReplyNotice::shouldTell(int(tell.size()), timed, isVisible() && isActiveWindow())) {
        return;
    }
    // The first reply that has words to quote.
    QStringList firstReply;
    for (const QString &address : tell) {
        firstReply = postsPanel->newTextOf(address);
        if (!firstReply.isEmpty()) {
            break;
        }
    }
    const ReplyNotice::Text text = ReplyNotice::forReplies(int(tell.size()), tell, firstReply);
    notifier->notify(text.summary, text.body);
}

void MainWindow::bringUp()
{
    if (isMinimized()) {
        setWindowState(windowState() & ~Qt::WindowMinimized);
    }
    show();
    raise();
    activateWindow();
}

void MainWindow::showNewReplies()
{
    bringUp();
    listTabs->setCurrentIndex(1);
    postsPanel->showView(1);
}
