#pragma once
// The real main window for benchmarks and screenshots: its own data folder
// (fixed geometry, the given page limit), the program's run-time files from
// the build, and a crawl that the caller waits for.
#include <QTemporaryDir>

#include <memory>

#include "app/core/app_environment.h"
#include "app/gui/gui_platform.h"
#include "app/gui/main_window.h"

namespace lexicrawl::bench {

// The build's run-time files, and messages on standard error rather than in
// boxes that would wait for a click.
class HarnessPlatform : public gui::GuiPlatform {
public:
    QString ProgramFolder() const override;
    void ShowMessage(const QString& text) override;
    void MessageBox(const QString& title, const QString& text, MessageIcon icon) override;
};

class WindowHarness {
public:
    WindowHarness(int pageLimit, int width, int height);
    ~WindowHarness();

    gui::MainWindow& Window() { return *window_; }
    // Starts a crawl from the URL box; answers whether it finished within timeoutMs.
    bool Crawl(const QString& url, int timeoutMs);

private:
    HarnessPlatform platform_;
    QTemporaryDir data_;
    std::unique_ptr<AppEnvironment> environment_;
    std::unique_ptr<gui::MainWindow> window_;
};

}  // namespace lexicrawl::bench
