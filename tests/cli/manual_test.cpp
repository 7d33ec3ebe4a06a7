// The manual page and the bash completion of lexicrawl-cli against the
// parser: each must offer every option and command the parser takes.
#include <gtest/gtest.h>

#include <QFile>
#include <QProcess>

#include "cli/cli_options.h"
#include "support/qt_printers.h"

using namespace lexicrawl::cli;

namespace {

const QString kCli = QStringLiteral(LEXICRAWL_BIN_DIR "/lexicrawl-cli");

QString Roff(QString text)
{
    return text.replace(QLatin1Char('-'), QStringLiteral("\\-"));
}

// What the completion offers for the words typed so far (the last one is
// being completed), sorted.
QStringList Complete(const QStringList& words)
{
    QString script = QStringLiteral("source '%1' && COMP_WORDS=('%2'").arg(QStringLiteral(LEXICRAWL_COMPLETION), kCli);
    for (const QString& w : words)
        script += QStringLiteral(" '%1'").arg(w);
    script += QStringLiteral(") && COMP_CWORD=%1 && _lexicrawl_cli && printf '%s\\n' \"${COMPREPLY[@]}\"")
                  .arg(words.size());
    QProcess bash;
    bash.start(QStringLiteral("bash"), {QStringLiteral("-c"), script});
    EXPECT_TRUE(bash.waitForFinished(30000));
    EXPECT_EQ(bash.exitCode(), 0) << bash.readAllStandardError().toStdString();
    QStringList offered = QString::fromUtf8(bash.readAllStandardOutput()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    offered.sort();
    return offered;
}

TEST(Manual, NamesEveryOptionAndCommand)
{
    QFile page(QStringLiteral(LEXICRAWL_MAN_DIR "/lexicrawl-cli.1"));
    ASSERT_TRUE(page.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(page.readAll());
    for (const QString& option : OptionNames())
        EXPECT_TRUE(text.contains(QStringLiteral(".TP\n\\fB%1\\fR").arg(Roff(option)))) << option.toStdString();
    const qsizetype synopsisAt = text.indexOf(QStringLiteral(".SH SYNOPSIS\n"));
    const QString synopsis = text.mid(synopsisAt, text.indexOf(QStringLiteral(".SH DESCRIPTION")) - synopsisAt);
    for (const QString& command : CommandNames())
        EXPECT_TRUE(synopsis.contains(QStringLiteral(" ") + Roff(command))) << command.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral(".SH \"EXIT STATUS\"\nExit status: 0 done;")));
}

TEST(Completion, OffersCommandsOptionsValuesAndDictionaries)
{
    EXPECT_EQ(Complete({QString()}), CommandNames());
    EXPECT_EQ(Complete({QStringLiteral("crawl"), QStringLiteral("--")}), OptionNames());
    EXPECT_EQ(Complete({QStringLiteral("crawl"), QStringLiteral("--fail-on")}),
              (QStringList{"--fail-on-new", "--fail-on-typos", "--fail-on-unknown"}));
    EXPECT_EQ(Complete({QStringLiteral("crawl"), QStringLiteral("--format"), QString()}),
              (QStringList{"csv", "json", "table"}));
    EXPECT_EQ(Complete({QStringLiteral("check"), QStringLiteral("--dictionary"), QStringLiteral("English")}),
              (QStringList{"English\\ \\(United\\ Kingdom\\)", "English\\ \\(United\\ States\\)"}));
    // Files for a file argument and for open's project, folders for a folder.
    const QStringList files = Complete({QStringLiteral("open"), QStringLiteral(LEXICRAWL_TEST_DATA "/cli/si")});
    EXPECT_EQ(files, QStringList{QStringLiteral(LEXICRAWL_TEST_DATA "/cli/site")});
    EXPECT_EQ(Complete({QStringLiteral("crawl"), QStringLiteral("--save"), QStringLiteral(LEXICRAWL_TEST_DATA "/cli/site/ind")}),
              QStringList{QStringLiteral(LEXICRAWL_TEST_DATA "/cli/site/index.html")});
    EXPECT_EQ(Complete({QStringLiteral("crawl"), QStringLiteral("--data-folder"), QStringLiteral(LEXICRAWL_TEST_DATA "/cli/site/ind")}),
              QStringList{});
}

}  // namespace
