#pragma once

// Helpers for tests that drive the browser pane: a synchronous script runner, a loopback HTTP server that
// serves scripted pages, a catcher for modal message boxes and a main() that starts the web engine properly.

#include <QApplication>
#include <QHash>
#include <QHostAddress>
#include <QMessageBox>
#include <QPointer>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>
#include <QTimer>
#include <QVariant>
#include <QWebEnginePage>
#include <memory>

// Runs a script in the page and waits (bounded) for its result; an invalid QVariant on timeout.
inline QVariant evaluateJavaScriptSync(QWebEnginePage *page, const QString &script, int timeoutMs = 10000)
{
    struct State
    {
        bool done = false;
        QVariant result;
    };
    auto state = std::make_shared<State>();
    page->runJavaScript(script, [state](const QVariant &value) {
        state->result = value;
        state->done = true;
    });
    (void)QTest::qWaitFor([&state] { return state->done; }, timeoutMs);
    return state->result;
}

// Serves pages from 127.0.0.1 on a free port, one answer per connection. Unknown paths get 404.
class LocalHttpServer
{
public:
    struct Answer
    {
        QByteArray status = "200 OK";
        QByteArray headers;
        QByteArray body;
    };

    LocalHttpServer()
    {
        m_server.listen(QHostAddress::LocalHost, 0);
        QObject::connect(&m_server, &QTcpServer::newConnection, &m_server, [this] {
            while (QTcpSocket *socket = m_server.nextPendingConnection()) {
                QObject::connect(socket, &QTcpSocket::readyRead, socket, [this, socket] { serve(socket); });
                QObject::connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
            }
        });
    }

    bool isListening() const { return m_server.isListening(); }

    void setPage(const QByteArray &path, const QByteArray &html)
    {
        m_answers.insert(path, {"200 OK", "Content-Type: text/html; charset=utf-8\r\n", html});
    }

    void setRedirect(const QByteArray &path, const QByteArray &location)
    {
        m_answers.insert(path, {"302 Found", "Location: " + location + "\r\n", QByteArray()});
    }

    QString url(const QString &path) const
    {
        return QStringLiteral("http://127.0.0.1:%1%2").arg(m_server.serverPort()).arg(path);
    }

    QList<QByteArray> requestedPaths() const { return m_requested; }

private:
    void serve(QTcpSocket *socket)
    {
        QByteArray request = socket->property("request").toByteArray() + socket->readAll();
        socket->setProperty("request", request);
        if (!request.contains("\r\n\r\n")) {
            return;
        }
        const QList<QByteArray> requestLine = request.left(request.indexOf("\r\n")).split(' ');
        const QByteArray path = requestLine.value(1);
        m_requested.append(path);
        const Answer answer = m_answers.value(path, {"404 Not Found", "Content-Type: text/plain\r\n", "not here"});
        QByteArray response = "HTTP/1.1 " + answer.status + "\r\n" + answer.headers
            + "Content-Length: " + QByteArray::number(answer.body.size()) + "\r\nConnection: close\r\n\r\n"
            + answer.body;
        socket->write(response);
        socket->disconnectFromHost();
    }

    QTcpServer m_server;
    QHash<QByteArray, Answer> m_answers;
    QList<QByteArray> m_requested;
};

// Watches for modal message boxes and closes each with its default button, keeping their titles and texts.
class MessageBoxCatcher
{
public:
    MessageBoxCatcher()
    {
        m_timer.setInterval(20);
        QObject::connect(&m_timer, &QTimer::timeout, &m_timer, [this] {
            auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
            if (!box || box == m_lastBox) {
                return;
            }
            m_lastBox = box;
            titles.append(box->windowTitle());
            texts.append(box->text());
            buttonCounts.append(int(box->buttons().size()));
            textFormats.append(box->textFormat());
            box->done(QMessageBox::Ok);
        });
        m_timer.start();
    }

    QStringList titles;
    QStringList texts;
    QList<int> buttonCounts;
    QList<Qt::TextFormat> textFormats;

private:
    QTimer m_timer;
    QPointer<QMessageBox> m_lastBox;
};

// The web engine wants shared OpenGL contexts set up before the application object exists.
#define POSTAVO_WEBTEST_MAIN(TestClass)                                                                      \
    int main(int argc, char *argv[])                                                                        \
    {                                                                                                       \
        QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);                                         \
        QApplication app(argc, argv);                                                                       \
        app.setAttribute(Qt::AA_Use96Dpi, true);                                                            \
        TestClass test;                                                                                     \
        QTEST_SET_MAIN_SOURCE_PATH                                                                          \
        return QTest::qExec(&test, argc, argv);                                                             \
    }
