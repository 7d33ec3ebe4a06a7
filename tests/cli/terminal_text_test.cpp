// Text from pages, servers and project files printed by the command line:
// no control character reaches the terminal raw in any format but JSON,
// which escapes by itself and keeps the value exact.
#include <gtest/gtest.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <cstdio>
#include <unistd.h>

#include "cli/cli_host.h"
#include "cli/cli_platform.h"
#include "cli/report_output.h"
#include "cli/terminal_text.h"
#include "support/qt_printers.h"

using namespace lexicrawl;
using namespace lexicrawl::cli;

namespace {

bool HoldsControl(const QString& text, bool newlinesAllowed)
{
    for (QChar c : text) {
        const char16_t u = c.unicode();
        if (newlinesAllowed && u == u'\n')
            continue;
        if (u < 0x20 || (u >= 0x7F && u <= 0x9F))
            return true;
    }
    return false;
}

// What fn writes to standard error.
template <typename Fn>
QString CaptureStderr(Fn fn)
{
    std::fflush(stderr);
    int pipeEnds[2];
    if (pipe(pipeEnds) != 0)
        return QStringLiteral("<no pipe>");
    const int saved = dup(STDERR_FILENO);
    dup2(pipeEnds[1], STDERR_FILENO);
    close(pipeEnds[1]);
    fn();
    std::fflush(stderr);
    dup2(saved, STDERR_FILENO);
    close(saved);
    QByteArray bytes;
    char buffer[4096];
    for (ssize_t n; (n = read(pipeEnds[0], buffer, sizeof buffer)) > 0;)
        bytes.append(buffer, n);
    close(pipeEnds[0]);
    return QString::fromUtf8(bytes);
}

const QString kClearScreen = QStringLiteral("\x1b[2J\x1b[H");
const QString kSetTitle = QStringLiteral("\x1b]0;owned\x07");

}  // namespace

TEST(TerminalSafe, WritesEveryControlCharacterAsAnEscape)
{
    const struct {
        const char* what;
        QString text;
        QString shown;
    } cases[] = {
        {"plain text", u"caf\u00e9 \u4e2d %1"_qs, u"caf\u00e9 \u4e2d %1"_qs},
        {"clear screen", kClearScreen, u"\\x1B[2J\\x1B[H"_qs},
        {"window title", kSetTitle, u"\\x1B]0;owned\\x07"_qs},
        {"line breaks and tab", u"a\r\nb\tc"_qs, u"a\\r\\nb\\tc"_qs},
        {"NUL and DEL", QString(QChar(0)) + u"x\x7f"_qs, u"\\x00x\\x7F"_qs},
        {"C1 control sequence introducer", u"\u009b2J"_qs, u"\\x9B2J"_qs},
        {"next line and no-break space", u"\u0085\u00a0"_qs, u"\\x85\u00a0"_qs},
        {"empty", QString(), QString()},
    };
    for (const auto& c : cases)
        EXPECT_EQ(TerminalSafe(c.text), c.shown) << c.what;
}

TEST(TerminalSafe, ReportsAndDiffsShowNoRawControlsButJsonKeepsTheValues)
{
    const QString word = u"te"_qs + kSetTitle + u"h\r\nx"_qs;
    const QString page = u"http://e.com/"_qs + kClearScreen;
    Report report;
    report.words = {{word, 2, {page, u"http://e.com/b\tc"_qs}, {}}};
    report.pages = {{page, 20, true, 1, 500, u"HTTP/1.1 500 "_qs + kClearScreen, QString()}};
    report.text = TextModeRecord{{TextMode::Prose, false}, {{u"x"_qs + kSetTitle + u"%2"_qs, 3, 4}}};
    report.repeatedWords = {{page, word, u"the "_qs + word}};
    report.twoSpellings = {{{word, u"teh"_qs}, {1, 2}}};
    for (const OutputFormat format : {OutputFormat::Table, OutputFormat::Csv}) {
        const QString out = FormatReport(report, format);
        EXPECT_FALSE(HoldsControl(out, true)) << out.toStdString();
        EXPECT_TRUE(out.contains(u"te\\x1B]0;owned\\x07h\\r\\nx"_qs)) << out.toStdString();
    }

    // The language of a page's lang attribute, and its "%2", stay as written.
    EXPECT_EQ(TextModeLine(*report.text),
              u"Text mode: prose; not checked, no dictionary for its language: x\\x1B]0;owned\\x07%2 (3 pages, 4 words)"_qs);

    CrawlDiff diff;
    diff.newWords = report.words;
    diff.fixedWords = report.words;
    diff.newFailures = report.pages;
    for (const OutputFormat format : {OutputFormat::Table, OutputFormat::Csv}) {
        const QString out = FormatDiff(diff, format);
        EXPECT_FALSE(HoldsControl(out, true)) << out.toStdString();
    }

    const QJsonObject root = QJsonDocument::fromJson(FormatReport(report, OutputFormat::Json).toUtf8()).object();
    EXPECT_EQ(root.value("unknownWords").toArray().at(0).toObject().value("word").toString(), word);
    EXPECT_EQ(root.value("pages").toArray().at(0).toObject().value("url").toString(), page);
}

TEST(TerminalSafe, ProgressLinesShowServerTextEscaped)
{
    CliHost perPage(CliHost::Style::LinePerPage);
    const QString printed = CaptureStderr([&] {
        perPage.StartUrlChanged(u"http://e.com/"_qs + kSetTitle);
        perPage.RowVisited({1, 0, 1, {u"http://e.com/"_qs + kClearScreen, 20, true, 1, 500,
                                      u"HTTP/1.1 500 "_qs + kClearScreen + kSetTitle, QString()}});
        // A rendering note quotes the page's own script error.
        perPage.RowVisited({1, 1, 2, {u"http://e.com/app"_qs, 20, true, 1, 200, QString(),
                                      u"script error: "_qs + kSetTitle}});
    });
    EXPECT_FALSE(HoldsControl(printed, true)) << printed.toStdString();
    EXPECT_TRUE(printed.contains(u"(HTTP/1.1 500 \\x1B[2J\\x1B[H\\x1B]0;owned\\x07)"_qs)) << printed.toStdString();

    const QString error = CaptureStderr([] { PrintError(u"the start URL failed: "_qs + kClearScreen); });
    EXPECT_FALSE(HoldsControl(error, true)) << error.toStdString();
}
