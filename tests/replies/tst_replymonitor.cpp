// The reply monitor without a window: baseline measurement and the check run, against pages on loopback.
#include <QFile>
#include <QSignalSpy>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QTest>

#include "replies/kepttextstore.h"
#include "replies/replymonitor.h"
#include "support/pageserver.h"

class tst_ReplyMonitor : public QObject
{
    Q_OBJECT

private slots:
    void runGivesEveryPostItsOutcome();
    void thresholdIsAskedForEachAnswer();
    void baselineTellsIndexAddressAndSize();
    void baselineFailureIsToldOnceWithItsReason_data();
    void baselineFailureIsToldOnceWithItsReason();
    void keptTextTellsWhatRepliesSay_data();
    void keptTextTellsWhatRepliesSay();
};

namespace {
// A thread page as forums write them: what changes on every visit around the posts.
QByteArray threadPage(const QByteArray &head, int views, const QByteArray &time, const QByteArray &online,
                      const QByteArrayList &posts)
{
    QByteArray page = "<html><head>" + head + "<title>Help</title><script>var now = '" + time
        + "';</script></head><body><div class=nav>Forum &raquo; Help</div><div>Views: " + QByteArray::number(views)
        + "</div><div>Users online: " + online + "</div>";
    for (const QByteArray &post : posts) {
        page += "<div class=post>" + post + "</div>\n";
    }
    return page + "<div>Page generated at " + time + "</div></body></html>";
}

quint16 closedPort()
{
    QTcpServer server;
    server.listen(QHostAddress::LocalHost);
    return server.serverPort();
}
} // namespace

void tst_ReplyMonitor::runGivesEveryPostItsOutcome()
{
    PageServer server;
    server.bodies.insert("/grown", QByteArray(1600, 'a'));
    server.bodies.insert("/same", QByteArray(1000, 'b'));
    server.bodies.insert("/new", QByteArray(9000, 'c'));
    const QString refused = QStringLiteral("http://127.0.0.1:%1/gone").arg(closedPort());
    ReplyMonitor monitor([] { return 500; }, server.port());
    QSignalSpy replies(&monitor, &ReplyMonitor::newReplyFound);
    QSignalSpy checked(&monitor, &ReplyMonitor::postChecked);
    QSignalSpy finished(&monitor, &ReplyMonitor::checkFinished);
    QSignalSpy status(&monitor, &ReplyMonitor::statusText);
    monitor.startCheck({{server.address("/grown"), "1000"}, {refused, "1000"}, {server.address("/same"), "1000"},
                        {server.address("/new"), "unmeasured"}});
    QVERIFY(monitor.isChecking());
    QTRY_COMPARE(finished.count(), 1);
    QVERIFY(!monitor.isChecking());
    QCOMPARE(finished.first(), (QVariantList{1, 1, QStringList{server.address("/grown")}}));
    QCOMPARE(replies.count(), 1);
    QCOMPARE(replies.first(), (QVariantList{0, server.address("/grown")}));

    QHash<QString, PostResult> results;
    for (const QVariantList &args : std::as_const(checked)) {
        results.insert(args.at(1).toString(), args.at(2).value<PostResult>());
    }
    QCOMPARE(results.size(), 4);
    QCOMPARE(results.value(server.address("/grown")).outcome, PostOutcome::NewReplies);
    QCOMPARE(results.value(refused).failure, PageFailure::Refused);
    QCOMPARE(results.value(server.address("/same")).outcome, PostOutcome::Unchanged);
    QCOMPARE(results.value(server.address("/new")).outcome, PostOutcome::Baseline);
    QCOMPARE(results.value(server.address("/new")).newSize, 9000);
    QCOMPARE(status.last(), (QVariantList{1, QStringLiteral("finished - 1 new replies found, 1 could not be checked")}));
}

void tst_ReplyMonitor::thresholdIsAskedForEachAnswer()
{
    PageServer server;
    server.bodies.insert("/a", QByteArray(300, 'a'));
    int asked = 0;
    ReplyMonitor monitor([&asked] { return ++asked == 1 ? 500 : 100; }, server.port());
    QSignalSpy finished(&monitor, &ReplyMonitor::checkFinished);
    monitor.startCheck({{server.address("/a"), "0"}, {server.address("/a"), "0"}});
    QTRY_COMPARE(finished.count(), 1);
    QCOMPARE(asked, 2);
    QCOMPARE(finished.first().first().toInt(), 1);
}

void tst_ReplyMonitor::baselineTellsIndexAddressAndSize()
{
    PageServer server;
    server.bodies.insert("/p", QByteArray(1234, 'p'));
    ReplyMonitor monitor([] { return 500; }, server.port());
    QSignalSpy measured(&monitor, &ReplyMonitor::baselineMeasured);
    QSignalSpy status(&monitor, &ReplyMonitor::statusText);
    monitor.measureBaseline(server.address("/p"), 4);
    QTRY_COMPARE(measured.count(), 1);
    QCOMPARE(measured.first().mid(0, 3), (QVariantList{4, server.address("/p"), 1234}));
    QCOMPARE(status.last(), (QVariantList{2, QStringLiteral("Response completed")}));
}

void tst_ReplyMonitor::baselineFailureIsToldOnceWithItsReason_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("text");
    QTest::newRow("refused") << "refused" << "Error occurred.\r\nError #: 0\r\nConnection refused";
    QTest::newRow("error-status") << "/missing"
                                  << "Error occurred.\r\nError #: 404\r\nServer error: status 404";
    // The limits come from the timeout source, asked at each measurement.
    QTest::newRow("silent") << "/slow" << "Error occurred.\r\nError #: 5\r\nNo answer: Nothing arrived for 1 second";
}

void tst_ReplyMonitor::baselineFailureIsToldOnceWithItsReason()
{
    QFETCH(QString, path);
    QFETCH(QString, text);
    PageServer server;
    server.statuses.insert("/missing", "404 Not Found");
    server.holding = true;
    const QString address
        = path == "refused" ? QStringLiteral("http://127.0.0.1:%1/").arg(closedPort()) : server.address(path);
    ReplyMonitor monitor([] { return 500; }, server.port());
    monitor.setTimeoutSource([] { return ProbeTimeouts{5000, 1000, 10000}; });
    QSignalSpy measured(&monitor, &ReplyMonitor::baselineMeasured);
    QSignalSpy failed(&monitor, &ReplyMonitor::probeFailed);
    monitor.measureBaseline(address, 0);
    QTRY_COMPARE_WITH_TIMEOUT(failed.count(), 1, 5000);
    QCOMPARE(failed.first().first().toString(), text);
    QTest::qWait(100);
    QCOMPARE(failed.count(), 1);
    QCOMPARE(measured.count(), 0);
}

void tst_ReplyMonitor::keptTextTellsWhatRepliesSay_data()
{
    QTest::addColumn<QByteArray>("contentType");
    QTest::addColumn<QByteArray>("before");
    QTest::addColumn<QByteArray>("after");
    QTest::addColumn<QByteArray>("between"); // a page checked between the two, when not empty
    QTest::addColumn<QString>("lost"); // "file": the kept file went missing; "post": the post was removed
    QTest::addColumn<PostOutcome>("outcome");
    QTest::addColumn<QStringList>("newText");
    const QByteArrayList latin1{"<b>ana</b><p>O\xF9 l'acheter ?</p>"};
    const QByteArray latin1Reply = "<b>marie</b><p>Chez le caf\xE9 du coin, 3 &euro; le paquet.</p>";
    const QByteArray latin1Before = threadPage("", 120, "10:01:02", "carol, dave", latin1);
    const QByteArray latin1After = threadPage("", 131, "10:07:45", "erin", latin1 + QByteArrayList{latin1Reply});
    const QStringList latin1Text{QString::fromUtf8("marie\nChez le café du coin, 3 € le paquet.")};
    const QByteArray meta = "<meta charset=\"utf-8\">";
    const QByteArrayList utf8{"<b>ivan</b><p>\xD0\x93\xD0\xB4\xD0\xB5 \xD0\xBA\xD1\x83\xD0\xBF\xD0\xB8\xD1\x82\xD1\x8C?</p>"};
    const QByteArray utf8Reply = "<b>olga</b><p>\xD0\x92 \xD0\xBC\xD0\xB0\xD0\xB3\xD0\xB0\xD0\xB7\xD0\xB8\xD0\xBD\xD0\xB5 "
                                 "\xD0\xBD\xD0\xB0 \xD1\x83\xD0\xB3\xD0\xBB\xD1\x83.</p>";
    QTest::newRow("iso-8859-1-grown-by-a-reply")
        << QByteArray("text/html; charset=ISO-8859-1") << latin1Before << latin1After << QByteArray() << QString()
        << PostOutcome::NewReplies << latin1Text;
    QTest::newRow("utf-8-meta-grown-by-a-reply")
        << QByteArray("text/html") << threadPage(meta, 7, "23:59", "-", utf8)
        << threadPage(meta, 9, "00:00", "nobody", utf8 + QByteArrayList{utf8Reply}) << QByteArray() << QString()
        << PostOutcome::NewReplies << QStringList{QString::fromUtf8("olga\nВ магазине на углу.")};
    QTest::newRow("shrank") << QByteArray("text/html; charset=ISO-8859-1") << latin1After << latin1Before << QByteArray()
                            << QString() << PostOutcome::Unchanged << QStringList();
    QTest::newRow("kept-text-missing-is-taken-now")
        << QByteArray("text/html; charset=ISO-8859-1") << latin1Before << latin1After << QByteArray() << QString("file")
        << PostOutcome::NewReplies << QStringList();
    QTest::newRow("removed-post-keeps-no-text")
        << QByteArray("text/html; charset=ISO-8859-1") << latin1Before << latin1After << QByteArray() << QString("post")
        << PostOutcome::NewReplies << QStringList();
    // A reply too short to be news on its own is part of the news once the page has grown enough.
    const QByteArray shortReply = "<p>Me too!</p>";
    QTest::newRow("short-reply-told-with-the-next")
        << QByteArray("text/html; charset=ISO-8859-1") << latin1Before
        << threadPage("", 131, "10:07:45", "erin", latin1 + QByteArrayList{shortReply, latin1Reply})
        << threadPage("", 125, "10:03:00", "carol, dave", latin1 + QByteArrayList{shortReply}) << QString()
        << PostOutcome::NewReplies << QStringList{"Me too!\n" + latin1Text.first()};
}

// Watched, then checked after the page changed: the check tells what the replies say.
void tst_ReplyMonitor::keptTextTellsWhatRepliesSay()
{
    QFETCH(QByteArray, contentType);
    QFETCH(QByteArray, before);
    QFETCH(QByteArray, after);
    QFETCH(QByteArray, between);
    QFETCH(QString, lost);
    QFETCH(PostOutcome, outcome);
    QFETCH(QStringList, newText);
    QTemporaryDir dir;
    KeptTextStore store(dir.path());
    PageServer server;
    server.bodies.insert("/t", before);
    server.contentTypes.insert("/t", contentType);
    const QString address = server.address("/t");
    // One short reply is news.
    ReplyMonitor monitor([] { return 40; }, server.port());
    monitor.setKeptTexts(&store);
    QSignalSpy measured(&monitor, &ReplyMonitor::baselineMeasured);
    monitor.measureBaseline(address, 0);
    QTRY_COMPARE(measured.count(), 1);
    QVERIFY(store.read(address));
    if (lost == "file") {
        QVERIFY(QFile::remove(store.fileOf(address)));
    } else if (lost == "post") {
        monitor.forgetPost(address);
    }
    QCOMPARE(bool(store.read(address)), lost.isEmpty());

    QSignalSpy checked(&monitor, &ReplyMonitor::postChecked);
    const QString storedSize = QString::number(measured.first().at(2).toInt());
    if (!between.isEmpty()) {
        server.bodies.insert("/t", between);
        monitor.startCheck({{address, storedSize}});
        QTRY_COMPARE(checked.count(), 1);
        QCOMPARE(checked.takeFirst().at(2).value<PostResult>().outcome, PostOutcome::Unchanged);
    }
    server.bodies.insert("/t", after);
    monitor.startCheck({{address, storedSize}});
    QTRY_COMPARE(checked.count(), 1);
    const auto result = checked.first().at(2).value<PostResult>();
    QCOMPARE(result.outcome, outcome);
    QCOMPARE(result.newText, newText);
    // A text that was missing is the page's text from now on.
    QVERIFY(store.read(address));
}

QTEST_GUILESS_MAIN(tst_ReplyMonitor)
#include "tst_replymonitor.moc"
