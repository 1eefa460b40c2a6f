// A user's whole road through a small forum served on 127.0.0.3:80: open the forum from the forum list,
// Auto-Insert the message, submit it, see the post's page join the own posts by itself, let another user
// reply, and check for replies.
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QSignalSpy>
#include <QTabBar>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>
#include <QWebEnginePage>
#include <QWebEngineView>
#include <unistd.h>

#include "app/programcontext.h"
#include "app/mainwindow.h"
#include "base/settingsstore.h"
#include "links/linkformats.h"
#include "replies/replymonitor.h"
#include "web/postedmessagewatcher.h"
#include "support/modalwatcher.h"
#include "forums/ownposts.h"
#include "support/controls.h"
#include "support/programstate.h"
#include "support/testforum.h"
#include "support/webtestutil.h"
#include "support/mainwindowparts.h"
#include "forums/listfiles.h"
#include "replies/replytexts.h"
#include <QWebEngineCookieStore>
#include <QWebEngineProfile>

class tst_EndToEnd : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void postAndWatchForReplies();
    void postNoticed_data();
    void postNoticed();
    void checkSeesWhatTheBrowserSees_data();
    void checkSeesWhatTheBrowserSees();

private:
    static void doubleClick(QAbstractItemView *list, int row)
    {
        QVERIFY(row < rowCount(list));
        setCurrentRow(list, row);
        doubleClickRow(list, row);
    }

    static QString fieldValue(MainWindow &window, const char *id)
    {
        return WebTest::evaluateJavaScriptSync(
                   control<QWebEngineView>(window, "webView")->page(),
                   QStringLiteral("document.getElementById('%1') ? document.getElementById('%1').value : null")
                       .arg(QLatin1String(id)))
            .toString();
    }

    // Auto-Inserts the message into the page shown and sends it as the user would.
    static void send(MainWindow &window, const QString &message)
    {
        setMessageText(window, message);
        control<QToolButton>(window, "autoInsertButton")->click();
        QTRY_VERIFY_WITH_TIMEOUT(fieldValue(window, "message").startsWith(message.section("\r\n", 0, 0)), 10000);
        WebTest::evaluateJavaScriptSync(control<QWebEngineView>(window, "webView")->page(), "document.getElementById('send').click(); true");
    }

    static bool waitForPage(MainWindow &window, const QString &address)
    {
        return QTest::qWaitFor([&] { return control<QLineEdit>(window, "addressEdit")->text() == address && panelText(window, 1) == "Complete"; },
                               20000);
    }

    TestForum m_forum;
};

void tst_EndToEnd::initTestCase()
{
    if (geteuid() != 0) {
        QSKIP("The reply check talks to port 80, which only root may serve.");
    }
    QVERIFY2(m_forum.listen(QHostAddress(QStringLiteral("127.0.0.3")), 80), qPrintable(m_forum.errorString()));
}

void tst_EndToEnd::postAndWatchForReplies()
{
    QTemporaryDir dir;
    QDir(dir.path()).mkdir("data");
    const QString forumAddress = m_forum.baseUrl() + "/post";
    const QString threadAddress = m_forum.baseUrl() + "/thread";
    {
        QFile forums(dir.filePath("data/posts2.txt"));
        QVERIFY(forums.open(QIODevice::WriteOnly));
        forums.write(forumAddress.toUtf8() + "|me|secret\r\n\r\n");
    }
    SettingsStore settings(dir.filePath("Postavo.ini"));
    settings.write("Settings", "showHelp", "0");
    LinkFormatTable formats;
    ProgramContext context{{DataFolder(dir.filePath("data")), &settings}, &formats};
    ModalWatcher boxes;

    MainWindow window(context);
    QVERIFY(window.startUp());
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));

    // Open the forum's posting page from the forum list.
    QCOMPARE(rowCount(control<QListView>(window, "forumList")), 1);
    doubleClick(control<QListView>(window, "forumList"), 0);
    QVERIFY(waitForPage(window, forumAddress));

    // Auto-Insert the message in html format: it lands in the textarea, past the search form and the select.
    const QString message = "Hello from the end-to-end test\r\nMore at http://example.org/info today.";
    setMessageText(window, message);
    control<QComboBox>(window, "formatSelector")->setCurrentIndex(control<QComboBox>(window, "formatSelector")->findText("html"));
    const QString converted = convertedOutgoingText(window);
    QVERIFY(converted.contains("<a href='http://example.org/info'>"));
    control<QToolButton>(window, "autoInsertButton")->click();
    QString expected = converted;
    expected.replace("\r\n", "\n"); // a textarea keeps its line breaks as LF
    QTRY_COMPARE_WITH_TIMEOUT(fieldValue(window, "message"), expected, 10000);
    QCOMPARE(fieldValue(window, "subject"), QString());
    QCOMPARE(fieldValue(window, "icon"), QStringLiteral("none"));
    QVERIFY(boxes.texts.isEmpty());
    QCOMPARE(control<PostedMessageWatcher>(window, {})->loadsLeft(), 4);

    // Submit: the forum redirects to the thread, where the new post appears and is watched by itself.
    WebTest::evaluateJavaScriptSync(control<QWebEngineView>(window, "webView")->page(),
                                    "document.getElementById('subject').value = 'Greetings';"
                                    "document.getElementById('send').click(); true");
    QVERIFY(waitForPage(window, threadAddress));
    QTRY_COMPARE_WITH_TIMEOUT(rowCount(control<QListView>(window, "postList")), 1, 10000);
    QCOMPARE(rowData(control<QListView>(window, "postList"), 0).toString(), threadAddress);
    QCOMPARE(m_forum.posts().size(), 2);
    QCOMPARE(m_forum.posts().last().subject, QStringLiteral("Greetings"));
    const QString firstSize = QString::number(m_forum.threadPage().size());
    QTRY_COMPARE_WITH_TIMEOUT(control<OwnPosts>(window, {})->storedSize(0), firstSize, 10000);
    QCOMPARE(control<OwnPosts>(window, {})->count(), 1);
    QCOMPARE(control<PostedMessageWatcher>(window, {})->loadsLeft(), 0);

    // Another user replies; the check lists the post under "New Replies ".
    m_forum.addReply("someone", QString(600, QLatin1Char('x')));
    control<QTabBar>(window, "listTabs")->setCurrentIndex(1);
    control<QTabBar>(window, "postTabs")->setCurrentIndex(1);
    QVERIFY(control<QPushButton>(window, "checkRepliesButton")->isVisible());
    control<QPushButton>(window, "checkRepliesButton")->click();
    QTRY_COMPARE_WITH_TIMEOUT(panelText(window, 1), QStringLiteral("finished - 1 new replies found"), 10000);
    QCOMPARE(rowCount(control<QListView>(window, "newRepliesList")), 1);
    QCOMPARE(rowData(control<QListView>(window, "newRepliesList"), 0).toString(), threadAddress);

    // Without a new measurement the next check reports it again.
    control<QPushButton>(window, "checkRepliesButton")->click();
    QTRY_COMPARE_WITH_TIMEOUT(panelText(window, 1), QStringLiteral("finished - 1 new replies found"), 10000);
    QCOMPARE(rowCount(control<QListView>(window, "newRepliesList")), 1);

    // Opening it from the new replies measures it again, so the next check finds nothing new.
    control<QLineEdit>(window, "addressEdit")->clear();
    doubleClick(control<QListView>(window, "newRepliesList"), 0);
    QVERIFY(waitForPage(window, threadAddress));
    const QString grownSize = QString::number(m_forum.threadPage().size());
    QTRY_COMPARE_WITH_TIMEOUT(control<OwnPosts>(window, {})->storedSize(0), grownSize, 10000);
    QCOMPARE(rowCount(control<QListView>(window, "postList")), 1);
    control<QPushButton>(window, "checkRepliesButton")->click();
    QTRY_COMPARE_WITH_TIMEOUT(panelText(window, 1), QStringLiteral("finished - 0 new replies found"), 10000);
    QCOMPARE(rowCount(control<QListView>(window, "newRepliesList")), 0);
    QVERIFY2(boxes.texts.isEmpty(), qPrintable(boxes.texts.join('\n')));
}

// Where forums and blogs show a post today: in place, under a pushed permalink, after a thank-you page, on a held
// comment's address; and where they do not.
void tst_EndToEnd::postNoticed_data()
{
    QTest::addColumn<QString>("start");
    QTest::addColumn<QStringList>("messages");
    QTest::addColumn<QString>("shown"); // true in the page once the last message is sent
    QTest::addColumn<QString>("watched"); // the own post's address; empty when none is taken
    const QString lastPost = "document.querySelector('.post:last-child').textContent.indexOf(%1) >= 0";
    QTest::newRow("quick-reply-in-place") << "/quick?mode=append" << QStringList{"In place, it's me\r\nmore"}
                                          << lastPost.arg("\"In place\"") << "/quick?mode=append";
    QTest::newRow("quick-reply-permalink-pushed") << "/quick?mode=push" << QStringList{"Pushed, it's me\r\nmore"}
                                                  << "location.pathname !== '/quick'" << "/quick/post-%1";
    QTest::newRow("quick-reply-refused")
        << "/quick?mode=refuse" << QStringList{"Refused, it's me\r\nmore"}
        << "document.querySelector('.error') !== null && document.getElementById('message').value !== ''" << "";
    QTest::newRow("text-only-resembles") << "/quick?mode=resemble" << QStringList{"Resembling, it's me\r\nmore"}
                                         << lastPost.arg("\"Resembling, its me\"") << "";
    QTest::newRow("thank-you-page-refreshing") << "/post-thanks" << QStringList{"Thanks page hello\r\nmore"}
                                               << "location.pathname === '/thread'" << "/thread";
    QTest::newRow("held-comment-canonical") << "/blog/thread/"
                                            << QStringList{"It's the \"best\" tool -- try it... now\r\nreally"}
                                            << "document.querySelector('#comment-36 em') !== null" << "/blog/thread/";
    QTest::newRow("second-comment-same-thread")
        << "/blog/thread/" << QStringList{"First -- it's held...\r\nx", "Then \"another\" one\r\ny"}
        << "location.hash === '#comment-38'" << "/blog/thread/";
}

void tst_EndToEnd::postNoticed()
{
    QFETCH(QString, start);
    QFETCH(QStringList, messages);
    QFETCH(QString, shown);
    QFETCH(QString, watched);
    m_forum.clearBlog();
    ProgramState state;
    ModalWatcher boxes;
    MainWindow window(state.context);
    QVERIFY(window.startUp());
    window.show();
    control<QLineEdit>(window, "addressEdit")->setText(m_forum.baseUrl() + start);
    control<QPushButton>(window, "goButton")->click();
    QVERIFY(waitForPage(window, m_forum.baseUrl() + start));
    QSignalSpy measured(control<ReplyMonitor>(window, {}), &ReplyMonitor::baselineMeasured);

    QList<int> storedSizes;
    for (const QString &message : messages) {
        send(window, message);
        if (!watched.isEmpty()) {
            QTRY_COMPARE_WITH_TIMEOUT(measured.size(), storedSizes.size() + 1, 10000);
            // Stored once the browser's own text of the page is compared with what the check got.
            const QString before = storedSizes.isEmpty() ? QString() : QString::number(storedSizes.last());
            QTRY_VERIFY_WITH_TIMEOUT(control<OwnPosts>(window, {})->storedSize(0).toInt() > 0
                    && control<OwnPosts>(window, {})->storedSize(0) != before,
                10000);
            storedSizes.append(control<OwnPosts>(window, {})->storedSize(0).toInt());
        }
    }
    const auto page = control<QWebEngineView>(window, "webView")->page();
    QTRY_VERIFY_WITH_TIMEOUT(WebTest::evaluateJavaScriptSync(page, shown).toBool(), 10000);
    // Time for the watch to look at the page a few times over: a post is noticed once, a refused one never.
    QTest::qWait(4 * int(PostedMessageWatcher::changeInterval.count()));
    QCOMPARE(measured.size(), storedSizes.size());
    if (watched.isEmpty()) {
        QCOMPARE(control<OwnPosts>(window, {})->count(), 0);
        return;
    }
    const QString path = watched.arg(m_forum.quickPostCount());
    QCOMPARE(control<OwnPosts>(window, {})->count(), 1);
    QCOMPARE(control<OwnPosts>(window, {})->address(0), m_forum.baseUrl() + path);
    // Measured as a visitor sees the page: a second comment measures the thread again, with the comment.
    QCOMPARE(storedSizes.last(), int(m_forum.pageFor(path.toUtf8()).size()));
    QVERIFY(storedSizes.size() < 2 || storedSizes.at(1) > storedSizes.at(0));
    QVERIFY2(boxes.texts.isEmpty(), qPrintable(boxes.texts.join('\n')));
}

// Each post watched in the browser as a user reaches it (signed in, past a check page, with its beginning
// selected), then changed on the forum, then checked: the outcome beside the post, whether it is listed under
// "New Replies", and how the check ends.
void tst_EndToEnd::checkSeesWhatTheBrowserSees_data()
{
    QTest::addColumn<QString>("start"); // the page the user opens; "area/login" pages are signed in at first
    QTest::addColumn<QString>("change"); // what happens on the forum after the watch
    QTest::addColumn<QString>("outcome"); // the beginning of the text beside the post
    QTest::addColumn<bool>("listed");
    QTest::addColumn<QString>("finished");
    const QString one = QStringLiteral("finished - 1 new replies found");
    const QString none = QStringLiteral("finished - 0 new replies found");
    QTest::newRow("members-only-fresh-sign-in") << "/members/login" << "reply" << "New replies: grew by" << true << one;
    QTest::newRow("signed-out-since") << "/members/login" << "sign-out" << "Not your thread's page now: signed out?"
                                      << false << none + ", 1 could not be checked";
    QTest::newRow("firewall-wants-a-user-agent") << "/waf/thread" << "reply" << "New replies: grew by" << true << one;
    QTest::newRow("browser-check-passed-once") << "/checked/thread" << "reply" << "New replies: grew by" << true << one;
    QTest::newRow("browser-check-asked-again")
        << "/checked/thread" << "check-again"
        << "The forum asks for a browser check: open the post once in Postavo's browser, then check again." << false
        << none + ", 1 could not be checked";
    QTest::newRow("replies-on-the-next-page") << "/paged?page=1" << "fill-the-page" << "New replies on the next page: "
                                              << true << one;
    QTest::newRow("own-post-removed-while-another-replied")
        << "/thread" << "remove-own" << "Your post is no longer on this page" << true << one;
    QTest::newRow("held-comment-let-through") << "/blog/thread/" << "approve" << "Your post is now shown" << false
                                              << none;
    QTest::newRow("check-gets-a-sign-in-page") << "/strict/login" << "box" << "" << false << "";
    // Watched by the version before, whose check got the sign-in page: measured again once, nothing claimed.
    QTest::newRow("first-check-after-the-change")
        << "/members/login" << "stored-by-the-version-before" << "Measured again as your browser sees it (" << false
        << none;
}

void tst_EndToEnd::checkSeesWhatTheBrowserSees()
{
    QFETCH(QString, start);
    QFETCH(QString, change);
    QFETCH(QString, outcome);
    QFETCH(bool, listed);
    QFETCH(QString, finished);
    m_forum.resetThread();
    m_forum.clearBlog();
    m_forum.signEveryoneOut();
    ProgramState state;
    state.context.keptTexts = &state.keptTexts;
    const QString members = m_forum.baseUrl() + "/members/thread";
    if (change == "stored-by-the-version-before") {
        const QByteArray signIn = TestForum::signInPage("members");
        QFile posts(state.dir.filePath("posts.txt"));
        QFile sizes(state.dir.filePath("sizes.txt"));
        QVERIFY(posts.open(QIODevice::WriteOnly) && sizes.open(QIODevice::WriteOnly));
        posts.write(members.toUtf8() + "\r\n\r\n");
        sizes.write(QByteArray::number(signIn.size()) + "\r\n\r\n");
        ReplyTexts::keepBaseline(state.keptTexts, members, "text/html", signIn);
    }
    ModalWatcher boxes;
    MainWindow window(state.context);
    QVERIFY(window.startUp());
    window.show();
    QWebEnginePage *page = control<QWebEngineView>(window, "webView")->page();
    page->profile()->setHttpUserAgent(QString());
    const auto run = [page](const QString &script) { return WebTest::evaluateJavaScriptSync(page, script); };
    OwnPosts *posts = control<OwnPosts>(window, {});

    QString watched = m_forum.baseUrl() + start;
    if (start.endsWith("/login")) {
        // Signed in in the browser pane; the session cookie lives in the browser's memory alone.
        navigate(window, watched);
        QVERIFY(waitForPage(window, watched));
        run("document.getElementById('user').value = 'me'; document.getElementById('password').value = 'pw';"
            "document.getElementById('go').click(); true");
        watched = m_forum.baseUrl() + "/" + start.section('/', 1, 1) + "/thread";
        QVERIFY(waitForPage(window, watched));
    } else if (start == "/blog/thread/") {
        // A comment held for moderation, noticed on the address it landed on; the blog's page is kept.
        navigate(window, watched);
        QVERIFY(waitForPage(window, watched));
        send(window, "A \"quiet\" comment -- my first one\r\nmore");
    } else {
        if (change == "remove-own") {
            m_forum.addReply("me", "My own words about the shop on the corner.");
        }
        navigate(window, watched);
        // A check page runs its script and loads the thread.
        QTRY_VERIFY_WITH_TIMEOUT(run("document.querySelector('.posts') !== null").toBool(), 20000);
    }
    if (change == "stored-by-the-version-before") {
        QCOMPARE(posts->count(), 1);
    } else if (start != "/blog/thread/") {
        if (change == "remove-own") {
            // The beginning of the own post chosen on the page.
            run("var range = document.createRange(); range.selectNodeContents(document.querySelector('#p2 p'));"
                "getSelection().removeAllRanges(); getSelection().addRange(range); true");
        }
        control<QPushButton>(window, "watchButton")->click();
    }
    if (change == "box") {
        QTRY_COMPARE_WITH_TIMEOUT(boxes.texts, QStringList { "Postavo's check gets another page than your browser shows: "
                                                             "a sign-in page?" },
            10000);
        QCOMPARE(posts->storedSize(0), ListFiles::unmeasuredSize);
        return;
    }
    QTRY_VERIFY2_WITH_TIMEOUT(
        posts->count() == 1 && posts->storedSize(0).toInt() > 0, qPrintable(boxes.texts.join('\n')), 10000);
    if (!start.startsWith("/paged") && !start.startsWith("/blog") && change != "stored-by-the-version-before") {
        // The thread as the browser shows it, not the sign-in or check page a plain client gets.
        QCOMPARE(posts->storedSize(0).toInt(), int(m_forum.threadPage().size()));
    }
    QVERIFY2(boxes.texts.isEmpty(), qPrintable(boxes.texts.join('\n')));

    if (change == "reply") {
        m_forum.addReply("someone", QString(1200, QLatin1Char('x')));
        // The check says it is the browser as the browser is now.
        page->profile()->setHttpUserAgent(QStringLiteral("Changed/3.0"));
    } else if (change == "sign-out") {
        m_forum.signEveryoneOut();
    } else if (change == "check-again") {
        m_forum.signEveryoneOut();
        m_forum.addReply("someone", QString(1200, QLatin1Char('x')));
    } else if (change == "fill-the-page") {
        m_forum.addReply("ann", "The second post of the first page.");
        m_forum.addReply("carl", "The third post fills the first page.");
        m_forum.addReply("bob", "This reply is on the second page, where the thread goes on.");
    } else if (change == "remove-own") {
        m_forum.removePostsOf("me");
        m_forum.addReply("bob", "Another reply elsewhere in the thread.");
    } else if (change == "approve") {
        m_forum.approveComments();
    }
    control<QTabBar>(window, "listTabs")->setCurrentIndex(1);
    control<QTabBar>(window, "postTabs")->setCurrentIndex(1);
    control<QPushButton>(window, "checkRepliesButton")->click();
    QTRY_COMPARE_WITH_TIMEOUT(panelText(window, 1), finished, 10000);
    if (change == "reply") {
        QCOMPARE(m_forum.userAgents.last(), QStringLiteral("Changed/3.0"));
    }
    const QString told = posts->index(0).data(Qt::ToolTipRole).toString();
    QVERIFY2(told.startsWith(outcome), qPrintable(told));
    QCOMPARE(rowCount(control<QListView>(window, "newRepliesList")), listed ? 1 : 0);
    if (change == "stored-by-the-version-before") {
        // Said once, and from now on the size is the thread's as the browser sees it.
        QCOMPARE(panelText(window, 2), QStringLiteral("Measured again as your browser sees them: 1 posts"));
        QCOMPARE(posts->storedSize(0).toInt(), int(m_forum.threadPage().size()));
    }
    if (change == "fill-the-page") {
        QCOMPARE(told, outcome + m_forum.baseUrl() + "/paged?page=2");
        QVERIFY(rowData(control<QListView>(window, "newRepliesList"), 0).toString().contains("where the thread goes on"));
    }
    QVERIFY2(boxes.texts.isEmpty(), qPrintable(boxes.texts.join('\n')));
}

POSTAVO_WEB_TEST_MAIN(tst_EndToEnd)
#include "tst_endtoend.moc"
