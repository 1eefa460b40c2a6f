#pragma once

#include <QObject>
#include <memory>

#include "forums/forums.h"
#include "forums/ownposts.h"

class QWidget;
class DataFolder;
class ListStore;

// Keeps the own posts and the forums between runs: reads them from the list files at start-up and writes
// them back, telling the user when a file could not be read or the logins could not be saved.
class ListKeeper : public QObject
{
    Q_OBJECT

public:
    // window: the owner of the messages.
    ListKeeper(const DataFolder &folder, QWidget *window);
    ~ListKeeper() override;

    OwnPosts &posts() { return m_posts; }
    Forums &forums() { return m_forums; }

    void load();
    // Each list is written whatever became of the one before.
    void save();

public slots:
    bool saveForums();

private:
    QWidget *m_window;
    std::unique_ptr<ListStore> m_store;
    OwnPosts m_posts;
    Forums m_forums;
};
