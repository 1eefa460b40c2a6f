#include <QSignalSpy>
#include <QTest>

#include <csignal>

#include "base/endrequests.h"

class tst_EndRequests : public QObject
{
    Q_OBJECT

private slots:
    void signalArrivesThroughEventLoop_data();
    void signalArrivesThroughEventLoop();
    void defaultHandlingComesBack();
};

static bool handledByDefault(int signalNumber)
{
    struct sigaction current = {};
    ::sigaction(signalNumber, nullptr, &current);
    return current.sa_handler == SIG_DFL;
}

void tst_EndRequests::signalArrivesThroughEventLoop_data()
{
    QTest::addColumn<int>("signalNumber");
    QTest::newRow("SIGTERM") << SIGTERM;
    QTest::newRow("SIGINT") << SIGINT;
    QTest::newRow("SIGHUP") << SIGHUP;
}

void tst_EndRequests::signalArrivesThroughEventLoop()
{
    QFETCH(int, signalNumber);
    EndRequests requests;
    QSignalSpy spy(&requests, &EndRequests::requested);
    QVERIFY(!handledByDefault(signalNumber));
    ::raise(signalNumber);
    // Not from inside the handler: only once the event loop runs.
    QCOMPARE(spy.count(), 0);
    QVERIFY(spy.wait(5000));
    QCOMPARE(spy.count(), 1);
    QCOMPARE(spy.at(0).at(0).toInt(), signalNumber);
    // A second one of the same kind is not caught: a program stuck in its shut-down can still be ended.
    QVERIFY(handledByDefault(signalNumber));
}

void tst_EndRequests::defaultHandlingComesBack()
{
    {
        EndRequests requests;
        for (int signalNumber : EndRequests::watchedSignals()) {
            QVERIFY(!handledByDefault(signalNumber));
        }
    }
    for (int signalNumber : EndRequests::watchedSignals()) {
        QVERIFY(handledByDefault(signalNumber));
    }
}

QTEST_GUILESS_MAIN(tst_EndRequests)
#include "tst_endrequests.moc"
