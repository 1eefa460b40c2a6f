#pragma once

#include <QAbstractListModel>
#include <QStringList>
#include <optional>

#include "forums/listfiles.h"
#include "probe/postoutcome.h"

// The user's own posts: each page address with the page size stored when it was last measured and the
// outcome of the last reply check. Addresses and sizes are one list of entries, so they cannot fall out of
// step; views show the rows, the list files read and write the addresses and sizes.
class OwnPosts : public QAbstractListModel
{
    Q_OBJECT

public:
    enum Role {
        StoredSizeRole = Qt::UserRole + 1,
        // The last check's PostResult; invalid when the post has none.
        OutcomeRole,
        HasNewRepliesRole,
        // The mark beside the post, a Mark.
        MarkRole,
        // What the last check found the post's page added, as runs of text (a QStringList).
        NewTextRole,
        // The beginning of the user's own post on the page; empty when it is not known.
        OwnTextRole,
        // The page to open for the post: the last one with new replies, else the post's own.
        OpenAddressRole,
    };
    enum class Mark { None, NotChecked, Baseline, Checked };
    Q_ENUM(Mark)

    explicit OwnPosts(QObject *parent = nullptr);
    // Missing sizes read as unmeasured, sizes past the last post are dropped.
    OwnPosts(const QStringList &addresses, const QStringList &sizes, QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QHash<int, QByteArray> roleNames() const override;

    // Replaces the whole list, as read from the list files; each note goes to the post of its address.
    void reset(const QStringList &addresses, const QStringList &sizes, const QList<ListFiles::PostNote> &notes = {});

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
    // What the post itself says, as the user wrote it; kept with the post.
    void setOwnText(int index, const QString &address, const QString &text);
    QString ownText(int index) const;
    // Whether the page showed the own text when its size was stored.
    bool ownTextShown(int index) const;
    // Whether the stored size was measured as the browser pane sees the page.
    bool isMeasuredAsBrowser(int index) const;
    void remove(int index);
    // Stores a measured size for the entry at index when it still holds the address, else for the entry that
    // does; a post removed meanwhile gets nothing. Returns the index that took the size, or -1.
    int storeSize(int index, const QString &address, const QString &size);
    // A size measured by a watch: stored as storeSize does, and the outcome of an earlier check, which no
    // longer tells the truth, is taken away. shown: whether the page shows the own text.
    int storeWatchedSize(int index, const QString &address, qint32 size, bool shown = false);
    // A check's outcome for the post (found as storeSize finds it); a baseline's size is stored with it.
    void storeOutcome(int index, const QString &address, const PostResult &result);
    // A new check starts: no post has an outcome.
    void clearOutcomes();

    QStringList addresses() const;
    // The addresses of the posts whose last check found something new: replies, or the post gone.
    QStringList withNewReplies() const;
    QStringList sizes() const;
    QList<ListFiles::PostNote> notes() const;

private:
    struct Entry
    {
        QString address;
        QString size; // a byte count, or ListFiles::unmeasuredSize
        std::optional<PostResult> outcome;
        QString ownText;
        bool shown = false;
        bool measuredAsBrowser = false;
    };

    int entryOf(int index, const QString &address) const;
    void rowChanged(int row, const QList<int> &roles);
    static QList<int> outcomeRoles();

    QList<Entry> m_entries;
};
