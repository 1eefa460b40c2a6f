#include "messages/messagestore.h"

#include <QFileInfo>
#include <QRegularExpression>

#include "base/textfile.h"

MessageRecord MessageRecord::fromLine(const QString &line)
{
    static const QRegularExpression lineBreakMarker(QStringLiteral("\\[br\\]"),
                                                    QRegularExpression::CaseInsensitiveOption);
    MessageRecord record;
    const QStringList pieces = line.split(QLatin1Char('|'));
    record.body = pieces.value(0);
    record.body.replace(lineBreakMarker, TextFile::crlf);
    record.hasSubject = pieces.size() > 1;
    record.subject = pieces.value(1);
    return record;
}

QString MessageRecord::toLine(const QString &body, const QString &subject)
{
    QString stored = body;
    stored.replace(TextFile::crlf, QStringLiteral("[br]"));
    stored.replace(QLatin1Char('\r'), QStringLiteral("[br]"));
    stored.replace(QLatin1Char('\n'), QStringLiteral("[br]"));
    QString storedSubject = subject;
    // A line break in the subject would split the record; a subject box never holds one, but settings might.
    storedSubject.replace(QLatin1Char('\r'), QLatin1Char(' '));
    storedSubject.replace(QLatin1Char('\n'), QLatin1Char(' '));
    return stored + QLatin1Char('|') + storedSubject;
}

MessageStore::MessageStore(const QString &filePath, const LegacyCodePage &legacy)
    : m_filePath(filePath)
    , m_legacy(legacy)
{
}

bool MessageStore::exists() const
{
    return QFileInfo(m_filePath).isFile();
}

QString MessageStore::unreadableReason() const
{
    // Read as Save and Load read it, so the reason is worded as theirs.
    QStringList lines;
    QString reason;
    return readForRewrite(&lines, &reason) ? QString() : reason;
}

bool MessageStore::readForRewrite(QStringList *lines, QString *error) const
{
    bool ok = false;
    QString reason;
    *lines = TextFile::readLines(m_filePath, &ok, &reason, m_legacy);
    if (ok || !QFileInfo::exists(m_filePath)) {
        return true;
    }
    if (error) {
        *error = reason;
    }
    return false;
}

bool MessageStore::save(const QString &body, const QString &subject, QString *error) const
{
    QStringList lines;
    if (!readForRewrite(&lines, error)) {
        return false;
    }
    QString text;
    for (const QString &line : std::as_const(lines)) {
        if (!line.isEmpty() && line != QLatin1String(" ")) {
            text += line + TextFile::crlf;
        }
    }
    text += MessageRecord::toLine(body, subject) + TextFile::crlf;
    return TextFile::writeAtomic(m_filePath, text, error);
}

QStringList MessageStore::entries(bool *exists, QString *reason) const
{
    bool ok = false;
    QString why;
    QStringList lines = TextFile::readLines(m_filePath, &ok, &why, m_legacy);
    if (exists) {
        *exists = ok;
    }
    if (reason) {
        *reason = ok || !QFileInfo::exists(m_filePath) ? QString() : why;
    }
    return lines;
}

bool MessageStore::remove(const QString &entryText, QString *error) const
{
    QStringList lines;
    if (!readForRewrite(&lines, error)) {
        return false;
    }
    QString text;
    for (const QString &line : std::as_const(lines)) {
        if (line != entryText) {
            text += line + TextFile::crlf;
        }
    }
    return TextFile::writeAtomic(m_filePath, text, error);
}
