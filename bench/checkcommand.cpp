// "postavo --check" over 2,000 own posts served on loopback, as the timer runs it: its wall time and the most
// memory it held (peak resident set size), over a few runs.
//   bench_checkcommand [runs]     (default: 3)
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <sys/resource.h>
#include <sys/wait.h>

#include <cstdio>

#include "support/pageserver.h"
#include "support/programenvironment.h"

namespace {

constexpr int s_postCount = 2000;

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 3;
    PageServer server;
    QTemporaryDir home;
    const QString data = home.filePath(QStringLiteral(".local/share/Postavo"));
    QDir().mkpath(data);
    QByteArray posts;
    QByteArray sizes;
    QByteArray notes;
    for (int i = 0; i < s_postCount; ++i) {
        const QByteArray path = "/thread/" + QByteArray::number(i);
        // A thread page of about 30 KB; a tenth of them grown since their sizes were stored.
        QByteArray body = "<html><body><h1>Thread " + QByteArray::number(i) + "</h1>";
        for (int post = 0; post < 60; ++post) {
            body += "<div class=post><p>Reply " + QByteArray::number(post) + " with some words in it. "
                + QByteArray(400, 'w') + "</p></div>";
        }
        body += "</body></html>";
        server.bodies.insert(path, body);
        const QByteArray address = "http://127.0.0.1:" + QByteArray::number(server.port()) + path;
        posts += address + "\r\n\r\n";
        sizes += QByteArray::number(i % 10 == 0 ? body.size() - 2000 : body.size()) + "\r\n\r\n";
        notes += address + "\tb\t\r\n\r\n";
    }
    for (const auto &[name, bytes] : { std::pair { "posts.txt", posts }, { "sizes.txt", sizes }, { "postnotes.txt", notes } }) {
        QFile file(data + QLatin1Char('/') + QLatin1String(name));
        file.open(QIODevice::WriteOnly);
        file.write(bytes);
    }
    std::printf("postavo --check over %d posts on loopback (a tenth grown)\n", s_postCount);
    for (int run = 1; run <= runs; ++run) {
        QProcess check;
        QProcessEnvironment environment = programEnvironment(home.path());
        environment.remove(QStringLiteral("DISPLAY"));
        check.setProcessEnvironment(environment);
        QElapsedTimer wall;
        wall.start();
        check.start(QStringLiteral(POSTAVO_PROGRAM), { QStringLiteral("--check"), QStringLiteral("--quiet") });
        (void)QTest::qWaitFor([&check] { return check.state() == QProcess::NotRunning; }, 600000);
        const double seconds = wall.elapsed() / 1000.0;
        // The largest of the children waited for so far: runs only grow it when they hold more.
        rusage usage {};
        getrusage(RUSAGE_CHILDREN, &usage);
        std::printf("run %d: %.2f s, exit status %d, peak memory of the check so far %.1f MB\n", run, seconds,
            check.exitCode(), usage.ru_maxrss / 1024.0);
    }
    return 0;
}
