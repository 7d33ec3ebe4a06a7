#include "cli/cli_app.h"

#include <QDir>
#include <QFileInfo>

#include <atomic>
#include <cstdio>
#include <memory>
#include <unistd.h>

#include "analysis/export_files.h"
#include "analysis/page_recorder.h"
#include "app/core/app_identity.h"
#include "app/core/data_folder.h"
#include "app/core/language.h"
#include "app/core/settings.h"
#include "cli/cli_host.h"
#include "cli/cli_platform.h"
#include "cli/word_report.h"
#include "crawl/crawl_control.h"
#include "crawl/url_text.h"
#include "platform/text.h"
#include "spelling/dictionary_choice.h"
#include "spelling/dictionary_manager.h"
#include "spelling/verdict_cache.h"
#include "store/project_database.h"
#include "store/project_files.h"

namespace lexicrawl::cli {

namespace {

std::atomic<std::atomic<bool>*> g_stopFlag{nullptr};

void Out(const QString& text)
{
    const QByteArray bytes = text.toUtf8();
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stdout);
    std::fflush(stdout);
}

// A one-line error on standard error (shown even when quiet: it explains the exit status).
void Fail(const QString& text)
{
    const QByteArray bytes = (QStringLiteral("lexicrawl-cli: ") + text + QLatin1Char('\n')).toUtf8();
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stderr);
    std::fflush(stderr);
}


// Everything a command runs on: folders, settings, language, dictionaries.
struct Environment {
    QString programFolder;
    QString dataFolder;
    std::unique_ptr<Settings> settings;
    Language language;
    DictionaryManager dictionaries;
    std::unique_ptr<DictionaryChoice> choice;

    explicit Environment(const CliOptions& o, Platform& platform)
    {
        programFolder = platform.ProgramFolder();
        if (o.dataFolder.isEmpty()) {
            dataFolder = DecideDataFolder(programFolder, platform.RoamingDataFolder());
        } else {
            QDir().mkpath(o.dataFolder);
            dataFolder = WithTrailingSlash(QFileInfo(o.dataFolder).absoluteFilePath());
        }
        settings = std::make_unique<Settings>(dataFolder);
        language.Load(programFolder + QStringLiteral("Languages"), settings->LanguageFile(), platform.UiLanguageId());
        SetTranslator(&language);
        // Word verdicts kept between runs (written when the command ends).
        SetVerdictCacheFolder(dataFolder + QStringLiteral("VerdictCache"));
    }
    ~Environment()
    {
        SaveVerdictCaches(dictionaries);
        SetTranslator(nullptr);
    }

    QString DictionariesFolder(const CliOptions& o) const
    {
        return o.dictionariesFolder.isEmpty() ? programFolder + QStringLiteral("Dictionaries") : o.dictionariesFolder;
    }

    // Loads the dictionary the options or the settings name. The command line
    // never writes the choice back to settings.ini.
    bool ChooseDictionary(const CliOptions& o, bool quiet)
    {
        choice = std::make_unique<DictionaryChoice>(dictionaries, [](const QString&) {});
        const QString folder = DictionariesFolder(o);
        const QString wanted = o.dictionary.isEmpty() ? settings->DictionaryLanguage() : o.dictionary;
        choice->LoadAtStartup(folder, wanted);
        if (choice->Items().isEmpty()) {
            if (!quiet)
                Fail(QStringLiteral("no dictionary found in %1; every word counts as unknown").arg(folder));
            return o.dictionary.isEmpty();
        }
        if (!o.dictionary.isEmpty() && !choice->Items().at(choice->ItemIndex()).startsWith(o.dictionary)) {
            Fail(QStringLiteral("no dictionary's language name begins with '%1' (try 'lexicrawl-cli dictionaries')")
                     .arg(o.dictionary));
            return false;
        }
        return true;
    }

    bool Verdict(const QString& word) const { return choice && choice->SpellCheckWord(word); }
};

CrawlOptions CrawlOptionsFrom(const Settings& s, const CliOptions& o)
{
    CrawlOptions c;
    c.StartUrl = o.url;
    c.SubdomainScope = o.subdomainScope.value_or(s.SubdomainScope());
    c.UrlLimitText = QString::number(o.limit.value_or(s.PageLimit()));
    c.IgnoreExtensionsText = o.ignoreExtensions.value_or(s.IgnoreExtensions());
    c.IgnoreUrlsText = o.ignoreUrls ? JoinLines(*o.ignoreUrls) : s.IgnoreUrls();
    c.RemoveAnchors = o.keepAnchors ? false : s.RemoveAnchors();
    c.RemoveQueryString = o.removeQueryStrings ? true : s.RemoveQueryString();
    c.StripHtmlMarkup = o.noStripMarkup ? false : s.StripHtmlMarkup();
    c.FollowRedirects = !o.noFollowRedirects;
    c.DisplayUnfinishedResults = false;  // the list is printed once, at the end
    c.UserAgent = o.userAgent.value_or(s.Agent());
    c.ConnectTimeoutText = o.connectTimeoutMs.value_or(s.ConnectionTimeout());
    c.ReadTimeoutText = o.readTimeoutMs.value_or(s.ResponseTimeout());
    c.Location = (o.memory || s.MemoryDatabase()) ? DatabaseLocation::Memory : DatabaseLocation::File;
    return c;
}

std::vector<InternalUrlRow> RowsOf(const InternalUrls& table)
{
    std::vector<InternalUrlRow> rows;
    const qsizetype n = table.Count();
    rows.reserve(size_t(n));
    for (qsizetype i = 0; i < n; ++i) {
        const InternalUrl e = table.At(i);
        rows.push_back({e.page, e.time, e.length, e.response});
    }
    return rows;
}

// Prints the unknown words, writes the exports; answers the exit status.
int Report(ProjectDatabase& db, const std::vector<InternalUrlRow>& urls, const CliOptions& o, Platform& platform)
{
    std::vector<UnknownWord> words;
    try {
        words = LoadWordReport(db);
    } catch (const DatabaseError& e) {
        Fail(QStringLiteral("cannot read the unknown words: ") + e.Text());
        return kExitCannotStart;
    }
    Out(FormatUnknownWords(words, o.format));

    int status = (o.failOnUnknown && !words.empty()) ? kExitUnknownWords : kExitOk;
    const QChar separator = platform.ListSeparator();
    if (!o.exportUrls.isEmpty()) {
        const ExportResult r = ExportInternalUrls(o.exportUrls, urls, separator);
        if (r.Failed()) {
            Fail(QStringLiteral("cannot write %1: %2").arg(o.exportUrls, r.error));
            status = kExitOutputFailed;
        }
    }
    if (!o.exportWords.isEmpty()) {
        std::vector<UnknownWordRow> rows;
        rows.reserve(words.size());
        for (const UnknownWord& w : words)
            rows.push_back({w.word, w.occurrence});
        const ExportResult r = ExportWords(o.exportWords, rows, separator);
        if (r.Failed()) {
            Fail(QStringLiteral("cannot write %1: %2").arg(o.exportWords, r.error));
            status = kExitOutputFailed;
        }
    }
    return status;
}

int RunCrawl(const CliOptions& o, CliPlatform& platform)
{
    Environment env(o, platform);
    if (!env.ChooseDictionary(o, o.quiet))
        return kExitUsage;
    ProjectDatabase db(env.dataFolder, env.programFolder);
    db.ChooseWorkingFile();
    PageRecorder recorder(db, [&env](const QString& word) { return env.Verdict(word); });
    const CliHost::Progress progress = o.quiet                  ? CliHost::Progress::None
                                       : isatty(STDERR_FILENO) ? CliHost::Progress::LiveLine
                                                               : CliHost::Progress::LinePerPage;
    CliHost host(recorder, progress);
    CrawlControl control(db, host);
    host.SetTable(&control.Table());

    const int messagesBefore = platform.MessageCount();
    g_stopFlag.store(&control.State().StopRequested);
    const bool started = control.Start(CrawlOptionsFrom(*env.settings, o));
    if (started)
        control.WaitForCollector();
    g_stopFlag.store(nullptr);
    host.FinishProgress();
    if (!started) {
        if (platform.MessageCount() == messagesBefore)
            Fail(QStringLiteral("the crawl could not start"));
        return kExitCannotStart;
    }
    if (control.CollectorFailed())
        return kExitCannotStart;

    const std::vector<InternalUrlRow> urls = RowsOf(control.Table());
    if (!urls.empty() && urls.front().response == QLatin1String("-1"))
        Fail(QStringLiteral("the start URL %1 could not be fetched (no answer)").arg(urls.front().page));
    int status = Report(db, urls, o, platform);
    if (!o.saveProject.isEmpty()) {
        QString error;
        if (!SaveProjectAs(db, o.saveProject, &error)) {
            Fail(QStringLiteral("cannot save %1: %2").arg(o.saveProject, error));
            status = kExitOutputFailed;
        }
    }
    db.Close();
    return status;
}

int RunOpen(const CliOptions& o, CliPlatform& platform)
{
    Environment env(o, platform);
    ProjectDatabase db(env.dataFolder, env.programFolder);
    db.ChooseWorkingFile();
    QStringList pages;
    if (!QFileInfo(o.project).isFile()) {
        Fail(QStringLiteral("%1: no such project file").arg(o.project));
        return kExitCannotStart;
    }
    if (!OpenProjectFile(db, o.project, &pages)) {
        Fail(QStringLiteral("%1 is not a project database").arg(o.project));
        db.Close();
        return kExitCannotStart;
    }
    std::vector<InternalUrlRow> urls;
    urls.reserve(size_t(pages.size()));
    for (const QString& page : pages)
        urls.push_back({page, QString(), QString::number(UrlLength(page)), QString()});
    const int status = Report(db, urls, o, platform);
    db.Close();
    return status;
}

int RunDictionaries(const CliOptions& o, CliPlatform& platform)
{
    Environment env(o, platform);
    const QString folder = env.DictionariesFolder(o);
    if (!env.dictionaries.ReadFolder(folder)) {
        Fail(QStringLiteral("no dictionary found in %1").arg(folder));
        return kExitCannotStart;
    }
    for (int i = 0; i < env.dictionaries.SpellDictionaryCount(); ++i) {
        const SpellDictionary* d = env.dictionaries.GetSpellDictionary(i);
        Out(d->LanguageName() + QLatin1Char('\t') + d->GetInternalFileID() + QLatin1Char('\n'));
    }
    return kExitOk;
}

int RunCheck(const CliOptions& o, CliPlatform& platform)
{
    Environment env(o, platform);
    if (!env.ChooseDictionary(o, false) || env.choice->Items().isEmpty())
        return kExitUsage;
    for (const QString& word : o.words)
        Out(word + (env.Verdict(word) ? QStringLiteral("\tknown\n") : QStringLiteral("\tunknown\n")));
    return kExitOk;
}

}  // namespace

void RequestStop()
{
    if (std::atomic<bool>* flag = g_stopFlag.load())
        flag->store(true);
}

int RunCommand(const CliOptions& o, CliPlatform& platform)
{
    platform.SetQuiet(o.quiet);
    switch (o.command) {
    case Command::Crawl:
        return RunCrawl(o, platform);
    case Command::Open:
        return RunOpen(o, platform);
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
