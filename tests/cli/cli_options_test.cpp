#include <gtest/gtest.h>

#include <QRegularExpression>

#include "cli/cli_options.h"
#include "support/qt_printers.h"

using namespace lexicrawl::cli;

namespace {
std::optional<CliOptions> Parse(std::initializer_list<const char*> words, QString* error = nullptr)
{
    QStringList args;
    for (const char* w : words)
        args << QString::fromUtf8(w);
    QString e;
    auto o = ParseCommandLine(args, &e);
    if (error)
        *error = e;
    return o;
}
}  // namespace

TEST(CliOptions, CrawlOptions)
{
    const auto o = Parse({"crawl", "https://a.test/", "--limit", "20", "--scope=subdomain", "--dictionary", "English",
                          "--ignore-url", "*/x/*", "--ignore-url", "*/y/*", "--user-agent", "", "--memory",
                          "--format", "json", "--no-follow-redirects", "--keep-anchors", "--connect-timeout", "500"});
    ASSERT_TRUE(o);
    EXPECT_EQ(o->command, Command::Crawl);
    EXPECT_EQ(o->url, QStringLiteral("https://a.test/"));
    EXPECT_EQ(o->limit, 20);
    EXPECT_EQ(o->subdomainScope, true);
    EXPECT_EQ(o->dictionary, QStringLiteral("English"));
    EXPECT_EQ(*o->ignoreUrls, QStringList({QStringLiteral("*/x/*"), QStringLiteral("*/y/*")}));
    EXPECT_EQ(*o->userAgent, QString());
    EXPECT_EQ(*o->connectTimeoutMs, 500);
    EXPECT_FALSE(o->readTimeoutMs.has_value());
    EXPECT_TRUE(o->memory && o->noFollowRedirects && o->keepAnchors);
    EXPECT_FALSE(o->removeQueryStrings || o->quiet);
    EXPECT_EQ(o->format, OutputFormat::Json);
    EXPECT_FALSE(o->textMode.has_value());
    EXPECT_FALSE(o->checkAltAndTitle);
}

TEST(CliOptions, TextMode)
{
    auto o = Parse({"crawl", "a", "--text", "prose", "--check-alt-title"});
    ASSERT_TRUE(o);
    EXPECT_EQ(o->textMode, lexicrawl::TextMode::Prose);
    EXPECT_TRUE(o->checkAltAndTitle);
    o = Parse({"check", "--text=standard", "Paris"});
    ASSERT_TRUE(o);
    EXPECT_EQ(o->textMode, lexicrawl::TextMode::Standard);
}

TEST(CliOptions, OtherCommands)
{
    auto o = Parse({"open", "my project.db", "--export-words", "w.csv"});
    ASSERT_TRUE(o);
    EXPECT_EQ(o->project, QStringLiteral("my project.db"));
    EXPECT_EQ(o->exportWords, QStringLiteral("w.csv"));
    o = Parse({"check", "--dictionary", "German", "Haus", "--", "--weird"});
    ASSERT_TRUE(o);
    EXPECT_EQ(o->words, QStringList({QStringLiteral("Haus"), QStringLiteral("--weird")}));
    EXPECT_EQ(Parse({"dictionaries"})->command, Command::Dictionaries);
    EXPECT_EQ(Parse({"--version"})->command, Command::Version);
}

TEST(CliOptions, UsageErrorsNameTheProblem)
{
    struct Case {
        std::initializer_list<const char*> args;
        const char* error;
    } cases[] = {
        {{}, "no command given"},
        {{"fetch"}, "unknown command 'fetch'"},
        {{"crawl"}, "crawl takes one start URL"},
        {{"crawl", "a", "b"}, "crawl takes one start URL"},
        {{"crawl", "a", "--limit", "0"}, "invalid value '0' for --limit"},
        {{"crawl", "a", "--limit", "ten"}, "invalid value 'ten' for --limit"},
        {{"crawl", "a", "--scope", "site"}, "invalid value 'site' for --scope"},
        {{"crawl", "a", "--format", "xml"}, "invalid value 'xml' for --format"},
        {{"crawl", "a", "--read-timeout", "-5"}, "invalid value '-5' for --read-timeout"},
        {{"crawl", "a", "--connect-timeout", "99999999999"}, "invalid value '99999999999' for --connect-timeout"},
        {{"crawl", "a", "--connect-timeout", ""}, "invalid value '' for --connect-timeout"},
        // Another scheme would be taken for a host: "http://ftp://x".
        {{"crawl", "ftp://files.test/x"}, "'ftp://files.test/x' is not an http or https URL"},
        {{"crawl", "FILE:///etc/passwd"}, "'FILE:///etc/passwd' is not an http or https URL"},
        {{"crawl", " "}, "the start URL is empty"},
        {{"crawl", "a", "--limit"}, "option --limit needs a value"},
        {{"crawl", "a", "--colour"}, "unknown option '--colour'"},
        {{"open", "p.db", "--limit", "3"}, "option --limit does not apply to 'open'"},
        {{"crawl", "a", "--text", "Prose"}, "invalid value 'Prose' for --text"},
        {{"open", "p.db", "--text", "prose"}, "option --text does not apply to 'open'"},
        {{"check", "--check-alt-title", "x"}, "option --check-alt-title does not apply to 'check'"},
        {{"check"}, "check takes at least one word"},
        {{"dictionaries", "x"}, "unexpected argument 'x'"},
    };
    for (const Case& c : cases) {
        QString error;
        EXPECT_FALSE(Parse(c.args, &error));
        EXPECT_EQ(error, QString::fromUtf8(c.error));
    }
}

TEST(CliOptions, StartUrlsThatAreAccepted)
{
    for (const char* url : {"HTTPS://Example.test/", "http://a.test/p?u=ftp://x", "example.test/a://b", "localhost:8080/"})
        EXPECT_TRUE(Parse({"crawl", url})) << url;
}

TEST(CliOptions, UrlExportNeedsCsvOrTxt)
{
    QString error;
    EXPECT_TRUE(Parse({"crawl", "u", "--export-urls", "urls.CSV"}));
    EXPECT_FALSE(Parse({"crawl", "u", "--export-urls", "urls.lst"}, &error));
    EXPECT_EQ(error, QStringLiteral("invalid value 'urls.lst' for --export-urls"));
    EXPECT_TRUE(Parse({"crawl", "u", "--export-words", "words.lst"}));  // the plain word list
}

// The help is the one source of the manual page and the completion, so it
// must name every option and command the parser takes, and no other.
TEST(CliOptions, HelpNamesExactlyTheParsersOptionsAndCommands)
{
    const QRegularExpression optionLine(QStringLiteral("^  (--[a-z0-9-]+)"), QRegularExpression::MultilineOption);
    const QRegularExpression usageLine(QStringLiteral("^  lexicrawl-cli ([a-z]+|--help \\| --version)"),
                                       QRegularExpression::MultilineOption);
    const QString help = UsageText();
    QStringList options, commands;
    for (auto it = optionLine.globalMatch(help); it.hasNext();)
        options << it.next().captured(1);
    for (auto it = usageLine.globalMatch(help); it.hasNext();)
        commands << it.next().captured(1).split(QStringLiteral(" | "));
    options.sort();
    commands.sort();
    EXPECT_EQ(options, OptionNames());
    EXPECT_EQ(commands, CommandNames());
}
