#pragma once
// The command line of lexicrawl-cli, parsed into one plain record. Every
// crawl option left out keeps its settings.ini value (or built-in default);
// none of them writes the settings file.
#include <QString>
#include <QStringList>

#include <optional>

#include "crawl/text_options.h"

namespace lexicrawl::cli {

enum class Command { Crawl, Open, Diff, Dictionaries, Check, Help, Version };
enum class OutputFormat { Table, Csv, Json };

struct CliOptions {
    Command command = Command::Help;
    QString url;         // crawl
    QString project;     // open; the older project of diff
    QString newProject;  // the newer project of diff
    QStringList words;   // check

    std::optional<int> limit;
    std::optional<bool> subdomainScope;
    QString dictionary;  // language-name prefix; empty: the remembered one
    std::optional<QString> userAgent;
    std::optional<int> connectTimeoutMs;
    std::optional<int> readTimeoutMs;
    std::optional<int> connections;
    std::optional<int> delayMs;
    std::optional<QString> ignoreExtensions;
    std::optional<QStringList> ignoreUrls;  // replaces the stored list when given
    bool noFollowRedirects = false;
    bool keepAnchors = false;
    bool removeQueryStrings = false;
    bool noStripMarkup = false;
    bool memory = false;
    QString saveProject;
    QString exportUrls;
    QString exportWords;
    OutputFormat format = OutputFormat::Table;
    QString dataFolder;
    QString dictionariesFolder;
    bool quiet = false;
    bool failOnUnknown = false;
    std::optional<TextMode> textMode;  // crawl, check
    bool checkAltAndTitle = false;
    bool insecure = false;
    bool robots = false;
    bool sitemaps = false;
    bool documents = false;
    bool render = false;
    std::optional<int> renderTimeoutMs;
    std::optional<QStringList> renderAllowedHosts;  // replaces the stored list when given
    QString report;       // the HTML report
    QString ignoreWords;  // a word-list file whose words leave the list
    QString baseline;     // a saved project to compare the crawl with
    bool failOnNew = false;
    bool likelyTypos = false;  // every output limited to the likely typos
    bool failOnTypos = false;
};

// Parses the arguments after the program name. On a usage error answers
// nothing and sets *error to a one-line reason.
std::optional<CliOptions> ParseCommandLine(const QStringList& args, QString* error);

// The help text.
QString UsageText();
// Every option the parser knows ("--limit", ...) and every command word
// ("crawl", ..., "--help", "--version"), sorted: what the help, the manual
// page and the completion must all name.
QStringList OptionNames();
QStringList CommandNames();

}  // namespace lexicrawl::cli
