#pragma once
// The state of the crawl, one per process, shared by the UI thread and the
// collector: the options captured at Start, the stop request and the counts.
//
// Thread-safety: StopRequested, AddedCount and the link options are atomic
// and may be touched from any thread. The other fields are written by the
// Start sequence before the collector starts and afterwards only by the
// collector (StartUrl by its redirect probe, CurrentPageHtml by every fetch),
// which alone reads them during the crawl.
#include <QString>
#include <QStringList>

#include <atomic>

#include "crawl/fetcher.h"

namespace lexicrawl {

// Options of link processing that the user may change during a crawl; each
// link reads them afresh.
struct LinkOptions {
    std::atomic<bool> removeAnchors{true};
    std::atomic<bool> removeQueryString{false};
    std::atomic<bool> stripHtmlMarkup{true};
};

struct CrawlState {
    std::atomic<bool> stopRequested{false};
    QString startUrl;             // the crawl root; scope decisions compare against it
    bool subdomainScope = false;  // false: same domain; true: same host
    qint64 urlLimit = 0;          // maximum number of table entries
    std::atomic<qint64> addedCount{0};
    QString ignoreExtensionsText;  // space-separated, trimmed
    lexicrawl::FetchSettings fetchSettings;
    int connections = 1;   // requests in flight at once
    int delayMs = 0;       // pause between the starts of two requests to one host
    bool robots = false;   // obey robots.txt
    bool sitemaps = false; // read the sitemaps after the start page
    bool documents = false; // take and read linked documents
    bool render = false;   // pages rendered in a browser
    int renderTimeoutMs = 0;
    QStringList renderAllowedHosts;  // other hosts a rendered page may ask
    QString currentPageHtml;  // source text of the page fetched last
    LinkOptions options;
};

}  // namespace lexicrawl
