// How late the window's UI thread answers while it crawls a site: a probe
// timer asks to run every 10 ms and notes how much later than that it ran.
//   window_responsiveness URL PAGE_LIMIT
// Prints the crawl's wall time and the probe's lateness percentiles.
#include <QApplication>
#include <QElapsedTimer>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <vector>

#include "app/core/crawl_session.h"
#include "window_harness.h"

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Lexicrawl"));
    if (argc < 3) {
        std::fprintf(stderr, "usage: window_responsiveness URL PAGE_LIMIT\n");
        return 2;
    }
    const QString url = QString::fromLocal8Bit(argv[1]);
    lexicrawl::bench::WindowHarness harness(std::atoi(argv[2]), 1280, 800);

    std::vector<double> lateMs;
    QElapsedTimer clock;
    QTimer probe;
    probe.setTimerType(Qt::PreciseTimer);
    probe.setInterval(10);
    qint64 last = 0;
    QObject::connect(&probe, &QTimer::timeout, [&] {
        const qint64 now = clock.nsecsElapsed();
        if (last > 0)
            lateMs.push_back(std::max(0.0, double(now - last) / 1e6 - 10.0));
        last = now;
    });
    clock.start();
    probe.start();
    QElapsedTimer crawl;
    crawl.start();
    const bool finished = harness.Crawl(url, 600000);
    const double seconds = double(crawl.nsecsElapsed()) / 1e9;
    probe.stop();
    std::sort(lateMs.begin(), lateMs.end());
    auto at = [&](double q) { return lateMs.empty() ? 0.0 : lateMs[size_t(q * double(lateMs.size() - 1))]; };
    std::printf("crawl %s in %.2f s, %zu rows\n", finished ? "finished" : "DID NOT FINISH", seconds,
                size_t(harness.Window().Session().Control().Table().Count()));
    std::printf("probe lateness over %zu ticks: median %.1f ms, p99 %.1f ms, max %.1f ms\n", lateMs.size(), at(0.5),
                at(0.99), lateMs.empty() ? 0.0 : lateMs.back());
    return finished ? 0 : 1;
}
