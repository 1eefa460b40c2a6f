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

#include "base/appcontext.h"
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

class tst_EndToEnd : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void postAndWatchForReplies();
    void postNoticed_data();
    void postNoticed();

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
        window.setMessageText(message);
        control<QToolButton>(window, "autoInsertButton")->click();
        QTRY_VERIFY_WITH_TIMEOUT(fieldValue(window, "message").startsWith(message.section("\r\n", 0, 0)), 10000);
        WebTest::evaluateJavaScriptSync(control<QWebEngineView>(window, "webView")->page(), "document.getElementById('send').click(); true");
    }

    static bool waitForPage(MainWindow &window, const QString &address)
    {
        return QTest::qWaitFor([&] { return control<QLineEdit>(window, "addressEdit")->text() == address && window.panelText(1) == "Complete"; },
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
    AppContext context{DataFolder(dir.filePath("data")), &settings, &formats};
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
    window.setMessageText(message);
    control<QComboBox>(window, "formatSelector")->setCurrentIndex(control<QComboBox>(window, "formatSelector")->findText("html"));
    const QString converted = window.convertedOutgoingText();
    QVERIFY(converted.contains("<a href='http://example.org/info'>"));
    control<QToolButton>(window, "autoInsertButton")->click();
    QString expected = converted;
    expected.replace("\r\n", "\n"); // a textarea keeps its line breaks as LF
    QTRY_COMPARE_WITH_TIMEOUT(fieldValue(window, "message"), expected, 10000);
    QCOMPARE(fieldValue(window, "subject"), QString());
    QCOMPARE(fieldValue(window, "icon"), QStringLiteral("none"));
    QVERIFY(boxes.texts.isEmpty());
    QCOMPARE(control<PostedMessageWatcher>(window, {})->countdown, qint16(4));

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
    QCOMPARE(control<PostedMessageWatcher>(window, {})->countdown, qint16(0));

    // Another user replies; the check lists the post under "New Replies ".
    m_forum.addReply("someone", QString(600, QLatin1Char('x')));
    control<QTabBar>(window, "listTabs")->setCurrentIndex(1);
    control<QTabBar>(window, "postTabs")->setCurrentIndex(1);
    QVERIFY(control<QPushButton>(window, "checkRepliesButton")->isVisible());
    control<QPushButton>(window, "checkRepliesButton")->click();
    QTRY_COMPARE_WITH_TIMEOUT(window.panelText(1), QStringLiteral("finished - 1 new replies found"), 10000);
    QCOMPARE(rowCount(control<QListView>(window, "newRepliesList")), 1);
    QCOMPARE(rowData(control<QListView>(window, "newRepliesList"), 0).toString(), threadAddress);

    // Without a new measurement the next check reports it again.
    control<QPushButton>(window, "checkRepliesButton")->click();
    QTRY_COMPARE_WITH_TIMEOUT(window.panelText(1), QStringLiteral("finished - 1 new replies found"), 10000);
    QCOMPARE(rowCount(control<QListView>(window, "newRepliesList")), 1);

    // Opening it from the new replies measures it again, so the next check finds nothing new.
    control<QLineEdit>(window, "addressEdit")->clear();
    doubleClick(control<QListView>(window, "newRepliesList"), 0);
    QVERIFY(waitForPage(window, threadAddress));
    const QString grownSize = QString::number(m_forum.threadPage().size());
    QTRY_COMPARE_WITH_TIMEOUT(control<OwnPosts>(window, {})->storedSize(0), grownSize, 10000);
    QCOMPARE(rowCount(control<QListView>(window, "postList")), 1);
    control<QPushButton>(window, "checkRepliesButton")->click();
    QTRY_COMPARE_WITH_TIMEOUT(window.panelText(1), QStringLiteral("finished - 0 new replies found"), 10000);
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

POSTAVO_WEB_TEST_MAIN(tst_EndToEnd)
#include "tst_endtoend.moc"
