// The reply monitor without a window: baseline measurement and the check run, against pages on loopback.
#include <QSignalSpy>
#include <QTcpServer>
#include <QTest>

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
};

namespace {
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
    QCOMPARE(measured.first(), (QVariantList{4, server.address("/p"), 1234}));
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

QTEST_GUILESS_MAIN(tst_ReplyMonitor)
#include "tst_replymonitor.moc"
