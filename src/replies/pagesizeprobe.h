#pragma once

#include <QAbstractSocket>
#include <QByteArray>
#include <QByteArrayView>
#include <QElapsedTimer>
#include <QList>
#include <QObject>
#include <QSet>
#include <QSslCertificate>
#include <QString>
#include <QTimer>

#include "replies/pagemeasurement.h"
#include "replies/postaddress.h"
#include "replies/probetimeouts.h"

class QSslError;
class QTcpSocket;

// A minimal HTTP/1.1 client that measures one page: it sends a GET with "Connection: close" (over TLS for
// https) and counts the bytes after the response header until the server closes the connection. Redirects
// are followed; only the header is kept, body bytes are counted, never stored.
class PageSizeProbe : public QObject
{
    Q_OBJECT

public:
    // Longest header (characters before the blank line) that is still recognised; a longer one makes the
    // whole response count as body.
    static constexpr qsizetype MaxHeaderLength = 32766;
    static constexpr int MaxRedirects = 5;

    // httpPort: the port of http addresses that name none (80; tests point it at their own server).
    explicit PageSizeProbe(QObject *parent = nullptr, quint16 httpPort = 80);
    ~PageSizeProbe() override;

    void setTimeouts(const ProbeTimeouts &timeouts) { m_timeouts = timeouts; }
    ProbeTimeouts timeouts() const { return m_timeouts; }
    // Certificate authorities trusted besides the system's (tests bring their own).
    void setExtraCaCertificates(const QList<QSslCertificate> &certificates);

    // Abandons any exchange in flight (it produces no result) and starts measuring the address.
    void start(const QString &address);
    // Abandons any exchange in flight without a result.
    void abort();

    // The page being measured (after redirects, the latest one).
    QString host() const { return m_parts.host; }
    QString path() const { return m_parts.target; }
    bool headerSeen() const { return m_headerLength >= 0; }
    qint32 contentLength() const { return m_contentLength; }
    int statusCode() const { return m_status; }
    // Bytes after the header's blank line (all bytes while no header was recognised), saturated at the
    // largest 32-bit value.
    qint32 byteCount() const;
    bool isBusy() const { return m_socket != nullptr || m_failurePending; }
    // The last finished measurement.
    const PageMeasurement &measurement() const { return m_measurement; }

    static QByteArray requestText(const QString &hostHeader, const QString &target);
    // Panel 3 text once the header has been seen.
    static QString progressText(qint32 byteCount, qint32 contentLength);
    // Content-Length of a header (the text before its blank line): the first field of that name in any letter
    // case; 0 when absent or not a number.
    static qint32 contentLengthOf(QByteArrayView header);
    // Status code of a header's status line; 0 when it has none.
    static int statusOf(QByteArrayView header);
    // The Location header's value (any letter case); empty when absent.
    static QString locationOf(QByteArrayView header);
    static bool isRedirect(int status);

signals:
    // Connection states for status panel 2, download progress for panel 3.
    void panelText(int panel, const QString &text);
    // Every start ends in exactly one of these, unless it is abandoned by a new start or abort(); the
    // measurement tells whether the page was measured and why not.
    void finished(const PageMeasurement &measurement);

    // The older signals, sent after finished(): the final page was measured (byteCount() is its size), or
    // it was not ("An error has occurred." while starting, "Error occurred." later). The number is a
    // QAbstractSocket::SocketError, the description a text for the user.
    void completed();
    void startFailed(int errorNumber, const QString &description);
    void socketFailed(int errorNumber, const QString &description);

private:
    void begin(const QString &address);
    void onConnected();
    void onEncrypted();
    void onBytesWritten();
    void onReadyRead();
    void onSslErrors(const QList<QSslError> &errors);
    void onErrorOccurred(QAbstractSocket::SocketError error);
    void armWatchdog();
    void onWatchdog();
    void takeBytes(QByteArrayView data);
    void followRedirect();
    void finishMeasured();
    void fail(ProbeFailure failure, QAbstractSocket::SocketError error, const QString &detail);
    void report(const PageMeasurement &measurement, int errorNumber, bool duringStart);
    bool connectionWasReset() const;
    void closeConnection();

    QTcpSocket *m_socket = nullptr;
    // A second descriptor of the connection, kept so its TCP state can still be read after the socket layer
    // has closed its own on end of stream.
    int m_descriptorCopy = -1;
    bool m_starting = false;
    bool m_failurePending = false;
    // Counts starts, so that a deferred report of an abandoned exchange is dropped.
    quint64 m_generation = 0;
    quint16 m_httpPort;
    ProbeTimeouts m_timeouts;
    // Empty: the system's own authorities.
    QList<QSslCertificate> m_caCertificates;
    // One timer for all three limits, re-armed only when a stage changes: arrivals just note the time.
    QTimer m_watchdog;
    QElapsedTimer m_clock; // since start()
    bool m_connected = false;
    qint64 m_stageStartMs = 0; // when the current connection attempt began
    qint64 m_lastArrivalMs = 0;

    PostAddress::Parts m_parts;
    QString m_address;
    QSet<QString> m_visited;
    int m_redirects = 0;
    QString m_redirectTo;
    QString m_sslProblem;

    QByteArray m_header;
    bool m_headerGivenUp = false;
    qint64 m_headerLength = -1;
    qint64 m_received = 0;
    qint32 m_contentLength = 0;
    int m_status = 0;
    PageMeasurement m_measurement;
};
