#include "forums/liststore.h"

#include "forums/forums.h"
#include "forums/ownposts.h"

ListStore::ListStore(const DataFolder &folder)
    : m_folder(folder)
{ }

QStringList ListStore::load(OwnPosts *posts, Forums *forums)
{
    m_unreadable.clear();
    QStringList problems;
    for (const QString &name : {DataFiles::posts, DataFiles::posts2, DataFiles::sizes}) {
        const QString reason = ListFiles::unreadableReason(m_folder.filePath(name));
        if (!reason.isEmpty()) {
            m_unreadable.append(name);
            problems.append(m_folder.filePath(name) + QStringLiteral(": ") + reason);
        }
    }
    const QStringList addresses = ListFiles::readPosts(m_folder.filePath(DataFiles::posts));
    *posts = OwnPosts(addresses, ListFiles::readSizes(m_folder.filePath(DataFiles::sizes), int(addresses.size())));
    const ListFiles::ForumList forumList = ListFiles::readForums(m_folder.filePath(DataFiles::posts2));
    *forums = Forums(forumList.addresses, forumList.logins);
    return problems;
}

bool ListStore::savePosts(const OwnPosts &posts)
{
    return m_unreadable.contains(DataFiles::posts)
        || ListFiles::writePosts(m_folder.filePath(DataFiles::posts), posts.addresses());
}

bool ListStore::saveForums(const Forums &forums, ListFiles::WriteError *error)
{
    return m_unreadable.contains(DataFiles::posts2)
        || ListFiles::writeForums(m_folder.filePath(DataFiles::posts2), forums.addresses(), forums.logins(), error);
}

bool ListStore::saveSizes(const OwnPosts &posts)
{
    return m_unreadable.contains(DataFiles::sizes)
        || ListFiles::writeSizes(m_folder.filePath(DataFiles::sizes), posts.sizes());
}
