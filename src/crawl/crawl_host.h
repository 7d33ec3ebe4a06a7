#pragma once
// What a crawl tells its front end (the desktop window, the command line):
// a few events carrying values, which each front end renders in its own
// way. Numbers stay numbers here; formatting them for the user (decimal
// separator, translated captions) is the view's business.
//
// Every event but Message is called on the crawl's collector thread, never
// on the front end's UI thread, and never two at once; Message also comes
// from the recording worker. A host must not block in
// them on its UI thread: a window posts the values on to it. The core never
// waits for the front end, so a front end that stops and joins a crawl
// cannot deadlock against it.
//
// Thread-safety: as above; each default does nothing.
#include <QString>

#include "crawl/crawl_notes.h"
#include "crawl/internal_urls.h"
#include "platform/user_message.h"

namespace lexicrawl {

// How a crawl ended.
enum class CrawlOutcome {
    Completed,  // the last entry of the table was visited
    Stopped,    // the user stopped it
    Failed,     // a failure ended it (an invalid ignore pattern, a failed recording)
};

// Where a running crawl stands, sent before each fetch.
struct CrawlProgress {
    qsizetype position = 0;     // 1-based index of the entry being fetched
    qsizetype tableLength = 0;  // entries in the table (URLs collected so far)
    qsizetype pagesDone = 0;    // entries visited so far
    qsizetype pagesFailed = 0;  // of those, the ones whose fetch failed
    qint64 elapsedMs = 0;       // since the crawl started
    QString currentUrl;         // the page being fetched
    quint64 crawl = 0;          // the crawl it belongs to (StartResult::crawl)
};

// An entry that has its load time, status code and failure text.
struct VisitedRow {
    quint64 crawl = 0;          // the crawl it belongs to (StartResult::crawl)
    qsizetype row = 0;          // its index in the table
    qsizetype tableLength = 0;  // entries in the table then
    InternalUrl entry;
};

// The figures of a finished crawl.
struct CrawlSummary {
    CrawlOutcome outcome = CrawlOutcome::Completed;
    QString failureText;        // for a failed crawl: what ended it
    qsizetype tableLength = 0;
    qsizetype pagesDone = 0;    // entries visited
    qsizetype pagesFailed = 0;  // no answer, an error status, or a body that broke off
    qint64 elapsedMs = 0;
    quint64 crawl = 0;          // the crawl it belongs to (StartResult::crawl)
    // Obeying robots.txt, reading sitemaps: what they added to the crawl.
    CrawlNotes notes;
};

class CrawlHost {
public:
    virtual ~CrawlHost() = default;

    // The redirect probe took over the start URL's first redirect: the crawl
    // starts at url instead (the URL field shows it).
    virtual void StartUrlChanged(const QString& url) {}
    // Sent before each fetch.
    virtual void Progress(const CrawlProgress& progress) {}
    // The table grew to tableLength entries: at most once per processed page.
    virtual void RowsAppended(qsizetype tableLength) {}
    virtual void RowVisited(const VisitedRow& visited) {}
    // A message for the user (a failed statement). Answer true when the
    // front end will acknowledge it (CrawlSession::AcknowledgeMessage): the
    // thread that reported it, and so the crawl, waits until then, or until
    // Stop or the session's end. Answer false to let the crawl go on.
    virtual bool Message(const UserMessage& message) { return false; }
    // A failure ended the crawl ("ERROR"); Finished follows.
    virtual void Error(const QString& text) {}
    // Sent once per crawl, last of all (a front end that has started
    // another crawl meanwhile tells them apart by summary.crawl): every page handed over is recorded,
    // the crawl is idle and a new Start is accepted from now on.
    virtual void Finished(const CrawlSummary& summary) {}
};

}  // namespace lexicrawl
