#pragma once

#include <QAbstractSocket>
#include <QByteArray>
#include <QList>
#include <QObject>
#include <QSslCertificate>
#include <QString>

#include "probe/pagemeasurement.h"
#include "probe/pagetransport.h"
#include "probe/postaddress.h"
#include "probe/probetimeouts.h"
#include "probe/redirectpolicy.h"
#include "probe/responsereader.h"

class RequestIdentity;

// Measures a page: sends a GET with "Connection: close" through a PageTransport, feeds what arrives to a
// ResponseReader, which tells when the page is whole, and follows redirects as the RedirectPolicy allows.
// Body bytes are counted; only as many as the kept limit are stored.
class PageSizeProbe : public QObject
{
    Q_OBJECT

public:
    // httpPort: the port of http addresses that name none (80; tests point it at their own server).
    explicit PageSizeProbe(QObject *parent = nullptr, quint16 httpPort = 80);
    ~PageSizeProbe() override;

    void setTimeouts(const ProbeTimeouts &timeouts) { m_transport.setTimeouts(timeouts); }
    ProbeTimeouts timeouts() const { return m_transport.timeouts(); }
    // Certificate authorities trusted besides the system's (tests bring their own).
    void setExtraCaCertificates(const QList<QSslCertificate> &certificates);
    // Body bytes kept in the measurement (0, the default: none).
    void setKeptBodyLimit(qint64 bytes) { m_reader.setKeptBodyLimit(bytes); }
    // With hold on, a redirect closes the connection and waits for proceed() after serverNext(): the caller
    // may count connections per server.
    void setHoldAtRedirect(bool hold) { m_holdAtRedirect = hold; }
    // Who the requests say they are (the browser's User-Agent and cookies); none: the bare request.
    // Precondition: the identity outlives the probe.
    void setIdentity(const RequestIdentity *identity) { m_identity = identity; }
    void proceed();

    // Abandons any exchange in flight (it produces no result) and starts measuring the address.
    void start(const QString &address);
    // Abandons any exchange in flight without a result.
    void abort();

    // The page being measured (after redirects, the latest one).
    QString host() const { return m_parts.host; }
    QString path() const { return m_parts.target; }
    bool headerSeen() const { return m_reader.headerSeen(); }
    qint32 contentLength() const { return m_reader.contentLength(); }
    int statusCode() const { return m_reader.status(); }
    // Bytes after the final header's blank line (all bytes while no header was recognised), saturated at the
    // largest 32-bit value.
    qint32 byteCount() const;
    bool isBusy() const { return m_transport.isOpen() || m_failurePending || !m_heldAddress.isEmpty(); }
    // The last finished measurement.
    const PageMeasurement &measurement() const { return m_measurement; }

    // The server an address connects to: its host in small letters and its port.
    static QString serverOf(const QString &address, quint16 httpPort);
    // The request: GET with Host, Connection: close and Accept, then any further header lines.
    static QByteArray requestText(
        const QString &hostHeader, const QString &target, const QByteArray &moreHeaderLines = QByteArray());
    // Panel 3 text once the header has been seen.
    static QString progressText(qint32 byteCount, qint32 contentLength);

signals:
    // Connection states for status panel 2, download progress for panel 3.
    void panelText(int panel, const QString &text);
    // Every start ends in exactly one of these, unless it is abandoned by a new start or abort(); the
    // measurement tells whether the page was measured and why not.
    void finished(const PageMeasurement &measurement);
    // With hold on: a redirect leads to this server (serverOf()); nothing happens until proceed().
    void serverNext(const QString &server);

private:
    void begin(const QString &address);
    void onArrived();
    void onEnded();
    void followRedirect();
    PageMeasurement current() const;
    void finishMeasured();
    void fail(PageFailure failure, QAbstractSocket::SocketError error, const QString &detail);
    void closeConnection();

    PageTransport m_transport;
    bool m_failurePending = false;
    bool m_holdAtRedirect = false;
    const RequestIdentity *m_identity = nullptr;
    QString m_heldAddress;
    // Counts starts, so that a deferred report of an abandoned exchange is dropped.
    quint64 m_generation = 0;
    quint16 m_httpPort;

    PostAddress::Parts m_parts;
    QString m_address;
    RedirectPolicy m_redirects;
    ResponseReader m_reader;
    PageMeasurement m_measurement;
};
