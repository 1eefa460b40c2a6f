// Cost of keeping the pages' text in a reply check: 1,000 thread pages of 20 to 60 KB, every one grown by a
// reply since it was watched, served on loopback first by a thread of this process, then by nginx on
// 127.0.0.1:80 (needs root and nginx; skipped without them). A forum's server does not share the user's
// processor: nginx takes less of it from the check than the server thread does. Each check runs in a child
// process of its own, so that its peak memory is its own. First it prints how long a page takes to become its
// text in this process, for these pages and for the same with typographic characters in UTF-8.
//   bench_replytexts [runs]     (default: 3)
// Goal: the check that keeps the text and tells what was added takes at most 1.5 times the check without it.
#include "benchutil.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QSemaphore>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>

#include "replies/kepttextstore.h"
#include "replies/pagetext.h"
#include "replies/replymonitor.h"
#include "replies/replytexts.h"
#include "support/nginxserver.h"

#include <algorithm>
#include <cstdio>
#include <memory>
#include <sys/resource.h>
#include <unistd.h>
#include <vector>

namespace {

constexpr int s_pageCount = 1000;

// Serves each path's whole response, at once and without delay, from a thread of its own.
class PageServerThread : public QThread
{
public:
    explicit PageServerThread(QHash<QByteArray, QByteArray> responses)
        : m_responses(std::move(responses))
    {
        start();
        m_ready.acquire();
    }

    ~PageServerThread() override
    {
        quit();
        wait();
    }

    quint16 port() const { return m_port; }

protected:
    void run() override
    {
        QTcpServer server;
        server.setMaxPendingConnections(1000);
        server.listen(QHostAddress::LocalHost, 0);
        QObject::connect(&server, &QTcpServer::newConnection, &server, [this, &server] {
            while (QTcpSocket *socket = server.nextPendingConnection()) {
                QObject::connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
                QObject::connect(socket, &QTcpSocket::readyRead, socket, [this, socket] {
                    const QByteArray request = socket->readAll();
                    if (!request.contains("\r\n\r\n")) {
                        return;
                    }
                    socket->write(m_responses.value(request.split(' ').value(1)));
                    socket->disconnectFromHost();
                });
            }
        });
        m_port = server.serverPort();
        m_ready.release();
        exec();
    }

private:
    QHash<QByteArray, QByteArray> m_responses;
    quint16 m_port = 0;
    QSemaphore m_ready;
};

QByteArray reply(int i)
{
    QByteArray text = "<div class=\"post\"><span class=\"author\">newcomer" + QByteArray::number(i)
        + "</span><span class=\"date\">Today, 10:" + QByteArray::number(i % 60) + "</span><p>";
    for (int k = 0; k < 8; ++k) {
        text += "Does the product work with an older model, and where can I buy one near me? ";
    }
    return text + "</p></div>\n";
}

// One check in this process: "address size" lines in postsFile, texts kept in keptFolder when it is given.
int checkOnce(quint16 port, const QString &postsFile, const QString &keptFolder)
{
    QFile file(postsFile);
    if (!file.open(QIODevice::ReadOnly)) {
        return 1;
    }
    QList<ReplyMonitor::Post> posts;
    for (const QByteArray &line : file.readAll().split('\n')) {
        if (!line.isEmpty()) {
            posts.append(
                { QString::fromLatin1(line.split(' ').value(0)), QString::fromLatin1(line.split(' ').value(1)) });
        }
    }
    std::unique_ptr<KeptTextStore> store;
    ReplyMonitor monitor([] { return 500; }, port);
    if (!keptFolder.isEmpty()) {
        store = std::make_unique<KeptTextStore>(keptFolder);
        monitor.setKeptTexts(store.get());
    }
    int told = 0;
    int grown = 0;
    QObject::connect(
        &monitor, &ReplyMonitor::postChecked, &monitor, [&](int, const QString &, const PostResult &result) {
            grown += result.outcome == PostOutcome::NewReplies ? 1 : 0;
            told += result.newText.isEmpty() ? 0 : 1;
        });
    QEventLoop loop;
    QObject::connect(&monitor, &ReplyMonitor::checkFinished, &loop, &QEventLoop::quit);
    QTimer::singleShot(300000, &loop, &QEventLoop::quit);
    QElapsedTimer clock;
    clock.start();
    monitor.startCheck(posts);
    loop.exec();
    rusage usage {};
    getrusage(RUSAGE_SELF, &usage);
    const auto seconds = [](const timeval &t) { return double(t.tv_sec) + double(t.tv_usec) / 1e6; };
    std::printf("%.4f %.1f %d %d %.4f\n", clock.nsecsElapsed() / 1e9, peakMemoryMiB(), grown, told,
        seconds(usage.ru_utime) + seconds(usage.ru_stime));
    return 0;
}

struct Figures
{
    double seconds = 0;
    double peakMiB = 0;
    int grown = 0;
    int told = 0;
    double cpuSeconds = 0; // the checking process's, all its threads, start-up included
};

Figures runChild(quint16 port, const QString &postsFile, const QString &keptFolder)
{
    QProcess child;
    child.start(QCoreApplication::applicationFilePath(),
        { QStringLiteral("--check"), QString::number(port), postsFile, keptFolder });
    child.waitForFinished(600000);
    const QList<QByteArray> fields = child.readAllStandardOutput().trimmed().split(' ');
    return { fields.value(0).toDouble(), fields.value(1).toDouble(), fields.value(2).toInt(), fields.value(3).toInt(),
        fields.value(4).toDouble() };
}

// Microseconds a page takes to become its text, best of five rounds.
double textMicroseconds(const QList<QByteArray> &pages)
{
    double best = 1e9;
    for (int round = 0; round < 5; ++round) {
        QElapsedTimer clock;
        clock.start();
        for (qsizetype i = 0; i < pages.size(); ++i) {
            PageText::textLines("text/html; charset=utf-8", pages.at(i));
        }
        best = qMin(best, clock.nsecsElapsed() / 1e3 / double(pages.size()));
    }
    return best;
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// Checks with and without the text, in turns, against the server on port; false on a wrong result.
bool compare(const char *server, quint16 port, const QString &postsFile, const QString &keptFolder, int runs)
{
    std::vector<double> plain;
    std::vector<double> withText;
    double plainPeak = 0;
    double textPeak = 0;
    for (int run = 1; run <= runs; ++run) {
        const Figures a = runChild(port, postsFile, QString());
        const Figures b = runChild(port, postsFile, keptFolder);
        if (a.grown != s_pageCount || b.grown != s_pageCount || b.told != s_pageCount) {
            std::printf("%s: WRONG RESULT: %d and %d grown, %d told what was added (expected %d)\n", server, a.grown,
                b.grown, b.told, s_pageCount);
            return false;
        }
        plain.push_back(a.seconds);
        withText.push_back(b.seconds);
        plainPeak = qMax(plainPeak, a.peakMiB);
        textPeak = qMax(textPeak, b.peakMiB);
        std::printf("%s, run %d: sizes only %.0f pages/s, %.1f MiB peak, %.0f us CPU a page; "
                    "text kept %.0f pages/s, %.1f MiB peak, %.0f us CPU a page\n",
            server, run, s_pageCount / a.seconds, a.peakMiB, a.cpuSeconds * 1e6 / s_pageCount, s_pageCount / b.seconds,
            b.peakMiB, b.cpuSeconds * 1e6 / s_pageCount);
    }
    const double ratio = median(withText) / median(plain);
    std::printf("%s, median: sizes only %.0f pages/s (peak %.1f MiB), text kept %.0f pages/s (peak %.1f MiB); "
                "time with text %.2fx, goal 1.5x: %s\n",
        server, s_pageCount / median(plain), plainPeak, s_pageCount / median(withText), textPeak, ratio,
        ratio <= 1.5 ? "met" : "MISSED");
    return true;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.value(1) == QLatin1String("--check")) {
        return checkOnce(quint16(args.value(2).toUInt()), args.value(3), args.value(4));
    }
    const int runs = qMax(1, args.value(1, QStringLiteral("3")).toInt());

    // The pages as they were watched (their text kept, their size stored) and as they are now, also as files
    // for the web server.
    QTemporaryDir dir;
    KeptTextStore store(dir.filePath(QStringLiteral("page-texts")));
    const QString pagesFolder = dir.filePath(QStringLiteral("pages"));
    QDir().mkpath(pagesFolder);
    QRandomGenerator random(20261207);
    QHash<QByteArray, QByteArray> responses;
    QList<QByteArray> pagesNow;
    QByteArray postLines;
    qint64 totalBytes = 0;
    for (int i = 0; i < s_pageCount; ++i) {
        const QByteArray grownReply = reply(i);
        const QByteArray before = threadPage(20 * 1024 + random.bounded(40 * 1024 - grownReply.size()), random);
        const QByteArray now = before + grownReply;
        const QByteArray path = "/t" + QByteArray::number(i) + ".html";
        responses.insert(path,
            "HTTP/1.1 200 OK\r\nContent-Type: text/html; charset=utf-8\r\nContent-Length: "
                + QByteArray::number(now.size()) + "\r\n\r\n" + now);
        QFile page(pagesFolder + QString::fromLatin1(path));
        if (!page.open(QIODevice::WriteOnly) || page.write(now) != now.size()) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(page.fileName()));
            return 1;
        }
        totalBytes += now.size();
        pagesNow.append(now);
        const QString address = QStringLiteral("http://127.0.0.1") + QString::fromLatin1(path);
        ReplyTexts::keepBaseline(store, address, "text/html; charset=utf-8", before);
        postLines += address.toLatin1() + ' ' + QByteArray::number(before.size()) + '\n';
    }
    const QString postsFile = dir.filePath(QStringLiteral("posts"));
    QFile file(postsFile);
    if (!file.open(QIODevice::WriteOnly) || file.write(postLines) != postLines.size()) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(postsFile));
        return 1;
    }
    file.close();
    std::printf("%d grown pages, %.1f MB in all; kept texts %.1f MB on disk\n", s_pageCount, totalBytes / 1e6,
        store.totalSize() / 1e6);
    QList<QByteArray> typographicPages;
    for (const QByteArray &page : pagesNow) {
        typographicPages.append(threadPage(page.size(), random, true));
    }
    std::printf("a page's text alone, best of 5: these pages %.1f us, typographic pages in UTF-8 %.1f us\n",
        textMicroseconds(pagesNow), textMicroseconds(typographicPages));

    {
        const PageServerThread server(responses);
        if (!compare("server thread", server.port(), postsFile, store.folder(), runs)) {
            return 1;
        }
    }
    if (::geteuid() != 0 || NginxServer::executable().isEmpty()) {
        std::printf("nginx: skipped, needs root (port 80) and nginx (Debian package nginx-light)\n");
        return 0;
    }
    NginxServer nginx;
    nginx.setExtraConfig("  types { text/html html; }\n  charset utf-8;\n");
    QString why;
    if (!nginx.start(QStringLiteral("127.0.0.1:80"), pagesFolder, &why)) {
        std::fprintf(stderr, "the web server did not start: %s\n", qPrintable(why));
        return 1;
    }
    return compare("nginx", 80, postsFile, store.folder(), runs) ? 0 : 1;
}
