#pragma once

#include <QFile>
#include <QFileInfo>
#include <QStringList>
#include <sys/fsuid.h>
#include <unistd.h>

// Makes files in a folder of their own unreadable, but still replaceable, for as long as it lives: each file
// becomes write-only for its owner. Root reads any file, so for root this thread also checks file access as
// an ordinary user who owns the folder and the files.
class UnreadableFile
{
public:
    explicit UnreadableFile(const QString &path)
        : UnreadableFile(QStringList { path })
    { }

    explicit UnreadableFile(const QStringList &paths)
        : m_paths(paths)
    {
        const QString folder = QFileInfo(m_paths.value(0)).absolutePath();
        for (const QString &path : m_paths) {
            QFile::setPermissions(path, QFileDevice::WriteOwner);
        }
        if (geteuid() == 0) {
            const uid_t nobody = 65534;
            m_folderOwner = QFileInfo(folder).ownerId();
            [[maybe_unused]] int ignored = ::chown(qPrintable(folder), nobody, nobody);
            for (const QString &path : m_paths) {
                m_fileOwners.append(QFileInfo(path).ownerId());
                ignored = ::chown(qPrintable(path), nobody, nobody);
            }
            ::setfsuid(nobody);
            m_asUser = true;
        }
    }

    ~UnreadableFile() { restore(); }

    // Back to the files readable, as root when the test runs as root.
    void restore()
    {
        if (m_asUser) {
            ::setfsuid(0);
            [[maybe_unused]] int ignored
                = ::chown(qPrintable(QFileInfo(m_paths.value(0)).absolutePath()), m_folderOwner, 0);
            for (qsizetype i = 0; i < m_paths.size(); ++i) {
                ignored = ::chown(qPrintable(m_paths[i]), m_fileOwners.value(i), 0);
            }
            m_asUser = false;
        }
        for (const QString &path : m_paths) {
            QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
        }
    }

private:
    QStringList m_paths;
    bool m_asUser = false;
    uint m_folderOwner = 0;
    QList<uint> m_fileOwners;
};
