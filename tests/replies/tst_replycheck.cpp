#include <QTest>

#include "probe/pagemeasurement.h"
#include "probe/postoutcome.h"

#include "replies/replycheck.h"

class tst_ReplyCheck : public QObject
{
    Q_OBJECT

private slots:
    void threshold_data();
    void threshold();
    void storedSize_data();
    void storedSize();
    void growth_data();
    void growth();
    void errorPageOrBrowserCheck_data();
    void errorPageOrBrowserCheck();
};

void tst_ReplyCheck::threshold_data()
{
    QTest::addColumn<QString>("setting");
    QTest::addColumn<int>("threshold");
    QTest::newRow("default") << "500" << 500;
    QTest::newRow("zero") << "0" << 0;
    QTest::newRow("negative") << "-20" << -20;
    QTest::newRow("fraction-rounds") << "10.6" << 11;
    QTest::newRow("half-to-even-down") << "2.5" << 2;
    QTest::newRow("half-to-even-up") << "3.5" << 4;
    QTest::newRow("surrounding-blanks") << " 42 " << 42;
    QTest::newRow("above-16-bit-clamped") << "100000" << 32767;
    QTest::newRow("below-16-bit-clamped") << "-1e9" << -32768;
    const QString digits309(309, QLatin1Char('9'));
    QTest::newRow("too-long-for-a-double-clamped") << digits309 << 32767;
    QTest::newRow("too-long-negative-clamped") << " -" + digits309 + ".5 " << -32768;
    QTest::newRow("too-small-for-a-double-is-zero") << "0." + QString(400, QLatin1Char('0')) + "1" << 0;
    QTest::newRow("not-a-number-default") << "lots" << 500;
    QTest::newRow("empty-default") << "" << 500;
    QTest::newRow("infinite-default") << "inf" << 500;
}

void tst_ReplyCheck::threshold()
{
    QFETCH(QString, setting);
    QTEST(ReplyCheck::thresholdFromSetting(setting), "threshold");
}

void tst_ReplyCheck::storedSize_data()
{
    QTest::addColumn<QString>("entry");
    QTest::addColumn<bool>("usable");
    QTest::addColumn<double>("size");
    QTest::newRow("digits") << "20480" << true << 20480.0;
    QTest::newRow("zero") << "0" << true << 0.0;
    QTest::newRow("empty") << "" << false << 0.0;
    QTest::newRow("marker") << "unmeasured" << false << 0.0;
    QTest::newRow("junk") << "12abc" << false << 0.0;
    QTest::newRow("nan") << "nan" << false << 0.0;
}

void tst_ReplyCheck::storedSize()
{
    QFETCH(QString, entry);
    QFETCH(bool, usable);
    QFETCH(double, size);
    const std::optional<double> stored = ReplyCheck::storedSize(entry);
    QCOMPARE(stored.has_value(), usable);
    if (usable) {
        QCOMPARE(*stored, size);
    }
}

void tst_ReplyCheck::growth_data()
{
    QTest::addColumn<int>("newSize");
    QTest::addColumn<QString>("stored");
    QTest::addColumn<int>("threshold");
    QTest::addColumn<bool>("counts");
    QTest::newRow("equal-to-threshold") << 1500 << "1000" << 500 << false;
    QTest::newRow("one-byte-more") << 1501 << "1000" << 500 << true;
    QTest::newRow("shrunk") << 900 << "1000" << 0 << false;
    QTest::newRow("threshold-zero-one-byte") << 1001 << "1000" << 0 << true;
    QTest::newRow("threshold-zero-unchanged") << 1000 << "1000" << 0 << false;
    QTest::newRow("negative-threshold-unchanged") << 1000 << "1000" << -1 << true;
    QTest::newRow("never-measured") << 99999 << "unmeasured" << 500 << false;
    QTest::newRow("huge-sizes-no-overflow") << 2147483647 << "-2147483648" << 32767 << true;
}

void tst_ReplyCheck::growth()
{
    QFETCH(int, newSize);
    QFETCH(QString, stored);
    QFETCH(int, threshold);
    QTEST(ReplyCheck::hasNewReplies(newSize, ReplyCheck::storedSize(stored), threshold), "counts");
}

// A forum that stops a plain client to check for a browser says what to do; a plain refusal stays one.
void tst_ReplyCheck::errorPageOrBrowserCheck_data()
{
    QTest::addColumn<int>("status");
    QTest::addColumn<bool>("challengeHeader");
    QTest::addColumn<QByteArray>("body");
    QTest::addColumn<PageFailure>("failure");
    const QByteArray setsCookie = "<html><script>document.cookie = 'passed=1; path=/'; location.reload();</script>"
                                  "<p>One moment, please.</p></html>";
    QTest::newRow("script-sets-a-cookie-503") << 503 << false << setsCookie << PageFailure::BrowserCheck;
    QTest::newRow("captcha-403") << 403 << false << QByteArray("<h1>Please solve the CAPTCHA</h1>")
                                 << PageFailure::BrowserCheck;
    QTest::newRow("shield-header-403") << 403 << true << QByteArray() << PageFailure::BrowserCheck;
    QTest::newRow("checking-your-browser-429") << 429 << false
                                               << QByteArray("<title>Just a moment...</title>Checking your browser")
                                               << PageFailure::BrowserCheck;
    QTest::newRow("plain-forbidden") << 403 << false << QByteArray("<h1>Forbidden</h1>") << PageFailure::ServerError;
    QTest::newRow("not-found-with-a-cookie-script") << 404 << false << setsCookie << PageFailure::ServerError;
    QTest::newRow("server-error-500") << 500 << true << QByteArray() << PageFailure::ServerError;
}

void tst_ReplyCheck::errorPageOrBrowserCheck()
{
    QFETCH(int, status);
    QFETCH(bool, challengeHeader);
    QFETCH(QByteArray, body);
    QFETCH(PageFailure, failure);
    PageMeasurement measured;
    measured.status = status;
    measured.challenge = challengeHeader;
    measured.body = body;
    const PostResult result = ReplyCheck::resultOf(measured, QStringLiteral("1000"), 500);
    QCOMPARE(result.outcome, PostOutcome::NotChecked);
    QCOMPARE(result.failure, failure);
    QVERIFY(result.text().startsWith(failure == PageFailure::BrowserCheck ? "The forum asks for a browser check"
                                                                          : "Server error: status "));
}

QTEST_GUILESS_MAIN(tst_ReplyCheck)
#include "tst_replycheck.moc"
