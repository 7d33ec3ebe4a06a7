#pragma once
// The desktop's platform services: real message boxes, the desktop's "open"
// action, new instances of the program, the clipboard and the beep. A core
// thread that shows a message waits on the UI thread until it is dismissed,
// as a recording failure should hold the crawl.
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

protected:
    // Runs work on the UI thread, waiting for it when called from another.
    static void OnUiThread(const std::function<void()>& work);
};

}  // namespace lexicrawl::gui
