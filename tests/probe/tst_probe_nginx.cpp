// The probe and the reply run against a real web server on loopback: plain http on port 80, https with a test
// certificate authority (and one the test does not trust), redirect chains and loops.
#include "probe/pagesizeprobe.h"
#include "replies/replyrun.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include "support/nginxserver.h"
#include "support/testcertificates.h"

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
    void secureAndRedirected_data();
    void secureAndRedirected();
    void runOverSecureAndRedirected();

private:
    QByteArray extraServers(const QString &root, TestCertificates &certificates, QString *why);
    qint32 fileSize(const QString &file) const;

    QTemporaryDir m_dir;
    QList<QSslCertificate> m_trusted;
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
    QVERIFY2(!TestCertificates::executable().isEmpty(), "openssl is not installed (Debian package openssl)");
    TestCertificates certificates(m_dir.path());
    const QByteArray servers = extraServers(root, certificates, &why);
    QVERIFY2(!servers.isEmpty(), qPrintable(why));
    m_nginx.setExtraConfig(servers);
    QVERIFY2(m_nginx.start(serverAddress + QStringLiteral(":80"), root, &why), qPrintable(why));
}

// Beside plain http on port 80: https on 443 (and [::1]:8445) with a certificate from the authority the tests
// trust, on 8443 with one from an authority they do not trust, on 8444 with one for another name; redirects on
// 8080, answered with relative addresses.
QByteArray TestProbeNginx::extraServers(const QString &root, TestCertificates &certificates, QString *why)
{
    if (!certificates.makeAuthority(QStringLiteral("trusted"), why)
        || !certificates.makeAuthority(QStringLiteral("stranger"), why)
        || !certificates.makeServer(QStringLiteral("forum"), QStringLiteral("trusted"),
            QStringLiteral("IP:127.0.0.2,IP:::1,DNS:localhost"), why)
        || !certificates.makeServer(
            QStringLiteral("impostor"), QStringLiteral("stranger"), QStringLiteral("IP:127.0.0.2"), why)
        || !certificates.makeServer(QStringLiteral("elsewhere"), QStringLiteral("trusted"),
            QStringLiteral("DNS:forum.elsewhere.example"), why)) {
        return QByteArray();
    }
    m_trusted = certificates.certificates(QStringLiteral("trusted"));

    const auto tls = [&](const QString &listen, const QString &name, const QByteArray &locations = {}) -> QByteArray {
        return "  server {\n    listen " + listen.toUtf8() + " ssl;\n    ssl_certificate "
            + certificates.certificatePath(name).toUtf8() + ";\n    ssl_certificate_key "
            + certificates.keyPath(name).toUtf8() + ";\n    root " + root.toUtf8() + ";\n" + locations + "  }\n";
    };
    QByteArray hops = "    location = /hop1 { return 301 /hop2; }\n"
                      "    location = /hop2 { return 302 https://127.0.0.2/hop3; }\n"
                      "    location = /hop4 { return 308 /thread.html; }\n"
                      "    location = /loop1 { return 302 /loop2; }\n"
                      "    location = /loop2 { return 307 /loop1; }\n";
    // five1 to five5 and six1 to six6, each to the next and the last to the thread page.
    for (const auto &[name, count] : { std::pair<QByteArray, int> { "five", 5 }, { "six", 6 } }) {
        for (int i = 1; i <= count; ++i) {
            const QByteArray next = i < count ? "/" + name + QByteArray::number(i + 1) : QByteArray("/thread.html");
            hops += "    location = /" + name + QByteArray::number(i) + " { return 301 " + next + "; }\n";
        }
    }
    QByteArray config = "  server {\n    listen 127.0.0.2:8080;\n    absolute_redirect off;\n    root " + root.toUtf8()
        + ";\n" + hops + "  }\n";
    return config
        + tls(QStringLiteral("127.0.0.2:443"), QStringLiteral("forum"),
            "    location = /hop3 { return 303 http://127.0.0.2:8080/hop4?x=1; }\n")
        + tls(QStringLiteral("[::1]:8445"), QStringLiteral("forum"))
        + tls(QStringLiteral("127.0.0.2:8443"), QStringLiteral("impostor"))
        + tls(QStringLiteral("127.0.0.2:8444"), QStringLiteral("elsewhere"));
}

qint32 TestProbeNginx::fileSize(const QString &file) const
{
    return qint32(QFileInfo(QDir(m_dir.path()).filePath(QStringLiteral("root/") + file)).size());
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
    QSignalSpy finished(&probe, &PageSizeProbe::finished);
    probe.start(address);
    QVERIFY(finished.wait(20000));
    QVERIFY(probe.measurement().isMeasured());
    QVERIFY(probe.headerSeen());
    const qint64 expected = QFileInfo(QDir(m_dir.path()).filePath(QStringLiteral("root/") + file)).size();
    QCOMPARE(probe.byteCount(), qint32(expected));
    QCOMPARE(probe.contentLength(), qint32(expected));
}

void TestProbeNginx::errorPageIsMeasured()
{
    PageSizeProbe probe;
    QSignalSpy finished(&probe, &PageSizeProbe::finished);
    probe.start(QStringLiteral("http://127.0.0.2/no-such-page.html"));
    QVERIFY(finished.wait(20000));
    QVERIFY(probe.contentLength() > 0);
    QCOMPARE(probe.byteCount(), probe.contentLength());
    QCOMPARE(probe.statusCode(), 404);
    QVERIFY(probe.measurement().isServerError());
    QCOMPARE(probe.measurement().problemText(), QStringLiteral("Server error: status 404"));
}

void TestProbeNginx::secureAndRedirected_data()
{
    QTest::addColumn<QString>("address");
    QTest::addColumn<PageFailure>("failure");
    QTest::addColumn<QString>("file"); // the page measured in the end
    QTest::addColumn<int>("status");
    QTest::addColumn<int>("redirects");
    QTest::addColumn<QString>("detail");

    const PageFailure ok = PageFailure::None;
    QTest::newRow("https-default-port") << "https://127.0.0.2/thread.html" << ok << "thread.html" << 200 << 0 << "";
    QTest::newRow("https-capital-scheme-ipv6-port")
        << "HTTPS://[::1]:8445/forum/viewtopic.php?t=1#p3" << ok << "forum/viewtopic.php" << 200 << 0 << "";
    QTest::newRow("untrusted-authority") << "https://127.0.0.2:8443/thread.html" << PageFailure::Certificate << "" << 0
                                         << 0 << "issuer certificate";
    QTest::newRow("name-mismatch") << "https://127.0.0.2:8444/thread.html" << PageFailure::Certificate << "" << 0 << 0
                                   << "host name did not match";
    QTest::newRow("tls-to-plain-port") << "https://127.0.0.2:8080/thread.html" << PageFailure::Certificate << "" << 0
                                       << 0 << "";
    QTest::newRow("plain-to-tls-port-says-which") << "http://127.0.0.2:443/thread.html" << ok << "" << 400 << 0 << "";
    // 301 relative, 302 to https, 303 back to http with a port, 308 relative.
    QTest::newRow("redirect-chain") << "http://127.0.0.2:8080/hop1" << ok << "thread.html" << 200 << 4 << "";
    QTest::newRow("five-redirects-followed") << "http://127.0.0.2:8080/five1" << ok << "thread.html" << 200 << 5 << "";
    QTest::newRow("six-redirects-too-many")
        << "http://127.0.0.2:8080/six1" << PageFailure::TooManyRedirects << "" << 301 << 5 << "more than 5";
    QTest::newRow("redirect-loop") << "http://127.0.0.2:8080/loop1" << PageFailure::TooManyRedirects << "" << 307 << 1
                                   << "loop";
}

void TestProbeNginx::secureAndRedirected()
{
    QFETCH(QString, address);
    QFETCH(PageFailure, failure);
    QFETCH(QString, file);
    QFETCH(int, status);
    QFETCH(int, redirects);
    QFETCH(QString, detail);

    PageSizeProbe probe;
    probe.setExtraCaCertificates(m_trusted);
    QSignalSpy finished(&probe, &PageSizeProbe::finished);
    probe.start(address);
    QVERIFY(finished.wait(20000));
    const auto measurement = finished.first().at(0).value<PageMeasurement>();
    QVERIFY2(measurement.failure == failure, qPrintable(measurement.problemText()));
    QCOMPARE(measurement.status, status);
    QCOMPARE(measurement.redirects, redirects);
    QVERIFY2(measurement.detail.contains(detail, Qt::CaseInsensitive), qPrintable(measurement.detail));
    if (!file.isEmpty()) {
        QCOMPARE(measurement.size, fileSize(file));
    }
}

void TestProbeNginx::runOverSecureAndRedirected()
{
    // The same addresses in one run: every post gets the outcome its page gives, whatever order they finish in.
    const QList<std::tuple<QString, PostOutcome, PageFailure>> posts = {
        { "https://127.0.0.2/thread.html", PostOutcome::NewReplies, PageFailure::None },
        { "https://127.0.0.2:8443/thread.html", PostOutcome::NotChecked, PageFailure::Certificate },
        { "https://127.0.0.2:8444/thread.html", PostOutcome::NotChecked, PageFailure::Certificate },
        { "http://127.0.0.2:443/thread.html", PostOutcome::NotChecked, PageFailure::ServerError },
        { "http://127.0.0.2:8080/hop1", PostOutcome::NewReplies, PageFailure::None },
        { "http://127.0.0.2:8080/six1", PostOutcome::NotChecked, PageFailure::TooManyRedirects },
        { "http://127.0.0.2:8080/loop1", PostOutcome::NotChecked, PageFailure::TooManyRedirects },
        { "http://127.0.0.2/one.txt", PostOutcome::Unchanged, PageFailure::None },
        { "http://127.0.0.2/forum/viewtopic.php?t=1", PostOutcome::Baseline, PageFailure::None },
    };
    QList<ReplyRunPost> entries;
    for (const auto &[address, outcome, failure] : posts) {
        entries.append({ address, outcome == PostOutcome::Baseline ? QStringLiteral("unmeasured") : "0" });
    }
    ReplyRun run;
    run.setExtraCaCertificates(m_trusted);
    QHash<int, std::pair<PostOutcome, PageFailure>> outcomes;
    connect(&run, &ReplyRun::postChecked, this, [&](int index, const PostResult &result) {
        outcomes.insert(index, { result.outcome, result.failure });
    });
    QSignalSpy finished(&run, &ReplyRun::finished);
    run.start(entries);
    QVERIFY(finished.wait(30000));
    QCOMPARE(outcomes.size(), posts.size());
    for (int i = 0; i < posts.size(); ++i) {
        QVERIFY2(outcomes.value(i) == std::pair(std::get<1>(posts.at(i)), std::get<2>(posts.at(i))),
            qPrintable(std::get<0>(posts.at(i))));
    }
    QCOMPARE(run.newReplies(), QStringList({ std::get<0>(posts.at(0)), std::get<0>(posts.at(4)) }));
    QCOMPARE(finished.first(), (QList<QVariant> { 2, 5 }));
}

QTEST_GUILESS_MAIN(TestProbeNginx)
#include "tst_probe_nginx.moc"
