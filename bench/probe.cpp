// Measures one page over loopback: throughput of the probe and its peak memory for bodies of several sizes.
//   bench_probe [body size in MB ...]     (default: 50 500)
#include "benchutil.h"
#include "replies/pagesizeprobe.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstdio>
#include <thread>
#include <vector>

namespace {

// A blocking one-shot server on its own thread, so the probe's event loop is all that runs here. It sends the
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

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QList<qint64> sizesMB;
    for (const QString &argument : app.arguments().mid(1)) {
        sizesMB.append(argument.toLongLong());
    }
    if (sizesMB.isEmpty()) {
        sizesMB = { 50, 500 };
    }

    std::printf("peak memory before any probe: %.1f MiB\n", peakMemoryMiB());
    for (const qint64 sizeMB : sizesMB) {
        const qint64 bodySize = sizeMB * 1000 * 1000;
        BodyServer server(bodySize);
        PageSizeProbe probe(nullptr, server.port());
        qint64 panelUpdates = 0;
        QObject::connect(&probe, &PageSizeProbe::panelText, &probe, [&panelUpdates] { ++panelUpdates; });
        QEventLoop loop;
        bool ok = false;
        QObject::connect(&probe, &PageSizeProbe::completed, &loop, [&] {
            ok = true;
            loop.quit();
        });
        QObject::connect(&probe, &PageSizeProbe::socketFailed, &loop, &QEventLoop::quit);

        QElapsedTimer clock;
        clock.start();
        probe.start(QStringLiteral("http://127.0.0.1/page"));
        loop.exec();
        const double seconds = clock.nsecsElapsed() / 1e9;

        std::printf("body %6lld MB: %s, byteCount %d, %.2f s, %.0f MB/s, %lld panel texts, peak memory %.1f MiB\n",
            static_cast<long long>(sizeMB), ok ? "completed" : "FAILED", probe.byteCount(), seconds,
            bodySize / 1e6 / seconds, static_cast<long long>(panelUpdates), peakMemoryMiB());
    }
    return 0;
}
