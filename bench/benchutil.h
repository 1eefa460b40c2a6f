#pragma once

#include <QDir>
#include <QFile>
#include <QHash>
#include <QRandomGenerator>
#include <QString>

#include <unistd.h>

// Peak resident memory of a process (this one by default) in MiB, from the kernel's own record.
inline double peakMemoryMiB(const QString &pid = QStringLiteral("self"))
{
    QFile status(QStringLiteral("/proc/") + pid + QStringLiteral("/status"));
    if (!status.open(QIODevice::ReadOnly)) {
        return -1;
    }
    // Files under /proc report a size of 0, so read them whole rather than testing atEnd().
    const QList<QByteArray> lines = status.readAll().split('\n');
    for (const QByteArray &line : lines) {
        if (line.startsWith("VmHWM:")) {
            return line.mid(6).trimmed().split(' ').value(0).toDouble() / 1024.0;
        }
    }
    return -1;
}

// The sum of the peaks of every process started by this one, children's children included (the browser
// engine's helpers), in MiB: an upper bound of what they held at any one time.
inline double descendantsPeakMemoryMiB()
{
    QHash<qint64, qint64> parentOf;
    const QStringList entries = QDir(QStringLiteral("/proc")).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    for (const QString &entry : entries) {
        bool isPid = false;
        const qint64 pid = entry.toLongLong(&isPid);
        QFile stat(QStringLiteral("/proc/") + entry + QStringLiteral("/stat"));
        if (!isPid || !stat.open(QIODevice::ReadOnly)) {
            continue;
        }
        // The command name may hold blanks and brackets; the fields after its last ")" are plain.
        const QByteArray line = stat.readAll();
        const QList<QByteArray> fields = line.mid(line.lastIndexOf(')') + 2).split(' ');
        parentOf.insert(pid, fields.value(1).toLongLong());
    }
    double total = 0;
    for (auto it = parentOf.cbegin(); it != parentOf.cend(); ++it) {
        qint64 ancestor = it.value();
        for (int depth = 0; depth < 64 && ancestor > 1; ++depth) {
            if (ancestor == qint64(::getpid())) {
                total += qMax(0.0, peakMemoryMiB(QString::number(it.key())));
                break;
            }
            ancestor = parentOf.value(ancestor, 0);
        }
    }
    return total;
}

// Forum-like filler of the given size, so a page looks like what a server sends, not a run of one byte. Typographic
// filler has dashes and quotes past ASCII, in UTF-8, as most pages have.
inline QByteArray threadPage(qsizetype size, QRandomGenerator &random, bool typographic = false)
{
    static const QByteArray pieces[] = {
        "<div class=\"post\"><span class=\"author\">member",
        "</span><p>Thanks for the tip, I will try it tonight.</p>",
        "<a href=\"http://forum.example.com/viewtopic.php?t=",
        "\">read more</a></div>\n",
        "</span><p>Thanks for the tip \xE2\x80\x94 I\xE2\x80\x99ll try it tonight.</p>",
    };
    QByteArray page = "<html><head><title>Thread</title></head><body>\n";
    page.reserve(size);
    while (page.size() < size) {
        const int piece = int(random.bounded(4));
        page += pieces[typographic && piece == 1 ? 4 : piece];
        page += QByteArray::number(random.bounded(100000));
    }
    page.truncate(size);
    // Not a character cut in two at the end.
    while (typographic && !QByteArrayView(page).isValidUtf8()) {
        page.chop(1);
    }
    return page;
}
