#pragma once

// Helpers for tests that drive a real QWebEnginePage: load markup and wait for it, run a script and wait for
// its result, and a main() that sets up the application the way the browser engine needs.

#include <QApplication>
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

// main() for a test class that uses the browser engine: the engine wants shared OpenGL contexts set before
// the application object exists.
#define POSTAVO_WEB_TEST_MAIN(TestClass)                                                                               \
    int main(int argc, char **argv)                                                                                    \
    {                                                                                                                  \
        QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);                                                    \
        QApplication app(argc, argv);                                                                                  \
        TestClass test;                                                                                                \
        QTEST_SET_MAIN_SOURCE_PATH                                                                                     \
        return QTest::qExec(&test, argc, argv);                                                                        \
    }
