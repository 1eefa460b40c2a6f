#pragma once

#include <QGroupBox>
#include <QHash>
#include <optional>
#include <QStringList>
#include <functional>

class QAbstractProxyModel;
class QListView;
class QPushButton;
class QStackedWidget;
class QTabBar;
class QTextBrowser;
class OwnPosts;
class ReplyMonitor;
class RequestIdentity;
class SettingsStore;

// The user's own posts: watch the current page, remove a watch, and "Check for replies" with the view of
// the posts that have new replies.
class PostsPanel : public QGroupBox
{
    Q_OBJECT

public:
    // The two views, in the order of their tabs.
    enum View { AllPostsTab = 0, NewRepliesTab = 1 };

    // What the panel asks of the browser pane about the page it shows.
    struct ShownPage
    {
        // Its address, as the own posts keep it.
        std::function<QString()> address;
        // What the user selected on it: the beginning of the own post, when the user chose it.
        std::function<QString()> selectedText;
        // Its text as the user reads it, handed to done unless context is gone first.
        std::function<void(QObject *context, std::function<void(const QString &)> done)> readText;
    };

    // What the panel's checks are made with: the settings that hold the threshold and time limits, the
    // browser's identity they ask for pages with, and the port plain addresses are asked on.
    struct Checks
    {
        SettingsStore &settings;
        const RequestIdentity *identity = nullptr;
        quint16 port = 80;
    };

    PostsPanel(OwnPosts &posts, const Checks &checks, ShownPage shownPage, QWidget *parent = nullptr);

    // The monitor that runs this panel's checks, for those that start them by the clock or keep their texts.
    ReplyMonitor *monitor() const { return m_monitor; }

    // What the last check found the post's page added (its runs of text); empty when it found nothing to tell.
    QStringList newTextOf(const QString &address) const;
    bool isChecking() const;
    // The controls in the order Tab reaches them.
    QList<QWidget *> tabOrder() const;

public slots:
    // Adds the page the browser shows, or measures its entry again when it is watched already; what the user
    // selected on it is kept as the beginning of the own post.
    void watchCurrentPage();
    // The same for the given address. ownText: the beginning of the own post there (empty: unknown, or kept as
    // it is).
    void watchPage(const QString &address, const QString &ownText = QString());
    // A post of the user's, beginning with ownText, was noticed on the page the browser shows: one entry per
    // thread, so a post on a watched thread measures its entry again.
    void watchNoticedPost(const QString &pageAddress, const QString &canonicalAddress, const QString &ownText);
    void unwatchSelectedPost();
    void checkForReplies();
    // The user's own check (the button, the menu): checkRequested, then the check.
    void requestCheck();
    // Shows all posts or the new replies, as the tabs do.
    void showView(int tab);
    // The new replies, with the first post's open in the reading pane unless one is chosen; the pane has the
    // keyboard.
    void readNewReplies();

signals:
    void statusText(int panel, const QString &text);
    // An own post is to be opened in the browser.
    void openPost(const QString &address);
    // The user pressed "Check for replies".
    void checkRequested();
    // A reply check has ended; newReplyAddresses in the order of the own posts.
    void checkFinished(int newReplyCount, int notCheckedCount, const QStringList &newReplyAddresses);

private:
    void switchPostView();
    void showSelectedPost();
    // The chosen entry of New Replies: its replies in the reading pane, its address in the status bar.
    void showSelectedReply();
    // The reading pane as the chosen entry is now; a check's changes to other posts leave it as it is.
    void showReplies();
    void showProbeError(const QString &text);
    // A watch measured the page: its size is stored once the browser's text of the page is in, unless the check
    // got another page than the browser shows and the user would rather not.
    void storeWatchedSize(
        int index, const QString &address, qint32 size, const QStringList &pageLines, bool asksForPassword);
    void finishWatch(const QString &address);
    // Watches the address the browser shows, whose text is read meanwhile to compare with what the check gets.
    void watchShownPage(const QString &address, const QString &ownText);

    OwnPosts &m_posts;
    ReplyMonitor *m_monitor = nullptr;
    ShownPage m_shownPage;
    // Watches of pages the browser shows, by address, until both the measurement and the browser's text are in.
    struct PendingWatch
    {
        std::optional<QString> shownText;
        bool measured = false;
        int index = -1;
        qint32 size = 0;
        QStringList pageLines;
        bool asksForPassword = false;
    };
    QHash<QString, PendingWatch> m_pendingWatches;
    // Posts the check under way measured afresh as the browser sees them.
    int m_remeasured = 0;
    QPushButton *m_watchButton = nullptr;
    QPushButton *m_unwatchButton = nullptr;
    QPushButton *m_checkRepliesButton = nullptr;
    QTabBar *m_postTabs = nullptr;
    QListView *m_postList = nullptr;
    QListView *m_newRepliesList = nullptr;
    // What the replies to the chosen post say, under the list.
    QTextBrowser *m_replyReader = nullptr;
    QString m_shownReplies;
    // The buttons and the lists of the view chosen.
    QStackedWidget *m_buttonStack = nullptr;
    QStackedWidget *m_listStack = nullptr;
    QAbstractProxyModel *m_newReplies = nullptr;
};
