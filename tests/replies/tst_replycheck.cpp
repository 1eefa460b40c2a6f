#include <QTest>

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

QTEST_GUILESS_MAIN(tst_ReplyCheck)
#include "tst_replycheck.moc"
