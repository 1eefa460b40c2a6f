#include "base/writerlock.h"

#include <QDir>
#include <QFile>
#include <QString>
#include <csignal>

namespace {

// Whether the process runs "postavo --check", by its arguments as the system lists them.
bool isCheck(qint64 pid)
{
    QFile arguments(QStringLiteral("/proc/%1/cmdline").arg(pid));
    return arguments.open(QIODevice::ReadOnly) && arguments.readAll().split('\0').contains("--check");
}

} // namespace

WriterLock::WriterLock(const QString &dataFolder)
    : m_lock(QDir(dataFolder).filePath(QStringLiteral("postavo.lock")))
{
    // Only a holder that died leaves the lock behind; its process number tells that, not the lock's age.
    m_lock.setStaleLockTime(0);
}

bool WriterLock::tryTake()
{
    return m_lock.tryLock(0);
}

bool WriterLock::takeFromHolder(int waitMs)
{
    if (m_lock.tryLock(0)) {
        return true;
    }
    qint64 pid = 0;
    QString host;
    QString application;
    // A check saves what it has measured and lets go; another window is left alone.
    if (!m_lock.getLockInfo(&pid, &host, &application) || pid <= 0 || !isCheck(pid)) {
        return false;
    }
    ::kill(pid_t(pid), SIGTERM);
    return m_lock.tryLock(waitMs);
}
