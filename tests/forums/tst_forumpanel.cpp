#include <QApplication>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QSignalSpy>
#include <QTabBar>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QWebEngineProfile>
#include <QWebEngineUrlRequestInterceptor>
#include <memory>

#include "base/appcontext.h"
#include "app/mainwindow.h"
#include "base/settingsstore.h"
#include "forums/listfiles.h"
#include "links/linkformats.h"
#include "replies/pagesizeprobe.h"

namespace {

// Keeps the browser pane off the network: every load fails at once, and the pane still reports the address
// it was sent to.
class BlockEverything : public QWebEngineUrlRequestInterceptor
{
public:
    using QWebEngineUrlRequestInterceptor::QWebEngineUrlRequestInterceptor;
    void interceptRequest(QWebEngineUrlRequestInfo &info) override { info.block(true); }
};

// A web server on loopback whose answers are scripted per connection, in order of arrival: a response to
// send before closing, or nothing at all (the connection is held open until the test ends).
class ScriptedServer : public QObject
{
public:
    ScriptedServer()
    {
        connect(&m_server, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket *socket = m_server.nextPendingConnection()) {
                const std::optional<QByteArray> answer = m_answers.isEmpty() ? std::nullopt : m_answers.takeFirst();
                connect(socket, &QTcpSocket::readyRead, socket, [this, socket, answer] {
                    m_requests.append(socket->readAll());
                    if (answer) {
                        socket->write(*answer);
                        socket->disconnectFromHost();
                    } else {
                        m_held.append(socket);
                    }
                });
            }
        });
        m_server.listen(QHostAddress::LocalHost);
    }

    quint16 port() const { return m_server.serverPort(); }
    static QByteArray response(int bodySize)
    {
        return QByteArray("HTTP/1.1 200 OK\r\nContent-Length: ") + QByteArray::number(bodySize)
            + "\r\nConnection: close\r\n\r\n" + QByteArray(bodySize, 'x');
    }
    void answer(int bodySize) { m_answers.append(response(bodySize)); }
    void holdOpen() { m_answers.append(std::nullopt); }
    // Answers the connections held open so far.
    void releaseHeld(int bodySize)
    {
        for (QTcpSocket *socket : std::as_const(m_held)) {
            socket->write(response(bodySize));
            socket->disconnectFromHost();
        }
        m_held.clear();
    }
    int requestCount() const { return int(m_requests.size()); }

private:
    QTcpServer m_server;
    QList<std::optional<QByteArray>> m_answers;
    QList<QByteArray> m_requests;
    QList<QTcpSocket *> m_held;
};

// Accepts every message box that opens while it lives and keeps what the boxes said.
class BoxCatcher : public QObject
{
public:
    BoxCatcher()
    {
        m_timer.setInterval(20);
        connect(&m_timer, &QTimer::timeout, this, [this] {
            if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget())) {
                texts.append(box->text());
                titles.append(box->windowTitle());
                icons.append(box->icon());
                box->accept();
            }
        });
        m_timer.start();
    }

    QStringList texts;
    QStringList titles;
    QList<QMessageBox::Icon> icons;

private:
    QTimer m_timer;
};

QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

QStringList entries(const QListWidget *list)
{
    QStringList texts;
    for (int i = 0; i < list->count(); ++i) {
        texts.append(list->item(i)->text());
    }
    return texts;
}

// One running program over a data folder.
struct Program
{
    explicit Program(const QString &folder, quint16 probePort = 80)
        : settings(folder + QStringLiteral("/Postavo.ini"))
        , context{DataFolder(folder), &settings, &formats}
    {
        settings.write(QStringLiteral("Settings"), QStringLiteral("showHelp"), QStringLiteral("0"));
        window = std::make_unique<MainWindow>(context, nullptr, probePort);
        loaded = window->startUp();
    }

    SettingsStore settings;
    LinkFormatTable formats;
    AppContext context;
    std::unique_ptr<MainWindow> window;
    bool loaded = false;
};

} // namespace

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
    void damagedFilesLoadInStep();
    void fullListsRefuseMore();
    void ownPostClicks();
    void forumDoubleClickOnlyNavigates();
    void tabsSwitchFrames();

    void watchTwiceMeasuresOneEntryTwice();
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
    w.navigate(address);
    return QTest::qWaitFor([&w, &address] { return w.currentAddress() == address; }, 10000);
}

void tst_ForumPanel::addForumStoresPlaceholderLogin()
{
    Program program(m_dir->path());
    MainWindow &w = *program.window;
    QVERIFY(program.loaded);
    QVERIFY(!w.forumPanel->usernameEdit->isEnabled());
    QVERIFY(goTo(w, "http://forum.example/board"));
    w.forumPanel->addForumButton->click();

    QCOMPARE(entries(w.forumPanel->forumList), QStringList{"http://forum.example/board"});
    QCOMPARE(w.forums.logins(), QStringList{"Enter Username|"});
    QCOMPARE(w.forumPanel->forumList->currentRow(), 0);
    QVERIFY(w.forumPanel->usernameEdit->isEnabled());
    QVERIFY(w.forumPanel->passwordEdit->isEnabled());
    QCOMPARE(w.forumPanel->usernameEdit->text(), QString("Enter Username"));
    QCOMPARE(w.forumPanel->passwordEdit->text(), QString());
    QCOMPARE(w.panelText(2), QString("http://forum.example/board"));
    QCOMPARE(readFile(dataFile("posts2.txt")), QByteArray("http://forum.example/board|Enter Username|\r\n\r\n"));
}

void tst_ForumPanel::secondNewForumGetsPlaceholderToo()
{
    Program program(m_dir->path());
    MainWindow &w = *program.window;
    QVERIFY(goTo(w, "http://forum.example/a"));
    w.forumPanel->addForumButton->click();
    // The boxes show "Enter Username" and an empty password already, so adding changes no box.
    QVERIFY(goTo(w, "http://forum.example/b"));
    w.forumPanel->addForumButton->click();
    QCOMPARE(w.forums.logins(), (QStringList{"Enter Username|", "Enter Username|"}));
    QCOMPARE(readFile(dataFile("posts2.txt")),
             QByteArray("http://forum.example/a|Enter Username|\r\n\r\nhttp://forum.example/b|Enter Username|\r\n\r\n"));
    w.forumPanel->forumList->setCurrentRow(0);
    w.forumPanel->forumList->setCurrentRow(1);
    QCOMPARE(w.forumPanel->usernameEdit->text(), QString("Enter Username"));
}

void tst_ForumPanel::addingKnownForumChangesNothing()
{
    Program program(m_dir->path());
    MainWindow &w = *program.window;
    QVERIFY(goTo(w, "http://forum.example/a"));
    w.forumPanel->addForumButton->click();
    w.forumPanel->usernameEdit->setText("bob");
    const QByteArray before = readFile(dataFile("posts2.txt"));
    QVERIFY(QFile::remove(dataFile("posts2.txt")));

    w.forumPanel->addForumButton->click();
    QCOMPARE(entries(w.forumPanel->forumList), QStringList{"http://forum.example/a"});
    QCOMPARE(w.forums.logins(), QStringList{"bob|"});
    QCOMPARE(w.forumPanel->usernameEdit->text(), QString("bob"));
    QVERIFY(!QFile::exists(dataFile("posts2.txt"))); // not even rewritten
    QCOMPARE(before, QByteArray("http://forum.example/a|bob|\r\n\r\n"));
}

void tst_ForumPanel::everyKeystrokeIsStored()
{
    Program program(m_dir->path());
    MainWindow &w = *program.window;
    QVERIFY(goTo(w, "http://forum.example/a"));
    w.forumPanel->addForumButton->click();
    const QString password = "p4ss|w0r";
    QCOMPARE(password.size(), 8);
    for (int i = 0; i < password.size(); ++i) {
        QTest::keyClick(w.forumPanel->passwordEdit, password.at(i).toLatin1());
        // The file after each keystroke holds what was typed so far: one write per keystroke.
        const QString typed = password.left(i + 1);
        const QByteArray expected = typed.contains('|')
            ? QByteArray("%http://forum.example/a|Enter Username|") + typed.toUtf8().replace("|", "%7C") + "\r\n\r\n"
            : QByteArray("http://forum.example/a|Enter Username|") + typed.toUtf8() + "\r\n\r\n";
        QCOMPARE(readFile(dataFile("posts2.txt")), expected);
    }
    QCOMPARE(w.forumPanel->passwordEdit->text(), password);
    QCOMPARE(ListFiles::readForums(dataFile("posts2.txt")).logins,
             QStringList{ListFiles::joinLogin("Enter Username", password)});
}

void tst_ForumPanel::selectingShowsThatForumsLogin()
{
    writeFile(dataFile("posts2.txt"), "http://a/|alice|pa\r\n\r\nhttp://b/|bob|\r\n\r\n");
    Program program(m_dir->path());
    MainWindow &w = *program.window;
    const QByteArray stored = readFile(dataFile("posts2.txt"));

    w.forumPanel->forumList->setCurrentRow(0);
    QCOMPARE(w.forumPanel->usernameEdit->text(), QString("alice"));
    QCOMPARE(w.forumPanel->passwordEdit->text(), QString("pa"));
    w.forumPanel->forumList->setCurrentRow(1);
    QCOMPARE(w.forumPanel->usernameEdit->text(), QString("bob"));
    QCOMPARE(w.forumPanel->passwordEdit->text(), QString()); // an empty stored password shows an empty box
    QCOMPARE(w.panelText(2), QString("http://b/"));
    QCOMPARE(readFile(dataFile("posts2.txt")), stored);
    QCOMPARE(w.forums.logins(), (QStringList{"alice|pa", "bob|"}));
}

void tst_ForumPanel::keyboardSelectionShowsLoginToo()
{
    writeFile(dataFile("posts2.txt"), "http://a/|alice|pa\r\n\r\nhttp://b/|bob|pb\r\n\r\n");
    Program program(m_dir->path());
    MainWindow &w = *program.window;
    w.forumPanel->forumList->setCurrentRow(0);
    QTest::keyClick(w.forumPanel->forumList, Qt::Key_Down);
    QCOMPARE(w.forumPanel->forumList->currentRow(), 1);
    QCOMPARE(w.forumPanel->usernameEdit->text(), QString("bob"));
    // Typing now changes bob's login, and alice's stays.
    QTest::keyClick(w.forumPanel->passwordEdit, 'x');
    QCOMPARE(readFile(dataFile("posts2.txt")), QByteArray("http://a/|alice|pa\r\n\r\nhttp://b/|bob|pbx\r\n\r\n"));
}

void tst_ForumPanel::removeForum()
{
    writeFile(dataFile("posts2.txt"), "http://a/|alice|pa\r\n\r\nhttp://b/|bob|pb\r\n\r\nhttp://c/|carl|pc\r\n\r\n");
    Program program(m_dir->path());
    MainWindow &w = *program.window;

    w.forumPanel->removeForumButton->click(); // nothing selected
    QCOMPARE(w.forumPanel->forumList->count(), 3);

    w.forumPanel->forumList->setCurrentRow(1);
    w.forumPanel->removeForumButton->click();
    QCOMPARE(entries(w.forumPanel->forumList), (QStringList{"http://a/", "http://c/"}));
    QCOMPARE(w.forums.logins(), (QStringList{"alice|pa", "carl|pc"}));
    QCOMPARE(readFile(dataFile("posts2.txt")), QByteArray("http://a/|alice|pa\r\n\r\nhttp://c/|carl|pc\r\n\r\n"));

    // Nothing is selected now: the boxes keep the removed login, and typing changes no login.
    QCOMPARE(w.forumPanel->forumList->currentRow(), -1);
    QCOMPARE(w.forumPanel->usernameEdit->text(), QString("bob"));
    QTest::keyClick(w.forumPanel->usernameEdit, 'z');
    QCOMPARE(w.forums.logins(), (QStringList{"alice|pa", "carl|pc"}));
    QCOMPARE(readFile(dataFile("posts2.txt")), QByteArray("http://a/|alice|pa\r\n\r\nhttp://c/|carl|pc\r\n\r\n"));
}

void tst_ForumPanel::newForumSurvivesRestart()
{
    {
        Program program(m_dir->path());
        QVERIFY(goTo(*program.window, "http://forum.example/new"));
        program.window->forumPanel->addForumButton->click();
        program.window->shutDown();
    }
    Program program(m_dir->path());
    MainWindow &w = *program.window;
    QCOMPARE(entries(w.forumPanel->forumList), QStringList{"http://forum.example/new"});
    w.forumPanel->forumList->setCurrentRow(0);
    QCOMPARE(w.forumPanel->usernameEdit->text(), QString("Enter Username"));
    QCOMPARE(w.forumPanel->passwordEdit->text(), QString());
}

void tst_ForumPanel::barsInLoginsSurviveRestart()
{
    {
        Program program(m_dir->path());
        MainWindow &w = *program.window;
        QVERIFY(goTo(w, "http://forum.example/x"));
        w.forumPanel->addForumButton->click();
        w.forumPanel->usernameEdit->setText("us|er");
        w.forumPanel->passwordEdit->setText("|pa%7C|ss|");
        program.window->shutDown();
    }
    Program program(m_dir->path());
    MainWindow &w = *program.window;
    w.forumPanel->forumList->setCurrentRow(0);
    QCOMPARE(w.forumPanel->usernameEdit->text(), QString("us|er"));
    QCOMPARE(w.forumPanel->passwordEdit->text(), QString("|pa%7C|ss|"));
    QCOMPARE(entries(w.forumPanel->forumList), QStringList{"http://forum.example/x"});
}

void tst_ForumPanel::forumFileIsOwnerOnly()
{
    writeFile(dataFile("posts2.txt"), "http://a/|alice|pa\r\n\r\n");
    QFile::setPermissions(dataFile("posts2.txt"),
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadOther);
    Program program(m_dir->path());
    program.window->forumPanel->forumList->setCurrentRow(0);
    QTest::keyClick(program.window->forumPanel->passwordEdit, 'q');
    const QFileDevice::Permissions others = QFileDevice::ReadGroup | QFileDevice::WriteGroup | QFileDevice::ReadOther
        | QFileDevice::WriteOther;
    QCOMPARE(QFile::permissions(dataFile("posts2.txt")) & others, QFileDevice::Permissions());
    QVERIFY(QFile::permissions(dataFile("posts2.txt")) & QFileDevice::ReadOwner);
}

void tst_ForumPanel::saveFailureIsReported()
{
    writeFile(dataFile("posts2.txt"), "http://a/|alice|pa\r\n\r\n");
    Program program(m_dir->path());
    MainWindow &w = *program.window;
    w.forumPanel->forumList->setCurrentRow(0);
    // A folder in the file's place cannot be replaced, whoever runs the test.
    QVERIFY(QFile::remove(dataFile("posts2.txt")));
    QVERIFY(QDir(m_dir->path()).mkdir("posts2.txt"));

    BoxCatcher boxes;
    QTest::keyClick(w.forumPanel->passwordEdit, 'x');
    QCOMPARE(boxes.texts.size(), 1);
    QVERIFY2(boxes.texts.at(0).startsWith("There was an error saving your logins.\r\n\r\nError Number "),
             qPrintable(boxes.texts.at(0)));
    const QStringList lines = boxes.texts.at(0).split("\r\n");
    QCOMPARE(lines.size(), 4);
    QVERIFY(lines.at(2).mid(QString("Error Number ").size()).toInt() > 0);
    QVERIFY(!lines.at(3).isEmpty());
    QCOMPARE(w.forums.logins(), QStringList{"alice|pax"}); // the edit stays in memory
}

void tst_ForumPanel::damagedFilesLoadInStep()
{
    writeFile(dataFile("posts2.txt"), "http://a/\r\n\r\nhttp://b/|bob\r\n \r\n\x01\x02\xFF|\r\nhttp://c/|u|p|extra\r\n");
    writeFile(dataFile("posts.txt"), "http://p/1\r\n\r\nhttp://p/2\r\nhttp://p/3\r\n");
    writeFile(dataFile("sizes.txt"), "100\r\n\r\n");
    Program program(m_dir->path());
    MainWindow &w = *program.window;
    QCOMPARE(w.forumPanel->forumList->count(), 4);
    QCOMPARE(w.forums.logins(), (QStringList{"|", "|", "|", "u|p"}));
    QCOMPARE(entries(w.postsPanel->postList), (QStringList{"http://p/1", "http://p/2", "http://p/3"}));
    QCOMPARE(w.ownPosts.sizes(), (QStringList{"100", ListFiles::unmeasuredSize, ListFiles::unmeasuredSize}));

    // A forum loaded without a login shows empty boxes and stays that way in the file.
    w.forumPanel->forumList->setCurrentRow(1);
    QCOMPARE(w.forumPanel->usernameEdit->text(), QString());
    QCOMPARE(w.forumPanel->passwordEdit->text(), QString());
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
    QCOMPARE(w.postsPanel->postList->count(), ListFiles::maxEntries);
    QCOMPARE(w.ownPosts.count(), ListFiles::maxEntries);
    QCOMPARE(w.forumPanel->forumList->count(), ListFiles::maxEntries);
    QCOMPARE(w.forums.count(), ListFiles::maxEntries);

    QVERIFY(goTo(w, "http://forum.example/one-more"));
    w.forumPanel->addForumButton->click();
    QCOMPARE(w.forumPanel->forumList->count(), ListFiles::maxEntries);
    QVERIFY(!w.panelText(2).isEmpty());
    w.postsPanel->watchButton->click();
    QCOMPARE(w.postsPanel->postList->count(), ListFiles::maxEntries);
    QCOMPARE(w.ownPosts.count(), ListFiles::maxEntries);
}

void tst_ForumPanel::ownPostClicks()
{
    writeFile(dataFile("posts.txt"), "http://p/1\r\n\r\nhttp://p/2\r\n\r\n");
    Program program(m_dir->path());
    MainWindow &w = *program.window;
    w.postsPanel->postList->setCurrentRow(1);
    QCOMPARE(w.panelText(2), QString("http://p/2"));
    w.postWatcher->countdown = 0;
    emit w.postsPanel->postList->itemDoubleClicked(w.postsPanel->postList->item(1));
    QCOMPARE(w.postWatcher->countdown, qint16(4));
    QTRY_COMPARE(w.currentAddress(), QString("http://p/2"));
}

void tst_ForumPanel::forumDoubleClickOnlyNavigates()
{
    writeFile(dataFile("posts2.txt"), "http://f/1|u|p\r\n\r\n");
    Program program(m_dir->path());
    MainWindow &w = *program.window;
    w.forumPanel->forumList->setCurrentRow(0);
    w.postWatcher->countdown = 0;
    emit w.forumPanel->forumList->itemDoubleClicked(w.forumPanel->forumList->item(0));
    QCOMPARE(w.postWatcher->countdown, qint16(0));
    QTRY_COMPARE(w.currentAddress(), QString("http://f/1"));
}

void tst_ForumPanel::tabsSwitchFrames()
{
    Program program(m_dir->path());
    MainWindow &w = *program.window;
    w.show();
    QVERIFY(w.forumPanel->isVisible());
    QVERIFY(!w.postsPanel->isVisible());
    w.listTabs->setCurrentIndex(1);
    QVERIFY(!w.forumPanel->isVisible());
    QVERIFY(w.postsPanel->isVisible());
    w.listTabs->setCurrentIndex(0);
    QVERIFY(w.forumPanel->isVisible());
    QVERIFY(!w.postsPanel->isVisible());
}

void tst_ForumPanel::watchTwiceMeasuresOneEntryTwice()
{
    ScriptedServer server;
    server.answer(1000);
    server.answer(1700);
    Program program(m_dir->path(), server.port());
    MainWindow &w = *program.window;
    QSignalSpy done(w.replyMonitor->baselineProbe(), &PageSizeProbe::completed);
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

void tst_ForumPanel::abandonedBaselineKeepsMarker()
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

void tst_ForumPanel::refusedBaselineKeepsMarker()
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
    QVERIFY2(boxes.texts.at(0).startsWith("Error occurred.\r\nError #: "), qPrintable(boxes.texts.at(0)));
    QCOMPARE(boxes.titles.at(0), QString("Error"));
    QCOMPARE(boxes.icons.at(0), QMessageBox::Warning);
    QCOMPARE(w.ownPosts.sizes(), (QStringList{"640", ListFiles::unmeasuredSize}));
}

void tst_ForumPanel::removeWatchDuringMeasurement()
{
    ScriptedServer server;
    server.holdOpen();
    writeFile(dataFile("posts.txt"), "http://127.0.0.1/a\r\n\r\nhttp://127.0.0.1/b\r\n\r\nhttp://127.0.0.1/c\r\n\r\n");
    writeFile(dataFile("sizes.txt"), "10\r\n\r\n20\r\n\r\n30\r\n\r\n");
    Program program(m_dir->path(), server.port());
    MainWindow &w = *program.window;
    QSignalSpy done(w.replyMonitor->baselineProbe(), &PageSizeProbe::completed);

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

void tst_ForumPanel::removingMeasuredPostDropsResult()
{
    ScriptedServer server;
    server.holdOpen();
    writeFile(dataFile("posts.txt"), "http://127.0.0.1/a\r\n\r\nhttp://127.0.0.1/b\r\n\r\n");
    writeFile(dataFile("sizes.txt"), "10\r\n\r\n20\r\n\r\n");
    Program program(m_dir->path(), server.port());
    MainWindow &w = *program.window;
    QSignalSpy done(w.replyMonitor->baselineProbe(), &PageSizeProbe::completed);

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

void tst_ForumPanel::emptyAddressIsNotWatched()
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

void tst_ForumPanel::removeWatchWithoutSelection()
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

void tst_ForumPanel::ownPostsAndSizesSurviveRestart()
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

void tst_ForumPanel::probeStartFailureBox()
{
    Program program(m_dir->path());
    MainWindow &w = *program.window;
    BoxCatcher boxes;
    emit w.replyMonitor->baselineProbe()->startFailed(10022, "Invalid argument");
    emit w.replyMonitor->checkProbe()->socketFailed(10061, "Connection is forcefully rejected");
    QCOMPARE(boxes.texts, (QStringList{"An error has occurred.\r\nError #: 10022\r\nDescription: Invalid argument",
                                       "Error occurred.\r\nError #: 10061\r\nConnection is forcefully rejected"}));
    QCOMPARE(boxes.titles, (QStringList{"Error", "Error"}));
    QCOMPARE(boxes.icons, (QList<QMessageBox::Icon>{QMessageBox::Warning, QMessageBox::Warning}));
}

QTEST_MAIN(tst_ForumPanel)
#include "tst_forumpanel.moc"
