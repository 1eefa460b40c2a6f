#include "base/writerlock.h"

#include <QDir>
#include <QString>
#include <csignal>

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
    if (m_lock.getLockInfo(&pid, &host, &application) && pid > 0) {
        // A check saves what it has measured and lets go.
        ::kill(pid_t(pid), SIGTERM);
    }
    return m_lock.tryLock(waitMs);
}
