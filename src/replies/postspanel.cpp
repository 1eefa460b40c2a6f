// The own posts, their watch and the reply check's view.
#include "replies/postspanel.h"

#include <QBoxLayout>
#include <QFont>
#include <QIdentityProxyModel>
#include <QListView>
#include <QMessageBox>
#include <QPixmap>
#include <QPushButton>
#include <QSortFilterProxyModel>
#include <QStackedWidget>
#include <QStyle>
#include <QStyledItemDelegate>
#include <QTabBar>
#include <QTextBrowser>
#include <QTimer>

#include "forums/listfiles.h"
#include "forums/ownposts.h"
#include "pagetext/pagelikeness.h"
#include "probe/probetimeouts.h"
#include "replies/checksettings.h"
#include "replies/replymonitor.h"
#include "replies/replytexts.h"
#include "ui/listbox.h"
#include "ui/listentries.h"
#include "ui/named.h"

namespace {

// The own posts as the list shows them: bold when a check found new replies, and a small mark beside a post
// the check could not measure, one it measured for the first time, and any other it checked.
class MarkedPosts : public QIdentityProxyModel
{
public:
    MarkedPosts(OwnPosts *posts, QListView *view)
        : QIdentityProxyModel(view)
    {
        setSourceModel(posts);
        QStyle *style = view->style();
        m_notChecked = style->standardIcon(QStyle::SP_MessageBoxWarning, nullptr, view);
        m_baseline = style->standardIcon(QStyle::SP_MessageBoxInformation, nullptr, view);
        // Blank, so the addresses of a checked list line up whatever their outcome.
        QPixmap blank(view->iconSize());
        blank.fill(Qt::transparent);
        m_checked = QIcon(blank);
        m_bold = view->font();
        m_bold.setBold(true);
    }

    QVariant data(const QModelIndex &index, int role) const override
    {
        if (role == Qt::FontRole) {
            return index.data(OwnPosts::HasNewRepliesRole).toBool() ? QVariant(m_bold) : QVariant();
        }
        if (role == Qt::DecorationRole) {
            switch (index.data(OwnPosts::MarkRole).value<OwnPosts::Mark>()) {
            case OwnPosts::Mark::NotChecked:
                return m_notChecked;
            case OwnPosts::Mark::Baseline:
                return m_baseline;
            case OwnPosts::Mark::Checked:
                return m_checked;
            case OwnPosts::Mark::None:
                return {};
            }
        }
        return QIdentityProxyModel::data(index, role);
    }

private:
    QIcon m_notChecked;
    QIcon m_baseline;
    QIcon m_checked;
    QFont m_bold;
};

// How long a watch waits for the browser's text of the page it measures.
constexpr int s_shownTextWaitMs = 3000;

// Characters of a post's new text shown under its address in the list; the reading pane has all of it.
constexpr qsizetype s_excerptLength = 120;

// The own posts in which the last check found new replies, in the order of the own posts: each address with the
// beginning of what the replies say on a line under it; all of it on hover and for assistive tools.
class NewReplies : public QSortFilterProxyModel
{
public:
    NewReplies(OwnPosts *posts, QObject *parent)
        : QSortFilterProxyModel(parent)
    {
        setSourceModel(posts);
        // Filtered again whenever a check changes this role.
        setFilterRole(OwnPosts::HasNewRepliesRole);
    }

    static constexpr int AddressRole = Qt::UserRole;

    QVariant data(const QModelIndex &index, int role) const override
    {
        if (role == OwnPosts::OpenAddressRole || role == OwnPosts::NewTextRole) {
            return QSortFilterProxyModel::data(index, role);
        }
        const QString address = QSortFilterProxyModel::data(index, Qt::DisplayRole).toString();
        const QStringList newText = QSortFilterProxyModel::data(index, OwnPosts::NewTextRole).toStringList();
        const QString whole = newText.join(QStringLiteral("\n\n"));
        const QString excerpt = ReplyTexts::excerpt(newText, s_excerptLength).simplified();
        switch (role) {
        case AddressRole:
            return address;
        case Qt::DisplayRole:
            return excerpt.isEmpty() ? address : address + u'\n' + excerpt;
        case Qt::AccessibleTextRole:
            return excerpt.isEmpty() ? address : address + QStringLiteral(": ") + excerpt;
        case Qt::ToolTipRole:
            // Plain text, wrapped as it was written.
            return whole.isEmpty() ? QVariant()
                                   : QVariant(QStringLiteral("<p style='white-space:pre-wrap'>") + whole.toHtmlEscaped()
                                       + QStringLiteral("</p>"));
        case Qt::AccessibleDescriptionRole:
            return whole.isEmpty() ? QVariant() : QVariant(whole);
        default:
            return {};
        }
    }

protected:
    bool filterAcceptsRow(int row, const QModelIndex &parent) const override
    {
        return sourceModel()->index(row, 0, parent).data(OwnPosts::HasNewRepliesRole).toBool();
    }
};

// What the replies to a post say, as the reading pane shows it: the post's address as a link, then each run of
// new text as a paragraph that keeps its line breaks. Everything from the page is escaped.
QString readingText(const QString &address, const QStringList &newText)
{
    QString html = QStringLiteral("<p><a href=\"%1\">%2</a></p>")
                       .arg(address.toHtmlEscaped(), address.toHtmlEscaped());
    for (const QString &run : newText) {
        html += QStringLiteral("<p style='white-space:pre-wrap'>") + run.toHtmlEscaped() + QStringLiteral("</p>");
    }
    return html;
}

// Entries as wide as the list, so that a long line ends in "..." instead of bringing a horizontal scroll bar.
class ListWideEntries : public QStyledItemDelegate
{
public:
    explicit ListWideEntries(QListView *view)
        : QStyledItemDelegate(view)
        , m_view(view)
    { }

    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        return { qMax(1, m_view->viewport()->width()), QStyledItemDelegate::sizeHint(option, index).height() };
    }

private:
    QListView *m_view;
};

} // namespace

PostsPanel::PostsPanel(OwnPosts &posts, const Checks &checks, ShownPage shownPage, QWidget *parent)
    : QGroupBox(QString(), parent)
    , m_posts(posts)
    , m_shownPage(std::move(shownPage))
{
    SettingsStore &settings = checks.settings;
    m_monitor = new ReplyMonitor([&settings] { return CheckSettings::threshold(settings); }, checks.port, this);
    m_monitor->setTimeoutSource([&settings] { return ProbeTimeouts::fromSettings(settings); });
    m_monitor->setIdentity(checks.identity);
    setObjectName(QStringLiteral("postsFrame"));
    m_watchButton = named(new QPushButton(tr("Watch This Post"), this), "watchButton");
    m_unwatchButton = named(new QPushButton(tr("Remove Watch"), this), "unwatchButton");
    m_checkRepliesButton
        = named(new QPushButton(tr("Check for replies"), this), "checkRepliesButton");
    m_postTabs = named(new QTabBar(this), "postTabs");
    m_postTabs->addTab(tr("Show All"));
    m_postTabs->addTab(tr("New Replies "));
    // Every tab shows its whole caption, in any language.
    m_postTabs->setUsesScrollButtons(false);
    m_postTabs->setElideMode(Qt::ElideNone);
    m_postList = named(new ListBox(this), "postList");
    // Room for the small mark a reply check puts beside a post.
    const int markSize = style()->pixelMetric(QStyle::PM_SmallIconSize, nullptr, m_postList);
    m_postList->setIconSize(QSize(markSize, markSize));
    m_postList->setModel(new MarkedPosts(&m_posts, m_postList));
    m_newRepliesList = named(new ListBox(this), "newRepliesList");
    m_newReplies = new NewReplies(&m_posts, m_newRepliesList);
    m_newRepliesList->setModel(m_newReplies);
    // Entries of two lines: the address, then the beginning of what the replies say.
    m_newRepliesList->setTextElideMode(Qt::ElideRight);
    m_newRepliesList->setItemDelegate(new ListWideEntries(m_newRepliesList));
    m_newRepliesList->setResizeMode(QListView::Adjust);
    m_newRepliesList->setAlternatingRowColors(true);
    m_replyReader = named(new QTextBrowser(this), "replyReader");
    m_replyReader->setOpenLinks(false);
    m_replyReader->setTextInteractionFlags(Qt::TextBrowserInteraction | Qt::TextSelectableByKeyboard);
    m_replyReader->setPlaceholderText(tr("Choose a post above to read what its replies say."));
    m_replyReader->setAccessibleName(tr("What the replies say"));
    m_postList->setAccessibleName(tr("Your posts"));
    m_newRepliesList->setAccessibleName(tr("New replies"));

    // One view at a time, each in stacks as wide as the widest of them, so that no view is ever squeezed.
    auto *watchRow = new QWidget;
    auto *watchLayout = new QHBoxLayout(watchRow);
    watchLayout->setContentsMargins(0, 0, 0, 0);
    watchLayout->addWidget(m_watchButton);
    watchLayout->addWidget(m_unwatchButton);
    m_buttonStack = new QStackedWidget;
    m_buttonStack->addWidget(watchRow);
    m_buttonStack->addWidget(m_checkRepliesButton);
    auto *replies = new QWidget;
    auto *repliesLayout = new QVBoxLayout(replies);
    repliesLayout->setContentsMargins(0, 0, 0, 0);
    repliesLayout->addWidget(m_newRepliesList, 1);
    repliesLayout->addWidget(m_replyReader, 2);
    m_listStack = new QStackedWidget;
    m_listStack->addWidget(m_postList);
    m_listStack->addWidget(replies);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_buttonStack);
    layout->addWidget(m_postTabs);
    layout->addWidget(m_listStack, 1);

    connect(m_watchButton, &QPushButton::clicked, this, &PostsPanel::watchCurrentPage);
    connect(m_unwatchButton, &QPushButton::clicked, this, &PostsPanel::unwatchSelectedPost);
    connect(m_checkRepliesButton, &QPushButton::clicked, this, &PostsPanel::requestCheck);
    connect(m_postTabs, &QTabBar::currentChanged, this, &PostsPanel::switchPostView);
    for (QListView *list : { m_postList, m_newRepliesList }) {
        const auto showSelected = list == m_postList ? &PostsPanel::showSelectedPost : &PostsPanel::showSelectedReply;
        connect(list, &QListView::clicked, this, showSelected);
        connect(list->selectionModel(), &QItemSelectionModel::currentRowChanged, this, showSelected);
        ListEntries::followSelection(list);
        const auto openSelected = [this, list] {
            const QModelIndex current = list->currentIndex();
            if (!current.isValid()) {
                return;
            }
            const QString post = current.data(list == m_postList ? int(Qt::DisplayRole) : NewReplies::AddressRole)
                                     .toString();
            const QString page = current.data(OwnPosts::OpenAddressRole).toString();
            emit openPost(page);
            // The post's own page is measured again once the browser shows it; a page after it is not the post's,
            // so the post is measured again now: what the user reads there is no longer new.
            if (page != post) {
                watchPage(post);
            }
        };
        connect(list, &QListView::doubleClicked, this, openSelected);
        ListEntries::openOnReturn(list, openSelected);
        if (list == m_newRepliesList) {
            connect(m_replyReader, &QTextBrowser::anchorClicked, this, openSelected);
        }
    }
    // A check that changes the list changes what the pane shows.
    connect(m_newReplies, &QAbstractItemModel::modelReset, this, &PostsPanel::showReplies);
    connect(m_newReplies, &QAbstractItemModel::layoutChanged, this, &PostsPanel::showReplies);
    connect(m_newReplies, &QAbstractItemModel::rowsRemoved, this, &PostsPanel::showReplies);
    connect(m_newReplies, &QAbstractItemModel::dataChanged, this, &PostsPanel::showReplies);

    connect(m_monitor, &ReplyMonitor::baselineMeasured, this, &PostsPanel::storeWatchedSize);
    connect(m_monitor, &ReplyMonitor::postChecked, &m_posts, &OwnPosts::storeOutcome);
    connect(m_monitor, &ReplyMonitor::postChecked, this, [this](int, const QString &, const PostResult &result) {
        m_remeasured += result.outcome == PostOutcome::Remeasured ? 1 : 0;
    });
    connect(m_monitor, &ReplyMonitor::checkFinished, this, [this] {
        // Said once: from now on those posts are measured as the browser sees them.
        if (m_remeasured > 0) {
            emit statusText(2, tr("Measured again as your browser sees them: %n posts", nullptr, m_remeasured));
        }
    });
    connect(m_monitor, &ReplyMonitor::checkFinished, this, &PostsPanel::checkFinished);
    connect(m_monitor, &ReplyMonitor::statusText, this, &PostsPanel::statusText);
    connect(m_monitor, &ReplyMonitor::probeFailed, this, &PostsPanel::showProbeError);
}

bool PostsPanel::isChecking() const
{
    return m_monitor->isChecking();
}

QList<QWidget *> PostsPanel::tabOrder() const
{
    return { m_watchButton, m_unwatchButton, m_checkRepliesButton, m_postTabs, m_postList, m_newRepliesList,
        m_replyReader };
}

void PostsPanel::watchCurrentPage()
{
    // The selection's first line: a post's beginning, not all of it.
    const QString selected = m_shownPage.selectedText ? m_shownPage.selectedText() : QString();
    watchShownPage(m_shownPage.address(), selected.section(QLatin1Char('\n'), 0, 0).simplified().left(200));
}

void PostsPanel::watchNoticedPost(const QString &pageAddress, const QString &canonicalAddress, const QString &ownText)
{
    watchShownPage(m_posts.addressForNoticedPost(pageAddress, canonicalAddress), ownText);
}

void PostsPanel::watchShownPage(const QString &address, const QString &ownText)
{
    if (!m_shownPage.readText || ListFiles::isSkippedLine(address)) {
        watchPage(address, ownText);
        return;
    }
    m_pendingWatches.insert(address, PendingWatch());
    m_shownPage.readText(this, [this, address](const QString &shownText) {
        const auto pending = m_pendingWatches.find(address);
        if (pending != m_pendingWatches.end() && !pending->shownText) {
            pending->shownText = shownText;
            finishWatch(address);
        }
    });
    // A page that never answers is not waited for long: the size is stored uncompared.
    QTimer::singleShot(s_shownTextWaitMs, this, [this, address] {
        const auto pending = m_pendingWatches.find(address);
        if (pending != m_pendingWatches.end() && !pending->shownText) {
            pending->shownText = QString();
            finishWatch(address);
        }
    });
    watchPage(address, ownText);
}

void PostsPanel::watchPage(const QString &address, const QString &ownText)
{
    const int watched = m_posts.indexOf(address);
    if (watched >= 0) {
        // Measure the existing entry again; its stored size is replaced in place.
        if (!ownText.isEmpty()) {
            m_posts.setOwnText(watched, m_posts.address(watched), ownText);
        }
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
    m_posts.setOwnText(m_posts.count() - 1, address, ownText);
    m_monitor->measureBaseline(address, m_posts.count() - 1);
}

void PostsPanel::storeWatchedSize(
    int index, const QString &address, qint32 size, const QStringList &pageLines, bool asksForPassword)
{
    auto pending = m_pendingWatches.find(address);
    if (pending == m_pendingWatches.end()) {
        PendingWatch uncompared;
        uncompared.shownText = QString();
        pending = m_pendingWatches.insert(address, uncompared);
    }
    pending->measured = true;
    pending->index = index;
    pending->size = size;
    pending->pageLines = pageLines;
    pending->asksForPassword = asksForPassword;
    finishWatch(address);
}

void PostsPanel::finishWatch(const QString &address)
{
    const auto pending = m_pendingWatches.constFind(address);
    if (pending == m_pendingWatches.cend() || !pending->measured || !pending->shownText) {
        return;
    }
    const PendingWatch watch = *pending;
    m_pendingWatches.erase(pending);
    const QString shownText = *watch.shownText;
    const QStringList &pageLines = watch.pageLines;
    // Nothing shown (no page yet, an image) is nothing to compare with.
    if (!shownText.trimmed().isEmpty() && !pageLines.isEmpty()
        && PageLikeness::isOtherThanShown(shownText.split(QLatin1Char('\n')), pageLines, watch.asksForPassword)) {
        QMessageBox box(QMessageBox::Warning, tr("Watch This Post"),
            tr("Postavo's check gets another page than your browser shows: a sign-in page?"), QMessageBox::Cancel,
            window());
        box.setInformativeText(tr("Its size would not tell of new replies. Sign in again, or watch the page anyway "
                                  "and open it once when the check says it is not your thread's page."));
        QPushButton *anyway = box.addButton(tr("Watch Anyway"), QMessageBox::AcceptRole);
        box.setDefaultButton(QMessageBox::Cancel);
        box.exec();
        if (box.clickedButton() != anyway) {
            return;
        }
    }
    // The own posts may have changed while the page was measured: the size goes to the entry that still holds
    // the measured address, and nowhere when that post was removed.
    const int entry = m_posts.address(watch.index) == address ? watch.index : m_posts.indexOf(address);
    m_posts.storeWatchedSize(
        watch.index, address, watch.size, PageLikeness::shows(pageLines, m_posts.ownText(entry)));
}

void PostsPanel::unwatchSelectedPost()
{
    const int index = m_postList->currentIndex().row();
    if (index < 0) {
        return;
    }
    // Nothing is selected before the post goes, so the list does not move the selection to a neighbour.
    m_postList->selectionModel()->clear();
    // The page's kept text goes with the post.
    m_monitor->forgetPost(m_posts.address(index));
    m_posts.remove(index);
}

QStringList PostsPanel::newTextOf(const QString &address) const
{
    const int row = m_posts.indexOf(address);
    return row < 0 ? QStringList() : m_posts.index(row).data(OwnPosts::NewTextRole).toStringList();
}

void PostsPanel::checkForReplies()
{
    m_posts.clearOutcomes();
    m_remeasured = 0;
    m_monitor->startCheck(m_posts);
}

void PostsPanel::requestCheck()
{
    emit checkRequested();
    checkForReplies();
}

void PostsPanel::showView(int tab)
{
    m_postTabs->setCurrentIndex(tab);
}

void PostsPanel::switchPostView()
{
    // By the tab's place: its caption is translated.
    const int view = m_postTabs->currentIndex() == AllPostsTab ? 0 : 1;
    m_buttonStack->setCurrentIndex(view);
    m_listStack->setCurrentIndex(view);
}

void PostsPanel::showSelectedPost()
{
    const QModelIndex current = m_postList->currentIndex();
    if (!current.isValid()) {
        return;
    }
    emit statusText(2, current.data().toString());
    // The outcome of the last check, for those who cannot hover over the post for its tooltip.
    const QString outcome = current.data(Qt::ToolTipRole).toString();
    if (!outcome.isEmpty()) {
        emit statusText(3, outcome);
    }
}

void PostsPanel::showSelectedReply()
{
    showReplies();
    const QModelIndex current = m_newRepliesList->currentIndex();
    if (current.isValid()) {
        m_newRepliesList->scrollTo(current);
        emit statusText(2, current.data(NewReplies::AddressRole).toString());
    }
}

void PostsPanel::showReplies()
{
    const QModelIndex current = m_newRepliesList->currentIndex();
    const QString html = current.isValid() ? readingText(current.data(NewReplies::AddressRole).toString(),
                                                 current.data(OwnPosts::NewTextRole).toStringList())
                                           : QString();
    // Set again only when it changed, so a check storing other posts keeps the user's place and selection in it.
    if (html != m_shownReplies) {
        m_shownReplies = html;
        m_replyReader->setHtml(html);
    }
}

void PostsPanel::readNewReplies()
{
    showView(NewRepliesTab);
    if (!m_newRepliesList->currentIndex().isValid() && m_newReplies->rowCount() > 0) {
        m_newRepliesList->setCurrentIndex(m_newReplies->index(0, 0));
    }
    m_replyReader->setFocus(Qt::OtherFocusReason);
}

void PostsPanel::showProbeError(const QString &text)
{
    QMessageBox box(QMessageBox::Warning, QStringLiteral("Error"), text, QMessageBox::Ok, window());
    box.exec();
}
