// The marks the window reads back from a project: the rows' notes (the URL
// export's texts), the documents, the sitemap-only pages and the pages
// robots.txt left out; a project without them has none, a broken table is an
// error and no half-read marks.
#include <gtest/gtest.h>

#include "analysis/document_record.h"
#include "analysis/document_text.h"
#include "app/core/page_marks.h"
#include "crawl/crawl_notes.h"
#include "store/project_database.h"
#include "support/qt_printers.h"

using namespace lexicrawl;

namespace {

class PageMarksTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(db_.PrepareForCrawl(DatabaseLocation::Memory)); }
    ProjectDatabase db_{QString(), QString()};
};

TEST_F(PageMarksTest, NotesDocumentsAndLeftOutPagesAreReadBack)
{
    PageMarks marks;
    ASSERT_TRUE(LoadPageMarks(db_, marks));
    EXPECT_TRUE(marks.Empty());  // a crawl without site files or documents

    CrawlNotes notes;
    notes.sitemapOnly << "http://a.test/orphan.html" << "http://a.test/old.pdf";
    notes.leftOutByRobots << "http://a.test/private/";
    notes.warnings << "sitemap http://a.test/broken.xml: not XML";
    WriteCrawlNotes(db_, notes);
    WriteDocumentRow(db_, "http://a.test/report.pdf", {DocumentKind::Pdf, DocumentStatus::Read, 4});
    WriteDocumentRow(db_, "http://a.test/old.pdf", {DocumentKind::Pdf, DocumentStatus::Encrypted, 0});

    ASSERT_TRUE(LoadPageMarks(db_, marks));
    EXPECT_FALSE(marks.Empty());
    EXPECT_EQ(marks.notes.size(), 3);
    EXPECT_EQ(marks.notes.value("http://a.test/orphan.html"), "sitemap only (linked from nowhere)");
    EXPECT_EQ(marks.notes.value("http://a.test/report.pdf"), "PDF document");
    EXPECT_EQ(marks.notes.value("http://a.test/old.pdf"), "sitemap only (linked from nowhere); PDF document: encrypted document");
    EXPECT_EQ(marks.documents.value("http://a.test/report.pdf").pages, 4);
    EXPECT_EQ(marks.documents.value("http://a.test/old.pdf").status, "encrypted document");
    EXPECT_TRUE(marks.sitemapOnly.contains("http://a.test/old.pdf"));
    EXPECT_FALSE(marks.sitemapOnly.contains("http://a.test/report.pdf"));
    EXPECT_EQ(marks.leftOutByRobots, QStringList{"http://a.test/private/"});
}

TEST_F(PageMarksTest, ABrokenTableIsAnErrorWithNoMarks)
{
    WriteCrawlNotes(db_, CrawlNotes{{"http://a.test/orphan.html"}, {}, {}});
    db_.Execute(QStringLiteral("CREATE TABLE DOCUMENTS (URL TEXT);"));  // a project some other program changed
    PageMarks marks;
    marks.leftOutByRobots << "stale";
    QString error;
    EXPECT_FALSE(LoadPageMarks(db_, marks, &error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_TRUE(marks.Empty());
}

}  // namespace
