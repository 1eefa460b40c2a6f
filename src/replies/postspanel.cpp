// The own posts, their watch and the reply check's view.
#include "replies/postspanel.h"

#include <QFont>
#include <QListWidget>
#include <QMessageBox>
#include <QPixmap>
#include <QPushButton>
#include <QSignalBlocker>
#include <QStyle>
#include <QTabBar>
#include <cstdlib>

#include "forums/listfiles.h"
#include "forums/ownposts.h"
#include "replies/postaddress.h"
#include "replies/postoutcome.h"
#include "replies/replymonitor.h"
#include "replies/replytexts.h"
#include "ui/listentries.h"
#include "ui/placement.h"

using namespace Placement;

namespace {
// Characters of a post's new text shown under its address.
constexpr qsizetype s_excerptLength = 300;
constexpr int s_addressRole = Qt::UserRole;
} // namespace

PostsPanel::PostsPanel(OwnPosts &posts, ReplyMonitor *monitor, std::function<QString()> currentAddress,
                       QWidget *parent)
    : QGroupBox(QString(), parent)
    , m_posts(posts)
    , m_monitor(monitor)
    , m_currentAddress(std::move(currentAddress))
{
    setObjectName(QStringLiteral("postsFrame"));
    watchButton = place(new QPushButton(tr("Watch This Post"), this), "watchButton", 60, 180, 1695, 375);
    unwatchButton = place(new QPushButton(tr("Remove Watch"), this), "unwatchButton", 1800, 180, 1695, 375);
    checkRepliesButton = place(new QPushButton(tr("Check for replies"), this), "checkRepliesButton", 60, 180, 3435, 375);
    postTabs = place(new QTabBar(this), "postTabs", 60, 900, 3435, 420);
    postTabs->addTab(tr("Show All"));
    postTabs->addTab(tr("New Replies "));
    postList = place(new QListWidget(this), "postList", 60, 1320, 3435, 1620);
    // Room for the small mark a reply check puts beside a post.
    const int markSize = style()->pixelMetric(QStyle::PM_SmallIconSize, nullptr, postList);
    postList->setIconSize(QSize(markSize, markSize));
    m_failedMark = style()->standardIcon(QStyle::SP_MessageBoxWarning, nullptr, postList);
    m_baselineMark = style()->standardIcon(QStyle::SP_MessageBoxInformation, nullptr, postList);
    // Blank, so the addresses of a checked list line up whatever their outcome.
    QPixmap blank(postList->iconSize());
    blank.fill(Qt::transparent);
    m_blankMark = QIcon(blank);
    newRepliesList = place(new QListWidget(this), "newRepliesList", 60, 1320, 3435, 1230);
    newRepliesList->hide();
    // Entries of two lines and more: the address, then what the replies say.
    newRepliesList->setWordWrap(true);
    newRepliesList->setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
    newRepliesList->setTextElideMode(Qt::ElideNone);
    newRepliesList->setAlternatingRowColors(true);
    newRepliesList->setSpacing(2);
    checkRepliesButton->hide();
    postList->setAccessibleName(tr("Your posts"));
    newRepliesList->setAccessibleName(tr("New replies"));
    // The tabs sit directly on top of the lists they switch.
    const int tabHeight = postTabs->sizeHint().height();
    postTabs->setGeometry(postTabs->x(), postList->y() - tabHeight, postTabs->width(), tabHeight);

    connect(watchButton, &QPushButton::clicked, this, &PostsPanel::watchCurrentPage);
    connect(unwatchButton, &QPushButton::clicked, this, &PostsPanel::unwatchSelectedPost);
    connect(checkRepliesButton, &QPushButton::clicked, this, &PostsPanel::checkForReplies);
    connect(postTabs, &QTabBar::currentChanged, this, &PostsPanel::switchPostView);
    connect(postList, &QListWidget::itemClicked, this, &PostsPanel::showSelectedPost);
    connect(postList, &QListWidget::currentRowChanged, this, &PostsPanel::showSelectedPost);
    ListEntries::followSelection(postList);
    const auto openSelectedPost = [this] {
        if (postList->currentRow() >= 0) {
            emit openPost(m_posts.address(postList->currentRow()));
        }
    };
    connect(postList, &QListWidget::itemDoubleClicked, this, openSelectedPost);
    ListEntries::openOnReturn(postList, openSelectedPost);
    connect(newRepliesList, &QListWidget::itemClicked, this, &PostsPanel::showSelectedReply);
    connect(newRepliesList, &QListWidget::currentRowChanged, this, &PostsPanel::showSelectedReply);
    ListEntries::followSelection(newRepliesList);
    connect(newRepliesList, &QListWidget::currentItemChanged, this, &PostsPanel::expandCurrentReply);
    const auto openSelectedReply = [this] {
        if (QListWidgetItem *item = newRepliesList->currentItem()) {
            emit openPost(item->data(s_addressRole).toString());
        }
    };
    connect(newRepliesList, &QListWidget::itemDoubleClicked, this, openSelectedReply);
    ListEntries::openOnReturn(newRepliesList, openSelectedReply);

    connect(m_monitor, &ReplyMonitor::baselineMeasured, this, &PostsPanel::baselineMeasured);
    connect(m_monitor, &ReplyMonitor::postChecked, this, &PostsPanel::postChecked);
    // Answers come in any order; the list keeps the order of the own posts.
    connect(m_monitor, &ReplyMonitor::newReplyFound, this, &PostsPanel::addNewReply);
    connect(m_monitor, &ReplyMonitor::checkFinished, this, &PostsPanel::checkFinished);
    connect(m_monitor, &ReplyMonitor::statusText, this, &PostsPanel::statusText);
    connect(m_monitor, &ReplyMonitor::probeFailed, this, &PostsPanel::showProbeError);
}

void PostsPanel::showPosts()
{
    postList->clear();
    postList->addItems(m_posts.addresses());
}

void PostsPanel::fitContents()
{
    setTwHeight(postList, std::abs(twHeight(this) - twTop(postList) - 100));
    setTwHeight(newRepliesList, twHeight(postList));
}

int PostsPanel::listTop() const
{
    return twTop(postList);
}

bool PostsPanel::isChecking() const
{
    return m_monitor->isChecking();
}

QString PostsPanel::outcomeText(int row) const
{
    const QListWidgetItem *item = postList->item(row);
    return item != nullptr ? item->toolTip() : QString();
}

void PostsPanel::watchCurrentPage()
{
    watchPage(m_currentAddress());
}

void PostsPanel::watchPage(const QString &address)
{
    const int watched = m_posts.indexOf(address);
    if (watched >= 0) {
        // Measure the existing entry again; its stored size is replaced in place.
        m_monitor->measureBaseline(address, watched);
        return;
    }
    // "posts.txt" cannot hold an empty address: it would vanish at the next start and every later post would
    // take its neighbour's stored size.
    if (ListFiles::isSkippedLine(address)) {
        emit statusText(2, tr("There is no page to watch"));
        return;
    }
    if (m_posts.isFull()) {
        emit statusText(2, tr("Your posts list is full"));
        return;
    }
    // The entry is made at once, marked as not measured yet; a measurement that fails leaves it so.
    m_posts.add(address);
    postList->addItem(address);
    emit postsChanged();
    m_monitor->measureBaseline(address, m_posts.count() - 1);
}

void PostsPanel::unwatchSelectedPost()
{
    const int index = postList->currentRow();
    if (index < 0) {
        return;
    }
    // The page's kept text goes with the post.
    m_monitor->forgetPost(m_posts.address(index));
    m_posts.remove(index);
    // Taken out without the list moving the selection to a neighbour.
    const QSignalBlocker blocker(postList);
    delete postList->takeItem(index);
    postList->setCurrentRow(-1);
    postList->clearSelection();
    emit postsChanged();
}

void PostsPanel::checkForReplies()
{
    newRepliesList->clear();
    m_newTexts.clear();
    for (int row = 0; row < postList->count(); ++row) {
        showOutcome(postList->item(row), nullptr);
    }
    QList<ReplyMonitor::Post> posts;
    posts.reserve(m_posts.count());
    for (int i = 0; i < m_posts.count(); ++i) {
        posts.append({m_posts.address(i), m_posts.storedSize(i)});
    }
    m_monitor->startCheck(posts);
}

void PostsPanel::showView(int tab)
{
    postTabs->setCurrentIndex(tab);
}

void PostsPanel::switchPostView()
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

void PostsPanel::showSelectedPost()
{
    const int index = postList->currentRow();
    if (index >= 0) {
        emit statusText(2, m_posts.address(index));
        // The outcome of the last check, for those who cannot hover over the post for its tooltip.
        const QString outcome = outcomeText(index);
        if (!outcome.isEmpty()) {
            emit statusText(3, outcome);
        }
    }
}

void PostsPanel::showSelectedReply()
{
    if (QListWidgetItem *item = newRepliesList->currentItem()) {
        emit statusText(2, item->data(s_addressRole).toString());
    }
}

QStringList PostsPanel::newTextOf(const QString &address) const
{
    return m_newTexts.value(PostAddress::identity(address));
}

void PostsPanel::addNewReply(int position, const QString &address)
{
    auto *item = new QListWidgetItem;
    item->setData(s_addressRole, address);
    const QStringList newText = newTextOf(address);
    if (!newText.isEmpty()) {
        // Hovering shows all that was added, as selecting does; plain text, wrapped.
        item->setToolTip(QStringLiteral("<p style='white-space:pre-wrap'>")
                         + newText.join(QStringLiteral("\n\n")).toHtmlEscaped() + QStringLiteral("</p>"));
        item->setData(Qt::AccessibleDescriptionRole, newText.join(QStringLiteral("\n\n")));
    }
    showReplyText(item, false);
    newRepliesList->insertItem(position, item);
}

void PostsPanel::showReplyText(QListWidgetItem *item, bool whole) const
{
    const QString address = item->data(s_addressRole).toString();
    const QStringList newText = newTextOf(address);
    const QString shown = whole ? newText.join(QStringLiteral("\n\n")) : ReplyTexts::excerpt(newText, s_excerptLength);
    item->setText(shown.isEmpty() ? address : address + u'\n' + shown);
    // Read as shown: the address, then the reply's words.
    item->setData(Qt::AccessibleTextRole, shown.isEmpty() ? address : address + QStringLiteral(": ") + shown);
}

void PostsPanel::expandCurrentReply(QListWidgetItem *current, QListWidgetItem *previous)
{
    if (previous != nullptr) {
        showReplyText(previous, false);
    }
    if (current != nullptr) {
        showReplyText(current, true);
    }
}

void PostsPanel::baselineMeasured(int index, const QString &address, qint32 size)
{
    // The own posts may have changed while the page was measured: the size goes to the entry that still holds
    // the measured address, and nowhere when that post was removed.
    const int stored = m_posts.storeSize(index, address, QString::number(size));
    if (stored >= 0) {
        emit postsChanged();
    }
    // A mark from an earlier check no longer tells the truth.
    showOutcome(postList->item(stored), nullptr);
}

void PostsPanel::postChecked(int index, const QString &address, const PostResult &result)
{
    if (result.outcome == PostOutcome::Baseline
        && m_posts.storeSize(index, address, QString::number(result.newSize)) >= 0) {
        emit postsChanged();
    }
    if (!result.newText.isEmpty()) {
        m_newTexts.insert(PostAddress::identity(address), result.newText);
    }
    showOutcome(postItem(index, address), &result);
}

QListWidgetItem *PostsPanel::postItem(int index, const QString &address) const
{
    if (m_posts.address(index) != address) {
        index = m_posts.addresses().indexOf(address);
    }
    return index >= 0 ? postList->item(index) : nullptr;
}

void PostsPanel::showOutcome(QListWidgetItem *item, const PostResult *result) const
{
    if (item == nullptr) {
        return;
    }
    const QString text = result != nullptr ? result->text() : QString();
    item->setToolTip(text);
    item->setData(Qt::AccessibleDescriptionRole, text);
    QFont font = postList->font();
    font.setBold(result != nullptr && result->outcome == PostOutcome::NewReplies);
    item->setFont(font);
    if (result == nullptr) {
        item->setIcon(QIcon());
    } else if (!result->wasChecked()) {
        item->setIcon(m_failedMark);
    } else {
        item->setIcon(result->outcome == PostOutcome::Baseline ? m_baselineMark : m_blankMark);
    }
}

void PostsPanel::showProbeError(const QString &text)
{
    QMessageBox box(QMessageBox::Warning, QStringLiteral("Error"), text, QMessageBox::Ok, window());
    box.exec();
}
