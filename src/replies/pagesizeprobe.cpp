#include "replies/pagesizeprobe.h"

#include <QCoreApplication>
#include <QNetworkProxy>
#include <QSslConfiguration>
#include <QSslError>
#include <QSslSocket>
#include <QTcpSocket>
#include <QUrl>

#include <array>
#include <cerrno>
#include <cmath>
#include <limits>
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
    return whole == 1 ? PageSizeProbe::tr("1 second") : PageSizeProbe::tr("%1 seconds").arg(whole);
}

} // namespace

PageSizeProbe::PageSizeProbe(QObject *parent, quint16 httpPort)
    : QObject(parent)
    , m_httpPort(httpPort)
{
    m_watchdog.setSingleShot(true);
    connect(&m_watchdog, &QTimer::timeout, this, &PageSizeProbe::onWatchdog);
}

PageSizeProbe::~PageSizeProbe()
{
    closeConnection();
}

void PageSizeProbe::setExtraCaCertificates(const QList<QSslCertificate> &certificates)
{
    // Adding to a configuration's authorities replaces the system's on-demand ones, so both are listed.
    m_caCertificates = certificates.isEmpty() ? certificates : QSslConfiguration::systemCaCertificates() + certificates;
}

void PageSizeProbe::start(const QString &address)
{
    abort();
    m_redirects.reset();
    m_clock.start();
    m_heldMs = 0;
    begin(address);
}

void PageSizeProbe::abort()
{
    closeConnection();
    ++m_generation;
    m_failurePending = false;
    m_heldAddress.clear();
}

void PageSizeProbe::proceed()
{
    if (m_heldAddress.isEmpty()) {
        return;
    }
    const QString address = m_heldAddress;
    m_heldAddress.clear();
    m_heldMs += m_clock.elapsed() - m_heldSinceMs;
    begin(address);
}

QString PageSizeProbe::serverOf(const QString &address, quint16 httpPort)
{
    const PostAddress::Parts parts = PostAddress::split(address);
    return parts.host.toLower() + QLatin1Char(':') + QString::number(parts.connectPort(httpPort));
}

void PageSizeProbe::begin(const QString &address)
{
    m_address = address;
    m_parts = PostAddress::split(address);
    m_sslProblem.clear();
    m_reader.reset();

    const quint64 generation = m_generation;
    emit panelText(3, QString());
    if (generation != m_generation) {
        return;
    }
    if (!m_parts.valid) {
        fail(PageFailure::BadAddress, QAbstractSocket::HostNotFoundError, QString());
        return;
    }

    // A fresh socket per connection: nothing from an abandoned one can reach this one.
    QTcpSocket *socket = nullptr;
    if (m_parts.secure) {
        auto *secure = new QSslSocket(this);
        if (!m_caCertificates.isEmpty()) {
            QSslConfiguration configuration = secure->sslConfiguration();
            configuration.setCaCertificates(m_caCertificates);
            secure->setSslConfiguration(configuration);
        }
        connect(secure, &QSslSocket::encrypted, this, &PageSizeProbe::onEncrypted);
        connect(secure, &QSslSocket::sslErrors, this, &PageSizeProbe::onSslErrors);
        socket = secure;
    } else {
        socket = new QTcpSocket(this);
    }
    // The request goes straight to the page's server; the descriptor copy below relies on a direct connection.
    socket->setProxy(QNetworkProxy::NoProxy);
    connect(socket, &QTcpSocket::connected, this, &PageSizeProbe::onConnected);
    connect(socket, &QTcpSocket::bytesWritten, this, &PageSizeProbe::onBytesWritten);
    connect(socket, &QTcpSocket::readyRead, this, &PageSizeProbe::onReadyRead);
    connect(socket, &QTcpSocket::errorOccurred, this, &PageSizeProbe::onErrorOccurred);
    m_socket = socket;

    emit panelText(2, QStringLiteral("Connecting to the web server"));
    if (m_socket != socket) {
        return;
    }

    m_connected = false;
    m_stageStartMs = m_clock.elapsed();
    armWatchdog();
    // Errors raised while the connection attempt is being set up count as a failed start.
    m_starting = true;
    const quint16 port = m_parts.connectPort(m_httpPort);
    if (m_parts.secure) {
        static_cast<QSslSocket *>(socket)->connectToHostEncrypted(m_parts.host, port);
    } else {
        socket->connectToHost(m_parts.host, port);
    }
    if (m_socket == socket) {
        m_starting = false;
    }
}

qint32 PageSizeProbe::byteCount() const
{
    const qint64 count = m_reader.bodyCount();
    return qint32(qMin<qint64>(count, std::numeric_limits<qint32>::max()));
}

QByteArray PageSizeProbe::requestText(const QString &hostHeader, const QString &target)
{
    return QByteArrayLiteral("GET ") + PostAddress::requestTarget(target) + QByteArrayLiteral(" HTTP/1.1\r\nHost: ")
        + PostAddress::requestTarget(hostHeader) + QByteArrayLiteral("\r\nConnection: close\r\nAccept: */*\r\n\r\n");
}

QString PageSizeProbe::progressText(qint32 byteCount, qint32 contentLength)
{
    if (contentLength > 0) {
        // Not capped: a body longer than announced shows more than 100.
        const double percent = std::nearbyint(double(byteCount) / (double(contentLength) / 100.0));
        return QStringLiteral("Downloaded ") + QString::number(byteCount) + QStringLiteral(" from ")
            + QString::number(contentLength) + QStringLiteral(" (") + QString::number(qint64(percent))
            + QStringLiteral("%)");
    }
    return QStringLiteral("Downloaded ") + QString::number(byteCount) + QStringLiteral(" bytes");
}

void PageSizeProbe::onConnected()
{
#ifdef Q_OS_LINUX
    m_descriptorCopy = ::fcntl(int(m_socket->socketDescriptor()), F_DUPFD_CLOEXEC, 0);
#endif
    m_connected = true;
    m_lastArrivalMs = m_clock.elapsed();
    armWatchdog();
    if (!m_parts.secure) {
        m_socket->write(requestText(m_parts.hostHeader(), m_parts.target));
    }
}

void PageSizeProbe::onEncrypted()
{
    m_lastArrivalMs = m_clock.elapsed();
    m_socket->write(requestText(m_parts.hostHeader(), m_parts.target));
}

void PageSizeProbe::onBytesWritten()
{
    QTcpSocket *socket = m_socket;
    emit panelText(2, QStringLiteral("Sending request"));
    if (m_socket == socket && socket->bytesToWrite() == 0) {
        emit panelText(2, QStringLiteral("Request completed"));
    }
}

void PageSizeProbe::onReadyRead()
{
    QTcpSocket *socket = m_socket;
    m_lastArrivalMs = m_clock.elapsed();
    emit panelText(2, QStringLiteral("Receiving response"));
    if (m_socket != socket) {
        return;
    }

    const bool headerWasSeen = m_reader.headerSeen();
    std::array<char, 64 * 1024> buffer;
    qint64 got = 0;
    while ((got = socket->read(buffer.data(), qint64(buffer.size()))) > 0) {
        m_reader.feed(QByteArrayView(buffer.data(), got));
        if (m_reader.isNotHttp()) {
            fail(PageFailure::NotHttp, QAbstractSocket::UnknownSocketError, QString());
            return;
        }
        if (m_reader.headerSeen() && RedirectPolicy::isRedirect(m_reader.status()) && !m_reader.location().isEmpty()) {
            followRedirect();
            return;
        }
    }
    // Progress starts with the arrival after the one that completed the header.
    if (headerWasSeen) {
        emit panelText(3, progressText(byteCount(), m_reader.contentLength()));
    }
    if (m_socket == socket && m_reader.isWhole()) {
        // Whole: a server that keeps the connection open is not waited for long.
        armWatchdog();
    }
}

void PageSizeProbe::followRedirect()
{
    const RedirectPolicy::Step step = m_redirects.next(m_address, m_reader.location());
    if (step.failure != PageFailure::None) {
        fail(step.failure, QAbstractSocket::UnknownSocketError, step.detail);
        return;
    }
    closeConnection();
    if (!m_holdAtRedirect) {
        begin(step.address);
        return;
    }
    m_heldAddress = step.address;
    m_heldSinceMs = m_clock.elapsed();
    emit serverNext(serverOf(step.address, m_httpPort));
}

void PageSizeProbe::onSslErrors(const QList<QSslError> &errors)
{
    QStringList texts;
    for (const QSslError &error : errors) {
        if (!texts.contains(error.errorString())) {
            texts.append(error.errorString());
        }
    }
    m_sslProblem = texts.join(QStringLiteral("; "));
}

void PageSizeProbe::onErrorOccurred(QAbstractSocket::SocketError error)
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
        if (closed || m_reader.isWhole()) {
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

void PageSizeProbe::onClosed()
{
    // The socket layer reports a reset like an orderly close; a reset page must not pass for a complete
    // one, but a page already whole stands whatever follows it.
    if (m_reader.isWhole()) {
        finishMeasured();
    } else if (connectionWasReset()) {
        fail(PageFailure::Broken, QAbstractSocket::NetworkError,
            QString::fromStdString(std::generic_category().message(ECONNRESET)));
    } else if (m_parts.secure && !static_cast<QSslSocket *>(m_socket)->isEncrypted()) {
        fail(PageFailure::Certificate, QAbstractSocket::SslHandshakeFailedError,
            tr("The server closed the connection before it was secured"));
    } else if (m_reader.received() == 0) {
        fail(PageFailure::NoReply, QAbstractSocket::RemoteHostClosedError, QString());
    } else if (m_reader.isWholeAtClose()) {
        finishMeasured();
    } else {
        fail(PageFailure::CutShort, QAbstractSocket::RemoteHostClosedError, m_reader.shortfall());
    }
}

qint64 PageSizeProbe::pageElapsed() const
{
    return m_clock.elapsed() - m_heldMs;
}

void PageSizeProbe::armWatchdog()
{
    const qint64 now = m_clock.elapsed();
    qint64 stageEnd = m_stageStartMs + m_timeouts.connectMs;
    if (m_connected) {
        stageEnd
            = m_lastArrivalMs + (m_reader.isWhole() ? qMin(m_timeouts.readMs, wholePageWaitMs) : m_timeouts.readMs);
    }
    const qint64 due = qMin<qint64>(stageEnd, now + m_timeouts.pageMs - pageElapsed());
    m_watchdog.start(int(qMax<qint64>(0, due - now)));
}

void PageSizeProbe::onWatchdog()
{
    const qint64 now = m_clock.elapsed();
    if (m_connected && m_reader.isWhole()) {
        finishMeasured();
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

PageMeasurement PageSizeProbe::current() const
{
    PageMeasurement measurement;
    measurement.size = byteCount();
    measurement.status = m_reader.status();
    measurement.redirects = m_redirects.count();
    measurement.address = m_address;
    measurement.body = m_reader.body();
    measurement.bodyTruncated = m_reader.bodyTruncated();
    measurement.contentType = m_reader.contentType();
    return measurement;
}

void PageSizeProbe::finishMeasured()
{
    closeConnection();
    m_measurement = current();
    emit finished(m_measurement);
}

void PageSizeProbe::fail(PageFailure failure, QAbstractSocket::SocketError error, const QString &detail)
{
    PageMeasurement measurement = current();
    measurement.failure = failure;
    measurement.detail = detail;
    measurement.errorNumber = int(error);
    measurement.failedWhileStarting = m_starting;
    closeConnection();
    m_measurement = measurement;

    // Reported from the event loop: a failure found inside start() must not reach the caller before
    // start() has returned.
    m_failurePending = true;
    const quint64 generation = m_generation;
    QTimer::singleShot(0, this, [this, generation, measurement] {
        if (generation == m_generation) {
            m_failurePending = false;
            emit finished(measurement);
        }
    });
}

bool PageSizeProbe::connectionWasReset() const
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

void PageSizeProbe::closeConnection()
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
