// Watching own posts in the main window: the baseline measurement and the stored sizes.
#include <QListView>
#include <QPushButton>
#include <QWebEngineView>

#include "support/listprogram.h"
#include "forums/ownposts.h"
#include "replies/replymonitor.h"
#include "support/controls.h"
#include "support/mainwindowparts.h"

class tst_PostsWatch : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();

    void watchTwiceMeasuresOneEntryTwice();
    void otherSpellingIsTheSamePost_data();
    void otherSpellingIsTheSamePost();
    void abandonedBaselineKeepsMarker();
    void refusedBaselineKeepsMarker();
    void removeWatchDuringMeasurement_data();
    void removeWatchDuringMeasurement();
    void emptyAddressIsNotWatched();
    void removeWatchWithoutSelection();
    void ownPostsAndSizesSurviveRestart();
    void probeStartFailureBox();

private:
    bool goTo(MainWindow &w, const QString &address);
    QString dataFile(const QString &name) const { return m_dir->filePath(name); }

    BlockEverything m_blocker;
    std::unique_ptr<QTemporaryDir> m_dir;
};

void tst_PostsWatch::initTestCase()
{
    QWebEngineProfile::defaultProfile()->setUrlRequestInterceptor(&m_blocker);
}

void tst_PostsWatch::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
}

bool tst_PostsWatch::goTo(MainWindow &w, const QString &address)
{
    // Until the load has ended, so that its status texts cannot land on top of the probe's.
    QSignalSpy loaded(control<QWebEngineView>(w, "webView"), &QWebEngineView::loadFinished);
    navigate(w, address);
    return QTest::qWaitFor([&] { return currentAddress(w) == address && !loaded.isEmpty(); }, 10000);
}

void tst_PostsWatch::watchTwiceMeasuresOneEntryTwice()
{
    ScriptedServer server;
    server.answer(1000);
    server.answer(1700);
    Program program(m_dir->path(), server.port());
    MainWindow &w = *program.window;
    QSignalSpy done(control<ReplyMonitor>(w, {})->baselineProbe(), &PageSizeProbe::finished);
    QVERIFY(goTo(w, "http://127.0.0.1/thread?id=7"));

    control<QPushButton>(w, "watchButton")->click();
    QCOMPARE(entries(control<QListView>(w, "postList")), QStringList{"http://127.0.0.1/thread?id=7"});
    QCOMPARE(control<OwnPosts>(w, {})->sizes(), QStringList{ListFiles::unmeasuredSize}); // in step at once
    QTRY_COMPARE(control<OwnPosts>(w, {})->sizes(), QStringList{"1000"});
    QCOMPARE(panelText(w, 2), QString("Response completed"));

    control<QPushButton>(w, "watchButton")->click();
    QTRY_COMPARE(control<OwnPosts>(w, {})->sizes(), QStringList{"1700"});
    QCOMPARE(entries(control<QListView>(w, "postList")), QStringList{"http://127.0.0.1/thread?id=7"});
    QCOMPARE(server.requestCount(), 2);
    QCOMPARE(done.size(), 2);
}

void tst_PostsWatch::otherSpellingIsTheSamePost_data()
{
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("browse"); // empty: the stored entry is opened from the list
    QTest::addColumn<QString>("shown"); // the browser's address, as the own posts take it
    QTest::addColumn<QByteArray>("requestLine");

    QTest::newRow("decoded-space") << "http://127.0.0.1/t?q=a b" << "http://127.0.0.1/t?q=a%20b"
                                   << "http://127.0.0.1/t?q=a%20b" << QByteArray("GET /t?q=a%20b HTTP/1.1");
    QTest::newRow("decoded-letters-opened") << "http://127.0.0.1/wiki/\u041F" << ""
                                            << "http://127.0.0.1/wiki/%D0%9F" << QByteArray("GET /wiki/%D0%9F HTTP/1.1");
    QTest::newRow("other-fragment") << "http://127.0.0.1/index.php?title=Talk:X#Reply_1"
                                    << "http://127.0.0.1/index.php?title=Talk:X#Reply_3"
                                    << "http://127.0.0.1/index.php?title=Talk:X#Reply_3"
                                    << QByteArray("GET /index.php?title=Talk:X HTTP/1.1");
}

void tst_PostsWatch::otherSpellingIsTheSamePost()
{
    QFETCH(QString, stored);
    QFETCH(QString, browse);
    QFETCH(QString, shown);
    QFETCH(QByteArray, requestLine);
    ScriptedServer server;
    server.answer(1000);
    writeFile(dataFile("posts.txt"), stored.toUtf8() + "\r\n\r\n");
    writeFile(dataFile("sizes.txt"), "10\r\n\r\n");
    Program program(m_dir->path(), server.port());
    MainWindow &w = *program.window;
    if (browse.isEmpty()) {
        setCurrentRow(control<QListView>(w, "postList"), 0);
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        control<QTabBar>(w, "listTabs")->setCurrentIndex(1);
        doubleClickRow(control<QListView>(w, "postList"), 0);
    } else {
        navigate(w, browse);
    }
    QTRY_COMPARE(currentPostAddress(w), shown);

    control<QPushButton>(w, "watchButton")->click();
    QTRY_COMPARE(control<OwnPosts>(w, {})->sizes(), QStringList{"1000"});
    QCOMPARE(entries(control<QListView>(w, "postList")), QStringList{stored});
    QCOMPARE(server.requests().value(0).split('\r').value(0), requestLine);
    w.shutDown();
    QCOMPARE(readFile(dataFile("posts.txt")), stored.toUtf8() + "\r\n\r\n");
}

void tst_PostsWatch::abandonedBaselineKeepsMarker()
{
    ScriptedServer server;
    server.holdOpen();
    server.answer(250);
    Program program(m_dir->path(), server.port());
    MainWindow &w = *program.window;
    QVERIFY(goTo(w, "http://127.0.0.1/first"));
    control<QPushButton>(w, "watchButton")->click();
    QTRY_COMPARE(server.requestCount(), 1);
    QVERIFY(goTo(w, "http://127.0.0.1/second"));
    control<QPushButton>(w, "watchButton")->click(); // abandons the first measurement
    QTRY_COMPARE(control<OwnPosts>(w, {})->sizes(), (QStringList{ListFiles::unmeasuredSize, "250"}));
    QCOMPARE(entries(control<QListView>(w, "postList")), (QStringList{"http://127.0.0.1/first", "http://127.0.0.1/second"}));

    w.shutDown();
    QCOMPARE(readFile(dataFile("sizes.txt")), QByteArray("unmeasured\r\n\r\n250\r\n\r\n"));
}

void tst_PostsWatch::refusedBaselineKeepsMarker()
{
    quint16 closedPort = 0;
    {
        QTcpServer probe;
        QVERIFY(probe.listen(QHostAddress::LocalHost));
        closedPort = probe.serverPort();
    }
    writeFile(dataFile("posts.txt"), "http://127.0.0.1/old\r\n\r\n");
    writeFile(dataFile("sizes.txt"), "640\r\n\r\n");
    Program program(m_dir->path(), closedPort);
    MainWindow &w = *program.window;
    BoxCatcher boxes;
    QVERIFY(goTo(w, "http://127.0.0.1/refused"));
    control<QPushButton>(w, "watchButton")->click();
    QTRY_COMPARE(boxes.texts.size(), 1);
    QCOMPARE(boxes.texts.at(0), QString("Error occurred.\r\nError #: 0\r\nConnection refused"));
    QCOMPARE(boxes.titles.at(0), QString("Error"));
    QCOMPARE(boxes.icons.at(0), QMessageBox::Warning);
    QCOMPARE(control<OwnPosts>(w, {})->sizes(), (QStringList{"640", ListFiles::unmeasuredSize}));
}

void tst_PostsWatch::removeWatchDuringMeasurement_data()
{
    QTest::addColumn<QStringList>("posts");
    QTest::addColumn<int>("removed");
    QTest::addColumn<QStringList>("sizesBefore");
    QTest::addColumn<int>("measured");
    QTest::addColumn<QStringList>("sizesAfter");
    // "b" (index 1) is measured again; while that runs, "a" is removed, so "b" moves to index 0 and index 1
    // now holds "c": the size still reaches "b".
    QTest::newRow("other-post-removed") << QStringList{"a", "b", "c"} << 0 << QStringList{"20", "30"} << 4321
                                        << QStringList{"4321", "30"};
    // The result arrives for a post that is gone: it is stored nowhere.
    QTest::newRow("measured-post-removed") << QStringList{"a", "b"} << 1 << QStringList{"10"} << 999
                                           << QStringList{"10"};
}

void tst_PostsWatch::removeWatchDuringMeasurement()
{
    QFETCH(QStringList, posts);
    QFETCH(int, removed);
    QFETCH(QStringList, sizesBefore);
    QFETCH(int, measured);
    QFETCH(QStringList, sizesAfter);
    ScriptedServer server;
    server.holdOpen();
    QByteArray postLines;
    QByteArray sizeLines;
    for (qsizetype i = 0; i < posts.size(); ++i) {
        posts[i] = "http://127.0.0.1/" + posts[i];
        postLines += posts[i].toUtf8() + "\r\n\r\n";
        sizeLines += QByteArray::number(10 * (i + 1)) + "\r\n\r\n";
    }
    writeFile(dataFile("posts.txt"), postLines);
    writeFile(dataFile("sizes.txt"), sizeLines);
    Program program(m_dir->path(), server.port());
    MainWindow &w = *program.window;
    QSignalSpy done(control<ReplyMonitor>(w, {})->baselineProbe(), &PageSizeProbe::finished);

    QVERIFY(goTo(w, "http://127.0.0.1/b"));
    control<QPushButton>(w, "watchButton")->click();
    QTRY_COMPARE(server.requestCount(), 1);
    auto *list = control<QListView>(w, "postList");
    setCurrentRow(list, removed);
    control<QPushButton>(w, "unwatchButton")->click();
    posts.removeAt(removed);
    QCOMPARE(entries(list), posts);
    QCOMPARE(control<OwnPosts>(w, {})->sizes(), sizesBefore);

    server.releaseHeld(measured);
    QTRY_COMPARE(done.size(), 1);
    QCOMPARE(control<OwnPosts>(w, {})->sizes(), sizesAfter);
}

void tst_PostsWatch::emptyAddressIsNotWatched()
{
    ScriptedServer server;
    Program program(m_dir->path(), server.port());
    MainWindow &w = *program.window;
    navigate(w, QString());
    if (!currentAddress(w).isEmpty()) {
        QSKIP("the browser pane reports an address even without a page");
    }
    control<QPushButton>(w, "watchButton")->click();
    QCOMPARE(rowCount(control<QListView>(w, "postList")), 0);
    QCOMPARE(control<OwnPosts>(w, {})->count(), 0);
    QVERIFY(!panelText(w, 2).isEmpty());
}

void tst_PostsWatch::removeWatchWithoutSelection()
{
    writeFile(dataFile("posts.txt"), "http://p/1\r\n\r\n");
    writeFile(dataFile("sizes.txt"), "5\r\n\r\n");
    Program program(m_dir->path());
    MainWindow &w = *program.window;
    control<QPushButton>(w, "unwatchButton")->click();
    QCOMPARE(entries(control<QListView>(w, "postList")), QStringList{"http://p/1"});
    QCOMPARE(control<OwnPosts>(w, {})->sizes(), QStringList{"5"});
    setCurrentRow(control<QListView>(w, "postList"), 0);
    control<QPushButton>(w, "unwatchButton")->click();
    QCOMPARE(rowCount(control<QListView>(w, "postList")), 0);
    QCOMPARE(control<OwnPosts>(w, {})->count(), 0);
    QCOMPARE(currentRow(control<QListView>(w, "postList")), -1);
}

void tst_PostsWatch::ownPostsAndSizesSurviveRestart()
{
    writeFile(dataFile("posts.txt"), "http://p/1\r\nhttp://p/2\r\n");
    writeFile(dataFile("sizes.txt"), "11\r\n22\r\n33\r\n");
    {
        Program program(m_dir->path());
        QCOMPARE(control<OwnPosts>(program.window, {})->sizes(), (QStringList{"11", "22"}));
        program.window->shutDown();
    }
    QCOMPARE(readFile(dataFile("posts.txt")), QByteArray("http://p/1\r\n\r\nhttp://p/2\r\n\r\n"));
    QCOMPARE(readFile(dataFile("sizes.txt")), QByteArray("11\r\n\r\n22\r\n\r\n"));
    Program program(m_dir->path());
    QCOMPARE(entries(control<QListView>(program.window, "postList")), (QStringList{"http://p/1", "http://p/2"}));
    QCOMPARE(control<OwnPosts>(program.window, {})->sizes(), (QStringList{"11", "22"}));
}

void tst_PostsWatch::probeStartFailureBox()
{
    Program program(m_dir->path());
    MainWindow &w = *program.window;
    BoxCatcher boxes;
    PageMeasurement failed;
    failed.failure = PageFailure::Broken;
    failed.errorNumber = 10022;
    failed.detail = "Invalid argument";
    failed.failedWhileStarting = true;
    emit control<ReplyMonitor>(w, {})->baselineProbe()->finished(failed);
    failed.failure = PageFailure::Refused;
    failed.errorNumber = 10061;
    failed.failedWhileStarting = false;
    emit control<ReplyMonitor>(w, {})->baselineProbe()->finished(failed);
    QCOMPARE(boxes.texts, (QStringList{"An error has occurred.\r\nError #: 10022\r\nDescription: Connection broken off: Invalid argument",
                                       "Error occurred.\r\nError #: 10061\r\nConnection refused"}));
    QCOMPARE(boxes.titles, (QStringList{"Error", "Error"}));
    QCOMPARE(boxes.icons, (QList<QMessageBox::Icon>{QMessageBox::Warning, QMessageBox::Warning}));
}

QTEST_MAIN(tst_PostsWatch)
#include "tst_postswatch.moc"
