#include <gtest/gtest.h>

#include <QStringList>

#include <atomic>
#include <stdexcept>
#include <thread>

#include "analysis/page_recorder.h"
#include "analysis/recording_pipeline.h"
#include "platform/serial_worker.h"
#include "qstring_printer.h"
#include "recording_platform.h"
#include "store/project_database.h"

using namespace lexicrawl;

namespace {

class RecordingPipelineTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(db.PrepareForCrawl(DatabaseLocation::Memory)); }

    QStringList Column(const QString& sql)
    {
        QStringList values;
        db.Query(sql, [&values](const Row& row) { values << row.At(0); });
        return values;
    }

    RecordingPlatform platform;
    ProjectDatabase db{QString(), QString()};
    SerialWorker worker{2};
};

TEST_F(RecordingPipelineTest, ChecksAndWritesOnTheWorkerInTheOrderGiven)
{
    std::atomic<bool> checkedOnCaller{false};
    const std::thread::id caller = std::this_thread::get_id();
    PageRecorder recorder(db, [&](const QStringList& words) {
        if (std::this_thread::get_id() == caller)
            checkedOnCaller = true;
        std::vector<bool> known;
        for (const QString& w : words)
            known.push_back(w != QLatin1String("teh"));
        return known;
    });
    RecordingPipeline pipeline(worker, recorder);
    for (int i = 0; i < 20; ++i) {
        const QString url = QStringLiteral("http://h/%1").arg(i);
        db.Execute(QStringLiteral("insert into PAGES (URL) values ('%1');").arg(url));
        ASSERT_TRUE(pipeline.RecordPage(url, QStringLiteral("<title>T%1</title><p>teh page</p>").arg(i)));
    }
    // Finish waits for the last row.
    EXPECT_EQ(pipeline.Finish(), QString());
    const QStringList urls = Column(QStringLiteral("SELECT URL FROM MISSPELLED ORDER BY ID"));
    ASSERT_EQ(urls.size(), 20);
    EXPECT_EQ(urls.first(), QStringLiteral("http://h/0"));
    EXPECT_EQ(urls.last(), QStringLiteral("http://h/19"));
    EXPECT_EQ(Column(QStringLiteral("SELECT TITLE FROM PAGES ORDER BY ID")).last(), QStringLiteral("T19"));
    EXPECT_FALSE(checkedOnCaller.load());
}

TEST_F(RecordingPipelineTest, AFailedRecordingFailsTheCrawlOnceAndTheNextCrawlStartsClean)
{
    std::atomic<int> checks{0};
    PageRecorder recorder(db, [&](const QStringList& words) {
        ++checks;
        if (words.contains(QStringLiteral("boom")))
            throw std::runtime_error("dictionary failed");
        return std::vector<bool>(size_t(words.size()), true);
    });
    RecordingPipeline pipeline(worker, recorder);
    pipeline.RecordPage(QStringLiteral("a"), QStringLiteral("<p>fine</p>"));
    pipeline.RecordPage(QStringLiteral("b"), QStringLiteral("<p>boom</p>"));
    worker.Wait();
    // Once a recording failed, nothing more is taken.
    EXPECT_FALSE(pipeline.RecordPage(QStringLiteral("c"), QStringLiteral("<p>fine</p>")));
    EXPECT_EQ(pipeline.Finish(), QStringLiteral("dictionary failed"));
    EXPECT_EQ(checks.load(), 2);

    EXPECT_TRUE(pipeline.RecordPage(QStringLiteral("d"), QStringLiteral("<p>fine</p>")));
    EXPECT_EQ(pipeline.Finish(), QString());
    EXPECT_EQ(checks.load(), 3);
}

}  // namespace
