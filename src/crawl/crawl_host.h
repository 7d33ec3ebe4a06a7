#pragma once
// What a front end (the desktop window, the command line) does for a crawl:
// shows progress, records pages, and runs work on its UI thread. The crawl
// core knows nothing of windows; it speaks only to this interface. User
// messages (message boxes) go through Platform::Current(), whose
// implementation must accept them from any thread and, in a GUI, keep the
// calling thread waiting until the box is dismissed.
//
// Thread-safety: each member says which thread calls it. Every member has a
// default that suits a host without a UI thread (work runs at once on the
// calling thread, and progress is not shown).
#include <QString>

#include <functional>

namespace lexicrawl {

class CrawlHost {
public:
    virtual ~CrawlHost() = default;

    // Collector thread, must not wait for the UI thread: post the change.
    // Panels: 0 URL count, 1 position, 2 elapsed time, 3 current page / state.
    virtual void SetStatusText(int panel, const QString& text) {}
    // The "Internal URLs" list's row count (0 at Start, the table length after every append).
    virtual void SetRowCount(qsizetype count) {}
    virtual void RepaintRow(qsizetype row) {}

    // Collector thread, synchronous: records one fetched page (empty source
    // for a failed fetch) and returns when done. A failure it throws
    // (std::exception) ends the collector with an "ERROR" box.
    virtual void RecordPage(const QString& url, const QString& source) {}

    // Runs work on the UI thread and returns when it has run.
    virtual void RunOnUiThread(const std::function<void()>& work) { work(); }
    // Runs work on the UI thread later, without waiting.
    virtual void PostToUiThread(std::function<void()> work) { work(); }

    // UI thread (Start sequence, completion routine).
    virtual void SetStartButton(const QString& caption, bool enabled) {}
    virtual void SetOptionPanelsEnabled(bool enabled) {}
    virtual void SetBusyCursor(bool busy) {}
    virtual void SetUrlFieldText(const QString& text) {}
    virtual void FocusUrlField() {}
    // Reloads the unknown-word list from the project database.
    virtual void RefreshUnknownWords() {}
    // Starts or stops reloading that list every 5000 ms.
    virtual void SetUnknownWordTimer(bool enabled) {}
    // The collector's thread has ended (after any "ERROR" box); a new Start
    // is accepted from now on. Also the moment a front end without a UI
    // thread may stop waiting.
    virtual void CrawlEnded() {}
};

}  // namespace lexicrawl
