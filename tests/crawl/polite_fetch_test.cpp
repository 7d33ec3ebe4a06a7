#include <gtest/gtest.h>

#include "test_printers.h"

#include <QElapsedTimer>

#include <thread>

#include "crawl/internal_urls.h"
#include "crawl/polite_fetch.h"
#include "crawl/prefetcher.h"
#include "fake_site.h"

using namespace lexicrawl;

namespace {

TEST(RetryAfter, SecondsOrAnHttpDate)
{
    const QDateTime now = QDateTime::fromString(QStringLiteral("Wed, 21 Oct 2026 07:28:00 +0000"), Qt::RFC2822Date);
    ASSERT_TRUE(now.isValid());
    EXPECT_EQ(RetryAfterDelayMs("120", now), 120000);
    EXPECT_EQ(RetryAfterDelayMs(" 0 ", now), 0);
    EXPECT_EQ(RetryAfterDelayMs("Wed, 21 Oct 2026 07:28:30 GMT", now), 30000);
    EXPECT_EQ(RetryAfterDelayMs("Wed, 21 Oct 2026 07:00:00 GMT", now), 0);  // in the past: at once
    EXPECT_EQ(RetryAfterDelayMs("-5", now), -1);
    EXPECT_EQ(RetryAfterDelayMs("soon", now), -1);
    // Numbers that would overflow as milliseconds are clamped first.
    const qint64 year = 365LL * 24 * 3600 * 1000;
    EXPECT_EQ(RetryAfterDelayMs("9223372036854775", now), year);
    EXPECT_EQ(RetryAfterDelayMs("9223372036854775807", now), year);
    EXPECT_EQ(RetryAfterDelayMs("99999999999999999999", now), -1);  // not a 64-bit number at all
}

TEST(HostPacer, KeepsThePauseBetweenRequestsToOneHostOnly)
{
    HostPacer pacer(150);
    QElapsedTimer clock;
    clock.start();
    ASSERT_TRUE(pacer.WaitTurn(QStringLiteral("a.test"), nullptr));
    ASSERT_TRUE(pacer.WaitTurn(QStringLiteral("b.test"), nullptr));
    EXPECT_LT(clock.elapsed(), 100);  // another host does not wait
    ASSERT_TRUE(pacer.WaitTurn(QStringLiteral("a.test"), nullptr));
    EXPECT_GE(clock.elapsed(), 140);
    std::atomic<bool> stop{true};
    EXPECT_FALSE(pacer.WaitTurn(QStringLiteral("a.test"), &stop));
}

TEST(FetchPolitely, WaitsOutATooManyRequestsAnswerAndAsksAgain)
{
    test::FakeSite site;
    const QString url = QStringLiteral("http://a.test/busy.html");
    site.AddBusy(url, QStringLiteral("here\r\n"), 2, 150);
    HostPacer pacer(0);
    QElapsedTimer clock;
    clock.start();
    const PageFetch fetched = FetchPolitely(site.Function(), url, FetchSettings{}, nullptr, pacer);
    EXPECT_GE(clock.elapsed(), 280);
    EXPECT_EQ(fetched.statusCode, 200);
    EXPECT_EQ(fetched.source, QStringLiteral("here\r\n"));
    EXPECT_EQ(fetched.fetchError, QString());
    EXPECT_EQ(site.Fetched().size(), 3);

    // A server that keeps answering 429 is given up after a few tries; a stop ends the wait.
    site.AddBusy(url, QStringLiteral("never\r\n"), 100, 50);
    EXPECT_EQ(FetchPolitely(site.Function(), url, FetchSettings{}, nullptr, pacer).statusCode, 429);
    EXPECT_EQ(site.Fetched().size(), 3 + 1 + kMaxRetries);
    site.AddBusy(url, QStringLiteral("never\r\n"), 100, 60000);
    std::atomic<bool> stop{false};
    std::thread stopper([&stop] {
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        stop = true;
    });
    clock.restart();
    FetchPolitely(site.Function(), url, FetchSettings{}, &stop, pacer);
    stopper.join();
    EXPECT_LT(clock.elapsed(), 2000);
}

// A table of n pages of `bytes` characters each.
void FillSite(test::FakeSite& site, InternalUrls& table, int n, int bytes)
{
    for (int i = 0; i < n; ++i) {
        const QString url = QStringLiteral("http://a.test/p%1.html").arg(i);
        site.Add(url, QString(bytes, u'x'));
        table.Append(url);
    }
}

TEST(Prefetcher, FetchesAheadInTableOrderWithinItsBounds)
{
    test::FakeSite site;
    InternalUrls table;
    FillSite(site, table, 40, 100);
    HostPacer pacer(0);
    {
        Prefetcher prefetcher(table, site.Function(), FetchSettings{}, nullptr, pacer, 3, 5, 1 << 20);
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        EXPECT_EQ(site.Fetched().size(), 5);  // nothing taken yet: five ahead, no more
        for (int i = 0; i < 40; ++i)
            ASSERT_EQ(prefetcher.Take(i).source.size(), 100) << i;
    }
    QStringList expected;
    for (int i = 0; i < 40; ++i)
        expected << QStringLiteral("http://a.test/p%1.html").arg(i);
    QStringList fetched = site.Fetched();
    fetched.sort();
    expected.sort();
    EXPECT_EQ(fetched, expected);  // each page once

    // Large pages: what waits to be taken stays under the byte bound.
    test::FakeSite big;
    InternalUrls bigTable;
    FillSite(big, bigTable, 20, 1 << 20);  // 2 MiB each as text
    Prefetcher prefetcher(bigTable, big.Function(), FetchSettings{}, nullptr, pacer, 4, 16, 5 << 20);
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    EXPECT_LE(big.Fetched().size(), 3 + 3);  // the bound, plus what was in flight when it was reached
    EXPECT_EQ(prefetcher.Take(0).source.size(), 1 << 20);
}

TEST(Prefetcher, AStopEndsEveryTransferAtOnce)
{
    test::FakeSite site;
    InternalUrls table;
    FillSite(site, table, 10, 10);
    std::atomic<bool> stop{false};
    std::atomic<int> waiting{0};
    site.OnFetch([&](const QString&, const FetchSettings&, const std::atomic<bool>* flag) {
        ++waiting;
        while (!flag->load())  // transfers that only a stop ends
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
    });
    HostPacer pacer(0);
    QElapsedTimer clock;
    {
        Prefetcher prefetcher(table, site.Function(), FetchSettings{}, &stop, pacer, 4, 8, 1 << 20);
        while (waiting.load() < 4)
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        clock.start();
        stop = true;
        EXPECT_TRUE(prefetcher.Take(0).stopped);
    }
    EXPECT_LT(clock.elapsed(), 1000);
}

}  // namespace
