#pragma once

#include <QString>
#include <QStringList>

// The user's own posts: each page address with the page size stored when it was last measured. Addresses and
// sizes are kept as one list of entries, so they cannot fall out of step.
class OwnPosts
{
public:
    struct Entry
    {
        QString address;
        QString size; // a byte count, or ListFiles::unmeasuredSize
    };

    OwnPosts() = default;
    // Missing sizes read as unmeasured, sizes past the last post are dropped.
    OwnPosts(const QStringList &addresses, const QStringList &sizes);

    int count() const { return int(m_entries.size()); }
    bool isFull() const;
    QString address(int index) const;
    QString storedSize(int index) const;
    // The entry of the same post (fragment and encoding form aside); -1 when the address is not watched.
    int indexOf(const QString &address) const;
    bool contains(const QString &address) const { return indexOf(address) >= 0; }

    // The address under which a post just noticed is kept: the entry already watched for the page's address
    // or for the canonical address the page names (the thread), else the canonical address, else the page's.
    QString addressForNoticedPost(const QString &pageAddress, const QString &canonicalAddress) const;

    // Appends the address, its size not measured yet. Returns false when the list is full.
    bool add(const QString &address);
    void remove(int index);
    // Stores a measured size for the entry at index when it still holds the address, else for the entry that
    // does; a post removed meanwhile gets nothing. Returns the index that took the size, or -1.
    int storeSize(int index, const QString &address, const QString &size);

    QStringList addresses() const;
    QStringList sizes() const;

private:
    QList<Entry> m_entries;
};
