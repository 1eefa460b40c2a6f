#include "forums/ownposts.h"

#include "forums/listfiles.h"
#include "probe/postaddress.h"

OwnPosts::OwnPosts(QObject *parent)
    : QAbstractListModel(parent)
{ }

OwnPosts::OwnPosts(const QStringList &addresses, const QStringList &sizes, QObject *parent)
    : QAbstractListModel(parent)
{
    reset(addresses, sizes);
}

int OwnPosts::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : count();
}

QVariant OwnPosts::data(const QModelIndex &index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid)) {
        return {};
    }
    const Entry &entry = m_entries.at(index.row());
    switch (role) {
    case Qt::DisplayRole:
        return entry.address;
    case Qt::ToolTipRole:
    case Qt::AccessibleDescriptionRole:
        // For those who cannot hover, the same words reach assistive tools.
        return entry.outcome ? entry.outcome->text() : QString();
    case StoredSizeRole:
        return entry.size;
    case OutcomeRole:
        return entry.outcome ? QVariant::fromValue(*entry.outcome) : QVariant();
    case HasNewRepliesRole:
        return entry.outcome && entry.outcome->isNews();
    case NewTextRole:
        if (entry.outcome && entry.outcome->outcome == PostOutcome::PostGone) {
            return QStringList { entry.outcome->text() };
        }
        return entry.outcome ? entry.outcome->newText : QStringList();
    case OwnTextRole:
        return entry.ownText;
    case OpenAddressRole:
        return entry.outcome && entry.outcome->outcome == PostOutcome::NewRepliesOnNextPage ? entry.outcome->page
                                                                                             : entry.address;
    case MarkRole:
        if (!entry.outcome) {
            return QVariant::fromValue(Mark::None);
        }
        if (!entry.outcome->wasChecked()) {
            return QVariant::fromValue(Mark::NotChecked);
        }
        return QVariant::fromValue(entry.outcome->storesSize() ? Mark::Baseline : Mark::Checked);
    default:
        return {};
    }
}

QHash<int, QByteArray> OwnPosts::roleNames() const
{
    QHash<int, QByteArray> names = QAbstractListModel::roleNames();
    names.insert(StoredSizeRole, "storedSize");
    names.insert(OutcomeRole, "outcome");
    names.insert(HasNewRepliesRole, "hasNewReplies");
    names.insert(MarkRole, "mark");
    return names;
}

void OwnPosts::reset(const QStringList &addresses, const QStringList &sizes, const QList<ListFiles::PostNote> &notes)
{
    beginResetModel();
    const QStringList inStep = ListFiles::sizesInStep(sizes, int(addresses.size()));
    m_entries.clear();
    m_entries.reserve(addresses.size());
    for (qsizetype i = 0; i < addresses.size(); ++i) {
        m_entries.append(Entry { addresses.at(i), inStep.at(i), std::nullopt, QString(), false, false });
    }
    // By the exact address first, as a post kept in two spellings has a note for each.
    for (const ListFiles::PostNote &note : notes) {
        qsizetype at = addresses.indexOf(note.address);
        if (at < 0) {
            at = PostAddress::indexOfPost(addresses, note.address);
        }
        if (at >= 0) {
            m_entries[at].ownText = note.ownText;
            m_entries[at].shown = note.shown;
            m_entries[at].measuredAsBrowser = note.measuredAsBrowser;
        }
    }
    endResetModel();
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
    beginInsertRows(QModelIndex(), count(), count());
    m_entries.append(Entry { address, ListFiles::unmeasuredSize, std::nullopt, QString(), false, false });
    endInsertRows();
    return true;
}

void OwnPosts::setOwnText(int index, const QString &address, const QString &text)
{
    index = entryOf(index, address);
    if (index >= 0 && m_entries[index].ownText != text) {
        m_entries[index].ownText = text;
        rowChanged(index, { OwnTextRole });
    }
}

QString OwnPosts::ownText(int index) const
{
    return index >= 0 && index < count() ? m_entries.at(index).ownText : QString();
}

bool OwnPosts::ownTextShown(int index) const
{
    return index >= 0 && index < count() && m_entries.at(index).shown;
}

bool OwnPosts::isMeasuredAsBrowser(int index) const
{
    return index >= 0 && index < count() && m_entries.at(index).measuredAsBrowser;
}

void OwnPosts::remove(int index)
{
    if (index < 0 || index >= count()) {
        return;
    }
    beginRemoveRows(QModelIndex(), index, index);
    m_entries.removeAt(index);
    endRemoveRows();
}

int OwnPosts::entryOf(int index, const QString &address) const
{
    return index >= 0 && index < count() && m_entries.at(index).address == address ? index : indexOf(address);
}

void OwnPosts::rowChanged(int row, const QList<int> &roles)
{
    const QModelIndex changed = this->index(row);
    emit dataChanged(changed, changed, roles);
}

QList<int> OwnPosts::outcomeRoles()
{
    return { Qt::ToolTipRole, Qt::AccessibleDescriptionRole, OutcomeRole, HasNewRepliesRole, MarkRole, NewTextRole,
        OpenAddressRole };
}

int OwnPosts::storeSize(int index, const QString &address, const QString &size)
{
    index = entryOf(index, address);
    if (index >= 0) {
        m_entries[index].size = size;
        rowChanged(index, { StoredSizeRole });
    }
    return index;
}

int OwnPosts::storeWatchedSize(int index, const QString &address, qint32 size, bool shown)
{
    index = entryOf(index, address);
    if (index >= 0) {
        Entry &entry = m_entries[index];
        entry.size = QString::number(size);
        entry.outcome.reset();
        entry.shown = shown;
        entry.measuredAsBrowser = true;
        rowChanged(index, outcomeRoles() << StoredSizeRole);
    }
    return index;
}

void OwnPosts::storeOutcome(int index, const QString &post, const PostResult &result)
{
    if (result.storesSize()) {
        const int stored = entryOf(index, post);
        if (stored >= 0) {
            m_entries[stored].measuredAsBrowser = true;
            m_entries[stored].shown = result.ownPostShown.value_or(false);
        }
        storeSize(index, post, QString::number(result.newSize));
    }
    // The outcome only beside the exact address: a post kept in two spellings has one outcome each.
    if (address(index) != post) {
        index = int(addresses().indexOf(post));
    }
    if (index >= 0) {
        m_entries[index].outcome = result;
        rowChanged(index, outcomeRoles());
    }
}

void OwnPosts::clearOutcomes()
{
    for (Entry &entry : m_entries) {
        entry.outcome.reset();
    }
    if (count() > 0) {
        emit dataChanged(index(0), index(count() - 1), outcomeRoles());
    }
}

QStringList OwnPosts::withNewReplies() const
{
    QStringList list;
    for (const Entry &entry : m_entries) {
        if (entry.outcome && entry.outcome->isNews()) {
            list.append(entry.address);
        }
    }
    return list;
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

QList<ListFiles::PostNote> OwnPosts::notes() const
{
    QList<ListFiles::PostNote> notes;
    notes.reserve(count());
    for (const Entry &entry : m_entries) {
        notes.append({ entry.address, entry.ownText, entry.shown, entry.measuredAsBrowser });
    }
    return notes;
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
