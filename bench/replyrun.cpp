// Speed of the reply run that checks many posts at once.
//   bench_replyrun [runs]     (default: 3)
// 1. 200 posts on 20 loopback hosts (127.0.0.11 to 127.0.0.30, 10 posts each), every answer delayed 100 ms by
//    a server on a thread of its own; then the same 200 posts on one host. Goals: 1.0 s and 5.5 s.
// 2. 1,000 thread pages of 20 to 60 KB from nginx on 127.0.0.1:80 without delay, in pages per second (needs
//    root and nginx; skipped without them).
#include "replies/replyrun.h"
#include "benchutil.h"
#include "support/delayedserver.h"
#include "support/nginxserver.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QRandomGenerator>
#include <QSemaphore>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>

#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <vector>

namespace {

constexpr int s_delayMs = 100;

struct RunResult
{
    double seconds = -1;
    int newReplies = -1;
    int notChecked = -1;
};

RunResult runOnce(const QList<ReplyRunPost> &posts, int total = ReplyRun::MaxConnections,
    int perHost = ReplyRun::MaxConnectionsPerHost)
{
    ReplyRun run;
    run.setConnectionLimits(total, perHost);
    RunResult result;
    QEventLoop loop;
    QObject::connect(&run, &ReplyRun::finished, &loop, [&](int newReplies, int notChecked) {
        result.newReplies = newReplies;
        result.notChecked = notChecked;
        loop.quit();
    });
    QTimer::singleShot(120000, &loop, &QEventLoop::quit);
    QElapsedTimer clock;
    clock.start();
    run.start(posts);
    loop.exec();
    result.seconds = clock.nsecsElapsed() / 1e9;
    return result;
}

void report(const char *what, const std::vector<RunResult> &runs, double goal)
{
    std::vector<double> seconds;
    bool allGood = true;
    for (const RunResult &r : runs) {
        seconds.push_back(r.seconds);
        allGood = allGood && r.notChecked == 0;
    }
    std::sort(seconds.begin(), seconds.end());
    std::printf("%s: best %.3f s, median %.3f s (%zu runs), goal %.1f s: %s%s\n", what, seconds.front(),
        seconds[seconds.size() / 2], seconds.size(), goal, seconds[seconds.size() / 2] <= goal ? "met" : "MISSED",
        allGood ? "" : " (SOME POSTS COULD NOT BE CHECKED)");
}

void delayedRuns(int runs)
{
    QStringList hosts;
    for (int i = 11; i <= 30; ++i) {
        hosts.append(QStringLiteral("127.0.0.%1").arg(i));
    }
    DelayedServer server(hosts, 30 * 1024, s_delayMs);
    QList<ReplyRunPost> spread;
    QList<ReplyRunPost> oneHost;
    for (int h = 0; h < hosts.size(); ++h) {
        for (int p = 0; p < 10; ++p) {
            spread.append({ QStringLiteral("http://%1:%2/t%3").arg(hosts.at(h)).arg(server.port(h)).arg(p), "0" });
            oneHost.append(
                { QStringLiteral("http://%1:%2/t%3-%4").arg(hosts.at(0)).arg(server.port(0)).arg(h).arg(p), "0" });
        }
    }
    std::vector<RunResult> spreadRuns;
    std::vector<RunResult> oneHostRuns;
    for (int run = 0; run < runs; ++run) {
        spreadRuns.push_back(runOnce(spread));
        oneHostRuns.push_back(runOnce(oneHost));
        std::printf("run %d: 20 hosts %.3f s (%d new replies), one host %.3f s (%d new replies)\n", run + 1,
            spreadRuns.back().seconds, spreadRuns.back().newReplies, oneHostRuns.back().seconds,
            oneHostRuns.back().newReplies);
    }
    report("200 posts on 20 hosts, answers delayed 100 ms", spreadRuns, 1.0);
    report("200 posts on one host, answers delayed 100 ms", oneHostRuns, 5.5);
    std::printf("connections one host had open at once, as it saw them: %d (limit %d)\n",
        server.peakConnections(0), ReplyRun::MaxConnectionsPerHost);
}

void nginxRuns(int runs)
{
    if (::geteuid() != 0 || NginxServer::executable().isEmpty()) {
        std::printf("1,000 pages from nginx: skipped, needs root (port 80) and nginx (Debian package nginx-light)\n");
        return;
    }
    QTemporaryDir tmp;
    const QString root = tmp.path();
    QRandomGenerator random(20240517);
    QList<ReplyRunPost> posts;
    int expectedGrown = 0;
    for (int i = 1; i <= 1000; ++i) {
        const QString name = QStringLiteral("p%1.html").arg(i, 4, 10, QLatin1Char('0'));
        const QByteArray page = threadPage(20 * 1024 + random.bounded(40 * 1024 + 1), random);
        QFile file(root + QLatin1Char('/') + name);
        if (!file.open(QIODevice::WriteOnly) || file.write(page) != page.size()) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(file.fileName()));
            return;
        }
        const bool grown = i % 10 == 0;
        expectedGrown += grown ? 1 : 0;
        posts.append({ QStringLiteral("http://127.0.0.1/") + name, QString::number(page.size() - (grown ? 1000 : 0)) });
    }
    NginxServer server;
    QString why;
    if (!server.start(QStringLiteral("127.0.0.1:80"), root, &why)) {
        std::fprintf(stderr, "the web server did not start: %s\n", qPrintable(why));
        return;
    }
    std::vector<double> together;
    std::vector<double> oneAtATime;
    for (int run = 0; run < runs; ++run) {
        const RunResult many = runOnce(posts);
        const RunResult single = runOnce(posts, 1, 1);
        if (many.newReplies != expectedGrown || single.newReplies != expectedGrown || many.notChecked != 0
            || single.notChecked != 0) {
            std::printf("1,000 pages from nginx: WRONG RESULT (%d and %d new replies, expected %d)\n", many.newReplies,
                single.newReplies, expectedGrown);
            return;
        }
        together.push_back(1000 / many.seconds);
        oneAtATime.push_back(1000 / single.seconds);
        std::printf("run %d: %.0f pages/s (4 per host), %.0f pages/s (one at a time)\n", run + 1, together.back(),
            oneAtATime.back());
    }
    std::sort(together.begin(), together.end());
    std::sort(oneAtATime.begin(), oneAtATime.end());
    std::printf("1,000 pages from nginx, no delay: best %.0f, median %.0f pages/s; one at a time: best %.0f, median "
                "%.0f pages/s\n",
        together.back(), together[together.size() / 2], oneAtATime.back(), oneAtATime[oneAtATime.size() / 2]);
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const int runs = qMax(1, app.arguments().value(1, QStringLiteral("3")).toInt());
    std::printf("peak memory before the runs: %.1f MiB\n", peakMemoryMiB());
    delayedRuns(runs);
    nginxRuns(runs);
    std::printf("peak memory: %.1f MiB\n", peakMemoryMiB());
    return 0;
}
