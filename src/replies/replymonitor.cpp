// The main window's reply check: walks the own posts with the check probe and lists the pages that grew.
#include "app/form1.h"

#include <QListWidget>
#include <QPushButton>
#include <QTabBar>

#include "app/settingsstore.h"
#include "replies/pagesizeprobe.h"
#include "replies/replycheck.h"

void Form1::cmdReplies_Click()
{
    // A second press restarts the run from the first post; the new probe start drops the old exchange.
    lstNew->clear();
    checkIndex = 0;
    newReplyCount = 0;
    checkNextPost();
}

void Form1::checkNextPost()
{
    // Read at every step, so a threshold saved during a run applies from the next post on.
    replyThreshold = ReplyCheck::thresholdFromSetting(
        m_context.settings->read(QStringLiteral("data"), QStringLiteral("size"), QStringLiteral("500")));
    setPanelText(1, QStringLiteral("checking post ") + QString::number(checkIndex + 1));
    if (checkIndex > lstPosts->count() - 1) {
        setPanelText(1, QStringLiteral("finished - ") + QString::number(newReplyCount)
                            + QStringLiteral(" new replies found"));
        return;
    }
    startCheckProbe(lstPosts->item(checkIndex)->text());
}

void Form1::wscPosts_Close()
{
    const QListWidgetItem *sizeEntry = lstSizes->item(checkIndex);
    const std::optional<double> stored = ReplyCheck::storedSize(sizeEntry ? sizeEntry->text() : QString());
    if (ReplyCheck::hasNewReplies(wscPosts->byteCount(), stored, replyThreshold) && checkIndex < lstPosts->count()) {
        lstNew->addItem(lstPosts->item(checkIndex)->text());
        ++newReplyCount;
    }
    ++checkIndex;
    checkNextPost();
}

void Form1::TabStrip1_Click()
{
    const QString caption = TabStrip1->tabText(TabStrip1->currentIndex());
    bool showAll;
    if (caption == QLatin1String("Show All")) {
        showAll = true;
    } else if (caption == QLatin1String("New Replies ")) {
        showAll = false;
    } else {
        return;
    }
    cmdDel->setVisible(showAll);
    cmdAdd->setVisible(showAll);
    lstPosts->setVisible(showAll);
    cmdReplies->setVisible(!showAll);
    lstNew->setVisible(!showAll);
}

void Form1::lstNew_Click()
{
    if (QListWidgetItem *item = lstNew->currentItem()) {
        setPanelText(2, item->text());
    }
}

void Form1::lstNew_DblClick()
{
    QListWidgetItem *item = lstNew->currentItem();
    if (!item) {
        return;
    }
    watchCountdown = 4;
    navigate(item->text());
}
