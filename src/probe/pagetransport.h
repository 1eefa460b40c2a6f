#pragma once

#include <QAbstractSocket>
#include <QByteArray>
#include <QElapsedTimer>
#include <QList>
#include <QObject>
#include <QSslCertificate>
#include <QString>
#include <QTimer>

#include "probe/pagefailure.h"
#include "probe/probetimeouts.h"

class QSslError;
class QTcpSocket;

// The connection of a page measurement: connects (over TLS when asked), sends the request once the connection
// stands, and tells what arrives, how the stream ended and why it failed. Watches the connect, read and page
// time limits; the page limit runs across the connections of one page (redirects) unless the clock is held.
// Knows nothing of HTTP: the caller says when the response is whole.
class PageTransport : public QObject
{
    Q_OBJECT

public:
    explicit PageTransport(QObject *parent = nullptr);
    ~PageTransport() override;

    void setTimeouts(const ProbeTimeouts &timeouts) { m_timeouts = timeouts; }
    ProbeTimeouts timeouts() const { return m_timeouts; }
    // Certificate authorities trusted besides the system's.
    void setExtraCaCertificates(const QList<QSslCertificate> &certificates);

    // Starts the page clock, which the page limit counts on.
    void startPage();
    // Time between holdClock() and resumeClock() does not count toward the page limit.
    void holdClock();
    void resumeClock();

    // Closes any connection and opens a new one; request is written once it stands (secured, when secure).
    void open(const QString &host, quint16 port, bool secure, const QByteArray &request);
    // Reads what has arrived; 0 when nothing is waiting.
    qint64 read(char *data, qint64 maxSize);
    // The response is whole: from the last arrival, an open connection is waited on only briefly.
    void responseWhole();
    // Drops the connection without a report.
    void close();

    bool isOpen() const { return m_socket != nullptr; }
    // The connection attempt is still being set up (inside open()).
    bool isStarting() const { return m_starting; }

signals:
    // The connection's state in the user's words.
    void stateText(const QString &text);
    // Bytes wait to be read.
    void arrived();
    // The stream ended in order, or a whole response's connection was left open past the brief wait. Either
    // report closes the connection once its receivers return.
    void ended();
    void failed(PageFailure failure, QAbstractSocket::SocketError error, const QString &detail);

private:
    void onConnected();
    void onEncrypted();
    void onBytesWritten();
    void onReadyRead();
    void onSslErrors(const QList<QSslError> &errors);
    void onErrorOccurred(QAbstractSocket::SocketError error);
    void onClosed();
    void end();
    void fail(PageFailure failure, QAbstractSocket::SocketError error, const QString &detail);
    void armWatchdog();
    void onWatchdog();
    qint64 pageElapsed() const;
    bool connectionWasReset() const;

    QTcpSocket *m_socket = nullptr;
    // A second descriptor of the connection, kept so its TCP state can still be read after the socket layer
    // has closed its own on end of stream.
    int m_descriptorCopy = -1;
    bool m_secure = false;
    QByteArray m_request;
    bool m_starting = false;
    bool m_whole = false;
    ProbeTimeouts m_timeouts;
    // Empty: the system's own authorities.
    QList<QSslCertificate> m_caCertificates;
    QString m_sslProblem;
    // One timer for all three limits, re-armed only when a stage changes: arrivals just note the time.
    QTimer m_watchdog;
    QElapsedTimer m_clock; // since startPage()
    qint64 m_heldMs = 0; // time the clock was held, which the page limit does not count
    qint64 m_heldSinceMs = 0;
    bool m_connected = false;
    qint64 m_stageStartMs = 0; // when the current connection attempt began
    qint64 m_lastArrivalMs = 0;
};
