#include <QTest>

#include "pagetext/addedtext.h"
#include "pagetext/linediff.h"

class tst_AddedText : public QObject
{
    Q_OBJECT

private slots:
    void changes_data();
    void changes();
    void runs_data();
    void runs();
    void noiseIsWhatTookThePlaceOfOtherLines_data();
    void noiseIsWhatTookThePlaceOfOtherLines();
};

using Indexes = std::vector<qsizetype>;

void tst_AddedText::changes_data()
{
    QTest::addColumn<QStringList>("earlier");
    QTest::addColumn<QStringList>("later");
    QTest::addColumn<qint64>("budget");
    QTest::addColumn<Indexes>("added");
    QTest::addColumn<Indexes>("removed");
    const qint64 full = LineDiff::defaultBudget;
    QTest::newRow("same") << QStringList { "a", "b" } << QStringList { "a", "b" } << full << Indexes {} << Indexes {};
    QTest::newRow("appended") << QStringList { "a", "b" } << QStringList { "a", "b", "c" } << full << Indexes { 2 }
                              << Indexes {};
    QTest::newRow("from-nothing") << QStringList {} << QStringList { "a", "b" } << full << Indexes { 0, 1 }
                                  << Indexes {};
    QTest::newRow("inserted-and-changed")
        << QStringList { "h", "1", "x", "y", "f" } << QStringList { "h", "2", "x", "n1", "n2", "y", "f" } << full
        << Indexes { 1, 3, 4 } << Indexes { 1 };
    QTest::newRow("moved-line") << QStringList { "a", "b", "c", "d" } << QStringList { "b", "c", "d", "a" } << full
                                << Indexes { 3 } << Indexes { 0 };
    QTest::newRow("over-budget-by-count")
        << QStringList { "a", "b", "c", "d" } << QStringList { "b", "c", "d", "a", "e" } << qint64(2) << Indexes { 4 }
        << Indexes {};
}

void tst_AddedText::changes()
{
    QFETCH(QStringList, earlier);
    QFETCH(QStringList, later);
    QFETCH(qint64, budget);
    QFETCH(Indexes, added);
    QFETCH(Indexes, removed);
    const LineDiff::Changes changes = LineDiff::between(earlier, later, budget);
    QCOMPARE(changes.added, added);
    QCOMPARE(changes.removed, removed);
}

void tst_AddedText::runs_data()
{
    QTest::addColumn<QStringList>("earlier");
    QTest::addColumn<QStringList>("later");
    QTest::addColumn<QStringList>("noise");
    QTest::addColumn<QStringList>("runs");
    const QStringList thread { "Forum", "Views: 120", "alice", "Where can I buy it?", "Page made at 10:01:02" };
    QTest::newRow("reply-without-moved-counters")
        << thread
        << QStringList { "Forum", "Views: 131", "alice", "Where can I buy it?", "bob", "Try the shop on the site.",
               "Page made at 10:07:45" }
        << QStringList {} << QStringList { "bob\nTry the shop on the site." };
    QTest::newRow("known-noise-left-out")
        << thread
        << QStringList { "Forum", "Views: 120", "alice", "Where can I buy it?", "Online now: carol and dave", "bob",
               "It is in the shop now.", "Page made at 10:01:02" }
        << AddedText::noiseBetween(QStringList { "Online now: erin" }, QStringList { "Online now: frank and gus" })
        << QStringList { "bob\nIt is in the shop now." };
    QTest::newRow("short-runs-left-out") << thread << thread + QStringList { "bob", "thanks!" } << QStringList {}
                                         << QStringList {};
    QTest::newRow("separate-runs") << QStringList { "a", "b" }
                                   << QStringList { "one two three", "a", "four five", "six", "b" } << QStringList {}
                                   << QStringList { "one two three", "four five\nsix" };
    // The last line of one page ends like the last line of the other: alike bytes, but not a line both have.
    QTest::newRow("alike-ending-of-a-longer-line")
        << QStringList { "a b c", "tail" } << QStringList { "a b c", "one two three", "xtail" } << QStringList {}
        << QStringList { "one two three\nxtail" };
    QTest::newRow("bounded") << QStringList {} << QStringList { QString(20000, u'x') + " y z" } << QStringList {}
                             << QStringList { QString(AddedText::maximumLength, u'x') };
}

void tst_AddedText::runs()
{
    QFETCH(QStringList, earlier);
    QFETCH(QStringList, later);
    QFETCH(QStringList, noise);
    QFETCH(QStringList, runs);
    QCOMPARE(AddedText::runs(earlier, later, noise), runs);
}

void tst_AddedText::noiseIsWhatTookThePlaceOfOtherLines_data()
{
    QTest::addColumn<QStringList>("later");
    QTest::addColumn<QStringList>("noise");
    // earlier: Forum, Views: 120, alice, Where can I buy it?, Page made at 10:01:02
    QTest::newRow("counter-and-time") << QStringList { "Forum", "Views: 131", "alice", "Where can I buy it?",
        "Page made at 10:07:45" } << QStringList { "Views:", "Page made at #:" };
    QTest::newRow("short-reply-beside-the-time") << QStringList { "Forum", "Views: 120", "alice", "Where can I buy it?",
        "Me too!", "Page made at 10:07:45" } << QStringList { "Page made at #:" };
    QTest::newRow("short-reply-only") << QStringList { "Forum", "Views: 120", "alice", "Where can I buy it?", "Me too!",
        "Page made at 10:01:02" } << QStringList {};
    QTest::newRow("line-changed-shape") << QStringList { "Forum", "Views: 120", "alice", "Where can I buy it?",
        "Served by node 7 of the cluster" }
                                        << QStringList { "Served by node # of the cluster" };
}

void tst_AddedText::noiseIsWhatTookThePlaceOfOtherLines()
{
    QFETCH(QStringList, later);
    QFETCH(QStringList, noise);
    const QStringList earlier { "Forum", "Views: 120", "alice", "Where can I buy it?", "Page made at 10:01:02" };
    QCOMPARE(AddedText::noiseBetween(earlier, later), noise);
}

QTEST_GUILESS_MAIN(tst_AddedText)
#include "tst_addedtext.moc"
