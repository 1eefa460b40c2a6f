// Watching own posts in the main window: the baseline measurement and the stored sizes.
#include <QWebEngineView>

#include "support/listprogram.h"

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
    void removeWatchDuringMeasurement();
    void removingMeasuredPostDropsResult();
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
    QSignalSpy loaded(w.browserPane->webView, &QWebEngineView::loadFinished);
    w.navigate(address);
    return QTest::qWaitFor([&] { return w.currentAddress() == address && !loaded.isEmpty(); }, 10000);
}

void tst_PostsWatch::watchTwiceMeasuresOneEntryTwice()
{
    ScriptedServer server;
    server.answer(1000);
    server.answer(1700);
    Program program(m_dir->path(), server.port());
    MainWindow &w = *program.window;
    QSignalSpy done(w.replyMonitor->baselineProbe(), &PageSizeProbe::finished);
    QVERIFY(goTo(w, "http://127.0.0.1/thread?id=7"));

    w.postsPanel->watchButton->click();
    QCOMPARE(entries(w.postsPanel->postList), QStringList{"http://127.0.0.1/thread?id=7"});
    QCOMPARE(w.ownPosts.sizes(), QStringList{ListFiles::unmeasuredSize}); // in step at once
    QTRY_COMPARE(w.ownPosts.sizes(), QStringList{"1000"});
    QCOMPARE(w.panelText(2), QString("Response completed"));

    w.postsPanel->watchButton->click();
    QTRY_COMPARE(w.ownPosts.sizes(), QStringList{"1700"});
    QCOMPARE(entries(w.postsPanel->postList), QStringList{"http://127.0.0.1/thread?id=7"});
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
        w.postsPanel->postList->setCurrentRow(0);
        emit w.postsPanel->postList->itemDoubleClicked(w.postsPanel->postList->item(0));
    } else {
        w.navigate(browse);
    }
    QTRY_COMPARE(w.currentPostAddress(), shown);

    w.postsPanel->watchButton->click();
    QTRY_COMPARE(w.ownPosts.sizes(), QStringList{"1000"});
    QCOMPARE(entries(w.postsPanel->postList), QStringList{stored});
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
    w.postsPanel->watchButton->click();
    QTRY_COMPARE(server.requestCount(), 1);
    QVERIFY(goTo(w, "http://127.0.0.1/second"));
    w.postsPanel->watchButton->click(); // abandons the first measurement
    QTRY_COMPARE(w.ownPosts.sizes(), (QStringList{ListFiles::unmeasuredSize, "250"}));
    QCOMPARE(entries(w.postsPanel->postList), (QStringList{"http://127.0.0.1/first", "http://127.0.0.1/second"}));

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
    w.postsPanel->watchButton->click();
    QTRY_COMPARE(boxes.texts.size(), 1);
    QCOMPARE(boxes.texts.at(0), QString("Error occurred.\r\nError #: 0\r\nConnection refused"));
    QCOMPARE(boxes.titles.at(0), QString("Error"));
    QCOMPARE(boxes.icons.at(0), QMessageBox::Warning);
    QCOMPARE(w.ownPosts.sizes(), (QStringList{"640", ListFiles::unmeasuredSize}));
}

void tst_PostsWatch::removeWatchDuringMeasurement()
{
    ScriptedServer server;
    server.holdOpen();
    writeFile(dataFile("posts.txt"), "http://127.0.0.1/a\r\n\r\nhttp://127.0.0.1/b\r\n\r\nhttp://127.0.0.1/c\r\n\r\n");
    writeFile(dataFile("sizes.txt"), "10\r\n\r\n20\r\n\r\n30\r\n\r\n");
    Program program(m_dir->path(), server.port());
    MainWindow &w = *program.window;
    QSignalSpy done(w.replyMonitor->baselineProbe(), &PageSizeProbe::finished);

    // "b" (index 1) is measured again; while that runs, "a" is removed, so "b" moves to index 0 and index 1
    // now holds "c".
    QVERIFY(goTo(w, "http://127.0.0.1/b"));
    w.postsPanel->watchButton->click();
    QTRY_COMPARE(server.requestCount(), 1);
    w.postsPanel->postList->setCurrentRow(0);
    w.postsPanel->unwatchButton->click();
    QCOMPARE(entries(w.postsPanel->postList), (QStringList{"http://127.0.0.1/b", "http://127.0.0.1/c"}));
    QCOMPARE(w.ownPosts.sizes(), (QStringList{"20", "30"}));

    server.releaseHeld(4321);
    QTRY_COMPARE(done.size(), 1);
    QCOMPARE(w.ownPosts.sizes(), (QStringList{"4321", "30"}));
}

void tst_PostsWatch::removingMeasuredPostDropsResult()
{
    ScriptedServer server;
    server.holdOpen();
    writeFile(dataFile("posts.txt"), "http://127.0.0.1/a\r\n\r\nhttp://127.0.0.1/b\r\n\r\n");
    writeFile(dataFile("sizes.txt"), "10\r\n\r\n20\r\n\r\n");
    Program program(m_dir->path(), server.port());
    MainWindow &w = *program.window;
    QSignalSpy done(w.replyMonitor->baselineProbe(), &PageSizeProbe::finished);

    QVERIFY(goTo(w, "http://127.0.0.1/b"));
    w.postsPanel->watchButton->click();
    QTRY_COMPARE(server.requestCount(), 1);
    w.postsPanel->postList->setCurrentRow(1);
    w.postsPanel->unwatchButton->click();
    QCOMPARE(entries(w.postsPanel->postList), QStringList{"http://127.0.0.1/a"});

    // The result arrives for a post that is gone: it is stored nowhere.
    server.releaseHeld(999);
    QTRY_COMPARE(done.size(), 1);
    QCOMPARE(w.ownPosts.sizes(), QStringList{"10"});
}

void tst_PostsWatch::emptyAddressIsNotWatched()
{
    ScriptedServer server;
    Program program(m_dir->path(), server.port());
    MainWindow &w = *program.window;
    w.navigate(QString());
    if (!w.currentAddress().isEmpty()) {
        QSKIP("the browser pane reports an address even without a page");
    }
    w.postsPanel->watchButton->click();
    QCOMPARE(w.postsPanel->postList->count(), 0);
    QCOMPARE(w.ownPosts.count(), 0);
    QVERIFY(!w.panelText(2).isEmpty());
}

void tst_PostsWatch::removeWatchWithoutSelection()
{
    writeFile(dataFile("posts.txt"), "http://p/1\r\n\r\n");
    writeFile(dataFile("sizes.txt"), "5\r\n\r\n");
    Program program(m_dir->path());
    MainWindow &w = *program.window;
    w.postsPanel->unwatchButton->click();
    QCOMPARE(entries(w.postsPanel->postList), QStringList{"http://p/1"});
    QCOMPARE(w.ownPosts.sizes(), QStringList{"5"});
    w.postsPanel->postList->setCurrentRow(0);
    w.postsPanel->unwatchButton->click();
    QCOMPARE(w.postsPanel->postList->count(), 0);
    QCOMPARE(w.ownPosts.count(), 0);
    QCOMPARE(w.postsPanel->postList->currentRow(), -1);
}

void tst_PostsWatch::ownPostsAndSizesSurviveRestart()
{
    writeFile(dataFile("posts.txt"), "http://p/1\r\nhttp://p/2\r\n");
    writeFile(dataFile("sizes.txt"), "11\r\n22\r\n33\r\n");
    {
        Program program(m_dir->path());
        QCOMPARE(program.window->ownPosts.sizes(), (QStringList{"11", "22"}));
        program.window->shutDown();
    }
    QCOMPARE(readFile(dataFile("posts.txt")), QByteArray("http://p/1\r\n\r\nhttp://p/2\r\n\r\n"));
    QCOMPARE(readFile(dataFile("sizes.txt")), QByteArray("11\r\n\r\n22\r\n\r\n"));
    Program program(m_dir->path());
    QCOMPARE(entries(program.window->postsPanel->postList), (QStringList{"http://p/1", "http://p/2"}));
    QCOMPARE(program.window->ownPosts.sizes(), (QStringList{"11", "22"}));
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
    emit w.replyMonitor->baselineProbe()->finished(failed);
    failed.failure = PageFailure::Refused;
    failed.errorNumber = 10061;
    failed.failedWhileStarting = false;
    emit w.replyMonitor->baselineProbe()->finished(failed);
    QCOMPARE(boxes.texts, (QStringList{"An error has occurred.\r\nError #: 10022\r\nDescription: Connection broken off: Invalid argument",
                                       "Error occurred.\r\nError #: 10061\r\nConnection refused"}));
    QCOMPARE(boxes.titles, (QStringList{"Error", "Error"}));
    QCOMPARE(boxes.icons, (QList<QMessageBox::Icon>{QMessageBox::Warning, QMessageBox::Warning}));
}

QTEST_MAIN(tst_PostsWatch)
#include "tst_postswatch.moc"
