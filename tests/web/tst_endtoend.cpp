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
#include "support/modalwatcher.h"
#include "forums/ownposts.h"
#include "web/postedmessagewatcher.h"
#include "support/controls.h"
#include "support/testforum.h"
#include "support/webtestutil.h"

class tst_EndToEnd : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void postAndWatchForReplies();

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

POSTAVO_WEB_TEST_MAIN(tst_EndToEnd)
#include "tst_endtoend.moc"
