// Time of "Auto-Insert" through the main window on a large thread page: a few MB of posts with the posting
// form at the end, served from this process on 127.0.0.1. Timed from the click to the text being in the field,
// with a breakdown of the steps measured one by one.
//   bench_autoinsert [runs] [page size in MB]     (default: 9 5)
#include "benchutil.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QHostAddress>
#include <QPlainTextEdit>
#include <QPointer>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolButton>
#include <QWebEnginePage>
#include <QWebEngineScript>
#include <QWebEngineView>

#include "app/programcontext.h"
#include "app/mainwindow.h"
#include "base/settingsstore.h"
#include "links/linkformats.h"
#include "support/webtestutil.h"
#include "support/mainwindowparts.h"
#include "web/formscan.h"
#include "web/pagescripts.h"

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

// A thread page as forum software writes it: a search form first, then many posts, each with its author
// box, text, links, quotes and quick buttons, and the posting form at the end.
QByteArray threadPage(qsizetype size)
{
    QByteArray page = "<!DOCTYPE html><html><head><meta charset=\"utf-8\"><title>Thread</title></head><body>\n"
                      "<form action=\"/search\" method=\"get\"><input type=\"text\" name=\"q\">"
                      "<input type=\"submit\" value=\"Search\"></form>\n";
    page.reserve(size + 4096);
    for (int post = 1; page.size() < size; ++post) {
        const QByteArray n = QByteArray::number(post);
        const QByteArray user = QByteArray::number(post * 7919 % 613);
        page += "<table class=\"post\" id=\"p" + n + "\"><tr><td class=\"author\"><a href=\"/profile.php?u=" + user
            + "\">member" + user + "</a><br><img src=\"/avatars/" + user
            + ".png\" alt=\"\" width=\"64\" height=\"64\"><br>Posts: " + n + "</td><td class=\"body\">"
            + "<div class=\"subject\">Re: which plugin do you use? #" + n + "</div><div class=\"text\">";
        if (post % 3 == 0) {
            page += "<blockquote><b>member" + QByteArray::number((post - 1) * 7919 % 613)
                + " wrote:</b><br>I tried the one from the other thread but it kept crashing on start-up.</blockquote>";
        }
        page += "Thanks, that worked for me too. The settings are under Tools &gt; Options, and the manual at "
                "<a href=\"http://www.example.com/manual/page"
            + n + ".html\">http://www.example.com/manual/page" + n
            + ".html</a> explains the rest. <i>Edited for typos.</i><br><br>Lorem ipsum dolor sit amet, consectetur "
              "adipiscing elit, sed do eiusmod tempor incididunt ut labore et dolore magna aliqua.</div>"
              "<div class=\"sig\">--<br>my site: <a href=\"http://member"
            + user + ".example.org/\">member" + user
            + ".example.org</a></div><div class=\"buttons\"><input type=\"button\" value=\"Quote\" "
              "onclick=\"quote("
            + n + ")\"><input type=\"button\" value=\"Report\"></div></td></tr></table>\n";
    }
    page += "<form action=\"/submit\" method=\"post\" name=\"post\">"
            "<input type=\"text\" name=\"subject\" id=\"subject\" size=\"45\">"
            "<select name=\"icon\"><option value=\"0\">none</option><option value=\"1\">smile</option></select>"
            "<textarea name=\"message\" id=\"message\" rows=\"15\" cols=\"60\"></textarea>"
            "<input type=\"submit\" value=\"Submit\"></form>\n</body></html>\n";
    return page;
}

// Serves the page at every address; any response closes its connection.
class PageServer : public QObject
{
public:
    explicit PageServer(QByteArray page)
        : m_page(std::move(page))
    {
        connect(&m_server, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket *socket = m_server.nextPendingConnection()) {
                connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
                connect(socket, &QTcpSocket::readyRead, socket, [this, socket] { answer(socket); });
            }
        });
    }

    bool listen() { return m_server.listen(QHostAddress::LocalHost, 0); }
    QString address() const { return QStringLiteral("http://127.0.0.1:%1/thread").arg(m_server.serverPort()); }

private:
    void answer(QTcpSocket *socket)
    {
        QByteArray request = socket->property("request").toByteArray() + socket->readAll();
        socket->setProperty("request", request);
        if (!request.contains("\r\n\r\n")) {
            return;
        }
        const bool page = request.startsWith("GET /thread ");
        const QByteArray body = page ? m_page : QByteArray("not here");
        socket->write((page ? "HTTP/1.1 200 OK\r\nContent-Type: text/html; charset=utf-8\r\n"
                            : "HTTP/1.1 404 Not Found\r\nContent-Type: text/plain\r\n")
            + QByteArray("Content-Length: ") + QByteArray::number(body.size()) + "\r\nConnection: close\r\n\r\n");
        socket->write(body);
        socket->disconnectFromHost();
    }

    QTcpServer m_server;
    QByteArray m_page;
};

// Closes any message box an Auto-Insert opens, so the benchmark reports the failure instead of waiting.
bool closeModalBox()
{
    if (QWidget *modal = QApplication::activeModalWidget()) {
        std::fprintf(stderr, "a message box opened: %s\n", qPrintable(modal->windowTitle()));
        modal->close();
        return true;
    }
    return false;
}

// Milliseconds from the click to autoInsertFinished; negative when it failed or did not finish.
double timeAutoInsert(MainWindow &window)
{
    QEventLoop loop;
    bool finished = false;
    bool ok = false;
    QObject::connect(&window, &MainWindow::autoInsertFinished, &loop, [&](bool written) {
        finished = true;
        ok = written;
        loop.quit();
    });
    QTimer watchdog;
    QObject::connect(&watchdog, &QTimer::timeout, &loop, [] { closeModalBox(); });
    watchdog.start(200);
    QTimer::singleShot(60000, &loop, &QEventLoop::quit);

    QElapsedTimer clock;
    clock.start();
    window.findChild<QToolButton *>(QStringLiteral("autoInsertButton"))->click();
    if (!finished) {
        loop.exec();
    }
    const double ms = clock.nsecsElapsed() / 1e6;
    QObject::disconnect(&window, &MainWindow::autoInsertFinished, &loop, nullptr);
    return finished && ok ? ms : -1;
}

template <typename F> double milliseconds(F &&work)
{
    QElapsedTimer clock;
    clock.start();
    work();
    return clock.nsecsElapsed() / 1e6;
}

struct Figures
{
    std::vector<double> values;
    void add(double v) { values.push_back(v); }
    double best() const { return *std::min_element(values.begin(), values.end()); }
    double median() const
    {
        std::vector<double> sorted = values;
        std::sort(sorted.begin(), sorted.end());
        return sorted[sorted.size() / 2];
    }
};

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    if (qEnvironmentVariableIsEmpty("QTWEBENGINE_DISABLE_SANDBOX")) {
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    }
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication app(argc, argv);
    const int runs = qMax(1, app.arguments().value(1, QStringLiteral("9")).toInt());
    const qsizetype pageSize = qMax(1, app.arguments().value(2, QStringLiteral("5")).toInt()) * 1000 * 1000;

    PageServer server(threadPage(pageSize));
    if (!server.listen()) {
        std::fprintf(stderr, "bench_autoinsert: cannot listen on 127.0.0.1\n");
        return 1;
    }

    QTemporaryDir tmp;
    SettingsStore settings(tmp.filePath(QStringLiteral("Postavo.ini")));
    settings.write(QStringLiteral("Settings"), QStringLiteral("showHelp"), QStringLiteral("0"));
    LinkFormatTable formats;
    ProgramContext context{{DataFolder(tmp.path()), &settings}, &formats};
    MainWindow window(context);
    if (!window.startUp()) {
        std::fprintf(stderr, "the main window did not load\n");
        return 1;
    }
    window.show();

    QWebEnginePage *page = window.findChild<QWebEngineView *>(QStringLiteral("webView"))->page();
    {
        QEventLoop loop;
        bool loaded = false;
        const auto connection = QObject::connect(page, &QWebEnginePage::loadFinished, &loop, [&](bool ok) {
            if (page->url().toString() == server.address()) {
                loaded = ok;
                loop.quit();
            }
        });
        QTimer::singleShot(60000, &loop, &QEventLoop::quit);
        navigate(window, server.address());
        loop.exec();
        QObject::disconnect(connection);
        if (!loaded) {
            std::fprintf(stderr, "bench_autoinsert: the page did not load\n");
            return 1;
        }
    }
    const qint64 markupLength
        = WebTest::evaluateJavaScriptSync(page, QStringLiteral("document.body.outerHTML.length")).toLongLong();
    std::printf("page of %.1f MB (body markup %.1f million characters); peak memory after loading: %.1f MiB\n",
        pageSize / 1e6, markupLength / 1e6, peakMemoryMiB());

    const QString clearScript = QStringLiteral("document.getElementById('message').value = ''");
    const QString valueScript = PageScripts::fieldValueScript(QStringLiteral("#message"));
    Figures total;
    for (int run = 1; run <= runs; ++run) {
        WebTest::evaluateJavaScriptSync(page, clearScript);
        setMessageText(window, QStringLiteral("Run %1: the guide is at http://www.example.com/guide.html\r\n"
                                             "Questions to me@example.com")
                                  .arg(run));
        const double ms = timeAutoInsert(window);
        const QString expected = convertedOutgoingText(window).replace(QLatin1String("\r\n"), QLatin1String("\n"));
        const QString value = WebTest::evaluateJavaScriptSync(page, valueScript).toString();
        std::printf("run %d: %.1f ms%s\n", run, ms, value == expected ? "" : "  WRONG FIELD VALUE");
        if (ms < 0 || value != expected) {
            std::printf("bench_autoinsert: the Auto-Insert failed\n");
            return 1;
        }
        total.add(ms);
    }
    std::printf("auto-insert: best %.1f ms, median %.1f ms (%d runs)\n", total.best(), total.median(), runs);

    // The same steps one by one, to see where the time goes; both markups together is how the page was once
    // read, kept for comparison.
    Figures both, fetch, scan, write, writeChecked;
    const QString scratch = context.dataFolder.filePath(QStringLiteral("htmltemp.txt"));
    for (int run = 1; run <= runs; ++run) {
        both.add(milliseconds([&] {
            WebTest::evaluateJavaScriptSync(
                page, PageScripts::bodyMarkupScript(), QWebEngineScript::ApplicationWorld, 60000);
        }));
        QString outer;
        fetch.add(milliseconds([&] {
            outer = WebTest::evaluateJavaScriptSync(
                page, PageScripts::bodyOuterMarkupScript(), QWebEngineScript::ApplicationWorld, 60000)
                        .toString();
        }));
        qint16 formIndex = -1;
        qint16 elementIndex = -1;
        scan.add(milliseconds([&] {
            formIndex = FormScan::findMessageForm(outer, QString(), scratch);
            elementIndex = FormScan::findMessageField(formIndex, scratch);
        }));
        write.add(milliseconds([&] {
            WebTest::evaluateJavaScriptSync(page,
                PageScripts::setFormFieldValueScript(formIndex, elementIndex, QStringLiteral("step test")),
                QWebEngineScript::ApplicationWorld);
        }));
        // As Auto-Insert writes: on the marked document only, looking for an editor that shows the field.
        const QString mark = QStringLiteral("bench-%1").arg(run);
        WebTest::evaluateJavaScriptSync(page, PageScripts::markDocumentScript(mark), QWebEngineScript::ApplicationWorld);
        writeChecked.add(milliseconds([&] {
            WebTest::evaluateJavaScriptSync(page,
                PageScripts::writeMessageScript(mark, formIndex, elementIndex, QStringLiteral("step test"),
                    QStringLiteral("step test"), QStringLiteral("step test")),
                QWebEngineScript::ApplicationWorld);
        }));
    }
    std::printf("steps (median): read the outer markup %.1f ms, search the form %.1f ms, write the field %.1f ms "
                "(%.1f ms on the marked document, looking for an editor); "
                "reading outer and inner markup together %.1f ms\n",
        fetch.median(), scan.median(), write.median(), writeChecked.median(), both.median());
    std::printf("peak memory: %.1f MiB (this process), %.1f MiB (browser engine helpers, sum of peaks)\n",
        peakMemoryMiB(), descendantsPeakMemoryMiB());
    return 0;
}
