#pragma once

#include <QGroupBox>
#include <QHash>
#include <QIcon>
#include <QStringList>
#include <functional>

class QListWidget;
class QListWidgetItem;
class QPushButton;
class QTabBar;
class OwnPosts;
class ReplyMonitor;
struct PostResult;

// The user's own posts: watch the current page, remove a watch, and "Check for replies" with the view of
// the posts that have new replies.
class PostsPanel : public QGroupBox
{
    Q_OBJECT

public:
    // currentAddress: the address of the page the browser shows.
    PostsPanel(OwnPosts &posts, ReplyMonitor *monitor, std::function<QString()> currentAddress,
               QWidget *parent = nullptr);

    // Refills the visible list from the own posts.
    void showPosts();
    // Fits the lists to the panel's height.
    void fitContents();
    int listTop() const;
    ReplyMonitor *monitor() const { return m_monitor; }
    bool isChecking() const;
    // The outcome the last check gave the post at row of the own-posts list; empty when it has none.
    QString outcomeText(int row) const;
    // What the last check found the post's page added (its runs of text); empty when it found nothing to tell.
    QStringList newTextOf(const QString &address) const;

    QPushButton *watchButton = nullptr;
    QPushButton *unwatchButton = nullptr;
    QPushButton *checkRepliesButton = nullptr;
    QTabBar *postTabs = nullptr;
    QListWidget *postList = nullptr;
    QListWidget *newRepliesList = nullptr;

public slots:
    // Adds the page the browser shows, or measures its entry again when it is watched already.
    void watchCurrentPage();
    // The same for the given address.
    void watchPage(const QString &address);
    void unwatchSelectedPost();
    void checkForReplies();
    // Shows all posts (0) or the new replies (1), as the tabs do.
    void showView(int tab);

signals:
    void statusText(int panel, const QString &text);
    // An own post is to be opened in the browser.
    void openPost(const QString &address);
    // A reply check has ended; newReplyAddresses in the order of the own posts.
    void checkFinished(int newReplyCount, int notCheckedCount, const QStringList &newReplyAddresses);
    // A post was added or removed, or a stored size changed: the lists are to be saved.
    void postsChanged();

private:
    void switchPostView();
    void showSelectedPost();
    void showSelectedReply();
    void baselineMeasured(int index, const QString &address, qint32 size);
    void showProbeError(const QString &text);
    void postChecked(int index, const QString &address, const PostResult &result);
    void addNewReply(int position, const QString &address);
    // The entry of the new replies shows the beginning of the new text; the current entry shows all of it.
    void showReplyText(QListWidgetItem *item, bool whole) const;
    void expandCurrentReply(QListWidgetItem *current, QListWidgetItem *previous);
    // The row of the own-posts list that holds address, index first (the list may have changed since).
    QListWidgetItem *postItem(int index, const QString &address) const;
    // Marks an own post with its outcome; without one, takes the mark away.
    void showOutcome(QListWidgetItem *item, const PostResult *result) const;

    OwnPosts &m_posts;
    ReplyMonitor *m_monitor;
    std::function<QString()> m_currentAddress;
    // Beside a post the check could not measure, one it measured for the first time, and any other.
    QIcon m_failedMark;
    QIcon m_baselineMark;
    QIcon m_blankMark;
    // New text of the posts the last check found with new replies, by post identity.
    QHash<QString, QStringList> m_newTexts;
};
