#include "probe/pagesizeprobe.h"
#include "probe/requestidentity.h"

#include "probe/postoutcome.h"
#include "replies/replycheck.h"

#include <QPointer>
#include <QDateTime>
#include <QNetworkCookie>
#include <QSignalSpy>
#include <QTest>

#include "base/settingsstore.h"
#include "support/bodyserver.h"
#include "support/scriptedserver.h"

#include <QTemporaryDir>

namespace {

enum class Behaviour { Silent, HeaderNeverEnds, DripForever, DripThenClose, ResetMidBody, ErrorStatus, Refused };

// Plays one misbehaviour on the connection; drips send one body byte per second.
void misbehave(QTcpSocket *socket, Behaviour behaviour)
{
    switch (behaviour) {
    case Behaviour::Silent:
    case Behaviour::Refused:
        return;
    case Behaviour::HeaderNeverEnds:
        socket->write("HTTP/1.1 200 OK\r\nX-Pad: b");
        return;
    case Behaviour::DripForever:
    case Behaviour::DripThenClose: {
        socket->write("HTTP/1.1 200 OK\r\n\r\n");
        auto *timer = new QTimer(socket);
        auto left = std::make_shared<int>(behaviour == Behaviour::DripThenClose ? 2 : 1000);
        QObject::connect(timer, &QTimer::timeout, socket, [socket, left] {
            if ((*left)-- > 0) {
                socket->write("x");
            } else {
                socket->disconnectFromHost();
            }
        });
        timer->start(1000);
        return;
    }
    case Behaviour::ResetMidBody:
        sendPieces(socket, { "HTTP/1.1 200 OK\r\n\r\n", QByteArray(1000, 'x') }, Ending::Reset, 20);
        return;
    case Behaviour::ErrorStatus:
        sendPieces(socket, { "HTTP/1.1 503 Service Unavailable\r\nContent-Length: 4\r\n\r\nbusy" }, Ending::Close);
        return;
    }
}

} // namespace

class TestPageSizeProbe : public QObject
{
    Q_OBJECT

private slots:
    void requestIsExact_data();
    void requestIsExact();
    void identityFollowsTheBrowser();
    void contentLengthOf_data();
    void contentLengthOf();
    void progressText_data();
    void progressText();
    void headerInPieces_data();
    void headerInPieces();
    void sameSizeWithOrWithoutContentLength();
    void chunkedFramingCounts();
    void headerLengthLimit_data();
    void headerLengthLimit();
    void noBlankLineCountsEverything();
    void panelTexts_data();
    void panelTexts();
    void wholeOrFailure_data();
    void wholeOrFailure();
    void largeBody();
    void countSaturatesBeyond32Bits();
    void connectionRefused();
    void unusableHost_data();
    void unusableHost();
    void resetMidBody();
    void restartAbandonsSilentServer();
    void abortGivesNoResult();
    void misbehavingServers_data();
    void misbehavingServers();
    void noConnectionInTime();
    void timeoutsFromSettings_data();
    void timeoutsFromSettings();
};

namespace {

// A cookie as the browser's store holds it; expires: days from now, 0 for a session cookie.
QNetworkCookie cookie(const char *name, const char *value, const char *domain = "127.0.0.1", const char *path = "/",
    bool secure = false, int expires = 0)
{
    QNetworkCookie made(name, value);
    made.setDomain(QString::fromLatin1(domain));
    made.setPath(QString::fromLatin1(path));
    made.setSecure(secure);
    made.setHttpOnly(true);
    if (expires != 0) {
        made.setExpirationDate(QDateTime::currentDateTime().addDays(expires));
    }
    return made;
}

} // namespace

void TestPageSizeProbe::requestIsExact_data()
{
    // "{port}" stands for the test server's port.
    QTest::addColumn<QString>("address");
    QTest::addColumn<bool>("ipv6");
    QTest::addColumn<QByteArray>("request");
    // Who the request says it is: the browser's User-Agent and cookies; none, the bare request.
    QTest::addColumn<QString>("userAgent");
    QTest::addColumn<QList<QNetworkCookie>>("cookies");

    QTest::newRow("plain-http-as-ever") << "http://127.0.0.1/forum/view.php?t=5&p=2" << false
                                        << QByteArray("GET /forum/view.php?t=5&p=2 HTTP/1.1\r\n"
                                                      "Host: 127.0.0.1\r\n"
                                                      "Connection: close\r\n"
                                                      "Accept: */*\r\n"
                                                      "\r\n")
                                        << QString() << QList<QNetworkCookie>();
    QTest::newRow("capital-scheme-explicit-port") << "HTTP://127.0.0.1:{port}/t" << false
                                                  << QByteArray("GET /t HTTP/1.1\r\nHost: 127.0.0.1:{port}\r\n"
                                                                "Connection: close\r\nAccept: */*\r\n\r\n") << QString() << QList<QNetworkCookie>();
    QTest::newRow("fragment-never-sent") << "http://127.0.0.1/index.php?title=Talk:X#Reply_3" << false
                                         << QByteArray("GET /index.php?title=Talk:X HTTP/1.1\r\nHost: 127.0.0.1\r\n"
                                                       "Connection: close\r\nAccept: */*\r\n\r\n") << QString() << QList<QNetworkCookie>();
    QTest::newRow("decoded-address-goes-out-encoded")
        << QString::fromUtf8("http://127.0.0.1/t?q=a b&n=\xD0\x9F") << false
        << QByteArray("GET /t?q=a%20b&n=%D0%9F HTTP/1.1\r\nHost: 127.0.0.1\r\n"
                      "Connection: close\r\nAccept: */*\r\n\r\n") << QString() << QList<QNetworkCookie>();
    QTest::newRow("encoded-address-unchanged") << "http://127.0.0.1/t?q=a%20b&n=%d0%9f" << false
                                               << QByteArray("GET /t?q=a%20b&n=%d0%9f HTTP/1.1\r\nHost: 127.0.0.1\r\n"
                                                             "Connection: close\r\nAccept: */*\r\n\r\n") << QString() << QList<QNetworkCookie>();
    QTest::newRow("ipv6-literal") << "http://[::1]:{port}/v6" << true
                                  << QByteArray("GET /v6 HTTP/1.1\r\nHost: [::1]:{port}\r\n"
                                                "Connection: close\r\nAccept: */*\r\n\r\n") << QString() << QList<QNetworkCookie>();
    const QString agent = QStringLiteral("Mozilla/5.0 (X11; Linux x86_64) Test/1.0");
    QTest::newRow("browsers-agent-and-session-cookie")
        << "http://127.0.0.1/members/t?id=3" << false
        << QByteArray("GET /members/t?id=3 HTTP/1.1\r\nHost: 127.0.0.1\r\nConnection: close\r\nAccept: */*\r\n"
                      "User-Agent: Mozilla/5.0 (X11; Linux x86_64) Test/1.0\r\nCookie: sid=s3cr3t; theme=dark\r\n\r\n")
        << agent << QList<QNetworkCookie> { cookie("sid", "s3cr3t"), cookie("theme", "dark", "127.0.0.1", "/", false, 30) };
    QTest::newRow("only-the-cookies-the-address-gets")
        << "http://127.0.0.1/members/t" << false
        << QByteArray("GET /members/t HTTP/1.1\r\nHost: 127.0.0.1\r\nConnection: close\r\nAccept: */*\r\n"
                      "Cookie: deep=1; sid=s3cr3t\r\n\r\n")
        << QString()
        << QList<QNetworkCookie> { cookie("sid", "s3cr3t"), cookie("deep", "1", "127.0.0.1", "/members"),
               cookie("elsewhere", "1", "127.0.0.1", "/blog"), cookie("secure", "1", "127.0.0.1", "/", true),
               cookie("expired", "1", "127.0.0.1", "/", false, -1), cookie("other", "1", "forum.example") };
    QTest::newRow("agent-that-would-break-its-line-left-out")
        << "http://127.0.0.1/t" << false
        << QByteArray("GET /t HTTP/1.1\r\nHost: 127.0.0.1\r\nConnection: close\r\nAccept: */*\r\n\r\n")
        << "Agent\r\nCookie: forged=1" << QList<QNetworkCookie>();
}

void TestPageSizeProbe::requestIsExact()
{
    QFETCH(QString, address);
    QFETCH(bool, ipv6);
    QFETCH(QByteArray, request);
    QFETCH(QString, userAgent);
    QFETCH(QList<QNetworkCookie>, cookies);

    ScriptedServer server(QHostAddress(ipv6 ? QHostAddress::LocalHostIPv6 : QHostAddress::LocalHost));
    server.script = [](QTcpSocket *socket) { sendPieces(socket, { "HTTP/1.1 200 OK\r\n\r\nok" }, Ending::Close); };
    PageSizeProbe probe(nullptr, server.port());
    RequestIdentity identity;
    if (!userAgent.isEmpty() || !cookies.isEmpty()) {
        identity.setUserAgentSource([userAgent] { return userAgent; });
        for (const QNetworkCookie &each : cookies) {
            identity.storeCookie(each);
        }
        probe.setIdentity(&identity);
    }
    QSignalSpy completed(&probe, &PageSizeProbe::finished);

    const QString port = QString::number(server.port());
    probe.start(address.replace(QLatin1String("{port}"), port));
    QVERIFY(completed.wait(5000));
    QCOMPARE(server.requests.size(), 1);
    QCOMPARE(server.requests.first(), request.replace("{port}", port.toLatin1()));
    QCOMPARE(probe.byteCount(), 2);
    QCOMPARE(probe.measurement().status, 200);

    // Line breaks in a stored address must not turn into headers of their own.
    QCOMPARE(PageSizeProbe::requestText(QStringLiteral("h"), QStringLiteral("/a\r\nX: 1")),
        QByteArray("GET /a%0D%0AX:%201 HTTP/1.1\r\nHost: h\r\nConnection: close\r\nAccept: */*\r\n\r\n"));
}

// The identity is the browser's as it is at each request: its User-Agent now, and for each page of a redirect the
// cookies of that page's own host only.
void TestPageSizeProbe::identityFollowsTheBrowser()
{
    ScriptedServer other(QHostAddress(QStringLiteral("127.0.0.2")));
    other.script = [](QTcpSocket *socket) { sendPieces(socket, { "HTTP/1.1 200 OK\r\n\r\nok" }, Ending::Close); };
    ScriptedServer first;
    first.script = [&other](QTcpSocket *socket) {
        const QByteArray there = "http://127.0.0.2:" + QByteArray::number(other.port()) + "/landed";
        sendPieces(socket, { "HTTP/1.1 302 Found\r\nLocation: " + there + "\r\nContent-Length: 0\r\n\r\n" },
            Ending::Close);
    };
    RequestIdentity identity;
    QString agent = QStringLiteral("First/1.0");
    identity.setUserAgentSource([&agent] { return agent; });
    identity.storeCookie(cookie("here", "1"));
    identity.storeCookie(cookie("there", "2", "127.0.0.2"));
    PageSizeProbe probe;
    probe.setIdentity(&identity);
    QSignalSpy completed(&probe, &PageSizeProbe::finished);
    probe.start(QStringLiteral("http://127.0.0.1:%1/start").arg(first.port()));
    QVERIFY(completed.wait(5000));
    QCOMPARE(probe.measurement().status, 200);
    QVERIFY2(first.requests.value(0).contains("\r\nUser-Agent: First/1.0\r\nCookie: here=1\r\n\r\n"),
        first.requests.value(0).constData());
    QVERIFY2(other.requests.value(0).contains("\r\nUser-Agent: First/1.0\r\nCookie: there=2\r\n\r\n"),
        other.requests.value(0).constData());

    // The profile changed its User-Agent, the site dropped a cookie: the next request says so.
    agent = QStringLiteral("Second/2.0");
    identity.removeCookie(cookie("there", "2", "127.0.0.2"));
    probe.start(QStringLiteral("http://127.0.0.2:%1/again").arg(other.port()));
    QVERIFY(completed.wait(5000));
    QVERIFY2(other.requests.value(1).endsWith("\r\nUser-Agent: Second/2.0\r\n\r\n"), other.requests.value(1).constData());
}

void TestPageSizeProbe::contentLengthOf_data()
{
    QTest::addColumn<QByteArray>("header");
    QTest::addColumn<int>("length");

    QTest::newRow("plain") << QByteArray("HTTP/1.1 200 OK\r\nContent-Length: 1234") << 1234;
    QTest::newRow("extra-blanks") << QByteArray("HTTP/1.1 200 OK\r\nContent-Length:   77  \r\nX: y") << 77;
    QTest::newRow("none") << QByteArray("HTTP/1.1 200 OK\r\nServer: x") << 0;
    QTest::newRow("lower-case-name") << QByteArray("HTTP/1.1 200 OK\r\ncontent-length: 99") << 99;
    QTest::newRow("upper-case-name") << QByteArray("HTTP/1.1 200 OK\r\nCONTENT-LENGTH: 98") << 98;
    QTest::newRow("no-blank-after-colon") << QByteArray("HTTP/1.1 200 OK\r\nContent-Length:99") << 99;
    QTest::newRow("lower-case-no-blank") << QByteArray("HTTP/1.1 200 OK\r\ncontent-length:10") << 10;
    QTest::newRow("not-a-number") << QByteArray("HTTP/1.1 200 OK\r\nContent-Length: lots") << 0;
    QTest::newRow("longer-name-is-another-field") << QByteArray("HTTP/1.1 200 OK\r\nX-Content-Length: 5\r\n"
                                                                "Content-Length: 9")
                                                  << 9;
    QTest::newRow("name-in-a-value-is-no-field") << QByteArray("HTTP/1.1 200 OK\r\nX-Note: Content-Length: 5\r\n"
                                                               "Content-Length: 9")
                                                 << 9;
    QTest::newRow("first-field-wins") << QByteArray("HTTP/1.1 200 OK\r\nContent-Length: 7\r\nContent-Length: 9") << 7;
    QTest::newRow("beyond-32-bit") << QByteArray("HTTP/1.1 200 OK\r\nContent-Length: 4294967296") << 0;
}

void TestPageSizeProbe::contentLengthOf()
{
    QFETCH(QByteArray, header);
    QFETCH(int, length);
    QCOMPARE(ResponseReader::contentLengthOf(header), length);
}

void TestPageSizeProbe::progressText_data()
{
    QTest::addColumn<int>("byteCount");
    QTest::addColumn<int>("contentLength");
    QTest::addColumn<QString>("text");

    QTest::newRow("no-length") << 1234567 << 0 << "Downloaded 1234567 bytes";
    QTest::newRow("negative-length") << 10 << -5 << "Downloaded 10 bytes";
    QTest::newRow("half") << 50 << 100 << "Downloaded 50 from 100 (50%)";
    QTest::newRow("rounds-up") << 2 << 3 << "Downloaded 2 from 3 (67%)";
    QTest::newRow("half-to-even-down") << 5 << 200 << "Downloaded 5 from 200 (2%)";
    QTest::newRow("half-to-even-up") << 3 << 200 << "Downloaded 3 from 200 (2%)";
    QTest::newRow("over-100") << 250 << 200 << "Downloaded 250 from 200 (125%)";
}

void TestPageSizeProbe::progressText()
{
    QFETCH(int, byteCount);
    QFETCH(int, contentLength);
    QFETCH(QString, text);
    QCOMPARE(PageSizeProbe::progressText(byteCount, contentLength), text);
}

void TestPageSizeProbe::headerInPieces_data()
{
    QTest::addColumn<int>("pieceSize");

    QTest::newRow("at-once") << 100000;
    QTest::newRow("one-byte") << 1;
    QTest::newRow("two-bytes") << 2;
    QTest::newRow("three-bytes") << 3;
    QTest::newRow("seven-bytes") << 7;
}

void TestPageSizeProbe::headerInPieces()
{
    QFETCH(int, pieceSize);
    const QByteArray response = "HTTP/1.1 200 OK\r\nContent-Type: text/html\r\nContent-Length: 26\r\n\r\n"
                                "abcdefghijklmnopqrstuvwxyz";
    ScriptedServer server;
    server.script = [&](QTcpSocket *socket) { sendPieces(socket, cut(response, pieceSize), Ending::Close, 1); };
    PageSizeProbe probe(nullptr, server.port());
    QSignalSpy completed(&probe, &PageSizeProbe::finished);

    probe.start(QStringLiteral("http://127.0.0.1/"));
    QVERIFY(completed.wait(10000));
    QVERIFY(probe.headerSeen());
    QCOMPARE(probe.contentLength(), 26);
    QCOMPARE(probe.byteCount(), 26);
}

void TestPageSizeProbe::sameSizeWithOrWithoutContentLength()
{
    const QByteArray body(5000, 'x');
    for (const QByteArray &header :
        { QByteArray("HTTP/1.1 200 OK\r\nContent-Length: 5000\r\n\r\n"), QByteArray("HTTP/1.1 200 OK\r\n\r\n") }) {
        ScriptedServer server;
        server.script = [&](QTcpSocket *socket) { sendPieces(socket, cut(header + body, 1500), Ending::Close); };
        PageSizeProbe probe(nullptr, server.port());
        QSignalSpy completed(&probe, &PageSizeProbe::finished);
        probe.start(QStringLiteral("127.0.0.1/p"));
        QVERIFY(completed.wait(5000));
        QCOMPARE(probe.byteCount(), 5000);
    }
}

void TestPageSizeProbe::chunkedFramingCounts()
{
    const QByteArray body = "1a\r\nabcdefghijklmnopqrstuvwxyz\r\n5\r\nhello\r\n0\r\n\r\n";
    ScriptedServer server;
    server.script = [&](QTcpSocket *socket) {
        sendPieces(socket, { "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n" + body.left(10), body.mid(10) },
            Ending::Close);
    };
    PageSizeProbe probe(nullptr, server.port());
    QSignalSpy completed(&probe, &PageSizeProbe::finished);

    probe.start(QStringLiteral("http://127.0.0.1/"));
    QVERIFY(completed.wait(5000));
    QCOMPARE(probe.byteCount(), int(body.size()));
}

void TestPageSizeProbe::headerLengthLimit_data()
{
    QTest::addColumn<int>("headerLength");
    QTest::addColumn<int>("pieceSize");
    QTest::addColumn<bool>("recognised");

    QTest::newRow("longest-recognised") << 32766 << 4000 << true;
    QTest::newRow("longest-recognised-bytewise-end") << 32766 << 32765 << true;
    QTest::newRow("one-too-long") << 32767 << 4000 << false;
    QTest::newRow("one-too-long-at-once") << 32767 << 1000000 << false;
    QTest::newRow("far-too-long") << 100000 << 4000 << false;
}

void TestPageSizeProbe::headerLengthLimit()
{
    QFETCH(int, headerLength);
    QFETCH(int, pieceSize);
    QFETCH(bool, recognised);

    QByteArray header = "HTTP/1.1 200 OK\r\nX-Pad: ";
    header += QByteArray(headerLength - header.size(), 'p');
    QCOMPARE(header.size(), headerLength);
    const QByteArray response = header + "\r\n\r\n" + QByteArray(300, 'b');

    ScriptedServer server;
    server.script = [&](QTcpSocket *socket) { sendPieces(socket, cut(response, pieceSize), Ending::Close, 2); };
    PageSizeProbe probe(nullptr, server.port());
    QSignalSpy completed(&probe, &PageSizeProbe::finished);

    probe.start(QStringLiteral("http://127.0.0.1/"));
    QVERIFY(completed.wait(10000));
    QCOMPARE(probe.headerSeen(), recognised);
    QCOMPARE(probe.byteCount(), recognised ? 300 : int(response.size()));
}

void TestPageSizeProbe::noBlankLineCountsEverything()
{
    const QByteArray response = "HTTP/1.0 200 OK\nContent-Length: 3\n\nabc";
    ScriptedServer server;
    server.script = [&](QTcpSocket *socket) { sendPieces(socket, { response }, Ending::Close); };
    PageSizeProbe probe(nullptr, server.port());
    QSignalSpy completed(&probe, &PageSizeProbe::finished);

    probe.start(QStringLiteral("http://127.0.0.1/"));
    QVERIFY(completed.wait(5000));
    QVERIFY(!probe.headerSeen());
    QCOMPARE(probe.contentLength(), 0);
    QCOMPARE(probe.byteCount(), int(response.size()));
}

void TestPageSizeProbe::panelTexts_data()
{
    // Texts as "panel text"; panel 0 takes the texts of every panel, 3 those of the download panel only.
    QTest::addColumn<QList<QByteArray>>("pieces");
    QTest::addColumn<int>("panel");
    QTest::addColumn<QStringList>("texts");
    QTest::addColumn<int>("byteCount");

    QTest::newRow("in-order") << QList<QByteArray> { "HTTP/1.1 200 OK\r\nContent-", "Length: 8\r\n\r\nab", "cdefgh" }
                              << 0
                              << QStringList { "3 ", "2 Connecting to the web server", "2 Sending request",
                                     "2 Request completed", "2 Receiving response", "2 Receiving response",
                                     "2 Receiving response", "3 Downloaded 8 from 8 (100%)" }
                              << 8;
    QTest::newRow("without-content-length")
        << QList<QByteArray> { "HTTP/1.1 200 OK\r\n\r\n0123", "456", "7890" } << 3
        << QStringList { "3 ", "3 Downloaded 7 bytes", "3 Downloaded 11 bytes" } << 11;
    QTest::newRow("beyond-announced-length")
        << QList<QByteArray> { "HTTP/1.1 200 OK\r\nContent-Length: 200\r\n\r\n", QByteArray(5, 'a'),
               QByteArray(245, 'b') }
        << 3 << QStringList { "3 ", "3 Downloaded 5 from 200 (2%)", "3 Downloaded 250 from 200 (125%)" } << 250;
}

void TestPageSizeProbe::panelTexts()
{
    QFETCH(QList<QByteArray>, pieces);
    QFETCH(int, panel);
    QFETCH(QStringList, texts);
    QFETCH(int, byteCount);

    ScriptedServer server;
    server.script = [&](QTcpSocket *socket) { sendPieces(socket, pieces, Ending::Close, 20); };
    PageSizeProbe probe(nullptr, server.port());
    QStringList seen;
    connect(&probe, &PageSizeProbe::panelText, this, [&](int shown, const QString &text) {
        if (panel == 0 || shown == panel) {
            seen.append(QString::number(shown) + QLatin1Char(' ') + text);
        }
    });
    QSignalSpy finished(&probe, &PageSizeProbe::finished);

    probe.start(QStringLiteral("http://127.0.0.1/"));
    QVERIFY(finished.wait(5000));
    QCOMPARE(seen, texts);
    QCOMPARE(probe.byteCount(), byteCount);
    QVERIFY(probe.measurement().isMeasured());
}

void TestPageSizeProbe::wholeOrFailure_data()
{
    // answer: what the server sends before it closes (or resets); redirected: its answer at /final.
    QTest::addColumn<QByteArray>("answer");
    QTest::addColumn<bool>("reset");
    QTest::addColumn<QByteArray>("redirected");
    QTest::addColumn<int>("keptLimit");
    QTest::addColumn<QString>("text"); // beside a post not measured before
    QTest::addColumn<QByteArray>("body");
    QTest::addColumn<bool>("truncated"); // body bytes beyond the kept limit were dropped

    const QByteArray chunked
        = "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n1a\r\nabcdefghijklmnopqrstuvwxyz\r\n";
    QTest::newRow("close-without-a-byte")
        << QByteArray() << false << QByteArray() << 0 << "Closed without a reply" << QByteArray() << false;
    QTest::newRow("no-status-line") << QByteArray("SSH-2.0-OpenSSH_9.2\r\n") << false << QByteArray() << 0
                                    << "Not a web server's reply" << QByteArray() << false;
    QTest::newRow("short-of-content-length")
        << "HTTP/1.1 200 OK\r\nContent-Length: 50000\r\n\r\n" + QByteArray(20000, 'x') << false << QByteArray() << 0
        << "Page cut short: 20000 of 50000 bytes" << QByteArray() << true;
    QTest::newRow("chunked-cut-before-last-chunk")
        << chunked << false << QByteArray() << 0 << "Page cut short: the last chunk never came" << QByteArray() << true;
    QTest::newRow("header-cut-off") << QByteArray("HTTP/1.1 200 OK\r\nContent-Le") << false << QByteArray() << 0
                                    << "Page cut short: the header never ended" << QByteArray() << false;
    QTest::newRow("103-then-301") << QByteArray("HTTP/1.1 103 Early Hints\r\nLink: </s.css>\r\n\r\n"
                                                "HTTP/1.1 301 Moved\r\nLocation: /final\r\nContent-Length: 0\r\n\r\n")
                                  << false << QByteArray("HTTP/1.1 200 OK\r\nContent-Length: 5\r\n\r\nfinal") << 0
                                  << "Not measured before: size taken now (5 bytes)" << QByteArray() << true;
    QTest::newRow("100-then-200") << QByteArray(
        "HTTP/1.1 100 Continue\r\n\r\nHTTP/1.1 200 OK\r\nContent-Length: 7\r\n\r\nmessage")
                                  << false << QByteArray() << 0 << "Not measured before: size taken now (7 bytes)"
                                  << QByteArray() << true;
    QTest::newRow("whole-page-then-reset")
        << "HTTP/1.1 200 OK\r\nContent-Length: 1000\r\n\r\n" + QByteArray(1000, 'x') << true << QByteArray() << 0
        << "Not measured before: size taken now (1000 bytes)" << QByteArray() << true;
    QTest::newRow("cut-then-reset") << "HTTP/1.1 200 OK\r\nContent-Length: 1000\r\n\r\n" + QByteArray(10, 'x') << true
                                    << QByteArray() << 0 << "Connection broken off: Connection reset by peer"
                                    << QByteArray() << true;
    // The body kept is the page's, framing removed; chunk framing still counts in the size.
    QTest::newRow("kept-body-chunked-and-plain")
        << chunked + "5\r\nhello\r\n0\r\n\r\n"
        << false << QByteArray() << 100 << "Not measured before: size taken now (47 bytes)"
        << QByteArray("abcdefghijklmnopqrstuvwxyzhello") << false;
    QTest::newRow("kept-body-plain-over-limit")
        << QByteArray("HTTP/1.1 200 OK\r\nContent-Length: 12\r\n\r\n0123456789ab") << false << QByteArray() << 10
        << "Not measured before: size taken now (12 bytes)" << QByteArray("0123456789") << true;
}

void TestPageSizeProbe::wholeOrFailure()
{
    QFETCH(QByteArray, answer);
    QFETCH(bool, reset);
    QFETCH(QByteArray, redirected);
    QFETCH(int, keptLimit);
    QFETCH(QString, text);
    QFETCH(QByteArray, body);
    QFETCH(bool, truncated);

    ScriptedServer server;
    server.script = [&](QTcpSocket *socket) {
        const bool final = server.requests.last().startsWith("GET /final ");
        sendPieces(socket, { final ? redirected : answer }, reset && !final ? Ending::Reset : Ending::Close);
    };
    PageSizeProbe probe(nullptr, server.port());
    probe.setKeptBodyLimit(keptLimit);
    QSignalSpy finished(&probe, &PageSizeProbe::finished);
    probe.start(QStringLiteral("http://127.0.0.1/page"));
    QVERIFY(finished.wait(5000));
    const auto measurement = finished.first().at(0).value<PageMeasurement>();
    QCOMPARE(ReplyCheck::resultOf(measurement, QStringLiteral("unmeasured"), 500).text(), text);
    QCOMPARE(measurement.body, body);
    QCOMPARE(measurement.bodyTruncated, truncated);
}

void TestPageSizeProbe::largeBody()
{
    const qint64 bodySize = 24 * 1024 * 1024 + 17;
    ScriptedServer server;
    server.script = [&](QTcpSocket *socket) {
        streamBody(socket, "HTTP/1.1 200 OK\r\nContent-Length: " + QByteArray::number(bodySize) + "\r\n\r\n", bodySize);
    };
    PageSizeProbe probe(nullptr, server.port());
    QSignalSpy completed(&probe, &PageSizeProbe::finished);

    probe.start(QStringLiteral("http://127.0.0.1/big"));
    QVERIFY(completed.wait(60000));
    QCOMPARE(probe.byteCount(), qint32(bodySize));
}

void TestPageSizeProbe::countSaturatesBeyond32Bits()
{
    const qint64 bodySize = (qint64(1) << 31) + 100 * 1024 * 1024;
    BodyServer server(bodySize);
    PageSizeProbe probe(nullptr, server.port());
    QSignalSpy completed(&probe, &PageSizeProbe::finished);
    QString lastProgress;
    connect(&probe, &PageSizeProbe::panelText, this, [&lastProgress](int panel, const QString &text) {
        if (panel == 3) {
            lastProgress = text;
        }
    });

    probe.start(QStringLiteral("http://127.0.0.1/huge"));
    QVERIFY(completed.wait(120000));
    QCOMPARE(probe.byteCount(), std::numeric_limits<qint32>::max());
    QCOMPARE(lastProgress, QStringLiteral("Downloaded 2147483647 bytes"));
}

void TestPageSizeProbe::connectionRefused()
{
    quint16 closedPort = 0;
    {
        QTcpServer gone;
        QVERIFY(gone.listen(QHostAddress(QHostAddress::LocalHost), 0));
        closedPort = gone.serverPort();
    }
    PageSizeProbe probe(nullptr, closedPort);
    QSignalSpy finished(&probe, &PageSizeProbe::finished);

    probe.start(QStringLiteral("http://127.0.0.1/"));
    QVERIFY(finished.wait(5000));
    const auto measurement = finished.first().at(0).value<PageMeasurement>();
    QCOMPARE(measurement.errorNumber, int(QAbstractSocket::ConnectionRefusedError));
    QCOMPARE(measurement.problemText(), QStringLiteral("Connection refused"));
    QVERIFY(!measurement.failedWhileStarting);
    QVERIFY(!probe.isBusy());
    QTest::qWait(50);
    QCOMPARE(finished.size(), 1);
}

void TestPageSizeProbe::unusableHost_data()
{
    // None of these names reaches a name server: each is refused before any query.
    QTest::addColumn<QString>("address");
    QTest::addColumn<PageFailure>("failure");

    QTest::newRow("other-scheme") << "ftp://127.0.0.1/t" << PageFailure::BadAddress;
    QTest::newRow("port-out-of-range") << "http://127.0.0.1:65536/t" << PageFailure::BadAddress;
    QTest::newRow("empty-host") << "http:///t" << PageFailure::BadAddress;
    QTest::newRow("empty-address") << "" << PageFailure::BadAddress;
    QTest::newRow("blank-in-host") << "http://forum example/" << PageFailure::BadAddress;
    QTest::newRow("empty-label") << "http://forum..example/" << PageFailure::UnknownHost;
}

void TestPageSizeProbe::unusableHost()
{
    QFETCH(QString, address);
    QFETCH(PageFailure, failure);
    ScriptedServer server;
    PageSizeProbe probe(nullptr, server.port());
    QSignalSpy finished(&probe, &PageSizeProbe::finished);

    probe.start(address);
    // Reported once start() has returned, never inside it.
    QCOMPARE(finished.size(), 0);
    QVERIFY(finished.wait(5000));
    const auto measurement = finished.first().at(0).value<PageMeasurement>();
    QCOMPARE(measurement.failure, failure);
    QCOMPARE(measurement.errorNumber, int(QAbstractSocket::HostNotFoundError));
    QVERIFY(!measurement.problemText().isEmpty());
    QCOMPARE(server.requests.size(), 0);
}

void TestPageSizeProbe::resetMidBody()
{
    ScriptedServer server;
    server.script = [](QTcpSocket *socket) {
        sendPieces(
            socket, { "HTTP/1.1 200 OK\r\nContent-Length: 100000\r\n\r\n", QByteArray(1000, 'x') }, Ending::Reset, 20);
    };
    PageSizeProbe probe(nullptr, server.port());
    QSignalSpy finished(&probe, &PageSizeProbe::finished);

    probe.start(QStringLiteral("http://127.0.0.1/"));
    QVERIFY(finished.wait(5000));
    const auto measurement = finished.first().at(0).value<PageMeasurement>();
    QCOMPARE(measurement.errorNumber, int(QAbstractSocket::NetworkError));
    QCOMPARE(measurement.detail, QStringLiteral("Connection reset by peer"));
    QTest::qWait(50);
    QCOMPARE(finished.size(), 1);
    QVERIFY(!probe.isBusy());
}

void TestPageSizeProbe::restartAbandonsSilentServer()
{
    // The first connection gets no answer until the probe has moved on; then it answers anyway.
    ScriptedServer server;
    QPointer<QTcpSocket> first;
    server.script = [&](QTcpSocket *socket) {
        if (first.isNull() && server.requests.size() == 1) {
            first = socket;
            return;
        }
        sendPieces(socket, { "HTTP/1.1 200 OK\r\n\r\n", "0123456789" }, Ending::Close);
    };
    PageSizeProbe probe(nullptr, server.port());
    QSignalSpy completed(&probe, &PageSizeProbe::finished);

    probe.start(QStringLiteral("http://127.0.0.1/first"));
    QTRY_COMPARE_WITH_TIMEOUT(server.requests.size(), 1, 5000);
    QTest::qWait(100);
    QCOMPARE(completed.size(), 0);

    probe.start(QStringLiteral("http://127.0.0.1/second"));
    if (first) {
        first->write("HTTP/1.1 200 OK\r\n\r\n" + QByteArray(500, 'z'));
        first->disconnectFromHost();
    }
    QVERIFY(completed.wait(5000));
    QCOMPARE(server.requests.size(), 2);
    QVERIFY(server.requests.at(1).startsWith("GET /second "));
    QCOMPARE(probe.byteCount(), 10);
    QTest::qWait(100);
    QCOMPARE(completed.size(), 1);
    QVERIFY(probe.measurement().isMeasured());
    // The abandoned connection was closed from this side.
    QVERIFY(server.closedByClient >= 1);
}

void TestPageSizeProbe::abortGivesNoResult()
{
    ScriptedServer server;
    server.script = [](QTcpSocket *socket) {
        sendPieces(socket, { "HTTP/1.1 200 OK\r\n\r\n", "late" }, Ending::Close, 50);
    };
    PageSizeProbe probe(nullptr, server.port());
    QSignalSpy finished(&probe, &PageSizeProbe::finished);

    probe.start(QStringLiteral("http://127.0.0.1/"));
    QTRY_COMPARE_WITH_TIMEOUT(server.requests.size(), 1, 5000);
    probe.abort();
    QVERIFY(!probe.isBusy());
    QTest::qWait(300);
    QCOMPARE(finished.size(), 0);
}

void TestPageSizeProbe::misbehavingServers_data()
{
    QTest::addColumn<Behaviour>("behaviour");
    QTest::addColumn<int>("readMs");
    QTest::addColumn<int>("pageMs");
    QTest::addColumn<PageFailure>("failure");
    QTest::addColumn<int>("size"); // -1: not checked
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("detail");

    QTest::newRow("silent") << Behaviour::Silent << 300 << 5000 << PageFailure::NoAnswer << 0 << 0
                            << "Nothing arrived for";
    QTest::newRow("header-never-ends") << Behaviour::HeaderNeverEnds << 300 << 5000 << PageFailure::NoAnswer << -1 << 0
                                       << "Nothing arrived for";
    // Each byte comes before the silence limit, so only the limit for the whole page ends it.
    QTest::newRow("one-byte-per-second-forever")
        << Behaviour::DripForever << 1500 << 2500 << PageFailure::NoAnswer << 2 << 200 << "did not end within";
    QTest::newRow("one-byte-per-second-then-close")
        << Behaviour::DripThenClose << 1500 << 10000 << PageFailure::None << 2 << 200 << "";
    QTest::newRow("reset-mid-body") << Behaviour::ResetMidBody << 5000 << 5000 << PageFailure::Broken << 1000 << 200
                                    << "reset";
    QTest::newRow("error-status-measured-and-told")
        << Behaviour::ErrorStatus << 5000 << 5000 << PageFailure::None << 4 << 503 << "";
    QTest::newRow("refused") << Behaviour::Refused << 5000 << 5000 << PageFailure::Refused << 0 << 0 << "";
}

void TestPageSizeProbe::misbehavingServers()
{
    QFETCH(Behaviour, behaviour);
    QFETCH(int, readMs);
    QFETCH(int, pageMs);
    QFETCH(PageFailure, failure);
    QFETCH(int, size);
    QFETCH(int, status);
    QFETCH(QString, detail);

    auto server = std::make_unique<ScriptedServer>();
    server->script = [behaviour](QTcpSocket *socket) { misbehave(socket, behaviour); };
    const quint16 port = server->port();
    if (behaviour == Behaviour::Refused) {
        server.reset();
    }
    PageSizeProbe probe(nullptr, port);
    probe.setTimeouts({ 2000, readMs, pageMs });
    QSignalSpy finished(&probe, &PageSizeProbe::finished);

    probe.start(QStringLiteral("http://127.0.0.1/page"));
    QVERIFY(finished.wait(pageMs + 2000));
    const auto measurement = finished.first().at(0).value<PageMeasurement>();
    QCOMPARE(measurement.failure, failure);
    if (size >= 0) {
        QCOMPARE(measurement.size, size);
    }
    QCOMPARE(measurement.status, status);
    QVERIFY2(measurement.detail.contains(detail, Qt::CaseInsensitive), qPrintable(measurement.detail));
    QCOMPARE(measurement.isServerError(), status >= 500);
    QCOMPARE(measurement.problemText().isEmpty(), measurement.isUsable());
    QTest::qWait(50);
    QCOMPARE(finished.size(), 1);
    QVERIFY(!probe.isBusy());
}

void TestPageSizeProbe::noConnectionInTime()
{
    // A listener whose queue is full drops further connection attempts without a word.
    const int listener = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address = {};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    QCOMPARE(::bind(listener, reinterpret_cast<sockaddr *>(&address), sizeof address), 0);
    QCOMPARE(::listen(listener, 0), 0);
    socklen_t length = sizeof address;
    ::getsockname(listener, reinterpret_cast<sockaddr *>(&address), &length);
    QTcpSocket fillers[2];
    for (QTcpSocket &filler : fillers) {
        filler.connectToHost(QHostAddress(QHostAddress::LocalHost), ntohs(address.sin_port));
    }
    QTest::qWait(100);

    PageSizeProbe probe(nullptr, ntohs(address.sin_port));
    probe.setTimeouts({ 1000, 5000, 10000 });
    QSignalSpy finished(&probe, &PageSizeProbe::finished);
    probe.start(QStringLiteral("http://127.0.0.1/"));
    QVERIFY(finished.wait(5000));
    const auto measurement = finished.first().at(0).value<PageMeasurement>();
    QCOMPARE(measurement.failure, PageFailure::NoAnswer);
    QCOMPARE(measurement.detail, QStringLiteral("No connection within 1 second"));
    ::close(listener);
}

void TestPageSizeProbe::timeoutsFromSettings_data()
{
    QTest::addColumn<QStringList>("settings"); // connect, read, page in seconds
    QTest::addColumn<QList<int>>("milliseconds");

    QTest::newRow("absent-defaults") << QStringList { "", "", "" } << QList<int> { 15000, 30000, 300000 };
    QTest::newRow("set") << QStringList { "5", "60", "120" } << QList<int> { 5000, 60000, 120000 };
    QTest::newRow("held-between-1-s-and-1-h") << QStringList { "0", "-3", "1e9" } << QList<int> { 1000, 1000, 3600000 };
    QTest::newRow("junk-default-fraction-kept")
        << QStringList { "soon", "2.5", " 7 " } << QList<int> { 15000, 2500, 7000 };
}

void TestPageSizeProbe::timeoutsFromSettings()
{
    QFETCH(QStringList, settings);
    QFETCH(QList<int>, milliseconds);

    QTemporaryDir dir;
    SettingsStore store(dir.filePath(QStringLiteral("Postavo.ini")));
    const QStringList keys = { "connectTimeout", "readTimeout", "pageTimeout" };
    for (int i = 0; i < keys.size(); ++i) {
        if (!settings.at(i).isEmpty()) {
            store.write(QStringLiteral("data"), keys.at(i), settings.at(i));
        }
    }
    const ProbeTimeouts timeouts = ProbeTimeouts::fromSettings(store);
    QCOMPARE((QList<int> { timeouts.connectMs, timeouts.readMs, timeouts.pageMs }), milliseconds);
}

QTEST_GUILESS_MAIN(TestPageSizeProbe)
#include "tst_pagesizeprobe.moc"
