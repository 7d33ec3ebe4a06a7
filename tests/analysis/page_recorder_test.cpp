#include <gtest/gtest.h>

#include <QLocale>
#include <QSet>

#include <future>

#include "analysis/page_recorder.h"
#include "analysis/page_statements.h"
#include "platform/text.h"
#include "platform/user_message.h"
#include "qstring_printer.h"
#include "recording_platform.h"
#include "store/project_database.h"
#include "store/sql_quote.h"

using namespace lexicrawl;

namespace {

QString S(const char* utf8)
{
    return QString::fromUtf8(utf8);
}

// A dictionary in miniature: Spell accepts the known words; Suggest offers
// the capitalised entries and one accented spelling. A word is known when
// Spell accepts it or a suggestion equals it but for the case of A to Z.
class FakeDictionary {
public:
    bool SpellCheckWord(const QString& word)
    {
        ++checks;
        static const QSet<QString> known{"is", "lovely", "a", "the", "page", "welcome", "news", "s"};
        static const QSet<QString> capitalised{"Paris", "Lisbon"};
        if (known.contains(word))
            return true;
        QStringList suggestions;
        for (const QString& entry : capitalised)
            if (entry.compare(word, Qt::CaseInsensitive) == 0)
                suggestions << entry;
        if (word == QLatin1String("cafe"))
            suggestions << S("caf\xC3\xA9");
        for (const QString& suggestion : suggestions)
            if (LowerAZ(suggestion) == word)
                return true;
        return false;
    }
    int checks = 0;
};

class PageRecorderTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
        ASSERT_TRUE(db.PrepareForCrawl(DatabaseLocation::Memory));
    }
    void TearDown() override { QLocale::setDefault(QLocale::system()); }

    void Record(const QString& url, const QString& source)
    {
        lexicrawl::PageRecorder recorder(db, [this](const QString& word) { return dictionary.SpellCheckWord(word); });
        recorder.RecordPage(url, source);
    }

    QStringList Column(const QString& sql)
    {
        QStringList values;
        db.Query(sql, [&values](const Row& row) { values << row.At(0); });
        return values;
    }

    RecordingPlatform platform;
    ProjectDatabase db{QString(), QString()};
    FakeDictionary dictionary;
};

const QString kUrl = QStringLiteral("https://example.com/a");

}  // namespace

TEST(PageStatements, AreBuiltExactly)
{
    using namespace page_statements;
    EXPECT_EQ(UnknownWordInsert("u", "teh").Text(), S("insert into MISSPELLED (URL,WORD) values ('u','teh');"));
    EXPECT_EQ(PageLookup("u'1"), S("SELECT * FROM PAGES where URL='u''1';"));
    EXPECT_EQ(PageUpdate("u", "O'Brien's", "d"),
              S("update PAGES SET TITLE='O''Brien''s', DESCRIPTION='d' where URL='u';"));
    EXPECT_EQ(PageInsert("u", "t", ""), S("insert into PAGES (URL,TITLE,DESCRIPTION) values ('u','t','');"));
    EXPECT_EQ(HeadingInsert("u", "H2", " line ").Text(), S("insert into TAGS (URL,TAG,VALUE) values ('u','H2',' line ');"));
}

TEST_F(PageRecorderTest, WritesEachUnknownWordOncePerPage)
{
    Record(kUrl, S("<p>Paris is lovely. Paris! teh teh teh teh teh cafe</p>"));
    EXPECT_EQ(Column("SELECT WORD FROM MISSPELLED where URL=" + SqlQuote(kUrl) + " order by ID;"),
              (QStringList{"cafe", "teh"}));
    EXPECT_EQ(dictionary.checks, 5);  // cafe, is, lovely, paris, teh: once each
}

TEST_F(PageRecorderTest, InsertsOrUpdatesThePageRowWithRawTitleAndFlatDescription)
{
    const QString source = S("<title>O'Brien's &amp; Co</title>"
                             "<meta name=description content=\"Line one\r\nline two\nthree\">");
    Record(kUrl, source);
    EXPECT_EQ(Column("SELECT TITLE FROM PAGES;"), QStringList{S("O'Brien's &amp; Co")});
    EXPECT_EQ(Column("SELECT DESCRIPTION FROM PAGES;"), QStringList{S("Line one line two\nthree")});

    // A row that link processing made (URL only) is updated, not doubled.
    const QString other = QStringLiteral("https://example.com/b");
    db.Execute("insert into PAGES (URL) values (" + SqlQuote(other) + ");");
    Record(other, S("<title>B</title>"));
    EXPECT_EQ(Column("SELECT TITLE FROM PAGES where URL=" + SqlQuote(other) + ";"), QStringList{"B"});
    EXPECT_EQ(Column("SELECT COUNT(*) FROM PAGES;"), QStringList{"2"});
}

TEST_F(PageRecorderTest, WritesOneTagRowPerNonBlankHeadingLine)
{
    Record(kUrl, S("<h1>Welcome<br>back</h1><h1>   </h1><h2>News</h2><h3>Not kept</h3>"));
    EXPECT_EQ(Column("SELECT TAG || '=' || VALUE FROM TAGS order by ID;"),
              (QStringList{"H1=Welcome", "H1=back", "H2=News"}));
}

TEST_F(PageRecorderTest, RecordsAFailedFetchWithEmptyFacts)
{
    Record(kUrl, QString());
    EXPECT_EQ(Column("SELECT URL || '|' || TITLE || '|' || DESCRIPTION FROM PAGES;"), QStringList{kUrl + "||"});
    EXPECT_EQ(Column("SELECT COUNT(*) FROM MISSPELLED;"), QStringList{"0"});
    EXPECT_EQ(Column("SELECT COUNT(*) FROM TAGS;"), QStringList{"0"});
    EXPECT_TRUE(platform.messages.isEmpty());
}

TEST_F(PageRecorderTest, ChecksWordsBeforeAnyPageStatement)
{
    QStringList seenTitles;
    PageRecorder recorder(db, [&](const QString&) {
        seenTitles << Column("SELECT COUNT(*) FROM PAGES;") + Column("SELECT COUNT(*) FROM TAGS;");
        return true;
    });
    recorder.RecordPage(kUrl, S("<title>T</title><h1>H</h1><p>word</p>"));
    EXPECT_EQ(seenTitles, (QStringList{"0", "0", "0", "0"}));  // checks of h and word, before the rows
}

TEST_F(PageRecorderTest, WritesARecordReadBeforehand)
{
    const PageRecord record = ExtractPageRecord(S("<title> T </title><h1>a<br> <br>b</h1><p>teh Paris aple teh</p>"));
    EXPECT_EQ(record.title, S(" T "));
    EXPECT_EQ(record.h1Lines, (QStringList{"a", "", "b"}));
    EXPECT_EQ(record.words, (QStringList{"a", "b", "teh", "paris", "aple"}));  // as they come
    PageRecorder recorder(db, [this](const QString& word) { return dictionary.SpellCheckWord(word); });
    recorder.Write(kUrl, record);
    // The unknown ones go in sorted.
    EXPECT_EQ(Column("SELECT WORD FROM MISSPELLED order by ID;"), (QStringList{"aple", "b", "teh"}));
    EXPECT_EQ(Column("SELECT VALUE FROM TAGS order by ID;"), (QStringList{"a", "b"}));
}

TEST_F(PageRecorderTest, RecordingTwiceDoublesWordsAndTagsButNotThePage)
{
    const QString source = S("<title>T</title><h1>Head</h1><p>teh</p>");
    Record(kUrl, source);
    Record(kUrl, source);
    EXPECT_EQ(Column("SELECT COUNT(*) FROM MISSPELLED where WORD='teh';"), QStringList{"2"});
    EXPECT_EQ(Column("SELECT COUNT(*) FROM TAGS;"), QStringList{"2"});
    EXPECT_EQ(Column("SELECT COUNT(*) FROM PAGES;"), QStringList{"1"});
}

TEST_F(PageRecorderTest, ShowsEachFailingStatementAndGoesOn)
{
    db.Execute("DROP TABLE TAGS;");
    Record(kUrl, S("<title>Kept</title><h1>one<br>two</h1><h2>three</h2><p>teh</p>"));
    const QString failure = StatementFailureText(QStringLiteral("no such table: TAGS"));
    EXPECT_EQ(platform.messages, (QStringList{failure, failure, failure}));
    EXPECT_EQ(Column("SELECT WORD FROM MISSPELLED order by ID;"), (QStringList{"one", "teh", "three", "two"}));
    EXPECT_EQ(Column("SELECT TITLE FROM PAGES;"), QStringList{"Kept"});
}

// A message may wait for the user; meanwhile the window reads the project,
// so no failure is shown while the page's statements hold the store.
TEST_F(PageRecorderTest, ShowsFailuresOnlyOnceTheStoreIsFree)
{
    class StoreProbe : public MessageReporter {
    public:
        explicit StoreProbe(ProjectDatabase& db) : db_(db) {}
        void Report(const UserMessage& message) override
        {
            texts << message.text;
            const bool free = std::async(std::launch::async, [this] {
                                  if (!db_.Lock().tryLock())
                                      return false;
                                  db_.Lock().unlock();
                                  return true;
                              }).get();
            storeFree.push_back(free);
        }
        QStringList texts;
        std::vector<bool> storeFree;

    private:
        ProjectDatabase& db_;
    } probe(db);
    ScopedMessageReporter scope(&probe);
    db.Execute("DROP TABLE MISSPELLED;");
    db.Execute("DROP TABLE TAGS;");
    Record(kUrl, S("<title>Kept</title><h1>one</h1><p>teh</p>"));
    EXPECT_EQ(probe.texts, (QStringList{StatementFailureText(QStringLiteral("no such table: MISSPELLED")),
                                        StatementFailureText(QStringLiteral("no such table: MISSPELLED")),
                                        StatementFailureText(QStringLiteral("no such table: TAGS"))}));
    EXPECT_EQ(probe.storeFree, std::vector<bool>(3, true));
    EXPECT_EQ(Column("SELECT TITLE FROM PAGES;"), QStringList{"Kept"});
}

TEST_F(PageRecorderTest, UpdatesThePageAfterAFailedLookup)
{
    db.Execute("DROP TABLE PAGES;");
    Record(kUrl, S("<title>T</title>"));
    const QString failure = StatementFailureText(QStringLiteral("no such table: PAGES"));
    EXPECT_EQ(platform.messages, (QStringList{failure, failure}));  // the lookup, then the update
}
