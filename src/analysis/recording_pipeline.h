#pragma once
// How every front end records the pages of a crawl. Reading a page (parse,
// title, description, headings, words: the costly part, which needs neither
// dictionary nor database) runs on a pool of reader threads, several pages
// at once, or on the collector's own thread when there are no readers; the
// word checks and the statements then run in table order on the recording
// worker, the one thread that owns the spelling engine, which waits for each
// page's reading in turn. Pages handed over and not yet written are bounded
// in number and in bytes: a collector that runs ahead waits. Finish waits
// until the last page is written, so a crawl ends, and the next one starts,
// with every row in place.
//
// A recording that throws fails the crawl once: what is queued after it is
// dropped, and the collector stops at its next page.
//
// Thread-safety: RecordPage and Finish are called on the collector thread,
// BeginCrawl while no crawl runs; the writes run on the worker.
#include <QString>

#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>

#include "crawl/page_sink.h"

namespace lexicrawl {

class PageRecorder;
struct PageRecord;
struct TextOptions;
class SerialWorker;
class TaskPool;

class RecordingPipeline : public PageSink {
public:
    // readers: threads that read pages side by side (0: the collector reads them).
    RecordingPipeline(SerialWorker& worker, PageRecorder& recorder, int readers = 0);
    ~RecordingPipeline() override;

    // Takes the crawl's text options: how each page of it is read and what
    // the project records about the reading.
    void BeginCrawl(const CrawlOptions& options) override;
    bool RecordPage(const QString& url, const QString& source) override;
    // Reads the document's text (bounded) on a reader thread, then records
    // it as a page is recorded, with its DOCUMENTS row.
    bool RecordDocument(const QString& url, const QByteArray& body, const QByteArray& contentType) override;
    QString Finish() override;

    // Pages handed over and not yet written, at most.
    static constexpr int kMaxPagesInFlight = 16;
    static constexpr qint64 kMaxBytesInFlight = 64 * 1024 * 1024;

private:
    // Reads a record with read (on a reader thread when there are some) and
    // has the worker write it in turn.
    bool Record(const QString& url, qint64 bytes, std::function<PageRecord(const TextOptions&)> read);
    void Fail(const QString& text);
    bool Failed();
    void Admit(qint64 bytes);
    void Release(qint64 bytes);

    SerialWorker& worker_;
    PageRecorder& recorder_;
    std::unique_ptr<TaskPool> readers_;
    std::mutex mutex_;
    std::condition_variable released_;
    int pagesInFlight_ = 0;
    qint64 bytesInFlight_ = 0;
    QString failure_;
    bool failed_ = false;
    TextOptions text_;  // under mutex_
};

}  // namespace lexicrawl
