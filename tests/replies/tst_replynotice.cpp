// What the desktop is told of new replies, and when.
#include <QTest>

#include "replies/replynotice.h"

class tst_ReplyNotice : public QObject
{
    Q_OBJECT

private slots:
    void namesCountAndFirstAddresses_data();
    void namesCountAndFirstAddresses();
    void toldWhen_data();
    void toldWhen();
    void timedRunsTellEachGrowthOnce();
};

void tst_ReplyNotice::namesCountAndFirstAddresses_data()
{
    QTest::addColumn<QStringList>("addresses");
    QTest::addColumn<QStringList>("firstReply");
    QTest::addColumn<QString>("summary");
    QTest::addColumn<QString>("body");
    QTest::newRow("one") << QStringList{"http://a/1"} << QStringList() << "New replies to 1 of your posts"
                         << "http://a/1";
    QTest::newRow("three") << QStringList{"http://a/1", "http://b/2?x=1&y=2", "http://c/3"} << QStringList()
                           << "New replies to 3 of your posts" << "http://a/1\nhttp://b/2?x=1&y=2\nhttp://c/3";
    QTest::newRow("five-names-three") << QStringList{"http://a/1", "http://a/2", "http://a/3", "http://a/4", "http://a/5"}
                                      << QStringList() << "New replies to 5 of your posts"
                                      << "http://a/1\nhttp://a/2\nhttp://a/3\nand 2 more";
    QTest::newRow("quotes-first-reply-beginning")
        << QStringList{"http://a/1", "http://a/2"}
        << QStringList{"bob\nDoes it work with " + QString("many words ").repeated(20), "second reply"}
        << "New replies to 2 of your posts"
        << QString::fromUtf8("“bob Does it work with ") + QString("many words ").repeated(12)
               + QString::fromUtf8("many…”\nhttp://a/1\nhttp://a/2");
}

void tst_ReplyNotice::namesCountAndFirstAddresses()
{
    QFETCH(QStringList, addresses);
    QFETCH(QStringList, firstReply);
    QFETCH(QString, summary);
    QFETCH(QString, body);
    const ReplyNotice::Text text = ReplyNotice::forReplies(int(addresses.size()), addresses, firstReply);
    QCOMPARE(text.summary, summary);
    QCOMPARE(text.body, body);
}

void tst_ReplyNotice::toldWhen_data()
{
    QTest::addColumn<int>("count");
    QTest::addColumn<bool>("timed");
    QTest::addColumn<bool>("windowActive");
    QTest::addColumn<bool>("told");
    QTest::newRow("timed-window-active") << 1 << true << true << true;
    QTest::newRow("timed-window-away") << 2 << true << false << true;
    QTest::newRow("asked-window-active") << 1 << false << true << false;
    QTest::newRow("asked-window-away") << 1 << false << false << true;
    QTest::newRow("timed-nothing-new") << 0 << true << false << false;
    QTest::newRow("asked-nothing-new") << 0 << false << false << false;
}

void tst_ReplyNotice::toldWhen()
{
    QFETCH(int, count);
    QFETCH(bool, timed);
    QFETCH(bool, windowActive);
    QFETCH(bool, told);
    QCOMPARE(ReplyNotice::shouldTell(count, timed, windowActive), told);
}

void tst_ReplyNotice::timedRunsTellEachGrowthOnce()
{
    ReplyNotice::ToldPosts told;
    QCOMPARE(told.take({ "a", "b" }, {}, true), (QStringList { "a", "b" }));
    // Found again: nothing new to tell.
    QCOMPARE(told.take({ "a", "b" }, {}, true), QStringList());
    QCOMPARE(told.take({ "b", "c" }, {}, true), QStringList { "c" });
    // The user asked: everything found is told.
    QCOMPARE(told.take({ "b", "c" }, {}, false), (QStringList { "b", "c" }));
    // "a" was measured anew in between and has grown again.
    QCOMPARE(told.take({ "a", "b", "c" }, {}, true), QStringList { "a" });
    // A run that reached no post forgets nothing.
    QCOMPARE(told.take({}, { "a", "b", "c" }, true), QStringList());
    QCOMPARE(told.take({ "a", "b", "c" }, {}, true), QStringList());
    // Watched again, then grown: told again.
    told.forget("b");
    QCOMPARE(told.take({ "a", "b", "c" }, {}, true), QStringList { "b" });
}

QTEST_GUILESS_MAIN(tst_ReplyNotice)
#include "tst_replynotice.moc"
