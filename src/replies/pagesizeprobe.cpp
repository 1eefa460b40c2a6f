#include "replies/pagesizeprobe.h"

#include <QTcpSocket>

PageSizeProbe::PageSizeProbe(QObject *parent, quint16 port)
    : QObject(parent)
    , m_socket(new QTcpSocket(this))
    , m_port(port)
{
}

void PageSizeProbe::start(const QString &address)
{
    // Placeholder until the probe lands.
    splitAddress(address, &m_host, &m_path);
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
    return QByteArrayLiteral("GET ") + path.toUtf8() + QByteArrayLiteral(" HTTP/1.1\r\nHost: ") + host.toUtf8()
        + QByteArrayLiteral("\r\nConnection: close\r\nAccept: */*\r\n\r\n");
}
