// Converts a large forum-like text with the html format and prints the throughput and the peak memory.
//   bench_linkconversion [megabytes] [runs]

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QRandomGenerator>
#include <QStringList>
#include <QTextStream>
#include <algorithm>
#include <ctime>
#include <vector>

#include "benchutil.h"
#include "links/linkconversion.h"
#include "links/linkformats.h"

namespace {

// Ordinary prose with CR LF line ends, about one URL per 200 characters and one address per 600.
QString forumText(qsizetype targetSize)
{
    static const char *const words[] = { "the", "forum", "post", "reply", "thanks", "for", "sharing", "this", "is",
        "great", "I", "think", "you", "should", "try", "our", "new", "version", "it", "works", "fine", "with", "most",
        "browsers", "and", "has", "a", "lot", "of", "useful", "features", "check", "out", "page", "here", "Hello,",
        "again!", "really?", "(see", "below)", "done.", "well" };
    const int wordCount = int(sizeof(words) / sizeof(words[0]));
    QRandomGenerator random(20240611);
    QString text;
    text.reserve(targetSize + 200);
    qsizetype nextUrl = 100;
    qsizetype nextMail = 300;
    int lineLength = 0;
    int serial = 0;
    while (text.size() < targetSize) {
        if (text.size() >= nextUrl) {
            text += QStringLiteral("http://www.example%1.com/forum/topic.php?id=%2").arg(serial % 97).arg(serial);
            ++serial;
            nextUrl += 150 + random.bounded(100);
        } else if (text.size() >= nextMail) {
            text += QStringLiteral("user%1@mail%2.example.org").arg(serial).arg(serial % 13);
            ++serial;
            nextMail += 450 + random.bounded(300);
        } else {
            text += QLatin1String(words[random.bounded(wordCount)]);
        }
        lineLength += 8;
        if (lineLength > 70 + random.bounded(20)) {
            text += QStringLiteral("\r\n");
            lineLength = 0;
        } else {
            text += QLatin1Char(' ');
        }
    }
    return text;
}

// CPU time of this process: on a busy machine it stays fair where wall time does not.
qint64 cpuNanoseconds()
{
    timespec now {};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return qint64(now.tv_sec) * 1000000000 + now.tv_nsec;
}

QString rateText(std::vector<double> rates)
{
    std::sort(rates.begin(), rates.end());
    return QStringLiteral("best %1, median %2")
        .arg(QString::number(rates.back(), 'f', 0), QString::number(rates[rates.size() / 2], 'f', 0));
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    const double megabytes = args.size() > 1 ? args.at(1).toDouble() : 16.0;
    const int runs = args.size() > 2 ? std::max(1, args.at(2).toInt()) : 9;

    const QString text = forumText(qsizetype(megabytes * 1000 * 1000));
    const LinkFormat html = LinkFormatTable::defaultRow(0);
    QTextStream out(stdout);
    out << "input: " << text.size() << " characters, " << text.count(QStringLiteral("http://")) << " URLs, "
        << text.count(QLatin1Char('@')) << " addresses\n";

    std::vector<double> wallRates;
    std::vector<double> cpuRates;
    qsizetype outputSize = 0;
    const double inputMB = double(text.size()) / 1e6;
    for (int run = 0; run < runs; ++run) {
        QElapsedTimer timer;
        timer.start();
        const qint64 cpuStart = cpuNanoseconds();
        const QString converted
            = convertLinks(text, html.LinkOpen01, html.LinkOpen02, html.LinkClose01, html.MailCall01);
        const qint64 cpu = cpuNanoseconds() - cpuStart;
        const qint64 wall = timer.nsecsElapsed();
        outputSize = converted.size();
        wallRates.push_back(inputMB / (double(wall) / 1e9));
        cpuRates.push_back(inputMB / (double(cpu) / 1e9));
    }
    out << "output: " << outputSize << " characters\n";
    out << "runs: " << runs << "\n";
    out << "throughput, MB of input characters per second of wall time: " << rateText(wallRates) << "\n";
    out << "throughput, MB of input characters per second of CPU time: " << rateText(cpuRates) << "\n";
    out << "peak memory: " << QString::number(peakMemoryMiB(), 'f', 1) << " MiB\n";
    return 0;
}
