#pragma once

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <csignal>
#include <sys/mount.h>
#include <sys/resource.h>

// A folder on a small file system of its own that a test can fill up or make read-only: a tmpfs mounted for
// the test (tests run as root). The mount goes with the fixture.
class FullFileSystem
{
public:
    FullFileSystem() { m_mounted = ::mount("tmpfs", qPrintable(m_dir.path()), "tmpfs", 0, "size=256k,mode=0755") == 0; }

    ~FullFileSystem()
    {
        release();
        if (m_mounted) {
            ::umount2(qPrintable(m_dir.path()), MNT_DETACH);
        }
    }

    FullFileSystem(const FullFileSystem &) = delete;
    FullFileSystem &operator=(const FullFileSystem &) = delete;

    // False when the tmpfs could not be mounted: the test cannot run as it should and fails.
    bool isMounted() const { return m_mounted; }
    QString path() const { return m_dir.path(); }
    QString filePath(const QString &name) const { return m_dir.filePath(name); }

    // Takes all the free room but the given number of 4 KiB pages.
    void fill(int pagesLeft = 0)
    {
        QFile filler(filePath(QStringLiteral(".filler")));
        if (!filler.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Unbuffered)) {
            return;
        }
        const QByteArray page(4096, '\0');
        while (filler.write(page) == page.size()) { }
        filler.resize(qMax<qint64>(0, filler.size() - qint64(pagesLeft) * page.size()));
    }

    void makeReadOnly() { ::mount(nullptr, qPrintable(m_dir.path()), nullptr, MS_REMOUNT | MS_RDONLY, nullptr); }

    // Files may not grow past a byte, anywhere, as a quota refuses: writes fail with "File too large".
    void limitFileSize()
    {
        ::getrlimit(RLIMIT_FSIZE, &m_sizeLimit);
        ::signal(SIGXFSZ, SIG_IGN);
        rlimit limit = m_sizeLimit;
        limit.rlim_cur = 1;
        m_sizeLimited = ::setrlimit(RLIMIT_FSIZE, &limit) == 0;
    }

    // Room again, writable, and no limit on files.
    void release()
    {
        if (m_sizeLimited) {
            ::setrlimit(RLIMIT_FSIZE, &m_sizeLimit);
            m_sizeLimited = false;
        }
        if (m_mounted) {
            ::mount(nullptr, qPrintable(m_dir.path()), nullptr, MS_REMOUNT, nullptr);
            QFile::remove(filePath(QStringLiteral(".filler")));
        }
    }

private:
    QTemporaryDir m_dir;
    bool m_mounted = false;
    rlimit m_sizeLimit {};
    bool m_sizeLimited = false;
};
