#include "analysis/recording_pipeline.h"

#include <exception>
#include <future>
#include <memory>

#include "analysis/document_record.h"
#include "analysis/page_record.h"
#include "analysis/page_recorder.h"
#include "platform/serial_worker.h"
#include "platform/task_pool.h"

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

RecordingPipeline::RecordingPipeline(SerialWorker& worker, PageRecorder& recorder, int readers)
    : worker_(worker), recorder_(recorder)
{
    if (readers > 0)
        readers_ = std::make_unique<TaskPool>(readers);
}

RecordingPipeline::~RecordingPipeline() = default;

void RecordingPipeline::BeginCrawl(const CrawlOptions& options)
{
    {
        std::lock_guard<std::mutex> lock(mutex_);
        text_ = options.text;
    }
    recorder_.BeginCrawl(options.text);  // the worker is idle between crawls
}

bool RecordingPipeline::RecordPage(const QString& url, const QString& source)
{
    return Record(url, qint64(source.size()) * qint64(sizeof(QChar)),
                  [source](const TextOptions& text) { return ExtractPageRecord(source, text); });
}

bool RecordingPipeline::RecordDocument(const QString& url, const QByteArray& body, const QByteArray& contentType)
{
    return Record(url, body.size(), [url, body, contentType](const TextOptions& text) {
        return ExtractDocumentRecord(url, body, contentType, text);
    });
}

bool RecordingPipeline::Record(const QString& url, qint64 bytes, std::function<PageRecord(const TextOptions&)> extract)
{
    if (Failed())
        return false;
    TextOptions text;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        text = text_;
    }
    Admit(bytes);
    // Shared: std::function needs a copyable task, and a page's record is large.
    auto reading = std::make_shared<std::promise<PageRecord>>();
    std::shared_future<PageRecord> record = reading->get_future().share();
    auto read = [reading, extract = std::move(extract), text] {
        try {
            PageRecord record = extract(text);
            SplitTextWords(record, text);
            reading->set_value(std::move(record));
        } catch (...) {
            reading->set_exception(std::current_exception());
        }
    };
    if (readers_)
        readers_->Post(std::move(read));
    else
        read();
    worker_.PostBounded([this, url, record, bytes] {
        if (!Failed()) {
            try {
                recorder_.Write(url, record.get());
            } catch (...) {
                Fail(TextOf(std::current_exception()));
            }
        }
        Release(bytes);
    });
    return !Failed();
}

// Waits while too many pages, or too many bytes, are handed over and not
// yet written; a single page larger than the bound still goes on its own.
void RecordingPipeline::Admit(qint64 bytes)
{
    std::unique_lock<std::mutex> lock(mutex_);
    released_.wait(lock, [this, bytes] {
        return pagesInFlight_ == 0 ||
               (pagesInFlight_ < kMaxPagesInFlight && bytesInFlight_ + bytes <= kMaxBytesInFlight);
    });
    ++pagesInFlight_;
    bytesInFlight_ += bytes;
}

void RecordingPipeline::Release(qint64 bytes)
{
    {
        std::lock_guard<std::mutex> lock(mutex_);
        --pagesInFlight_;
        bytesInFlight_ -= bytes;
    }
    released_.notify_all();
}

QString RecordingPipeline::Finish()
{
    worker_.Post([this] { recorder_.EndCrawl(); });
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
