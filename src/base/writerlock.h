#pragma once

#include <QLockFile>
#include <QString>

// The lock that lets one Postavo at a time write the lists of a data folder: the window for as long as it runs,
// or one "postavo --check". A holder that died leaves a lock the next one takes over.
class WriterLock
{
public:
    explicit WriterLock(const QString &dataFolder);

    // Takes the lock if no one holds it.
    bool tryTake();
    // Asks the holder, when it is a check that runs without a window, to end as an end request does, and takes
    // the lock once it has let go, waiting at most waitMs. False when the holder kept it (another window).
    bool takeFromHolder(int waitMs);

private:
    QLockFile m_lock;
};
