#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include <utility>

#include "analysis/export_files.h"
#include "analysis/unknown_word_list.h"
#include "qstring_printer.h"
#include "recording_platform.h"
#include "store/project_database.h"

using namespace lexicrawl;

namespace {

QByteArray ReadAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

const QByteArray kBom("\xEF\xBB\xBF");

InternalUrl Visited(const QString& page, qsizetype length, qint64 loadTimeNs, int status)
{
    return InternalUrl{page, length, true, loadTimeNs, status, QString(), QString()};
}

// One fetched entry, one not fetched yet.
const std::vector<InternalUrl> kUrls{
    Visited("https://example.com/", 20, 360'000'000, 200),
    InternalUrl{"https://example.com/a,b", 23, false, 0, 0, QString(), QString()},
};

const std::vector<UnknownWord> kWords{
    {"teh", 2, {}, {}},
    {QString::fromUtf8("\xC3\xA9lan"), 1, {}, {}},
    {NotCheckedYetCaption(), 1, {}, {}},
};

class Export : public ::testing::Test {
protected:
    QString Path(const char* name) const { return dir.filePath(QString::fromUtf8(name)); }
    QTemporaryDir dir;
};

}  // namespace

TEST(ExportExtension, IsTheLowerCasedTailOfTheFileName)
{
    struct Case {
        const char* name;
        const char* extension;
    } cases[] = {
        {"urls.CSV", ".csv"},         {"/tmp/a.b/urls.txt", ".txt"}, {"/tmp/a.b/urls", ""},
        {"archive.tar.TXT", ".txt"}, {"noext", ""},                 {"trailing.", "."},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ExportExtension(QString::fromUtf8(c.name)), QString::fromUtf8(c.extension)) << c.name;
}

TEST_F(Export, InternalUrlsAsCsvWithTheListSeparator)
{
    // The load time as the list shows it: one decimal, the user's decimal separator.
    const ExportResult result = ExportInternalUrls(Path("urls.CSV"), kUrls, QLatin1Char(','), QLatin1Char(';'));
    EXPECT_TRUE(result.written);
    EXPECT_EQ(ReadAll(Path("urls.CSV")), kBom + "URL;Load_Time;URL_Length;Status_Code\r\n"
                                                "https://example.com/;0,4;20;200\r\n"
                                                "https://example.com/a,b;;23;\r\n");
}

TEST_F(Export, PageNotesAddAColumnToTheCsvOnly)
{
    CrawlNotes notes;
    notes.sitemapOnly << "https://example.com/a,b";
    const std::vector<DocumentRow> documents{{"https://example.com/", "PDF", 3, "encrypted document"}};
    const QHash<QString, QString> byPage = PageNotes(notes, documents);
    EXPECT_TRUE(ExportInternalUrls(Path("urls.csv"), kUrls, QLatin1Char('.'), QLatin1Char(';'), byPage).written);
    EXPECT_EQ(ReadAll(Path("urls.csv")), kBom + "URL;Load_Time;URL_Length;Status_Code;Note\r\n"
                                               "https://example.com/;0.4;20;200;PDF document: encrypted document\r\n"
                                               "https://example.com/a,b;;23;;sitemap only (linked from nowhere)\r\n");
    EXPECT_TRUE(ExportInternalUrls(Path("urls.txt"), kUrls, QLatin1Char('.'), QLatin1Char(','), byPage).written);
    EXPECT_EQ(ReadAll(Path("urls.txt")), kBom + "https://example.com/\r\nhttps://example.com/a,b\r\n");
}

// Fields split back as a spreadsheet reads a file with quotes: a quoted
// field may hold the separator, doubled quotes and line breaks.
static std::vector<QStringList> ReadCsvRecords(const QString& text, QChar separator)
{
    std::vector<QStringList> records;
    QStringList record;
    QString field;
    bool quoted = false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (quoted) {
            if (c == u'"' && (i + 1 < text.size() ? text[i + 1] : QChar()) == u'"')
                field += text[++i];
            else if (c == u'"')
                quoted = false;
            else
                field += c;
        } else if (c == u'"') {
            quoted = true;
        } else if (c == separator) {
            record << std::exchange(field, QString());
        } else if (c == u'\r' && (i + 1 < text.size() ? text[i + 1] : QChar()) == u'\n') {
            record << std::exchange(field, QString());
            records.push_back(std::exchange(record, QStringList()));
            ++i;
        } else {
            field += c;
        }
    }
    return records;
}

// A value of a page or a project file never adds a column or a row; a value
// with nothing to quote is written exactly as before.
TEST_F(Export, CsvQuotesOnlyFieldsThatWouldBreakTheirRow)
{
    struct Case {
        const char* what;
        QString value;
        QChar separator;
        QString written;  // the field as it stands in the file
    } cases[] = {
        {"separator in a URL", u"https://e.com/a,b"_qs, u',', u"\"https://e.com/a,b\""_qs},
        {"the other separator stays bare", u"https://e.com/a,b"_qs, u';', u"https://e.com/a,b"_qs},
        {"semicolon separator", u"x;y"_qs, u';', u"\"x;y\""_qs},
        {"double quote", u"say \"hi\""_qs, u',', u"\"say \"\"hi\"\"\""_qs},
        {"LF inside a word", u"two\nlines"_qs, u',', u"\"two\nlines\""_qs},
        {"CR inside a word", u"two\rlines"_qs, u';', u"\"two\rlines\""_qs},
        {"CR LF inside a word", u"a\r\nb"_qs, u',', u"\"a\r\nb\""_qs},
        {"formula stays as written", u"=HYPERLINK(\"x\")"_qs, u';', u"\"=HYPERLINK(\"\"x\"\")\""_qs},
        {"plain formula text", u"=1+2"_qs, u',', u"=1+2"_qs},
        {"leading and trailing spaces", u" pad "_qs, u',', u" pad "_qs},
        {"tab", u"a\tb"_qs, u',', u"a\tb"_qs},
        {"empty", QString(), u',', QString()},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const std::vector<InternalUrl> urls{Visited(c.value, 7, 100'000'000, 404)};
        ASSERT_TRUE(ExportInternalUrls(Path("u.csv"), urls, u'.', c.separator).written);
        const QString sep(c.separator);
        const QString urlText = QString::fromUtf8(ReadAll(Path("u.csv")).mid(3));
        EXPECT_EQ(urlText.section(u"\r\n"_qs, 1), c.written + sep + u"0.1"_qs + sep + u"7"_qs + sep + u"404\r\n"_qs);
        const std::vector<QStringList> urlRecords = ReadCsvRecords(urlText, c.separator);
        ASSERT_EQ(urlRecords.size(), 2u);
        EXPECT_EQ(urlRecords[1], QStringList({c.value, u"0.1"_qs, u"7"_qs, u"404"_qs}));

        ASSERT_TRUE(ExportWords(Path("w.csv"), {{c.value, 3, {}, {}}}, c.separator).written);
        const QString wordText = QString::fromUtf8(ReadAll(Path("w.csv")).mid(3));
        EXPECT_EQ(wordText.section(u"\r\n"_qs, 1), c.written + sep + u"3\r\n"_qs);
        const std::vector<QStringList> wordRecords = ReadCsvRecords(wordText, c.separator);
        ASSERT_EQ(wordRecords.size(), 2u);
        EXPECT_EQ(wordRecords[1], QStringList({c.value, u"3"_qs}));
    }
}

TEST_F(Export, InternalUrlsAsTextOrNotAtAll)
{
    EXPECT_TRUE(ExportInternalUrls(Path("urls.txt"), kUrls, QLatin1Char('.'), QLatin1Char(',')).written);
    EXPECT_EQ(ReadAll(Path("urls.txt")), kBom + "https://example.com/\r\nhttps://example.com/a,b\r\n");

    const ExportResult skipped = ExportInternalUrls(Path("urls.lst"), kUrls, QLatin1Char('.'), QLatin1Char(','));
    EXPECT_FALSE(skipped.written);
    EXPECT_FALSE(skipped.Failed());
    EXPECT_FALSE(QFile::exists(Path("urls.lst")));
}

TEST_F(Export, WordsAsCsvOrAsThePlainListForAnyOtherExtension)
{
    EXPECT_TRUE(ExportWords(Path("words.csv"), kWords, QLatin1Char(',')).written);
    EXPECT_EQ(ReadAll(Path("words.csv")),
              kBom + "Description,Count\r\nteh,2\r\n\xC3\xA9lan,1\r\n<Not Checked Yet>,1\r\n");
    EXPECT_TRUE(ExportWords(Path("words.lst"), kWords, QLatin1Char(',')).written);
    EXPECT_EQ(ReadAll(Path("words.lst")), kBom + "teh\r\n\xC3\xA9lan\r\n<Not Checked Yet>\r\n");
}

TEST_F(Export, EmptyListsGiveTheHeaderOrTheByteOrderMarkAlone)
{
    EXPECT_TRUE(ExportInternalUrls(Path("e.csv"), {}, QLatin1Char('.'), QLatin1Char(',')).written);
    EXPECT_EQ(ReadAll(Path("e.csv")), kBom + "URL,Load_Time,URL_Length,Status_Code\r\n");
    EXPECT_TRUE(ExportWords(Path("e.txt"), {}, QLatin1Char(',')).written);
    EXPECT_EQ(ReadAll(Path("e.txt")), kBom);
}

TEST_F(Export, ReplacesAnExistingFileWhole)
{
    QFile old(Path("words.txt"));
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write(QByteArray(1000, 'x'));
    old.close();
    EXPECT_TRUE(ExportWords(Path("words.txt"), {{"one", 1, {}, {}}}, QLatin1Char(',')).written);
    EXPECT_EQ(ReadAll(Path("words.txt")), kBom + "one\r\n");
}

TEST_F(Export, ReportsAFileThatCannotBeWritten)
{
    const QString target = Path("missing-folder/words.csv");
    const ExportResult result = ExportWords(target, kWords, QLatin1Char(','));
    EXPECT_FALSE(result.written);
    ASSERT_TRUE(result.Failed());
    EXPECT_TRUE(result.error.startsWith(QStringLiteral("Cannot write file \"") + target + "\"."))
        << result.error.toStdString();
    EXPECT_FALSE(QFile::exists(target));
}

TEST(UnknownWordList, CountsPagesPerWordMostFirstAndNamesUncheckedRows)
{
    RecordingPlatform platform;
    ProjectDatabase db{QString(), QString()};
    ASSERT_TRUE(db.PrepareForCrawl(DatabaseLocation::Memory));
    db.Execute("insert into MISSPELLED (URL,WORD) values ('a','teh');");
    db.Execute("insert into MISSPELLED (URL,WORD) values ('b','teh');");
    db.Execute("insert into MISSPELLED (URL) values ('c');");
    db.Execute("insert into MISSPELLED (URL,WORD) values ('c','');");
    std::vector<UnknownWord> rows;
    ASSERT_TRUE(LoadUnknownWords(db, rows, nullptr, true));
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[0].word, QStringLiteral("teh"));
    EXPECT_EQ(rows[0].occurrence, 2);
    EXPECT_EQ(rows[0].pages, (QStringList{"a", "b"}));
    QStringList others{rows[1].word, rows[2].word};
    others.sort();
    EXPECT_EQ(others, (QStringList{QString(), NotCheckedYetCaption()}));

    db.Execute("DROP TABLE MISSPELLED;");
    QString error;
    EXPECT_FALSE(LoadUnknownWords(db, rows, &error));
    EXPECT_EQ(error, QStringLiteral("no such table: MISSPELLED"));
}
