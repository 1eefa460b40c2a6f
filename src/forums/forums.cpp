#include "forums/forums.h"

#include "forums/listfiles.h"

Forums::Forums(QObject *parent)
    : QAbstractListModel(parent)
{ }

Forums::Forums(const QStringList &addresses, const QStringList &logins, QObject *parent)
    : QAbstractListModel(parent)
{
    reset(addresses, logins);
}

int Forums::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : count();
}

QVariant Forums::data(const QModelIndex &index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid)) {
        return {};
    }
    const Entry &entry = m_entries.at(index.row());
    if (role == Qt::DisplayRole) {
        return entry.address;
    }
    if (role == UserNameRole) {
        QString user;
        QString password;
        ListFiles::splitLogin(entry.login, &user, &password);
        return user;
    }
    return {};
}

QHash<int, QByteArray> Forums::roleNames() const
{
    QHash<int, QByteArray> names = QAbstractListModel::roleNames();
    names.insert(UserNameRole, "userName");
    return names;
}

void Forums::reset(const QStringList &addresses, const QStringList &logins)
{
    beginResetModel();
    m_entries.clear();
    m_entries.reserve(addresses.size());
    for (qsizetype i = 0; i < addresses.size(); ++i) {
        m_entries.append({ addresses.at(i), i < logins.size() ? logins.at(i) : ListFiles::joinLogin({}, {}) });
    }
    endResetModel();
}

bool Forums::isFull() const
{
    return count() >= ListFiles::maxEntries;
}

QString Forums::address(int index) const
{
    return index >= 0 && index < count() ? m_entries.at(index).address : QString();
}

QString Forums::login(int index) const
{
    return index >= 0 && index < count() ? m_entries.at(index).login : QString();
}

int Forums::indexOf(const QString &address) const
{
    for (int i = 0; i < count(); ++i) {
        if (m_entries.at(i).address == address) {
            return i;
        }
    }
    return -1;
}

bool Forums::add(const QString &address, const QString &login)
{
    if (isFull()) {
        return false;
    }
    beginInsertRows(QModelIndex(), count(), count());
    m_entries.append({ address, login });
    endInsertRows();
    return true;
}

void Forums::remove(int index)
{
    if (index < 0 || index >= count()) {
        return;
    }
    beginRemoveRows(QModelIndex(), index, index);
    m_entries.removeAt(index);
    endRemoveRows();
}

void Forums::setLogin(int index, const QString &login)
{
    if (index < 0 || index >= count() || m_entries.at(index).login == login) {
        return;
    }
    m_entries[index].login = login;
    const QModelIndex changed = this->index(index);
    emit dataChanged(changed, changed, { UserNameRole });
}

QStringList Forums::addresses() const
{
    QStringList list;
    list.reserve(count());
    for (const Entry &entry : m_entries) {
        list.append(entry.address);
    }
    return list;
}

QStringList Forums::logins() const
{
    QStringList list;
    list.reserve(count());
    for (const Entry &entry : m_entries) {
        list.append(entry.login);
    }
    return list;
}
