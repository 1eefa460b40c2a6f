#include "probe/pagesizeprobe.h"
#include "probe/requestidentity.h"

#include <QTimer>
#include <QUrl>

#include <array>
#include <cmath>
#include <limits>

namespace {

// Most headers are shorter: a longer one is read in several steps.
constexpr qint64 s_headerReadSize = 4096;

} // namespace

PageSizeProbe::PageSizeProbe(QObject *parent, quint16 httpPort)
    : QObject(parent)
    , m_transport(this)
    , m_httpPort(httpPort)
{
    connect(&m_transport, &PageTransport::stateText, this, [this](const QString &text) { emit panelText(2, text); });
    connect(&m_transport, &PageTransport::arrived, this, &PageSizeProbe::onArrived);
    connect(&m_transport, &PageTransport::ended, this, &PageSizeProbe::onEnded);
    connect(&m_transport, &PageTransport::failed, this, &PageSizeProbe::fail);
}

PageSizeProbe::~PageSizeProbe()
{
    closeConnection();
}

void PageSizeProbe::setExtraCaCertificates(const QList<QSslCertificate> &certificates)
{
    m_transport.setExtraCaCertificates(certificates);
}

void PageSizeProbe::start(const QString &address)
{
    abort();
    m_redirects.reset();
    m_transport.startPage();
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
    m_transport.resumeClock();
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

    // Each page of a redirect gets the cookies of its own address only.
    const QByteArray identityLines = m_identity ? m_identity->headerLinesFor(QUrl(m_parts.toAddress())) : QByteArray();
    m_transport.open(m_parts.host, m_parts.connectPort(m_httpPort), m_parts.secure,
        requestText(m_parts.hostHeader(), m_parts.target, identityLines));
}

qint32 PageSizeProbe::byteCount() const
{
    const qint64 count = m_reader.bodyCount();
    return qint32(qMin<qint64>(count, std::numeric_limits<qint32>::max()));
}

QByteArray PageSizeProbe::requestText(const QString &hostHeader, const QString &target, const QByteArray &moreHeaderLines)
{
    // No Accept-Encoding: the size measured is the page's own bytes.
    return QByteArrayLiteral("GET ") + PostAddress::requestTarget(target) + QByteArrayLiteral(" HTTP/1.1\r\nHost: ")
        + PostAddress::requestTarget(hostHeader) + QByteArrayLiteral("\r\nConnection: close\r\nAccept: */*\r\n")
        + moreHeaderLines + QByteArrayLiteral("\r\n");
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

void PageSizeProbe::onArrived()
{
    const bool headerWasSeen = m_reader.headerSeen();
    std::array<char, 64 * 1024> buffer;
    const auto read = [this](char *data, qint64 most) { return m_transport.read(data, most); };
    for (;;) {
        // A page whose text is kept goes straight to where it is kept.
        if (m_reader.directRoom() > 0) {
            if (m_reader.readDirect(read) <= 0) {
                break;
            }
            continue;
        }
        // Until the header is read, a little at a time: what follows it may go straight to the kept body.
        const qint64 got = read(buffer.data(), m_reader.headerSeen() ? qint64(buffer.size()) : s_headerReadSize);
        if (got <= 0) {
            break;
        }
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
    if (m_reader.isWhole()) {
        // Whole: a server that keeps the connection open is not waited for long.
        m_transport.responseWhole();
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
    m_transport.holdClock();
    emit serverNext(serverOf(step.address, m_httpPort));
}

void PageSizeProbe::onEnded()
{
    // The transport has told a reset and an unsecured close apart already.
    if (m_reader.isWhole()) {
        finishMeasured();
    } else if (m_reader.received() == 0) {
        fail(PageFailure::NoReply, QAbstractSocket::RemoteHostClosedError, QString());
    } else if (m_reader.isWholeAtClose()) {
        finishMeasured();
    } else {
        fail(PageFailure::CutShort, QAbstractSocket::RemoteHostClosedError, m_reader.shortfall());
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
    measurement.challenge = m_reader.isChallenge();
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
    measurement.failedWhileStarting = m_transport.isStarting();
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

void PageSizeProbe::closeConnection()
{
    m_transport.close();
}
