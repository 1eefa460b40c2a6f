// Measures one page over loopback: throughput of the probe and its peak memory for bodies of several sizes.
//   bench_probe [body size in MB ...]     (default: 50 500)
#include "benchutil.h"
#include "probe/pagesizeprobe.h"
#include "support/bodyserver.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>

#include <cstdio>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QList<qint64> sizesMB;
    for (const QString &argument : app.arguments().mid(1)) {
        sizesMB.append(argument.toLongLong());
    }
    if (sizesMB.isEmpty()) {
        sizesMB = { 50, 500 };
    }

    std::printf("peak memory before any probe: %.1f MiB\n", peakMemoryMiB());
    for (const qint64 sizeMB : sizesMB) {
        const qint64 bodySize = sizeMB * 1000 * 1000;
        BodyServer server(bodySize);
        PageSizeProbe probe(nullptr, server.port());
        qint64 panelUpdates = 0;
        QObject::connect(&probe, &PageSizeProbe::panelText, &probe, [&panelUpdates] { ++panelUpdates; });
        QEventLoop loop;
        bool ok = false;
        QObject::connect(&probe, &PageSizeProbe::finished, &loop, [&](const PageMeasurement &measurement) {
            ok = measurement.isMeasured();
            loop.quit();
        });

        QElapsedTimer clock;
        clock.start();
        probe.start(QStringLiteral("http://127.0.0.1/page"));
        loop.exec();
        const double seconds = clock.nsecsElapsed() / 1e9;

        std::printf("body %6lld MB: %s, byteCount %d, %.2f s, %.0f MB/s, %lld panel texts, peak memory %.1f MiB\n",
            static_cast<long long>(sizeMB), ok ? "completed" : "FAILED", probe.byteCount(), seconds,
            bodySize / 1e6 / seconds, static_cast<long long>(panelUpdates), peakMemoryMiB());
    }
    return 0;
}
