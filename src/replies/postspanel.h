#pragma once

#include <QGroupBox>
#include <QStringList>
#include <functional>

class QAbstractProxyModel;
class QListView;
class QPushButton;
class QTabBar;
class OwnPosts;
class ReplyMonitor;

// The user's own posts: watch the current page, remove a watch, and "Check for replies" with the view of
// the posts that have new replies.
class PostsPanel : public QGroupBox
{
    Q_OBJECT

public:
    // The two views, in the order of their tabs.
    enum View { AllPostsTab = 0, NewRepliesTab = 1 };

    // currentAddress: the address of the page the browser shows.
    PostsPanel(
        OwnPosts &posts, ReplyMonitor *monitor, std::function<QString()> currentAddress, QWidget *parent = nullptr);

    // Fits the lists to the panel's height.
    void fitContents();
    int listTop() const;
    // What the last check found the post's page added (its runs of text); empty when it found nothing to tell.
    QStringList newTextOf(const QString &address) const;
    bool isChecking() const;
    // The controls in the order Tab reaches them.
    QList<QWidget *> tabOrder() const;

public slots:
    // Adds the page the browser shows, or measures its entry again when it is watched already.
    void watchCurrentPage();
    // The same for the given address.
    void watchPage(const QString &address);
    // A post of the user's was noticed on a page: one entry per thread, so a post on a watched thread
    // measures its entry again.
    void watchNoticedPost(const QString &pageAddress, const QString &canonicalAddress);
    void unwatchSelectedPost();
    void checkForReplies();
    // The user's own check (the button, the menu): checkRequested, then the check.
    void requestCheck();
    // Shows all posts or the new replies, as the tabs do.
    void showView(int tab);

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
    void showSelectedReply();
    void showProbeError(const QString &text);

    OwnPosts &m_posts;
    ReplyMonitor *m_monitor;
    std::function<QString()> m_currentAddress;
    QPushButton *m_watchButton = nullptr;
    QPushButton *m_unwatchButton = nullptr;
    QPushButton *m_checkRepliesButton = nullptr;
    QTabBar *m_postTabs = nullptr;
    QListView *m_postList = nullptr;
    QListView *m_newRepliesList = nullptr;
    QAbstractProxyModel *m_newReplies = nullptr;
};
