#pragma once

#include <QAbstractListModel>
#include <QStringList>

#include "messages/messagestore.h"

// The saved messages as rows for the message picker: every line of "messages.txt" as stored (blank lines
// too), with its body and subject in roles. The file is the only store; each change reads it again.
class MessageLibrary : public QAbstractListModel
{
    Q_OBJECT

public:
    enum Role {
        BodyRole = Qt::UserRole + 1, // with real CR LF line breaks
        SubjectRole,
        HasSubjectRole,
    };

    // Precondition: libraryPath is the path of "messages.txt".
    explicit MessageLibrary(const MessageStore &store, QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QHash<int, QByteArray> roleNames() const override;

    QString path() const { return m_store.filePath(); }
    // Reads the file again. *exists false when there is none; *reason says why a file that is there could not
    // be read (the rows then stay as they were).
    bool load(bool *exists = nullptr, QString *reason = nullptr);
    // Drops every line equal to the row's (blank lines, for an invalid row) and reads the file again.
    bool remove(int row, QString *error = nullptr);

private:
    MessageStore m_store;
    QStringList m_lines;
};
