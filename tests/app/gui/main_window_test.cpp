// The main window as a user drives it, on the offscreen platform, crawling a
// small site that a loopback server serves, with the dictionaries the build
// ships.
#include <gtest/gtest.h>

#include <QAccessible>
#include <QApplication>
#include <QMenu>
#include <QTimer>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QMutex>
#include <QPlainTextEdit>
#include <QSignalSpy>
#include <QSpinBox>
#include <QStatusBar>
#include <QTabWidget>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>
#include <QTreeWidget>

#include <httplib.h>

#include <chrono>
#include <map>
#include <memory>
#include <thread>

#include "app/core/app_environment.h"
#include "app/core/crawl_session.h"
#include "app/gui/about_window.h"
#include "app/gui/crawl_events.h"
#include "app/gui/find_dialog.h"
#include "app/gui/gui_platform.h"
#include "app/gui/internal_url_model.h"
#include "app/gui/internal_urls_tab.h"
#include "app/gui/main_window.h"
#include "app/gui/page_facts_pane.h"
#include "app/gui/unknown_word_model.h"
#include "app/gui/unknown_words_tab.h"
#include "app/gui/word_findings_model.h"
#include "app/gui/word_sources_pane.h"
#include "store/project_files.h"
#include "support/loopback_server.h"
#include "support/qt_printers.h"

using namespace lexicrawl;
using namespace lexicrawl::gui;

namespace {

// Keeps what the window would show or start instead of opening boxes,
// browsers or programs.
class TestPlatform : public GuiPlatform {
public:
    TestPlatform() { Platform::SetCurrent(this); }
    ~TestPlatform() override { Platform::SetCurrent(nullptr); }
    void ShowMessage(const QString& text) override { Keep(text); }
    void MessageBox(const QString& title, const QString& text, MessageIcon) override { Keep(title + ": " + text); }
    bool Confirm(const QString&, const QString& text, const QString&, const QString&) override
    {
        Keep(text);
        return confirm;
    }
    bool OpenDocument(const QString& target) override { return Keep(QStringLiteral("open ") + target); }
    bool StartNewInstance(const QString& commandLine) override { return Keep(QStringLiteral("start ") + commandLine); }
    void Beep() override {}
    QString ProgramFolder() const override { return QStringLiteral(LEXICRAWL_BIN_DIR "/"); }
    QChar DecimalSeparator() const override { return u'.'; }
    QChar ListSeparator() const override { return u','; }

    QStringList Said()
    {
        QMutexLocker lock(&mutex_);
        return said_;
    }
    bool confirm = true;

private:
    bool Keep(const QString& text)
    {
        QMutexLocker lock(&mutex_);
        said_ << text;
        return true;
    }
    QMutex mutex_;
    QStringList said_;
};

// Serves tests/data/cli/site under /site/, with a page that takes its time.
class SiteServer {
public:
    SiteServer()
    {
        server_.Routes().Get("/site/slow.html", [](const httplib::Request&, httplib::Response& res) {
            std::this_thread::sleep_for(std::chrono::milliseconds(1500));
            res.set_content("<html><body>slow</body></html>", "text/html");
        });
        server_.Routes().set_mount_point("/site", LEXICRAWL_TEST_DATA "/cli/site");
        server_.Start();
    }
    ~SiteServer()
    {
        server_.Stop();
    }
    QString Url(const char* page = "index.html") const
    {
        return server_.Url(QStringLiteral("/site/") + QString::fromLatin1(page));
    }

private:
    lexicrawl::testing::LoopbackServer server_;
};

class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        Settings settings(data.path());
        settings.SetIgnoreUrls(QStringLiteral("*/slow.html"));
        settings.SetDictionaryLanguage(QStringLiteral("English (United States)"));
    }
    void TearDown() override
    {
        window.reset();
        environment.reset();
    }

    MainWindow& Open(const QStringList& commandLine = {})
    {
        window.reset();
        environment = std::make_unique<AppEnvironment>(platform, data.path());
        window = std::make_unique<MainWindow>(*environment);
        window->SetCommandLine(commandLine);
        QSignalSpy dictionaries(window.get(), &MainWindow::dictionariesLoaded);
        window->ShowRestored();
        EXPECT_TRUE(dictionaries.wait(20000));
        return *window;
    }
    // Starts a crawl of the site from the URL box and waits for its end.
    void Crawl(const QString& url)
    {
        QSignalSpy finished(window.get(), &MainWindow::crawlFinished);
        QSignalSpy refreshed(window.get(), &MainWindow::unknownWordsRefreshed);
        window->UrlBox()->setText(url);
        window->StartStop();
        ASSERT_TRUE(finished.wait(20000));
        ASSERT_TRUE(QTest::qWaitFor([&] { return refreshed.count() >= 2; }, 10000));
    }
    QString Text(const char* objectName) const
    {
        if (auto* box = window->findChild<QPlainTextEdit*>(QString::fromLatin1(objectName)))
            return box->toPlainText();
        if (auto* label = window->findChild<QLabel*>(QString::fromLatin1(objectName)))
            return label->text();
        return QStringLiteral("<no %1>").arg(QString::fromLatin1(objectName));
    }
    QString LastSaid() { return platform.Said().value(platform.Said().size() - 1); }

    TestPlatform platform;
    QTemporaryDir data;
    SiteServer site;
    std::unique_ptr<AppEnvironment> environment;
    std::unique_ptr<MainWindow> window;
};

TEST_F(MainWindowTest, ACrawlFillsTheListsAndTheStatusBar)
{
    MainWindow& w = Open();
    QSignalSpy finished(&w, &MainWindow::crawlFinished);
    w.UrlBox()->setText(site.Url());
    w.StartStop();
    EXPECT_EQ(w.StartButton()->text(), QStringLiteral("STOP"));
    EXPECT_FALSE(w.findChild<QSpinBox*>(QStringLiteral("pageLimit"))->isEnabled());
    ASSERT_TRUE(finished.wait(20000));
    EXPECT_EQ(w.StartButton()->text(), QStringLiteral("Start"));
    EXPECT_TRUE(w.findChild<QSpinBox*>(QStringLiteral("pageLimit"))->isEnabled());
    EXPECT_EQ(w.StatusText(0), QStringLiteral("Total URLs: 4"));
    EXPECT_EQ(w.StatusText(3), QStringLiteral("Completed"));
    EXPECT_TRUE(w.StatusText(2).startsWith(QStringLiteral("Time: ")));

    const InternalUrlModel* urls = w.UrlsTab()->Model();
    ASSERT_EQ(urls->rowCount(), 4);
    EXPECT_EQ(urls->index(1, 0).data().toString(), site.Url("roses.html"));
    EXPECT_EQ(urls->index(3, InternalUrlModel::StatusColumn).data().toString(), QStringLiteral("404"));
    EXPECT_TRUE(urls->index(3, 0).data(Qt::ForegroundRole).isValid());  // a failed page stands out
    EXPECT_FALSE(urls->index(0, 0).data(Qt::ForegroundRole).isValid());

    ASSERT_TRUE(QTest::qWaitFor([&] { return w.WordsTab()->Model()->rowCount() > 0; }, 10000));
    const std::vector<UnknownWord>& words = w.WordsTab()->Model()->Words();
    EXPECT_EQ(words.front().word, QStringLiteral("beens"));
    EXPECT_EQ(words.front().occurrence, 2);
    EXPECT_TRUE(platform.Said().isEmpty()) << platform.Said().join('\n').toStdString();
}

TEST_F(MainWindowTest, AProseCrawlReportsWordsAsWritten)
{
    Settings(data.path()).SetText(TextMode::Prose);
    MainWindow& w = Open();
    EXPECT_EQ(w.findChild<QComboBox*>(QStringLiteral("textMode"))->currentIndex(), 1);
    Crawl(site.Url());
    QStringList words;
    for (const UnknownWord& word : w.WordsTab()->Model()->Words())
        words << word.word;
    EXPECT_TRUE(words.contains(QStringLiteral("Parsely"))) << words.join(' ').toStdString();  // as the page writes it
    w.findChild<QComboBox*>(QStringLiteral("textMode"))->setCurrentIndex(0);
    EXPECT_EQ(Settings(data.path()).Text(), TextMode::Standard);
}

// Certificates are verified unless the user turns it off for a test server;
// the choice is a setting like the other options.
TEST_F(MainWindowTest, TheInsecureChoiceIsACheckBoxKeptAsASetting)
{
    Settings(data.path()).SetInsecure(true);
    MainWindow& w = Open();
    auto* box = w.findChild<QCheckBox*>(QStringLiteral("insecure"));
    ASSERT_NE(box, nullptr);
    EXPECT_TRUE(box->isChecked());
    EXPECT_EQ(box->accessibleName(), box->text());
    box->setChecked(false);
    EXPECT_FALSE(Settings(data.path()).Insecure());
    box->setChecked(true);
    EXPECT_TRUE(Settings(data.path()).Insecure());
}

TEST_F(MainWindowTest, TheRenderBoxFollowsAndWritesItsSetting)
{
    Settings(data.path()).SetRender(true);
    MainWindow& w = Open();
    auto* render = w.findChild<QCheckBox*>(QStringLiteral("render"));
    ASSERT_NE(render, nullptr);
    EXPECT_TRUE(render->isChecked());
    render->setChecked(false);
    EXPECT_FALSE(Settings(data.path()).Render());
}

TEST_F(MainWindowTest, SelectingRowsFillsThePanes)
{
    Open();
    Crawl(site.Url());
    QSignalSpy shown(window->UrlsTab()->Facts(), &PageFactsPane::shown);
    window->UrlsTab()->SelectRow(0);
    ASSERT_TRUE(shown.wait(5000));
    EXPECT_EQ(Text("title"), QStringLiteral("Garden notes"));
    EXPECT_EQ(Text("titleCount"), QStringLiteral("Length: 12"));
    EXPECT_EQ(Text("description"), QStringLiteral("Notes from a small garden"));
    EXPECT_EQ(Text("h1"), QStringLiteral("Garden notes"));
    EXPECT_EQ(Text("h1Count"), QStringLiteral("1"));
    EXPECT_EQ(Text("h2Count"), QStringLiteral("0"));
    window->UrlsTab()->SelectRow(1);
    ASSERT_TRUE(shown.wait(5000));
    EXPECT_EQ(Text("h2"), QStringLiteral("Pruning"));
    EXPECT_EQ(Text("h2Count"), QStringLiteral("1"));

    QSignalSpy sources(window->WordsTab()->Sources(), &WordSourcesPane::shown);
    // The grouped list puts the likely typos first: "beens" is found where it stands.
    const UnknownWordModel* words = window->WordsTab()->Model();
    int beens = 0;
    while (beens < words->rowCount() && words->WordAt(beens) != QStringLiteral("beens"))
        ++beens;
    window->WordsTab()->SelectRow(beens);  // "beens", on two pages
    ASSERT_TRUE(sources.wait(5000));
    EXPECT_EQ(Text("sourceWord"), QStringLiteral("beens"));
    EXPECT_EQ(window->WordsTab()->Sources()->List()->topLevelItemCount(), 2);

    // A new crawl empties both panes: they showed rows of the list it replaces.
    window->UrlsTab()->SelectRow(1);
    Crawl(site.Url());
    EXPECT_EQ(Text("title"), QString());
    EXPECT_EQ(Text("titleCount"), QStringLiteral("Length: 0"));
    EXPECT_EQ(Text("h2"), QString());
    EXPECT_EQ(Text("h2Count"), QStringLiteral("0"));
    EXPECT_EQ(Text("sourceWord"), QString());
    EXPECT_EQ(window->WordsTab()->Sources()->List()->topLevelItemCount(), 0);
}

TEST_F(MainWindowTest, FindGoesOnFromTheCurrentRowWrapsAndLeavesAMissAlone)
{
    Open();
    Crawl(site.Url());
    window->Tabs()->setCurrentWidget(window->UrlsTab());
    QList<int> rows;
    for (int i = 0; i < 5; ++i) {
        window->FindNext(QStringLiteral("HTML"));  // any case of A to Z
        rows << window->UrlsTab()->View()->currentIndex().row();
    }
    EXPECT_EQ(rows, (QList<int>{0, 1, 2, 3, 0}));
    window->FindNext(QStringLiteral("herbs"));
    EXPECT_EQ(window->UrlsTab()->View()->currentIndex().row(), 2);
    const FindDialog* find = window->findChild<FindDialog*>();
    EXPECT_EQ(find->Result(), QString());
    window->FindNext(QStringLiteral("no such page"));
    EXPECT_EQ(window->UrlsTab()->View()->currentIndex().row(), 2);
    EXPECT_EQ(find->Result(), QStringLiteral("Not Found!"));  // a miss is said, in the dialog
    EXPECT_TRUE(platform.Said().isEmpty());

    window->Tabs()->setCurrentWidget(window->WordsTab());
    window->FindNext(QStringLiteral("PARSE"));
    EXPECT_EQ(window->WordsTab()->SelectedWord(), QStringLiteral("parsely"));
    EXPECT_EQ(find->Result(), QString());
}

TEST_F(MainWindowTest, SpellCheckAnswersForTheDictionaryChosenNow)
{
    MainWindow& w = Open();
    auto check = [&](const char* word) {
        const int before = int(platform.Said().size());
        w.SpellCheck(QString::fromLatin1(word));
        EXPECT_TRUE(QTest::qWaitFor([&] { return platform.Said().size() > before; }, 10000));
        return LastSaid();
    };
    EXPECT_EQ(check("tomatoes"), QStringLiteral("Word: tomatoes\r\rCorrect!"));
    const QString typo = check("gardn");
    EXPECT_TRUE(typo.startsWith(QStringLiteral("Word: gardn\r\rNot Found!\r\rSuggestions: "))) << typo.toStdString();
    EXPECT_TRUE(typo.contains(QStringLiteral("garden"))) << typo.toStdString();

    QSignalSpy changed(&w, &MainWindow::dictionariesLoaded);
    const int german = w.DictionaryBox()->findText(QStringLiteral("German (Germany)"));
    ASSERT_GE(german, 0);
    w.DictionaryBox()->setCurrentIndex(german);
    emit w.DictionaryBox()->activated(german);
    ASSERT_TRUE(changed.wait(20000));
    EXPECT_TRUE(check("tomatoes").startsWith(QStringLiteral("Word: tomatoes\r\rNot Found!")));
    EXPECT_EQ(check("garten"), QStringLiteral("Word: garten\r\rCorrect!"));  // "Garten" in capitals
    EXPECT_EQ(Settings(data.path()).DictionaryLanguage(), QStringLiteral("German (Germany)"));
}

// A dictionary whose suggestion replay failed its load-time check is named
// once in the status bar; its words are still checked (the slow way).
TEST_F(MainWindowTest, AReplaySwitchedOffAtLoadIsNamedOnceInTheStatusBar)
{
    qputenv("LEXICRAWL_SPELL_REPLAY", "distrust");
    MainWindow& w = Open();
    const QString notice = QStringLiteral("replay off for en_US: LEXICRAWL_SPELL_REPLAY=distrust");
    EXPECT_TRUE(QTest::qWaitFor([&] { return w.statusBar()->currentMessage() == notice; }, 20000))
        << w.statusBar()->currentMessage().toStdString();
    qunsetenv("LEXICRAWL_SPELL_REPLAY");  // read by the check, which runs beside the loading
    w.statusBar()->clearMessage();
    Crawl(site.Url());
    EXPECT_EQ(w.WordsTab()->Model()->Words().front().word, QStringLiteral("beens"));
    QTest::qWait(200);
    EXPECT_EQ(w.statusBar()->currentMessage(), QString());
    EXPECT_EQ(w.StatusText(3), QStringLiteral("Completed"));
}

TEST_F(MainWindowTest, DisplayUnfinishedResultsKeepsTheWordListFollowingTheCrawl)
{
    for (const bool on : {false, true}) {
        Settings(data.path()).SetDisplayUnfinishedResults(on);
        Settings(data.path()).SetIgnoreUrls(QStringLiteral("*/nothing/*"));  // the slow page is crawled
        MainWindow& w = Open();
        QSignalSpy refreshed(&w, &MainWindow::unknownWordsRefreshed);
        QSignalSpy finished(&w, &MainWindow::crawlFinished);
        w.UrlBox()->setText(site.Url());
        w.StartStop();
        ASSERT_TRUE(refreshed.wait(10000));  // the refresh at Start
        EXPECT_EQ(w.RefreshScheduled(), on) << on;
        ASSERT_TRUE(finished.wait(20000));
        ASSERT_TRUE(QTest::qWaitFor([&] { return refreshed.count() >= 2; }, 10000));
        EXPECT_FALSE(w.RefreshScheduled());
        EXPECT_EQ(refreshed.count(), 2) << on;  // the crawl is shorter than the 5 s between refreshes
    }
}

TEST_F(MainWindowTest, StopDuringASlowPageThenStartAgain)
{
    Settings(data.path()).SetIgnoreUrls(QStringLiteral("*/nothing/*"));
    MainWindow& w = Open();
    QSignalSpy finished(&w, &MainWindow::crawlFinished);
    w.UrlBox()->setText(site.Url());
    w.StartStop();
    ASSERT_TRUE(QTest::qWaitFor([&] { return w.StatusText(3).contains(QStringLiteral("slow.html")); }, 10000));
    w.StartStop();
    EXPECT_EQ(w.StartButton()->text(), QStringLiteral("Stopping..."));
    EXPECT_FALSE(w.StartButton()->isEnabled());
    ASSERT_TRUE(finished.wait(5000));
    EXPECT_EQ(w.Phase(), CrawlPhase::Idle);
    const std::vector<InternalUrl> table = w.Session().Pages();
    const auto slow = std::find_if(table.begin(), table.end(),
                                   [](const InternalUrl& e) { return e.page.endsWith(QLatin1String("slow.html")); });
    ASSERT_NE(slow, table.end());
    EXPECT_FALSE(slow->visited);
    EXPECT_EQ(w.UrlsTab()->Model()->index(int(slow - table.begin()), InternalUrlModel::StatusColumn).data(),
              QVariant(QString()));

    w.StartStop();  // at once, and the new crawl runs to its end
    EXPECT_EQ(w.Phase(), CrawlPhase::Running);
    ASSERT_TRUE(finished.wait(20000));
    EXPECT_EQ(w.StatusText(3), QStringLiteral("Completed"));
}

// The end of an earlier crawl that arrives after the next Start (queued
// behind it) leaves the running crawl, its timers and its captions alone.
TEST_F(MainWindowTest, ALateEndOfAnEarlierCrawlLeavesTheNextOneRunning)
{
    Settings(data.path()).SetIgnoreUrls(QStringLiteral("*/nothing/*"));
    MainWindow& w = Open();
    QSignalSpy finished(&w, &MainWindow::crawlFinished);
    const auto loadingSlowPage = [&] { return w.StatusText(3).contains(QStringLiteral("slow.html")); };
    w.UrlBox()->setText(site.Url());
    w.StartStop();
    ASSERT_TRUE(QTest::qWaitFor(loadingSlowPage, 10000));
    w.StartStop();
    ASSERT_TRUE(finished.wait(5000));

    w.StartStop();
    ASSERT_TRUE(QTest::qWaitFor(loadingSlowPage, 10000));
    CrawlSummary earlier;
    earlier.crawl = 1;
    earlier.outcome = CrawlOutcome::Stopped;
    emit w.findChild<CrawlEvents*>()->finished(earlier);
    EXPECT_EQ(finished.count(), 1);
    EXPECT_EQ(w.StartButton()->text(), QStringLiteral("STOP"));
    EXPECT_TRUE(loadingSlowPage());
    ASSERT_TRUE(finished.wait(20000));  // its own end still comes
    EXPECT_EQ(w.StatusText(3), QStringLiteral("Completed"));
    EXPECT_EQ(w.StartButton()->text(), QStringLiteral("Start"));
}

TEST_F(MainWindowTest, ClosingDuringACrawlStopsItFirst)
{
    Settings(data.path()).SetIgnoreUrls(QStringLiteral("*/nothing/*"));
    MainWindow& w = Open();
    w.UrlBox()->setText(site.Url());
    w.StartStop();
    ASSERT_TRUE(QTest::qWaitFor([&] { return w.StatusText(3).contains(QStringLiteral("slow.html")); }, 10000));
    const QString workingFile = w.Session().WorkingFilePath();
    w.close();
    EXPECT_TRUE(w.isVisible());
    EXPECT_EQ(w.Phase(), CrawlPhase::Stopping);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !w.isVisible(); }, 10000));
    window.reset();
    EXPECT_FALSE(QFile::exists(workingFile));  // the store's close deleted it
}

TEST_F(MainWindowTest, ExportsFollowTheExtensionOfTheChosenFile)
{
    Open();
    Crawl(site.Url());
    QTemporaryDir out;
    auto write = [&](auto command, const QString& name) {
        QSignalSpy written(window.get(), &MainWindow::fileWritten);
        (window.get()->*command)(out.filePath(name));
        EXPECT_TRUE(written.wait(10000)) << name.toStdString();
        QFile file(out.filePath(name));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<no file>");
    };
    EXPECT_TRUE(write(&MainWindow::ExportInternalUrlsTo, QStringLiteral("urls.CSV"))
                    .startsWith("\xEF\xBB\xBFURL,Load_Time,URL_Length,Status_Code\r\n"));
    EXPECT_EQ(write(&MainWindow::ExportInternalUrlsTo, QStringLiteral("urls.lst")), QByteArray("<no file>"));
    const QByteArray words = write(&MainWindow::ExportWordsTo, QStringLiteral("words.lst"));
    EXPECT_TRUE(words.startsWith("\xEF\xBB\xBF" "beens\r\n")) << words.toStdString();
}

namespace {

int RowOf(const UnknownWordModel* model, const QString& word)
{
    for (int row = 0; row < model->rowCount(); ++row)
        if (model->WordAt(row) == word)
            return row;
    return -1;
}

// Opens the word list's context menu on the selected row and picks caption.
void PickFromMenu(UnknownWordsTab* tab, const QString& caption)
{
    QTimer::singleShot(0, [caption] {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        ASSERT_TRUE(menu);
        for (QAction* action : menu->actions())
            if (action->text() == caption)
                action->trigger();
        menu->close();
    });
    emit tab->View()->customContextMenuRequested(QPoint(4, 4));
}

}  // namespace

TEST_F(MainWindowTest, SuggestionsContextsApprovalsAndTheReport)
{
    Open();
    QSignalSpy suggested(window.get(), &MainWindow::suggestionsShown);
    Crawl(site.Url());
    UnknownWordsTab* tab = window->WordsTab();
    const UnknownWordModel* model = tab->Model();
    const int parsely = RowOf(model, QStringLiteral("parsely"));
    ASSERT_GE(parsely, 0);
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return !model->index(parsely, UnknownWordModel::SuggestionsColumn).data().toString().isEmpty(); }, 20000));
    EXPECT_TRUE(model->index(parsely, UnknownWordModel::SuggestionsColumn).data().toString().contains("parsley"));
    EXPECT_EQ(model->headerData(UnknownWordModel::SuggestionsColumn, Qt::Horizontal).toString(),
              QStringLiteral("Suggestions"));

    // The pane gives each page with the sentence the word stands in.
    QSignalSpy sources(tab->Sources(), &WordSourcesPane::shown);
    tab->SelectRow(parsely);
    ASSERT_TRUE(sources.wait(5000));
    const QTreeWidgetItem* page = tab->Sources()->List()->topLevelItem(0);
    ASSERT_TRUE(page);
    EXPECT_EQ(page->text(1), QStringLiteral("body: Parsely needs water."));

    // Approved for the site, into the user's dictionary, ignored: each leaves the list.
    const struct {
        const char* word;
        const char* caption;
    } approvals[] = {{"beens", "Approve for this site"}, {"parsely", "Add to my dictionary"}};
    for (const auto& a : approvals) {
        QSignalSpy refreshed(window.get(), &MainWindow::unknownWordsRefreshed);
        tab->SelectRow(RowOf(model, QString::fromLatin1(a.word)));
        PickFromMenu(tab, QString::fromLatin1(a.caption));
        ASSERT_TRUE(refreshed.wait(10000)) << a.caption;
        EXPECT_LT(RowOf(model, QString::fromLatin1(a.word)), 0) << a.word;
    }
    QFile personal(QDir(data.path()).filePath(QStringLiteral("personal-words.txt")));
    ASSERT_TRUE(personal.open(QIODevice::ReadOnly));
    EXPECT_EQ(personal.readAll(), QByteArray("parsely\r\n"));
    EXPECT_EQ(window->Session().SiteApprovals(), QStringList{"beens"});

    ASSERT_TRUE(window->Action(QStringLiteral("exportReport")));
    QTemporaryDir out;
    QSignalSpy written(window.get(), &MainWindow::fileWritten);
    window->ExportReportTo(out.filePath(QStringLiteral("report.html")));
    ASSERT_TRUE(written.wait(20000));
    QFile report(out.filePath(QStringLiteral("report.html")));
    ASSERT_TRUE(report.open(QIODevice::ReadOnly));
    const QByteArray html = report.readAll();
    EXPECT_TRUE(html.contains("<dt>Approved words</dt><dd>2</dd>")) << html.left(3000).toStdString();
    EXPECT_FALSE(html.contains("data-word=\"beens\""));
    EXPECT_TRUE(platform.Said().isEmpty()) << platform.Said().join('\n').toStdString();
}

// Once the crawl is over the list is grouped: the likely typos first, with
// their corrections and reasons; one group alone on choice; many words
// approved for the site in one step.
TEST_F(MainWindowTest, TheWordListOpensOnTheLikelyTyposAndApprovesManyAtOnce)
{
    Open();
    Crawl(site.Url());
    UnknownWordsTab* tab = window->WordsTab();
    UnknownWordModel* model = tab->Model();
    ASSERT_TRUE(model->Grouped());
    EXPECT_EQ(tab->ViewChoice()->currentIndex(), 0);
    EXPECT_EQ(model->headerData(UnknownWordModel::CorrectionColumn, Qt::Horizontal).toString(),
              QStringLiteral("Correction"));
    const int parsely = RowOf(model, QStringLiteral("parsely"));
    ASSERT_GE(parsely, 0);
    EXPECT_EQ(model->index(parsely, UnknownWordModel::CorrectionColumn).data().toString(), QStringLiteral("parsley"));
    EXPECT_FALSE(model->index(parsely, UnknownWordModel::ReasonColumn).data().toString().isEmpty());
    // The likely typos stand above every vocabulary word.
    bool vocabularySeen = false;
    for (int row = 0; row < model->rowCount(); ++row) {
        const bool likely = model->GroupingAt(row)->LikelyTypo();
        EXPECT_FALSE(likely && vocabularySeen) << model->WordAt(row).toStdString();
        vocabularySeen = vocabularySeen || !likely;
    }
    // Each group alone; together they are the whole list.
    const int all = model->rowCount();
    int shown = 0;
    for (int view = 1; view <= 2; ++view) {
        tab->ViewChoice()->setCurrentIndex(view);
        for (int row = 0; row < model->rowCount(); ++row)
            EXPECT_EQ(model->GroupingAt(row)->LikelyTypo(), view == 1) << model->WordAt(row).toStdString();
        shown += model->rowCount();
    }
    EXPECT_EQ(shown, all);

    tab->ViewChoice()->setCurrentIndex(0);
    ASSERT_GE(model->rowCount(), 2);
    const QStringList chosen{model->WordAt(0), model->WordAt(1)};
    tab->View()->selectRow(0);
    tab->View()->selectionModel()->select(model->index(1, 0),
                                          QItemSelectionModel::Select | QItemSelectionModel::Rows);
    EXPECT_EQ(tab->SelectedWords(), chosen);
    QSignalSpy refreshed(window.get(), &MainWindow::unknownWordsRefreshed);
    PickFromMenu(tab, QStringLiteral("Approve for this site"));
    ASSERT_TRUE(refreshed.wait(20000));
    for (const QString& word : chosen)
        EXPECT_LT(RowOf(model, word), 0) << word.toStdString();
    QStringList approved = window->Session().Approvals().Site();
    approved.sort();
    QStringList expected = chosen;
    expected.sort();
    EXPECT_EQ(approved, expected);
    EXPECT_TRUE(model->Words().empty() || model->Grouped());  // the list after the approvals is grouped again
}

// Serves a few HTML pages by path from a loopback server.
class HtmlPages {
public:
    explicit HtmlPages(std::map<std::string, std::string> pages) : pages_(std::move(pages))
    {
        server_.Routes().Get(".*", [this](const httplib::Request& req, httplib::Response& res) {
            const auto it = pages_.find(req.path);
            if (it == pages_.end())
                res.status = 404;
            else
                res.set_content(it->second, "text/html");
        });
        server_.Start();
    }
    ~HtmlPages()
    {
        server_.Stop();
    }
    QString Url(const char* path = "/") const
    {
        return server_.Url(QString::fromLatin1(path));
    }

private:
    lexicrawl::testing::LoopbackServer server_;
    std::map<std::string, std::string> pages_;
};

// The repeated words and the words spelled two ways take the word list's
// place when the choice asks for them, after the crawl and in the opened project.
TEST_F(MainWindowTest, RepeatedWordsAndTwoSpellingsShowInTheWordsTab)
{
    HtmlPages pages({
        {"/", "<html><head><title>Shed</title></head><body><p>Read the <em>the</em> guide before you organise the "
              "shed.</p><p><a href=\"/tools.html\">Tools</a></p></body></html>"},
        {"/tools.html", "<html><body><p>We organize the tools by size.</p></body></html>"},
    });
    Open();
    Crawl(pages.Url());

    auto check = [&](MainWindow& shown) {
        UnknownWordsTab* tab = shown.WordsTab();
        QComboBox* choice = tab->ViewChoice();
        ASSERT_EQ(choice->count(), 5);
        EXPECT_EQ(choice->itemText(3), QStringLiteral("Repeated words (1)"));
        EXPECT_EQ(choice->itemText(4), QStringLiteral("One word, two spellings (1)"));
        EXPECT_FALSE(tab->FindingsView()->accessibleName().isEmpty());
        const WordFindingsModel* findings = tab->Findings();
        WordSourcesPane* sources = tab->Sources();
        auto paneRows = [sources] {
            QStringList rows;
            for (int i = 0; i < sources->List()->topLevelItemCount(); ++i)
                rows << sources->List()->topLevelItem(i)->text(0) + " | " + sources->List()->topLevelItem(i)->text(1);
            return rows;
        };

        choice->setCurrentIndex(3);
        EXPECT_TRUE(tab->View()->isHidden());
        EXPECT_FALSE(tab->FindingsView()->isHidden());
        ASSERT_EQ(findings->rowCount(), 1);
        EXPECT_EQ(findings->headerData(WordFindingsModel::PageColumn, Qt::Horizontal).toString(), QStringLiteral("Page"));
        EXPECT_EQ(findings->index(0, WordFindingsModel::WordsColumn).data().toString(), QStringLiteral("the the"));
        EXPECT_EQ(findings->index(0, WordFindingsModel::PageColumn).data().toString(), pages.Url());
        const QString context = findings->index(0, WordFindingsModel::ContextColumn).data().toString();
        EXPECT_TRUE(context.contains(QStringLiteral("Read the the guide"))) << context.toStdString();
        // The pane beside the list shows the row's page and sentence.
        tab->FindingsView()->selectRow(0);
        EXPECT_EQ(shown.findChild<QLabel*>(QStringLiteral("sourceWord"))->text(), QStringLiteral("the the"));
        EXPECT_EQ(paneRows(), QStringList{pages.Url() + " | " + context});

        // Find reads the rows shown, the findings' pages and sentences too.
        shown.Tabs()->setCurrentWidget(tab);
        tab->FindingsView()->clearSelection();
        tab->FindingsView()->setCurrentIndex(QModelIndex());
        shown.FindNext(QStringLiteral("GUIDE BEFORE"));
        EXPECT_EQ(tab->FindingsView()->currentIndex().row(), 0);

        choice->setCurrentIndex(4);
        ASSERT_EQ(findings->rowCount(), 1);
        EXPECT_EQ(findings->columnCount(), 2);
        QStringList spellings =
            findings->index(0, WordFindingsModel::WordsColumn).data().toString().split(QStringLiteral(" / "));
        spellings.sort();
        EXPECT_EQ(spellings, QStringList({QStringLiteral("organise"), QStringLiteral("organize")}));
        EXPECT_EQ(findings->index(0, 1).data().toString(), QStringLiteral("1 / 1"));
        // The pages on which a spelling was unknown: the British one, here.
        QSignalSpy sourcesShown(sources, &WordSourcesPane::shown);
        tab->FindingsView()->selectRow(0);
        ASSERT_TRUE(sourcesShown.wait(5000));
        ASSERT_EQ(paneRows().size(), 1);
        EXPECT_TRUE(paneRows().first().startsWith(pages.Url() + " | ")) << paneRows().first().toStdString();

        // Back to the words: the list returns, the pane no longer shows a finding.
        choice->setCurrentIndex(0);
        EXPECT_FALSE(tab->View()->isHidden());
        EXPECT_TRUE(tab->FindingsView()->isHidden());
        EXPECT_EQ(sources->List()->topLevelItemCount(), 0);
    };
    check(*window);

    const QString saved = data.filePath(QStringLiteral("findings.db"));
    QSignalSpy written(window.get(), &MainWindow::fileWritten);
    window->SaveProjectTo(saved);
    ASSERT_TRUE(written.wait(10000));
    window.reset();
    environment.reset();
    MainWindow& reopened = Open({saved});
    ASSERT_TRUE(QTest::qWaitFor([&] { return reopened.WordsTab()->Findings()->Spellings().size() > 0; }, 10000));
    check(reopened);
    EXPECT_TRUE(platform.Said().isEmpty()) << platform.Said().join('\n').toStdString();
}

TEST_F(MainWindowTest, AProjectSavedDuringACrawlOpensFromTheCommandLine)
{
    Settings(data.path()).SetIgnoreUrls(QStringLiteral("*/nothing/*"));
    MainWindow& w = Open();
    QSignalSpy finished(&w, &MainWindow::crawlFinished);
    w.UrlBox()->setText(site.Url());
    w.StartStop();
    ASSERT_TRUE(QTest::qWaitFor([&] { return w.StatusText(3).contains(QStringLiteral("slow.html")); }, 10000));
    const QString saved = data.filePath(QStringLiteral("my project.db"));
    QSignalSpy written(&w, &MainWindow::fileWritten);
    w.SaveProjectTo(saved);
    ASSERT_TRUE(written.wait(10000));
    EXPECT_EQ(written.first().at(1).toString(), QString());
    ASSERT_TRUE(finished.count() > 0 || finished.wait(20000));  // it may have ended while the copy was made
    window.reset();
    environment.reset();
    Settings(data.path()).SetStartUrl(QStringLiteral("http://typed.example/"));

    // Split at its space, as a shell would hand it over.
    MainWindow& reopened = Open(saved.split(QLatin1Char(' ')));
    ASSERT_TRUE(QTest::qWaitFor([&] { return reopened.UrlsTab()->Model()->rowCount() >= 4; }, 10000));
    ASSERT_TRUE(QTest::qWaitFor([&] { return reopened.WordsTab()->Model()->rowCount() > 0; }, 10000));
    // The pages visited by the time of the save show their outcome again.
    const InternalUrlModel* urls = reopened.UrlsTab()->Model();
    auto status = [urls](const QString& url) {
        for (int row = 0; row < urls->rowCount(); ++row)
            if (urls->UrlAt(row) == url)
                return urls->index(row, InternalUrlModel::StatusColumn).data().toString();
        return QStringLiteral("<no row>");
    };
    EXPECT_EQ(status(site.Url()), QStringLiteral("200"));
    EXPECT_EQ(status(site.Url("herbs.html")), QStringLiteral("200"));
    // The caption names the file that was opened, the URL field the project's start URL.
    EXPECT_TRUE(reopened.windowTitle().endsWith(QStringLiteral(" (Database: ") + QDir::toNativeSeparators(saved) + ")"))
        << reopened.windowTitle().toStdString();
    EXPECT_EQ(reopened.UrlBox()->text(), site.Url());
}

TEST_F(MainWindowTest, AnAddressOnTheCommandLineStartsACrawlWhateverTheCaseOfItsScheme)
{
    QString url = site.Url();
    url.replace(0, 4, QStringLiteral("HTTP"));
    Open({url});
    // The crawl may have ended while the dictionaries were still loading.
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return window->Phase() == CrawlPhase::Idle && window->StatusText(3) == QLatin1String("Completed"); },
        20000));
    EXPECT_EQ(window->UrlBox()->text(), site.Url());  // only the scheme is lower-cased
    EXPECT_EQ(window->UrlsTab()->Model()->rowCount(), 4);
}

// The window refuses another scheme with the command line's words, instead
// of crawling "http://ftp://x".
TEST_F(MainWindowTest, AStartUrlWithAnotherSchemeIsRefused)
{
    Open();
    window->UrlBox()->setText(QStringLiteral("ftp://x"));
    window->StartStop();
    EXPECT_EQ(LastSaid(), QStringLiteral("Warning: 'ftp://x' is not an http or https URL"));
    EXPECT_EQ(window->Phase(), CrawlPhase::Idle);
    EXPECT_EQ(window->UrlBox()->text(), QStringLiteral("ftp://x"));
    EXPECT_EQ(window->UrlsTab()->Model()->rowCount(), 0);
}

TEST_F(MainWindowTest, GeometryFollowsTheReadingRules)
{
    const QSize screen = QGuiApplication::primaryScreen()->size();
    // A first start: maximized, and the first resize creates the settings file.
    QFile::remove(data.filePath(QStringLiteral("settings.ini")));
    Open();
    EXPECT_TRUE(window->isMaximized());
    EXPECT_TRUE(Settings(data.path()).Maximized());
    EXPECT_EQ(Settings(data.path()).Raw(QStringLiteral("WindowState")), QStringLiteral("Maximized"));

    struct Case {
        int left, top, width, height;  // -1: key absent
        QSize expected;
    } cases[] = {
        {10, -1, 700, 450, QSize(700, 450)},                             // Left without Top: centred
        {-1, -1, 0, 450, QSize(screen.height(), 450)},                   // zero width: the screen's height
        {-1, -1, screen.width() + 1, 450, QSize(screen.height(), 450)},  // too wide: the same
    };
    for (const Case& c : cases) {
        QFile::remove(data.filePath(QStringLiteral("settings.ini")));
        Settings s(data.path());
        s.SetRaw(QStringLiteral("WindowState"), QStringLiteral("Normal"));
        if (c.left >= 0)
            s.SetRaw(QStringLiteral("Left"), QString::number(c.left));
        s.SetRaw(QStringLiteral("Width"), QString::number(c.width));
        s.SetRaw(QStringLiteral("Height"), QString::number(c.height));
        Open();
        EXPECT_FALSE(window->isMaximized());
        EXPECT_EQ(window->size(), c.expected) << c.width;
        const QPoint centre = window->geometry().center();
        const QPoint screenCentre = QGuiApplication::primaryScreen()->availableGeometry().center();
        EXPECT_LE((centre - screenCentre).manhattanLength(), 40) << c.width;
    }
}

TEST_F(MainWindowTest, ResetToDefaultsDeletesTheSettingsAndStartsAFreshInstance)
{
    MainWindow& w = Open();
    w.findChild<QCheckBox*>(QStringLiteral("showOptions"))->setChecked(true);
    ASSERT_TRUE(QFile::exists(data.filePath(QStringLiteral("settings.ini"))));
    const QList<QAction*> actions = w.findChildren<QAction*>();
    const auto reset = std::find_if(actions.begin(), actions.end(),
                                    [](QAction* a) { return a->text().remove(u'&') == QStringLiteral("Reset to Defaults"); });
    ASSERT_NE(reset, actions.end());
    (*reset)->trigger();
    EXPECT_TRUE(platform.Said().contains(QStringLiteral("Restart Application?")));
    EXPECT_TRUE(platform.Said().contains(QStringLiteral("start ")));
    EXPECT_FALSE(QFile::exists(data.filePath(QStringLiteral("settings.ini"))));
}

// The site-file and document boxes start from the stored values and store each change.
TEST_F(MainWindowTest, SitemapRobotsAndDocumentBoxesAreStoredSettings)
{
    {
        Settings settings(data.path());
        settings.SetRobots(true);
    }
    MainWindow& w = Open();
    auto* sitemaps = w.findChild<QCheckBox*>(QStringLiteral("sitemaps"));
    auto* robots = w.findChild<QCheckBox*>(QStringLiteral("robots"));
    auto* documents = w.findChild<QCheckBox*>(QStringLiteral("documents"));
    ASSERT_TRUE(sitemaps && robots && documents);
    EXPECT_FALSE(sitemaps->isChecked());
    EXPECT_TRUE(robots->isChecked());
    EXPECT_FALSE(documents->isChecked());
    EXPECT_TRUE(documents->toolTip().contains(QStringLiteral("Ignore Extensions")));
    sitemaps->setChecked(true);
    robots->setChecked(false);
    documents->setChecked(true);
    const Settings stored(data.path());
    EXPECT_TRUE(stored.Sitemaps());
    EXPECT_FALSE(stored.Robots());
    EXPECT_TRUE(stored.Documents());
}

// A site with a sitemap, a robots.txt and linked documents (the fixtures of
// the document readers' tests): a page only the sitemap names, one robots.txt
// keeps out, a PDF of four pages, an encrypted PDF and a DOCX.
class MarkedSite {
public:
    MarkedSite()
    {
        server_.Bind();
        const std::string root = server_.Url().toStdString();
        files_["/robots.txt"] = {"User-agent: *\nDisallow: /private/\n", "text/plain"};
        files_["/sitemap.xml"] = {"<?xml version=\"1.0\"?><urlset xmlns=\"http://www.sitemaps.org/schemas/sitemap/0.9\">"
                                  "<url><loc>" + root + "/about.html</loc></url>"
                                  "<url><loc>" + root + "/orphan.html</loc></url></urlset>",
                                  "application/xml"};
        files_["/"] = {"<html><head><title>Harbour office</title></head><body><a href=\"/about.html\">About</a>"
                       "<a href=\"/private/staff.html\">Staff</a> <a href=\"/report.pdf\">Report</a>"
                       "<a href=\"/encrypted.pdf\">Locked</a> <a href=\"/letter.docx\">Letter</a></body></html>",
                       "text/html"};
        files_["/about.html"] = {"<html><body><p>The office opens at nine.</p></body></html>", "text/html"};
        files_["/orphan.html"] = {"<html><body><p>Nobody links here.</p></body></html>", "text/html"};
        files_["/report.pdf"] = {Fixture("report.pdf"), "application/pdf"};
        files_["/encrypted.pdf"] = {Fixture("encrypted.pdf"), "application/pdf"};
        files_["/letter.docx"] = {Fixture("letter.docx"),
                                  "application/vnd.openxmlformats-officedocument.wordprocessingml.document"};
        server_.Routes().Get(".*", [this](const httplib::Request& req, httplib::Response& res) {
            const auto it = files_.find(req.path);
            if (it == files_.end())
                res.status = 404;
            else
                res.set_content(it->second.first, it->second.second);
        });
        server_.Listen();
    }
    ~MarkedSite()
    {
        server_.Stop();
    }
    QString Url(const char* path = "/") const
    {
        return server_.Url(QString::fromLatin1(path));
    }

private:
    static std::string Fixture(const char* name)
    {
        QFile file(QStringLiteral(LEXICRAWL_TEST_DATA "/analysis/documents/") + QLatin1String(name));
        EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << name;
        return file.readAll().toStdString();
    }

    lexicrawl::testing::LoopbackServer server_;
    std::map<std::string, std::pair<std::string, std::string>> files_;
};

// Each row's Note and the page pane's line, the state panel's count of the
// pages robots.txt kept out: after the crawl and again in the saved project.
TEST_F(MainWindowTest, DocumentsAndSitemapOnlyPagesAreMarkedAfterACrawlAndInTheOpenedProject)
{
    MarkedSite marked;
    // Without site files or documents the list looks as it always has.
    MainWindow& w = Open();
    QSignalSpy plainMarks(w.UrlsTab(), &InternalUrlsTab::marksShown);
    Crawl(site.Url());
    ASSERT_TRUE(plainMarks.count() > 0 || plainMarks.wait(5000));
    EXPECT_TRUE(w.UrlsTab()->View()->isColumnHidden(InternalUrlModel::NoteColumn));
    EXPECT_EQ(w.StatusText(3), QStringLiteral("Completed"));

    {
        Settings settings(data.path());
        settings.SetSitemaps(true);
        settings.SetRobots(true);
        settings.SetDocuments(true);
    }
    Open();
    QSignalSpy marks(window->UrlsTab(), &InternalUrlsTab::marksShown);
    Crawl(marked.Url());
    ASSERT_TRUE(marks.count() > 0 || marks.wait(5000));

    const struct {
        const char* path;
        QString note;  // the CSV export's text
        QString line;  // the page pane's
    } cases[] = {
        {"/", QString(), QString()},
        {"/about.html", QString(), QString()},  // linked as well as listed
        {"/orphan.html", QStringLiteral("sitemap only (linked from nowhere)"),
         QStringLiteral("Found in sitemap, linked from nowhere")},
        {"/report.pdf", QStringLiteral("PDF document"), QStringLiteral("Document: PDF, 4 pages, read")},
        {"/encrypted.pdf", QStringLiteral("PDF document: encrypted document"),
         QStringLiteral("Document: PDF, encrypted document")},
        {"/letter.docx", QStringLiteral("DOCX document"), QStringLiteral("Document: DOCX, read")},
    };
    const auto check = [&](MainWindow& shown) {
        const InternalUrlModel* urls = shown.UrlsTab()->Model();
        EXPECT_FALSE(shown.UrlsTab()->View()->isColumnHidden(InternalUrlModel::NoteColumn));
        EXPECT_EQ(urls->headerData(InternalUrlModel::NoteColumn, Qt::Horizontal).toString(), QStringLiteral("Note"));
        QStringList pages;
        for (int row = 0; row < urls->rowCount(); ++row)
            pages << urls->UrlAt(row);
        EXPECT_FALSE(pages.contains(marked.Url("/private/staff.html")));
        EXPECT_EQ(shown.StatusText(3).section(QStringLiteral("; "), -1), QStringLiteral("1 page left out by robots.txt"));
        EXPECT_EQ(shown.findChild<QLabel*>(QStringLiteral("status3"))->toolTip(), marked.Url("/private/staff.html"));
        QSignalSpy facts(shown.UrlsTab()->Facts(), &PageFactsPane::shown);
        for (const auto& c : cases) {
            const int row = int(pages.indexOf(marked.Url(c.path)));
            ASSERT_GE(row, 0) << c.path;
            EXPECT_EQ(urls->index(row, InternalUrlModel::NoteColumn).data().toString(), c.note) << c.path;
            shown.UrlsTab()->SelectRow(row);
            ASSERT_TRUE(facts.wait(5000)) << c.path;
            auto* line = shown.findChild<QLabel*>(QStringLiteral("pageMark"));
            EXPECT_EQ(line->text(), c.line) << c.path;
            EXPECT_EQ(line->isVisible(), !c.line.isEmpty()) << c.path;
        }
        // Find reads the Note as well as the URL.
        shown.Tabs()->setCurrentWidget(shown.UrlsTab());
        shown.FindNext(QStringLiteral("ENCRYPTED DOCUMENT"));
        EXPECT_EQ(urls->UrlAt(shown.UrlsTab()->View()->currentIndex().row()), marked.Url("/encrypted.pdf"));
    };
    check(*window);
    EXPECT_TRUE(window->StatusText(3).startsWith(QStringLiteral("Completed; ")));

    const QString saved = data.filePath(QStringLiteral("marked.db"));
    QSignalSpy written(window.get(), &MainWindow::fileWritten);
    window->SaveProjectTo(saved);
    ASSERT_TRUE(written.wait(10000));
    window.reset();
    environment.reset();
    MainWindow& reopened = Open({saved});
    ASSERT_TRUE(QTest::qWaitFor([&] { return reopened.UrlsTab()->Model()->HasNotes(); }, 10000));
    check(reopened);
    EXPECT_TRUE(platform.Said().isEmpty()) << platform.Said().join('\n').toStdString();
}

TEST_F(MainWindowTest, EveryControlHasAnAccessibleName)
{
    MainWindow& w = Open();
    w.findChild<QCheckBox*>(QStringLiteral("showOptions"))->setChecked(true);
    QStringList unnamed;
    QList<QWidget*> controls;
    for (QWidget* widget : w.findChildren<QWidget*>()) {
        const bool control = qobject_cast<QAbstractButton*>(widget) || qobject_cast<QLineEdit*>(widget) ||
                             qobject_cast<QComboBox*>(widget) || qobject_cast<QAbstractSpinBox*>(widget) ||
                             qobject_cast<QAbstractScrollArea*>(widget) || qobject_cast<QTabWidget*>(widget);
        // Parts of other controls (a spin box's editor, a list's scroll bars) speak through their owner;
        // a combo box's editor and drop-down list are read on their own and need names of their own.
        QWidget* parent = widget->parentWidget();
        const bool part = parent && (qobject_cast<QAbstractSpinBox*>(parent) ||
                                     qobject_cast<QAbstractItemView*>(parent) || qobject_cast<QMenuBar*>(parent) ||
                                     qobject_cast<QAbstractItemView*>(parent->parentWidget()) ||
                                     qobject_cast<QTabWidget*>(parent->parentWidget()));
        if (!control || part || widget->window() != &w)
            continue;
        controls << widget;
        if (auto* box = qobject_cast<QComboBox*>(widget))
            controls << box->view();
    }
    for (QWidget* widget : controls) {
        QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(widget);
        if (!accessible || accessible->text(QAccessible::Name).isEmpty())
            unnamed << QString::fromLatin1(widget->metaObject()->className()) + QLatin1Char(' ') + widget->objectName();
    }
    EXPECT_TRUE(controls.contains(w.DictionaryBox()->view()));
    EXPECT_TRUE(unnamed.isEmpty()) << unnamed.join(u'\n').toStdString();

    // The Dictionary box has a visible caption, which labels it for assistive technology.
    const QList<QLabel*> labels = w.findChildren<QLabel*>();
    const auto caption = std::find_if(labels.begin(), labels.end(),
                                      [&w](QLabel* l) { return l->buddy() == w.DictionaryBox(); });
    ASSERT_NE(caption, labels.end());
    EXPECT_EQ((*caption)->text(), QStringLiteral("Dictionary:"));
    const auto labelledBy = QAccessible::queryAccessibleInterface(w.DictionaryBox())->relations(QAccessible::Label);
    ASSERT_EQ(labelledBy.size(), 1);
    EXPECT_EQ(labelledBy.first().first->text(QAccessible::Name), QStringLiteral("Dictionary:"));
}

// A screen reader reads a label's accessible name in place of its text: the
// labels whose text changes read as they are shown.
TEST_F(MainWindowTest, ScreenReadersReadTheTextsTheLabelsShow)
{
    Settings(data.path()).SetIgnoreUrls(QStringLiteral("*/nothing/*"));
    MainWindow& w = Open();
    auto read = [](QWidget* widget) { return QAccessible::queryAccessibleInterface(widget)->text(QAccessible::Name); };
    auto status = [&w](int panel) { return w.findChild<QLabel*>(QStringLiteral("status%1").arg(panel)); };
    QSignalSpy finished(&w, &MainWindow::crawlFinished);
    w.UrlBox()->setText(site.Url());
    w.StartStop();
    ASSERT_TRUE(QTest::qWaitFor([&] { return w.StatusText(3).contains(QStringLiteral("slow.html")); }, 10000));
    for (int panel = 0; panel < 4; ++panel) {
        EXPECT_FALSE(w.StatusText(panel).isEmpty()) << panel;
        EXPECT_EQ(read(status(panel)), w.StatusText(panel)) << panel;
    }
    EXPECT_TRUE(read(status(1)).contains(QStringLiteral(" / ")));
    ASSERT_TRUE(finished.wait(20000));
    EXPECT_EQ(read(status(3)), QStringLiteral("Completed"));

    QSignalSpy refreshed(&w, &MainWindow::unknownWordsRefreshed);
    ASSERT_TRUE(QTest::qWaitFor([&] { return w.WordsTab()->Model()->rowCount() > 0; }, 10000));
    QSignalSpy sources(w.WordsTab()->Sources(), &WordSourcesPane::shown);
    w.WordsTab()->SelectRow(0);
    ASSERT_TRUE(sources.wait(5000));
    QSignalSpy facts(w.UrlsTab()->Facts(), &PageFactsPane::shown);
    w.UrlsTab()->SelectRow(0);
    ASSERT_TRUE(facts.wait(5000));
    // Every plain-text label of the window, the word and the counters among them.
    for (QLabel* label : w.findChildren<QLabel*>()) {
        if (label->text().isEmpty() || Qt::mightBeRichText(label->text()))
            continue;
        EXPECT_EQ(read(label), QString(label->text()).remove(u'&')) << label->objectName().toStdString();
    }
    EXPECT_EQ(read(w.findChild<QLabel*>(QStringLiteral("sourceWord"))), w.WordsTab()->SelectedWord());
    EXPECT_EQ(read(w.findChild<QLabel*>(QStringLiteral("titleCount"))), QStringLiteral("Length: 12"));
}

TEST_F(MainWindowTest, TheAboutTextIsReadNotItsCaption)
{
    AboutWindow about(data.path(), QStringLiteral("/program/"));
    const QString read = QAccessible::queryAccessibleInterface(about.findChild<QLabel*>(QStringLiteral("about")))
                             ->text(QAccessible::Name);
    EXPECT_TRUE(read.contains(QStringLiteral("Data folder: ") + data.path())) << read.toStdString();
}

// Every menu and menu item has an underlined letter, none used twice in one menu.
TEST_F(MainWindowTest, MenusHaveMnemonicsAndTheUsualShortcuts)
{
    MainWindow& w = Open();
    QList<QMenu*> menus;
    std::function<void(const QList<QAction*>&, const QString&)> check = [&](const QList<QAction*>& actions,
                                                                             const QString& where) {
        QSet<QChar> letters;
        for (QAction* action : actions) {
            if (action->isSeparator())
                continue;
            const QString text = action->text();
            const qsizetype amp = text.indexOf(u'&');
            ASSERT_TRUE(amp >= 0 && amp + 1 < text.size()) << (where + text).toStdString();
            EXPECT_FALSE(letters.contains(text.at(amp + 1).toLower())) << (where + text).toStdString();
            letters.insert(text.at(amp + 1).toLower());
            if (action->menu())
                check(action->menu()->actions(), text + QStringLiteral(" > "));
        }
    };
    check(w.menuBar()->actions(), QString());
    check(w.StartButton()->menu()->actions(), QStringLiteral("Start > "));

    const struct {
        const char* action;
        QKeySequence keys;
    } shortcuts[] = {
        {"loadProject", QKeySequence(Qt::CTRL | Qt::Key_O)}, {"saveProject", QKeySequence(Qt::CTRL | Qt::Key_S)},
        {"exit", QKeySequence(Qt::CTRL | Qt::Key_Q)},        {"find", QKeySequence(Qt::CTRL | Qt::Key_F)},
        {"exportList", QKeySequence(Qt::CTRL | Qt::Key_E)},  {"startStop", QKeySequence(Qt::Key_F5)},
        {"stop", QKeySequence(Qt::SHIFT | Qt::Key_F5)},
    };
    for (const auto& s : shortcuts) {
        QAction* action = w.Action(QString::fromLatin1(s.action));
        ASSERT_TRUE(action) << s.action;
        EXPECT_EQ(action->shortcut(), s.keys) << s.action;
    }

    // The keys act, with the focus in the list.
    w.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
    w.UrlsTab()->View()->setFocus();
    QTest::keyClick(w.UrlsTab()->View(), Qt::Key_F, Qt::ControlModifier);
    EXPECT_TRUE(w.findChild<FindDialog*>()->isVisible());
    w.findChild<FindDialog*>()->close();
    w.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
    QSignalSpy finished(&w, &MainWindow::crawlFinished);
    w.UrlBox()->setText(site.Url());
    QTest::keyClick(w.UrlsTab()->View(), Qt::Key_F5);
    EXPECT_EQ(w.Phase(), CrawlPhase::Running);
    ASSERT_TRUE(finished.wait(20000));
}

// Tab goes through each list as one stop and on to its buttons and its pane.
TEST_F(MainWindowTest, TabReachesTheButtonsAndThePaneBesideEachList)
{
    MainWindow& w = Open();
    Crawl(site.Url());
    w.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
    auto walk = [&w](QWidget* from) {
        from->setFocus();
        QStringList stops;
        for (int i = 0; i < 12; ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            stops << QApplication::focusWidget()->objectName();
        }
        return stops;
    };
    w.UrlsTab()->SelectRow(1);
    QStringList stops = walk(w.UrlsTab()->View());
    EXPECT_EQ(stops.value(0), QStringLiteral("find")) << stops.join(' ').toStdString();
    EXPECT_EQ(stops.value(1), QStringLiteral("export")) << stops.join(' ').toStdString();
    EXPECT_TRUE(stops.contains(QStringLiteral("title"))) << stops.join(' ').toStdString();
    EXPECT_EQ(w.UrlsTab()->View()->currentIndex().row(), 1);  // Tab left the row where it was

    w.Tabs()->setCurrentWidget(w.WordsTab());
    stops = walk(w.WordsTab()->View());
    EXPECT_EQ(stops.value(0), QStringLiteral("find")) << stops.join(' ').toStdString();
    EXPECT_EQ(stops.value(1), QStringLiteral("export")) << stops.join(' ').toStdString();
    EXPECT_TRUE(stops.contains(QStringLiteral("sourceList"))) << stops.join(' ').toStdString();
}

TEST_F(MainWindowTest, ShiftF10OpensTheContextMenuOfTheFocusedList)
{
    MainWindow& w = Open();
    Crawl(site.Url());
    w.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
    w.Tabs()->setCurrentWidget(w.WordsTab());
    w.WordsTab()->SelectRow(0);
    QStringList captions;
    QTimer::singleShot(0, [&captions] {
        if (auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget())) {
            for (QAction* action : menu->actions())
                captions << action->text();
            menu->close();
        }
    });
    QTest::keyClick(w.WordsTab()->View(), Qt::Key_F10, Qt::ShiftModifier);
    EXPECT_TRUE(captions.contains(QStringLiteral("Spell Check"))) << captions.join('|').toStdString();
}

// Through the accessibility interface, pressing Start starts; its menu is the second action.
TEST_F(MainWindowTest, TheStartButtonsDefaultActionStartsTheCrawl)
{
    MainWindow& w = Open();
    QAccessibleInterface* start = QAccessible::queryAccessibleInterface(w.StartButton());
    ASSERT_TRUE(start && start->actionInterface());
    const QStringList actions = start->actionInterface()->actionNames();
    ASSERT_GE(actions.size(), 2);
    EXPECT_EQ(actions.at(0), QAccessibleActionInterface::pressAction());
    EXPECT_EQ(actions.at(1), QAccessibleActionInterface::showMenuAction());
    EXPECT_EQ(start->text(QAccessible::Name), QStringLiteral("Start"));
    QSignalSpy finished(&w, &MainWindow::crawlFinished);
    w.UrlBox()->setText(site.Url());
    start->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    EXPECT_EQ(w.Phase(), CrawlPhase::Running);
    EXPECT_EQ(start->text(QAccessible::Name), QStringLiteral("STOP"));
    ASSERT_TRUE(finished.wait(20000));
}

// A start URL that brings nothing says why in the status bar and in a column of the list.
TEST_F(MainWindowTest, AFailedStartUrlSaysWhy)
{
    MainWindow& w = Open();
    const struct {
        QString url;
        QString status;
        QString reason;  // held by the failure text
    } cases[] = {
        {QStringLiteral("http://127.0.0.1:1/"), QStringLiteral("-1"), QStringLiteral("connect")},
        {site.Url("missing.html"), QStringLiteral("404"), QStringLiteral("404")},
    };
    for (const auto& c : cases) {
        Crawl(c.url);
        const InternalUrlModel* urls = w.UrlsTab()->Model();
        ASSERT_GE(urls->rowCount(), 1);
        EXPECT_EQ(urls->index(0, InternalUrlModel::StatusColumn).data().toString(), c.status);
        const QString failure = urls->index(0, InternalUrlModel::FailureColumn).data().toString();
        EXPECT_TRUE(failure.contains(c.reason, Qt::CaseInsensitive)) << failure.toStdString();
        EXPECT_EQ(w.StatusText(3), QStringLiteral("The start URL could not be fetched: ") + failure);
        EXPECT_EQ(urls->headerData(InternalUrlModel::FailureColumn, Qt::Horizontal).toString(), QStringLiteral("Failure"));
    }
    Crawl(site.Url());  // a page that failed further down leaves the crawl "Completed"
    EXPECT_EQ(w.StatusText(3), QStringLiteral("Completed"));
    EXPECT_FALSE(w.UrlsTab()->Model()->index(3, InternalUrlModel::FailureColumn).data().toString().isEmpty());
    EXPECT_EQ(w.UrlsTab()->Model()->index(0, InternalUrlModel::FailureColumn).data().toString(), QString());
    EXPECT_TRUE(platform.Said().isEmpty()) << platform.Said().join('\n').toStdString();
}

}  // namespace
