#pragma once

#include <QByteArray>
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
    explicit PageSizeProbe(QObject *parent = nullptr, quint16 port = 80);

    // Abandons any exchange in flight (it produces no result) and starts measuring the address.
    void start(const QString &address);

    QString host() const { return m_host; }
    QString path() const { return m_path; }
    bool headerSeen() const { return m_headerSeen; }
    qint32 contentLength() const { return m_contentLength; }
    qint32 byteCount() const { return m_byteCount; }

    QTcpSocket *socket() const { return m_socket; }

    // Splits an address into host and request path: a leading "http://" (exact case) is dropped, the host
    // runs to the first "/", the path is the rest and never empty.
    static void splitAddress(const QString &address, QString *host, QString *path);
    static QByteArray requestText(const QString &host, const QString &path);

signals:
    // Connection states for status panel 2, download progress for panel 3.
    void panelText(int panel, const QString &text);
    // The server closed the connection; byteCount() is the page size.
    void completed();
    // Starting failed ("An error has occurred.") or the socket reported an error ("Error occurred.").
    void startFailed(int errorNumber, const QString &description);
    void socketFailed(int errorNumber, const QString &description);

private:
    QTcpSocket *m_socket;
    quint16 m_port;
    QString m_host;
    QString m_path;
    QByteArray m_header;
    bool m_headerSeen = false;
    qint32 m_contentLength = 0;
    qint32 m_byteCount = 0;
};
