#pragma once

#include <QFile>
#include <QString>

// Peak resident memory of this process in MiB, from the kernel's own record.
inline double peakMemoryMiB()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly)) {
        return -1;
    }
    while (!status.atEnd()) {
        const QByteArray line = status.readLine();
        if (line.startsWith("VmHWM:")) {
            return line.mid(6).trimmed().split(' ').value(0).toDouble() / 1024.0;
        }
    }
    return -1;
}
