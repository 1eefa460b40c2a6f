// What exposing pages to assistive technology costs: the same thread page loaded in a browser view while Qt's
// accessibility is off (no assistive tool listening) and while it is on (as when a screen reader connects).
// Timed from the request to the end of the load, and, when on, to the page's last post being in the tree.
//   bench_pageaccessibility [runs] [posts] [off|on]     (default: 5 2000, both; one alone for its memory)
#include "benchutil.h"

#include <QAccessible>
#include <QApplication>
#include <QElapsedTimer>
#include <QSignalSpy>
#include <QWebEngineView>

#include "support/webtestutil.h"
#include "web/browserprofile.h"

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

QByteArray threadPage(int posts)
{
    QByteArray page = "<html><head><title>Thread</title></head><body>";
    for (int post = 1; post <= posts; ++post) {
        const QByteArray n = QByteArray::number(post);
        page += "<table><tr><td><a href=\"/u" + n + "\">member" + n + "</a></td><td><b>Re: plugins #" + n
            + "</b><p>Thanks, that worked for me too. See <a href=\"http://www.example.com/p" + n
            + "\">the manual</a>.</p><input type=\"button\" value=\"Quote\"></td></tr></table>";
    }
    return page + "<h2>last post " + QByteArray::number(posts) + "</h2></body></html>";
}

bool treeHolds(QAccessibleInterface *node, const QString &text, int depth = 0)
{
    if (!node || !node->isValid() || depth > 80) {
        return false;
    }
    if (node->text(QAccessible::Name).contains(text)) {
        return true;
    }
    for (int i = 0; i < node->childCount(); ++i) {
        if (treeHolds(node->child(i), text, depth + 1)) {
            return true;
        }
    }
    return false;
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values.empty() ? 0 : values[values.size() / 2];
}

} // namespace

int main(int argc, char *argv[])
{
    exposePagesToAssistiveTechnology();
    QApplication app(argc, argv);
    const int runs = argc > 1 ? std::max(1, atoi(argv[1])) : 5;
    const int posts = argc > 2 ? std::max(1, atoi(argv[2])) : 2000;
    const QByteArray only = argc > 3 ? QByteArray(argv[3]) : QByteArray();

    LocalHttpServer server;
    const QByteArray page = threadPage(posts);
    for (int run = 0; run < runs; ++run) {
        server.setPage("/thread" + QByteArray::number(run), page);
    }
    QWebEngineView view;
    view.resize(1000, 800);
    view.show();
    const QString last = QStringLiteral("last post %1").arg(posts);

    for (const bool active : { false, true }) {
        if (!only.isEmpty() && only != (active ? "on" : "off")) {
            continue;
        }
        QAccessible::setActive(active);
        std::vector<double> loads;
        std::vector<double> trees;
        for (int run = 0; run < runs; ++run) {
            view.setHtml(QStringLiteral("<p>blank</p>"));
            QSignalSpy blank(view.page(), &QWebEnginePage::loadFinished);
            blank.wait(10000);
            QSignalSpy loaded(view.page(), &QWebEnginePage::loadFinished);
            QElapsedTimer timer;
            timer.start();
            view.setUrl(QUrl(server.url(QStringLiteral("/thread%1").arg(run))));
            if (!loaded.wait(60000)) {
                std::fprintf(stderr, "the page did not load\n");
                return 1;
            }
            loads.push_back(timer.nsecsElapsed() / 1e6);
            if (active) {
                while (!treeHolds(QAccessible::queryAccessibleInterface(&view), last) && timer.elapsed() < 60000) {
                    QTest::qWait(5);
                }
                trees.push_back(timer.nsecsElapsed() / 1e6);
            }
        }
        std::printf("accessibility %-3s  page %.1f MB, %d posts: load %.0f ms", active ? "on" : "off",
            page.size() / 1e6, posts, median(loads));
        if (active) {
            std::printf(", last post in the tree after %.0f ms", median(trees));
        }
        std::printf(" (median of %d)\n", runs);
    }
    std::printf(
        "peak memory: this process %.0f MiB, engine helpers %.0f MiB\n", peakMemoryMiB(), descendantsPeakMemoryMiB());
    return 0;
}
