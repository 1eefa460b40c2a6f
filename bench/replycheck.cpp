// Speed of "Check for replies" through the main window against a real web server on 127.0.0.1:80: a thousand
// thread pages of 20 to 60 KB, a tenth of them grown since their sizes were stored.
//   bench_replycheck [runs]     (default: 7)
// Needs root (port 80) and nginx; without them it says so and does nothing.
#include "benchutil.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QLabel>
#include <QListView>
#include <QPushButton>
#include <QRandomGenerator>
#include <QTabBar>
#include <QTemporaryDir>
#include <QTimer>

#include "app/mainwindow.h"
#include "app/programcontext.h"
#include "base/settingsstore.h"
#include "links/linkformats.h"
#include "probe/pagesizeprobe.h"
#include "forums/ownposts.h"
#include "replies/replymonitor.h"
#include "support/nginxserver.h"
#include "support/mainwindowparts.h"
#include "forums/ownposts.h"

#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

constexpr int s_pageCount = 1000;
constexpr int s_grownEvery = 10;
constexpr qint64 s_growth = 1000;

struct RunResult
{
    bool finished = false;
    double seconds = 0;
    QString panel;
    int listed = 0;
};

// Closes any message box a failed run opens, so the benchmark reports the failure instead of waiting.
void closeModalBoxes(bool *sawBox)
{
    if (QWidget *modal = QApplication::activeModalWidget()) {
        *sawBox = true;
        std::fprintf(stderr, "a message box opened: %s\n", qPrintable(modal->windowTitle()));
        modal->close();
    }
}

RunResult runOnce(MainWindow &window)
{
    RunResult result;
    QEventLoop loop;
    bool sawBox = false;
    // The end text reaches the panel before the run's end is announced.
    const auto completed
        = QObject::connect(window.findChild<ReplyMonitor *>(), &ReplyMonitor::checkFinished, &loop, &QEventLoop::quit);
    QTimer watchdog;
    QObject::connect(&watchdog, &QTimer::timeout, &loop, [&] {
        closeModalBoxes(&sawBox);
        if (sawBox) {
            loop.quit();
        }
    });
    watchdog.start(200);
    QTimer::singleShot(60000, &loop, &QEventLoop::quit);

    QElapsedTimer clock;
    clock.start();
    window.findChild<QPushButton *>(QStringLiteral("checkRepliesButton"))->click();
    loop.exec();
    result.seconds = clock.nsecsElapsed() / 1e9;
    QObject::disconnect(completed);

    result.panel = panelText(window, 1);
    result.finished = !sawBox && result.panel.startsWith(QLatin1String("finished - "));
    result.listed = window.findChild<QListView *>(QStringLiteral("newRepliesList"))->model()->rowCount();
    return result;
}

// The old walk, one page at a time with a bare probe and no window: what the server and the socket layer cost
// by themselves.
double probeAloneSeconds(const QStringList &addresses)
{
    PageSizeProbe probe;
    QEventLoop loop;
    int next = 0;
    const auto startNext = [&] {
        if (next == addresses.size()) {
            loop.quit();
            return;
        }
        probe.start(addresses.at(next++));
    };
    QObject::connect(&probe, &PageSizeProbe::finished, &loop, [&](const PageMeasurement &measurement) {
        if (measurement.isMeasured()) {
            startNext();
        } else {
            loop.quit();
        }
    });
    QTimer::singleShot(60000, &loop, &QEventLoop::quit);
    QElapsedTimer clock;
    clock.start();
    startNext();
    loop.exec();
    return next == addresses.size() && !probe.isBusy() ? clock.nsecsElapsed() / 1e9 : -1;
}

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
    const int runs = qMax(1, app.arguments().value(1, QStringLiteral("7")).toInt());

    if (::geteuid() != 0) {
        std::printf("bench_replycheck: skipped, the web server needs root to listen on port 80\n");
        return 0;
    }
    if (NginxServer::executable().isEmpty()) {
        std::printf("bench_replycheck: skipped, nginx is not installed (Debian package nginx-light)\n");
        return 0;
    }

    QTemporaryDir tmp;
    const QDir dir(tmp.path());
    if (!tmp.isValid() || !dir.mkpath(QStringLiteral("root")) || !dir.mkpath(QStringLiteral("data"))) {
        std::fprintf(stderr, "cannot create the temporary folders\n");
        return 1;
    }
    const QString root = dir.filePath(QStringLiteral("root"));

    QRandomGenerator random(20240517);
    QStringList addresses;
    QStringList storedSizes;
    int expectedGrown = 0;
    for (int i = 1; i <= s_pageCount; ++i) {
        const QString name = QStringLiteral("p%1.html").arg(i, 4, 10, QLatin1Char('0'));
        const QByteArray page = threadPage(20 * 1024 + random.bounded(40 * 1024 + 1), random);
        QFile file(root + QLatin1Char('/') + name);
        if (!file.open(QIODevice::WriteOnly) || file.write(page) != page.size()) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(file.fileName()));
            return 1;
        }
        addresses.append(QStringLiteral("http://127.0.0.1/") + name);
        const bool grown = i % s_grownEvery == 0;
        expectedGrown += grown ? 1 : 0;
        storedSizes.append(QString::number(page.size() - (grown ? s_growth : 0)));
    }

    NginxServer server;
    QString why;
    if (!server.start(QStringLiteral("127.0.0.1:80"), root, &why)) {
        std::fprintf(stderr, "bench_replycheck: the web server did not start: %s\n", qPrintable(why));
        return 1;
    }

    const QString data = dir.filePath(QStringLiteral("data"));
    SettingsStore settings(QDir(data).filePath(QStringLiteral("Postavo.ini")));
    settings.write(QStringLiteral("Settings"), QStringLiteral("showHelp"), QStringLiteral("0"));
    LinkFormatTable formats;
    ProgramContext context{{DataFolder(data), &settings}, &formats};
    MainWindow window(context);
    if (!window.startUp()) {
        std::fprintf(stderr, "the main window did not load\n");
        return 1;
    }
    window.show();
    window.findChild<OwnPosts *>()->reset(addresses, storedSizes);
    window.findChild<QTabBar *>(QStringLiteral("postTabs"))->setCurrentIndex(1);
    std::printf("%d pages of 20 to 60 KB on 127.0.0.1:80, %d grown; peak memory before the runs: %.1f MiB\n",
        s_pageCount, expectedGrown, peakMemoryMiB());

    std::vector<double> rates;
    bool allGood = true;
    for (int run = 1; run <= runs; ++run) {
        const RunResult result = runOnce(window);
        const double rate = s_pageCount / result.seconds;
        std::printf("run %d: %.3f s, %.0f pages/s, \"%s\", %d listed\n", run, result.seconds, rate,
            qPrintable(result.panel), result.listed);
        const bool good = result.finished && result.listed == expectedGrown
            && result.panel == QStringLiteral("finished - %1 new replies found").arg(expectedGrown);
        if (!good) {
            std::printf("run %d: WRONG RESULT (expected %d new replies)\n", run, expectedGrown);
            allGood = false;
            break;
        }
        rates.push_back(rate);
    }
    if (!rates.empty()) {
        std::vector<double> sorted = rates;
        std::sort(sorted.begin(), sorted.end());
        std::printf("pages per second: best %.0f, median %.0f (%zu runs); new replies found: %d\n", sorted.back(),
            sorted[sorted.size() / 2], sorted.size(), window.findChild<QListView *>(QStringLiteral("newRepliesList"))->model()->rowCount());
    }
    std::vector<double> bare;
    for (int run = 0; run < runs; ++run) {
        bare.push_back(s_pageCount / probeAloneSeconds(addresses));
    }
    std::sort(bare.begin(), bare.end());
    std::printf(
        "one bare probe, one page at a time, without the window, for comparison: best %.0f, median %.0f pages/s\n",
        bare.back(), bare[bare.size() / 2]);

    // The server is stopped first so that only the browser engine's helpers count as child processes.
    server.stop();
    std::printf("peak memory: %.1f MiB (this process), %.1f MiB (browser engine helpers, sum of peaks)\n",
        peakMemoryMiB(), descendantsPeakMemoryMiB());

    window.shutDown();
    return allGood ? 0 : 1;
}
