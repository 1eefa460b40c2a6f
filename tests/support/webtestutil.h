#pragma once

// Helpers for tests that drive a real QWebEnginePage: load markup and wait for it, run a script and wait for
// its result, and a main() that sets up the application the way the browser engine needs.

#include <QApplication>
#include <QTimer>
#include <QTcpSocket>
#include <QTcpServer>
#include <QPointer>
#include <QMessageBox>
#include <QHostAddress>
#include <QHash>
#include <QSignalSpy>
#include <QTest>
#include <QUrl>
#include <QVariant>
#include <QWebEnginePage>
#include <QWebEngineScript>

#include <memory>

namespace WebTest {

// Runs the script in the page's world worldId and returns its result; an invalid QVariant when it does not
// answer within timeoutMs (a warning says so). Scripts evaluating to null also give an invalid or null value.
inline QVariant evaluateJavaScriptSync(
    QWebEnginePage *page, const QString &script, quint32 worldId = QWebEngineScript::MainWorld, int timeoutMs = 10000)
{
    // Shared so that an answer arriving after a timeout writes to live memory.
    struct Answer
    {
        QVariant value;
        bool arrived = false;
    };
    const auto answer = std::make_shared<Answer>();
    page->runJavaScript(script, worldId, [answer](const QVariant &value) {
        answer->value = value;
        answer->arrived = true;
    });
    if (!QTest::qWaitFor([&answer] { return answer->arrived; }, timeoutMs)) {
        qWarning("evaluateJavaScriptSync: no answer within %d ms", timeoutMs);
        return {};
    }
    return answer->value;
}

// Loads markup into the page and waits for the load to finish; true when it finished successfully.
inline bool loadHtmlSync(QWebEnginePage *page, const QString &html, const QUrl &baseUrl = QUrl(), int timeoutMs = 20000)
{
    QSignalSpy finished(page, &QWebEnginePage::loadFinished);
    page->setHtml(html, baseUrl);
    if (finished.isEmpty() && !finished.wait(timeoutMs)) {
        return false;
    }
    return finished.first().first().toBool();
}

// Loads content of any type (an SVG image, plain text) and waits for the load to finish.
inline bool loadContentSync(
    QWebEnginePage *page, const QByteArray &data, const QString &mimeType, int timeoutMs = 20000)
{
    QSignalSpy finished(page, &QWebEnginePage::loadFinished);
    page->setContent(data, mimeType);
    if (finished.isEmpty() && !finished.wait(timeoutMs)) {
        return false;
    }
    return finished.first().first().toBool();
}

} // namespace WebTest

// The same, for tests that run in the page's own world.
inline QVariant evaluateJavaScriptSync(QWebEnginePage *page, const QString &script, int timeoutMs = 10000)
{
    return WebTest::evaluateJavaScriptSync(page, script, QWebEngineScript::MainWorld, timeoutMs);
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

// main() for a test class that uses the browser engine: the engine wants shared OpenGL contexts set before
// the application object exists.
#define POSTAVO_WEB_TEST_MAIN(TestClass)                                                                               \
    int main(int argc, char **argv)                                                                                    \
    {                                                                                                                  \
        QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);                                                    \
        QApplication app(argc, argv);                                                                                  \
        app.setAttribute(Qt::AA_Use96Dpi, true);                                                                       \
        TestClass test;                                                                                                \
        QTEST_SET_MAIN_SOURCE_PATH                                                                                     \
        return QTest::qExec(&test, argc, argv);                                                                        \
    }

#define POSTAVO_WEBTEST_MAIN(TestClass) POSTAVO_WEB_TEST_MAIN(TestClass)
