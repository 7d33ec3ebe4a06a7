// Values that try to break the SQL or the text encoding, written by every
// statement of a crawl (link processing, page recording), come back equal
// when read, after the project is saved and opened again, and in the export
// files (where a UTF-8 file cannot hold a lone surrogate, it holds U+FFFD).
#include <gtest/gtest.h>

#include <QFile>
#include <QLocale>
#include <QSet>
#include <QTemporaryDir>

#include <algorithm>

#include "analysis/export_files.h"
#include "analysis/html_report.h"
#include "analysis/page_recorder.h"
#include "analysis/unknown_word_list.h"
#include "crawl/internal_urls.h"
#include "crawl/link_processor.h"
#include "crawl/url_text.h"
#include "platform/escaped_bytes.h"
#include "platform/text.h"
#include "qstring_printer.h"
#include "store/project_database.h"
#include "store/project_files.h"
#include "store/sql_quote.h"
#include "support/hostile_values.h"
#include "support/project_instance.h"
#include "support/recording_platform.h"

using namespace lexicrawl;
using Instance = lexicrawl::testing::ProjectInstance;
using lexicrawl::testing::HostileValues;

namespace {

// What a UTF-8 file holds of a text: every lone surrogate as U+FFFD.
QString AsInFile(const QString& text)
{
    return QString::fromUtf8(EncodeUtf8Replacing(text));
}

// The text of an export file after its byte-order mark ("<no mark>" without).
QString FileText(const QString& path)
{
    QFile file(path);
    file.open(QIODevice::ReadOnly);
    const QByteArray bytes = file.readAll();
    if (!bytes.startsWith("\xEF\xBB\xBF"))
        return QStringLiteral("<no mark>");
    return QString::fromUtf8(bytes.mid(3));
}

QStringList Column(ProjectDatabase& db, const QString& sql)
{
    QStringList values;
    for (const QStringList& row : db.QueryAll(sql))
        values << row.value(0);
    return values;
}

// Empty when equal, else where the lists first differ (a diff of values of a
// million characters would itself exhaust the memory).
std::string Difference(const QStringList& actual, const QStringList& expected)
{
    if (actual.size() != expected.size())
        return "sizes " + std::to_string(actual.size()) + " and " + std::to_string(expected.size());
    for (qsizetype i = 0; i < actual.size(); ++i) {
        if (actual[i] != expected[i])
            return "entry " + std::to_string(i) + ": " + actual[i].left(60).toStdString() + " | " +
                   expected[i].left(60).toStdString() + " (lengths " + std::to_string(actual[i].size()) + ", " +
                   std::to_string(expected[i].size()) + ")";
    }
    return {};
}

}  // namespace

TEST(HostileValues, RoundTripThroughCrawlStatementsProjectFilesAndExports)
{
    lexicrawl::testing::RecordingPlatform platform;
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    Instance instance;
    ProjectDatabase& db = instance.db;
    ASSERT_TRUE(db.PrepareForCrawl(DatabaseLocation::File));
    InternalUrls table;
    CrawlState state;
    state.urlLimit = 1000;
    LinkProcessor links(db, table, state, {});
    PageRecorder recorder(db, [](const QString&) { return false; });

    QStringList values;
    for (const auto& [name, value] : HostileValues()) {
        const QString url = QString::fromLatin1(name) + value;  // each value its own page
        values << url;
        links.AddInternalUrl(url);
        links.InsertLink(value, url, value, value, QStringLiteral("External"));
        PageRecord record;
        record.title = value;
        record.description = value;
        record.h1Lines = {value, QStringLiteral("h1 ") + value};
        record.words = {url};
        recorder.Write(url, record);
        record.title = value + QStringLiteral(" again");  // the page's row exists now: an update
        recorder.Write(url, record);
    }
    EXPECT_TRUE(platform.Messages().isEmpty()) << platform.Messages().join(u'\n').left(300).toStdString();

    const QString saved = instance.data.filePath(QStringLiteral("saved.db"));
    ASSERT_TRUE(SaveProjectAs(db, saved, nullptr));
    Instance reopened;
    QStringList urls;
    ASSERT_TRUE(OpenProjectFile(reopened.db, saved, &urls));
    // In the order SQLite reads them (by its index of URLs).
    QStringList sortedValues = values;
    std::sort(urls.begin(), urls.end());
    std::sort(sortedValues.begin(), sortedValues.end());
    EXPECT_EQ(Difference(urls, sortedValues), "");
    for (ProjectDatabase* copy : {&db, &reopened.db}) {
        EXPECT_EQ(Difference(Column(*copy, QStringLiteral("SELECT URL FROM PAGES ORDER BY ID;")), values), "");
        EXPECT_EQ(Difference(Column(*copy, QStringLiteral("SELECT URL FROM LINKS ORDER BY ID;")), values), "");
        // Each page was recorded twice: its word was found unknown twice.
        QStringList twice;
        for (const QString& value : values)
            twice << value << value;
        EXPECT_EQ(Difference(Column(*copy, QStringLiteral("SELECT URL FROM MISSPELLED ORDER BY ID;")), twice), "");
        EXPECT_EQ(Difference(Column(*copy, QStringLiteral("SELECT WORD FROM MISSPELLED ORDER BY ID;")), twice), "");
        QStringList titles, descriptions, links, anchors, tags;
        for (const auto& [name, value] : HostileValues()) {
            titles << value + QStringLiteral(" again");
            descriptions << value;
            links << value;
            anchors << TrimCtl(StripTags(value));  // anchors are stored as their text
            tags << value << QStringLiteral("h1 ") + value << value << QStringLiteral("h1 ") + value;
        }
        EXPECT_EQ(Difference(Column(*copy, QStringLiteral("SELECT TITLE FROM PAGES ORDER BY ID;")), titles), "");
        EXPECT_EQ(Difference(Column(*copy, QStringLiteral("SELECT DESCRIPTION FROM PAGES ORDER BY ID;")), descriptions), "");
        EXPECT_EQ(Difference(Column(*copy, QStringLiteral("SELECT LINK FROM LINKS ORDER BY ID;")), links), "");
        EXPECT_EQ(Difference(Column(*copy, QStringLiteral("SELECT FOLLOW FROM LINKS ORDER BY ID;")), links), "");
        EXPECT_EQ(Difference(Column(*copy, QStringLiteral("SELECT ANCHOR FROM LINKS ORDER BY ID;")), anchors), "");
        QStringList nonBlankTags;
        for (const QString& tag : tags)
            if (!TrimCtl(tag).isEmpty())
                nonBlankTags << tag;
        EXPECT_EQ(Difference(Column(*copy, QStringLiteral("SELECT VALUE FROM TAGS ORDER BY ID;")), nonBlankTags), "");
    }

    // The exports hold the same texts.
    std::vector<UnknownWord> words;
    ASSERT_TRUE(LoadUnknownWords(reopened.db, words));
    QStringList exportedWords;
    for (const UnknownWord& row : words) {
        exportedWords << row.word;
        EXPECT_EQ(row.occurrence, 2);
    }
    std::sort(exportedWords.begin(), exportedWords.end());
    EXPECT_EQ(Difference(exportedWords, sortedValues), "");
    const QString wordFile = instance.data.filePath(QStringLiteral("words.txt"));
    ASSERT_FALSE(ExportWords(wordFile, words, u',').Failed());
    QStringList wordLines;
    for (const UnknownWord& row : words)
        wordLines << row.word;
    EXPECT_EQ(Difference({FileText(wordFile)}, {AsInFile(JoinLines(wordLines))}), "");

    std::vector<InternalUrl> rows;
    for (const QString& url : values)
        rows.push_back(InternalUrl{url, url.size(), false, 0, 0, QString(), QString()});
    const QString urlFile = instance.data.filePath(QStringLiteral("urls.txt"));
    ASSERT_FALSE(ExportInternalUrls(urlFile, rows, u'.', u',').Failed());
    EXPECT_EQ(Difference({FileText(urlFile)}, {AsInFile(JoinLines(values))}), "");
    QLocale::setDefault(QLocale::system());
}

// Page text is formatted once: a word that holds "%1" or "%2" is shown as
// written, never filled with the count or the suggestions.
TEST(HostileValues, ReportShowsWordsWithPercentPlaceholdersAsWritten)
{
    for (const QString& word : {QStringLiteral("%1"), QStringLiteral("50%2off"), QStringLiteral("%3%2%1")}) {
        ReportData data;
        data.site = QStringLiteral("http://a.test/%1");
        ReportWord w;
        w.word = word;
        w.occurrence = 7;
        w.suggestions = {QStringLiteral("%2x")};
        data.words.push_back(w);
        const QString html = HtmlReport(data);
        EXPECT_TRUE(html.contains(QStringLiteral("data-word=\"%1\" data-count=\"7\"><td>%1</td>").arg(word)))
            << word.toStdString();
        EXPECT_TRUE(html.contains(QStringLiteral("<td class=\"count\">7</td><td>%2x</td>"))) << word.toStdString();
    }
}
