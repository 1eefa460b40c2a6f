#include "forums/forums.h"

#include "forums/listfiles.h"

Forums::Forums(const QStringList &addresses, const QStringList &logins)
{
    m_entries.reserve(addresses.size());
    for (qsizetype i = 0; i < addresses.size(); ++i) {
        m_entries.append({addresses.at(i), i < logins.size() ? logins.at(i) : ListFiles::joinLogin({}, {})});
    }
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
    m_entries.append({address, login});
    return true;
}

void Forums::remove(int index)
{
    if (index >= 0 && index < count()) {
        m_entries.removeAt(index);
    }
}

void Forums::setLogin(int index, const QString &login)
{
    if (index >= 0 && index < count()) {
        m_entries[index].login = login;
    }
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
