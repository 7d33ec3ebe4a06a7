#pragma once
// The command line's side of a crawl. There is no UI thread to protect: the
// main thread only waits for the collector. The collector reads each page it
// hands over (parse, facts, words) and a PageWriter checks and stores the
// words on its own thread while the collector fetches the next page; the
// dictionary is only ever used there. Work for the UI thread (completion,
// the end report) runs on the collector thread once every page handed over
// is stored, and a failed write fails the crawl as a failed recording would.
// Progress goes to standard error: on a terminal one live line, otherwise one
// line per visited page; nothing when quiet.
//
// Thread-safety: called from the collector thread and, at Start, from the
// main thread, never from both at once; the progress state is under a lock.
#include <QMutex>
#include <QString>

#include "analysis/page_recorder.h"
#include "cli/page_writer.h"
#include "crawl/crawl_host.h"

namespace lexicrawl {
class InternalUrls;
}

namespace lexicrawl::cli {

class CliHost : public CrawlHost {
public:
    enum class Progress { None, LiveLine, LinePerPage };

    CliHost(PageRecorder& recorder, Progress progress);
    // The table whose rows the progress lines describe.
    void SetTable(const InternalUrls* table) { table_ = table; }
    // Ends the live line, so that what follows starts on a fresh line.
    void FinishProgress();

    void SetStatusText(int panel, const QString& text) override;
    void RepaintRow(qsizetype row) override;
    void RecordPage(const QString& url, const QString& source) override;
    void RunOnUiThread(const std::function<void()>& work) override;
    void PostToUiThread(std::function<void()> work) override;

private:
    void WriteLive();

    PageRecorder& recorder_;
    const Progress progress_;
    const InternalUrls* table_ = nullptr;
    QMutex mutex_;
    QString position_, elapsed_, loading_;
    bool liveShown_ = false;
    PageWriter writer_;  // last: its thread ends before the rest goes
};

}  // namespace lexicrawl::cli
