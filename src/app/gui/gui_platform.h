#pragma once
// The desktop's platform services: real message boxes, the desktop's "open"
// action, new instances of the program, the clipboard and the beep. Called
// from another thread, a member never waits for the UI thread: the box, the
// opening or the copy is posted there, and Confirm answers "no". A crawl
// that must pause for a message waits on a condition of its own
// (CrawlHost::Message), not here.
//
// Thread-safety: every member may be called from any thread; what needs
// the UI thread runs there.
#include <functional>

#include "platform/headless_platform.h"

namespace lexicrawl::gui {

class GuiPlatform : public HeadlessPlatform {
public:
    void ShowMessage(const QString& text) override;
    void MessageBox(const QString& title, const QString& text, MessageIcon icon) override;
    bool Confirm(const QString& title, const QString& text, const QString& yes, const QString& no) override;
    bool OpenDocument(const QString& target) override;
    bool StartNewInstance(const QString& commandLine) override;
    void SetClipboardText(const QString& text) override;
    void Beep() override;
    // The data folder the instances this one starts are given; empty: none.
    void SetInstanceDataFolder(const QString& folder) { instanceDataFolder_ = folder; }

protected:
    static bool OnUiThread();
    // Runs work on the UI thread later, without waiting for it.
    static void Later(std::function<void()> work);

private:
    QString instanceDataFolder_;  // set before the window exists, read-only after
};

}  // namespace lexicrawl::gui
