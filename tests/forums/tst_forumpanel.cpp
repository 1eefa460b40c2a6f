// The forum panel in the main window: forums, logins, the list files they are kept in.
#include <QPlainTextEdit>
#include <QToolButton>
#include <QWebEngineView>

#include "support/fullfilesystem.h"
#include "support/listprogram.h"
#include "forums/ownposts.h"
#include "forums/forums.h"
#include "replies/postspanel.h"
#include "forums/forumpanel.h"
#include "web/postedmessagewatcher.h"
#include "support/controls.h"
#include "support/mainwindowparts.h"
#include <QListView>
#include <QLineEdit>
#include <QPushButton>
#include <QTabBar>

class tst_ForumPanel : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();

    void addForumStoresPlaceholderLogin();
    void secondNewForumGetsPlaceholderToo();
    void addingKnownForumChangesNothing();
    void everyKeystrokeIsStored();
    void selectingShowsThatForumsLogin();
    void keyboardSelectionShowsLoginToo();
    void removeForum();
    void newForumSurvivesRestart();
    void barsInLoginsSurviveRestart();
    void forumFileIsOwnerOnly();
    void saveFailureIsReported();
    void refusedWriteIsToldNeverSaved_data();
    void refusedWriteIsToldNeverSaved();
    void changesReachTheDiskWithoutShutDown_data();
    void changesReachTheDiskWithoutShutDown();
    void damagedFilesLoadInStep();
    void fullListsRefuseMore();
    void ownPostClicks();
    void forumDoubleClickOnlyNavigates();
    void tabsSwitchFrames();

private:
    bool goTo(MainWindow &w, const QString &address);
    QString dataFile(const QString &name) const { return m_dir->filePath(name); }

    BlockEverything m_blocker;
    std::unique_ptr<QTemporaryDir> m_dir;
};

void tst_ForumPanel::initTestCase()
{
    QWebEngineProfile::defaultProfile()->setUrlRequestInterceptor(&m_blocker);
}

void tst_ForumPanel::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
}

bool tst_ForumPanel::goTo(MainWindow &w, const QString &address)
{
    navigate(w, address);
    return QTest::qWaitFor([&w, &address] { return currentAddress(w) == address; }, 10000);
}

void tst_ForumPanel::addForumStoresPlaceholderLogin()
{
    Program program(m_dir->path());
    MainWindow &w = *program.window;
    QVERIFY(program.loaded);
    QVERIFY(!control<QLineEdit>(w, "usernameEdit")->isEnabled());
    QVERIFY(goTo(w, "http://forum.example/board"));
    control<QPushButton>(w, "addForumButton")->click();

    QCOMPARE(entries(control<QListView>(w, "forumList")), QStringList{"http://forum.example/board"});
    QCOMPARE(control<Forums>(w, {})->logins(), QStringList{"Enter Username|"});
    QCOMPARE(currentRow(control<QListView>(w, "forumList")), 0);
    QVERIFY(control<QLineEdit>(w, "usernameEdit")->isEnabled());
    QVERIFY(control<QLineEdit>(w, "passwordEdit")->isEnabled());
    QCOMPARE(control<QLineEdit>(w, "usernameEdit")->text(), QString("Enter Username"));
    QCOMPARE(control<QLineEdit>(w, "passwordEdit")->text(), QString());
    QCOMPARE(panelText(w, 2), QString("http://forum.example/board"));
    QTRY_COMPARE(readFile(dataFile("posts2.txt")), QByteArray("http://forum.example/board|Enter Username|\r\n\r\n"));
}

void tst_ForumPanel::secondNewForumGetsPlaceholderToo()
{
    Program program(m_dir->path());
    MainWindow &w = *program.window;
    QVERIFY(goTo(w, "http://forum.example/a"));
    control<QPushButton>(w, "addForumButton")->click();
    // The boxes show "Enter Username" and an empty password already, so adding changes no box.
    QVERIFY(goTo(w, "http://forum.example/b"));
    control<QPushButton>(w, "addForumButton")->click();
    QCOMPARE(control<Forums>(w, {})->logins(), (QStringList{"Enter Username|", "Enter Username|"}));
    QTRY_COMPARE(readFile(dataFile("posts2.txt")),
             QByteArray("http://forum.example/a|Enter Username|\r\n\r\nhttp://forum.example/b|Enter Username|\r\n\r\n"));
    setCurrentRow(control<QListView>(w, "forumList"), 0);
    setCurrentRow(control<QListView>(w, "forumList"), 1);
    QCOMPARE(control<QLineEdit>(w, "usernameEdit")->text(), QString("Enter Username"));
}

void tst_ForumPanel::addingKnownForumChangesNothing()
{
    Program program(m_dir->path());
    MainWindow &w = *program.window;
    QVERIFY(goTo(w, "http://forum.example/a"));
    control<QPushButton>(w, "addForumButton")->click();
    control<QLineEdit>(w, "usernameEdit")->setText("bob");
    QTRY_COMPARE(readFile(dataFile("posts2.txt")), QByteArray("http://forum.example/a|bob|\r\n\r\n"));
    const QByteArray before = readFile(dataFile("posts2.txt"));
    QVERIFY(QFile::remove(dataFile("posts2.txt")));

    control<QPushButton>(w, "addForumButton")->click();
    QCOMPARE(entries(control<QListView>(w, "forumList")), QStringList{"http://forum.example/a"});
    QCOMPARE(control<Forums>(w, {})->logins(), QStringList{"bob|"});
    QCOMPARE(control<QLineEdit>(w, "usernameEdit")->text(), QString("bob"));
    QTest::qWait(1500);
    QVERIFY(!QFile::exists(dataFile("posts2.txt"))); // not even rewritten
    QCOMPARE(before, QByteArray("http://forum.example/a|bob|\r\n\r\n"));
}

void tst_ForumPanel::everyKeystrokeIsStored()
{
    Program program(m_dir->path());
    MainWindow &w = *program.window;
    QVERIFY(goTo(w, "http://forum.example/a"));
    control<QPushButton>(w, "addForumButton")->click();
    const QByteArray added("http://forum.example/a|Enter Username|\r\n\r\n");
    QTRY_COMPARE(readFile(dataFile("posts2.txt")), added);
    const QString password = "p4ss|w0r";
    QTest::keyClicks(control<QLineEdit>(w, "passwordEdit"), password);
    // A burst of keystrokes is written once, a moment after the last of them; the file holds every one.
    QCOMPARE(readFile(dataFile("posts2.txt")), added);
    QTRY_COMPARE_WITH_TIMEOUT(readFile(dataFile("posts2.txt")),
        QByteArray("%http://forum.example/a|Enter Username|p4ss%7Cw0r\r\n\r\n"), 2000);
    QCOMPARE(control<QLineEdit>(w, "passwordEdit")->text(), password);
    QCOMPARE(ListFiles::readForums(dataFile("posts2.txt")).logins,
             QStringList{ListFiles::joinLogin("Enter Username", password)});
    // The shut-down writes what was typed last, without waiting.
    QTest::keyClick(control<QLineEdit>(w, "passwordEdit"), 'x');
    w.close();
    QCOMPARE(ListFiles::readForums(dataFile("posts2.txt")).logins,
             QStringList{ListFiles::joinLogin("Enter Username", password + 'x')});
}

void tst_ForumPanel::selectingShowsThatForumsLogin()
{
    writeFile(dataFile("posts2.txt"), "http://a/|alice|pa\r\n\r\nhttp://b/|bob|\r\n\r\n");
    Program program(m_dir->path());
    MainWindow &w = *program.window;
    const QByteArray stored = readFile(dataFile("posts2.txt"));

    setCurrentRow(control<QListView>(w, "forumList"), 0);
    QCOMPARE(control<QLineEdit>(w, "usernameEdit")->text(), QString("alice"));
    QCOMPARE(control<QLineEdit>(w, "passwordEdit")->text(), QString("pa"));
    setCurrentRow(control<QListView>(w, "forumList"), 1);
    QCOMPARE(control<QLineEdit>(w, "usernameEdit")->text(), QString("bob"));
    QCOMPARE(control<QLineEdit>(w, "passwordEdit")->text(), QString()); // an empty stored password shows an empty box
    QCOMPARE(panelText(w, 2), QString("http://b/"));
    QCOMPARE(readFile(dataFile("posts2.txt")), stored);
    QCOMPARE(control<Forums>(w, {})->logins(), (QStringList{"alice|pa", "bob|"}));
}

void tst_ForumPanel::keyboardSelectionShowsLoginToo()
{
    writeFile(dataFile("posts2.txt"), "http://a/|alice|pa\r\n\r\nhttp://b/|bob|pb\r\n\r\n");
    Program program(m_dir->path());
    MainWindow &w = *program.window;
    setCurrentRow(control<QListView>(w, "forumList"), 0);
    QTest::keyClick(control<QListView>(w, "forumList"), Qt::Key_Down);
    QCOMPARE(currentRow(control<QListView>(w, "forumList")), 1);
    QCOMPARE(control<QLineEdit>(w, "usernameEdit")->text(), QString("bob"));
    // Typing now changes bob's login, and alice's stays.
    QTest::keyClick(control<QLineEdit>(w, "passwordEdit"), 'x');
    QTRY_COMPARE(readFile(dataFile("posts2.txt")), QByteArray("http://a/|alice|pa\r\n\r\nhttp://b/|bob|pbx\r\n\r\n"));
}

void tst_ForumPanel::removeForum()
{
    writeFile(dataFile("posts2.txt"), "http://a/|alice|pa\r\n\r\nhttp://b/|bob|pb\r\n\r\nhttp://c/|carl|pc\r\n\r\n");
    Program program(m_dir->path());
    MainWindow &w = *program.window;

    control<QPushButton>(w, "removeForumButton")->click(); // nothing selected
    QCOMPARE(rowCount(control<QListView>(w, "forumList")), 3);

    setCurrentRow(control<QListView>(w, "forumList"), 1);
    control<QPushButton>(w, "removeForumButton")->click();
    QCOMPARE(entries(control<QListView>(w, "forumList")), (QStringList{"http://a/", "http://c/"}));
    QCOMPARE(control<Forums>(w, {})->logins(), (QStringList{"alice|pa", "carl|pc"}));
    QTRY_COMPARE(readFile(dataFile("posts2.txt")), QByteArray("http://a/|alice|pa\r\n\r\nhttp://c/|carl|pc\r\n\r\n"));

    // Nothing is selected now: the boxes keep the removed login, and typing changes no login.
    QCOMPARE(currentRow(control<QListView>(w, "forumList")), -1);
    QCOMPARE(control<QLineEdit>(w, "usernameEdit")->text(), QString("bob"));
    QTest::keyClick(control<QLineEdit>(w, "usernameEdit"), 'z');
    QCOMPARE(control<Forums>(w, {})->logins(), (QStringList{"alice|pa", "carl|pc"}));
    QCOMPARE(readFile(dataFile("posts2.txt")), QByteArray("http://a/|alice|pa\r\n\r\nhttp://c/|carl|pc\r\n\r\n"));
}

void tst_ForumPanel::newForumSurvivesRestart()
{
    {
        Program program(m_dir->path());
        QVERIFY(goTo(*program.window, "http://forum.example/new"));
        control<QPushButton>(program.window, "addForumButton")->click();
        program.window->shutDown();
    }
    Program program(m_dir->path());
    MainWindow &w = *program.window;
    QCOMPARE(entries(control<QListView>(w, "forumList")), QStringList{"http://forum.example/new"});
    setCurrentRow(control<QListView>(w, "forumList"), 0);
    QCOMPARE(control<QLineEdit>(w, "usernameEdit")->text(), QString("Enter Username"));
    QCOMPARE(control<QLineEdit>(w, "passwordEdit")->text(), QString());
}

void tst_ForumPanel::barsInLoginsSurviveRestart()
{
    {
        Program program(m_dir->path());
        MainWindow &w = *program.window;
        QVERIFY(goTo(w, "http://forum.example/x"));
        control<QPushButton>(w, "addForumButton")->click();
        control<QLineEdit>(w, "usernameEdit")->setText("us|er");
        control<QLineEdit>(w, "passwordEdit")->setText("|pa%7C|ss|");
        program.window->shutDown();
    }
    Program program(m_dir->path());
    MainWindow &w = *program.window;
    setCurrentRow(control<QListView>(w, "forumList"), 0);
    QCOMPARE(control<QLineEdit>(w, "usernameEdit")->text(), QString("us|er"));
    QCOMPARE(control<QLineEdit>(w, "passwordEdit")->text(), QString("|pa%7C|ss|"));
    QCOMPARE(entries(control<QListView>(w, "forumList")), QStringList{"http://forum.example/x"});
}

void tst_ForumPanel::forumFileIsOwnerOnly()
{
    writeFile(dataFile("posts2.txt"), "http://a/|alice|pa\r\n\r\n");
    QFile::setPermissions(dataFile("posts2.txt"),
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadOther);
    Program program(m_dir->path());
    setCurrentRow(control<QListView>(program.window, "forumList"), 0);
    QTest::keyClick(control<QLineEdit>(program.window, "passwordEdit"), 'q');
    const QFileDevice::Permissions others = QFileDevice::ReadGroup | QFileDevice::WriteGroup | QFileDevice::ReadOther
        | QFileDevice::WriteOther;
    QTRY_COMPARE(QFile::permissions(dataFile("posts2.txt")) & others, QFileDevice::Permissions());
    QVERIFY(QFile::permissions(dataFile("posts2.txt")) & QFileDevice::ReadOwner);
}

void tst_ForumPanel::saveFailureIsReported()
{
    writeFile(dataFile("posts2.txt"), "http://a/|alice|pa\r\n\r\n");
    Program program(m_dir->path());
    MainWindow &w = *program.window;
    setCurrentRow(control<QListView>(w, "forumList"), 0);
    // A folder in the file's place cannot be replaced, whoever runs the test.
    QVERIFY(QFile::remove(dataFile("posts2.txt")));
    QVERIFY(QDir(m_dir->path()).mkdir("posts2.txt"));

    BoxCatcher boxes;
    QTest::keyClick(control<QLineEdit>(w, "passwordEdit"), 'x');
    QTRY_COMPARE(boxes.texts.size(), 1);
    QVERIFY2(boxes.texts.at(0).startsWith("There was an error saving your logins.\r\n\r\nError Number "),
             qPrintable(boxes.texts.at(0)));
    const QStringList lines = boxes.texts.at(0).split("\r\n");
    QCOMPARE(lines.size(), 4);
    QVERIFY(lines.at(2).mid(QString("Error Number ").size()).toInt() > 0);
    QVERIFY(!lines.at(3).isEmpty());
    QCOMPARE(control<Forums>(w, {})->logins(), QStringList{"alice|pax"}); // the edit stays in memory
}

void tst_ForumPanel::refusedWriteIsToldNeverSaved_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("told");
    const QString reason = "No space left on device";
    QTest::newRow("messages.txt") << "messages.txt" << "Your message could not be saved to\n%1\n\n" + reason;
    QTest::newRow("posts.txt") << "posts.txt" << "Could not save posts.txt: " + reason;
    QTest::newRow("posts2.txt") << "posts2.txt"
                                << "There was an error saving your logins.\r\n\r\nError Number 4\r\n"
                                   "Could not save posts2.txt: " + reason;
    QTest::newRow("htmltemp.txt") << "htmltemp.txt" << "Could not save htmltemp.txt: " + reason;
    QTest::newRow("settings") << "Postavo.ini" << "Could not save Postavo.ini: " + reason;
}

void tst_ForumPanel::refusedWriteIsToldNeverSaved()
{
    QFETCH(QString, file);
    QFETCH(QString, told);
    FullFileSystem disk;
    QVERIFY(disk.isMounted());
    ScriptedServer server;
    server.answer(300);
    writeFile(disk.filePath("posts.txt"), "http://127.0.0.1/old\r\n\r\n");
    writeFile(disk.filePath("sizes.txt"), "100\r\n\r\n");
    writeFile(disk.filePath("messages.txt"), "an old message|subject\r\n");
    Program program(disk.path(), server.port());
    MainWindow &w = *program.window;
    QVERIFY(program.loaded);
    const QString path = disk.filePath(file);
    const QByteArray old = readFile(path);
    const QByteArray oldSizes = readFile(disk.filePath("sizes.txt"));
    if (file == "htmltemp.txt") {
        // A page with a form, served from memory, which the blocker would stop.
        QWebEngineProfile::defaultProfile()->setUrlRequestInterceptor(nullptr);
        QSignalSpy loaded(control<QWebEngineView>(w, "webView"), &QWebEngineView::loadFinished);
        control<QWebEngineView>(w, "webView")->setHtml("<form><textarea name=m></textarea></form>", QUrl("http://127.0.0.1/"));
        QVERIFY(loaded.wait(10000));
        QWebEngineProfile::defaultProfile()->setUrlRequestInterceptor(&m_blocker);
    } else if (file != "messages.txt") {
        QVERIFY(goTo(w, "http://127.0.0.1/new"));
    }

    disk.fill();
    BoxCatcher boxes;
    if (file == "messages.txt") {
        control<QToolButton>(w, "saveButton")->click();
    } else if (file == "posts.txt") {
        control<QPushButton>(w, "watchButton")->click();
    } else if (file == "posts2.txt") {
        control<QPushButton>(w, "addForumButton")->click();
        QTest::keyClicks(control<QLineEdit>(w, "passwordEdit"), "pw");
    } else if (file == "htmltemp.txt") {
        control<QToolButton>(w, "autoInsertButton")->click();
    } else {
        QTest::keyClicks(control<QLineEdit>(w, "messageEditor/subjectEdit"), "new subject");
    }

    const QString expected = told.contains("%1") ? told.arg(path) : told;
    const auto toldAs = [&boxes] { return boxes.texts + boxes.informativeTexts; };
    QTRY_VERIFY2_WITH_TIMEOUT(toldAs().contains(expected), qPrintable(toldAs().join(" / ")), 5000);
    // Told once, however many writes the change made and however long it goes on failing.
    QTest::qWait(1500);
    QCOMPARE(toldAs().count(expected), 1);
    QVERIFY(panelText(w, 1) != QStringLiteral("MESSAGE SAVED"));
    disk.release();
    QCOMPARE(readFile(path), old);
    QCOMPARE(readFile(disk.filePath("sizes.txt")), oldSizes);
}

void tst_ForumPanel::changesReachTheDiskWithoutShutDown_data()
{
    QTest::addColumn<QString>("change");
    QTest::addColumn<QByteArray>("posts");
    QTest::addColumn<QString>("sizeOfNew");
    QTest::addColumn<QByteArray>("forums");
    const QByteArray both("http://127.0.0.1/old\r\n\r\nhttp://127.0.0.1/new\r\n\r\n");
    QTest::newRow("watched") << "watch" << both << "measured" << QByteArray("\r\n");
    QTest::newRow("detected") << "detect" << both << "measured" << QByteArray("\r\n");
    QTest::newRow("removed") << "remove" << QByteArray() << "" << QByteArray("\r\n");
    QTest::newRow("forum-added") << "forum" << QByteArray("http://127.0.0.1/old\r\n\r\n") << ""
                                 << QByteArray("http://127.0.0.1/new|Enter Username|\r\n\r\n");
}

void tst_ForumPanel::changesReachTheDiskWithoutShutDown()
{
    QFETCH(QString, change);
    QFETCH(QByteArray, posts);
    QFETCH(QString, sizeOfNew);
    QFETCH(QByteArray, forums);
    ScriptedServer server;
    server.answer(300);
    writeFile(dataFile("posts.txt"), "http://127.0.0.1/old\r\n\r\n");
    writeFile(dataFile("sizes.txt"), "100\r\n\r\n");
    Program program(m_dir->path(), server.port());
    MainWindow &w = *program.window;
    QVERIFY(goTo(w, "http://127.0.0.1/new"));
    if (change == "watch") {
        control<QPushButton>(w, "watchButton")->click();
    } else if (change == "detect") {
        emit control<PostedMessageWatcher>(w, {})->postedMessageFound(currentAddress(w), QString(), QString());
    } else if (change == "remove") {
        setCurrentRow(control<QListView>(w, "postList"), 0);
        control<QPushButton>(w, "unwatchButton")->click();
    } else {
        control<QPushButton>(w, "addForumButton")->click();
    }
    QTRY_COMPARE_WITH_TIMEOUT(readFile(dataFile("posts.txt")), posts, 4000);
    QTRY_COMPARE_WITH_TIMEOUT(readFile(dataFile("posts2.txt")), forums, 4000);
    // The stored sizes follow, line for line, with the new post's measured size.
    QTRY_COMPARE_WITH_TIMEOUT(ListFiles::readSizes(dataFile("sizes.txt"), control<OwnPosts>(w, {})->count()), control<OwnPosts>(w, {})->sizes(),
                              4000);
    if (!sizeOfNew.isEmpty()) {
        QTRY_VERIFY_WITH_TIMEOUT(readFile(dataFile("sizes.txt")).startsWith("100\r\n\r\n")
                                     && !readFile(dataFile("sizes.txt")).contains("unmeasured"),
                                 4000);
    }
}

void tst_ForumPanel::damagedFilesLoadInStep()
{
    writeFile(dataFile("posts2.txt"), "http://a/\r\n\r\nhttp://b/|bob\r\n \r\n\x01\x02\xFF|\r\nhttp://c/|u|p|extra\r\n");
    writeFile(dataFile("posts.txt"), "http://p/1\r\n\r\nhttp://p/2\r\nhttp://p/3\r\n");
    writeFile(dataFile("sizes.txt"), "100\r\n\r\n");
    Program program(m_dir->path());
    MainWindow &w = *program.window;
    QCOMPARE(rowCount(control<QListView>(w, "forumList")), 4);
    QCOMPARE(control<Forums>(w, {})->logins(), (QStringList{"|", "|", "|", "u|p"}));
    QCOMPARE(entries(control<QListView>(w, "postList")), (QStringList{"http://p/1", "http://p/2", "http://p/3"}));
    QCOMPARE(control<OwnPosts>(w, {})->sizes(), (QStringList{"100", ListFiles::unmeasuredSize, ListFiles::unmeasuredSize}));

    // A forum loaded without a login shows empty boxes and stays that way in the file.
    setCurrentRow(control<QListView>(w, "forumList"), 1);
    QCOMPARE(control<QLineEdit>(w, "usernameEdit")->text(), QString());
    QCOMPARE(control<QLineEdit>(w, "passwordEdit")->text(), QString());
}

void tst_ForumPanel::fullListsRefuseMore()
{
    QByteArray many;
    for (int i = 0; i < ListFiles::maxEntries + 10; ++i) {
        many += "http://f/" + QByteArray::number(i) + "\r\n\r\n";
    }
    writeFile(dataFile("posts.txt"), many);
    writeFile(dataFile("posts2.txt"), many);
    Program program(m_dir->path());
    MainWindow &w = *program.window;
    QCOMPARE(rowCount(control<QListView>(w, "postList")), ListFiles::maxEntries);
    QCOMPARE(control<OwnPosts>(w, {})->count(), ListFiles::maxEntries);
    QCOMPARE(rowCount(control<QListView>(w, "forumList")), ListFiles::maxEntries);
    QCOMPARE(control<Forums>(w, {})->count(), ListFiles::maxEntries);

    QVERIFY(goTo(w, "http://forum.example/one-more"));
    control<QPushButton>(w, "addForumButton")->click();
    QCOMPARE(rowCount(control<QListView>(w, "forumList")), ListFiles::maxEntries);
    QVERIFY(!panelText(w, 2).isEmpty());
    control<QPushButton>(w, "watchButton")->click();
    QCOMPARE(rowCount(control<QListView>(w, "postList")), ListFiles::maxEntries);
    QCOMPARE(control<OwnPosts>(w, {})->count(), ListFiles::maxEntries);
}

void tst_ForumPanel::ownPostClicks()
{
    writeFile(dataFile("posts.txt"), "http://p/1\r\n\r\nhttp://p/2\r\n\r\n");
    Program program(m_dir->path());
    MainWindow &w = *program.window;
    setCurrentRow(control<QListView>(w, "postList"), 1);
    QCOMPARE(panelText(w, 2), QString("http://p/2"));
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    control<QTabBar>(w, "listTabs")->setCurrentIndex(1);
    doubleClickRow(control<QListView>(w, "postList"), 1);
    QCOMPARE(control<PostedMessageWatcher>(w, {})->loadsLeft(), 4);
    QTRY_COMPARE(currentAddress(w), QString("http://p/2"));
}

void tst_ForumPanel::forumDoubleClickOnlyNavigates()
{
    writeFile(dataFile("posts2.txt"), "http://f/1|u|p\r\n\r\n");
    Program program(m_dir->path());
    MainWindow &w = *program.window;
    setCurrentRow(control<QListView>(w, "forumList"), 0);
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    control<QTabBar>(w, "listTabs")->setCurrentIndex(0);
    doubleClickRow(control<QListView>(w, "forumList"), 0);
    QCOMPARE(control<PostedMessageWatcher>(w, {})->loadsLeft(), 0);
    QTRY_COMPARE(currentAddress(w), QString("http://f/1"));
}

void tst_ForumPanel::tabsSwitchFrames()
{
    Program program(m_dir->path());
    MainWindow &w = *program.window;
    w.show();
    QVERIFY(control<ForumPanel>(w, "forumsFrame")->isVisible());
    QVERIFY(!control<PostsPanel>(w, "postsFrame")->isVisible());
    control<QTabBar>(w, "listTabs")->setCurrentIndex(1);
    QVERIFY(!control<ForumPanel>(w, "forumsFrame")->isVisible());
    QVERIFY(control<PostsPanel>(w, "postsFrame")->isVisible());
    control<QTabBar>(w, "listTabs")->setCurrentIndex(0);
    QVERIFY(control<ForumPanel>(w, "forumsFrame")->isVisible());
    QVERIFY(!control<PostsPanel>(w, "postsFrame")->isVisible());
}

QTEST_MAIN(tst_ForumPanel)
#include "tst_forumpanel.moc"
