#pragma once
// The command line's platform: what the window would show in a message box
// goes to standard error as one line, prefixed with the program name, and the
// crawl goes on. --quiet silences it.
//
// Thread-safety: as HeadlessPlatform, every member may be called from any thread.
#include <atomic>

#include "platform/headless_platform.h"

namespace lexicrawl::cli {

class CliPlatform : public HeadlessPlatform {
public:
    void ShowMessage(const QString& text) override;
    void MessageBox(const QString& title, const QString& text, MessageIcon icon) override;
    void SetQuiet(bool quiet) { quiet_ = quiet; }
    // How many messages were shown (or would have been, when quiet).
    int MessageCount() const { return count_; }

    // One line: every run of line breaks becomes ": " between its texts.
    static QString OneLine(const QString& text);

private:
    std::atomic<bool> quiet_{false};
    std::atomic<int> count_{0};
};

}  // namespace lexicrawl::cli
