#include "messages/messagelibrary.h"

#include "messages/messagestore.h"

MessageLibrary::MessageLibrary(const MessageStore &store, QObject *parent)
    : QAbstractListModel(parent)
    , m_store(store)
{ }

int MessageLibrary::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_lines.size());
}

QVariant MessageLibrary::data(const QModelIndex &index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid)) {
        return {};
    }
    const QString &line = m_lines.at(index.row());
    switch (role) {
    case Qt::DisplayRole:
        return line;
    case BodyRole:
        return MessageRecord::fromLine(line).body;
    case SubjectRole:
        return MessageRecord::fromLine(line).subject;
    case HasSubjectRole:
        return MessageRecord::fromLine(line).hasSubject;
    default:
        return {};
    }
}

QHash<int, QByteArray> MessageLibrary::roleNames() const
{
    QHash<int, QByteArray> names = QAbstractListModel::roleNames();
    names.insert(BodyRole, "body");
    names.insert(SubjectRole, "subject");
    names.insert(HasSubjectRole, "hasSubject");
    return names;
}

bool MessageLibrary::load(bool *exists, QString *reason)
{
    bool there = false;
    QString why;
    const QStringList lines = m_store.entries(&there, &why);
    if (exists) {
        *exists = there;
    }
    if (reason) {
        *reason = why;
    }
    if (!why.isEmpty()) {
        return false;
    }
    beginResetModel();
    m_lines = lines;
    endResetModel();
    return there;
}

bool MessageLibrary::remove(int row, QString *error)
{
    const QString entry = row >= 0 && row < m_lines.size() ? m_lines.at(row) : QString();
    if (!m_store.remove(entry, error)) {
        return false;
    }
    load();
    return true;
}
