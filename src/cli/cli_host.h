#pragma once
// The command line's side of a crawl. There is no UI thread to protect: the
// main thread only waits for the collector, so the collector's hand-offs
// (page recording, completion) run at once on the collector thread, which
// keeps every dictionary and database call on one thread at a time.
// Progress goes to standard error: on a terminal one live line, otherwise one
// line per visited page; nothing when quiet.
//
// Thread-safety: called from the collector thread and, at Start, from the
// main thread, never from both at once; the progress state is under a lock.
#include <QMutex>
#include <QString>

#include "analysis/page_recorder.h"
#include "crawl/crawl_host.h"

namespace lexicrawl {
class InternalUrls;
}

namespace lexicrawl::cli {

class CliHost : public CrawlHost {
public:
    enum class Progress { None, LiveLine, LinePerPage };

    CliHost(TPageRecorder& recorder, Progress progress);
    // The table whose rows the progress lines describe.
    void SetTable(const InternalUrls* table) { table_ = table; }
    // Ends the live line, so that what follows starts on a fresh line.
    void FinishProgress();

    void SetStatusText(int panel, const QString& text) override;
    void RepaintRow(qsizetype row) override;
    void RecordPage(const QString& url, const QString& source) override;

private:
    void WriteLive();

    TPageRecorder& recorder_;
    const Progress progress_;
    const InternalUrls* table_ = nullptr;
    QMutex mutex_;
    QString position_, elapsed_, loading_;
    bool liveShown_ = false;
};

}  // namespace lexicrawl::cli
