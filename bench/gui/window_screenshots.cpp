// Screenshots of the window after a real crawl, one per tab, with the first
// row of each list selected:
//   window_screenshots URL OUTDIR
// writes OUTDIR/internal-urls.png and OUTDIR/unknown-words.png.
#include <QApplication>
#include <QDir>
#include <QSignalSpy>
#include <QTabWidget>

#include <cstdio>

#include "app/gui/internal_urls_tab.h"
#include "app/gui/page_facts_pane.h"
#include "app/gui/unknown_words_tab.h"
#include "app/gui/word_sources_pane.h"
#include "window_harness.h"

using lexicrawl::gui::MainWindow;

namespace {

bool Save(MainWindow& window, const QString& path)
{
    QApplication::processEvents();
    return window.grab().save(path);
}

}  // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Lexicrawl"));
    if (argc < 3) {
        std::fprintf(stderr, "usage: window_screenshots URL OUTDIR\n");
        return 2;
    }
    const QString url = QString::fromLocal8Bit(argv[1]);
    const QString out = QString::fromLocal8Bit(argv[2]);
    QDir().mkpath(out);
    lexicrawl::bench::WindowHarness harness(60, 1280, 760);
    MainWindow& window = harness.Window();
    QSignalSpy refreshed(&window, &MainWindow::unknownWordsRefreshed);
    if (!harness.Crawl(url, 120000))
        return 1;
    refreshed.wait(10000);

    QSignalSpy facts(window.UrlsTab()->Facts(), &lexicrawl::gui::PageFactsPane::shown);
    window.Tabs()->setCurrentWidget(window.UrlsTab());
    window.UrlsTab()->SelectRow(0);
    facts.wait(5000);
    if (!Save(window, out + QStringLiteral("/internal-urls.png")))
        return 1;

    QSignalSpy sources(window.WordsTab()->Sources(), &lexicrawl::gui::WordSourcesPane::shown);
    window.Tabs()->setCurrentWidget(window.WordsTab());
    window.WordsTab()->SelectRow(0);
    sources.wait(5000);
    if (!Save(window, out + QStringLiteral("/unknown-words.png")))
        return 1;
    std::printf("wrote %s/internal-urls.png and %s/unknown-words.png\n", argv[2], argv[2]);
    return 0;
}
