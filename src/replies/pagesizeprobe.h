#pragma once

#include <QAbstractSocket>
#include <QByteArray>
#include <QByteArrayView>
#include <QObject>
#include <QString>

class QTcpSocket;

// A minimal HTTP/1.1 client that measures one page: it sends a GET with "Connection: close" and counts the
// bytes after the response header until the server closes the connection. Only the header is kept; body
// bytes are counted, never stored.
class PageSizeProbe : public QObject
{
    Q_OBJECT

public:
    // Longest header (characters before the blank line) that is still recognised; a longer one makes the
    // whole response count as body.
    static constexpr qsizetype MaxHeaderLength = 32766;

    explicit PageSizeProbe(QObject *parent = nullptr, quint16 port = 80);
    ~PageSizeProbe() override;

    // Abandons any exchange in flight (it produces no result) and starts measuring the address.
    void start(const QString &address);
    // Abandons any exchange in flight without a result.
    void abort();

    QString host() const { return m_host; }
    QString path() const { return m_path; }
    bool headerSeen() const { return m_headerLength >= 0; }
    qint32 contentLength() const { return m_contentLength; }
    // Bytes after the header's blank line (all bytes while no header was recognised), saturated at the
    // largest 32-bit value.
    qint32 byteCount() const;
    bool isBusy() const { return m_socket != nullptr; }

    // Splits an address into host and request path: a leading "http://" (exact case) is dropped, the host
    // runs to the first "/", the path is the rest and never empty.
    static void splitAddress(const QString &address, QString *host, QString *path);
    static QByteArray requestText(const QString &host, const QString &path);
    // Panel 3 text once the header has been seen.
    static QString progressText(qint32 byteCount, qint32 contentLength);
    // Content-Length of a header (the text before its blank line): the first field of that name in any letter
    // case; 0 when absent or not a number.
    static qint32 contentLengthOf(QByteArrayView header);

signals:
    // Connection states for status panel 2, download progress for panel 3.
    void panelText(int panel, const QString &text);
    // The server closed the connection; byteCount() is the page size.
    void completed();
    // Starting failed ("An error has occurred.") or the socket reported an error ("Error occurred."); the
    // number is a QAbstractSocket::SocketError, the description the socket layer's text. No result follows.
    void startFailed(int errorNumber, const QString &description);
    void socketFailed(int errorNumber, const QString &description);

private:
    void onConnected();
    void onBytesWritten();
    void onReadyRead();
    void onErrorOccurred(QAbstractSocket::SocketError error);
    void takeBytes(QByteArrayView data);
    bool connectionWasReset() const;
    void closeConnection();

    QTcpSocket *m_socket = nullptr;
    // A second descriptor of the connection, kept so its TCP state can still be read after the socket layer
    // has closed its own on end of stream.
    int m_descriptorCopy = -1;
    bool m_starting = false;
    quint16 m_port;
    QString m_host;
    QString m_path;
    QByteArray m_header;
    bool m_headerGivenUp = false;
    qint64 m_headerLength = -1;
    qint64 m_received = 0;
    qint32 m_contentLength = 0;
};
