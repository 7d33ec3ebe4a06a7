#include "window_harness.h"

#include <QLineEdit>
#include <QSignalSpy>

#include <cstdio>

#include "app/core/settings.h"

namespace lexicrawl::bench {

QString HarnessPlatform::ProgramFolder() const
{
    return QStringLiteral(LEXICRAWL_BIN_DIR "/");
}

void HarnessPlatform::ShowMessage(const QString& text)
{
    std::fprintf(stderr, "message: %s\n", qPrintable(text));
}

void HarnessPlatform::MessageBox(const QString& title, const QString& text, MessageIcon)
{
    ShowMessage(title + QStringLiteral(": ") + text);
}

WindowHarness::WindowHarness(int pageLimit, int width, int height)
{
    Platform::SetCurrent(&platform_);
    {
        Settings settings(data_.path());
        settings.SetRaw(QStringLiteral("WindowState"), QStringLiteral("Normal"));
        settings.SetPosition(0, 0);
        settings.SetSize(width, height);
        settings.SetPageLimit(pageLimit);
        settings.SetDictionaryLanguage(QStringLiteral("English (United States)"));
    }
    environment_ = std::make_unique<AppEnvironment>(platform_, data_.path());
    window_ = std::make_unique<gui::MainWindow>(*environment_);
    QSignalSpy dictionaries(window_.get(), &gui::MainWindow::dictionariesLoaded);
    window_->ShowRestored();
    dictionaries.wait(30000);
}

WindowHarness::~WindowHarness()
{
    window_.reset();
    environment_.reset();
    Platform::SetCurrent(nullptr);
}

bool WindowHarness::Crawl(const QString& url, int timeoutMs)
{
    QSignalSpy finished(window_.get(), &gui::MainWindow::crawlFinished);
    window_->UrlBox()->setText(url);
    window_->StartStop();
    return finished.wait(timeoutMs);
}

}  // namespace lexicrawl::bench
