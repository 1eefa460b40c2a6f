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

#include "app/appcontext.h"
#include "app/form1.h"
#include "app/settingsstore.h"
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
        window = std::make_unique<Form1>(context, nullptr, probePort);
        loaded = window->Form_Load();
    }

    SettingsStore settings;
    LinkFormatTable formats;
    AppContext context;
    std::unique_ptr<Form1> window;
    bool loaded = false;
};

} // namespace

class tst_Form1Lists : public QObject
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
    bool goTo(Form1 &w, const QString &address);
    QString dataFile(const QString &name) const { return m_dir->filePath(name); }

    BlockEverything m_blocker;
    std::unique_ptr<QTemporaryDir> m_dir;
};

void tst_Form1Lists::initTestCase()
{
    QWebEngineProfile::defaultProfile()->setUrlRequestInterceptor(&m_blocker);
}

void tst_Form1Lists::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
}

bool tst_Form1Lists::goTo(Form1 &w, const QString &address)
{
    w.navigate(address);
    return QTest::qWaitFor([&w, &address] { return w.currentAddress() == address; }, 10000);
}

void tst_Form1Lists::addForumStoresPlaceholderLogin()
{
    Program program(m_dir->path());
    Form1 &w = *program.window;
    QVERIFY(program.loaded);
    QVERIFY(!w.txtUsername->isEnabled());
    QVERIFY(goTo(w, "http://forum.example/board"));
    w.cmdAdd2->click();

    QCOMPARE(entries(w.lstPosts2), QStringList{"http://forum.example/board"});
    QCOMPARE(entries(w.lstLogins), QStringList{"Enter Username|"});
    QCOMPARE(w.lstPosts2->currentRow(), 0);
    QVERIFY(w.txtUsername->isEnabled());
    QVERIFY(w.txtPassword->isEnabled());
    QCOMPARE(w.txtUsername->text(), QString("Enter Username"));
    QCOMPARE(w.txtPassword->text(), QString());
    QCOMPARE(w.panelText(2), QString("http://forum.example/board"));
    QCOMPARE(readFile(dataFile("posts2.txt")), QByteArray("http://forum.example/board|Enter Username|\r\n\r\n"));
}

void tst_Form1Lists::secondNewForumGetsPlaceholderToo()
{
    Program program(m_dir->path());
    Form1 &w = *program.window;
    QVERIFY(goTo(w, "http://forum.example/a"));
    w.cmdAdd2->click();
    // The boxes show "Enter Username" and an empty password already, so adding changes no box.
    QVERIFY(goTo(w, "http://forum.example/b"));
    w.cmdAdd2->click();
    QCOMPARE(entries(w.lstLogins), (QStringList{"Enter Username|", "Enter Username|"}));
    QCOMPARE(readFile(dataFile("posts2.txt")),
             QByteArray("http://forum.example/a|Enter Username|\r\n\r\nhttp://forum.example/b|Enter Username|\r\n\r\n"));
    w.lstPosts2->setCurrentRow(0);
    w.lstPosts2->setCurrentRow(1);
    QCOMPARE(w.txtUsername->text(), QString("Enter Username"));
}

void tst_Form1Lists::addingKnownForumChangesNothing()
{
    Program program(m_dir->path());
    Form1 &w = *program.window;
    QVERIFY(goTo(w, "http://forum.example/a"));
    w.cmdAdd2->click();
    w.txtUsername->setText("bob");
    const QByteArray before = readFile(dataFile("posts2.txt"));
    QVERIFY(QFile::remove(dataFile("posts2.txt")));

    w.cmdAdd2->click();
    QCOMPARE(entries(w.lstPosts2), QStringList{"http://forum.example/a"});
    QCOMPARE(entries(w.lstLogins), QStringList{"bob|"});
    QCOMPARE(w.txtUsername->text(), QString("bob"));
    QVERIFY(!QFile::exists(dataFile("posts2.txt"))); // not even rewritten
    QCOMPARE(before, QByteArray("http://forum.example/a|bob|\r\n\r\n"));
}

void tst_Form1Lists::everyKeystrokeIsStored()
{
    Program program(m_dir->path());
    Form1 &w = *program.window;
    QVERIFY(goTo(w, "http://forum.example/a"));
    w.cmdAdd2->click();
    const QString password = "p4ss|w0r";
    QCOMPARE(password.size(), 8);
    for (int i = 0; i < password.size(); ++i) {
        QTest::keyClick(w.txtPassword, password.at(i).toLatin1());
        // The file after each keystroke holds what was typed so far: one write per keystroke.
        const QString typed = password.left(i + 1);
        const QByteArray expected = typed.contains('|')
            ? QByteArray("%http://forum.example/a|Enter Username|") + typed.toUtf8().replace("|", "%7C") + "\r\n\r\n"
            : QByteArray("http://forum.example/a|Enter Username|") + typed.toUtf8() + "\r\n\r\n";
        QCOMPARE(readFile(dataFile("posts2.txt")), expected);
    }
    QCOMPARE(w.txtPassword->text(), password);
    QCOMPARE(ListFiles::readForums(dataFile("posts2.txt")).logins,
             QStringList{ListFiles::joinLogin("Enter Username", password)});
}

void tst_Form1Lists::selectingShowsThatForumsLogin()
{
    writeFile(dataFile("posts2.txt"), "http://a/|alice|pa\r\n\r\nhttp://b/|bob|\r\n\r\n");
    Program program(m_dir->path());
    Form1 &w = *program.window;
    const QByteArray stored = readFile(dataFile("posts2.txt"));

    w.lstPosts2->setCurrentRow(0);
    QCOMPARE(w.txtUsername->text(), QString("alice"));
    QCOMPARE(w.txtPassword->text(), QString("pa"));
    w.lstPosts2->setCurrentRow(1);
    QCOMPARE(w.txtUsername->text(), QString("bob"));
    QCOMPARE(w.txtPassword->text(), QString()); // an empty stored password shows an empty box
    QCOMPARE(w.panelText(2), QString("http://b/"));
    QCOMPARE(readFile(dataFile("posts2.txt")), stored);
    QCOMPARE(entries(w.lstLogins), (QStringList{"alice|pa", "bob|"}));
}

void tst_Form1Lists::keyboardSelectionShowsLoginToo()
{
    writeFile(dataFile("posts2.txt"), "http://a/|alice|pa\r\n\r\nhttp://b/|bob|pb\r\n\r\n");
    Program program(m_dir->path());
    Form1 &w = *program.window;
    w.lstPosts2->setCurrentRow(0);
    QTest::keyClick(w.lstPosts2, Qt::Key_Down);
    QCOMPARE(w.lstPosts2->currentRow(), 1);
    QCOMPARE(w.txtUsername->text(), QString("bob"));
    // Typing now changes bob's login, and alice's stays.
    QTest::keyClick(w.txtPassword, 'x');
    QCOMPARE(readFile(dataFile("posts2.txt")), QByteArray("http://a/|alice|pa\r\n\r\nhttp://b/|bob|pbx\r\n\r\n"));
}

void tst_Form1Lists::removeForum()
{
    writeFile(dataFile("posts2.txt"), "http://a/|alice|pa\r\n\r\nhttp://b/|bob|pb\r\n\r\nhttp://c/|carl|pc\r\n\r\n");
    Program program(m_dir->path());
    Form1 &w = *program.window;

    w.cmdDel2->click(); // nothing selected
    QCOMPARE(w.lstPosts2->count(), 3);

    w.lstPosts2->setCurrentRow(1);
    w.cmdDel2->click();
    QCOMPARE(entries(w.lstPosts2), (QStringList{"http://a/", "http://c/"}));
    QCOMPARE(entries(w.lstLogins), (QStringList{"alice|pa", "carl|pc"}));
    QCOMPARE(readFile(dataFile("posts2.txt")), QByteArray("http://a/|alice|pa\r\n\r\nhttp://c/|carl|pc\r\n\r\n"));

    // Nothing is selected now: the boxes keep the removed login, and typing changes no login.
    QCOMPARE(w.lstPosts2->currentRow(), -1);
    QCOMPARE(w.txtUsername->text(), QString("bob"));
    QTest::keyClick(w.txtUsername, 'z');
    QCOMPARE(entries(w.lstLogins), (QStringList{"alice|pa", "carl|pc"}));
    QCOMPARE(readFile(dataFile("posts2.txt")), QByteArray("http://a/|alice|pa\r\n\r\nhttp://c/|carl|pc\r\n\r\n"));
}

void tst_Form1Lists::newForumSurvivesRestart()
{
    {
        Program program(m_dir->path());
        QVERIFY(goTo(*program.window, "http://forum.example/new"));
        program.window->cmdAdd2->click();
        program.window->Form_Unload();
    }
    Program program(m_dir->path());
    Form1 &w = *program.window;
    QCOMPARE(entries(w.lstPosts2), QStringList{"http://forum.example/new"});
    w.lstPosts2->setCurrentRow(0);
    QCOMPARE(w.txtUsername->text(), QString("Enter Username"));
    QCOMPARE(w.txtPassword->text(), QString());
}

void tst_Form1Lists::barsInLoginsSurviveRestart()
{
    {
        Program program(m_dir->path());
        Form1 &w = *program.window;
        QVERIFY(goTo(w, "http://forum.example/x"));
        w.cmdAdd2->click();
        w.txtUsername->setText("us|er");
        w.txtPassword->setText("|pa%7C|ss|");
        program.window->Form_Unload();
    }
    Program program(m_dir->path());
    Form1 &w = *program.window;
    w.lstPosts2->setCurrentRow(0);
    QCOMPARE(w.txtUsername->text(), QString("us|er"));
    QCOMPARE(w.txtPassword->text(), QString("|pa%7C|ss|"));
    QCOMPARE(entries(w.lstPosts2), QStringList{"http://forum.example/x"});
}

void tst_Form1Lists::forumFileIsOwnerOnly()
{
    writeFile(dataFile("posts2.txt"), "http://a/|alice|pa\r\n\r\n");
    QFile::setPermissions(dataFile("posts2.txt"),
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadOther);
    Program program(m_dir->path());
    program.window->lstPosts2->setCurrentRow(0);
    QTest::keyClick(program.window->txtPassword, 'q');
    const QFileDevice::Permissions others = QFileDevice::ReadGroup | QFileDevice::WriteGroup | QFileDevice::ReadOther
        | QFileDevice::WriteOther;
    QCOMPARE(QFile::permissions(dataFile("posts2.txt")) & others, QFileDevice::Permissions());
    QVERIFY(QFile::permissions(dataFile("posts2.txt")) & QFileDevice::ReadOwner);
}

void tst_Form1Lists::saveFailureIsReported()
{
    writeFile(dataFile("posts2.txt"), "http://a/|alice|pa\r\n\r\n");
    Program program(m_dir->path());
    Form1 &w = *program.window;
    w.lstPosts2->setCurrentRow(0);
    // A folder in the file's place cannot be replaced, whoever runs the test.
    QVERIFY(QFile::remove(dataFile("posts2.txt")));
    QVERIFY(QDir(m_dir->path()).mkdir("posts2.txt"));

    BoxCatcher boxes;
    QTest::keyClick(w.txtPassword, 'x');
    QCOMPARE(boxes.texts.size(), 1);
    QVERIFY2(boxes.texts.at(0).startsWith("There was an error saving your logins.\r\n\r\nError Number "),
             qPrintable(boxes.texts.at(0)));
    const QStringList lines = boxes.texts.at(0).split("\r\n");
    QCOMPARE(lines.size(), 4);
    QVERIFY(lines.at(2).mid(QString("Error Number ").size()).toInt() > 0);
    QVERIFY(!lines.at(3).isEmpty());
    QCOMPARE(entries(w.lstLogins), QStringList{"alice|pax"}); // the edit stays in memory
}

void tst_Form1Lists::damagedFilesLoadInStep()
{
    writeFile(dataFile("posts2.txt"), "http://a/\r\n\r\nhttp://b/|bob\r\n \r\n\x01\x02\xFF|\r\nhttp://c/|u|p|extra\r\n");
    writeFile(dataFile("posts.txt"), "http://p/1\r\n\r\nhttp://p/2\r\nhttp://p/3\r\n");
    writeFile(dataFile("sizes.txt"), "100\r\n\r\n");
    Program program(m_dir->path());
    Form1 &w = *program.window;
    QCOMPARE(w.lstPosts2->count(), 4);
    QCOMPARE(entries(w.lstLogins), (QStringList{"|", "|", "|", "u|p"}));
    QCOMPARE(entries(w.lstPosts), (QStringList{"http://p/1", "http://p/2", "http://p/3"}));
    QCOMPARE(entries(w.lstSizes), (QStringList{"100", ListFiles::unmeasuredSize, ListFiles::unmeasuredSize}));

    // A forum loaded without a login shows empty boxes and stays that way in the file.
    w.lstPosts2->setCurrentRow(1);
    QCOMPARE(w.txtUsername->text(), QString());
    QCOMPARE(w.txtPassword->text(), QString());
}

void tst_Form1Lists::fullListsRefuseMore()
{
    QByteArray many;
    for (int i = 0; i < ListFiles::maxEntries + 10; ++i) {
        many += "http://f/" + QByteArray::number(i) + "\r\n\r\n";
    }
    writeFile(dataFile("posts.txt"), many);
    writeFile(dataFile("posts2.txt"), many);
    Program program(m_dir->path());
    Form1 &w = *program.window;
    QCOMPARE(w.lstPosts->count(), ListFiles::maxEntries);
    QCOMPARE(w.lstSizes->count(), ListFiles::maxEntries);
    QCOMPARE(w.lstPosts2->count(), ListFiles::maxEntries);
    QCOMPARE(w.lstLogins->count(), ListFiles::maxEntries);

    QVERIFY(goTo(w, "http://forum.example/one-more"));
    w.cmdAdd2->click();
    QCOMPARE(w.lstPosts2->count(), ListFiles::maxEntries);
    QVERIFY(!w.panelText(2).isEmpty());
    w.cmdAdd->click();
    QCOMPARE(w.lstPosts->count(), ListFiles::maxEntries);
    QCOMPARE(w.lstSizes->count(), ListFiles::maxEntries);
}

void tst_Form1Lists::ownPostClicks()
{
    writeFile(dataFile("posts.txt"), "http://p/1\r\n\r\nhttp://p/2\r\n\r\n");
    Program program(m_dir->path());
    Form1 &w = *program.window;
    w.lstPosts->setCurrentRow(1);
    QCOMPARE(w.panelText(2), QString("http://p/2"));
    w.watchCountdown = 0;
    emit w.lstPosts->itemDoubleClicked(w.lstPosts->item(1));
    QCOMPARE(w.watchCountdown, qint16(4));
    QTRY_COMPARE(w.currentAddress(), QString("http://p/2"));
}

void tst_Form1Lists::forumDoubleClickOnlyNavigates()
{
    writeFile(dataFile("posts2.txt"), "http://f/1|u|p\r\n\r\n");
    Program program(m_dir->path());
    Form1 &w = *program.window;
    w.lstPosts2->setCurrentRow(0);
    w.watchCountdown = 0;
    emit w.lstPosts2->itemDoubleClicked(w.lstPosts2->item(0));
    QCOMPARE(w.watchCountdown, qint16(0));
    QTRY_COMPARE(w.currentAddress(), QString("http://f/1"));
}

void tst_Form1Lists::tabsSwitchFrames()
{
    Program program(m_dir->path());
    Form1 &w = *program.window;
    w.show();
    QVERIFY(w.Frame4->isVisible());
    QVERIFY(!w.Frame3->isVisible());
    w.TabStrip2->setCurrentIndex(1);
    QVERIFY(!w.Frame4->isVisible());
    QVERIFY(w.Frame3->isVisible());
    w.TabStrip2->setCurrentIndex(0);
    QVERIFY(w.Frame4->isVisible());
    QVERIFY(!w.Frame3->isVisible());
}

void tst_Form1Lists::watchTwiceMeasuresOneEntryTwice()
{
    ScriptedServer server;
    server.answer(1000);
    server.answer(1700);
    Program program(m_dir->path(), server.port());
    Form1 &w = *program.window;
    QSignalSpy done(w.wscSizes, &PageSizeProbe::completed);
    QVERIFY(goTo(w, "http://127.0.0.1/thread?id=7"));

    w.cmdAdd->click();
    QCOMPARE(entries(w.lstPosts), QStringList{"http://127.0.0.1/thread?id=7"});
    QCOMPARE(entries(w.lstSizes), QStringList{ListFiles::unmeasuredSize}); // in step at once
    QTRY_COMPARE(entries(w.lstSizes), QStringList{"1000"});
    QCOMPARE(w.panelText(2), QString("Response completed"));

    w.cmdAdd->click();
    QTRY_COMPARE(entries(w.lstSizes), QStringList{"1700"});
    QCOMPARE(entries(w.lstPosts), QStringList{"http://127.0.0.1/thread?id=7"});
    QCOMPARE(server.requestCount(), 2);
    QCOMPARE(done.size(), 2);
}

void tst_Form1Lists::abandonedBaselineKeepsMarker()
{
    ScriptedServer server;
    server.holdOpen();
    server.answer(250);
    Program program(m_dir->path(), server.port());
    Form1 &w = *program.window;
    QVERIFY(goTo(w, "http://127.0.0.1/first"));
    w.cmdAdd->click();
    QTRY_COMPARE(server.requestCount(), 1);
    QVERIFY(goTo(w, "http://127.0.0.1/second"));
    w.cmdAdd->click(); // abandons the first measurement
    QTRY_COMPARE(entries(w.lstSizes), (QStringList{ListFiles::unmeasuredSize, "250"}));
    QCOMPARE(entries(w.lstPosts), (QStringList{"http://127.0.0.1/first", "http://127.0.0.1/second"}));

    w.Form_Unload();
    QCOMPARE(readFile(dataFile("sizes.txt")), QByteArray("unmeasured\r\n\r\n250\r\n\r\n"));
}

void tst_Form1Lists::refusedBaselineKeepsMarker()
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
    Form1 &w = *program.window;
    BoxCatcher boxes;
    QVERIFY(goTo(w, "http://127.0.0.1/refused"));
    w.cmdAdd->click();
    QTRY_COMPARE(boxes.texts.size(), 1);
    QVERIFY2(boxes.texts.at(0).startsWith("Error occurred.\r\nError #: "), qPrintable(boxes.texts.at(0)));
    QCOMPARE(boxes.titles.at(0), QString("Error"));
    QCOMPARE(boxes.icons.at(0), QMessageBox::Warning);
    QCOMPARE(entries(w.lstSizes), (QStringList{"640", ListFiles::unmeasuredSize}));
}

void tst_Form1Lists::removeWatchDuringMeasurement()
{
    ScriptedServer server;
    server.holdOpen();
    writeFile(dataFile("posts.txt"), "http://127.0.0.1/a\r\n\r\nhttp://127.0.0.1/b\r\n\r\nhttp://127.0.0.1/c\r\n\r\n");
    writeFile(dataFile("sizes.txt"), "10\r\n\r\n20\r\n\r\n30\r\n\r\n");
    Program program(m_dir->path(), server.port());
    Form1 &w = *program.window;
    QSignalSpy done(w.wscSizes, &PageSizeProbe::completed);

    // "b" (index 1) is measured again; while that runs, "a" is removed, so "b" moves to index 0 and index 1
    // now holds "c".
    QVERIFY(goTo(w, "http://127.0.0.1/b"));
    w.cmdAdd->click();
    QTRY_COMPARE(server.requestCount(), 1);
    w.lstPosts->setCurrentRow(0);
    w.cmdDel->click();
    QCOMPARE(entries(w.lstPosts), (QStringList{"http://127.0.0.1/b", "http://127.0.0.1/c"}));
    QCOMPARE(entries(w.lstSizes), (QStringList{"20", "30"}));

    server.releaseHeld(4321);
    QTRY_COMPARE(done.size(), 1);
    QCOMPARE(entries(w.lstSizes), (QStringList{"4321", "30"}));
}

void tst_Form1Lists::removingMeasuredPostDropsResult()
{
    ScriptedServer server;
    server.holdOpen();
    writeFile(dataFile("posts.txt"), "http://127.0.0.1/a\r\n\r\nhttp://127.0.0.1/b\r\n\r\n");
    writeFile(dataFile("sizes.txt"), "10\r\n\r\n20\r\n\r\n");
    Program program(m_dir->path(), server.port());
    Form1 &w = *program.window;
    QSignalSpy done(w.wscSizes, &PageSizeProbe::completed);

    QVERIFY(goTo(w, "http://127.0.0.1/b"));
    w.cmdAdd->click();
    QTRY_COMPARE(server.requestCount(), 1);
    w.lstPosts->setCurrentRow(1);
    w.cmdDel->click();
    QCOMPARE(entries(w.lstPosts), QStringList{"http://127.0.0.1/a"});

    // The result arrives for a post that is gone: it is stored nowhere.
    server.releaseHeld(999);
    QTRY_COMPARE(done.size(), 1);
    QCOMPARE(entries(w.lstSizes), QStringList{"10"});
}

void tst_Form1Lists::emptyAddressIsNotWatched()
{
    ScriptedServer server;
    Program program(m_dir->path(), server.port());
    Form1 &w = *program.window;
    w.navigate(QString());
    if (!w.currentAddress().isEmpty()) {
        QSKIP("the browser pane reports an address even without a page");
    }
    w.cmdAdd->click();
    QCOMPARE(w.lstPosts->count(), 0);
    QCOMPARE(w.lstSizes->count(), 0);
    QVERIFY(!w.panelText(2).isEmpty());
}

void tst_Form1Lists::removeWatchWithoutSelection()
{
    writeFile(dataFile("posts.txt"), "http://p/1\r\n\r\n");
    writeFile(dataFile("sizes.txt"), "5\r\n\r\n");
    Program program(m_dir->path());
    Form1 &w = *program.window;
    w.cmdDel->click();
    QCOMPARE(entries(w.lstPosts), QStringList{"http://p/1"});
    QCOMPARE(entries(w.lstSizes), QStringList{"5"});
    w.lstPosts->setCurrentRow(0);
    w.cmdDel->click();
    QCOMPARE(w.lstPosts->count(), 0);
    QCOMPARE(w.lstSizes->count(), 0);
    QCOMPARE(w.lstPosts->currentRow(), -1);
}

void tst_Form1Lists::ownPostsAndSizesSurviveRestart()
{
    writeFile(dataFile("posts.txt"), "http://p/1\r\nhttp://p/2\r\n");
    writeFile(dataFile("sizes.txt"), "11\r\n22\r\n33\r\n");
    {
        Program program(m_dir->path());
        QCOMPARE(entries(program.window->lstSizes), (QStringList{"11", "22"}));
        program.window->Form_Unload();
    }
    QCOMPARE(readFile(dataFile("posts.txt")), QByteArray("http://p/1\r\n\r\nhttp://p/2\r\n\r\n"));
    QCOMPARE(readFile(dataFile("sizes.txt")), QByteArray("11\r\n\r\n22\r\n\r\n"));
    Program program(m_dir->path());
    QCOMPARE(entries(program.window->lstPosts), (QStringList{"http://p/1", "http://p/2"}));
    QCOMPARE(entries(program.window->lstSizes), (QStringList{"11", "22"}));
}

void tst_Form1Lists::probeStartFailureBox()
{
    Program program(m_dir->path());
    Form1 &w = *program.window;
    BoxCatcher boxes;
    emit w.wscSizes->startFailed(10022, "Invalid argument");
    emit w.wscPosts->socketFailed(10061, "Connection is forcefully rejected");
    QCOMPARE(boxes.texts, (QStringList{"An error has occurred.\r\nError #: 10022\r\nDescription: Invalid argument",
                                       "Error occurred.\r\nError #: 10061\r\nConnection is forcefully rejected"}));
    QCOMPARE(boxes.titles, (QStringList{"Error", "Error"}));
    QCOMPARE(boxes.icons, (QList<QMessageBox::Icon>{QMessageBox::Warning, QMessageBox::Warning}));
}

QTEST_MAIN(tst_Form1Lists)
#include "tst_form1_lists.moc"
