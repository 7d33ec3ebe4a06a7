#include <gtest/gtest.h>

#include "test_printers.h"

#include "crawl/link_processor.h"
#include "recording_platform.h"
#include "store/project_database.h"

using namespace lexicrawl;

namespace {

const QString kExtensions = u"ico jpg jpeg png gif bmp svg css js exe zip rar 7z apk pdf doc docx xls xlsx ppt pptx"_qs;

class CrawlLinkProcessorTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(db_.PrepareForCrawl(DatabaseLocation::Memory)); }

    std::unique_ptr<LinkProcessor> Processor(const QString& startUrl, bool subdomain = false,
                                             qint64 limit = 1000, const QString& ignoreUrls = QString())
    {
        state_.startUrl = startUrl;
        state_.subdomainScope = subdomain;
        state_.urlLimit = limit;
        state_.addedCount = 0;
        state_.ignoreExtensionsText = kExtensions;
        return std::make_unique<LinkProcessor>(db_, table_, state_, IgnoreUrlPatterns(ignoreUrls));
    }

    // LINKS rows as "URL|LINK|FOLLOW|TYPE|ANCHOR".
    QStringList Links()
    {
        QStringList out;
        for (const QStringList& row : db_.QueryAll(u"SELECT URL,LINK,FOLLOW,TYPE,ANCHOR FROM LINKS ORDER BY ID"_qs))
            out << row.join(u'|');
        return out;
    }
    QStringList Pages()
    {
        QStringList out;
        for (const QStringList& row : db_.QueryAll(u"SELECT URL FROM PAGES ORDER BY ID"_qs))
            out << row.join(u'|');
        return out;
    }
    QStringList TablePages() const
    {
        QStringList out;
        for (qsizetype i = 0; i < table_.Count(); ++i)
            out << table_.At(i).page;
        return out;
    }

    test::RecordingPlatform platform_;
    ProjectDatabase db_{QString(), QString()};
    InternalUrls table_;
    CrawlState state_;
};

struct Case {
    const char* what;
    QString link;
    QString source;
    QString expected;  // the LINKS row "LINK|TYPE", or empty when dropped
};

TEST_F(CrawlLinkProcessorTest, ResolvesFiltersAndClassifies)
{
    const QString page = u"http://www.example.com/dir/page.html"_qs;
    const Case cases[] = {
        {"relative page", u"other.html"_qs, page, u"http://www.example.com/dir/other.html|Internal"_qs},
        {"subdomain is internal in domain scope", u"http://blog.example.com/"_qs, page,
         u"http://blog.example.com|Internal"_qs},
        {"host differing in case is external", u"http://WWW.EXAMPLE.COM/x"_qs, page,
         u"http://WWW.EXAMPLE.COM/x|External"_qs},
        {"other site", u"https://other.org/a"_qs, page, u"https://other.org/a|External"_qs},
        {"extension anywhere in the link", u"page.jsp"_qs, page, QString()},
        {"extension in the host", u"http://cdn.js.example.com/"_qs, page, QString()},
        {"extension in capitals", u"IMAGE.PNG"_qs, page, QString()},
        {"javascript scheme", u"javascript:void(0)"_qs, page, QString()},
        {"javascript in capitals resolves as a page", u"JavaScript:void(0)"_qs, page,
         u"http://www.example.com/dir/JavaScript:void(0)|Internal"_qs},
        {"telephone link", u"tel:+4912345"_qs, page, u"http://www.example.com/dir/tel:+4912345|Internal"_qs},
        {"fragment only: the directory", u"#top"_qs, page, u"http://www.example.com/dir/|Internal"_qs},
        {"query only: the directory", u"?p=2"_qs, page, u"http://www.example.com/dir/?p=2|Internal"_qs},
        {"empty href", u""_qs, page, u"http://www.example.com/dir/|Internal"_qs},
        {"protocol-relative", u"//other.org/x"_qs, u"https://www.example.com/"_qs, u"https://other.org/x|External"_qs},
        {"bare site loses its slash", u"http://example.com/"_qs, page, u"http://example.com|Internal"_qs},
        {"a port keeps the slash", u"http://example.com:81/"_qs, page, u"http://example.com:81/|Internal"_qs},
        {"user information keeps the slash", u"http://me@example.com/"_qs, page,
         u"http://me@example.com/|Internal"_qs},
        {"mail link with empty source", u"mailto:info@example.com"_qs, QString(), u"mailto:info@example.com|External"_qs},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        db_.Execute(u"DELETE FROM LINKS"_qs);
        Processor(u"http://www.example.com/"_qs)->ProcessLink(c.link, c.source, u"dofollow"_qs, QString());
        const QStringList rows = Links();
        if (c.expected.isEmpty()) {
            EXPECT_TRUE(rows.isEmpty()) << rows.join(u'\n').toStdString();
            continue;
        }
        ASSERT_EQ(rows.size(), 1);
        const QStringList f = rows[0].split(u'|');
        EXPECT_EQ(f[1] + u'|' + f[3], c.expected);
        EXPECT_EQ(f[0], c.source);
    }
}

TEST_F(CrawlLinkProcessorTest, SubdomainScopeWantsTheExactHost)
{
    auto p = Processor(u"http://www.example.com/"_qs, true);
    p->ProcessLink(u"https://www.example.com/a"_qs, QString(), QString(), QString());
    p->ProcessLink(u"http://blog.example.com/b"_qs, QString(), QString(), QString());
    p->ProcessLink(u"http://www.example.com:8080/c"_qs, QString(), QString(), QString());
    EXPECT_EQ(Links(), QStringList({u"|https://www.example.com/a||Internal|"_qs,
                                    u"|http://blog.example.com/b||External|"_qs,
                                    u"|http://www.example.com:8080/c||Internal|"_qs}));
}

TEST_F(CrawlLinkProcessorTest, StartOnAnIpAddressTakesEveryEmptyDomain)
{
    auto p = Processor(u"http://10.0.0.1/"_qs);
    p->ProcessLink(u"http://10.0.0.2/x"_qs, QString(), QString(), QString());
    p->ProcessLink(u"mailto:a@b"_qs, QString(), QString(), QString());
    p->ProcessLink(u"http://www.example.com/"_qs, QString(), QString(), QString());
    const QStringList rows = Links();
    ASSERT_EQ(rows.size(), 3);
    EXPECT_TRUE(rows[0].endsWith(u"|Internal|"_qs));
    EXPECT_TRUE(rows[1].endsWith(u"|Internal|"_qs));
    EXPECT_TRUE(rows[2].endsWith(u"|External|"_qs));
}

// On a site without a registrable domain every link of another scheme shares
// its empty domain: it keeps its LINKS row but never becomes a page to fetch.
TEST_F(CrawlLinkProcessorTest, OnlyWebAddressesBecomeInternalUrls)
{
    struct Row {
        const char* what;
        QString startUrl;
        QString link;
        bool page;
    };
    const Row rows[] = {
        {"mail link", u"http://10.0.0.1/"_qs, u"mailto:a@b"_qs, false},
        {"redirect to a local file", u"http://10.0.0.1/"_qs, u"file:///etc/passwd"_qs, false},
        {"redirect to a share", u"http://intranet/"_qs, u"smb://server/share"_qs, false},
        {"ftp on the same host", u"http://10.0.0.1/"_qs, u"ftp://10.0.0.1/x"_qs, false},
        {"news link", u"http://localhost/"_qs, u"news:comp.lang"_qs, false},
        {"scheme in capitals is still the web", u"http://10.0.0.1/"_qs, u"HTTPS://10.0.0.1/y"_qs, true},
        {"plain page", u"http://10.0.0.1/"_qs, u"http://10.0.0.1/z"_qs, true},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.what);
        db_.Execute(u"DELETE FROM LINKS"_qs);
        db_.Execute(u"DELETE FROM PAGES"_qs);
        table_.Clear();
        Processor(r.startUrl)->ProcessLink(r.link, QString(), QString(), QString());
        EXPECT_EQ(Links(), QStringList({u"|"_qs + r.link + u"||Internal|"_qs}));
        EXPECT_EQ(TablePages(), r.page ? QStringList({r.link}) : QStringList());
        EXPECT_EQ(Pages(), TablePages());
        EXPECT_EQ(state_.addedCount.load(), r.page ? 1 : 0);
    }
}

TEST_F(CrawlLinkProcessorTest, AnchorsAndQueryStringsAreCutWhenAsked)
{
    auto p = Processor(u"http://www.example.com/"_qs);
    state_.options.removeAnchors = true;
    state_.options.removeQueryString = true;
    p->ProcessLink(u"a.html?x=1#frag"_qs, u"http://www.example.com/"_qs, QString(), QString());
    state_.options.removeAnchors = false;  // read afresh for every link
    state_.options.removeQueryString = false;
    p->ProcessLink(u"b.html?x=1#frag"_qs, u"http://www.example.com/"_qs, QString(), QString());
    EXPECT_EQ(TablePages(), QStringList({u"http://www.example.com/a.html"_qs, u"http://www.example.com/b.html?x=1#frag"_qs}));
}

TEST_F(CrawlLinkProcessorTest, RecordsEveryOccurrenceAndAppendsEachUrlOnce)
{
    auto p = Processor(u"http://www.example.com/"_qs, false, 3);
    const QString src = u"http://www.example.com/"_qs;
    p->ProcessLink(u"http://www.example.com/"_qs, QString(), QString(), QString());
    p->ProcessLink(u"a.html"_qs, src, u"NOFOLLOW"_qs, u"O'Brien\r\nline <b>two</b> "_qs);
    p->ProcessLink(u"a.html"_qs, src, u"dofollow"_qs, QString());
    p->ProcessLink(u"https://www.example.com/a.html"_qs, src, u"dofollow"_qs, QString());  // another text
    p->ProcessLink(u"b.html"_qs, src, u"dofollow"_qs, QString());  // over the limit
    EXPECT_EQ(TablePages(), QStringList({u"http://www.example.com"_qs, u"http://www.example.com/a.html"_qs,
                                         u"https://www.example.com/a.html"_qs}));
    EXPECT_EQ(Pages(), TablePages());
    EXPECT_EQ(state_.addedCount.load(), 3);
    EXPECT_EQ(table_.At(1).urlLength, 22);
    EXPECT_EQ(Links(), QStringList({
                           u"|http://www.example.com||Internal|"_qs,
                           u"http://www.example.com/|http://www.example.com/a.html|NOFOLLOW|Internal|O'Brien line two"_qs,
                           u"http://www.example.com/|http://www.example.com/a.html|dofollow|Internal|"_qs,
                           u"http://www.example.com/|https://www.example.com/a.html|dofollow|Internal|"_qs,
                           u"http://www.example.com/|http://www.example.com/b.html|dofollow|Internal|"_qs,
                       }));
    // Values are never NULL.
    EXPECT_EQ(db_.QueryAll(u"SELECT COUNT(*) FROM LINKS WHERE URL IS NULL OR ANCHOR IS NULL"_qs)[0][0], u"0"_qs);
}

TEST_F(CrawlLinkProcessorTest, MarkupStaysInTheAnchorWhenNotStripped)
{
    auto p = Processor(u"http://www.example.com/"_qs);
    state_.options.stripHtmlMarkup = false;
    p->ProcessLink(u"x.html"_qs, u"http://www.example.com/"_qs, QString(), u" <img src=a> Home "_qs);
    EXPECT_TRUE(Links().value(0).endsWith(u"| <img src=a> Home "_qs));
}

TEST_F(CrawlLinkProcessorTest, IgnoreMasksDropLinksAndAnInvalidMaskThrowsWhenReached)
{
    auto p = Processor(u"http://www.example.com/"_qs, false, 100, u"  *private*\r\n\r\n*[abc  "_qs);
    p->ProcessLink(u"/private/x"_qs, u"http://www.example.com/"_qs, QString(), QString());  // first mask matches
    EXPECT_TRUE(Links().isEmpty());
    try {
        p->ProcessLink(u"/public"_qs, u"http://www.example.com/"_qs, QString(), QString());
        ADD_FAILURE() << "no failure";
    } catch (const MaskError& e) {
        EXPECT_EQ(e.Text(), u"'*[abc' is an invalid mask at (6)"_qs);
    }
    // A link dropped by an extension never reaches the masks.
    EXPECT_NO_THROW(p->ProcessLink(u"/a.pdf"_qs, u"http://www.example.com/"_qs, QString(), QString()));
}

TEST_F(CrawlLinkProcessorTest, DatabaseFailuresAreReportedAndTheCrawlGoesOn)
{
    auto p = Processor(u"http://www.example.com/"_qs);
    db_.Execute(u"DROP TABLE PAGES"_qs);
    db_.Execute(u"DROP TABLE LINKS"_qs);
    p->ProcessLink(u"http://www.example.com/a"_qs, QString(), QString(), QString());
    EXPECT_EQ(TablePages(), QStringList({u"http://www.example.com/a"_qs}));  // stays in the table
    EXPECT_EQ(platform_.Messages(), QStringList({u"Exception raised with message: no such table: PAGES"_qs,
                                                 u"Error: Exception raised with message: no such table: LINKS"_qs}));
}

TEST_F(CrawlLinkProcessorTest, ABatchKeepsEveryRowAndHoldsItsMessagesBack)
{
    auto p = Processor(u"http://www.example.com/"_qs, false, 10'000);
    const QString src = u"http://www.example.com/"_qs;
    const int count = 3 * LinkProcessor::kBatchLinks + 7;  // several transactions
    {
        LinkBatch batch(*p);
        for (int i = 0; i < count; ++i)
            p->ProcessLink(u"p"_qs + QString::number(i), src, QString(), QString());
        db_.Execute(u"DROP TABLE LINKS"_qs);
        p->ProcessLink(u"late"_qs, src, QString(), QString());
        EXPECT_TRUE(platform_.Messages().isEmpty());  // not while the store is held
    }
    EXPECT_EQ(platform_.Messages(), QStringList({u"Error: Exception raised with message: no such table: LINKS"_qs}));
    EXPECT_EQ(Pages().size(), count + 1);
    EXPECT_EQ(table_.Count(), count + 1);
    // Nothing is left open: a transaction of our own can begin.
    EXPECT_NO_THROW(Transaction(db_).Commit());
}

TEST_F(CrawlLinkProcessorTest, AFailureInsideABatchEndsItCleanly)
{
    auto p = Processor(u"http://www.example.com/"_qs, false, 100, u"*/x/*\r\n*[abc"_qs);
    const QString src = u"http://www.example.com/"_qs;
    try {
        LinkBatch batch(*p);
        p->ProcessLink(u"/x/1"_qs, src, QString(), QString());  // dropped by the first mask
        p->ProcessLink(u"/y/1"_qs, src, QString(), QString());  // reaches the invalid one
        ADD_FAILURE() << "no failure";
    } catch (const MaskError&) {
    }
    EXPECT_NO_THROW(Transaction(db_).Commit());
    EXPECT_TRUE(Pages().isEmpty());
}

TEST(CrawlIgnoreLists, WordsAndPatterns)
{
    EXPECT_EQ(IgnoreExtensionWords(u"  js   css\tx  pdf "_qs), QStringList({u"js"_qs, u"css\tx"_qs, u"pdf"_qs}));
    EXPECT_TRUE(IgnoreExtensionWords(u"   "_qs).isEmpty());
    EXPECT_EQ(IgnoreUrlPatterns(u"\r\n a\r\n\r\n b \r\n"_qs), QStringList({u"a"_qs, QString(), u" b"_qs}));
}

}  // namespace
