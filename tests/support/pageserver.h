#pragma once

#include <QHash>
#include <QObject>
#include <QTcpServer>
#include <QTcpSocket>

// Serves fixed bodies by path, with status 200 unless `statuses` names another; while `holding` is set,
// requests for "/slow" get no answer.
class PageServer : public QObject
{
public:
    PageServer()
    {
        m_server.listen(QHostAddress::LocalHost, 0);
        connect(&m_server, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket *socket = m_server.nextPendingConnection()) {
                connect(socket, &QTcpSocket::readyRead, socket, [this, socket] { answer(socket); });
                connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
            }
        });
    }

    quint16 port() const { return m_server.serverPort(); }
    QString address(const QString &path) const { return QStringLiteral("http://127.0.0.1") + path; }

    QHash<QByteArray, QByteArray> bodies;
    QHash<QByteArray, QByteArray> statuses; // path to status line's code and words, e.g. "404 Not Found"
    QHash<QByteArray, QByteArray> contentTypes; // path to Content-Type value; none is sent without one
    bool holding = false;

private:
    void answer(QTcpSocket *socket)
    {
        const QByteArray request = socket->readAll();
        const QByteArray path = request.split(' ').value(1);
        if (path == "/slow" && holding) {
            return;
        }
        const QByteArray body = bodies.value(path);
        const QByteArray contentType = contentTypes.value(path);
        socket->write("HTTP/1.1 " + statuses.value(path, "200 OK") + "\r\nContent-Length: " + QByteArray::number(body.size())
                      + (contentType.isEmpty() ? QByteArray() : "\r\nContent-Type: " + contentType)
                      + "\r\nConnection: close\r\n\r\n" + body);
        socket->disconnectFromHost();
    }

    QTcpServer m_server;
};
