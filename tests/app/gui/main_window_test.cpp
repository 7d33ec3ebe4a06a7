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
#include <QTabWidget>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>
#include <QTreeWidget>

#include <httplib.h>

#include <chrono>
#include <memory>
#include <thread>

#include "app/core/app_environment.h"
#include "app/core/crawl_session.h"
#include "app/gui/crawl_events.h"
#include "app/gui/gui_platform.h"
#include "app/gui/internal_url_model.h"
#include "app/gui/internal_urls_tab.h"
#include "app/gui/main_window.h"
#include "app/gui/page_facts_pane.h"
#include "app/gui/unknown_word_model.h"
#include "app/gui/unknown_words_tab.h"
#include "app/gui/word_sources_pane.h"
#include "store/project_files.h"
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
        server_.Get("/site/slow.html", [](const httplib::Request&, httplib::Response& res) {
            std::this_thread::sleep_for(std::chrono::milliseconds(1500));
            res.set_content("<html><body>slow</body></html>", "text/html");
        });
        server_.set_mount_point("/site", LEXICRAWL_TEST_DATA "/cli/site");
        port_ = server_.bind_to_any_port("127.0.0.1");
        thread_ = std::thread([this] { server_.listen_after_bind(); });
    }
    ~SiteServer()
    {
        server_.stop();
        thread_.join();
    }
    QString Url(const char* page = "index.html") const
    {
        return QStringLiteral("http://127.0.0.1:%1/site/%2").arg(port_).arg(QString::fromLatin1(page));
    }

private:
    httplib::Server server_;
    int port_ = 0;
    std::thread thread_;
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
    window->WordsTab()->SelectRow(0);  // "beens", on two pages
    ASSERT_TRUE(sources.wait(5000));
    EXPECT_EQ(Text("sourceWord"), QStringLiteral("beens"));
    EXPECT_EQ(window->WordsTab()->Sources()->List()->topLevelItemCount(), 2);
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
    window->FindNext(QStringLiteral("no such page"));
    EXPECT_EQ(window->UrlsTab()->View()->currentIndex().row(), 2);
    EXPECT_TRUE(platform.Said().isEmpty());

    window->Tabs()->setCurrentWidget(window->WordsTab());
    window->FindNext(QStringLiteral("PARSE"));
    EXPECT_EQ(window->WordsTab()->SelectedWord(), QStringLiteral("parsely"));
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
    const std::vector<InternalUrl> table = w.Session().Control().Table().Snapshot();
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
    const QString workingFile = w.Session().Database().WorkingFilePath();
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
    EXPECT_EQ(window->Session().Approvals().Site(), QStringList{"beens"});

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
    ASSERT_TRUE(finished.wait(20000));

    // Split at its space, as a shell would hand it over.
    MainWindow& reopened = Open(saved.split(QLatin1Char(' ')));
    ASSERT_TRUE(QTest::qWaitFor([&] { return reopened.UrlsTab()->Model()->rowCount() >= 4; }, 10000));
    ASSERT_TRUE(QTest::qWaitFor([&] { return reopened.WordsTab()->Model()->rowCount() > 0; }, 10000));
    EXPECT_EQ(reopened.UrlsTab()->Model()->index(0, InternalUrlModel::StatusColumn).data().toString(), QString());
    EXPECT_TRUE(reopened.windowTitle().contains(QStringLiteral("(Database: ")));
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
                                    [](QAction* a) { return a->text() == QStringLiteral("Reset to Defaults"); });
    ASSERT_NE(reset, actions.end());
    (*reset)->trigger();
    EXPECT_TRUE(platform.Said().contains(QStringLiteral("Restart Application?")));
    EXPECT_TRUE(platform.Said().contains(QStringLiteral("start ")));
    EXPECT_FALSE(QFile::exists(data.filePath(QStringLiteral("settings.ini"))));
}

TEST_F(MainWindowTest, EveryControlHasAnAccessibleName)
{
    MainWindow& w = Open();
    w.findChild<QCheckBox*>(QStringLiteral("showOptions"))->setChecked(true);
    QStringList unnamed;
    for (QWidget* widget : w.findChildren<QWidget*>()) {
        const bool control = qobject_cast<QAbstractButton*>(widget) || qobject_cast<QLineEdit*>(widget) ||
                             qobject_cast<QComboBox*>(widget) || qobject_cast<QAbstractSpinBox*>(widget) ||
                             qobject_cast<QAbstractItemView*>(widget) || qobject_cast<QPlainTextEdit*>(widget) ||
                             qobject_cast<QTabWidget*>(widget);
        // Parts of other controls (a spin box's editor, a combo box's list) speak through their owner.
        QWidget* parent = widget->parentWidget();
        const bool part = parent && (qobject_cast<QAbstractSpinBox*>(parent) || qobject_cast<QComboBox*>(parent) ||
                                     qobject_cast<QAbstractItemView*>(parent) || qobject_cast<QMenuBar*>(parent) ||
                                     qobject_cast<QAbstractItemView*>(parent->parentWidget()) ||
                                     qobject_cast<QTabWidget*>(parent->parentWidget()));
        if (!control || part || widget->window() != &w)
            continue;
        QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(widget);
        if (!accessible || accessible->text(QAccessible::Name).isEmpty())
            unnamed << QString::fromLatin1(widget->metaObject()->className()) + QLatin1Char(' ') + widget->objectName();
    }
    EXPECT_TRUE(unnamed.isEmpty()) << unnamed.join(u'\n').toStdString();
}

}  // namespace
