#include "cli/cli_app.h"

#include <QFileInfo>

#include <atomic>
#include <optional>
#include <cstdio>
#include <unistd.h>

#include "analysis/export_files.h"
#include "analysis/result_text.h"
#include "app/core/app_environment.h"
#include "app/core/app_identity.h"
#include "app/core/crawl_diff.h"
#include "app/core/crawl_report.h"
#include "app/core/crawl_session.h"
#include "app/core/crawl_settings.h"
#include "app/core/word_approvals.h"
#include "app/core/word_groups_loader.h"
#include "cli/cli_host.h"
#include "cli/cli_platform.h"
#include "cli/report_output.h"
#include "cli/terminal_text.h"
#include "crawl/renderer.h"
#include "platform/serial_worker.h"
#include "platform/text.h"

namespace lexicrawl::cli {

namespace {

std::atomic<std::atomic<bool>*> g_stopFlag{nullptr};

void Out(const QString& text)
{
    const QByteArray bytes = text.toUtf8();
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stdout);
    std::fflush(stdout);
}

void Err(const QString& text)
{
    const QByteArray bytes = (text + QLatin1Char('\n')).toUtf8();
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stderr);
    std::fflush(stderr);
}

// The folders the dictionaries are read from: the one --dictionaries names,
// else the user's and the shipped one.
QStringList DictionaryFolders(const CliOptions& o, const AppEnvironment& env)
{
    return o.dictionariesFolder.isEmpty() ? env.DictionaryFolders() : QStringList{o.dictionariesFolder};
}

// Loads the dictionaries of the folders and selects the wanted one.
using DictionaryLoader = std::function<DictionaryList(const QStringList& folders, const QString& wanted)>;

// Loads the dictionary the options or the settings name. The command line
// never writes the choice back to settings.ini. Answers nothing when the
// dictionary asked for is not there.
std::optional<DictionaryList> ChooseDictionary(const DictionaryLoader& load, const CliOptions& o,
                                               const AppEnvironment& env)
{
    const QStringList folders = DictionaryFolders(o, env);
    const QString wanted = o.dictionary.isEmpty() ? env.settings().DictionaryLanguage() : o.dictionary;
    const DictionaryList list = load(folders, wanted);
    if (list.items.isEmpty()) {
        PrintError(QStringLiteral("no dictionary found in %1; every word counts as unknown").arg(folders.join(QStringLiteral(" or "))));
        if (!o.dictionary.isEmpty())
            return std::nullopt;
    } else if (!o.dictionary.isEmpty() && !list.SelectedName().startsWith(o.dictionary)) {
        PrintError(QStringLiteral("no dictionary's language name begins with '%1' (try 'lexicrawl-cli dictionaries')")
                       .arg(o.dictionary));
        return std::nullopt;
    }
    return list;
}

// Whether the words need their groups: JSON gives every word its group.
bool NeedsGroups(const CliOptions& o)
{
    return o.likelyTypos || o.failOnTypos || o.format == OutputFormat::Json;
}

// Whether the output shows the findings beside the words: the table and JSON do.
bool ShowsFindings(const CliOptions& o)
{
    return o.format != OutputFormat::Csv;
}

// Whether the crawl must keep what the groups and findings weigh: an output
// that shows them, and a saved project, which may be opened and grouped later.
bool NeedsWordEvidence(const CliOptions& o)
{
    return NeedsGroups(o) || ShowsFindings(o) || !o.saveProject.isEmpty() || !o.report.isEmpty();
}

// The command line's options over the stored ones; none of them is written
// back. A switch can only turn its option one way.
CrawlOverrides Overrides(const CliOptions& o)
{
    CrawlOverrides c;
    c.startUrl = o.url;
    c.subdomainScope = o.subdomainScope;
    c.urlLimit = o.limit;
    c.ignoreExtensions = o.ignoreExtensions;
    if (o.ignoreUrls)
        c.ignoreUrls = JoinLines(*o.ignoreUrls);
    if (o.keepAnchors)
        c.removeAnchors = false;
    if (o.removeQueryStrings)
        c.removeQueryString = true;
    if (o.noStripMarkup)
        c.stripHtmlMarkup = false;
    c.followRedirects = !o.noFollowRedirects;
    c.userAgent = o.userAgent;
    c.connectTimeoutMs = o.connectTimeoutMs;
    c.readTimeoutMs = o.readTimeoutMs;
    c.connections = o.connections;
    c.delayMs = o.delayMs;
    if (o.memory)
        c.location = DatabaseLocation::Memory;
    c.wordEvidence = NeedsWordEvidence(o);
    c.textMode = o.textMode;
    if (o.checkAltAndTitle)
        c.checkAltAndTitle = true;
    if (o.insecure)
        c.insecure = true;
    if (o.robots)
        c.robots = true;
    if (o.sitemaps)
        c.sitemaps = true;
    if (o.documents)
        c.documents = true;
    if (o.render)
        c.render = true;
    c.renderTimeoutMs = o.renderTimeoutMs;
    c.renderAllowedHosts = o.renderAllowedHosts;
    return c;
}

CliHost::Style ProgressStyle(const CliOptions& o)
{
    if (o.quiet)
        return CliHost::Style::None;
    return isatty(STDERR_FILENO) ? CliHost::Style::LiveLine : CliHost::Style::LinePerPage;
}

// Prints the report, writes the exports and the saved project; answers
// kExitOk, or kExitOutputFailed when something could not be written.
int Output(CrawlSession& session, const Report& report, const CliOptions& o, const Platform& platform,
           const CrawlDiff* diff = nullptr)
{
    Out(diff ? FormatDiff(*diff, o.format) : FormatReport(report, o.format));
    int status = kExitOk;
    if (!o.report.isEmpty()) {
        ReportData data;
        QString error;
        const QString site = o.command == Command::Crawl ? o.url : o.project;
        if (!CollectReport(session, site, report.summary, data, &error) ||
            !WriteHtmlReport(o.report, data, &error)) {
            PrintError(QStringLiteral("cannot write %1: %2").arg(o.report, error));
            status = kExitOutputFailed;
        }
    }
    if (!o.exportUrls.isEmpty()) {
        const ExportResult r =
            ExportInternalUrls(o.exportUrls, report.pages, platform.DecimalSeparator(), platform.ListSeparator(),
                               PageNotes(report.notes, report.documents));
        if (r.Failed()) {
            PrintError(QStringLiteral("cannot write %1: %2").arg(o.exportUrls, r.error));
            status = kExitOutputFailed;
        }
    }
    if (!o.exportWords.isEmpty()) {
        const ExportResult r = ExportWords(o.exportWords, report.words, platform.ListSeparator());
        if (r.Failed()) {
            PrintError(QStringLiteral("cannot write %1: %2").arg(o.exportWords, r.error));
            status = kExitOutputFailed;
        }
    }
    if (!o.saveProject.isEmpty()) {
        QString error;
        if (!session.SaveProjectAs(o.saveProject, &error)) {
            PrintError(QStringLiteral("cannot save %1: %2").arg(o.saveProject, error));
            status = kExitOutputFailed;
        }
    }
    return status;
}

// The unknown words (grouped when the options need it) and how they were read.
bool LoadWords(CrawlSession& session, Report& report, const CliOptions& o)
{
    QString error;
    bool loaded = false;
    if (NeedsGroups(o)) {
        GroupedWords grouped;
        loaded = LoadGroupedWords(session, grouped, &error, true);
        report.words = std::move(grouped.words);
        report.groups = std::move(grouped.groups);
        report.approved = grouped.approved;
        report.repeatedWords = std::move(grouped.repeatedWords);
        report.twoSpellings = std::move(grouped.twoSpellings);
    } else {
        loaded = session.UnknownWords(report.words, &error, true, &report.approved);
    }
    if (loaded && !NeedsGroups(o) && ShowsFindings(o)) {
        try {
            SiteWordPages sitePages;
            LoadSessionWordPages(session, sitePages);
            report.twoSpellings = FindTwoSpellings(sitePages);
            report.repeatedWords = LoadRepeatedWords(session.Database());
        } catch (const DatabaseError& e) {
            error = e.Text();
            loaded = false;
        }
    }
    if (!loaded) {
        PrintError(QStringLiteral("cannot read the unknown words: ") + error);
        return false;
    }
    try {
        report.text = session.ProjectTextMode();
    } catch (const DatabaseError& e) {
        PrintError(QStringLiteral("cannot read the text mode: ") + e.Text());
        return false;
    }
    try {
        report.notes = LoadCrawlNotes(session.Database());
        report.documents = LoadDocuments(session.Database());
    } catch (const DatabaseError& e) {
        PrintError(QStringLiteral("cannot read the crawl's notes: ") + e.Text());
        return false;
    }
    return true;
}

// --fail-on-unknown and --fail-on-typos.
int WordsStatus(const Report& report, const CliOptions& o)
{
    if (o.failOnUnknown && !report.words.empty())
        return kExitUnknownWords;
    if (o.failOnTypos) {
        for (const WordGrouping& g : report.groups) {
            if (g.LikelyTypo())
                return kExitUnknownWords;
        }
    }
    return kExitOk;
}

// The crawl's exit status once the report is out: a start page that brought
// nothing fails a CI job against a site that is down.
int CrawlStatus(const Report& report, const CliOptions& o)
{
    if (!report.pages.empty() && VisitFailed(report.pages.front())) {
        const InternalUrl& start = report.pages.front();
        PrintError(QStringLiteral("the start URL %1 could not be fetched: %2")
                       .arg(start.page, FailureText(start)));
        return kExitStartFailed;
    }
    return WordsStatus(report, o);
}

// The words of --ignore-words leave the list for this run.
bool ApplyIgnoreWords(CrawlSession& session, const CliOptions& o)
{
    if (o.ignoreWords.isEmpty())
        return true;
    QStringList words;
    QString error;
    if (!QFileInfo(o.ignoreWords).isFile() || !ReadWordListFile(o.ignoreWords, words, &error)) {
        PrintError(QStringLiteral("cannot read %1: %2")
                       .arg(o.ignoreWords, error.isEmpty() ? QStringLiteral("no such file") : error));
        return false;
    }
    session.AddApprovals(ApprovalKind::Ignored, words);
    return true;
}

// What the crawl just run holds, to compare with a baseline.
ProjectContents CurrentContents(CrawlSession& session, const Report& report)
{
    ProjectContents now;
    QString error;
    session.UnknownWords(now.words, &error, true);
    now.approved = session.SiteApprovals();
    now.fetches = report.pages;
    return now;
}

int RunCrawl(const CliOptions& o, CliPlatform& platform)
{
    AppEnvironment env(platform, o.dataFolder);
    QString error;
    const std::optional<CrawlOptions> options = CrawlOptionsFromSettings(env.settings(), Overrides(o), &error);
    if (!options) {
        PrintError(QStringLiteral("settings.ini: ") + error);
        return kExitCannotStart;
    }
    // Before the dictionaries load: a missing browser is known at once.
    if (options->render && RenderBrowser().isEmpty()) {
        PrintError(RenderBrowserMissingText());
        return kExitCannotStart;
    }
    CliHost host(ProgressStyle(o));
    CrawlSession session(env, host);
    if (!ChooseDictionary(
            [&session](const QStringList& folders, const QString& wanted) {
                return session.LoadDictionariesNow(folders, wanted);
            },
            o, env))
        return kExitUsage;
    if (!ApplyIgnoreWords(session, o))
        return kExitCannotStart;
    std::optional<ProjectContents> baseline;
    if (!o.baseline.isEmpty()) {
        baseline.emplace();
        if (!ReadProject(env, o.baseline, *baseline, &error)) {
            PrintError(error);
            return kExitCannotStart;
        }
        // What was approved for the site stays approved.
        session.AddApprovals(ApprovalKind::Site, baseline->approved);
    }

    // What the groups ask of the dictionaries takes a while to make: it is
    // made beside the crawl rather than after it.
    if (NeedsGroups(o))
        session.Spelling().PrepareWordGroups();
    g_stopFlag.store(&session.StopRequestFlag());
    const StartResult started = session.Start(*options);
    session.WaitUntilFinished();
    g_stopFlag.store(nullptr);
    host.FinishProgress();
    if (!started.Started())
        return kExitCannotStart;  // the database's failure was reported
    const CrawlSummary summary = session.LastSummary();
    if (summary.outcome == CrawlOutcome::Failed) {
        PrintError(QStringLiteral("ERROR: ") + summary.failureText);
        return kExitCannotStart;
    }

    Report report;
    report.pages = session.Pages();
    report.summary = summary;
    if (!LoadWords(session, report, o))
        return kExitCannotStart;
    if (!o.quiet) {
        Err(SummaryLine(summary, qsizetype(report.words.size()), report.approved));
        for (const QString& line : SourceLines(report))
            Err(line);
        if (report.text->options.Prose())
            Err(TextModeLine(*report.text));
    }
    // A warning, so --quiet keeps it: the words of that dictionary were
    // checked the slow way.
    for (const QString& notice : session.ReplayNoticesNow())
        Err(notice);
    if (o.likelyTypos)
        KeepLikelyTypos(report);
    std::optional<CrawlDiff> diff;
    if (baseline)
        diff = CompareCrawls(*baseline, CurrentContents(session, report));
    const int output = Output(session, report, o, platform, diff ? &*diff : nullptr);
    int status = CrawlStatus(report, o);
    if (status == kExitOk && diff && o.failOnNew && !diff->newWords.empty())
        status = kExitUnknownWords;
    return output != kExitOk ? output : status;
}

int RunOpen(const CliOptions& o, CliPlatform& platform)
{
    AppEnvironment env(platform, o.dataFolder);
    if (!QFileInfo(o.project).isFile()) {
        PrintError(QStringLiteral("%1: no such project file").arg(o.project));
        return kExitCannotStart;
    }
    CrawlHost host;
    CrawlSession session(env, host);
    if (!session.OpenProject(o.project)) {
        PrintError(QStringLiteral("%1 is not a project database").arg(o.project));
        return kExitCannotStart;
    }
    if (!ApplyIgnoreWords(session, o))
        return kExitCannotStart;
    if (!o.report.isEmpty() || NeedsGroups(o)) {  // the report's suggestions and the groups need a dictionary
        const QString wanted = o.dictionary.isEmpty() ? env.settings().DictionaryLanguage() : o.dictionary;
        session.LoadDictionariesNow(DictionaryFolders(o, env), wanted);
        if (NeedsGroups(o))
            session.Spelling().PrepareWordGroups();  // made while the words are read
    }
    Report report;
    report.pages = session.Pages();
    if (!LoadWords(session, report, o))
        return kExitCannotStart;
    if (!o.quiet)
        Err(TextModeLine(*report.text));
    if (o.likelyTypos)
        KeepLikelyTypos(report);
    const int output = Output(session, report, o, platform);
    if (output != kExitOk)
        return output;
    return WordsStatus(report, o);
}

int RunDiff(const CliOptions& o, CliPlatform& platform)
{
    AppEnvironment env(platform, o.dataFolder);
    ProjectContents before, now;
    QString error;
    if (!ReadProject(env, o.project, before, &error) || !ReadProject(env, o.newProject, now, &error)) {
        PrintError(error);
        return kExitCannotStart;
    }
    const CrawlDiff diff = CompareCrawls(before, now);
    Out(FormatDiff(diff, o.format));
    if (!o.quiet)
        Err(QStringLiteral("%1 new unknown words, %2 fixed, %3 pages newly failing")
                .arg(diff.newWords.size())
                .arg(diff.fixedWords.size())
                .arg(diff.newFailures.size()));
    return o.failOnNew && !diff.newWords.empty() ? kExitUnknownWords : kExitOk;
}

int RunDictionaries(const CliOptions& o, CliPlatform& platform)
{
    AppEnvironment env(platform, o.dataFolder);
    const QStringList folders = DictionaryFolders(o, env);
    // Where the packages are read from goes to standard error, so that the
    // list itself stays one dictionary a line.
    if (o.dictionariesFolder.isEmpty()) {
        Err(QStringLiteral("Your dictionaries (drop .oxt packages here): %1").arg(env.UserDictionariesFolder()));
        if (folders.size() > 1)
            Err(QStringLiteral("Shipped dictionaries: %1").arg(env.DictionariesFolder()));
    } else {
        Err(QStringLiteral("Dictionaries: %1").arg(o.dictionariesFolder));
    }
    const std::vector<DictionaryInfo> found = SpellingService::ListDictionaries(folders);
    if (found.empty()) {
        PrintError(QStringLiteral("no dictionary found in %1").arg(folders.join(QStringLiteral(" or "))));
        return kExitCannotStart;
    }
    for (const DictionaryInfo& d : found)
        Out(TerminalSafe(d.languageName) + QLatin1Char('\t') + TerminalSafe(d.fileId) + QLatin1Char('\n'));
    return kExitOk;
}

int RunCheck(const CliOptions& o, CliPlatform& platform)
{
    AppEnvironment env(platform, o.dataFolder);
    SerialWorker worker;
    SpellingService spelling(worker);
    const std::optional<DictionaryList> list = ChooseDictionary(
        [&spelling](const QStringList& folders, const QString& wanted) { return spelling.LoadAtStartupNow(folders, wanted); }, o,
        env);
    if (!list || list->items.isEmpty())
        return kExitUsage;
    const TextMode mode = o.textMode.value_or(env.settings().Text());
    for (const QString& word : o.words)
        Out(word + (spelling.CheckNow(word, mode) ? QStringLiteral("\tknown\n") : QStringLiteral("\tunknown\n")));
    return kExitOk;
}

}  // namespace

bool RequestStop()
{
    std::atomic<bool>* flag = g_stopFlag.load();
    if (!flag)
        return false;
    flag->store(true);
    return true;
}

int RunCommand(const CliOptions& o, CliPlatform& platform)
{
    switch (o.command) {
    case Command::Crawl:
        return RunCrawl(o, platform);
    case Command::Open:
        return RunOpen(o, platform);
    case Command::Diff:
        return RunDiff(o, platform);
    case Command::Dictionaries:
        return RunDictionaries(o, platform);
    case Command::Check:
        return RunCheck(o, platform);
    case Command::Version:
        Out(ApplicationTitle() + QLatin1Char(' ') + VersionText() + QLatin1Char('\n'));
        return kExitOk;
    case Command::Help:
    default:
        Out(UsageText());
        return kExitOk;
    }
}

}  // namespace lexicrawl::cli
