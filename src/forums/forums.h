#pragma once

#include <QString>
#include <QStringList>

// The user's forums: each address with its login entry (as ListFiles::joinLogin makes it). Addresses and
// logins are kept as one list of entries, so they cannot fall out of step.
class Forums
{
public:
    struct Entry
    {
        QString address;
        QString login;
    };

    Forums() = default;
    // A missing login reads as the empty one.
    Forums(const QStringList &addresses, const QStringList &logins);

    int count() const { return int(m_entries.size()); }
    bool isFull() const;
    QString address(int index) const;
    QString login(int index) const;
    int indexOf(const QString &address) const;

    // Appends the forum with the login given. Returns false when the list is full.
    bool add(const QString &address, const QString &login);
    void remove(int index);
    void setLogin(int index, const QString &login);

    QStringList addresses() const;
    QStringList logins() const;

private:
    QList<Entry> m_entries;
};
