#pragma once
// The command line's view of a crawl: progress on standard error. On a
// terminal one status line is redrawn in place (pages done of the table's
// length, pages per second, failures so far, the current URL); otherwise (a
// CI log) one line per visited page; nothing when quiet.
//
// Thread-safety: the events come on the collector thread (Message also on
// the recording worker); FinishProgress is called on the main thread after
// the crawl.
#include <QMutex>
#include <QString>

#include <chrono>

#include "crawl/crawl_host.h"

namespace lexicrawl {
class InternalUrls;
}

namespace lexicrawl::cli {

class CliHost : public CrawlHost {
public:
    enum class Style { None, LiveLine, LinePerPage };

    explicit CliHost(Style style);
    // Ends the live line, so that what follows starts on a fresh line.
    void FinishProgress();

    void StartUrlChanged(const QString& url) override;
    void Progress(const CrawlProgress& progress) override;
    void RowVisited(const VisitedRow& visited) override;
    // Printed as the window would show it, and the crawl goes on.
    bool Message(const UserMessage& message) override;

private:
    const Style style_;
    QMutex mutex_;
    bool liveShown_ = false;
    std::chrono::steady_clock::time_point lastDrawn_;
};

}  // namespace lexicrawl::cli
