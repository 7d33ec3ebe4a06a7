#include "cli/cli_options.h"

#include <functional>
#include <map>

#include "analysis/export_files.h"
#include "crawl/crawl_control.h"
#include "crawl/crawl_options.h"

namespace lexicrawl::cli {

namespace {

struct Parser {
    const QStringList& args;
    qsizetype at = 0;
    QString error;

    bool Done() const { return at >= args.size(); }
    QString Next() { return args.at(at++); }

    // The value of an option given as "--name VALUE" or "--name=VALUE".
    std::optional<QString> Value(const QString& name, const QString& inlineValue, bool hasInline)
    {
        if (hasInline)
            return inlineValue;
        if (Done()) {
            error = QStringLiteral("option %1 needs a value").arg(name);
            return std::nullopt;
        }
        return Next();
    }
};

bool ParseInt(const QString& text, int low, int high, int* out)
{
    bool ok = false;
    const qlonglong v = text.toLongLong(&ok);
    if (!ok || v < low || v > high)
        return false;
    *out = int(v);
    return true;
}

// Milliseconds: digits only, as the window's time-out boxes accept them.
bool ParseTimeout(const QString& text, std::optional<int>* out)
{
    for (QChar c : text)
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return false;
    *out = TimeoutFromText(text);
    return out->has_value();
}

using Handler = std::function<bool(CliOptions&, const QString&)>;

// Options that take a value.
const std::map<QString, Handler>& ValueOptions()
{
    static const std::map<QString, Handler> options = {
        {"--limit", [](CliOptions& o, const QString& v) {
             int n = 0;
             if (!ParseInt(v, 1, 999999999, &n))
                 return false;
             o.limit = n;
             return true;
         }},
        {"--scope", [](CliOptions& o, const QString& v) {
             if (v != QLatin1String("domain") && v != QLatin1String("subdomain"))
                 return false;
             o.subdomainScope = v == QLatin1String("subdomain");
             return true;
         }},
        {"--dictionary", [](CliOptions& o, const QString& v) { o.dictionary = v; return !v.isEmpty(); }},
        {"--user-agent", [](CliOptions& o, const QString& v) { o.userAgent = v; return true; }},
        {"--connect-timeout", [](CliOptions& o, const QString& v) { return ParseTimeout(v, &o.connectTimeoutMs); }},
        {"--read-timeout", [](CliOptions& o, const QString& v) { return ParseTimeout(v, &o.readTimeoutMs); }},
        {"--connections", [](CliOptions& o, const QString& v) {
             int n = 0;
             if (!ParseInt(v, 1, kMaxConnections, &n))
                 return false;
             o.connections = n;
             return true;
         }},
        {"--render-timeout", [](CliOptions& o, const QString& v) {
             int ms = 0;
             if (!ParseInt(v, 1, 600000, &ms))
                 return false;
             o.renderTimeoutMs = ms;
             return true;
         }},
        {"--delay", [](CliOptions& o, const QString& v) {
             int ms = 0;
             if (!ParseInt(v, 0, 600000, &ms))
                 return false;
             o.delayMs = ms;
             return true;
         }},
        {"--ignore-extensions", [](CliOptions& o, const QString& v) { o.ignoreExtensions = v; return true; }},
        {"--ignore-url", [](CliOptions& o, const QString& v) {
             if (!o.ignoreUrls)
                 o.ignoreUrls = QStringList();
             o.ignoreUrls->append(v);
             return true;
         }},
        {"--render-allow", [](CliOptions& o, const QString& v) {
             if (!o.renderAllowedHosts)
                 o.renderAllowedHosts = QStringList();
             o.renderAllowedHosts->append(v);
             return !v.isEmpty();
         }},
        {"--save", [](CliOptions& o, const QString& v) { o.saveProject = v; return !v.isEmpty(); }},
        {"--export-urls", [](CliOptions& o, const QString& v) {
             // The URL export writes only .csv and .txt files; say so now
             // rather than write nothing after a long crawl.
             o.exportUrls = v;
             return InternalUrlsExportFormat(v) != ExportFormat::None;
         }},
        {"--export-words", [](CliOptions& o, const QString& v) { o.exportWords = v; return !v.isEmpty(); }},
        {"--format", [](CliOptions& o, const QString& v) {
             static const std::map<QString, OutputFormat> formats = {
                 {"table", OutputFormat::Table}, {"csv", OutputFormat::Csv}, {"json", OutputFormat::Json}};
             const auto it = formats.find(v);
             if (it == formats.end())
                 return false;
             o.format = it->second;
             return true;
         }},
        {"--text", [](CliOptions& o, const QString& v) {
             if (v != QLatin1String("standard") && v != QLatin1String("prose"))
                 return false;
             o.textMode = v == QLatin1String("prose") ? TextMode::Prose : TextMode::Standard;
             return true;
         }},
        {"--data-folder", [](CliOptions& o, const QString& v) { o.dataFolder = v; return !v.isEmpty(); }},
        {"--report", [](CliOptions& o, const QString& v) { o.report = v; return !v.isEmpty(); }},
        {"--ignore-words", [](CliOptions& o, const QString& v) { o.ignoreWords = v; return !v.isEmpty(); }},
        {"--baseline", [](CliOptions& o, const QString& v) { o.baseline = v; return !v.isEmpty(); }},
        {"--dictionaries", [](CliOptions& o, const QString& v) { o.dictionariesFolder = v; return !v.isEmpty(); }},
    };
    return options;
}

// Options that are plain switches.
const std::map<QString, bool CliOptions::*>& Switches()
{
    static const std::map<QString, bool CliOptions::*> switches = {
        {"--no-follow-redirects", &CliOptions::noFollowRedirects},
        {"--keep-anchors", &CliOptions::keepAnchors},
        {"--remove-query-strings", &CliOptions::removeQueryStrings},
        {"--no-strip-markup", &CliOptions::noStripMarkup},
        {"--memory", &CliOptions::memory},
        {"--quiet", &CliOptions::quiet},
        {"--fail-on-unknown", &CliOptions::failOnUnknown},
        {"--check-alt-title", &CliOptions::checkAltAndTitle},
        {"--insecure", &CliOptions::insecure},
        {"--robots", &CliOptions::robots},
        {"--sitemaps", &CliOptions::sitemaps},
        {"--documents", &CliOptions::documents},
        {"--render", &CliOptions::render},
        {"--fail-on-new", &CliOptions::failOnNew},
        {"--likely-typos", &CliOptions::likelyTypos},
        {"--fail-on-typos", &CliOptions::failOnTypos},
    };
    return switches;
}

// Which options each command accepts.
bool Accepts(Command command, const QString& option)
{
    switch (command) {
    case Command::Crawl:
        return true;
    case Command::Open:
        return option == QLatin1String("--export-urls") || option == QLatin1String("--export-words") ||
               option == QLatin1String("--format") || option == QLatin1String("--data-folder") ||
               option == QLatin1String("--quiet") || option == QLatin1String("--fail-on-unknown") ||
               option == QLatin1String("--report") || option == QLatin1String("--ignore-words") ||
               option == QLatin1String("--dictionary") || option == QLatin1String("--dictionaries") ||
               option == QLatin1String("--likely-typos") || option == QLatin1String("--fail-on-typos");
    case Command::Diff:
        return option == QLatin1String("--format") || option == QLatin1String("--fail-on-new") ||
               option == QLatin1String("--data-folder") || option == QLatin1String("--quiet");
    case Command::Check:
        return option == QLatin1String("--dictionary") || option == QLatin1String("--dictionaries") ||
               option == QLatin1String("--data-folder") || option == QLatin1String("--text");
    case Command::Dictionaries:
        return option == QLatin1String("--dictionaries") || option == QLatin1String("--data-folder");
    default:
        return false;
    }
}

const std::map<QString, Command>& Commands()
{
    static const std::map<QString, Command> commands = {
        {"crawl", Command::Crawl}, {"open", Command::Open}, {"diff", Command::Diff}, {"dictionaries", Command::Dictionaries},
        {"check", Command::Check}, {"--help", Command::Help}, {"-h", Command::Help},
        {"help", Command::Help},   {"--version", Command::Version}};
    return commands;
}

bool TakeCommand(const QString& word, Command* command)
{
    const std::map<QString, Command>& commands = Commands();
    const auto it = commands.find(word);
    if (it == commands.end())
        return false;
    *command = it->second;
    return true;
}

}  // namespace

std::optional<CliOptions> ParseCommandLine(const QStringList& args, QString* error)
{
    CliOptions o;
    Parser p{args, 0, QString()};
    if (p.Done()) {
        *error = QStringLiteral("no command given");
        return std::nullopt;
    }
    const QString first = p.Next();
    if (!TakeCommand(first, &o.command)) {
        *error = QStringLiteral("unknown command '%1'").arg(first);
        return std::nullopt;
    }
    QStringList positional;
    bool optionsEnded = false;
    while (!p.Done()) {
        const QString arg = p.Next();
        if (optionsEnded || !arg.startsWith(QLatin1String("--")) || arg == QLatin1String("--")) {
            if (arg == QLatin1String("--") && !optionsEnded) {
                optionsEnded = true;
                continue;
            }
            positional << arg;
            continue;
        }
        const qsizetype eq = arg.indexOf(QLatin1Char('='));
        const QString name = eq < 0 ? arg : arg.left(eq);
        if (!Accepts(o.command, name) && (ValueOptions().count(name) || Switches().count(name))) {
            *error = QStringLiteral("option %1 does not apply to '%2'").arg(name, first);
            return std::nullopt;
        }
        if (const auto sw = Switches().find(name); sw != Switches().end() && eq < 0) {
            o.*(sw->second) = true;
        } else if (const auto vo = ValueOptions().find(name); vo != ValueOptions().end()) {
            const auto value = p.Value(name, arg.mid(eq + 1), eq >= 0);
            if (!value) {
                *error = p.error;
                return std::nullopt;
            }
            if (!vo->second(o, *value)) {
                *error = QStringLiteral("invalid value '%1' for %2").arg(*value, name);
                return std::nullopt;
            }
        } else {
            *error = QStringLiteral("unknown option '%1'").arg(arg);
            return std::nullopt;
        }
    }
    switch (o.command) {
    case Command::Crawl:
    case Command::Open:
        if (positional.size() != 1) {
            *error = o.command == Command::Crawl ? QStringLiteral("crawl takes one start URL")
                                                 : QStringLiteral("open takes one project file");
            return std::nullopt;
        }
        (o.command == Command::Crawl ? o.url : o.project) = positional.first();
        if (o.command == Command::Crawl && o.url.trimmed().isEmpty()) {
            *error = QStringLiteral("the start URL is empty");
            return std::nullopt;
        }
        if (o.command == Command::Crawl && HasOtherScheme(o.url)) {
            *error = OtherSchemeText(o.url);
            return std::nullopt;
        }
        break;
    case Command::Diff:
        if (positional.size() != 2) {
            *error = QStringLiteral("diff takes two project files, the older first");
            return std::nullopt;
        }
        o.project = positional.at(0);
        o.newProject = positional.at(1);
        break;
    case Command::Check:
        if (positional.isEmpty()) {
            *error = QStringLiteral("check takes at least one word");
            return std::nullopt;
        }
        o.words = positional;
        break;
    default:
        if (!positional.isEmpty()) {
            *error = QStringLiteral("unexpected argument '%1'").arg(positional.first());
            return std::nullopt;
        }
    }
    if (o.command == Command::Crawl && o.failOnNew && o.baseline.isEmpty()) {
        *error = QStringLiteral("--fail-on-new needs --baseline OLD.db");
        return std::nullopt;
    }
    return o;
}

QStringList OptionNames()
{
    QStringList names;
    for (const auto& [name, handler] : ValueOptions())
        names << name;
    for (const auto& [name, field] : Switches())
        names << name;
    names.sort();
    return names;
}

QStringList CommandNames()
{
    QStringList names;
    for (const auto& [name, command] : Commands()) {
        if (name != QLatin1String("-h") && name != QLatin1String("help"))  // the short spellings of --help
            names << name;
    }
    names.sort();
    return names;
}

QString UsageText()
{
    return QStringLiteral(
        "Usage:\n"
        "  lexicrawl-cli crawl URL [options]     crawl, check, print the unknown-word list\n"
        "  lexicrawl-cli open PROJECT.db [--export-urls F] [--export-words F] [--format F]\n"
        "                [--likely-typos] [--fail-on-typos]\n"
        "  lexicrawl-cli diff OLD.db NEW.db [--fail-on-new] [--format F]\n"
        "                                        new and fixed unknown words, newly failing pages\n"
        "  lexicrawl-cli dictionaries            list the dictionaries found\n"
        "  lexicrawl-cli check [--dictionary NAME] [--text MODE] WORD...\n"
        "                                        print each word with known/unknown\n"
        "  lexicrawl-cli --help | --version\n"
        "\n"
        "URL is an http or https address; without a scheme, http:// is put in front.\n"
        "\n"
        "Crawl options (each defaults to its settings.ini value; none writes the settings):\n"
        "  --limit N                 internal URL limit (1 to 999999999)\n"
        "  --scope domain|subdomain  which hosts count as internal\n"
        "  --dictionary NAME         the first dictionary whose language name begins with NAME\n"
        "  --text standard|prose     how the words of a page are read: standard checks\n"
        "                            every run of letters and digits, lower-cased; prose\n"
        "                            checks the prose as written, leaving out code,\n"
        "                            numbers, URLs and identifiers, and checks text with\n"
        "                            a lang attribute with that language's dictionary\n"
        "  --check-alt-title         prose: check the alt and title texts of images and links\n"
        "  --user-agent TEXT         User-Agent header (empty: none)\n"
        "  --insecure                do not verify https certificates (test servers;\n"
        "                            setting Insecure=ON); also allows TLS 1.0 and 1.1\n"
        "  --robots                  obey each host's robots.txt (its rules for this\n"
        "                            user agent, and Crawl-delay as the least pause);\n"
        "                            the pages it keeps out are listed, not fetched\n"
        "                            (setting Robots=ON)\n"
        "  --sitemaps                also crawl the pages the site's sitemaps list\n"
        "                            (robots.txt's Sitemap lines and /sitemap.xml),\n"
        "                            after the start page, under the same scope,\n"
        "                            ignore rules and limit; pages found only there\n"
        "                            are listed (setting Sitemaps=ON)\n"
        "  --documents               also check the text of linked internal PDF, ODT\n"
        "                            and DOCX documents; links to them are taken even\n"
        "                            where the ignored extensions name pdf, odt, doc\n"
        "                            or docx. An answer is read as a document when\n"
        "                            its body starts as one, or is binary and served\n"
        "                            as one or from a document link; a text answer\n"
        "                            is a page, whatever its link or type says\n"
        "                            (setting Documents=ON)\n"
        "  --render                  run each page's scripts in a headless browser and\n"
        "                            read the page they build (setting Render=ON; needs\n"
        "                            the Debian package chromium)\n"
        "  --render-timeout MS       how long a page's scripts may run before it is read\n"
        "                            as sent (default 15000; setting RenderTimeout)\n"
        "  --render-allow HOST       another host a rendered page may ask (repeatable;\n"
        "                            replaces the setting RenderAllowHosts)\n"
        "  --connect-timeout MS      connection time-out in milliseconds\n"
        "  --read-timeout MS         response time-out in milliseconds\n"
        "  --connections N           requests in flight at once, 1 to 16 (default 2); the\n"
        "                            results are the same, only faster\n"
        "  --delay MS                pause between two requests to one host\n"
        "  --ignore-extensions LIST  file extensions not crawled, separated by spaces\n"
        "  --ignore-url PATTERN      wildcard pattern of URLs not crawled (repeatable;\n"
        "                            replaces the stored list)\n"
        "  --no-follow-redirects     do not take over the start URL's redirect\n"
        "  --keep-anchors            keep #fragments of links\n"
        "  --remove-query-strings    drop ?queries of links\n"
        "  --no-strip-markup         keep markup in anchor texts\n"
        "  --memory                  keep the project database in memory\n"
        "  --save FILE.db            save the project after the crawl\n"
        "  --export-urls FILE        export the internal URLs (.csv or .txt)\n"
        "  --export-words FILE       export the unknown words (.csv, else plain text)\n"
        "  --format table|csv|json   how the unknown words are printed (default table;\n"
        "                            json adds the summary and every page's status)\n"
        "  --data-folder DIR         folder of settings.ini and the working files\n"
        "  --dictionaries DIR        folder of the dictionary packages (.oxt)\n"
        "  --quiet                   no progress and no summary on standard error\n"
        "                            (errors are always shown)\n"
        "  --fail-on-unknown         exit with 1 when any unknown word was found\n"
        "  --likely-typos            list only the likely typos, each with its correction\n"
        "                            and reason, in every output and export (json gives\n"
        "                            every word its group, correction and reason anyway)\n"
        "  --fail-on-typos           exit with 1 when any likely typo was found\n"
        "  --report FILE.html        write a self-contained HTML report (also for open)\n"
        "  --ignore-words FILE       leave the words of FILE (one a line) off the list\n"
        "                            (also for open)\n"
        "  --baseline OLD.db         print what changed since the crawl saved in OLD.db\n"
        "                            (as diff does) instead of the word list; the words\n"
        "                            approved there stay approved\n"
        "  --fail-on-new             with --baseline, and for diff: exit with 1 when a\n"
        "                            new unknown word appeared\n"
        "\n"
        "Progress goes to standard error: one live line on a terminal, otherwise one\n"
        "line per page; a crawl ends with a summary line there. A prose crawl, and\n"
        "every opened project, also says there how its words were read.\n"
        "\n"
        "Approved words (approved for the site in a project, or in personal-words.txt\n"
        "of the data folder, one a line) are left off the lists and counted apart.\n"
        "\n"
        "Exit status: 0 done; 1 unknown words found (with --fail-on-unknown), likely\n"
        "typos (with --fail-on-typos), or new ones (with --fail-on-new);\n"
        "2 usage error; 3 the crawl or project could not start (database, settings,\n"
        "an invalid ignore pattern, a missing or invalid project file); 4 an export\n"
        "or save could not be written; 5 the start URL could not be fetched (no\n"
        "answer, or an error status).\n");
}

}  // namespace lexicrawl::cli
