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

TEST(DocumentText, KindOfUrl)
{
    EXPECT_EQ(DocumentKindOfUrl("http://h/a/Report.PDF"), DocumentKind::Pdf);
    EXPECT_EQ(DocumentKindOfUrl("http://h/a.docx?download=1"), DocumentKind::Docx);
    EXPECT_EQ(DocumentKindOfUrl("http://h/a.odt#p2"), DocumentKind::Odt);
    EXPECT_EQ(DocumentKindOfUrl("http://h/pdf/index.html"), DocumentKind::None);
    EXPECT_EQ(DocumentKindOfUrl("http://h/a.doc"), DocumentKind::None);
}

// Each row: an answer's URL, body and declared type, and the kind of
// document it is read as (None: a page, or a file that is no document).
TEST(DocumentText, KindOfAnswerBySignatureTypeAndUrl)
{
    const QByteArray pdf = Fixture("report.pdf");
    const QByteArray odt = Fixture("minutes.odt");
    const QByteArray docx = Fixture("letter.docx");
    const QByteArray errorPage = "<!DOCTYPE html><html><body>Not found</body></html>";
    const QByteArray binary("\x00\x01\x02garbage\xff", 11);
    const QByteArray png("\x89PNG\r\n\x1A\n\x00\x00", 10);
    // A ZIP that is neither: a spreadsheet lists its parts' types too.
    const QByteArray xlsx = "PK\x03\x04....[Content_Types].xml....xl/workbook.xml";
    struct Case {
        const char* url;
        QByteArray body;
        const char* type;
        DocumentKind kind;
    };
    const Case cases[] = {
        // The body's signature wins over the type and the URL.
        {"http://h/download?id=7", pdf, "application/pdf", DocumentKind::Pdf},
        {"http://h/download?id=7", pdf, "application/octet-stream", DocumentKind::Pdf},
        {"http://h/download?id=7", pdf, "text/plain; charset=utf-8", DocumentKind::Pdf},
        {"http://h/download?id=7", pdf, "", DocumentKind::Pdf},
        {"http://h/get/minutes", odt, "application/vnd.oasis.opendocument.text", DocumentKind::Odt},
        {"http://h/get/minutes", odt, "application/zip", DocumentKind::Odt},
        {"http://h/get/letter", docx, "", DocumentKind::Docx},
        {"http://h/letter.pdf", docx, "application/pdf", DocumentKind::Docx},
        // A text body without a signature is a page, whatever it claims.
        {"http://h/report.pdf", errorPage, "text/html", DocumentKind::None},
        {"http://h/report.pdf", errorPage, "application/pdf", DocumentKind::None},
        {"http://h/download?id=7", errorPage, "application/pdf", DocumentKind::None},
        // A binary body without one: its declared type, then its URL.
        {"http://h/download?id=9", binary, "Application/PDF; name=a.pdf", DocumentKind::Pdf},
        {"http://h/download?id=9", binary,
         "application/vnd.openxmlformats-officedocument.wordprocessingml.document", DocumentKind::Docx},
        {"http://h/broken.odt", binary, "application/octet-stream", DocumentKind::Odt},
        {"http://h/download?id=9", binary, "application/octet-stream", DocumentKind::None},
        {"http://h/logo", png, "image/png", DocumentKind::None},
        {"http://h/sheet", xlsx, "application/zip", DocumentKind::None},
    };
    for (const Case& c : cases)
        EXPECT_EQ(DocumentKindOfAnswer(QString::fromLatin1(c.url), c.body, c.type), c.kind)
            << c.url << " " << c.type << " " << c.body.left(12).toStdString();
}

}  // namespace
}  // namespace lexicrawl
