#pragma once

#include <QObject>

#include "base/filereplacement.h"

class QTimer;
class Forums;
class ListStore;
class OwnPosts;

// Keeps the list files current while the program runs. The own posts and their sizes are written a moment
// after they change, so that a burst of changes (a reply check storing many sizes) writes once and a crash
// loses at most that moment; the forums are written at every change. A failure is reported once, and again
// only after a save has succeeded in between; every later change tries again.
class ListAutosave : public QObject
{
    Q_OBJECT

public:
    ListAutosave(ListStore &store, const OwnPosts &posts, const Forums &forums, QObject *parent = nullptr);

    // How long a change waits for the ones that follow it.
    void setDelay(int milliseconds);

    // The own posts or their sizes changed: they are written within the delay.
    void postsChanged();
    // Writes the forums now.
    bool saveForums();
    // Writes every list now, as the shut-down does; any failure is reported, told before or not.
    bool saveAll();

signals:
    void postsSaveFailed(const WriteFailure &failure);
    void forumsSaveFailed(const WriteFailure &failure);

private:
    bool savePosts();

    ListStore &m_store;
    const OwnPosts &m_posts;
    const Forums &m_forums;
    QTimer *m_timer;
    bool m_postsFailureTold = false;
    bool m_forumsFailureTold = false;
};
