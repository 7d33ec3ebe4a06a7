#pragma once
// How every front end records the pages of a crawl. The collector reads each
// page it hands over (parse, title, description, headings, words: the costly
// part, which needs neither dictionary nor database) on its own thread; the
// word checks and the statements then run in order on the recording worker,
// the one thread that owns the spelling engine, while the collector fetches
// the next page. The worker's queue is short: a collector that runs ahead
// waits. Finish waits until the last page is written, so a crawl ends, and
// the next one starts, with every row in place.
//
// A recording that throws fails the crawl once: what is queued after it is
// dropped, and the collector stops at its next page.
//
// Thread-safety: RecordPage and Finish are called on the collector thread,
// BeginCrawl while no crawl runs; the writes run on the worker.
#include <QString>

#include <mutex>

#include "crawl/page_sink.h"

namespace lexicrawl {

class PageRecorder;
class SerialWorker;

class RecordingPipeline : public PageSink {
public:
    RecordingPipeline(SerialWorker& worker, PageRecorder& recorder);

    // Takes the crawl's text options: how each page of it is read and what
    // the project records about the reading.
    void BeginCrawl(const CrawlOptions& options) override;
    bool RecordPage(const QString& url, const QString& source) override;
    QString Finish() override;

private:
    void Fail(const QString& text);
    bool Failed();

    SerialWorker& worker_;
    PageRecorder& recorder_;
    std::mutex mutex_;
    QString failure_;
    bool failed_ = false;
    TextOptions text_;  // under mutex_
};

}  // namespace lexicrawl
