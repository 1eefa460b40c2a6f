#include "replies/pagesizeprobe.h"

#include <QPointer>
#include <QSignalSpy>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>
#include <QTimer>

#include <functional>
#include <memory>
#include <thread>
#include <vector>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

enum class Ending { Close, Reset, StayOpen };

// A loopback server that waits for each request and then plays the test's script on that connection.
class ScriptedServer : public QObject
{
public:
    std::function<void(QTcpSocket *)> script;
    QList<QByteArray> requests;
    int closedByClient = 0;

    ScriptedServer()
    {
        connect(&m_server, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket *socket = m_server.nextPendingConnection()) {
                auto received = std::make_shared<QByteArray>();
                connect(socket, &QTcpSocket::readyRead, socket, [this, socket, received] {
                    *received += socket->readAll();
                    if (received->endsWith("\r\n\r\n") && !socket->property("answered").toBool()) {
                        socket->setProperty("answered", true);
                        requests.append(*received);
                        if (script) {
                            script(socket);
                        }
                    }
                });
                connect(socket, &QTcpSocket::disconnected, this, [this] { ++closedByClient; });
            }
        });
        m_server.listen(QHostAddress(QHostAddress::LocalHost), 0);
    }

    quint16 port() const { return m_server.serverPort(); }

private:
    QTcpServer m_server;
};

void endConnection(QTcpSocket *socket, Ending ending)
{
    if (ending == Ending::Close) {
        socket->disconnectFromHost();
    } else if (ending == Ending::Reset) {
        socket->flush();
        // No lingering: closing now sends a reset instead of an orderly end.
        const linger noLinger = { 1, 0 };
        ::setsockopt(int(socket->socketDescriptor()), SOL_SOCKET, SO_LINGER, &noLinger, sizeof noLinger);
        socket->abort();
    }
}

// Writes the pieces a few milliseconds apart so that each one reaches the probe as an arrival of its own.
void sendPieces(QTcpSocket *socket, const QList<QByteArray> &pieces, Ending ending, int intervalMs = 4)
{
    auto *timer = new QTimer(socket);
    auto next = std::make_shared<qsizetype>(0);
    QObject::connect(timer, &QTimer::timeout, socket, [socket, timer, pieces, ending, next] {
        if (*next < pieces.size()) {
            socket->write(pieces.at((*next)++));
            socket->flush();
            return;
        }
        timer->stop();
        endConnection(socket, ending);
    });
    timer->start(intervalMs);
}

QList<QByteArray> cut(const QByteArray &data, qsizetype pieceSize)
{
    QList<QByteArray> pieces;
    for (qsizetype at = 0; at < data.size(); at += pieceSize) {
        pieces.append(data.mid(at, pieceSize));
    }
    return pieces;
}

// Writes a large body without holding it, topping up the socket as it drains.
void streamBody(QTcpSocket *socket, const QByteArray &header, qint64 bodySize)
{
    socket->write(header);
    auto left = std::make_shared<qint64>(bodySize);
    const QByteArray block(64 * 1024, 'b');
    auto pump = [socket, left, block] {
        while (*left > 0 && socket->bytesToWrite() < 4 * block.size()) {
            const qint64 n = qMin<qint64>(*left, block.size());
            socket->write(block.constData(), n);
            *left -= n;
        }
        if (*left == 0 && socket->bytesToWrite() == 0) {
            *left = -1;
            socket->disconnectFromHost();
        }
    };
    QObject::connect(socket, &QTcpSocket::bytesWritten, socket, pump);
    pump();
}

// A blocking one-shot server on a thread of its own, for bodies too large to pump through the test's event loop.
class BulkServer
{
public:
    explicit BulkServer(qint64 bodySize)
    {
        m_listener = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address = {};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        ::bind(m_listener, reinterpret_cast<sockaddr *>(&address), sizeof address);
        ::listen(m_listener, 1);
        socklen_t length = sizeof address;
        ::getsockname(m_listener, reinterpret_cast<sockaddr *>(&address), &length);
        m_port = ntohs(address.sin_port);
        m_thread = std::thread([this, bodySize] {
            const int connection = ::accept(m_listener, nullptr, nullptr);
            char request[4096];
            ::recv(connection, request, sizeof request, 0);
            const QByteArray header = "HTTP/1.1 200 OK\r\n\r\n";
            ::send(connection, header.constData(), size_t(header.size()), MSG_NOSIGNAL);
            const std::vector<char> block(1024 * 1024, 'b');
            for (qint64 left = bodySize; left > 0;) {
                const ssize_t sent
                    = ::send(connection, block.data(), size_t(qMin<qint64>(left, qint64(block.size()))), MSG_NOSIGNAL);
                if (sent <= 0) {
                    break;
                }
                left -= sent;
            }
            ::close(connection);
        });
    }

    ~BulkServer()
    {
        m_thread.join();
        ::close(m_listener);
    }

    quint16 port() const { return m_port; }

private:
    int m_listener = -1;
    quint16 m_port = 0;
    std::thread m_thread;
};

using PanelTexts = QList<std::pair<int, QString>>;

} // namespace

class TestPageSizeProbe : public QObject
{
    Q_OBJECT

private slots:
    void splitAddress_data();
    void splitAddress();
    void requestIsExact();
    void contentLengthOf_data();
    void contentLengthOf();
    void progressText_data();
    void progressText();
    void headerInPieces_data();
    void headerInPieces();
    void sameSizeWithOrWithoutContentLength();
    void progressWithoutContentLength();
    void progressBeyondAnnouncedLength();
    void chunkedFramingCounts();
    void headerLengthLimit_data();
    void headerLengthLimit();
    void noBlankLineCountsEverything();
    void panelTextsInOrder();
    void largeBody();
    void countSaturatesBeyond32Bits();
    void connectionRefused();
    void unusableHost_data();
    void unusableHost();
    void resetMidBody();
    void restartAbandonsSilentServer();
    void abortGivesNoResult();
};

void TestPageSizeProbe::splitAddress_data()
{
    QTest::addColumn<QString>("address");
    QTest::addColumn<QString>("host");
    QTest::addColumn<QString>("path");

    QTest::newRow("bare-host-gets-root") << "http://forum.example.org"
                                         << "forum.example.org"
                                         << "/";
    QTest::newRow("path-and-query-kept") << "http://forum.example.org/t.php?id=5&p=2#end"
                                         << "forum.example.org"
                                         << "/t.php?id=5&p=2#end";
    QTest::newRow("https-not-stripped") << "https://forum.example.org/t"
                                        << "https:"
                                        << "//forum.example.org/t";
    QTest::newRow("capital-scheme-not-stripped") << "HTTP://forum.example.org/t"
                                                 << "HTTP:"
                                                 << "//forum.example.org/t";
    QTest::newRow("port-stays-in-host") << "http://forum.example.org:8080/t"
                                        << "forum.example.org:8080"
                                        << "/t";
    QTest::newRow("no-scheme") << "forum.example.org/a/b"
                               << "forum.example.org"
                               << "/a/b";
    QTest::newRow("empty-host") << "http:///t"
                                << ""
                                << "/t";
    QTest::newRow("empty-address") << ""
                                   << ""
                                   << "/";
}

void TestPageSizeProbe::splitAddress()
{
    QFETCH(QString, address);
    QFETCH(QString, host);
    QFETCH(QString, path);
    QString gotHost;
    QString gotPath;
    PageSizeProbe::splitAddress(address, &gotHost, &gotPath);
    QCOMPARE(gotHost, host);
    QCOMPARE(gotPath, path);
}

void TestPageSizeProbe::requestIsExact()
{
    ScriptedServer server;
    server.script = [](QTcpSocket *socket) { sendPieces(socket, { "HTTP/1.1 200 OK\r\n\r\nok" }, Ending::Close); };
    PageSizeProbe probe(nullptr, server.port());
    QSignalSpy completed(&probe, &PageSizeProbe::completed);

    probe.start(QStringLiteral("http://127.0.0.1/forum/view.php?t=5&p=2"));
    QVERIFY(completed.wait(5000));
    QCOMPARE(server.requests.size(), 1);
    QCOMPARE(server.requests.first(),
        QByteArray("GET /forum/view.php?t=5&p=2 HTTP/1.1\r\n"
                   "Host: 127.0.0.1\r\n"
                   "Connection: close\r\n"
                   "Accept: */*\r\n"
                   "\r\n"));
    QCOMPARE(probe.byteCount(), 2);

    // Line breaks in a stored address must not turn into headers of their own.
    QCOMPARE(PageSizeProbe::requestText(QStringLiteral("h"), QStringLiteral("/a\r\nX: 1")),
        QByteArray("GET /a%0D%0AX: 1 HTTP/1.1\r\nHost: h\r\nConnection: close\r\nAccept: */*\r\n\r\n"));
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
    QTest::newRow("first-field-wins") << QByteArray("HTTP/1.1 200 OK\r\nContent-Length: 7\r\nContent-Length: 9")
                                      << 7;
    QTest::newRow("beyond-32-bit") << QByteArray("HTTP/1.1 200 OK\r\nContent-Length: 4294967296") << 0;
}

void TestPageSizeProbe::contentLengthOf()
{
    QFETCH(QByteArray, header);
    QFETCH(int, length);
    QCOMPARE(PageSizeProbe::contentLengthOf(header), length);
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
    QSignalSpy completed(&probe, &PageSizeProbe::completed);

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
        QSignalSpy completed(&probe, &PageSizeProbe::completed);
        probe.start(QStringLiteral("127.0.0.1/p"));
        QVERIFY(completed.wait(5000));
        QCOMPARE(probe.byteCount(), 5000);
    }
}

void TestPageSizeProbe::progressWithoutContentLength()
{
    ScriptedServer server;
    server.script = [](QTcpSocket *socket) {
        sendPieces(socket, { "HTTP/1.1 200 OK\r\n\r\n0123", "456", "7890" }, Ending::Close, 20);
    };
    PageSizeProbe probe(nullptr, server.port());
    QSignalSpy panels(&probe, &PageSizeProbe::panelText);
    QSignalSpy completed(&probe, &PageSizeProbe::completed);

    probe.start(QStringLiteral("http://127.0.0.1/"));
    QVERIFY(completed.wait(5000));
    QStringList progress;
    for (const QList<QVariant> &args : panels) {
        if (args.at(0).toInt() == 3) {
            progress.append(args.at(1).toString());
        }
    }
    QCOMPARE(progress, QStringList({ QString(), "Downloaded 7 bytes", "Downloaded 11 bytes" }));
    QCOMPARE(probe.byteCount(), 11);
}

void TestPageSizeProbe::progressBeyondAnnouncedLength()
{
    ScriptedServer server;
    server.script = [](QTcpSocket *socket) {
        sendPieces(socket,
            { "HTTP/1.1 200 OK\r\nContent-Length: 200\r\n\r\n", QByteArray(5, 'a'), QByteArray(245, 'b') },
            Ending::Close, 20);
    };
    PageSizeProbe probe(nullptr, server.port());
    QSignalSpy panels(&probe, &PageSizeProbe::panelText);
    QSignalSpy completed(&probe, &PageSizeProbe::completed);

    probe.start(QStringLiteral("http://127.0.0.1/"));
    QVERIFY(completed.wait(5000));
    QStringList progress;
    for (const QList<QVariant> &args : panels) {
        if (args.at(0).toInt() == 3) {
            progress.append(args.at(1).toString());
        }
    }
    QCOMPARE(progress, QStringList({ QString(), "Downloaded 5 from 200 (2%)", "Downloaded 250 from 200 (125%)" }));
    QCOMPARE(probe.byteCount(), 250);
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
    QSignalSpy completed(&probe, &PageSizeProbe::completed);

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
    QSignalSpy completed(&probe, &PageSizeProbe::completed);

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
    QSignalSpy completed(&probe, &PageSizeProbe::completed);

    probe.start(QStringLiteral("http://127.0.0.1/"));
    QVERIFY(completed.wait(5000));
    QVERIFY(!probe.headerSeen());
    QCOMPARE(probe.contentLength(), 0);
    QCOMPARE(probe.byteCount(), int(response.size()));
}

void TestPageSizeProbe::panelTextsInOrder()
{
    ScriptedServer server;
    server.script = [](QTcpSocket *socket) {
        sendPieces(socket, { "HTTP/1.1 200 OK\r\nContent-", "Length: 8\r\n\r\nab", "cdefgh" }, Ending::Close, 20);
    };
    PageSizeProbe probe(nullptr, server.port());
    PanelTexts texts;
    connect(&probe, &PageSizeProbe::panelText, this, [&texts](int panel, const QString &text) {
        texts.append({ panel, text });
    });
    QSignalSpy completed(&probe, &PageSizeProbe::completed);

    probe.start(QStringLiteral("http://127.0.0.1/"));
    QVERIFY(completed.wait(5000));
    const PanelTexts expected = {
        { 3, QString() },
        { 2, "Connecting to the web server" },
        { 2, "Sending request" },
        { 2, "Request completed" },
        { 2, "Receiving response" },
        { 2, "Receiving response" },
        { 2, "Receiving response" },
        { 3, "Downloaded 8 from 8 (100%)" },
    };
    QCOMPARE(texts, expected);
}

void TestPageSizeProbe::largeBody()
{
    const qint64 bodySize = 24 * 1024 * 1024 + 17;
    ScriptedServer server;
    server.script = [&](QTcpSocket *socket) {
        streamBody(socket, "HTTP/1.1 200 OK\r\nContent-Length: " + QByteArray::number(bodySize) + "\r\n\r\n", bodySize);
    };
    PageSizeProbe probe(nullptr, server.port());
    QSignalSpy completed(&probe, &PageSizeProbe::completed);

    probe.start(QStringLiteral("http://127.0.0.1/big"));
    QVERIFY(completed.wait(60000));
    QCOMPARE(probe.byteCount(), qint32(bodySize));
}

void TestPageSizeProbe::countSaturatesBeyond32Bits()
{
    const qint64 bodySize = (qint64(1) << 31) + 100 * 1024 * 1024;
    BulkServer server(bodySize);
    PageSizeProbe probe(nullptr, server.port());
    QSignalSpy completed(&probe, &PageSizeProbe::completed);
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
    QSignalSpy failed(&probe, &PageSizeProbe::socketFailed);
    QSignalSpy startFailed(&probe, &PageSizeProbe::startFailed);
    QSignalSpy completed(&probe, &PageSizeProbe::completed);

    probe.start(QStringLiteral("http://127.0.0.1/"));
    QVERIFY(failed.wait(5000));
    QCOMPARE(failed.first().at(0).toInt(), int(QAbstractSocket::ConnectionRefusedError));
    QCOMPARE(failed.first().at(1).toString(), QStringLiteral("Connection refused"));
    QVERIFY(!probe.isBusy());
    QTest::qWait(50);
    QCOMPARE(completed.size(), 0);
    QCOMPARE(startFailed.size(), 0);
}

void TestPageSizeProbe::unusableHost_data()
{
    // None of these names reaches a name server: each is refused before any query.
    QTest::addColumn<QString>("address");

    QTest::newRow("port-in-address") << "http://127.0.0.1:8080/t";
    QTest::newRow("https") << "https://127.0.0.1/t";
    QTest::newRow("empty-host") << "http:///t";
    QTest::newRow("empty-address") << "";
    QTest::newRow("blank-in-host") << "http://forum example/";
}

void TestPageSizeProbe::unusableHost()
{
    QFETCH(QString, address);
    ScriptedServer server;
    PageSizeProbe probe(nullptr, server.port());
    QSignalSpy failed(&probe, &PageSizeProbe::socketFailed);
    QSignalSpy completed(&probe, &PageSizeProbe::completed);

    probe.start(address);
    QVERIFY(failed.wait(5000));
    QCOMPARE(failed.first().at(0).toInt(), int(QAbstractSocket::HostNotFoundError));
    QVERIFY(!failed.first().at(1).toString().isEmpty());
    QCOMPARE(completed.size(), 0);
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
    QSignalSpy failed(&probe, &PageSizeProbe::socketFailed);
    QSignalSpy completed(&probe, &PageSizeProbe::completed);

    probe.start(QStringLiteral("http://127.0.0.1/"));
    QVERIFY(failed.wait(5000));
    QCOMPARE(failed.first().at(0).toInt(), int(QAbstractSocket::NetworkError));
    QCOMPARE(failed.first().at(1).toString(), QStringLiteral("Connection reset by peer"));
    QTest::qWait(50);
    QCOMPARE(completed.size(), 0);
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
    QSignalSpy completed(&probe, &PageSizeProbe::completed);
    QSignalSpy failed(&probe, &PageSizeProbe::socketFailed);

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
    QCOMPARE(failed.size(), 0);
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
    QSignalSpy completed(&probe, &PageSizeProbe::completed);
    QSignalSpy failed(&probe, &PageSizeProbe::socketFailed);

    probe.start(QStringLiteral("http://127.0.0.1/"));
    QTRY_COMPARE_WITH_TIMEOUT(server.requests.size(), 1, 5000);
    probe.abort();
    QVERIFY(!probe.isBusy());
    QTest::qWait(300);
    QCOMPARE(completed.size(), 0);
    QCOMPARE(failed.size(), 0);
}

QTEST_GUILESS_MAIN(TestPageSizeProbe)
#include "tst_pagesizeprobe.moc"
