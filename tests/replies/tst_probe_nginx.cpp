// The probe against a real web server on port 80 of a loopback address.
#include "replies/pagesizeprobe.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QTest>

#include <unistd.h>

namespace {

const QString serverAddress = QStringLiteral("127.0.0.2");

bool writeFile(const QString &path, const QByteArray &content)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(content) == content.size();
}

QByteArray patterned(qsizetype size)
{
    QByteArray data(size, Qt::Uninitialized);
    for (qsizetype i = 0; i < size; ++i) {
        data[i] = char('a' + i % 23);
    }
    return data;
}

} // namespace

class TestProbeNginx : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void sizeMatchesFile_data();
    void sizeMatchesFile();
    void errorPageIsMeasured();

private:
    bool startServer(QString *why);
    bool ownsPidFile();
    bool serverAccepts();

    QTemporaryDir m_dir;
    QProcess m_nginx;
};

void TestProbeNginx::initTestCase()
{
    if (::geteuid() != 0) {
        QSKIP("Needs root: the web server listens on port 80.");
    }
    const QString nginx = QStandardPaths::findExecutable(QStringLiteral("nginx"),
        { QStringLiteral("/usr/sbin"), QStringLiteral("/usr/bin"), QStringLiteral("/usr/local/sbin") });
    if (nginx.isEmpty()) {
        QSKIP("nginx is not installed (Debian package nginx-light).");
    }
    QVERIFY(m_dir.isValid());

    const QDir dir(m_dir.path());
    for (const char *sub : { "logs", "temp", "root" }) {
        QVERIFY(dir.mkpath(QLatin1String(sub)));
    }
    const QString root = dir.filePath(QStringLiteral("root"));
    QVERIFY(writeFile(root + QStringLiteral("/index.html"), "<html><body>Forum index</body></html>\n"));
    QVERIFY(writeFile(root + QStringLiteral("/empty.html"), QByteArray()));
    QVERIFY(writeFile(root + QStringLiteral("/one.txt"), "x"));
    QVERIFY(writeFile(root + QStringLiteral("/thread.html"), patterned(48 * 1024 + 13)));
    QVERIFY(writeFile(root + QStringLiteral("/big.bin"), patterned(3 * 1024 * 1024 + 7)));
    QVERIFY(dir.mkpath(QStringLiteral("root/forum")));
    QVERIFY(writeFile(root + QStringLiteral("/forum/viewtopic.php"), patterned(12345)));

    const QString temp = dir.filePath(QStringLiteral("temp"));
    const QByteArray config = "user root;\n"
                              "worker_processes 1;\n"
                              "pid "
        + dir.filePath(QStringLiteral("nginx.pid")).toUtf8()
        + ";\n"
          "error_log "
        + dir.filePath(QStringLiteral("logs/error.log")).toUtf8()
        + ";\n"
          "events { worker_connections 64; }\n"
          "http {\n"
          "  access_log "
        + dir.filePath(QStringLiteral("logs/access.log")).toUtf8()
        + ";\n"
          "  client_body_temp_path "
        + temp.toUtf8()
        + "/body;\n"
          "  proxy_temp_path "
        + temp.toUtf8()
        + "/proxy;\n"
          "  fastcgi_temp_path "
        + temp.toUtf8()
        + "/fastcgi;\n"
          "  uwsgi_temp_path "
        + temp.toUtf8()
        + "/uwsgi;\n"
          "  scgi_temp_path "
        + temp.toUtf8()
        + "/scgi;\n"
          "  default_type application/octet-stream;\n"
          "  server {\n"
          "    listen "
        + serverAddress.toUtf8()
        + ":80;\n"
          "    root "
        + root.toUtf8()
        + ";\n"
          "  }\n"
          "}\n";
    QVERIFY(writeFile(dir.filePath(QStringLiteral("nginx.conf")), config));

    m_nginx.setProgram(nginx);
    m_nginx.setArguments({ QStringLiteral("-p"), m_dir.path() + QLatin1Char('/'), QStringLiteral("-e"),
        dir.filePath(QStringLiteral("logs/error.log")), QStringLiteral("-c"),
        dir.filePath(QStringLiteral("nginx.conf")), QStringLiteral("-g"), QStringLiteral("daemon off;") });
    m_nginx.setProcessChannelMode(QProcess::MergedChannels);
    QString why;
    QVERIFY2(startServer(&why), qPrintable(why));
}

// Another checkout's run may hold the address for a moment, so a busy port is waited out.
bool TestProbeNginx::startServer(QString *why)
{
    for (int attempt = 0; attempt < 30; ++attempt) {
        m_nginx.start();
        if (!m_nginx.waitForStarted(5000)) {
            *why = QStringLiteral("nginx did not start: ") + m_nginx.errorString();
            return false;
        }
        for (int wait = 0; wait < 100 && m_nginx.state() == QProcess::Running; ++wait) {
            // The pid file appears once the address is bound, so the server that answers is this one.
            if (ownsPidFile() && serverAccepts()) {
                return true;
            }
            QTest::qWait(50);
        }
        if (m_nginx.state() == QProcess::Running) {
            *why = QStringLiteral("nginx runs but accepts no connection");
            return false;
        }
        const QByteArray output = m_nginx.readAll();
        QFile log(QDir(m_dir.path()).filePath(QStringLiteral("logs/error.log")));
        const QByteArray logged = log.open(QIODevice::ReadOnly) ? log.readAll() : QByteArray();
        if (!output.contains("Address already in use") && !logged.contains("Address already in use")) {
            *why = QStringLiteral("nginx exited: ") + QString::fromLocal8Bit(output + logged);
            return false;
        }
        QTest::qWait(1000);
    }
    *why = QStringLiteral("port 80 of %1 stayed busy").arg(serverAddress);
    return false;
}

bool TestProbeNginx::ownsPidFile()
{
    QFile pidFile(QDir(m_dir.path()).filePath(QStringLiteral("nginx.pid")));
    return pidFile.open(QIODevice::ReadOnly) && pidFile.readAll().trimmed().toLongLong() == m_nginx.processId();
}

bool TestProbeNginx::serverAccepts()
{
    QTcpSocket socket;
    socket.connectToHost(serverAddress, 80);
    return socket.waitForConnected(200);
}

void TestProbeNginx::cleanupTestCase()
{
    if (m_nginx.state() != QProcess::NotRunning) {
        m_nginx.terminate();
        if (!m_nginx.waitForFinished(5000)) {
            m_nginx.kill();
            m_nginx.waitForFinished(5000);
        }
    }
}

void TestProbeNginx::sizeMatchesFile_data()
{
    QTest::addColumn<QString>("address");
    QTest::addColumn<QString>("file");

    QTest::newRow("bare-host-serves-index") << "http://127.0.0.2"
                                            << "index.html";
    QTest::newRow("empty") << "http://127.0.0.2/empty.html"
                           << "empty.html";
    QTest::newRow("one-byte") << "http://127.0.0.2/one.txt"
                              << "one.txt";
    QTest::newRow("thread-page") << "http://127.0.0.2/thread.html"
                                 << "thread.html";
    QTest::newRow("query-ignored-by-server") << "http://127.0.0.2/forum/viewtopic.php?t=12&start=15"
                                             << "forum/viewtopic.php";
    QTest::newRow("three-megabytes") << "127.0.0.2/big.bin"
                                     << "big.bin";
}

void TestProbeNginx::sizeMatchesFile()
{
    QFETCH(QString, address);
    QFETCH(QString, file);

    PageSizeProbe probe;
    QSignalSpy completed(&probe, &PageSizeProbe::completed);
    QSignalSpy failed(&probe, &PageSizeProbe::socketFailed);
    probe.start(address);
    QVERIFY(completed.wait(20000));
    QCOMPARE(failed.size(), 0);
    QVERIFY(probe.headerSeen());
    const qint64 expected = QFileInfo(QDir(m_dir.path()).filePath(QStringLiteral("root/") + file)).size();
    QCOMPARE(probe.byteCount(), qint32(expected));
    QCOMPARE(probe.contentLength(), qint32(expected));
}

void TestProbeNginx::errorPageIsMeasured()
{
    PageSizeProbe probe;
    QSignalSpy completed(&probe, &PageSizeProbe::completed);
    probe.start(QStringLiteral("http://127.0.0.2/no-such-page.html"));
    QVERIFY(completed.wait(20000));
    QVERIFY(probe.contentLength() > 0);
    QCOMPARE(probe.byteCount(), probe.contentLength());
}

QTEST_GUILESS_MAIN(TestProbeNginx)
#include "tst_probe_nginx.moc"
