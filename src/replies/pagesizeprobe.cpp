#include "replies/pagesizeprobe.h"

#include <QNetworkProxy>
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

// Control characters would end the request line early and let an address smuggle in headers of its own.
QByteArray withControlsEscaped(const QByteArray &text)
{
    QByteArray out;
    out.reserve(text.size());
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7f) {
            out += '%';
            out += QByteArray::number(byte, 16).rightJustified(2, '0').toUpper();
        } else {
            out += c;
        }
    }
    return out;
}

} // namespace

PageSizeProbe::PageSizeProbe(QObject *parent, quint16 port)
    : QObject(parent)
    , m_port(port)
{ }

PageSizeProbe::~PageSizeProbe()
{
    closeConnection();
}

void PageSizeProbe::start(const QString &address)
{
    closeConnection();

    splitAddress(address, &m_host, &m_path);
    m_header.clear();
    m_headerGivenUp = false;
    m_headerLength = -1;
    m_received = 0;
    m_contentLength = 0;

    emit panelText(3, QString());

    // A fresh socket per exchange: nothing from an abandoned connection can reach this one.
    auto *socket = new QTcpSocket(this);
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

    // Errors raised while the connection attempt is being set up count as a failed start.
    m_starting = true;
    socket->connectToHost(m_host, m_port);
    m_starting = false;
}

void PageSizeProbe::abort()
{
    closeConnection();
}

qint32 PageSizeProbe::byteCount() const
{
    const qint64 count = m_received - qMax<qint64>(m_headerLength, 0);
    return qint32(qMin<qint64>(count, std::numeric_limits<qint32>::max()));
}

void PageSizeProbe::splitAddress(const QString &address, QString *host, QString *path)
{
    QString rest = address.startsWith(QLatin1String("http://")) ? address.mid(7) : address;
    qsizetype slash = rest.indexOf(QLatin1Char('/'));
    if (slash < 0) {
        rest += QLatin1Char('/');
        slash = rest.size() - 1;
    }
    *host = rest.left(slash);
    *path = rest.mid(slash);
}

QByteArray PageSizeProbe::requestText(const QString &host, const QString &path)
{
    QByteArray hostBytes = host.toUtf8();
    bool ascii = true;
    for (const QChar c : host) {
        ascii = ascii && c.unicode() < 0x80;
    }
    if (!ascii) {
        // An international name goes out in the form the connection resolved.
        const QByteArray ace = QUrl::toAce(host);
        if (!ace.isEmpty()) {
            hostBytes = ace;
        }
    }
    return QByteArrayLiteral("GET ") + withControlsEscaped(path.toUtf8()) + QByteArrayLiteral(" HTTP/1.1\r\nHost: ")
        + withControlsEscaped(hostBytes) + QByteArrayLiteral("\r\nConnection: close\r\nAccept: */*\r\n\r\n");
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
    const QList<QByteArray> lines = header.toByteArray().split('\n');
    for (QByteArray line : lines) {
        if (line.endsWith('\r')) {
            line.chop(1);
        }
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

void PageSizeProbe::onConnected()
{
#ifdef Q_OS_LINUX
    m_descriptorCopy = ::fcntl(int(m_socket->socketDescriptor()), F_DUPFD_CLOEXEC, 0);
#endif
    m_socket->write(requestText(m_host, m_path));
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
    emit panelText(2, QStringLiteral("Receiving response"));
    if (m_socket != socket) {
        return;
    }

    const bool headerWasSeen = headerSeen();
    std::array<char, 64 * 1024> buffer;
    qint64 got = 0;
    while ((got = socket->read(buffer.data(), qint64(buffer.size()))) > 0) {
        takeBytes(QByteArrayView(buffer.data(), got));
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
        m_headerLength = end + 4;
        m_contentLength = contentLengthOf(QByteArrayView(m_header).first(end));
        m_header = QByteArray();
    } else if (m_header.size() >= keepLimit) {
        // Too long to be a header: the whole response counts as body.
        m_headerGivenUp = true;
        m_header = QByteArray();
    }
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
        const bool reset = connectionWasReset();
        closeConnection();
        if (reset) {
            emit socketFailed(int(QAbstractSocket::NetworkError),
                QString::fromStdString(std::generic_category().message(ECONNRESET)));
        } else {
            emit completed();
        }
        return;
    }

    const QString description = socket->errorString();
    const bool starting = m_starting;
    closeConnection();
    if (starting) {
        emit startFailed(int(error), description);
    } else {
        emit socketFailed(int(error), description);
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
    if (m_socket != nullptr) {
        // Deferred: this may run inside one of the socket's own signals.
        m_socket->disconnect(this);
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
