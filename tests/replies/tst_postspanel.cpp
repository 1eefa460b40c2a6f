// The reply check run in the main window, against pages served on loopback.
#include <QHash>
#include <QSignalSpy>
#include <QListView>
#include <QPushButton>
#include <QTabBar>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>
#include <QWebEnginePage>
#include <QWebEngineView>

#include "app/programcontext.h"
#include "app/mainwindow.h"
#include "base/settingsstore.h"
#include "forums/listfiles.h"
#include "links/linkformats.h"
#include "support/modalwatcher.h"
#include "forums/ownposts.h"
#include "replies/postspanel.h"
#include "support/controls.h"
#include "support/webtestutil.h"
#include "support/pageserver.h"
#include "support/programstate.h"
#include "support/mainwindowparts.h"

class tst_PostsPanel : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void noPostsFinishesAtOnce();
    void listsGrownPostsOnly_data();
    void listsGrownPostsOnly();
    void secondPressRestartsTheRun();
    void brokenPostsGetTheirOutcomeAndTheRunGoesOn();
    void tabsSwitchTheView();
    void newRepliesSayWhatWasAdded();

private:
    void addPost(const QString &path, const QByteArray &body, const QString &storedSize);
    void addAddress(const QString &address, const QString &storedSize);
    void runCheck();

    PageServer m_server;
    std::unique_ptr<ProgramState> m_state;
    std::unique_ptr<MainWindow> m_window;
};

void tst_PostsPanel::init()
{
    m_state = std::make_unique<ProgramState>();
    if (QByteArray(QTest::currentTestFunction()) == "newRepliesSayWhatWasAdded") {
        m_state->context.keptTexts = &m_state->keptTexts;
    }
    m_window = std::make_unique<MainWindow>(m_state->context, nullptr, m_server.port());
    QVERIFY(m_window->startUp());
    m_window->show();
    // The start page's load shares status panel 1; let it finish first.
    QTRY_COMPARE_WITH_TIMEOUT(panelText(*m_window, 1), QStringLiteral("Complete"), 20000);
    m_server.bodies.clear();
    m_server.holding = false;
}

void tst_PostsPanel::cleanup()
{
    m_window.reset();
    m_state.reset();
}

void tst_PostsPanel::addPost(const QString &path, const QByteArray &body, const QString &storedSize)
{
    m_server.bodies.insert(path.toUtf8(), body);
    addAddress(m_server.address(path), storedSize);
}

void tst_PostsPanel::addAddress(const QString &address, const QString &storedSize)
{
    control<OwnPosts>(m_window, {})->add(address);
    control<OwnPosts>(m_window, {})->storeSize(control<OwnPosts>(m_window, {})->count() - 1, address, storedSize);
}

void tst_PostsPanel::runCheck()
{
    control<QPushButton>(m_window, "checkRepliesButton")->click();
    QTRY_VERIFY_WITH_TIMEOUT(panelText(*m_window, 1).startsWith("finished - "), 10000);
}

void tst_PostsPanel::noPostsFinishesAtOnce()
{
    control<QPushButton>(m_window, "checkRepliesButton")->click();
    QCOMPARE(panelText(*m_window, 1), QStringLiteral("finished - 0 new replies found"));
    QCOMPARE(rowCount(control<QListView>(m_window, "newRepliesList")), 0);
}

void tst_PostsPanel::listsGrownPostsOnly_data()
{
    QTest::addColumn<QString>("threshold");
    QTest::addColumn<QStringList>("expected");
    // /exact grew by exactly 500 bytes, /more by 501, /huge by 40000, /shrunk lost 100.
    QTest::newRow("default") << "500" << QStringList{"/more", "/huge"};
    QTest::newRow("zero") << "0" << QStringList{"/exact", "/more", "/huge"};
    QTest::newRow("fraction-rounds-half-to-even") << "500.5" << QStringList{"/more", "/huge"};
    QTest::newRow("beyond-16-bit-clamps") << "1e9" << QStringList{"/huge"};
    QTest::newRow("no-number-uses-default") << "many" << QStringList{"/more", "/huge"};
}

void tst_PostsPanel::listsGrownPostsOnly()
{
    QFETCH(QString, threshold);
    QFETCH(QStringList, expected);
    m_state->settings.write("data", "size", threshold);
    addPost("/exact", QByteArray(1500, 'a'), "1000");
    addPost("/unmeasured", QByteArray(9000, 'b'), ListFiles::unmeasuredSize);
    addPost("/more", QByteArray(1501, 'c'), "1000");
    addPost("/junk", QByteArray(9000, 'd'), "12 kB");
    addPost("/huge", QByteArray(41000, 'e'), "1000");
    addPost("/shrunk", QByteArray(900, 'f'), "1000");

    runCheck();
    QStringList found;
    for (int i = 0; i < rowCount(control<QListView>(m_window, "newRepliesList")); ++i) {
        found.append(rowData(control<QListView>(m_window, "newRepliesList"), i).toString().mid(QStringLiteral("http://127.0.0.1").size()));
    }
    QCOMPARE(found, expected);
    QCOMPARE(panelText(*m_window, 1),
             QStringLiteral("finished - %1 new replies found").arg(expected.size()));
    // A check stores sizes only for posts that had no usable one.
    QCOMPARE(control<OwnPosts>(m_window, {})->sizes(), (QStringList{"1000", "9000", "1000", "9000", "1000", "1000"}));

    // The grown posts were not measured again, so the next run reports the same posts.
    runCheck();
    QCOMPARE(rowCount(control<QListView>(m_window, "newRepliesList")), expected.size());
}

void tst_PostsPanel::secondPressRestartsTheRun()
{
    addPost("/slow", QByteArray(5000, 'a'), "1000");
    addPost("/other", QByteArray(5000, 'b'), "1000");
    m_server.holding = true;
    control<QPushButton>(m_window, "checkRepliesButton")->click();
    // Both are asked at once: the other one is done while the slow one still waits.
    QTRY_COMPARE(panelText(*m_window, 1), QStringLiteral("checking post 2"));
    QVERIFY(control<PostsPanel>(m_window, "postsFrame")->isChecking());
    QTest::qWait(200);
    QCOMPARE(panelText(*m_window, 1), QStringLiteral("checking post 2"));

    m_server.holding = false;
    runCheck();
    QCOMPARE(panelText(*m_window, 1), QStringLiteral("finished - 2 new replies found"));
    QCOMPARE(rowCount(control<QListView>(m_window, "newRepliesList")), 2);
}

void tst_PostsPanel::brokenPostsGetTheirOutcomeAndTheRunGoesOn()
{
    quint16 closedPort = 0;
    {
        QTcpServer server;
        QVERIFY(server.listen(QHostAddress::LocalHost));
        closedPort = server.serverPort();
    }
    m_state->settings.write("data", "readTimeout", "1");
    m_server.holding = true;
    m_server.statuses.insert("/missing", "404 Not Found");
    addPost("/slow", QByteArray(10, 'a'), "10");
    addAddress(QStringLiteral("http://127.0.0.1:%1/refused").arg(closedPort), "10");
    addPost("/grown", QByteArray(1600, 'b'), "1000");
    addPost("/missing", QByteArray(100, 'c'), "10");
    addPost("/never", QByteArray(9000, 'd'), ListFiles::unmeasuredSize);
    addPost("/same", QByteArray(1000, 'e'), "1000");

    ModalWatcher boxes;
    QSignalSpy finished(control<PostsPanel>(m_window, "postsFrame"), &PostsPanel::checkFinished);
    runCheck();
    QCOMPARE(panelText(*m_window, 1), QStringLiteral("finished - 1 new replies found, 3 could not be checked"));
    QCOMPARE(finished.count(), 1);
    QCOMPARE(finished.first(), (QVariantList{1, 3, QStringList{m_server.address("/grown")}}));
    QCOMPARE(boxes.texts, QStringList());
    const QStringList outcomes = {"No answer: Nothing arrived for 1 second", "Connection refused",
                                  "New replies: grew by 600 bytes", "Server error: status 404",
                                  "Not measured before: size taken now (9000 bytes)", "No new replies"};
    for (int row = 0; row < outcomes.size(); ++row) {
        const auto *list = control<QListView>(m_window, "postList");
        QCOMPARE(rowData(list, row, Qt::ToolTipRole).toString(), outcomes.at(row));
        QCOMPARE(rowData(list, row, Qt::DecorationRole).value<QIcon>().isNull(), false);
    }

    m_window->shutDown();
    QCOMPARE(ListFiles::readPosts(m_state->dir.filePath("posts.txt")), control<OwnPosts>(m_window, {})->addresses());
    QCOMPARE(ListFiles::readSizes(m_state->dir.filePath("sizes.txt"), int(outcomes.size())),
             (QStringList{"10", "10", "1000", "10", "9000", "1000"}));
    QCOMPARE(control<OwnPosts>(m_window, {})->count(), outcomes.size());
}

void tst_PostsPanel::tabsSwitchTheView()
{
    control<QTabBar>(m_window, "listTabs")->setCurrentIndex(1);
    QVERIFY(control<QListView>(m_window, "postList")->isVisible());
    QVERIFY(!control<QPushButton>(m_window, "checkRepliesButton")->isVisible());
    control<QTabBar>(m_window, "postTabs")->setCurrentIndex(1);
    QVERIFY(!control<QListView>(m_window, "postList")->isVisible());
    QVERIFY(!control<QPushButton>(m_window, "watchButton")->isVisible());
    QVERIFY(!control<QPushButton>(m_window, "unwatchButton")->isVisible());
    QVERIFY(control<QListView>(m_window, "newRepliesList")->isVisible());
    QVERIFY(control<QPushButton>(m_window, "checkRepliesButton")->isVisible());
    control<QTabBar>(m_window, "postTabs")->setCurrentIndex(0);
    QVERIFY(control<QListView>(m_window, "postList")->isVisible());
    QVERIFY(!control<QListView>(m_window, "newRepliesList")->isVisible());
}

// The entry of a grown post: its address, then the beginning of the reply on one line; all of it in the reading
// pane once chosen, on hover and for assistive tools; the pane's link opens the post.
void tst_PostsPanel::newRepliesSayWhatWasAdded()
{
    const QByteArray thread = "<html><body><h1>Thread</h1><p>First post about the product here.</p>";
    addPost("/t", thread + "</body></html>", ListFiles::unmeasuredSize);
    runCheck();
    const QString reply = QStringLiteral("Where can I buy this tool in Europe? ").repeated(10) + QString(40, u'x')
        + QStringLiteral("\n<b>not markup</b>");
    m_server.bodies.insert("/t", thread + "<pre>" + reply.toHtmlEscaped().toUtf8() + "</pre>" + QByteArray(600, ' ')
            + "</body></html>");
    runCheck();
    auto *list = control<QListView>(m_window, "newRepliesList");
    QCOMPARE(rowCount(list), 1);
    // The start page shown lists the post too, and the status bar keeps what the check said.
    QWebEnginePage *page = control<QWebEngineView>(m_window, "webView")->page();
    QTRY_VERIFY(WebTest::evaluateJavaScriptSync(page, "document.body.innerText").toString().contains("/t"));
    QCOMPARE(panelText(*m_window, 1), QStringLiteral("finished - 1 new replies found"));
    const QModelIndex entry = list->model()->index(0, 0);
    const QString address = m_server.address(QStringLiteral("/t"));
    QCOMPARE(entry.data().toString().section(u'\n', 0, 0), address);
    QVERIFY2(entry.data().toString().section(u'\n', 1).startsWith(QStringLiteral("Where can I buy this tool")),
        qPrintable(entry.data().toString()));
    QCOMPARE(entry.data().toString().count(u'\n'), 1);
    QVERIFY(!entry.data().toString().contains(QStringLiteral("not markup")));
    QVERIFY(entry.data(Qt::ToolTipRole).toString().contains(reply.section(u'\n', 0, 0).trimmed()));
    QVERIFY(entry.data(Qt::AccessibleTextRole).toString().startsWith(address + QStringLiteral(": Where can I buy")));

    control<QTabBar>(m_window, "listTabs")->setCurrentIndex(1);
    control<QTabBar>(m_window, "postTabs")->setCurrentIndex(1);
    auto *reader = control<QTextBrowser>(m_window, "replyReader");
    QVERIFY(list->isVisible() && reader->isVisible());
    list->setFocus();
    QTest::keyClick(list, Qt::Key_Home);
    QCOMPARE(list->currentIndex(), entry);
    // The whole reply, its markup shown as text, under the post's address.
    QCOMPARE(reader->toPlainText().section(u'\n', 0, 0), address);
    QVERIFY2(reader->toPlainText().section(u'\n', 1).contains(reply.simplified()), qPrintable(reader->toPlainText()));
    QVERIFY(reader->textInteractionFlags().testFlag(Qt::TextSelectableByKeyboard));
    QCOMPARE(reader->accessibleName(), QStringLiteral("What the replies say"));
    // Its link, reached by the keyboard, opens the post in the browser.
    ModalWatcher boxes;
    reader->setFocus();
    QTest::keyClick(reader, Qt::Key_Tab);
    QTest::keyClick(reader, Qt::Key_Return);
    QTRY_COMPARE_WITH_TIMEOUT(control<QWebEngineView>(m_window, "webView")->url().toString(), address, 10000);

    // A page the user opened stays when a check ends; only the start page is made again.
    QTRY_COMPARE_WITH_TIMEOUT(panelText(*m_window, 1), QStringLiteral("Complete"), 10000);
    runCheck();
    QTest::qWait(500);
    QCOMPARE(control<QWebEngineView>(m_window, "webView")->url().toString(), address);
    QVERIFY2(boxes.texts.isEmpty(), qPrintable(boxes.texts.join(" / ")));
}

POSTAVO_WEB_TEST_MAIN(tst_PostsPanel)
#include "tst_postspanel.moc"
