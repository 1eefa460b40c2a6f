#pragma once

#include <QObject>
#include <memory>

#include "base/filereplacement.h"
#include "base/textfile.h"
#include "forums/forums.h"
#include "forums/ownposts.h"

class QWidget;
class DataFolder;
class ListAutosave;
class ListStore;

// Keeps the own posts and the forums between runs: reads them from the list files at start-up, writes them
// back soon after they change and at shut-down, and tells the user when a file could not be read or written.
class ListKeeper : public QObject
{
    Q_OBJECT

public:
    // window: the owner of the messages, which call the program programName.
    ListKeeper(const DataFolder &folder, QWidget *window, const QString &programName);
    ~ListKeeper() override;

    OwnPosts &posts() { return m_posts; }
    Forums &forums() { return m_forums; }

    // Reads the lists; a file that is there but cannot be read is named, with why, in what it returns, and is
    // never written over this session.
    QStringList load(const LegacyCodePage &legacy = {});
    // Writes every list now; each is written whatever became of the other, and failures are told.
    void save();

public slots:
    // The forums or a login changed: written within a second of the last change.
    void forumsChanged();
    // Tells the user that a file could not be written, and why.
    void tellWriteFailure(const WriteFailure &failure);

private:
    void tellLoginsFailure(const WriteFailure &failure);

    QWidget *m_window;
    QString m_programName;
    std::unique_ptr<ListStore> m_store;
    OwnPosts m_posts;
    Forums m_forums;
    ListAutosave *m_autosave;
};
