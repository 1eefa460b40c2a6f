#pragma once

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cerrno>
#include <sys/mount.h>

#include "base/filereplacement.h"

// A folder on a small file system of its own that a test can fill up or make read-only: a tmpfs mounted for
// the test when it may mount (tests run as root), and otherwise the write routine's fault seam answering for
// the folder's files. The mount goes with the fixture.
class FullFileSystem
{
public:
    FullFileSystem() { m_mounted = ::mount("tmpfs", qPrintable(m_dir.path()), "tmpfs", 0, "size=256k,mode=0755") == 0; }

    ~FullFileSystem()
    {
        FileReplacement::setFaultForTesting(nullptr);
        if (m_mounted) {
            ::umount2(qPrintable(m_dir.path()), MNT_DETACH);
        }
    }

    FullFileSystem(const FullFileSystem &) = delete;
    FullFileSystem &operator=(const FullFileSystem &) = delete;

    // False where only the seam stands in for the file system.
    bool isReal() const { return m_mounted; }
    QString path() const { return m_dir.path(); }
    QString filePath(const QString &name) const { return m_dir.filePath(name); }

    // Takes all the free room but the given number of 4 KiB pages.
    void fill(int pagesLeft = 0)
    {
        if (!m_mounted) {
            injectForFolder(pagesLeft == 0 ? ENOSPC : 0);
            return;
        }
        QFile filler(filePath(QStringLiteral(".filler")));
        if (!filler.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Unbuffered)) {
            return;
        }
        const QByteArray page(4096, '\0');
        while (filler.write(page) == page.size()) { }
        filler.resize(qMax<qint64>(0, filler.size() - qint64(pagesLeft) * page.size()));
    }

    void makeReadOnly()
    {
        if (!m_mounted || ::mount(nullptr, qPrintable(m_dir.path()), nullptr, MS_REMOUNT | MS_RDONLY, nullptr) != 0) {
            injectForFolder(EROFS);
        }
    }

    // Room again, and writable.
    void release()
    {
        FileReplacement::setFaultForTesting(nullptr);
        if (m_mounted) {
            ::mount(nullptr, qPrintable(m_dir.path()), nullptr, MS_REMOUNT, nullptr);
            QFile::remove(filePath(QStringLiteral(".filler")));
        }
    }

private:
    void injectForFolder(int error)
    {
        const QString folder = m_dir.path() + QLatin1Char('/');
        FileReplacement::setFaultForTesting(
            [folder, error](const QString &path) { return path.startsWith(folder) ? error : 0; });
    }

    QTemporaryDir m_dir;
    bool m_mounted = false;
};
