#include "analysis/recording_pipeline.h"

#include <exception>
#include <memory>

#include "analysis/page_record.h"
#include "analysis/page_recorder.h"
#include "platform/serial_worker.h"

namespace lexicrawl {

namespace {

QString TextOf(const std::exception_ptr& failure)
{
    try {
        std::rethrow_exception(failure);
    } catch (const std::exception& e) {
        return QString::fromUtf8(e.what());
    } catch (...) {
        return QStringLiteral("Unknown failure");
    }
}

}  // namespace

RecordingPipeline::RecordingPipeline(SerialWorker& worker, PageRecorder& recorder)
    : worker_(worker), recorder_(recorder)
{
}

void RecordingPipeline::BeginCrawl(const CrawlOptions& options)
{
    {
        std::lock_guard<std::mutex> lock(mutex_);
        text_ = options.Text;
    }
    recorder_.BeginCrawl(options.Text);  // the worker is idle between crawls
}

bool RecordingPipeline::RecordPage(const QString& url, const QString& source)
{
    if (Failed())
        return false;
    TextOptions text;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        text = text_;
    }
    // Shared: std::function needs a copyable task, and a page's record is large.
    std::shared_ptr<PageRecord> record;
    try {
        record = std::make_shared<PageRecord>(ExtractPageRecord(source, text));
    } catch (...) {
        Fail(TextOf(std::current_exception()));
        return false;
    }
    worker_.PostBounded([this, url, record] {
        if (Failed())
            return;
        try {
            recorder_.Write(url, *record);
        } catch (...) {
            Fail(TextOf(std::current_exception()));
        }
    });
    return !Failed();
}

QString RecordingPipeline::Finish()
{
    worker_.Wait();
    std::lock_guard<std::mutex> lock(mutex_);
    const QString failure = failure_;
    failure_.clear();
    failed_ = false;
    return failure;
}

void RecordingPipeline::Fail(const QString& text)
{
    std::lock_guard<std::mutex> lock(mutex_);
    if (!failed_) {
        failed_ = true;
        failure_ = text;
    }
}

bool RecordingPipeline::Failed()
{
    std::lock_guard<std::mutex> lock(mutex_);
    return failed_;
}

}  // namespace lexicrawl
