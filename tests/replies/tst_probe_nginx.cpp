// The probe against a real web server on port 80 of a loopback address.
#include "replies/pagesizeprobe.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include "support/nginxserver.h"

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
    QTemporaryDir m_dir;
    NginxServer m_nginx;
};

void TestProbeNginx::initTestCase()
{
    if (::geteuid() != 0) {
        QSKIP("Needs root: the web server listens on port 80.");
    }
    if (NginxServer::executable().isEmpty()) {
        QSKIP("nginx is not installed (Debian package nginx-light).");
    }
    QVERIFY(m_dir.isValid());

    const QDir dir(m_dir.path());
    QVERIFY(dir.mkpath(QStringLiteral("root")));
    const QString root = dir.filePath(QStringLiteral("root"));
    QVERIFY(writeFile(root + QStringLiteral("/index.html"), "<html><body>Forum index</body></html>\n"));
    QVERIFY(writeFile(root + QStringLiteral("/empty.html"), QByteArray()));
    QVERIFY(writeFile(root + QStringLiteral("/one.txt"), "x"));
    QVERIFY(writeFile(root + QStringLiteral("/thread.html"), patterned(48 * 1024 + 13)));
    QVERIFY(writeFile(root + QStringLiteral("/big.bin"), patterned(3 * 1024 * 1024 + 7)));
    QVERIFY(dir.mkpath(QStringLiteral("root/forum")));
    QVERIFY(writeFile(root + QStringLiteral("/forum/viewtopic.php"), patterned(12345)));

    QString why;
    QVERIFY2(m_nginx.start(serverAddress + QStringLiteral(":80"), root, &why), qPrintable(why));
}

void TestProbeNginx::cleanupTestCase()
{
    m_nginx.stop();
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
