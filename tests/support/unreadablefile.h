#pragma once

#include <QFile>
#include <QFileInfo>
#include <sys/fsuid.h>
#include <unistd.h>

// Makes a file in a folder of its own unreadable, but still replaceable, for as long as it lives: the file
// becomes write-only for its owner. Root reads any file, so for root this thread also checks file access as
// an ordinary user who owns the folder and the file.
class UnreadableFile
{
public:
    explicit UnreadableFile(const QString &path)
        : m_path(path)
    {
        QFile::setPermissions(m_path, QFileDevice::WriteOwner);
        if (geteuid() == 0) {
            const uid_t nobody = 65534;
            m_folderOwner = QFileInfo(QFileInfo(m_path).absolutePath()).ownerId();
            m_fileOwner = QFileInfo(m_path).ownerId();
            [[maybe_unused]] int ignored = ::chown(qPrintable(QFileInfo(m_path).absolutePath()), nobody, nobody);
            ignored = ::chown(qPrintable(m_path), nobody, nobody);
            ::setfsuid(nobody);
            m_asUser = true;
        }
    }

    ~UnreadableFile() { restore(); }

    // Back to the file readable, as root when the test runs as root.
    void restore()
    {
        if (m_asUser) {
            ::setfsuid(0);
            [[maybe_unused]] int ignored = ::chown(qPrintable(QFileInfo(m_path).absolutePath()), m_folderOwner, 0);
            ignored = ::chown(qPrintable(m_path), m_fileOwner, 0);
            m_asUser = false;
        }
        QFile::setPermissions(m_path, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    }

private:
    QString m_path;
    bool m_asUser = false;
    uint m_folderOwner = 0;
    uint m_fileOwner = 0;
};
