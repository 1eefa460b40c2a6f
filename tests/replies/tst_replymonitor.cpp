// The reply monitor without a window: baseline measurement and the check run, against pages on loopback.
#include <QSignalSpy>
#include <QTest>

#include "replies/replymonitor.h"
#include "support/pageserver.h"

class tst_ReplyMonitor : public QObject
{
    Q_OBJECT

private slots:
    void runReportsGrownPostsAndFinishes();
    void thresholdIsAskedAtEveryStep();
    void baselineTellsIndexAddressAndSize();
};

void tst_ReplyMonitor::runReportsGrownPostsAndFinishes()
{
    PageServer server;
    server.bodies.insert("/grown", QByteArray(1600, 'a'));
    server.bodies.insert("/same", QByteArray(1000, 'b'));
    server.bodies.insert("/new", QByteArray(9000, 'c'));
    ReplyMonitor monitor([] { return 500; }, server.port());
    QSignalSpy replies(&monitor, &ReplyMonitor::newReplies);
    QSignalSpy checked(&monitor, &ReplyMonitor::postChecked);
    QSignalSpy finished(&monitor, &ReplyMonitor::finished);
    QSignalSpy status(&monitor, &ReplyMonitor::statusText);
    monitor.startCheck({{server.address("/grown"), "1000"}, {server.address("/same"), "1000"},
                        {server.address("/new"), "unmeasured"}});
    QTRY_COMPARE(finished.count(), 1);
    QCOMPARE(finished.first().first().toInt(), 1);
    QCOMPARE(replies.count(), 1);
    QCOMPARE(replies.first().first().toString(), server.address("/grown"));
    QCOMPARE(checked.count(), 3);
    QCOMPARE(checked.at(2).at(1).toInt(), 9000);
    QCOMPARE(status.last().at(1).toString(), QStringLiteral("finished - 1 new replies found"));
}

void tst_ReplyMonitor::thresholdIsAskedAtEveryStep()
{
    PageServer server;
    server.bodies.insert("/a", QByteArray(300, 'a'));
    int asked = 0;
    ReplyMonitor monitor([&asked] { return ++asked == 1 ? 500 : 100; }, server.port());
    QSignalSpy replies(&monitor, &ReplyMonitor::newReplies);
    QSignalSpy finished(&monitor, &ReplyMonitor::finished);
    monitor.startCheck({{server.address("/a"), "0"}, {server.address("/a"), "0"}});
    QTRY_COMPARE(finished.count(), 1);
    QCOMPARE(asked, 3);
    QCOMPARE(replies.count(), 1);
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

QTEST_GUILESS_MAIN(tst_ReplyMonitor)
#include "tst_replymonitor.moc"
