#pragma once

#include "base/datafolder.h"

#include <QByteArray>
#include <QHash>
#include <QMutex>
#include <QString>
#include <QStringList>

#include <optional>

#include "pagetext/textlines.h"

// What the program keeps of an own post's page: its text when its size was stored, the shapes of the lines that
// change on every visit, and where the thread went on from it.
struct KeptText
{
    TextLines lines;
    QStringList noise;
    // The page it named as its next one then; empty when none.
    QString nextPage = {};
    // The thread's pages after it that were read with it, in order; their texts are kept under their own
    // addresses.
    QStringList following = {};

    bool operator==(const KeptText &other) const = default;
};

// The kept texts of the own posts, one compressed file per post in a folder of the user's cache that only
// the user may read. Bounded in total: past the limit the texts written longest ago go first. A file that is
// missing, damaged or of an earlier format reads as no text, and the next text written replaces it. Safe to use
// from several threads.
class KeptTextStore
{
public:
    static constexpr qint64 defaultLimit = 50 * 1024 * 1024;
    // Larger files are not read: no kept text is that long.
    static constexpr qint64 maximumFileSize = 64 * 1024 * 1024;

    explicit KeptTextStore(const QString &folder);

    // The per-user cache folder's "page-texts".
    static QString defaultFolder();
    // Where a run whose data lives at location keeps them: beside the program when it runs portable.
    static QString folderFor(const DataLocation &location);

    QString folder() const { return m_folder; }
    void setLimit(qint64 bytes) { m_limit = bytes; }
    qint64 limit() const { return m_limit; }

    std::optional<KeptText> read(const QString &address) const;
    // Replaces the post's text in one step; false, keeping the earlier file, when it cannot be written.
    bool write(const QString &address, const KeptText &text);
    void remove(const QString &address);
    // Removes every kept text; false when some could not be removed.
    bool clear();
    // Bytes the kept texts take on disk.
    qint64 totalSize();

    // The file of a post: named by a hash of its identity, so two addresses of one post share it.
    QString fileOf(const QString &address) const;

    // Empty when the text cannot be compressed.
    static QByteArray encode(const KeptText &text);
    static std::optional<KeptText> decode(const QByteArray &bytes);

private:
    struct Entry
    {
        qint64 size = 0;
        qint64 writtenMs = 0;
        quint64 sequence = 0; // orders writes within one millisecond
    };

    bool ensureFolder() const;
    void scan();
    void forget(const QString &name);
    // Drops the oldest texts until the total fits, never the one just written unless it alone is too large.
    void trim();

    QString m_folder;
    qint64 m_limit = defaultLimit;
    // Names of the files of addresses asked for: a check asks for every post's, and hashing an address costs
    // more than looking it up.
    mutable QMutex m_fileNamesLock;
    mutable QHash<QString, QString> m_fileNames;
    QMutex m_indexLock; // guards what follows
    bool m_scanned = false;
    QHash<QString, Entry> m_entries; // by file name
    qint64 m_total = 0;
    quint64 m_sequence = 0;
};
