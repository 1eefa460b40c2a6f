#include "probe/pagetransport.h"

#include <QNetworkProxy>
#include <QSslConfiguration>
#include <QSslError>
#include <QSslSocket>
#include <QTcpSocket>

#include <cerrno>
#include <system_error>

#ifdef Q_OS_LINUX
#include <fcntl.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>
#include <unistd.h>
#endif

namespace {

// How long a whole page's connection may stay open before the page is taken as it is.
constexpr int wholePageWaitMs = 1000;

// "1 second", "15 seconds".
QString seconds(int milliseconds)
{
    const int whole = (milliseconds + 500) / 1000;
    return whole == 1 ? PageTransport::tr("1 second") : PageTransport::tr("%1 seconds").arg(whole);
}

} // namespace

PageTransport::PageTransport(QObject *parent)
    : QObject(parent)
{
    m_watchdog.setSingleShot(true);
    connect(&m_watchdog, &QTimer::timeout, this, &PageTransport::onWatchdog);
}

PageTransport::~PageTransport()
{
    close();
}

void PageTransport::setExtraCaCertificates(const QList<QSslCertificate> &certificates)
{
    // Adding to a configuration's authorities replaces the system's on-demand ones, so both are listed.
    m_caCertificates = certificates.isEmpty() ? certificates : QSslConfiguration::systemCaCertificates() + certificates;
}

void PageTransport::startPage()
{
    m_clock.start();
    m_heldMs = 0;
}

void PageTransport::holdClock()
{
    m_heldSinceMs = m_clock.elapsed();
}

void PageTransport::resumeClock()
{
    m_heldMs += m_clock.elapsed() - m_heldSinceMs;
}

void PageTransport::open(const QString &host, quint16 port, bool secure, const QByteArray &request)
{
    close();
    m_secure = secure;
    m_request = request;
    m_sslProblem.clear();
    m_whole = false;

    // A fresh socket per connection: nothing from an abandoned one can reach this one.
    QTcpSocket *socket = nullptr;
    if (secure) {
        auto *secureSocket = new QSslSocket(this);
        if (!m_caCertificates.isEmpty()) {
            QSslConfiguration configuration = secureSocket->sslConfiguration();
            configuration.setCaCertificates(m_caCertificates);
            secureSocket->setSslConfiguration(configuration);
        }
        connect(secureSocket, &QSslSocket::encrypted, this, &PageTransport::onEncrypted);
        connect(secureSocket, &QSslSocket::sslErrors, this, &PageTransport::onSslErrors);
        socket = secureSocket;
    } else {
        socket = new QTcpSocket(this);
    }
    // The request goes straight to the page's server; the descriptor copy below relies on a direct connection.
    socket->setProxy(QNetworkProxy::NoProxy);
    connect(socket, &QTcpSocket::connected, this, &PageTransport::onConnected);
    connect(socket, &QTcpSocket::bytesWritten, this, &PageTransport::onBytesWritten);
    connect(socket, &QTcpSocket::readyRead, this, &PageTransport::onReadyRead);
    connect(socket, &QTcpSocket::errorOccurred, this, &PageTransport::onErrorOccurred);
    m_socket = socket;

    emit stateText(QStringLiteral("Connecting to the web server"));
    if (m_socket != socket) {
        return;
    }

    m_connected = false;
    m_stageStartMs = m_clock.elapsed();
    armWatchdog();
    // Errors raised while the connection attempt is being set up count as a failed start.
    m_starting = true;
    if (secure) {
        static_cast<QSslSocket *>(socket)->connectToHostEncrypted(host, port);
    } else {
        socket->connectToHost(host, port);
    }
    if (m_socket == socket) {
        m_starting = false;
    }
}

qint64 PageTransport::read(char *data, qint64 maxSize)
{
    return m_socket != nullptr ? m_socket->read(data, maxSize) : 0;
}

void PageTransport::responseWhole()
{
    if (m_socket != nullptr) {
        m_whole = true;
        armWatchdog();
    }
}

void PageTransport::onConnected()
{
#ifdef Q_OS_LINUX
    m_descriptorCopy = ::fcntl(int(m_socket->socketDescriptor()), F_DUPFD_CLOEXEC, 0);
#endif
    m_connected = true;
    m_lastArrivalMs = m_clock.elapsed();
    armWatchdog();
    if (!m_secure) {
        m_socket->write(m_request);
    }
}

void PageTransport::onEncrypted()
{
    m_lastArrivalMs = m_clock.elapsed();
    m_socket->write(m_request);
}

void PageTransport::onBytesWritten()
{
    QTcpSocket *socket = m_socket;
    emit stateText(QStringLiteral("Sending request"));
    if (m_socket == socket && socket->bytesToWrite() == 0) {
        emit stateText(QStringLiteral("Request completed"));
    }
}

void PageTransport::onReadyRead()
{
    QTcpSocket *socket = m_socket;
    m_lastArrivalMs = m_clock.elapsed();
    emit stateText(QStringLiteral("Receiving response"));
    if (m_socket == socket) {
        emit arrived();
    }
}

void PageTransport::onSslErrors(const QList<QSslError> &errors)
{
    QStringList texts;
    for (const QSslError &error : errors) {
        if (!texts.contains(error.errorString())) {
            texts.append(error.errorString());
        }
    }
    m_sslProblem = texts.join(QStringLiteral("; "));
}

void PageTransport::onErrorOccurred(QAbstractSocket::SocketError error)
{
    QTcpSocket *socket = m_socket;
    const bool closed = error == QAbstractSocket::RemoteHostClosedError;
    if ((closed || error == QAbstractSocket::NetworkError) && !m_starting) {
        if (socket->bytesAvailable() > 0) {
            onReadyRead();
            if (m_socket != socket) {
                return;
            }
        }
        if (closed || m_whole) {
            onClosed();
            return;
        }
    }

    PageFailure failure = PageFailure::Broken;
    QString detail = socket->errorString();
    switch (error) {
    case QAbstractSocket::ConnectionRefusedError:
        failure = PageFailure::Refused;
        break;
    case QAbstractSocket::HostNotFoundError:
        failure = PageFailure::UnknownHost;
        break;
    case QAbstractSocket::SocketTimeoutError:
        failure = PageFailure::NoAnswer;
        break;
    case QAbstractSocket::SslHandshakeFailedError:
    case QAbstractSocket::SslInvalidUserDataError:
        failure = PageFailure::Certificate;
        if (!m_sslProblem.isEmpty()) {
            detail = m_sslProblem;
        }
        break;
    default:
        break;
    }
    fail(failure, error, detail);
}

void PageTransport::onClosed()
{
    // The socket layer reports a reset like an orderly close; a reset page must not pass for a complete
    // one, but a page already whole stands whatever follows it.
    if (m_whole) {
        end();
    } else if (connectionWasReset()) {
        fail(PageFailure::Broken, QAbstractSocket::NetworkError,
            QString::fromStdString(std::generic_category().message(ECONNRESET)));
    } else if (m_secure && !static_cast<QSslSocket *>(m_socket)->isEncrypted()) {
        fail(PageFailure::Certificate, QAbstractSocket::SslHandshakeFailedError,
            tr("The server closed the connection before it was secured"));
    } else {
        end();
    }
}

void PageTransport::end()
{
    QTcpSocket *socket = m_socket;
    emit ended();
    if (m_socket == socket) {
        close();
    }
}

void PageTransport::fail(PageFailure failure, QAbstractSocket::SocketError error, const QString &detail)
{
    QTcpSocket *socket = m_socket;
    emit failed(failure, error, detail);
    if (m_socket == socket) {
        close();
    }
}

qint64 PageTransport::pageElapsed() const
{
    return m_clock.elapsed() - m_heldMs;
}

void PageTransport::armWatchdog()
{
    const qint64 now = m_clock.elapsed();
    qint64 stageEnd = m_stageStartMs + m_timeouts.connectMs;
    if (m_connected) {
        stageEnd = m_lastArrivalMs + (m_whole ? qMin(m_timeouts.readMs, wholePageWaitMs) : m_timeouts.readMs);
    }
    const qint64 due = qMin<qint64>(stageEnd, now + m_timeouts.pageMs - pageElapsed());
    m_watchdog.start(int(qMax<qint64>(0, due - now)));
}

void PageTransport::onWatchdog()
{
    const qint64 now = m_clock.elapsed();
    if (m_connected && m_whole) {
        end();
    } else if (pageElapsed() >= m_timeouts.pageMs) {
        fail(PageFailure::NoAnswer, QAbstractSocket::SocketTimeoutError,
            tr("The page did not end within %1").arg(seconds(m_timeouts.pageMs)));
    } else if (!m_connected && now - m_stageStartMs >= m_timeouts.connectMs) {
        fail(PageFailure::NoAnswer, QAbstractSocket::SocketTimeoutError,
            tr("No connection within %1").arg(seconds(m_timeouts.connectMs)));
    } else if (m_connected && now - m_lastArrivalMs >= m_timeouts.readMs) {
        fail(PageFailure::NoAnswer, QAbstractSocket::SocketTimeoutError,
            tr("Nothing arrived for %1").arg(seconds(m_timeouts.readMs)));
    } else {
        armWatchdog();
    }
}

bool PageTransport::connectionWasReset() const
{
#ifdef Q_OS_LINUX
    if (m_descriptorCopy < 0) {
        return false;
    }
    // After an orderly close the connection waits for our side to close too; a reset has ended it.
    tcp_info info = {};
    socklen_t length = sizeof info;
    if (::getsockopt(m_descriptorCopy, IPPROTO_TCP, TCP_INFO, &info, &length) != 0) {
        return false;
    }
    return info.tcpi_state == TCP_CLOSE;
#else
    return false;
#endif
}

void PageTransport::close()
{
    m_watchdog.stop();
    if (m_socket != nullptr) {
        // Deferred: this may run inside one of the socket's own signals.
        m_socket->disconnect(this);
        m_socket->abort();
        m_socket->deleteLater();
        m_socket = nullptr;
    }
#ifdef Q_OS_LINUX
    if (m_descriptorCopy >= 0) {
        ::close(m_descriptorCopy);
        m_descriptorCopy = -1;
    }
#endif
    m_starting = false;
}
