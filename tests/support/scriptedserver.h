#pragma once

// Loopback servers for the probe's tests: one that plays a script on each request, and a blocking one on a
// thread of its own for bodies too large to pump through the test's event loop.

#include <QByteArray>
#include <QHostAddress>
#include <QList>
#include <QObject>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>

#include <functional>
#include <memory>
#include <thread>
#include <vector>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

enum class Ending { Close, Reset, StayOpen };

// A loopback server that waits for each request and then plays the test's script on that connection.
class ScriptedServer : public QObject
{
public:
    std::function<void(QTcpSocket *)> script;
    QList<QByteArray> requests;
    int closedByClient = 0;

    explicit ScriptedServer(const QHostAddress &address = QHostAddress(QHostAddress::LocalHost))
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
        m_server.listen(address, 0);
    }

    quint16 port() const { return m_server.serverPort(); }

private:
    QTcpServer m_server;
};

inline void endConnection(QTcpSocket *socket, Ending ending)
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
inline void sendPieces(QTcpSocket *socket, const QList<QByteArray> &pieces, Ending ending, int intervalMs = 4)
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

inline QList<QByteArray> cut(const QByteArray &data, qsizetype pieceSize)
{
    QList<QByteArray> pieces;
    for (qsizetype at = 0; at < data.size(); at += pieceSize) {
        pieces.append(data.mid(at, pieceSize));
    }
    return pieces;
}

// Writes a large body without holding it, topping up the socket as it drains.
inline void streamBody(QTcpSocket *socket, const QByteArray &header, qint64 bodySize)
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
