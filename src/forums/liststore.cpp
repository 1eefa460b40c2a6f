#include "forums/liststore.h"

#include <QFileInfo>

#include "base/textfile.h"
#include "forums/forums.h"
#include "forums/ownposts.h"

ListStore::ListStore(const DataFolder &folder)
    : m_folder(folder)
{ }

QStringList ListStore::load(OwnPosts *posts, Forums *forums, const LegacyCodePage &legacy)
{
    m_unreadable.clear();
    QStringList problems;
    const auto read = [this, &problems, &legacy](const QString &name) {
        const QString path = m_folder.filePath(name);
        bool ok = false;
        QString reason;
        const QStringList lines = TextFile::readLines(path, &ok, &reason, legacy);
        if (!ok && QFileInfo::exists(path)) {
            m_unreadable.append(name);
            problems.append(path + QStringLiteral(": ") + reason);
        }
        return lines;
    };
    const QStringList addresses = ListFiles::recordsFromLines(read(DataFiles::posts));
    const QStringList sizes = ListFiles::sizesInStep(ListFiles::recordsFromLines(read(DataFiles::sizes)),
                                                     int(addresses.size()));
    posts->reset(addresses, sizes, ListFiles::notesFromLines(read(DataFiles::postNotes)));
    const ListFiles::ForumList forumList = ListFiles::forumsFromLines(read(DataFiles::posts2));
    forums->reset(forumList.addresses, forumList.logins);
    return problems;
}

bool ListStore::postsAndSizesHeld() const
{
    // A size belongs to the post on its line: written without the other file, either would pair them wrongly.
    return m_unreadable.contains(DataFiles::posts) || m_unreadable.contains(DataFiles::sizes)
        || m_unreadable.contains(DataFiles::postNotes);
}

bool ListStore::savePostsAndSizes(const OwnPosts &posts, ListFiles::WriteError *error)
{
    return postsAndSizesHeld()
        || ListFiles::writePostsAndSizes(m_folder.filePath(DataFiles::posts), posts.addresses(),
            m_folder.filePath(DataFiles::sizes), posts.sizes(), error, m_folder.filePath(DataFiles::postNotes),
            posts.notes());
}

bool ListStore::saveForums(const Forums &forums, ListFiles::WriteError *error)
{
    return m_unreadable.contains(DataFiles::posts2)
        || ListFiles::writeForums(m_folder.filePath(DataFiles::posts2), forums.addresses(), forums.logins(), error);
}
