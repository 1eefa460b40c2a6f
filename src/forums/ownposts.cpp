#include "forums/ownposts.h"

#include "forums/listfiles.h"
#include "replies/postaddress.h"

OwnPosts::OwnPosts(const QStringList &addresses, const QStringList &sizes)
{
    const QStringList inStep = ListFiles::sizesInStep(sizes, int(addresses.size()));
    m_entries.reserve(addresses.size());
    for (qsizetype i = 0; i < addresses.size(); ++i) {
        m_entries.append({addresses.at(i), inStep.at(i)});
    }
}

bool OwnPosts::isFull() const
{
    return count() >= ListFiles::maxEntries;
}

QString OwnPosts::address(int index) const
{
    return index >= 0 && index < count() ? m_entries.at(index).address : QString();
}

QString OwnPosts::storedSize(int index) const
{
    return index >= 0 && index < count() ? m_entries.at(index).size : QString();
}

int OwnPosts::indexOf(const QString &address) const
{
    // The same text first: an older list may hold one post in two spellings.
    const QString wanted = PostAddress::identity(address);
    int same = -1;
    for (int i = 0; i < count(); ++i) {
        if (m_entries.at(i).address == address) {
            return i;
        }
        if (same < 0 && PostAddress::identity(m_entries.at(i).address) == wanted) {
            same = i;
        }
    }
    return same;
}

QString OwnPosts::addressForNoticedPost(const QString &pageAddress, const QString &canonicalAddress) const
{
    // The page's own address first: entries kept before canonical addresses counted stay as they are.
    for (const QString &candidate : { pageAddress, canonicalAddress }) {
        const int watched = candidate.isEmpty() ? -1 : indexOf(candidate);
        if (watched >= 0) {
            return address(watched);
        }
    }
    return canonicalAddress.isEmpty() ? pageAddress : canonicalAddress;
}

bool OwnPosts::add(const QString &address)
{
    if (isFull()) {
        return false;
    }
    m_entries.append({address, ListFiles::unmeasuredSize});
    return true;
}

void OwnPosts::remove(int index)
{
    if (index >= 0 && index < count()) {
        m_entries.removeAt(index);
    }
}

int OwnPosts::storeSize(int index, const QString &address, const QString &size)
{
    if (index < 0 || index >= count() || m_entries.at(index).address != address) {
        index = indexOf(address);
    }
    if (index >= 0) {
        m_entries[index].size = size;
    }
    return index;
}

QStringList OwnPosts::addresses() const
{
    QStringList list;
    list.reserve(count());
    for (const Entry &entry : m_entries) {
        list.append(entry.address);
    }
    return list;
}

QStringList OwnPosts::sizes() const
{
    QStringList list;
    list.reserve(count());
    for (const Entry &entry : m_entries) {
        list.append(entry.size);
    }
    return list;
}
