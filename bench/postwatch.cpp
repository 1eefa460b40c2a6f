// What watching a page for a posted message costs: a 5 MB thread page whose own script appends a post every
// 100 ms for 10 s, once with a watch armed (for a message that never appears, so it watches throughout) and
// once without. Prints the time the page's own script spent appending, the time our script spent in the page
// (the change observer and the readings), and the time spent in the program's handlers of the watch.
//   bench_postwatch [megabytes] [seconds]     (default: 5 10)
#include "benchutil.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QWebEngineView>

#include "support/webtestutil.h"
#include "web/postedmessagewatcher.h"

#include <sys/resource.h>

#include <cstdio>

namespace {

QByteArray appendingPage(qsizetype size, int seconds)
{
    QRandomGenerator random(7);
    QByteArray page = threadPage(size, random);
    // The filler stops where the size is reached, maybe inside a tag: end it after its last whole post.
    page.truncate(page.lastIndexOf("</div>\n") + 7);
    page += "<div id='posts'></div><script>"
            "window.appendSpent = 0; window.appended = 0;"
            "var timer = setInterval(function () {"
            "  var start = performance.now();"
            "  var post = document.createElement('div');"
            "  post.className = 'post';"
            "  post.innerHTML = '<b>member</b><p>Reply number ' + (++window.appended) + ', thanks for the tip.</p>';"
            "  document.getElementById('posts').appendChild(post);"
            "  window.appendSpent += performance.now() - start;"
            "  if (window.appended >= "
        + QByteArray::number(seconds * 10)
        + ") { clearInterval(timer); }"
          "}, 100);"
          "</script></body></html>";
    return page;
}

double threadCpuMs()
{
    rusage usage {};
    getrusage(RUSAGE_THREAD, &usage);
    return (usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) * 1e3
        + (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e3;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication app(argc, argv);
    const double megabytes = argc > 1 ? std::max(0.1, atof(argv[1])) : 5;
    const int seconds = argc > 2 ? std::max(1, atoi(argv[2])) : 10;

    LocalHttpServer server;
    const QByteArray page = appendingPage(qsizetype(megabytes * 1e6), seconds);
    server.setPage("/thread", page);
    QWebEngineView view;
    view.resize(1000, 800);
    view.show();

    for (const bool armed : { true, false }) {
        PostedMessageWatcher watcher(&view);
        QObject::connect(view.page(), &QWebEnginePage::loadFinished, &watcher, &PostedMessageWatcher::checkPage);
        WebTest::loadHtmlSync(view.page(), QStringLiteral("<p>blank</p>"));
        if (armed) {
            watcher.armFor(QStringLiteral("A message nobody posts here\r\n"));
        }
        QElapsedTimer wall;
        wall.start();
        QSignalSpy loaded(view.page(), &QWebEnginePage::loadFinished);
        view.setUrl(QUrl(server.url(QStringLiteral("/thread"))));
        if (!loaded.wait(60000)) {
            std::fprintf(stderr, "the page did not load\n");
            return 1;
        }
        const double loadMs = wall.elapsed();
        // The reading a completed load gets, as before; what follows is the cost of watching the page's changes.
        while (armed && watcher.loadsLeft() == 4 && wall.elapsed() < 60000) {
            QTest::qWait(10);
        }
        const auto watchScriptMs = [&] {
            return WebTest::evaluateJavaScriptSync(view.page(),
                QStringLiteral("window.__postavoWatch ? window.__postavoWatch.spent : 0"),
                QWebEngineScript::ApplicationWorld)
                .toDouble();
        };
        const double loadScript = watchScriptMs();
        const double loadProgram = watcher.timeSpent().count() / 1e6;
        const double cpuAfterLoad = threadCpuMs();
        wall.restart();
        const int posts = seconds * 10;
        while (WebTest::evaluateJavaScriptSync(view.page(), QStringLiteral("window.appended")).toInt() < posts
            && wall.elapsed() < (seconds + 30) * 1000) {
            QTest::qWait(100);
        }
        QTest::qWait(500); // the last changes looked at
        const double pageScript
            = WebTest::evaluateJavaScriptSync(view.page(), QStringLiteral("window.appendSpent")).toDouble();
        std::printf(
            "watch %-5s page %.1f MB loaded in %.1f s (reading it: %.1f ms in the page, %.1f ms in the program)\n"
            "            %d posts appended over %.1f s: page's own script %.1f ms; watching: %.1f ms in the page, "
            "%.1f ms in the program's handlers; program main thread CPU %.0f ms%s\n",
            armed ? "armed" : "off", page.size() / 1e6, loadMs / 1e3, loadScript, loadProgram, posts,
            wall.elapsed() / 1e3, pageScript, watchScriptMs() - loadScript,
            watcher.timeSpent().count() / 1e6 - loadProgram, threadCpuMs() - cpuAfterLoad,
            armed && !watcher.isArmed() ? " (the watch ended early)" : "");
    }
    std::printf(
        "peak memory: this process %.0f MiB, engine helpers %.0f MiB\n", peakMemoryMiB(), descendantsPeakMemoryMiB());
    return 0;
}
