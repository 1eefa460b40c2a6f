#pragma once

// A loopback server for the probe's tests that plays a script on each request (bodies too large for the test's
// event loop: support/bodyserver.h).

#include <QByteArray>
#include <QHostAddress>
#include <QList>
#include <QObject>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>

#include <functional>
#include <memory>

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
