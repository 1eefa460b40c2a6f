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

// "1 second", "15 seconds".
QString seconds(int milliseconds)
{
    const int whole = (milliseconds + 500) / 1000;
    return whole == 1 ? PageSizeProbe::tr("1 second") : PageSizeProbe::tr("%1 seconds").arg(whole);
}

// The lines of a header (the text before its blank line), line ends removed.
QList<QByteArray> headerLines(QByteArrayView header)
{
    QList<QByteArray> lines = header.toByteArray().split('\n');
    for (QByteArray &line : lines) {
        if (line.endsWith('\r')) {
            line.chop(1);
        }
    }
    return lines;
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
    m_visited.clear();
    m_redirects = 0;
    m_clock.start();
    begin(address);
}

void PageSizeProbe::abort()
{
    closeConnection();
    ++m_generation;
    m_failurePending = false;
}

void PageSizeProbe::begin(const QString &address)
{
    m_address = address;
    m_parts = PostAddress::split(address);
    m_redirectTo.clear();
    m_sslProblem.clear();
    m_header.clear();
    m_headerGivenUp = false;
    m_headerLength = -1;
    m_received = 0;
    m_contentLength = 0;
    m_status = 0;

    const quint64 generation = m_generation;
    emit panelText(3, QString());
    if (generation != m_generation) {
        return;
    }
    if (!m_parts.valid) {
        fail(ProbeFailure::BadAddress, QAbstractSocket::HostNotFoundError, tr("Not a web page address"));
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
    const qint64 count = m_received - qMax<qint64>(m_headerLength, 0);
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

qint32 PageSizeProbe::contentLengthOf(QByteArrayView header)
{
    for (const QByteArray &line : headerLines(header)) {
        // Header names ignore letter case, and the blank after the colon is optional.
        const qsizetype colon = line.indexOf(':');
        if (colon < 0 || line.first(colon).trimmed().compare("Content-Length", Qt::CaseInsensitive) != 0) {
            continue;
        }
        bool ok = false;
        const qint32 value = line.mid(colon + 1).trimmed().toInt(&ok);
        return ok ? value : 0;
    }
    return 0;
}

int PageSizeProbe::statusOf(QByteArrayView header)
{
    const QList<QByteArray> words = headerLines(header).value(0).split(' ');
    if (words.size() < 2 || !words.at(0).startsWith("HTTP/") || words.at(1).size() != 3) {
        return 0;
    }
    bool ok = false;
    const int status = words.at(1).toInt(&ok);
    return ok && status >= 100 ? status : 0;
}

QString PageSizeProbe::locationOf(QByteArrayView header)
{
    const QList<QByteArray> lines = headerLines(header);
    for (qsizetype i = 1; i < lines.size(); ++i) {
        const QByteArray &line = lines.at(i);
        const qsizetype colon = line.indexOf(':');
        if (colon > 0 && line.left(colon).trimmed().compare("location", Qt::CaseInsensitive) == 0) {
            return QString::fromUtf8(line.mid(colon + 1).trimmed());
        }
    }
    return QString();
}

bool PageSizeProbe::isRedirect(int status)
{
    return status == 301 || status == 302 || status == 303 || status == 307 || status == 308;
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

    const bool headerWasSeen = headerSeen();
    std::array<char, 64 * 1024> buffer;
    qint64 got = 0;
    while ((got = socket->read(buffer.data(), qint64(buffer.size()))) > 0) {
        takeBytes(QByteArrayView(buffer.data(), got));
        if (!m_redirectTo.isEmpty()) {
            followRedirect();
            return;
        }
    }
    // Progress starts with the arrival after the one that completed the header.
    if (headerWasSeen) {
        emit panelText(3, progressText(byteCount(), m_contentLength));
    }
}

void PageSizeProbe::takeBytes(QByteArrayView data)
{
    m_received += data.size();
    if (headerSeen() || m_headerGivenUp) {
        return;
    }

    // Only the bytes that can still hold the end of a header that is short enough are kept.
    constexpr qsizetype keepLimit = MaxHeaderLength + 4;
    const qsizetype searchFrom = qMax<qsizetype>(0, m_header.size() - 3);
    m_header.append(data.first(qMin(data.size(), keepLimit - m_header.size())));
    const qsizetype end = m_header.indexOf("\r\n\r\n", searchFrom);
    if (end >= 0) {
        const QByteArrayView header = QByteArrayView(m_header).first(end);
        m_headerLength = end + 4;
        m_contentLength = contentLengthOf(header);
        m_status = statusOf(header);
        if (isRedirect(m_status)) {
            m_redirectTo = locationOf(header);
        }
        m_header = QByteArray();
    } else if (m_header.size() >= keepLimit) {
        // Too long to be a header: the whole response counts as body.
        m_headerGivenUp = true;
        m_header = QByteArray();
    }
}

void PageSizeProbe::followRedirect()
{
    const QUrl next = QUrl(m_parts.toAddress()).resolved(QUrl(m_redirectTo));
    const QString scheme = next.scheme().toLower();
    if (!next.isValid() || (scheme != QLatin1String("http") && scheme != QLatin1String("https"))) {
        fail(ProbeFailure::BadAddress, QAbstractSocket::HostNotFoundError,
            tr("Redirected to an address that is not a web page"));
        return;
    }
    const QString address = next.toString(QUrl::FullyEncoded | QUrl::RemoveFragment);
    if (m_redirects >= MaxRedirects) {
        fail(ProbeFailure::TooManyRedirects, QAbstractSocket::UnknownSocketError,
            tr("Redirected more than %1 times").arg(MaxRedirects));
        return;
    }
    // Only pages that redirect are remembered: most pages answer at once.
    m_visited.insert(PostAddress::identity(m_address));
    if (m_visited.contains(PostAddress::identity(address))) {
        fail(ProbeFailure::TooManyRedirects, QAbstractSocket::UnknownSocketError, tr("Redirected in a loop"));
        return;
    }
    ++m_redirects;
    closeConnection();
    begin(address);
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
    if (error == QAbstractSocket::RemoteHostClosedError && !m_starting) {
        if (socket->bytesAvailable() > 0) {
            onReadyRead();
            if (m_socket != socket) {
                return;
            }
        }
        // The socket layer reports a reset like an orderly close; a reset page must not pass for a
        // complete one.
        if (connectionWasReset()) {
            fail(ProbeFailure::Broken, QAbstractSocket::NetworkError,
                QString::fromStdString(std::generic_category().message(ECONNRESET)));
        } else if (m_parts.secure && !static_cast<QSslSocket *>(socket)->isEncrypted()) {
            fail(ProbeFailure::Certificate, QAbstractSocket::SslHandshakeFailedError,
                tr("The server closed the connection before it was secured"));
        } else {
            finishMeasured();
        }
        return;
    }

    ProbeFailure failure = ProbeFailure::Broken;
    QString detail = socket->errorString();
    switch (error) {
    case QAbstractSocket::ConnectionRefusedError:
        failure = ProbeFailure::Refused;
        break;
    case QAbstractSocket::HostNotFoundError:
        failure = ProbeFailure::UnknownHost;
        break;
    case QAbstractSocket::SocketTimeoutError:
        failure = ProbeFailure::NoAnswer;
        break;
    case QAbstractSocket::SslHandshakeFailedError:
    case QAbstractSocket::SslInvalidUserDataError:
        failure = ProbeFailure::Certificate;
        if (!m_sslProblem.isEmpty()) {
            detail = m_sslProblem;
        }
        break;
    default:
        break;
    }
    fail(failure, error, detail);
}

void PageSizeProbe::armWatchdog()
{
    const qint64 stageEnd = m_connected ? m_lastArrivalMs + m_timeouts.readMs : m_stageStartMs + m_timeouts.connectMs;
    const qint64 due = qMin<qint64>(stageEnd, m_timeouts.pageMs);
    m_watchdog.start(int(qMax<qint64>(0, due - m_clock.elapsed())));
}

void PageSizeProbe::onWatchdog()
{
    const qint64 now = m_clock.elapsed();
    if (now >= m_timeouts.pageMs) {
        fail(ProbeFailure::NoAnswer, QAbstractSocket::SocketTimeoutError,
            tr("The page did not end within %1").arg(seconds(m_timeouts.pageMs)));
    } else if (!m_connected && now - m_stageStartMs >= m_timeouts.connectMs) {
        fail(ProbeFailure::NoAnswer, QAbstractSocket::SocketTimeoutError,
            tr("No connection within %1").arg(seconds(m_timeouts.connectMs)));
    } else if (m_connected && now - m_lastArrivalMs >= m_timeouts.readMs) {
        fail(ProbeFailure::NoAnswer, QAbstractSocket::SocketTimeoutError,
            tr("Nothing arrived for %1").arg(seconds(m_timeouts.readMs)));
    } else {
        armWatchdog();
    }
}

void PageSizeProbe::finishMeasured()
{
    closeConnection();
    PageMeasurement measurement;
    measurement.size = byteCount();
    measurement.status = m_status;
    measurement.redirects = m_redirects;
    measurement.address = m_address;
    m_measurement = measurement;

    const quint64 generation = m_generation;
    emit finished(measurement);
    if (generation == m_generation) {
        emit completed();
    }
}

void PageSizeProbe::fail(ProbeFailure failure, QAbstractSocket::SocketError error, const QString &detail)
{
    const bool duringStart = m_starting;
    closeConnection();
    PageMeasurement measurement;
    measurement.failure = failure;
    measurement.size = byteCount();
    measurement.status = m_status;
    measurement.redirects = m_redirects;
    measurement.address = m_address;
    measurement.detail = detail;
    m_measurement = measurement;

    // Reported from the event loop: a failure found inside start() must not reach the caller before
    // start() has returned.
    m_failurePending = true;
    const quint64 generation = m_generation;
    QTimer::singleShot(0, this, [this, generation, measurement, error, duringStart] {
        if (generation == m_generation) {
            m_failurePending = false;
            report(measurement, int(error), duringStart);
        }
    });
}

void PageSizeProbe::report(const PageMeasurement &measurement, int errorNumber, bool duringStart)
{
    const quint64 generation = m_generation;
    emit finished(measurement);
    if (generation != m_generation) {
        return;
    }
    if (duringStart) {
        emit startFailed(errorNumber, measurement.detail);
    } else {
        emit socketFailed(errorNumber, measurement.detail);
    }
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

QString PageMeasurement::problemText() const
{
    const auto withDetail
        = [this](const QString &text) { return detail.isEmpty() ? text : text + QStringLiteral(": ") + detail; };
    switch (failure) {
    case ProbeFailure::None:
        return isServerError()
            ? QCoreApplication::translate("PageMeasurement", "The server answered with error status %1").arg(status)
            : QString();
    case ProbeFailure::BadAddress:
        return detail.isEmpty() ? QCoreApplication::translate("PageMeasurement", "Not a web page address") : detail;
    case ProbeFailure::UnknownHost:
        return QCoreApplication::translate("PageMeasurement", "Unknown host");
    case ProbeFailure::Refused:
        return QCoreApplication::translate("PageMeasurement", "The server refused the connection");
    case ProbeFailure::NoAnswer:
        return withDetail(QCoreApplication::translate("PageMeasurement", "No answer"));
    case ProbeFailure::Certificate:
        return withDetail(QCoreApplication::translate("PageMeasurement", "Certificate problem"));
    case ProbeFailure::Broken:
        return withDetail(QCoreApplication::translate("PageMeasurement", "The connection broke off"));
    case ProbeFailure::TooManyRedirects:
        return withDetail(QCoreApplication::translate("PageMeasurement", "Too many redirects"));
    }
    return QString();
}
