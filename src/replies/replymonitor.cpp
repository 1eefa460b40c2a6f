// The main window's reply check: walks the own posts with the check probe and lists the pages that grew.
#include "app/mainwindow.h"

#include <QListWidget>
#include <QPushButton>
#include <QTabBar>

#include "base/settingsstore.h"
#include "replies/pagesizeprobe.h"
#include "replies/replycheck.h"

void MainWindow::checkForReplies()
{
    // A second press restarts the run from the first post; the new probe start drops the old exchange.
    newRepliesList->clear();
    checkIndex = 0;
    newReplyCount = 0;
    checkNextPost();
}

void MainWindow::checkNextPost()
{
    // Read at every step, so a threshold saved during a run applies from the next post on.
    replyThreshold = ReplyCheck::thresholdFromSetting(
        m_context.settings->read(QStringLiteral("data"), QStringLiteral("size"), QStringLiteral("500")));
    setPanelText(1, QStringLiteral("checking post ") + QString::number(checkIndex + 1));
    if (checkIndex > postList->count() - 1) {
        setPanelText(1, QStringLiteral("finished - ") + QString::number(newReplyCount)
                            + QStringLiteral(" new replies found"));
        return;
    }
    startCheckProbe(postList->item(checkIndex)->text());
}

void MainWindow::checkMeasured()
{
    const QListWidgetItem *sizeEntry = sizeList->item(checkIndex);
    const std::optional<double> stored = ReplyCheck::storedSize(sizeEntry ? sizeEntry->text() : QString());
    if (ReplyCheck::hasNewReplies(checkProbe->byteCount(), stored, replyThreshold) && checkIndex < postList->count()) {
        newRepliesList->addItem(postList->item(checkIndex)->text());
        ++newReplyCount;
    }
    ++checkIndex;
    checkNextPost();
}

void MainWindow::switchPostView()
{
    const QString caption = postTabs->tabText(postTabs->currentIndex());
    bool showAll;
    if (caption == QLatin1String("Show All")) {
        showAll = true;
    } else if (caption == QLatin1String("New Replies ")) {
        showAll = false;
    } else {
        return;
    }
    unwatchButton->setVisible(showAll);
    watchButton->setVisible(showAll);
    postList->setVisible(showAll);
    checkRepliesButton->setVisible(!showAll);
    newRepliesList->setVisible(!showAll);
}

void MainWindow::showSelectedReply()
{
    if (QListWidgetItem *item = newRepliesList->currentItem()) {
        setPanelText(2, item->text());
    }
}

void MainWindow::openSelectedReply()
{
    QListWidgetItem *item = newRepliesList->currentItem();
    if (!item) {
        return;
    }
    watchCountdown = 4;
    navigate(item->text());
}
