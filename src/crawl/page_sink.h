#pragma once
// Where the collector hands each fetched page for recording. The recording
// itself (reading facts and words, checking the words, writing the rows)
// lives in the layers above; the collector only knows this interface.
//
// Thread-safety: RecordPage and Finish are called on the collector thread;
// BeginCrawl on the thread that starts the crawl, before the collector runs.
#include <QByteArray>
#include <QString>

#include "crawl/crawl_options.h"

namespace lexicrawl {

class PageSink {
public:
    virtual ~PageSink() = default;

    // A crawl with these options begins in a freshly prepared database; no
    // page of it has been handed over yet.
    virtual void BeginCrawl(const CrawlOptions& options) {}

    // Hands one fetched page over for recording (an empty source after a
    // failed fetch); may wait while earlier pages are still being written.
    // Answers false once a recording has failed: the crawl then ends, and
    // Finish says why.
    virtual bool RecordPage(const QString& url, const QString& source) = 0;
    // Hands over a fetched document (a body that is not text, kept as it
    // came, with its declared type) of a crawl that reads documents. A sink
    // that cannot read documents records it as a page without source.
    virtual bool RecordDocument(const QString& url, const QByteArray& body, const QByteArray& contentType)
    {
        return RecordPage(url, QString());
    }
    // Returns once every page handed over is recorded. Answers the text of
    // a recording failure of this crawl, or empty text; the sink is then
    // ready for the next crawl.
    virtual QString Finish() = 0;
};

}  // namespace lexicrawl
