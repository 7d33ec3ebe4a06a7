// lexicrawl-cli as a user runs it: a real process crawling a small site that
// a loopback server serves, with the dictionaries the build ships.
#include <gtest/gtest.h>

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QProcessEnvironment>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QUrl>
#include <QDir>

#include <httplib.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <thread>

#include "support/loopback_server.h"
#include "support/qt_printers.h"

namespace {

const QString kCli = QStringLiteral(LEXICRAWL_BIN_DIR "/lexicrawl-cli");

struct Result {
    int exitCode = -1;
    QString out, err;
};

// Serves tests/data/cli/site under /site/ on 127.0.0.1, on a port of its own
// (herbs.html links to "/site/missing.html": root-relative links keep it).
class SiteServer {
public:
    explicit SiteServer(const QString& folder = QStringLiteral(LEXICRAWL_TEST_DATA "/cli/site"))
    {
        // A page that takes its time, so a test can interrupt a crawl mid-fetch.
        server_.Routes().Get("/site/slow.html", [](const httplib::Request&, httplib::Response& res) {
            std::this_thread::sleep_for(std::chrono::seconds(3));
            res.set_content("<html><body>slow</body></html>", "text/html");
        });
        server_.Routes().set_mount_point("/site", folder.toStdString());
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

class CliTest : public ::testing::Test {
protected:
    Result Run(QStringList args)
    {
        if (!args.isEmpty() && (args.first() == QLatin1String("crawl") || args.first() == QLatin1String("open") ||
                                args.first() == QLatin1String("check") || args.first() == QLatin1String("diff")))
            args << QStringLiteral("--data-folder") << data_.path();
        if (args.value(0) == QLatin1String("crawl"))  // only the interrupt test waits for the slow page
            args << QStringLiteral("--ignore-url") << QStringLiteral("*/slow.html");
        QProcess p;
        p.start(kCli, args);
        EXPECT_TRUE(p.waitForFinished(60000));
        return {p.exitCode(), QString::fromUtf8(p.readAllStandardOutput()), QString::fromUtf8(p.readAllStandardError())};
    }
    QString Path(const char* name) const { return data_.filePath(QString::fromLatin1(name)); }
    static QByteArray Read(const QString& path)
    {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

    QTemporaryDir data_;
};

}  // namespace

TEST_F(CliTest, CrawlPrintsUnknownWordsWithTheirPages)
{
    SiteServer site;
    const Result r = Run({"crawl", site.Url(), "--format", "json", "--dictionary", "English (United States)",
                          "--export-urls", Path("urls.csv"), "--export-words", Path("words.txt"),
                          "--save", Path("saved.db")});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    const QJsonObject root = QJsonDocument::fromJson(r.out.toUtf8()).object();
    const QJsonArray words = root.value("unknownWords").toArray();
    QStringList listed;
    for (const QJsonValue& w : words)
        listed << w.toObject().value("word").toString();
    EXPECT_EQ(listed.value(0), QStringLiteral("beens"));  // on two pages, so first
    EXPECT_TRUE(listed.contains(QStringLiteral("parsely")));
    EXPECT_FALSE(listed.contains(QStringLiteral("tomatoes")));
    const QJsonObject beens = words.at(0).toObject();
    EXPECT_EQ(beens.value("occurrence").toInt(), 2);
    EXPECT_EQ(beens.value("pages").toArray().size(), 2);

    // The summary and every page with its status, beside the words.
    const QJsonObject summary = root.value("summary").toObject();
    EXPECT_EQ(summary.value("outcome").toString(), QStringLiteral("completed"));
    EXPECT_EQ(summary.value("pagesFetched").toInt(), 4);
    EXPECT_EQ(summary.value("pagesFailed").toInt(), 1);
    EXPECT_EQ(summary.value("unknownWords").toInt(), listed.size());
    const QJsonArray pages = root.value("pages").toArray();
    ASSERT_EQ(pages.size(), 4);
    const QJsonObject missing = pages.at(3).toObject();
    EXPECT_TRUE(missing.value("url").toString().endsWith("/site/missing.html"));
    EXPECT_EQ(missing.value("status").toInt(), 404);
    EXPECT_TRUE(missing.value("failed").toBool());
    EXPECT_EQ(missing.value("error").toString(), QStringLiteral("HTTP/1.1 404 Not Found"));
    EXPECT_TRUE(pages.at(0).toObject().value("loadTime").isDouble());
    // One line per page on a log, then the summary.
    EXPECT_TRUE(r.err.contains(QStringLiteral("4 / 4  404")));
    EXPECT_TRUE(r.err.contains(QStringLiteral("4 pages fetched, 1 failed, %1 distinct unknown words").arg(listed.size())))
        << r.err.toStdString();

    // Entry order is breadth-first; the missing page is listed with its 404.
    const QByteArray urls = Read(Path("urls.csv"));
    EXPECT_TRUE(urls.startsWith("\xEF\xBB\xBFURL,Load_Time,URL_Length,Status_Code\r\n")) << urls.toStdString();
    const QList<QByteArray> lines = urls.split('\n');
    ASSERT_GE(lines.size(), 5);
    EXPECT_TRUE(lines[1].contains("/site/index.html,"));
    EXPECT_TRUE(lines[2].contains("/site/roses.html,"));
    EXPECT_TRUE(lines[3].contains("/site/herbs.html,"));
    EXPECT_TRUE(lines[4].contains("/site/missing.html,") && lines[4].endsWith(",404\r"));
    EXPECT_TRUE(Read(Path("words.txt")).contains("\r\nparsely\r\n") || Read(Path("words.txt")).contains("parsely\r\n"));

    // The saved project opens again with the same words and addresses.
    const Result opened = Run({"open", Path("saved.db"), "--format", "csv", "--export-urls", Path("again.txt")});
    ASSERT_EQ(opened.exitCode, 0) << opened.err.toStdString();
    EXPECT_TRUE(opened.out.startsWith(QStringLiteral("word,occurrence,pages\nbeens,2,")));
    EXPECT_EQ(opened.err, QStringLiteral("Text mode: standard\n"));
    EXPECT_EQ(Read(Path("again.txt")).count("\r\n"), 4);
}

TEST_F(CliTest, AProseCrawlSaysHowItsWordsWereRead)
{
    SiteServer site;
    const Result r = Run({"crawl", site.Url(), "--text", "prose", "--format", "json", "--save", Path("prose.db")});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    const QJsonObject root = QJsonDocument::fromJson(r.out.toUtf8()).object();
    EXPECT_EQ(root.value("textMode").toObject().value("mode").toString(), QStringLiteral("prose"));
    QStringList listed;
    for (const QJsonValue& w : root.value("unknownWords").toArray())
        listed << w.toObject().value("word").toString();
    EXPECT_EQ(listed, QStringList({"beens", "Parsely"}));  // as written on the page
    EXPECT_TRUE(r.err.contains(QStringLiteral("\nText mode: prose\n"))) << r.err.toStdString();

    const Result opened = Run({"open", Path("prose.db"), "--format", "csv"});
    ASSERT_EQ(opened.exitCode, 0) << opened.err.toStdString();
    EXPECT_EQ(opened.err, QStringLiteral("Text mode: prose\n"));
    EXPECT_TRUE(opened.out.startsWith(QStringLiteral("word,occurrence,pages\nbeens,2,")));

    const Result checked = Run({"check", "--text", "prose", "Paris", "paris", "The"});
    EXPECT_EQ(checked.out, QStringLiteral("Paris\tknown\nparis\tunknown\nThe\tknown\n"));
}

TEST_F(CliTest, FailOnUnknownAndLimitOne)
{
    SiteServer site;
    Result r = Run({"crawl", site.Url("roses.html"), "--limit", "1", "--quiet", "--fail-on-unknown",
                    "--format", "csv"});
    EXPECT_EQ(r.exitCode, 1) << r.err.toStdString();
    EXPECT_TRUE(r.err.isEmpty()) << r.err.toStdString();
    EXPECT_TRUE(r.out.contains(QStringLiteral("\nbeens,1,")));
    EXPECT_FALSE(r.out.contains(QStringLiteral("parsely")));  // herbs.html was never fetched
}

TEST_F(CliTest, ExitStatusesNameTheProblem)
{
    SiteServer site;
    struct Case {
        QStringList args;
        int exitCode;
        const char* errorPart;
    } cases[] = {
        {{"crawl"}, 2, "crawl takes one start URL"},
        {{"crawl", site.Url(), "--limit", "zero"}, 2, "invalid value 'zero' for --limit"},
        {{"crawl", site.Url(), "--dictionary", "Klingon"}, 2, "no dictionary's language name begins with 'Klingon'"},
        {{"crawl", site.Url(), "--ignore-url", "*[abc"}, 3, "ERROR: '*[abc' is an invalid mask at (6)"},
        // --quiet silences progress, never an error.
        {{"crawl", site.Url(), "--ignore-url", "*[abc", "--quiet"}, 3, "ERROR: '*[abc' is an invalid mask at (6)"},
        {{"crawl", site.Url(), "--connect-timeout", "99999999999"}, 2, "invalid value '99999999999'"},
        {{"crawl", "ftp://127.0.0.1/site/"}, 2, "is not an http or https URL"},
        {{"open", QStringLiteral(LEXICRAWL_TEST_DATA "/cli/site/index.html")}, 3, "is not a project database"},
        {{"open", QStringLiteral("/no/such/project.db")}, 3, "no such project file"},
        {{"crawl", site.Url(), "--memory", "--save", "x.db"}, 4, "No database file was found!"},
        {{"crawl", site.Url(), "--export-words", "/no/such/dir/w.csv"}, 4, "cannot write /no/such/dir/w.csv"},
    };
    for (const Case& c : cases) {
        const Result r = Run(c.args);
        EXPECT_EQ(r.exitCode, c.exitCode) << c.args.join(' ').toStdString() << "\n" << r.err.toStdString();
        EXPECT_TRUE(r.err.contains(QString::fromUtf8(c.errorPart))) << r.err.toStdString();
    }
}

TEST_F(CliTest, AStartUrlThatCannotBeFetchedFailsTheRun)
{
    SiteServer site;
    struct Case {
        QString url;
        const char* errorPart;
    } cases[] = {
        {QStringLiteral("http://127.0.0.1:1/site/"), "could not be fetched"},  // nothing listening
        {site.Url("gone.html"), "HTTP/1.1 404 Not Found"},
    };
    for (const Case& c : cases) {
        const Result r = Run({"crawl", c.url, "--connect-timeout", "2000", "--quiet"});
        EXPECT_EQ(r.exitCode, 5) << c.url.toStdString() << "\n" << r.err.toStdString();
        EXPECT_TRUE(r.err.contains(QString::fromUtf8(c.errorPart))) << r.err.toStdString();
        EXPECT_TRUE(r.out.startsWith(QStringLiteral("Word")));  // the (empty) list still prints
    }
}

TEST_F(CliTest, ATerminalGetsOneLiveProgressLine)
{
    if (QStandardPaths::findExecutable(QStringLiteral("script")).isEmpty())
        GTEST_SKIP() << "script (util-linux) is not installed: no pseudo-terminal to run under";
    SiteServer site;
    // script gives the program a terminal; its output is what the terminal showed.
    QProcess p;
    p.start(QStringLiteral("script"),
            {"-qec", QStringLiteral("%1 crawl %2 --data-folder %3 --ignore-url '*/slow.html'")
                         .arg(kCli, site.Url(), data_.path()),
             "/dev/null"});
    ASSERT_TRUE(p.waitForFinished(60000));
    const QString shown = QString::fromUtf8(p.readAllStandardOutput());
    EXPECT_EQ(p.exitCode(), 0) << shown.toStdString();
    EXPECT_TRUE(shown.contains(QStringLiteral("\r\x1b[K"))) << shown.toStdString();
    EXPECT_TRUE(shown.contains(QStringLiteral(" pages/s  "))) << shown.toStdString();
    EXPECT_FALSE(shown.contains(QStringLiteral("1 / 1  200")));  // no line per page
    EXPECT_TRUE(shown.contains(QStringLiteral("4 pages fetched, 1 failed")));
}

// A dictionary whose suggestion replay failed its load-time check is named
// once, after the summary (also under --quiet, which hides the summary), and
// its words get the same verdicts the slow way.
TEST_F(CliTest, AReplaySwitchedOffAtLoadIsNamedOnceAfterTheSummary)
{
    SiteServer site;
    const auto crawl = [&](const QByteArray& replay, const QStringList& extra) {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("LEXICRAWL_SPELL_REPLAY"), QString::fromLatin1(replay));
        QTemporaryDir data;  // no verdicts kept from another run
        QProcess p;
        p.setProcessEnvironment(env);
        p.start(kCli, QStringList{"crawl", site.Url(), "--format", "csv", "--dictionary", "English (United States)",
                                  "--data-folder", data.path(), "--ignore-url", "*/slow.html"}
                          + extra);
        EXPECT_TRUE(p.waitForFinished(60000));
        EXPECT_EQ(p.exitCode(), 0);
        return Result{p.exitCode(), QString::fromUtf8(p.readAllStandardOutput()),
                      QString::fromUtf8(p.readAllStandardError())};
    };
    const QString notice = QStringLiteral("replay off for en_US: LEXICRAWL_SPELL_REPLAY=distrust\n");
    const Result trusted = crawl("on", {});
    EXPECT_FALSE(trusted.err.contains(QStringLiteral("replay off"))) << trusted.err.toStdString();
    const Result distrusted = crawl("distrust", {});
    EXPECT_EQ(distrusted.err.count(notice), 1) << distrusted.err.toStdString();
    EXPECT_GT(distrusted.err.indexOf(notice), distrusted.err.indexOf(QStringLiteral("pages fetched")));
    EXPECT_EQ(distrusted.out, trusted.out);
    const Result quiet = crawl("distrust", {"--quiet"});
    EXPECT_EQ(quiet.err, notice);
    // Grouping asks the British, German and French dictionaries too. They are
    // loaded for spelling alone: no proof is built for them, so they have
    // nothing to tell (a proof built just to ask would cost seconds).
    const Result grouped = crawl("distrust", {"--quiet", "--likely-typos"});
    EXPECT_EQ(grouped.err, notice);
}

TEST_F(CliTest, CheckAndDictionaries)
{
    Result r = Run({"check", "--dictionary", "English (United", "garden", "beens", "paris"});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(r.out, QStringLiteral("garden\tknown\nbeens\tunknown\nparis\tknown\n"));
    r = Run({"dictionaries"});
    ASSERT_EQ(r.exitCode, 0);
    EXPECT_TRUE(r.out.contains(QStringLiteral("English (United States)\ten_US.oxt")));
    r = Run({"--version"});
    EXPECT_TRUE(r.out.startsWith(QStringLiteral("NORVANE - Lexicrawl 1.0")));
}

TEST_F(CliTest, FirstInterruptStopsTheCrawlAndKeepsWhatWasFound)
{
    SiteServer site;
    QProcess p;
    p.start(kCli, {"crawl", site.Url(), "--ignore-url", "*/roses.html", "--ignore-url", "*/herbs.html",
                   "--data-folder", data_.path(), "--export-urls", Path("partial.txt")});
    ASSERT_TRUE(p.waitForStarted());
    // index.html links nowhere else but to the slow page once the others are ignored.
    QFile index(QStringLiteral(LEXICRAWL_TEST_DATA "/cli/site/index.html"));
    ASSERT_TRUE(index.open(QIODevice::ReadOnly));
    ASSERT_TRUE(index.readAll().contains("slow.html"));
    QByteArray err;
    while (!err.contains("slow.html") && p.waitForReadyRead(20000))
        err += p.readAllStandardError();
    ::kill(pid_t(p.processId()), SIGINT);
    ASSERT_TRUE(p.waitForFinished(20000));
    EXPECT_EQ(p.exitCode(), 0);
    EXPECT_TRUE(p.readAllStandardOutput().contains("beens"));
    const QByteArray urls = Read(Path("partial.txt"));
    EXPECT_TRUE(urls.contains("/site/index.html\r\n"));
    EXPECT_TRUE(urls.contains("/site/slow.html\r\n"));  // listed, never recorded
}

namespace {

// A copy of the fixture site that a test may change between two crawls.
QString CopySite(const QString& to)
{
    QDir().mkpath(to);
    const QDir from(QStringLiteral(LEXICRAWL_TEST_DATA "/cli/site"));
    for (const QString& name : from.entryList(QDir::Files))
        QFile::copy(from.filePath(name), to + QLatin1Char('/') + name);
    return to;
}

void Replace(const QString& path, const QByteArray& before, const QByteArray& after)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    QByteArray text = file.readAll();
    file.close();
    ASSERT_TRUE(text.contains(before));
    text.replace(before, after);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(text);
}

QStringList Words(const QJsonArray& list)
{
    QStringList words;
    for (const QJsonValue& w : list)
        words << w.toObject().value("word").toString();
    return words;
}

}  // namespace

// What changed between two crawls of a site, and the exit status a CI job
// runs on: 1 only when a new unknown word appeared.
TEST_F(CliTest, DiffShowsNewAndFixedWordsAndNewlyFailingPages)
{
    const QString folder = CopySite(Path("site"));
    SiteServer site(folder);
    ASSERT_EQ(Run({"crawl", site.Url(), "--quiet", "--save", Path("old.db")}).exitCode, 0);
    Replace(folder + "/herbs.html", "Parsely needs water.", "Parsley needs water and cucumbre.");
    ASSERT_EQ(Run({"crawl", site.Url(), "--quiet", "--save", Path("new.db")}).exitCode, 0);

    Result r = Run({"diff", Path("old.db"), Path("new.db"), "--format", "json", "--quiet"});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    QJsonObject diff = QJsonDocument::fromJson(r.out.toUtf8()).object();
    EXPECT_EQ(Words(diff.value("newWords").toArray()), QStringList{"cucumbre"});
    EXPECT_EQ(Words(diff.value("fixedWords").toArray()), QStringList{"parsely"});
    EXPECT_TRUE(diff.value("newWords").toArray().at(0).toObject().value("pages").toArray().at(0).toString().endsWith(
        "/site/herbs.html"));
    EXPECT_TRUE(diff.value("newFailures").toArray().isEmpty());  // missing.html failed before too

    EXPECT_EQ(Run({"diff", Path("old.db"), Path("new.db"), "--fail-on-new"}).exitCode, 1);
    EXPECT_EQ(Run({"diff", Path("new.db"), Path("new.db"), "--fail-on-new"}).exitCode, 0);
    EXPECT_EQ(Run({"diff", Path("new.db"), Path("old.db"), "--fail-on-new"}).exitCode, 1);  // the typo comes back

    // In one step, against a baseline; a page that now fails is listed.
    QFile::remove(folder + "/roses.html");
    r = Run({"crawl", site.Url(), "--quiet", "--baseline", Path("new.db"), "--fail-on-new", "--format", "json"});
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
    diff = QJsonDocument::fromJson(r.out.toUtf8()).object();
    const QJsonArray failing = diff.value("newFailures").toArray();
    ASSERT_EQ(failing.size(), 1) << r.out.toStdString();
    EXPECT_TRUE(failing.at(0).toObject().value("url").toString().endsWith("/site/roses.html"));
    EXPECT_EQ(failing.at(0).toObject().value("status").toInt(), 404);
    r = Run({"crawl", site.Url(), "--quiet", "--baseline", Path("old.db"), "--fail-on-new"});
    EXPECT_EQ(r.exitCode, 1) << r.out.toStdString();
    EXPECT_TRUE(r.out.contains(QStringLiteral("New unknown words: 1\n  cucumbre")));
    // Ignored words are no news.
    QFile ignore(Path("ignore.txt"));
    ASSERT_TRUE(ignore.open(QIODevice::WriteOnly));
    ignore.write("cucumbre\n");
    ignore.close();
    r = Run({"crawl", site.Url(), "--quiet", "--baseline", Path("old.db"), "--fail-on-new", "--ignore-words",
             Path("ignore.txt")});
    EXPECT_EQ(r.exitCode, 0) << r.out.toStdString();

    EXPECT_EQ(Run({"diff", Path("old.db")}).exitCode, 2);
    r = Run({"diff", Path("old.db"), Path("none.db")});
    EXPECT_EQ(r.exitCode, 3);
    EXPECT_TRUE(r.err.contains("no such project file"));
    EXPECT_EQ(Run({"crawl", site.Url(), "--fail-on-new"}).exitCode, 2);  // needs a baseline
    EXPECT_EQ(Run({"crawl", site.Url(), "--ignore-words", Path("none.txt")}).exitCode, 3);
}

// The report is one file that needs nothing else; in a real browser its
// list shows, sorts by word and by count, filters, and opens to the pages.
TEST_F(CliTest, TheReportRendersSortsAndFiltersInABrowser)
{
    SiteServer site;
    const Result r = Run({"crawl", site.Url(), "--quiet", "--report", Path("report.html"), "--dictionary",
                          "English (United States)"});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    const QByteArray html = Read(Path("report.html"));
    ASSERT_FALSE(html.isEmpty());
    EXPECT_FALSE(html.contains("<script src") || html.contains("<link") || html.contains("@import"));
    EXPECT_TRUE(html.contains("data-word=\"parsely\""));
    EXPECT_TRUE(html.contains("parsley"));  // a suggestion
    EXPECT_TRUE(html.contains("<mark>Parsely</mark>"));
    EXPECT_TRUE(html.contains("/site/missing.html"));

    QString browser;
    for (const char* name : {"chromium", "chromium-browser", "google-chrome"})
        if (browser.isEmpty())
            browser = QStandardPaths::findExecutable(QString::fromLatin1(name));
    if (browser.isEmpty())
        GTEST_SKIP() << "no headless Chromium (Debian package chromium) is installed: the report was checked as text only";

    // The page drives its own list and writes what it saw into the document.
    QByteArray driven = html;
    driven.replace("</body>", R"(<script>
(function(){
  function shown(){return Array.prototype.filter.call(document.querySelectorAll('#words tbody tr.word'),
    function(r){return !r.hidden;}).map(function(r){return r.dataset.word;}).join(',');}
  var out=['initial:'+shown()];
  document.querySelector('th[data-key=word]').click(); out.push('word:'+shown());
  document.querySelector('th[data-key=word]').click(); out.push('wordback:'+shown());
  document.querySelector('th[data-key=count]').click(); out.push('count:'+shown());
  var row=document.querySelector('tr.word[data-word=parsely]'); row.click();
  out.push('open:'+(!row.nextElementSibling.hidden && row.nextElementSibling.querySelector('mark').textContent));
  var f=document.getElementById('filter'); f.value='PARS'; f.dispatchEvent(new Event('input'));
  out.push('filter:'+shown());
  var pre=document.createElement('pre'); pre.id='result'; pre.textContent=out.join('\n'); document.body.appendChild(pre);
})();
</script></body>)");
    QFile page(Path("driven.html"));
    ASSERT_TRUE(page.open(QIODevice::WriteOnly));
    page.write(driven);
    page.close();
    QProcess p;
    p.start(browser, {"--headless", "--no-sandbox", "--disable-gpu", "--disable-quic", "--no-first-run",
                      "--disable-background-networking", "--disable-component-update", "--disable-sync",
                      "--user-data-dir=" + Path("browser"), "--dump-dom",
                      QUrl::fromLocalFile(Path("driven.html")).toString()});
    ASSERT_TRUE(p.waitForFinished(120000));
    const QString dom = QString::fromUtf8(p.readAllStandardOutput());
    const qsizetype start = dom.indexOf(QStringLiteral("<pre id=\"result\">"));
    ASSERT_GE(start, 0) << dom.left(2000).toStdString() << p.readAllStandardError().toStdString();
    const QStringList seen =
        dom.mid(start + 17, dom.indexOf(QStringLiteral("</pre>"), start) - start - 17).split(QLatin1Char('\n'));
    ASSERT_EQ(seen.size(), 6) << seen.join(" | ").toStdString();
    QStringList words = seen[1].mid(5).split(QLatin1Char(','));
    EXPECT_TRUE(seen[0].startsWith(QStringLiteral("initial:beens,")));  // most pages first
    QStringList sorted = words;
    std::sort(sorted.begin(), sorted.end());
    EXPECT_EQ(words, sorted);
    EXPECT_GT(words.size(), 1);
    QStringList back = seen[2].mid(9).split(QLatin1Char(','));
    std::reverse(back.begin(), back.end());
    EXPECT_EQ(back, words);
    EXPECT_TRUE(seen[3].startsWith(QStringLiteral("count:beens,")));
    EXPECT_EQ(seen[4], QStringLiteral("open:Parsely"));
    EXPECT_EQ(seen[5], QStringLiteral("filter:parsely"));
}

TEST_F(CliTest, LikelyTyposLimitTheOutputAndFailTheRun)
{
    SiteServer site;
    const Result typos = Run({"crawl", site.Url(), "--quiet", "--likely-typos", "--fail-on-typos", "--format", "csv",
                              "--dictionary", "English (United States)", "--export-words", Path("typos.txt"),
                              "--save", Path("typos.db")});
    EXPECT_EQ(typos.exitCode, 1) << typos.err.toStdString();
    EXPECT_TRUE(typos.out.startsWith(QStringLiteral("word,occurrence,correction,reason,pages\n"))) << typos.out.toStdString();
    EXPECT_TRUE(typos.out.contains(QStringLiteral("\nparsely,1,parsley,2 letters swapped in 'parsley',http://")))
        << typos.out.toStdString();
    const QByteArray exported = Read(Path("typos.txt"));
    EXPECT_TRUE(exported.contains("parsely"));

    // JSON gives every word its group, correction and reason; an opened
    // project is grouped as the crawl was.
    const Result json = Run({"open", Path("typos.db"), "--format", "json", "--dictionary", "English (United States)"});
    ASSERT_EQ(json.exitCode, 0) << json.err.toStdString();
    const QJsonArray words = QJsonDocument::fromJson(json.out.toUtf8()).object().value("unknownWords").toArray();
    ASSERT_FALSE(words.isEmpty());
    for (const QJsonValue& value : words) {
        const QJsonObject w = value.toObject();
        EXPECT_TRUE(w.contains("group") && w.contains("correction") && !w.value("reason").toString().isEmpty())
            << w.value("word").toString().toStdString();
        if (w.value("word").toString() == QStringLiteral("parsely")) {
            EXPECT_EQ(w.value("group").toString(), QStringLiteral("likely typo"));
            EXPECT_EQ(w.value("correction").toString(), QStringLiteral("parsley"));
        }
    }
    const Result typoTable =
        Run({"open", Path("typos.db"), "--likely-typos", "--dictionary", "English (United States)"});
    EXPECT_TRUE(typoTable.out.startsWith(QStringLiteral("Word"))) << typoTable.out.toStdString();
    EXPECT_TRUE(typoTable.out.contains(QStringLiteral("Correction"))) << typoTable.out.toStdString();
    EXPECT_TRUE(typoTable.out.contains(QStringLiteral("parsley"))) << typoTable.out.toStdString();

    // Site vocabulary alone: the variant passes where --fail-on-unknown fails.
    SiteServer names(QStringLiteral(LEXICRAWL_TEST_DATA "/cli/vocabulary"));
    const Result vocabulary = Run({"crawl", names.Url(), "--quiet", "--fail-on-typos", "--format", "csv",
                                   "--dictionary", "English (United States)"});
    EXPECT_EQ(vocabulary.exitCode, 0) << vocabulary.out.toStdString();
    EXPECT_TRUE(vocabulary.out.contains(QStringLiteral("\nkubernetes,1,"))) << vocabulary.out.toStdString();
    const Result unknown = Run({"crawl", names.Url(), "--quiet", "--fail-on-unknown", "--dictionary",
                                "English (United States)"});
    EXPECT_EQ(unknown.exitCode, 1);
    // The findings follow the table: "of of" across a line break, not the
    // heading's "Run" before the paragraph's.
    EXPECT_TRUE(unknown.out.contains(QStringLiteral("\nRepeated words\nof of  ")) && !unknown.out.contains("Run Run"))
        << unknown.out.toStdString();
}

// A run whose output shows neither groups nor findings keeps no word
// evidence, unless it saves the project: that is opened and grouped later.
TEST_F(CliTest, ASavedProjectKeepsItsWordEvidenceWhateverTheRunPrinted)
{
    SiteServer names(QStringLiteral(LEXICRAWL_TEST_DATA "/cli/vocabulary"));
    const Result csv = Run({"crawl", names.Url(), "--quiet", "--format", "csv", "--dictionary",
                            "English (United States)", "--save", Path("plain.db")});
    ASSERT_EQ(csv.exitCode, 0) << csv.err.toStdString();
    EXPECT_FALSE(csv.out.contains(QStringLiteral("Repeated words"))) << csv.out.toStdString();
    const Result opened = Run({"open", Path("plain.db"), "--dictionary", "English (United States)"});
    ASSERT_EQ(opened.exitCode, 0) << opened.err.toStdString();
    EXPECT_TRUE(opened.out.contains(QStringLiteral("\nRepeated words\nof of  "))) << opened.out.toStdString();
    // Grouped as a crawl that printed its groups: the same reasons, counts included.
    auto groups = [](const Result& r) {
        QStringList out;
        for (const QJsonValue& value :
             QJsonDocument::fromJson(r.out.toUtf8()).object().value("unknownWords").toArray())
            out << value.toObject().value("word").toString() + QLatin1Char(' ') +
                       value.toObject().value("reason").toString();
        return out;
    };
    const Result reopened = Run({"open", Path("plain.db"), "--format", "json", "--dictionary", "English (United States)"});
    const Result crawled = Run({"crawl", names.Url(), "--quiet", "--format", "json", "--dictionary",
                                "English (United States)"});
    EXPECT_FALSE(groups(crawled).isEmpty()) << crawled.out.toStdString();
    EXPECT_EQ(groups(reopened), groups(crawled));
}
