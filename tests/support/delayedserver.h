#pragma once

#include <QMutex>
#include <QSemaphore>
#include <QStringList>
#include <QTcpServer>
#include <QTcpSocket>
#include <QThread>
#include <QTimer>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <memory>
#include <vector>

// Answers every request after a delay with a page of a fixed size and closes, on each of the addresses it is
// given, from a thread of its own so that the client under test shares nothing with it. It keeps when each
// connection opened and ended as the server saw them, to count the connections a client had open at once.
class DelayedServer : public QThread
{
public:
    DelayedServer(const QStringList &hosts, qsizetype pageSize, int delayMs)
        : m_hosts(hosts)
        , m_delayMs(delayMs)
        , m_page("HTTP/1.1 200 OK\r\nContent-Length: " + QByteArray::number(pageSize) + "\r\n\r\n"
              + QByteArray(pageSize, 'p'))
    {
        start();
        m_ready.acquire();
    }

    ~DelayedServer() override
    {
        quit();
        wait();
    }

    quint16 port(int host) const { return m_ports.at(host); }

    // The most connections open at once to one of the addresses, each counted from its accept until marginMs
    // after it ended: the kernel's list of connections may show one a moment longer than the server holds it.
    int peakConnections(int marginMs) const
    {
        QMutexLocker lock(&m_lock);
        const qint64 margin = qint64(marginMs) * 1000000;
        int peak = 0;
        for (const Lifetime &opened : m_lifetimes) {
            const auto open = std::count_if(m_lifetimes.begin(), m_lifetimes.end(), [&](const Lifetime &other) {
                return other.host == opened.host && other.accepted <= opened.accepted
                    && (other.ended < 0 || other.ended + margin > opened.accepted);
            });
            peak = std::max(peak, int(open));
        }
        return peak;
    }

protected:
    void run() override
    {
        std::vector<std::unique_ptr<QTcpServer>> servers;
        for (const QString &address : m_hosts) {
            auto server = std::make_unique<QTcpServer>();
            server->setMaxPendingConnections(1000);
            if (!server->listen(QHostAddress(address), 0)) {
                std::fprintf(stderr, "cannot listen on %s\n", qPrintable(address));
            }
            QTcpServer *raw = server.get();
            const int host = int(servers.size());
            QObject::connect(raw, &QTcpServer::newConnection, raw, [this, raw, host] {
                while (QTcpSocket *socket = raw->nextPendingConnection()) {
                    serve(socket, host);
                }
            });
            m_ports.push_back(server->serverPort());
            servers.push_back(std::move(server));
        }
        m_ready.release();
        exec();
    }

private:
    struct Lifetime
    {
        int host = 0;
        qint64 accepted = 0; // ns
        qint64 ended = -1;
    };

    static qint64 now()
    {
        return std::chrono::duration_cast<std::chrono::nanoseconds>(std::chrono::steady_clock::now().time_since_epoch())
            .count();
    }

    void serve(QTcpSocket *socket, int host)
    {
        size_t index = 0;
        {
            QMutexLocker lock(&m_lock);
            index = m_lifetimes.size();
            m_lifetimes.push_back({ host, now(), -1 });
        }
        const auto end = [this, index] {
            QMutexLocker lock(&m_lock);
            if (m_lifetimes[index].ended < 0) {
                m_lifetimes[index].ended = now();
            }
        };
        QObject::connect(socket, &QTcpSocket::disconnected, socket, end);
        QObject::connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
        QObject::connect(socket, &QTcpSocket::readyRead, socket, [this, socket, end] {
            if (!socket->readAll().contains("\r\n\r\n") || socket->property("answered").toBool()) {
                return;
            }
            socket->setProperty("answered", true);
            QTimer::singleShot(m_delayMs, Qt::PreciseTimer, socket, [this, socket, end] {
                socket->write(m_page);
                socket->flush();
                end();
                socket->disconnectFromHost();
            });
        });
    }

    QStringList m_hosts;
    int m_delayMs;
    QByteArray m_page;
    std::vector<quint16> m_ports;
    QSemaphore m_ready;
    mutable QMutex m_lock;
    std::vector<Lifetime> m_lifetimes;
};
