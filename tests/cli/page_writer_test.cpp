#include <gtest/gtest.h>

#include <QStringList>

#include <atomic>
#include <stdexcept>
#include <thread>

#include "cli/page_writer.h"

namespace lexicrawl::cli {
namespace {

PageRecord Titled(const QString& title)
{
    PageRecord r;
    r.title = title;
    return r;
}

TEST(PageWriter, WritesInOrderAndDrainWaitsForTheLast)
{
    QStringList written;
    {
        PageWriter writer(
            [&](const QString& url, const PageRecord& record) {
                std::this_thread::sleep_for(std::chrono::milliseconds(2));
                written << url + QLatin1Char('=') + record.title;
            },
            2);
        for (int i = 0; i < 10; ++i)
            writer.Push(QString::number(i), Titled(QStringLiteral("t%1").arg(i)));
        writer.Drain();
        ASSERT_EQ(written.size(), 10);
        EXPECT_EQ(written.first(), QStringLiteral("0=t0"));
        EXPECT_EQ(written.last(), QStringLiteral("9=t9"));
        writer.Push(QStringLiteral("last"), Titled(QString()));
    }
    // Going away writes what is still queued.
    EXPECT_EQ(written.last(), QStringLiteral("last="));
}

TEST(PageWriter, AFailedWriteIsThrownOnceAndStopsTheWriting)
{
    std::atomic<int> writes{0};
    PageWriter writer([&](const QString& url, const PageRecord&) {
        ++writes;
        if (url == QLatin1String("bad"))
            throw std::runtime_error("disk full");
    });
    writer.Push(QStringLiteral("a"), {});
    writer.Push(QStringLiteral("bad"), {});
    writer.Wait();  // leaves the failure for the next Push or Drain
    try {
        writer.Drain();
        ADD_FAILURE() << "the failure was not thrown";
    } catch (const std::runtime_error& e) {
        EXPECT_STREQ(e.what(), "disk full");
    }
    EXPECT_NO_THROW(writer.Drain());
    EXPECT_NO_THROW(writer.Push(QStringLiteral("after"), {}));
    writer.Wait();
    EXPECT_EQ(writes.load(), 2);
}

}  // namespace
}  // namespace lexicrawl::cli
