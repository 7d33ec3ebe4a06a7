#pragma once
// The command line's platform: what the window would show in a message box
// goes to standard error as one line, prefixed with the program name, and the
// crawl goes on. These are errors and warnings, so --quiet never hides them.
//
// Thread-safety: as HeadlessPlatform, every member may be called from any thread.
#include "platform/headless_platform.h"

namespace lexicrawl::cli {

class CliPlatform : public HeadlessPlatform {
public:
    void ShowMessage(const QString& text) override;
    void MessageBox(const QString& title, const QString& text, MessageIcon icon) override;

    // One line: every run of line breaks becomes a single space between its texts.
    static QString OneLine(const QString& text);
};

// Writes "lexicrawl-cli: " + text as one line on standard error, first
// clearing a live progress line on a terminal.
void PrintError(const QString& text);

}  // namespace lexicrawl::cli
