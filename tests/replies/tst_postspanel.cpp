// The reply check run in the main window, against pages served on loopback.
#include <QHash>
#include <QListWidget>
#include <QPushButton>
#include <QTabBar>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QTest>

#include "app/appcontext.h"
#include "app/form1.h"
#include "app/settingsstore.h"
#include "forums/listfiles.h"
#include "links/linkformats.h"
#include "support/webtestutil.h"
#include "support/programstate.h"

// Serves fixed bodies by path; while `holding` is set, requests for "/slow" get no answer.
class PageServer : public QObject
{
public:
    PageServer()
    {
        m_server.listen(QHostAddress::LocalHost, 0);
        connect(&m_server, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket *socket = m_server.nextPendingConnection()) {
                connect(socket, &QTcpSocket::readyRead, socket, [this, socket] { answer(socket); });
                connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
            }
        });
    }

    quint16 port() const { return m_server.serverPort(); }
    QString address(const QString &path) const { return QStringLiteral("http://127.0.0.1") + path; }

    QHash<QByteArray, QByteArray> bodies;
    bool holding = false;

private:
    void answer(QTcpSocket *socket)
    {
        const QByteArray request = socket->readAll();
        const QByteArray path = request.split(' ').value(1);
        if (path == "/slow" && holding) {
            return;
        }
        const QByteArray body = bodies.value(path);
        socket->write("HTTP/1.1 200 OK\r\nContent-Length: " + QByteArray::number(body.size())
                      + "\r\nConnection: close\r\n\r\n" + body);
        socket->disconnectFromHost();
    }

    QTcpServer m_server;
};

class tst_Form1ReplyCheck : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void noPostsFinishesAtOnce();
    void listsGrownPostsOnly_data();
    void listsGrownPostsOnly();
    void secondPressRestartsTheRun();
    void tabsSwitchTheView();

private:
    void addPost(const QString &path, const QByteArray &body, const QString &storedSize);
    void runCheck();

    PageServer m_server;
    std::unique_ptr<ProgramState> m_state;
    std::unique_ptr<Form1> m_window;
};

void tst_Form1ReplyCheck::init()
{
    m_state = std::make_unique<ProgramState>();
    m_window = std::make_unique<Form1>(m_state->context, nullptr, m_server.port());
    QVERIFY(m_window->Form_Load());
    m_window->show();
    // The start page's load shares status panel 1; let it finish first.
    QTRY_COMPARE_WITH_TIMEOUT(m_window->panelText(1), QStringLiteral("Complete"), 20000);
    m_server.bodies.clear();
    m_server.holding = false;
}

void tst_Form1ReplyCheck::cleanup()
{
    m_window.reset();
    m_state.reset();
}

void tst_Form1ReplyCheck::addPost(const QString &path, const QByteArray &body, const QString &storedSize)
{
    m_server.bodies.insert(path.toUtf8(), body);
    m_window->lstPosts->addItem(m_server.address(path));
    m_window->lstSizes->addItem(storedSize);
}

void tst_Form1ReplyCheck::runCheck()
{
    m_window->cmdReplies->click();
    QTRY_VERIFY_WITH_TIMEOUT(m_window->panelText(1).startsWith("finished - "), 10000);
}

void tst_Form1ReplyCheck::noPostsFinishesAtOnce()
{
    m_window->cmdReplies->click();
    QCOMPARE(m_window->panelText(1), QStringLiteral("finished - 0 new replies found"));
    QCOMPARE(m_window->lstNew->count(), 0);
}

void tst_Form1ReplyCheck::listsGrownPostsOnly_data()
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

void tst_Form1ReplyCheck::listsGrownPostsOnly()
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
    for (int i = 0; i < m_window->lstNew->count(); ++i) {
        found.append(m_window->lstNew->item(i)->text().mid(QStringLiteral("http://127.0.0.1").size()));
    }
    QCOMPARE(found, expected);
    QCOMPARE(m_window->panelText(1),
             QStringLiteral("finished - %1 new replies found").arg(expected.size()));
    // A check never changes the stored sizes.
    QCOMPARE(m_window->lstSizes->item(0)->text(), QStringLiteral("1000"));
    QCOMPARE(m_window->lstSizes->item(1)->text(), ListFiles::unmeasuredSize);

    // Nothing was measured again, so the next run reports the same posts.
    runCheck();
    QCOMPARE(m_window->lstNew->count(), expected.size());
}

void tst_Form1ReplyCheck::secondPressRestartsTheRun()
{
    addPost("/slow", QByteArray(5000, 'a'), "1000");
    addPost("/other", QByteArray(5000, 'b'), "1000");
    m_server.holding = true;
    m_window->cmdReplies->click();
    QTRY_COMPARE(m_window->panelText(1), QStringLiteral("checking post 1"));
    QTest::qWait(200);
    QCOMPARE(m_window->panelText(1), QStringLiteral("checking post 1"));

    m_server.holding = false;
    runCheck();
    QCOMPARE(m_window->panelText(1), QStringLiteral("finished - 2 new replies found"));
    QCOMPARE(m_window->lstNew->count(), 2);
}

void tst_Form1ReplyCheck::tabsSwitchTheView()
{
    m_window->TabStrip2->setCurrentIndex(1);
    QVERIFY(m_window->lstPosts->isVisible());
    QVERIFY(!m_window->cmdReplies->isVisible());
    m_window->TabStrip1->setCurrentIndex(1);
    QVERIFY(!m_window->lstPosts->isVisible());
    QVERIFY(!m_window->cmdAdd->isVisible());
    QVERIFY(!m_window->cmdDel->isVisible());
    QVERIFY(m_window->lstNew->isVisible());
    QVERIFY(m_window->cmdReplies->isVisible());
    m_window->TabStrip1->setCurrentIndex(0);
    QVERIFY(m_window->lstPosts->isVisible());
    QVERIFY(!m_window->lstNew->isVisible());
}

POSTAVO_WEB_TEST_MAIN(tst_Form1ReplyCheck)
#include "tst_form1_replycheck.moc"
