#pragma once

// A running program over a temporary data folder, with the servers and catchers the list tests use.
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QLineEdit>
#include <QListView>
#include <QMessageBox>
#include <QPushButton>
#include <QSignalSpy>
#include <QTabBar>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QWebEngineProfile>
#include <QWebEngineUrlRequestInterceptor>
#include <memory>

#include "app/programcontext.h"
#include "support/openedsites.h"
#include "app/mainwindow.h"
#include "base/settingsstore.h"
#include "forums/listfiles.h"
#include "links/linkformats.h"
#include "probe/pagesizeprobe.h"
#include "forums/forumpanel.h"
#include "forums/forums.h"
#include "forums/ownposts.h"
#include "replies/postspanel.h"
#include "support/controls.h"

// Keeps the browser pane off the network: every load fails at once, and the pane still reports the address
// it was sent to.
class BlockEverything : public QWebEngineUrlRequestInterceptor
{
public:
    using QWebEngineUrlRequestInterceptor::QWebEngineUrlRequestInterceptor;
    void interceptRequest(QWebEngineUrlRequestInfo &info) override { info.block(true); }
};

// A web server on loopback whose answers are scripted per connection, in order of arrival: a response to
// send before closing, or nothing at all (the connection is held open until the test ends).
class ScriptedServer : public QObject
{
public:
    ScriptedServer()
    {
        connect(&m_server, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket *socket = m_server.nextPendingConnection()) {
                const std::optional<QByteArray> answer = m_answers.isEmpty() ? std::nullopt : m_answers.takeFirst();
                connect(socket, &QTcpSocket::readyRead, socket, [this, socket, answer] {
                    m_requests.append(socket->readAll());
                    if (answer) {
                        socket->write(*answer);
                        socket->disconnectFromHost();
                    } else {
                        m_held.append(socket);
                    }
                });
            }
        });
        m_server.listen(QHostAddress::LocalHost);
    }

    quint16 port() const { return m_server.serverPort(); }
    static QByteArray response(int bodySize)
    {
        return QByteArray("HTTP/1.1 200 OK\r\nContent-Length: ") + QByteArray::number(bodySize)
            + "\r\nConnection: close\r\n\r\n" + QByteArray(bodySize, 'x');
    }
    void answer(int bodySize) { m_answers.append(response(bodySize)); }
    void holdOpen() { m_answers.append(std::nullopt); }
    // Answers the connections held open so far.
    void releaseHeld(int bodySize)
    {
        for (QTcpSocket *socket : std::as_const(m_held)) {
            socket->write(response(bodySize));
            socket->disconnectFromHost();
        }
        m_held.clear();
    }
    int requestCount() const { return int(m_requests.size()); }
    QList<QByteArray> requests() const { return m_requests; }

private:
    QTcpServer m_server;
    QList<std::optional<QByteArray>> m_answers;
    QList<QByteArray> m_requests;
    QList<QTcpSocket *> m_held;
};

// Accepts every message box that opens while it lives and keeps what the boxes said.
class BoxCatcher : public QObject
{
public:
    BoxCatcher()
    {
        m_timer.setInterval(20);
        connect(&m_timer, &QTimer::timeout, this, [this] {
            if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget())) {
                texts.append(box->text());
                informativeTexts.append(box->informativeText());
                titles.append(box->windowTitle());
                icons.append(box->icon());
                box->accept();
            }
        });
        m_timer.start();
    }

    QStringList texts;
    QStringList informativeTexts;
    QStringList titles;
    QList<QMessageBox::Icon> icons;

private:
    QTimer m_timer;
};

inline QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

inline void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

// One running program over a data folder.
struct Program
{
    explicit Program(const QString &folder, quint16 probePort = 80)
        : settings(folder + QStringLiteral("/Postavo.ini"))
        , context{{DataFolder(folder), &settings}, &formats, nullptr, nullptr, nullptr, &website}
    {
        settings.write(QStringLiteral("Settings"), QStringLiteral("showHelp"), QStringLiteral("0"));
        window = std::make_unique<MainWindow>(context, nullptr, probePort);
        loaded = window->startUp();
    }

    SettingsStore settings;
    LinkFormatTable formats;
    // The maker's website: its addresses are kept in opened, never opened.
    Website website{BrandingInfo::ofThisBuild().website};
    OpenedSites opened{website};
    ProgramContext context;
    std::unique_ptr<MainWindow> window;
    bool loaded = false;
};
