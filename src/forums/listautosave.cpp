#include "forums/listautosave.h"

#include <QTimer>

#include "forums/liststore.h"

ListAutosave::ListAutosave(ListStore &store, const OwnPosts &posts, const Forums &forums, QObject *parent)
    : QObject(parent)
    , m_store(store)
    , m_posts(posts)
    , m_forums(forums)
    , m_timer(new QTimer(this))
    , m_forumsTimer(new QTimer(this))
{
    for (QTimer *timer : { m_timer, m_forumsTimer }) {
        timer->setSingleShot(true);
        timer->setInterval(1000);
    }
    connect(m_timer, &QTimer::timeout, this, &ListAutosave::savePosts);
    connect(m_forumsTimer, &QTimer::timeout, this, &ListAutosave::saveForums);
}

void ListAutosave::forumsChanged()
{
    m_forumsTimer->start();
}

void ListAutosave::postsChanged()
{
    // Not restarted by each change: a steady stream of them still reaches the disk every interval.
    if (!m_timer->isActive()) {
        m_timer->start();
    }
}

bool ListAutosave::savePosts()
{
    m_timer->stop();
    WriteFailure failure;
    if (m_store.savePostsAndSizes(m_posts, &failure)) {
        m_postsFailureTold = false;
        return true;
    }
    if (!m_postsFailureTold) {
        m_postsFailureTold = true;
        emit postsSaveFailed(failure);
    }
    return false;
}

bool ListAutosave::saveForums()
{
    m_forumsTimer->stop();
    WriteFailure failure;
    if (m_store.saveForums(m_forums, &failure)) {
        m_forumsFailureTold = false;
        return true;
    }
    if (!m_forumsFailureTold) {
        m_forumsFailureTold = true;
        emit forumsSaveFailed(failure);
    }
    return false;
}

bool ListAutosave::saveAll()
{
    // What is not written now is lost with the program, so the user hears of it even if told before.
    m_postsFailureTold = false;
    m_forumsFailureTold = false;
    const bool posts = savePosts();
    const bool forums = saveForums();
    return posts && forums;
}
