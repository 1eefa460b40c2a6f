// The reply monitor without a window: baseline measurement and the check run, against pages on loopback.
#include <QFile>
#include <QSignalSpy>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QTest>

#include "pagetext/kepttextstore.h"
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
    void threadGoneOnIsReadWhenThePostIs();
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

// Pages of the forum by path.
using Pages = QHash<QByteArray, QByteArray>;

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
    // What the check knows of the post: the beginning of the own post, whether the page showed it when watched,
    // whether the stored size was measured as the browser sees the page.
    QTest::addColumn<ReplyTexts::PostFacts>("facts");
    // Further pages the forum serves by path; the page the outcome names, or the reason it fails with.
    QTest::addColumn<Pages>("pages");
    QTest::addColumn<QString>("page");
    QTest::addColumn<PageFailure>("failure");
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
        << PostOutcome::NewReplies << latin1Text
        << ReplyTexts::PostFacts {} << Pages() << QString() << PageFailure::None;
    QTest::newRow("utf-8-meta-grown-by-a-reply")
        << QByteArray("text/html") << threadPage(meta, 7, "23:59", "-", utf8)
        << threadPage(meta, 9, "00:00", "nobody", utf8 + QByteArrayList{utf8Reply}) << QByteArray() << QString()
        << PostOutcome::NewReplies << QStringList{QString::fromUtf8("olga\nВ магазине на углу.")}
        << ReplyTexts::PostFacts {} << Pages() << QString() << PageFailure::None;
    QTest::newRow("shrank") << QByteArray("text/html; charset=ISO-8859-1") << latin1After << latin1Before << QByteArray()
                            << QString() << PostOutcome::Unchanged << QStringList()
        << ReplyTexts::PostFacts {} << Pages() << QString() << PageFailure::None;
    QTest::newRow("kept-text-missing-is-taken-now")
        << QByteArray("text/html; charset=ISO-8859-1") << latin1Before << latin1After << QByteArray() << QString("file")
        << PostOutcome::NewReplies << QStringList()
        << ReplyTexts::PostFacts {} << Pages() << QString() << PageFailure::None;
    QTest::newRow("removed-post-keeps-no-text")
        << QByteArray("text/html; charset=ISO-8859-1") << latin1Before << latin1After << QByteArray() << QString("post")
        << PostOutcome::NewReplies << QStringList() << ReplyTexts::PostFacts {} << Pages() << QString()
        << PageFailure::None;
    // A reply too short to be news on its own is part of the news once the page has grown enough.
    const QByteArray shortReply = "<p>Me too!</p>";
    QTest::newRow("short-reply-told-with-the-next")
        << QByteArray("text/html; charset=ISO-8859-1") << latin1Before
        << threadPage("", 131, "10:07:45", "erin", latin1 + QByteArrayList{shortReply, latin1Reply})
        << threadPage("", 125, "10:03:00", "carol, dave", latin1 + QByteArrayList{shortReply}) << QString()
        << PostOutcome::NewReplies << QStringList{"Me too!\n" + latin1Text.first()}
        << ReplyTexts::PostFacts {} << Pages() << QString() << PageFailure::None;

    // What the page says of the post beside its size.
    const QByteArray html = "text/html; charset=utf-8";
    const QByteArrayList thread { "<b>ana</b><p>Where can I buy one near me?</p>",
        "<b>me</b><p>Hello from me, the shop on the corner sells them.</p>" };
    const QByteArray reply = "<b>bob</b><p>Thanks, that shop is open on Sundays too.</p>";
    const QByteArray otherReply = "<b>carl</b><p>Mine came from a market stall, cheaper still.</p>";
    const QByteArray signIn = "<html><head><title>Help</title></head><body><div class=nav>Forum &raquo; Help</div>"
                              "<form><p>Sign in to read this thread</p><input name=user><input type=password name=pw>"
                              "</form></body></html>";
    const ReplyTexts::PostFacts own { "Hello from me, the shop", true, true };
    const ReplyTexts::PostFacts held { "Hello from me, the shop", false, true };
    const ReplyTexts::PostFacts before { QString(), false, false };
    const QByteArray page3 = threadPage("", 10, "9:00", "-", thread);
    QTest::newRow("signed-out-the-sign-in-page-in-its-place")
        << html << page3 << signIn << QByteArray() << QString() << PostOutcome::NotChecked << QStringList() << own
        << Pages() << QString() << PageFailure::NotThePage;
    QTest::newRow("post-removed-while-another-replied")
        << html << page3 << threadPage("", 11, "9:10", "-", { thread.first(), reply }) << QByteArray() << QString()
        << PostOutcome::PostGone << QStringList() << own << Pages() << QString()
        << PageFailure::None;
    QTest::newRow("held-comment-let-through-nobody-else-wrote")
        << html << threadPage("", 10, "9:00", "-", { thread.first() }) << page3 << QByteArray() << QString()
        << PostOutcome::OwnPostShown << QStringList() << held << Pages() << QString()
        << PageFailure::None;
    QTest::newRow("held-comment-let-through-with-a-reply")
        << html << threadPage("", 10, "9:00", "-", { thread.first() }) << threadPage("", 10, "9:00", "-", thread + QByteArrayList { reply })
        << QByteArray() << QString() << PostOutcome::NewReplies
        << QStringList { "bob\nThanks, that shop is open on Sundays too." } << held << Pages()
        << QString() << PageFailure::None;
    QTest::newRow("stored-as-another-client-got-it-measured-again")
        << html << signIn << threadPage("", 10, "9:00", "-", thread + QByteArrayList { reply }) << QByteArray()
        << QString() << PostOutcome::Remeasured << QStringList() << before << Pages()
        << QString() << PageFailure::None;
    QTest::newRow("stored-as-another-client-got-it-same-page-grown")
        << html << page3 << threadPage("", 10, "9:00", "-", thread + QByteArrayList { reply }) << QByteArray()
        << QString() << PostOutcome::NewReplies << QStringList { "bob\nThanks, that shop is open on Sundays too." }
        << before << Pages() << QString() << PageFailure::None;
    // The thread went on: the post's page only gained a link to the next, where the replies are.
    const QByteArray withNext = threadPage("<link rel=\"next\" href=\"/t?page=4\">", 10, "9:00", "-", thread);
    const Pages page4 { { "/t?page=4",
        threadPage("", 10, "9:00", "-", { reply, otherReply }) } };
    QTest::newRow("replies-on-the-next-page")
        << html << page3 << withNext << QByteArray() << QString() << PostOutcome::NewRepliesOnNextPage
        << QStringList { "bob\nThanks, that shop is open on Sundays too.\ncarl\nMine came from a market stall, cheaper "
                         "still." }
        << own << page4 << "/t?page=4" << PageFailure::None;
    QTest::newRow("next-page-missing-is-told")
        << html << page3 << withNext << QByteArray() << QString() << PostOutcome::NotChecked << QStringList() << own
        << Pages() << "/t?page=4" << PageFailure::ServerError;
    // Pagination links that only moved, on the last page: no page after it.
    const QByteArray pages = "<p class=pages><a href=\"/t?page=1\">1</a> <a href=\"/t?page=2\">2</a> 3</p>";
    QTest::newRow("pagination-moved-no-next-page")
        << html << threadPage(pages, 10, "9:00", "-", thread)
        << threadPage("", 10, "9:00", "-", thread + QByteArrayList { pages }) << QByteArray() << QString()
        << PostOutcome::Unchanged << QStringList() << own << page4 << QString() << PageFailure::None;
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
    QFETCH(ReplyTexts::PostFacts, facts);
    QFETCH(Pages, pages);
    QFETCH(QString, page);
    QFETCH(PageFailure, failure);
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
        monitor.startCheck({ { address, storedSize, facts } });
        QTRY_COMPARE(checked.count(), 1);
        QCOMPARE(checked.takeFirst().at(2).value<PostResult>().outcome, PostOutcome::Unchanged);
    }
    server.bodies.insert("/t", after);
    for (auto each = pages.cbegin(); each != pages.cend(); ++each) {
        server.bodies.insert(each.key(), each.value());
        server.contentTypes.insert(each.key(), contentType);
    }
    if (!page.isEmpty() && !pages.contains(page.toUtf8())) {
        server.statuses.insert(page.toUtf8(), "404 Not Found");
    }
    monitor.startCheck({ { address, storedSize, facts } });
    QTRY_COMPARE_WITH_TIMEOUT(checked.count(), 1, 10000);
    const auto result = checked.first().at(2).value<PostResult>();
    QCOMPARE(result.outcome, outcome);
    QCOMPARE(result.newText, newText);
    QCOMPARE(result.failure, failure);
    QCOMPARE(result.page, page.isEmpty() ? QString() : server.address(page));
    // A text that was missing is the page's text from now on.
    QVERIFY(store.read(address));
}

// Once the user has read the replies on the next page (the post measured again), that page is what later checks
// compare with: told again only when it grows anew.
void tst_ReplyMonitor::threadGoneOnIsReadWhenThePostIs()
{
    QTemporaryDir dir;
    KeptTextStore store(dir.path());
    PageServer server;
    const QByteArrayList thread { "<b>ana</b><p>Where can I buy one near me?</p>" };
    const QByteArray next = "<link rel=\"next\" href=\"/t?page=4\">";
    server.bodies.insert("/t", threadPage("", 10, "9:00", "-", thread));
    const QString address = server.address("/t");
    ReplyMonitor monitor([] { return 500; }, server.port());
    monitor.setKeptTexts(&store);
    QSignalSpy measured(&monitor, &ReplyMonitor::baselineMeasured);
    QSignalSpy checked(&monitor, &ReplyMonitor::postChecked);
    const auto check = [&] {
        checked.clear();
        monitor.startCheck({ { address, QString::number(measured.last().at(2).toInt()) } });
        return checked.wait(10000) ? checked.first().at(2).value<PostResult>() : PostResult();
    };
    monitor.measureBaseline(address, 0);
    QTRY_COMPARE(measured.count(), 1);

    const QByteArray reply = "<b>bob</b><p>Thanks, that shop is open on Sundays too.</p>";
    server.bodies.insert("/t", threadPage(next, 10, "9:00", "-", thread));
    server.bodies.insert("/t?page=4", threadPage("", 10, "9:00", "-", { reply }));
    QCOMPARE(check().outcome, PostOutcome::NewRepliesOnNextPage);

    monitor.measureBaseline(address, 0);
    QTRY_COMPARE(measured.count(), 2);
    QCOMPARE(store.read(address)->following, QStringList { server.address("/t?page=4") });
    QCOMPARE(check().outcome, PostOutcome::Unchanged);

    const QByteArray another = "<b>carl</b><p>Mine came from a market stall, cheaper still.</p>";
    server.bodies.insert("/t?page=4", threadPage("", 10, "9:00", "-", { reply, another }));
    const PostResult grown = check();
    QCOMPARE(grown.outcome, PostOutcome::NewRepliesOnNextPage);
    QCOMPARE(grown.newText, QStringList { "carl\nMine came from a market stall, cheaper still." });
}

QTEST_GUILESS_MAIN(tst_ReplyMonitor)
#include "tst_replymonitor.moc"
