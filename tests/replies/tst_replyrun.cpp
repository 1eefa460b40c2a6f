#include <QFile>
#include <QSignalSpy>
#include <QTest>

#include "replies/replyrun.h"
#include "support/bodyserver.h"
#include "support/delayedserver.h"
#include "support/scriptedserver.h"

#include <algorithm>

namespace {

enum class Behaviour { Page, SlowPage, Silent, HeaderNeverEnds, Reset, Missing };

void answer(QTcpSocket *socket, Behaviour behaviour, int size)
{
    const QByteArray page = "HTTP/1.1 200 OK\r\n\r\n" + QByteArray(size, 'p');
    switch (behaviour) {
    case Behaviour::Page:
        sendPieces(socket, { page }, Ending::Close);
        break;
    case Behaviour::SlowPage:
        QTimer::singleShot(300, socket, [socket, page] { sendPieces(socket, { page }, Ending::Close); });
        break;
    case Behaviour::Silent:
        break;
    case Behaviour::HeaderNeverEnds:
        socket->write("HTTP/1.1 200 OK\r\nX-Pad: ");
        break;
    case Behaviour::Reset:
        sendPieces(socket, { "HTTP/1.1 200 OK\r\n\r\n", QByteArray(500, 'x') }, Ending::Reset, 20);
        break;
    case Behaviour::Missing:
        sendPieces(socket, { "HTTP/1.1 404 Not Found\r\n\r\nnothing here" }, Ending::Close);
        break;
    }
}

QByteArray requestPath(const QByteArray &request)
{
    return request.split(' ').value(1);
}

// Peak memory of this process in MiB.
double peakMemoryMiB()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly)) {
        return -1;
    }
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith("VmHWM:")) {
            return line.mid(6).trimmed().split(' ').value(0).toDouble() / 1024.0;
        }
    }
    return -1;
}

struct Report
{
    int index;
    PostResult result;
};

} // namespace

class TestReplyRun : public QObject
{
    Q_OBJECT

private slots:
    void everyPostGetsItsOutcome();
    void connectionLimits();
    void limitFollowsRedirects();
    void oneServerSeesAtMostItsConnections();
    void restartDropsTheOldRun();
    void thresholdIsAskedPerAnswer();
    void noPostsFinishesAtOnce();
    void gigabytePageIsCountedNotKept();
};

void TestReplyRun::everyPostGetsItsOutcome()
{
    struct Row
    {
        const char *path; // empty: the address itself is given
        Behaviour behaviour;
        int size;
        const char *stored;
        PostOutcome outcome;
        qint64 growth;
        PageFailure failure = PageFailure::None;
    };
    const Row rows[] = {
        { "/grown-late", Behaviour::SlowPage, 2000, "1000", PostOutcome::NewReplies, 1000 },
        { "/same", Behaviour::Page, 1200, "1000", PostOutcome::Unchanged, 200 },
        { "/new-post", Behaviour::Page, 700, "unmeasured", PostOutcome::Baseline, 0 },
        { "/silent", Behaviour::Silent, 0, "1000", PostOutcome::NotChecked, 0, PageFailure::NoAnswer },
        { "refused", Behaviour::Page, 0, "1000", PostOutcome::NotChecked, 0, PageFailure::Refused },
        { "/gone", Behaviour::Missing, 0, "1000", PostOutcome::NotChecked, 0, PageFailure::ServerError },
        { "/reset", Behaviour::Reset, 0, "1000", PostOutcome::NotChecked, 0, PageFailure::Broken },
        { "/endless-header", Behaviour::HeaderNeverEnds, 0, "1000", PostOutcome::NotChecked, 0, PageFailure::NoAnswer },
        { "ftp://127.0.0.1/x", Behaviour::Page, 0, "1000", PostOutcome::NotChecked, 0, PageFailure::BadAddress },
        { "/grown", Behaviour::Page, 5000, "100", PostOutcome::NewReplies, 4900 },
        { "/junk-size", Behaviour::Page, 300, "12 kB", PostOutcome::Baseline, 0 },
        { "/shrunk", Behaviour::Page, 100, "1000", PostOutcome::Unchanged, -900 },
    };
    const int count = int(std::size(rows));

    ScriptedServer server;
    server.script = [&](QTcpSocket *socket) {
        const QByteArray path = requestPath(server.requests.last());
        for (const Row &row : rows) {
            if (path == row.path) {
                answer(socket, row.behaviour, row.size);
            }
        }
    };
    quint16 closedPort = 0;
    {
        QTcpServer gone;
        QVERIFY(gone.listen(QHostAddress(QHostAddress::LocalHost), 0));
        closedPort = gone.serverPort();
    }
    QList<ReplyRunPost> posts;
    for (const Row &row : rows) {
        const QString path = QString::fromLatin1(row.path);
        QString address = QStringLiteral("http://127.0.0.1:%1%2").arg(server.port()).arg(path);
        if (path == QLatin1String("refused")) {
            address = QStringLiteral("http://127.0.0.1:%1/").arg(closedPort);
        } else if (!path.startsWith(QLatin1Char('/'))) {
            address = path;
        }
        posts.append({ address, QString::fromLatin1(row.stored) });
    }

    ReplyRun run;
    run.setTimeouts({ 2000, 500, 5000 });
    QList<Report> reports;
    QStringList progress;
    QList<std::pair<int, int>> found;
    connect(&run, &ReplyRun::postChecked, this, [&](int index, const PostResult &result) {
        reports.append({ index, result });
    });
    connect(&run, &ReplyRun::progressText, this, [&](const QString &text) { progress.append(text); });
    connect(&run, &ReplyRun::newReplyFound, this, [&](int index, int position) { found.append({ index, position }); });
    QSignalSpy finished(&run, &ReplyRun::finished);

    run.start(posts);
    QVERIFY(run.isRunning());
    QVERIFY(finished.wait(10000));
    QVERIFY(!run.isRunning());

    QCOMPARE(reports.size(), count);
    std::sort(reports.begin(), reports.end(), [](const Report &a, const Report &b) { return a.index < b.index; });
    for (int i = 0; i < count; ++i) {
        const Row &row = rows[i];
        const PostResult &result = reports.at(i).result;
        QCOMPARE(reports.at(i).index, i);
        QVERIFY2(result.outcome == row.outcome && result.failure == row.failure,
            qPrintable(QString::fromLatin1(row.path) + QStringLiteral(": ") + result.text()));
        if (row.outcome == PostOutcome::NewReplies || row.outcome == PostOutcome::Unchanged) {
            QCOMPARE(result.growth, row.growth);
        }
        if (result.wasChecked()) {
            QCOMPARE(result.newSize, row.size);
        }
        QVERIFY(!result.text().isEmpty());
    }
    QCOMPARE(reports.at(5).result.status, 404);
    QCOMPARE(reports.at(5).result.text(), QStringLiteral("Server error: status 404"));

    // The late answer of the first post still puts it first.
    QCOMPARE(run.newReplies(), QStringList({ posts.at(0).address, posts.at(9).address }));
    QCOMPARE(found, (QList<std::pair<int, int>> { { 9, 0 }, { 0, 0 } }));
    QCOMPARE(finished.first(), (QList<QVariant> { 2, 6 }));
    QCOMPARE(progress.size(), count + 1);
    for (int i = 0; i < count; ++i) {
        QCOMPARE(progress.at(i), QStringLiteral("checking post %1").arg(i + 1));
    }
    QCOMPARE(progress.last(), QStringLiteral("finished - 2 new replies found, 6 could not be checked"));
}

void TestReplyRun::connectionLimits()
{
    constexpr int hosts = 10;
    constexpr int postsPerHost = 5;
    std::vector<std::unique_ptr<ScriptedServer>> servers;
    std::vector<int> open(hosts, 0);
    std::vector<int> peak(hosts, 0);
    int openAll = 0;
    int peakAll = 0;
    QList<ReplyRunPost> posts;
    for (int h = 0; h < hosts; ++h) {
        const QString host = QStringLiteral("127.0.0.%1").arg(11 + h);
        servers.push_back(std::make_unique<ScriptedServer>(QHostAddress(host)));
        servers.back()->script = [&, h](QTcpSocket *socket) {
            peak[h] = std::max(peak[h], ++open[h]);
            peakAll = std::max(peakAll, ++openAll);
            QTimer::singleShot(200, socket, [&, h, socket] {
                --open[h];
                --openAll;
                sendPieces(socket, { "HTTP/1.1 200 OK\r\n\r\nok" }, Ending::Close);
            });
        };
        for (int p = 0; p < postsPerHost; ++p) {
            posts.append({ QStringLiteral("http://%1:%2/p%3").arg(host).arg(servers.back()->port()).arg(p), "2" });
        }
    }

    ReplyRun run;
    QSignalSpy finished(&run, &ReplyRun::finished);
    run.start(posts);
    QVERIFY(finished.wait(10000));
    QCOMPARE(finished.first(), (QList<QVariant> { 0, 0 }));
    QCOMPARE(run.doneCount(), hosts * postsPerHost);
    // Ten hosts could take 40 connections; all of them together get 32.
    QCOMPARE(*std::max_element(peak.begin(), peak.end()), ReplyRun::MaxConnectionsPerHost);
    QCOMPARE(peakAll, ReplyRun::MaxConnections);
}

void TestReplyRun::limitFollowsRedirects()
{
    // Two names, each with six posts, redirect to one server: it sees four at once, not eight.
    ScriptedServer target;
    int open = 0;
    int peak = 0;
    target.script = [&](QTcpSocket *socket) {
        peak = std::max(peak, ++open);
        QTimer::singleShot(200, socket, [&, socket] {
            --open;
            sendPieces(socket, { "HTTP/1.1 200 OK\r\nContent-Length: 2\r\n\r\nok" }, Ending::Close);
        });
    };
    std::vector<std::unique_ptr<ScriptedServer>> names;
    QList<ReplyRunPost> posts;
    for (const char *name : { "127.0.0.41", "127.0.0.42" }) {
        names.push_back(std::make_unique<ScriptedServer>(QHostAddress(QString::fromLatin1(name))));
        names.back()->script = [&](QTcpSocket *socket) {
            const QByteArray location = "http://127.0.0.1:" + QByteArray::number(target.port()) + "/p";
            sendPieces(socket, { "HTTP/1.1 301 Moved\r\nLocation: " + location + "\r\nContent-Length: 0\r\n\r\n" },
                Ending::Close);
        };
        for (int p = 0; p < 6; ++p) {
            posts.append({ QStringLiteral("http://%1:%2/p%3").arg(name).arg(names.back()->port()).arg(p), "0" });
        }
    }

    ReplyRun run;
    QSignalSpy finished(&run, &ReplyRun::finished);
    run.start(posts);
    QVERIFY(finished.wait(10000));
    QCOMPARE(finished.first(), (QList<QVariant> { 0, 0 }));
    QCOMPARE(target.requests.size(), 12);
    QCOMPARE(peak, ReplyRun::MaxConnectionsPerHost);
}

// Counted from the server's side: a connection ends there when our close reaches it, and the kernel's list of
// its connections may show it a moment longer. A new connection waits until the server has seen the last end.
void TestReplyRun::oneServerSeesAtMostItsConnections()
{
    DelayedServer server({ QStringLiteral("127.0.0.51") }, 3000, 20);
    QList<ReplyRunPost> posts;
    for (int p = 0; p < 200; ++p) {
        posts.append({ QStringLiteral("http://127.0.0.51:%1/t%2").arg(server.port(0)).arg(p), "3000" });
    }
    ReplyRun run;
    QSignalSpy finished(&run, &ReplyRun::finished);
    run.start(posts);
    QVERIFY(finished.wait(30000));
    QCOMPARE(finished.first(), (QList<QVariant> { 0, 0 }));
    QCOMPARE(server.peakConnections(0), ReplyRun::MaxConnectionsPerHost);
    QCOMPARE(server.peakConnections(1), ReplyRun::MaxConnectionsPerHost);
}

void TestReplyRun::restartDropsTheOldRun()
{
    ScriptedServer server;
    server.script = [&](QTcpSocket *socket) {
        if (requestPath(server.requests.last()) != "/silent") {
            sendPieces(socket, { "HTTP/1.1 200 OK\r\n\r\n" + QByteArray(3000, 'a') }, Ending::Close);
        }
    };
    const QString base = QStringLiteral("http://127.0.0.1:%1").arg(server.port());
    ReplyRun run;
    QList<int> reported;
    connect(&run, &ReplyRun::postChecked, this, [&](int index) { reported.append(index); });
    QSignalSpy finished(&run, &ReplyRun::finished);

    run.start({ { base + "/silent", "1000" }, { base + "/silent", "1000" } });
    QTRY_COMPARE_WITH_TIMEOUT(server.requests.size(), 2, 5000);
    run.start({ { base + "/page", "1000" } });
    QVERIFY(finished.wait(5000));
    QTest::qWait(100);
    QCOMPARE(reported, QList<int> { 0 });
    QCOMPARE(finished.size(), 1);
    QCOMPARE(run.newReplies(), QStringList { base + "/page" });
    // The abandoned connections were closed from this side.
    QTRY_COMPARE_WITH_TIMEOUT(server.closedByClient, 3, 5000);
}

void TestReplyRun::thresholdIsAskedPerAnswer()
{
    ScriptedServer server;
    server.script = [](QTcpSocket *socket) {
        sendPieces(socket, { "HTTP/1.1 200 OK\r\n\r\n" + QByteArray(1600, 'a') }, Ending::Close);
    };
    const QString base = QStringLiteral("http://127.0.0.1:%1").arg(server.port());
    ReplyRun run;
    run.setConnectionLimits(1, 1);
    qint32 threshold = 500;
    int asked = 0;
    run.setThresholdSource([&] {
        ++asked;
        return threshold;
    });
    QList<PostOutcome> outcomes;
    connect(&run, &ReplyRun::postChecked, this, [&](int, const PostResult &result) {
        outcomes.append(result.outcome);
        // Saved while the run goes on: counts from the next answer.
        threshold = 1000;
    });
    QSignalSpy finished(&run, &ReplyRun::finished);

    run.start({ { base + "/a", "1000" }, { base + "/b", "1000" } });
    QVERIFY(finished.wait(5000));
    QCOMPARE(outcomes, (QList<PostOutcome> { PostOutcome::NewReplies, PostOutcome::Unchanged }));
    QCOMPARE(asked, 2);
}

void TestReplyRun::noPostsFinishesAtOnce()
{
    ReplyRun run;
    QSignalSpy progress(&run, &ReplyRun::progressText);
    QSignalSpy finished(&run, &ReplyRun::finished);
    run.start({});
    QCOMPARE(progress.size(), 1);
    QCOMPARE(progress.first().first().toString(), QStringLiteral("finished - 0 new replies found"));
    QCOMPARE(finished.size(), 1);
    QVERIFY(!run.isRunning());
}

void TestReplyRun::gigabytePageIsCountedNotKept()
{
    const qint64 bodySize = qint64(1) << 30;
    const double peakBefore = peakMemoryMiB();
    BodyServer server(bodySize);
    ReplyRun run;
    QSignalSpy checked(&run, &ReplyRun::postChecked);
    QSignalSpy finished(&run, &ReplyRun::finished);
    run.start({ { QStringLiteral("http://127.0.0.1:%1/huge").arg(server.port()), "1000" } });
    QVERIFY(finished.wait(60000));
    const auto result = checked.first().at(1).value<PostResult>();
    QCOMPARE(result.outcome, PostOutcome::NewReplies);
    QCOMPARE(result.newSize, qint32(bodySize));
    QVERIFY2(peakMemoryMiB() - peakBefore < 64, qPrintable(QString::number(peakMemoryMiB() - peakBefore)));
}

QTEST_GUILESS_MAIN(TestReplyRun)
#include "tst_replyrun.moc"
