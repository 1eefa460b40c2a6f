// The reply check run in the main window, against pages served on loopback.
#include <QHash>
#include <QSignalSpy>
#include <QListWidget>
#include <QPushButton>
#include <QTabBar>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QTest>

#include "base/appcontext.h"
#include "app/mainwindow.h"
#include "base/settingsstore.h"
#include "forums/listfiles.h"
#include "links/linkformats.h"
#include "replies/pagetext.h"
#include "replies/replytexts.h"
#include "support/modalwatcher.h"
#include "support/webtestutil.h"
#include "support/pageserver.h"
#include "support/programstate.h"

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
    m_state->context.keptTexts = &m_state->keptTexts;
    m_window = std::make_unique<MainWindow>(m_state->context, nullptr, m_server.port());
    QVERIFY(m_window->startUp());
    m_window->show();
    // The start page's load shares status panel 1; let it finish first.
    QTRY_COMPARE_WITH_TIMEOUT(m_window->panelText(1), QStringLiteral("Complete"), 20000);
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
    m_window->ownPosts.add(address);
    m_window->ownPosts.storeSize(m_window->ownPosts.count() - 1, address, storedSize);
    m_window->postsPanel->showPosts();
}

void tst_PostsPanel::runCheck()
{
    m_window->postsPanel->checkRepliesButton->click();
    QTRY_VERIFY_WITH_TIMEOUT(m_window->panelText(1).startsWith("finished - "), 10000);
}

void tst_PostsPanel::noPostsFinishesAtOnce()
{
    m_window->postsPanel->checkRepliesButton->click();
    QCOMPARE(m_window->panelText(1), QStringLiteral("finished - 0 new replies found"));
    QCOMPARE(m_window->postsPanel->newRepliesList->count(), 0);
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
    for (int i = 0; i < m_window->postsPanel->newRepliesList->count(); ++i) {
        found.append(m_window->postsPanel->newRepliesList->item(i)->text().mid(QStringLiteral("http://127.0.0.1").size()));
    }
    QCOMPARE(found, expected);
    QCOMPARE(m_window->panelText(1),
             QStringLiteral("finished - %1 new replies found").arg(expected.size()));
    // A check stores sizes only for posts that had no usable one.
    QCOMPARE(m_window->ownPosts.sizes(), (QStringList{"1000", "9000", "1000", "9000", "1000", "1000"}));

    // The grown posts were not measured again, so the next run reports the same posts.
    runCheck();
    QCOMPARE(m_window->postsPanel->newRepliesList->count(), expected.size());
}

void tst_PostsPanel::secondPressRestartsTheRun()
{
    addPost("/slow", QByteArray(5000, 'a'), "1000");
    addPost("/other", QByteArray(5000, 'b'), "1000");
    m_server.holding = true;
    m_window->postsPanel->checkRepliesButton->click();
    // Both are asked at once: the other one is done while the slow one still waits.
    QTRY_COMPARE(m_window->panelText(1), QStringLiteral("checking post 2"));
    QVERIFY(m_window->postsPanel->isChecking());
    QTest::qWait(200);
    QCOMPARE(m_window->panelText(1), QStringLiteral("checking post 2"));

    m_server.holding = false;
    runCheck();
    QCOMPARE(m_window->panelText(1), QStringLiteral("finished - 2 new replies found"));
    QCOMPARE(m_window->postsPanel->newRepliesList->count(), 2);
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
    QSignalSpy finished(m_window->postsPanel, &PostsPanel::checkFinished);
    runCheck();
    QCOMPARE(m_window->panelText(1), QStringLiteral("finished - 1 new replies found, 3 could not be checked"));
    QCOMPARE(finished.count(), 1);
    QCOMPARE(finished.first(), (QVariantList{1, 3, QStringList{m_server.address("/grown")}}));
    QCOMPARE(boxes.texts, QStringList());
    const QStringList outcomes = {"No answer: Nothing arrived for 1 second", "Connection refused",
                                  "New replies: grew by 600 bytes", "Server error: status 404",
                                  "Not measured before: size taken now (9000 bytes)", "No new replies"};
    for (int row = 0; row < outcomes.size(); ++row) {
        QCOMPARE(m_window->postsPanel->outcomeText(row), outcomes.at(row));
        QCOMPARE(m_window->postsPanel->postList->item(row)->icon().isNull(), false);
    }

    m_window->shutDown();
    QCOMPARE(ListFiles::readPosts(m_state->dir.filePath("posts.txt")), m_window->ownPosts.addresses());
    QCOMPARE(ListFiles::readSizes(m_state->dir.filePath("sizes.txt"), int(outcomes.size())),
             (QStringList{"10", "10", "1000", "10", "9000", "1000"}));
    QCOMPARE(m_window->ownPosts.count(), outcomes.size());
}

void tst_PostsPanel::tabsSwitchTheView()
{
    m_window->listTabs->setCurrentIndex(1);
    QVERIFY(m_window->postsPanel->postList->isVisible());
    QVERIFY(!m_window->postsPanel->checkRepliesButton->isVisible());
    m_window->postsPanel->postTabs->setCurrentIndex(1);
    QVERIFY(!m_window->postsPanel->postList->isVisible());
    QVERIFY(!m_window->postsPanel->watchButton->isVisible());
    QVERIFY(!m_window->postsPanel->unwatchButton->isVisible());
    QVERIFY(m_window->postsPanel->newRepliesList->isVisible());
    QVERIFY(m_window->postsPanel->checkRepliesButton->isVisible());
    m_window->postsPanel->postTabs->setCurrentIndex(0);
    QVERIFY(m_window->postsPanel->postList->isVisible());
    QVERIFY(!m_window->postsPanel->newRepliesList->isVisible());
}

void tst_PostsPanel::newRepliesSayWhatWasAdded()
{
    const QByteArray before = "<p>alice</p><p>Where can I buy it?</p>";
    const QString reply = QStringLiteral(
        "Try the shop on the corner of Main Street, they had three left this morning. The price was 40 euros, a little "
        "less than online. Ask for Marek, he knows the older models well and can order parts. I bought mine there "
        "last year and it still works fine. They also repair them if something breaks after the warranty. Open every "
        "day but Sunday, from nine to six. Parking is behind the building. Bring the receipt of your old one if you "
        "want a discount, they take them back. Their phone number is on the website too. Good luck!");
    m_state->keptTexts.write(m_server.address("/told"), {PageText::lines({}, before), {}});
    addPost("/told", before + "<p>bob</p><p>" + reply.toUtf8() + "</p>", QString::number(before.size()));
    addPost("/untold", QByteArray(2000, 'q'), "1000");
    m_window->listTabs->setCurrentIndex(1);
    m_window->postsPanel->postTabs->setCurrentIndex(1);
    runCheck();

    QListWidget *list = m_window->postsPanel->newRepliesList;
    QCOMPARE(list->count(), 2);
    const QString told = m_server.address("/told");
    const QString excerpt = ReplyTexts::excerpt({"bob\n" + reply}, 300);
    QVERIFY(excerpt.size() < reply.size());
    QCOMPARE(list->item(0)->text(), told + "\n" + excerpt);
    QCOMPARE(list->item(0)->data(Qt::AccessibleTextRole).toString(), told + ": " + excerpt);
    QCOMPARE(list->item(0)->data(Qt::AccessibleDescriptionRole).toString(), "bob\n" + reply);
    QVERIFY(list->item(0)->toolTip().contains(reply));
    // A page whose text was not kept yet tells nothing, and has it kept from now on.
    QCOMPARE(list->item(1)->text(), m_server.address("/untold"));
    QVERIFY(m_state->keptTexts.read(m_server.address("/untold")));
    if (const QString folder = qEnvironmentVariable("POSTAVO_SCREENSHOT_DIR"); !folder.isEmpty()) {
        m_window->resize(m_window->width(), 860);
        QTest::qWait(300);
        QVERIFY(m_window->grab().save(folder + "/new-replies.png"));
    }

    // Selected, the entry shows all of it.
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(0)).center());
    QCOMPARE(list->item(0)->text(), told + "\nbob\n" + reply);
    // Removing the watch takes the kept text with it.
    m_window->postsPanel->postTabs->setCurrentIndex(0);
    QListWidget *posts = m_window->postsPanel->postList;
    QTest::mouseClick(posts->viewport(), Qt::LeftButton, {}, posts->visualItemRect(posts->item(0)).center());
    m_window->postsPanel->unwatchButton->click();
    QVERIFY(!m_state->keptTexts.read(told));
    QVERIFY(m_state->keptTexts.read(m_server.address("/untold")));
}

POSTAVO_WEB_TEST_MAIN(tst_PostsPanel)
#include "tst_postspanel.moc"
