// docs/ci.md shows CI jobs that run lexicrawl-cli; every such command line of
// its code blocks must still be one the program accepts.
#include <gtest/gtest.h>

#include <QFile>
#include <QRegularExpression>

#include "cli/cli_options.h"
#include "support/qt_printers.h"

using namespace lexicrawl::cli;

namespace {

// The words of a shell command line: quotes removed, a variable given a
// sample value, cut at a redirection or a pipe.
QStringList ShellWords(const QString& line)
{
    QStringList words;
    static const QRegularExpression word(QStringLiteral(R"re("([^"]*)"|'([^']*)'|([^\s"']+))re"));
    for (auto it = word.globalMatch(line); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        QString w = m.captured(1) + m.captured(2) + m.captured(3);
        if (m.captured(3).startsWith(QLatin1Char('>')) || m.captured(3) == QLatin1String("|"))
            break;
        if (w.startsWith(QLatin1Char('$')))
            w = QStringLiteral("https://www.example.org/");
        words << w;
    }
    return words;
}

TEST(CiDocument, EveryCommandLineParses)
{
    QFile file(QStringLiteral(LEXICRAWL_TEST_DATA "/../../docs/ci.md"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    QString text = QString::fromUtf8(file.readAll());
    text.replace(QRegularExpression(QStringLiteral("\\\\\\n\\s*")), QStringLiteral(" "));  // continued lines

    int commands = 0, jobs = 0;
    bool inCode = false;
    for (const QString& line : text.split(QLatin1Char('\n'))) {
        if (line.trimmed().startsWith(QLatin1String("```"))) {
            inCode = !inCode;
            continue;
        }
        const qsizetype at = line.indexOf(QLatin1String("lexicrawl-cli "));
        if (!inCode || at < 0)
            continue;
        ++commands;
        SCOPED_TRACE(line.toStdString());
        QString error;
        const auto options = ParseCommandLine(ShellWords(line.mid(at + 14)), &error);
        ASSERT_TRUE(options) << error.toStdString();
        if (options->command == Command::Crawl && options->failOnNew && !options->baseline.isEmpty() &&
            options->format == OutputFormat::Json && !options->report.isEmpty())
            ++jobs;
    }
    EXPECT_GT(commands, 0);
    EXPECT_EQ(jobs, 2);  // one for each CI system
}

}  // namespace
