// "postavo --check" run as the timer runs it: the program itself, without a display, over a data folder of the
// test's own, against pages served here; its notification goes to a session bus of the test's own.
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include "base/writerlock.h"
#include "support/notificationserver.h"
#include "support/pageserver.h"
#include "support/programenvironment.h"
#include "support/sessionbus.h"

namespace {

struct CheckRun
{
    int status = -1;
    QString out;
    QString err;
};

} // namespace

class tst_HeadlessCheck : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void checksAndTells_data();
    void checksAndTells();
    void oneWriterAtATime();

private:
    QString dataFile(const QString &name) const { return m_home->filePath(".local/share/Postavo/" + name); }
    void writeData(const QString &name, const QByteArray &bytes);
    CheckRun runCheck(const QStringList &options = {});

    std::unique_ptr<QTemporaryDir> m_home;
    std::unique_ptr<NotificationServer> m_notifications;
    PageServer m_server;
};

void tst_HeadlessCheck::init()
{
    m_home = std::make_unique<QTemporaryDir>();
    QVERIFY(QDir(m_home->path()).mkpath(".local/share/Postavo"));
    m_notifications = std::make_unique<NotificationServer>();
    QVERIFY(m_notifications->start());
    m_server.bodies.clear();
}

void tst_HeadlessCheck::cleanup()
{
    m_notifications.reset();
    m_home.reset();
}

void tst_HeadlessCheck::writeData(const QString &name, const QByteArray &bytes)
{
    QFile file(dataFile(name));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

CheckRun tst_HeadlessCheck::runCheck(const QStringList &options)
{
    QProcess process;
    QProcessEnvironment environment = programEnvironment(m_home->path());
    // No display at all: a check started by a timer has none.
    for (const char *name : { "DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM" }) {
        environment.remove(QLatin1String(name));
    }
    environment.remove(QStringLiteral("QT_LOGGING_RULES"));
    process.setProcessEnvironment(environment);
    process.start(QStringLiteral(POSTAVO_PROGRAM), QStringList { QStringLiteral("--check") } + options);
    // The pages are served by this process: its event loop runs while the check does.
    (void)QTest::qWaitFor([&process] { return process.state() == QProcess::NotRunning; }, 60000);
    return { process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
        QString::fromUtf8(process.readAllStandardOutput()), QString::fromUtf8(process.readAllStandardError()) };
}

void tst_HeadlessCheck::checksAndTells_data()
{
    QTest::addColumn<QByteArray>("stored"); // sizes.txt's entry for the post; empty: no post watched
    QTest::addColumn<QByteArray>("served"); // the post page's body; empty: the server refuses
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("said");
    QTest::addColumn<int>("notifications");
    const QByteArray page = "<html><body><p>First post</p>" + QByteArray(1500, 'r') + "</body></html>";
    QTest::newRow("new-replies") << QByteArray("100") << page << QStringList() << 1 << "With new replies: 1." << 1;
    QTest::newRow("quiet") << QByteArray("100") << page << QStringList { "--quiet" } << 1 << "" << 1;
    QTest::newRow("no-new-replies") << QByteArray::number(page.size()) << page << QStringList() << 0
                                    << "With new replies: 0. Could not be checked: 0." << 0;
    QTest::newRow("failing-server") << QByteArray("100") << QByteArray() << QStringList() << 0
                                    << "Could not be checked: 1." << 0;
    QTest::newRow("empty-list") << QByteArray() << page << QStringList() << 0 << "No posts are watched." << 0;
}

void tst_HeadlessCheck::checksAndTells()
{
    QFETCH(QByteArray, stored);
    QFETCH(QByteArray, served);
    QFETCH(QStringList, options);
    QFETCH(int, status);
    QFETCH(QString, said);
    QFETCH(int, notifications);
    // A refused connection: a port nothing listens on.
    const QByteArray address = served.isEmpty()
        ? QByteArray("http://127.0.0.1:1/t")
        : QByteArray("http://127.0.0.1:" + QByteArray::number(m_server.port()) + "/t");
    m_server.bodies.insert("/t", served);
    if (!stored.isEmpty()) {
        writeData("posts.txt", address + "\r\n\r\n");
        writeData("sizes.txt", stored + "\r\n\r\n");
        // Measured as the browser sees it: a check compares, rather than measures it again.
        writeData("postnotes.txt", address + "\tb\t\r\n\r\n");
    }
    const CheckRun run = runCheck(options);
    QCOMPARE(run.status, status);
    QVERIFY2(said.isEmpty() ? run.out.isEmpty() : run.out.contains(said), qPrintable(run.out + run.err));
    QTRY_COMPARE(m_notifications->calls.size(), notifications);
    // The list is written back whole; a grown post keeps its stored size until the user reads it.
    if (!stored.isEmpty()) {
        QFile posts(dataFile("posts.txt"));
        QVERIFY(posts.open(QIODevice::ReadOnly));
        QCOMPARE(posts.readAll(), address + "\r\n\r\n");
    }
    if (notifications > 0) {
        // Told once: the next check finds the same replies and says so, but tells no one again.
        QCOMPARE(runCheck(options).status, status);
        QTest::qWait(200);
        QCOMPARE(m_notifications->calls.size(), notifications);
    }
}

// The window holds the lists while it runs: a check says so and leaves them; a data folder that cannot be read
// is told, with the status of a check that could not run.
void tst_HeadlessCheck::oneWriterAtATime()
{
    writeData("posts.txt", "http://127.0.0.1:1/t\r\n\r\n");
    writeData("sizes.txt", "100\r\n\r\n");
    {
        WriterLock window(m_home->filePath(".local/share/Postavo"));
        QVERIFY(window.tryTake());
        const CheckRun run = runCheck();
        QCOMPARE(run.status, 3);
        QVERIFY2(run.out.contains("Postavo is open"), qPrintable(run.out));
        // A second window does not take the lists from the first, nor ask it to end.
        QVERIFY(!WriterLock(m_home->filePath(".local/share/Postavo")).takeFromHolder(100));
    }
    QCOMPARE(runCheck().status, 0);

    // The window starting while a check waits on a slow page: the check keeps what it has and lets go, and the
    // window takes the lists over. A check killed outright leaves a lock the window takes over as well.
    const QByteArray slow = "http://127.0.0.1:" + QByteArray::number(m_server.port()) + "/slow\r\n\r\n";
    writeData("posts.txt", slow);
    m_server.holding = true;
    for (const bool killed : { false, true }) {
        QProcess check;
        QProcessEnvironment environment = programEnvironment(m_home->path());
        environment.remove(QStringLiteral("DISPLAY"));
        check.setProcessEnvironment(environment);
        check.start(QStringLiteral(POSTAVO_PROGRAM), { QStringLiteral("--check") });
        WriterLock window(m_home->filePath(".local/share/Postavo"));
        // The check holds the lock and waits on the page.
        QVERIFY(QTest::qWaitFor([this] { return QFile::exists(dataFile("postavo.lock")); }, 10000));
        QTest::qWait(500);
        if (killed) {
            check.kill();
            QVERIFY(check.waitForFinished(10000));
        }
        QVERIFY(window.takeFromHolder(20000));
        QVERIFY(QTest::qWaitFor([&check] { return check.state() == QProcess::NotRunning; }, 20000));
        if (!killed) {
            QCOMPARE(check.exitCode(), 2);
            QVERIFY(check.readAllStandardError().contains("what it measured is kept"));
        }
        QFile posts(dataFile("posts.txt"));
        QVERIFY(posts.open(QIODevice::ReadOnly));
        QCOMPARE(posts.readAll(), slow);
    }
    m_server.holding = false;
    QVERIFY(QFile::remove(dataFile("posts.txt")));
    QVERIFY(QDir().mkdir(dataFile("posts.txt")));
    const CheckRun unreadable = runCheck();
    QCOMPARE(unreadable.status, 2);
    QVERIFY2(unreadable.err.contains("posts.txt"), qPrintable(unreadable.err));
}

int main(int argc, char **argv)
{
    // The bus must be in place before anything in the process connects to one; the program started by the
    // test inherits it.
    PrivateSessionBus bus;
    QCoreApplication app(argc, argv);
    if (bus.error()) {
        qCritical("No session bus for the test: %s", bus.error());
        return 1;
    }
    tst_HeadlessCheck test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}

#include "tst_headlesscheck.moc"
