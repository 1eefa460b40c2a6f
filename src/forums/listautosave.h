#pragma once

#include <QObject>

#include "base/filereplacement.h"

class QTimer;
class Forums;
class ListStore;
class OwnPosts;

// Keeps the list files current while the program runs. The own posts and their sizes are written a moment
// after they change, so that a burst of changes (a reply check storing many sizes) writes once and a crash
// loses at most that moment; the forums a second after the last change of a burst, so that typing a password
// writes the file once. A failure is reported once, and again
// only after a save has succeeded in between; every later change tries again.
class ListAutosave : public QObject
{
    Q_OBJECT

public:
    ListAutosave(ListStore &store, const OwnPosts &posts, const Forums &forums, QObject *parent = nullptr);

    // The own posts or their sizes changed: they are written within the delay.
    void postsChanged();
    // The forums or a login changed: they are written a second after the last change of a burst (typing a
    // password writes the file once).
    void forumsChanged();
    // Writes every list now, as the shut-down does; any failure is reported, told before or not.
    bool saveAll();

signals:
    void postsSaveFailed(const WriteFailure &failure);
    void forumsSaveFailed(const WriteFailure &failure);

private:
    bool savePosts();
    bool saveForums();

    ListStore &m_store;
    const OwnPosts &m_posts;
    const Forums &m_forums;
    QTimer *m_timer;
    QTimer *m_forumsTimer;
    bool m_postsFailureTold = false;
    bool m_forumsFailureTold = false;
};
