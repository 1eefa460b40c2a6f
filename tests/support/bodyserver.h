#pragma once

#include <QByteArray>
#include <QtGlobal>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <thread>
#include <vector>

// A blocking one-shot server on a thread of its own, for bodies too large to pump through an event loop; the
// probe's event loop is then all that runs in the measuring thread. It sends the
// body from one reused block: whatever memory grows is the probe's.
class BodyServer
{
public:
    explicit BodyServer(qint64 bodySize)
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
        m_thread = std::thread([this, bodySize] { serve(bodySize); });
    }

    ~BodyServer()
    {
        m_thread.join();
        ::close(m_listener);
    }

    quint16 port() const { return m_port; }

private:
    void serve(qint64 bodySize)
    {
        const int connection = ::accept(m_listener, nullptr, nullptr);
        QByteArray request;
        char buffer[4096];
        while (!request.contains("\r\n\r\n")) {
            const ssize_t got = ::recv(connection, buffer, sizeof buffer, 0);
            if (got <= 0) {
                break;
            }
            request.append(buffer, got);
        }
        const QByteArray header = "HTTP/1.1 200 OK\r\nContent-Length: " + QByteArray::number(bodySize) + "\r\n\r\n";
        sendAll(connection, header.constData(), header.size());
        const std::vector<char> block(256 * 1024, 'b');
        for (qint64 left = bodySize; left > 0;) {
            const qint64 n = qMin<qint64>(left, qint64(block.size()));
            if (!sendAll(connection, block.data(), n)) {
                break;
            }
            left -= n;
        }
        ::close(connection);
    }

    static bool sendAll(int connection, const char *data, qint64 size)
    {
        while (size > 0) {
            const ssize_t sent = ::send(connection, data, size_t(size), MSG_NOSIGNAL);
            if (sent <= 0) {
                return false;
            }
            data += sent;
            size -= sent;
        }
        return true;
    }

    int m_listener = -1;
    quint16 m_port = 0;
    std::thread m_thread;
};
