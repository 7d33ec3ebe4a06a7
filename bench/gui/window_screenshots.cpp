// Screenshots of the window after a real crawl, one per tab, with the first
// row of each list selected; the word list again with the keyboard focus in
// it; the page analysis window of the start URL; and the window after a crawl
// whose start URL could not be fetched; with MARKED_URL, a site with a
// sitemap, a robots.txt and documents crawled with those options on:
//   window_screenshots URL OUTDIR [MARKED_URL]
// writes OUTDIR/internal-urls.png, unknown-words.png, word-list-focus.png,
// analysis.png, failed-start.png and with MARKED_URL page-marks.png.
#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QKeyEvent>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTableView>
#include <QThread>
#include <QToolButton>

#include <cstdio>

#include "app/gui/analyze_window.h"
#include "app/gui/internal_url_model.h"
#include "app/gui/internal_urls_tab.h"
#include "app/gui/page_facts_pane.h"
#include "app/gui/unknown_words_tab.h"
#include "app/gui/word_sources_pane.h"
#include "window_harness.h"

using lexicrawl::gui::MainWindow;

namespace {

bool Save(QWidget& window, const QString& path)
{
    QApplication::processEvents();
    return window.grab().save(path);
}

// Lets the window system give the window the focus before it is drawn.
void Activate(QWidget& window)
{
    window.activateWindow();
    for (int i = 0; i < 50 && !window.isActiveWindow(); ++i) {
        QApplication::processEvents();
        QThread::msleep(10);
    }
}

// The list's Note column and the pane's line for a PDF document, after a
// crawl that read the site's files and its documents.
bool SaveMarks(lexicrawl::bench::WindowHarness& harness, const QString& url, const QString& path)
{
    MainWindow& window = harness.Window();
    for (const char* option : {"sitemaps", "robots", "documents"})
        window.findChild<QCheckBox*>(QString::fromLatin1(option))->setChecked(true);
    QSignalSpy marks(window.UrlsTab(), &lexicrawl::gui::InternalUrlsTab::marksShown);
    if (!harness.Crawl(url, 60000) || (marks.isEmpty() && !marks.wait(10000)))
        return false;
    const lexicrawl::gui::InternalUrlModel* model = window.UrlsTab()->Model();
    int row = 0;
    while (row < model->rowCount() && !model->NoteAt(row).startsWith(QStringLiteral("PDF")))
        ++row;
    QSignalSpy facts(window.UrlsTab()->Facts(), &lexicrawl::gui::PageFactsPane::shown);
    window.UrlsTab()->SelectRow(row < model->rowCount() ? row : 0);
    facts.wait(5000);
    return Save(window, path);
}

}  // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Lexicrawl"));
    if (argc < 3) {
        std::fprintf(stderr, "usage: window_screenshots URL OUTDIR [MARKED_URL]\n");
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

    Activate(window);
    // Shift+Tab from the Find button under the list, as a user would come back to it.
    auto* find = window.WordsTab()->findChild<QToolButton*>(QStringLiteral("find"));
    find->setFocus();
    QKeyEvent backtab(QEvent::KeyPress, Qt::Key_Backtab, Qt::ShiftModifier);
    QApplication::sendEvent(find, &backtab);
    if (!Save(window, out + QStringLiteral("/word-list-focus.png")))
        return 1;

    lexicrawl::gui::AnalyzeWindow* analysis = window.AnalyzeUrl(url);
    QSignalSpy contents(analysis, &lexicrawl::gui::AnalyzeWindow::contentsFilled);
    if (contents.isEmpty())
        contents.wait(10000);
    if (!Save(*analysis, out + QStringLiteral("/analysis.png")))
        return 1;
    analysis->close();

    // Nothing listens on port 1 of the loopback interface.
    window.Tabs()->setCurrentWidget(window.UrlsTab());
    if (!harness.Crawl(QStringLiteral("http://127.0.0.1:1/"), 60000))
        return 1;
    window.UrlsTab()->SelectRow(0);
    if (!Save(window, out + QStringLiteral("/failed-start.png")))
        return 1;
    if (argc > 3 && !SaveMarks(harness, QString::fromLocal8Bit(argv[3]), out + QStringLiteral("/page-marks.png")))
        return 1;
    std::printf("wrote the screenshots to %s\n", argv[2]);
    return 0;
}
