#pragma once

#include <QAbstractListModel>
#include <QStringList>

// The user's forums: each address with its login entry (as ListFiles::joinLogin makes it). Addresses and
// logins are one list of entries, so they cannot fall out of step. Rows show the address and, in
// UserNameRole, the user name; the password is in no role, so no view or assistive tool can show it.
class Forums : public QAbstractListModel
{
    Q_OBJECT

public:
    enum Role { UserNameRole = Qt::UserRole + 1 };

    explicit Forums(QObject *parent = nullptr);
    // A missing login reads as the empty one.
    Forums(const QStringList &addresses, const QStringList &logins, QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QHash<int, QByteArray> roleNames() const override;

    // Replaces the whole list, as read from the list file.
    void reset(const QStringList &addresses, const QStringList &logins);

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
    struct Entry
    {
        QString address;
        QString login;
    };

    QList<Entry> m_entries;
};
