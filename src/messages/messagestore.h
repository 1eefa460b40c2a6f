#pragma once

#include <QString>
#include <QStringList>

#include "base/textfile.h"

// One line of "messages.txt": the body with every line break written as "[br]", "|", the subject.
struct MessageRecord
{
    QString body;        // with real CR LF line breaks
    QString subject;
    bool hasSubject = false;

    // Reads a stored line: split at every "|"; piece 0 is the body, piece 1 the subject, the rest is ignored.
    // "[br]" in any letter case becomes CR LF.
    static MessageRecord fromLine(const QString &line);
    // The stored line for a body and subject. Every line break (CR LF, and a lone CR or LF, which would
    // otherwise split the record) is written as "[br]"; nothing else is encoded.
    static QString toLine(const QString &body, const QString &subject);
};

// The message library file, "messages.txt" in the data folder. Every operation opens, reads or rewrites
// the file whole and closes it before returning.
class MessageStore
{
public:
    // legacy: the code page of lines older versions wrote that are not UTF-8.
    explicit MessageStore(const QString &filePath, const LegacyCodePage &legacy = {});

    QString filePath() const { return m_filePath; }
    bool exists() const;
    // Why a file that is there cannot be read; empty when it can, or is not there.
    QString unreadableReason() const;

    // Appends a record, dropping blank lines. A missing file is created. *error tells why a write failed. A
    // file that exists but cannot be read is left as it is: writing would lose what it holds.
    bool save(const QString &body, const QString &subject, QString *error = nullptr) const;

    // Every line, unchanged and in file order (blank lines included); *exists false when there is no file,
    // *reason says why a file that is there could not be read.
    QStringList entries(bool *exists = nullptr, QString *reason = nullptr) const;

    // Drops every line equal to the entry text (case-sensitive), keeping the others in order. Refuses, as
    // save() does, a file that cannot be read.
    bool remove(const QString &entryText, QString *error = nullptr) const;

private:
    // The file's lines; false with *error set when it is there but cannot be read. A missing file has none.
    bool readForRewrite(QStringList *lines, QString *error) const;

    QString m_filePath;
    LegacyCodePage m_legacy;
};
