#include "analysis/document_text.h"

#include <QFile>

#include <gtest/gtest.h>

#include "platform/user_message.h"


namespace lexicrawl {
namespace {

// The fixtures and how they were made: tests/data/analysis/documents/make_documents.py.
QByteArray Fixture(const char* name)
{
    QFile file(QStringLiteral(LEXICRAWL_TEST_DATA "/analysis/documents/") + QLatin1String(name));
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << name;
    return file.readAll();
}

TEST(DocumentText, ReadsPdfPageByPage)
{
    const DocumentText pdf = ReadDocumentText(Fixture("report.pdf"), DocumentKind::Pdf);
    EXPECT_EQ(pdf.status, DocumentStatus::Read);
    ASSERT_EQ(pdf.pages.size(), 4);
    EXPECT_TRUE(pdf.pages[2].contains(QLatin1String("recieved"))) << pdf.pages[2].toStdString();
    EXPECT_FALSE(pdf.pages[1].contains(QLatin1String("recieved")));
}

TEST(DocumentText, ReadsOfficeBodiesWithoutHiddenText)
{
    const DocumentText docx = ReadDocumentText(Fixture("letter.docx"), DocumentKind::Docx);
    EXPECT_EQ(docx.status, DocumentStatus::Read);
    ASSERT_EQ(docx.pages.size(), 1);
    EXPECT_EQ(docx.pages[0], QStringLiteral("Dear members,\nthe meeting is postponed untill further notice.\n"));

    const DocumentText odt = ReadDocumentText(Fixture("minutes.odt"), DocumentKind::Odt);
    EXPECT_EQ(odt.status, DocumentStatus::Read);
    ASSERT_EQ(odt.pages.size(), 1);
    EXPECT_EQ(odt.pages[0], QStringLiteral("Minutes\nThe comittee agreed.\nNext\nmeeting\n"));
}

struct CountingReporter : MessageReporter {
    int count = 0;
    void Report(const UserMessage&) override { ++count; }
};

TEST(DocumentText, UnreadableDocumentsGetAStatus)
{
    CountingReporter messages;  // a damaged document is no message for the user
    const ScopedMessageReporter reporter(&messages);
    const struct {
        QByteArray body;
        DocumentKind kind;
        DocumentStatus status;
    } cases[] = {
        {Fixture("encrypted.pdf"), DocumentKind::Pdf, DocumentStatus::Encrypted},
        {Fixture("damaged.pdf"), DocumentKind::Pdf, DocumentStatus::Damaged},
        {Fixture("scanned.pdf"), DocumentKind::Pdf, DocumentStatus::NoText},
        {"<html>not a pdf</html>", DocumentKind::Pdf, DocumentStatus::Damaged},
        {Fixture("report.pdf"), DocumentKind::Docx, DocumentStatus::Damaged},
        {Fixture("letter.docx"), DocumentKind::Odt, DocumentStatus::Damaged},  // no content.xml
        {Fixture("letter.docx").left(200), DocumentKind::Docx, DocumentStatus::Damaged},
        {QByteArray(), DocumentKind::Pdf, DocumentStatus::Damaged},
    };
    for (const auto& c : cases) {
        const DocumentText text = ReadDocumentText(c.body, c.kind);
        EXPECT_EQ(int(text.status), int(c.status)) << c.body.left(40).toStdString();
        EXPECT_FALSE(DocumentStatusText(c.status).isEmpty());
    }
    EXPECT_EQ(messages.count, 0);
}

TEST(DocumentText, BoundsSizeAndPages)
{
    DocumentLimits limits;
    limits.maxBytes = 1000;
    EXPECT_EQ(ReadDocumentText(Fixture("report.pdf").repeated(2), DocumentKind::Pdf, limits).status,
              DocumentStatus::TooLarge);
    limits = {};
    limits.maxPages = 2;
    const DocumentText cut = ReadDocumentText(Fixture("report.pdf"), DocumentKind::Pdf, limits);
    EXPECT_EQ(cut.status, DocumentStatus::Cut);
    EXPECT_EQ(cut.pages.size(), 2);
}

TEST(DocumentText, KindOfUrlAndBody)
{
    EXPECT_EQ(DocumentKindOfUrl("http://h/a/Report.PDF"), DocumentKind::Pdf);
    EXPECT_EQ(DocumentKindOfUrl("http://h/a.docx?download=1"), DocumentKind::Docx);
    EXPECT_EQ(DocumentKindOfUrl("http://h/a.odt#p2"), DocumentKind::Odt);
    EXPECT_EQ(DocumentKindOfUrl("http://h/pdf/index.html"), DocumentKind::None);
    EXPECT_EQ(DocumentKindOfUrl("http://h/a.doc"), DocumentKind::None);
    EXPECT_EQ(DocumentKindOfBody(Fixture("report.pdf"), "application/octet-stream"), DocumentKind::Pdf);
    EXPECT_EQ(DocumentKindOfBody(Fixture("minutes.odt"), ""), DocumentKind::Odt);
    EXPECT_EQ(DocumentKindOfBody(Fixture("letter.docx"), ""), DocumentKind::Docx);
    EXPECT_EQ(DocumentKindOfBody("<html>", "text/html"), DocumentKind::None);
}

}  // namespace
}  // namespace lexicrawl
