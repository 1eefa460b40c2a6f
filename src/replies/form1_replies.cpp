// The main window's page size probes and the reply check.
#include "app/form1.h"

#include "replies/pagesizeprobe.h"

void Form1::startSizeProbe(const QString &address, qint16 index)
{
    sizeProbeTargetIndex = index;
    wscSizes->start(address);
}

void Form1::startCheckProbe(const QString &address)
{
    wscPosts->start(address);
}

void Form1::wscSizes_Close()
{
}
