// What a crawl that reads documents records for each linked document: its
// unknown words, read as a page's are, the page of a PDF where each first
// stands, and the document's kind and status.
#include <gtest/gtest.h>

#include <QFile>
#include <QLocale>
#include <QSet>

#include "analysis/document_record.h"
#include "analysis/page_recorder.h"
#include "analysis/word_context.h"
#include "qstring_printer.h"
#include "recording_platform.h"
#include "store/project_database.h"

using namespace lexicrawl;
using namespace Qt::StringLiterals;

namespace {

QByteArray Fixture(const QString& name)
{
    QFile file(QStringLiteral(LEXICRAWL_TEST_DATA "/analysis/documents/") + name);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << name.toStdString();
    return file.readAll();
}

// The planted typos are the only words the dictionary does not know.
bool Known(const QString& word)
{
    static const QSet<QString> typos{"recieved", "untill", "comittee"};
    return !typos.contains(word);
}

class DocumentRecordTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
        ASSERT_TRUE(db.PrepareForCrawl(DatabaseLocation::Memory));
    }
    void TearDown() override { QLocale::setDefault(QLocale::system()); }

    void Record(const QString& name, const TextOptions& text, const QByteArray& contentType = {})
    {
        PageRecorder recorder(db, [](const QStringList& words) {
            std::vector<bool> known;
            for (const QString& w : words)
                known.push_back(Known(w));
            return known;
        });
        recorder.SetLanguageVerdicts([](const LanguageWords& words) -> std::optional<std::vector<bool>> {
            std::vector<bool> known;
            for (const QString& w : words.words)
                known.push_back(Known(w));
            return known;
        });
        recorder.BeginCrawl(text);
        const QString url = QStringLiteral("http://site.test/") + name;
        recorder.Write(url, ExtractDocumentRecord(url, Fixture(name), contentType, text));
    }

    QStringList Rows(const QString& sql)
    {
        QStringList rows;
        for (const QStringList& row : db.QueryAll(sql))
            rows << row.join(QLatin1Char('|'));
        return rows;
    }

    RecordingPlatform platform;
    ProjectDatabase db{QString(), QString()};
};

TEST_F(DocumentRecordTest, UnknownWordsOfEachKindWithThePdfPageInTheirContext)
{
    for (const TextMode mode : {TextMode::Standard, TextMode::Prose}) {
        SCOPED_TRACE(mode == TextMode::Prose ? "prose" : "standard");
        ASSERT_TRUE(db.PrepareForCrawl(DatabaseLocation::Memory));
        const TextOptions text{mode, false};
        Record(QStringLiteral("report.pdf"), text);
        Record(QStringLiteral("letter.docx"), text);
        Record(QStringLiteral("minutes.odt"), text);
        EXPECT_EQ(Rows("SELECT WORD, URL FROM MISSPELLED ORDER BY ID;"),
                  QStringList({"recieved|http://site.test/report.pdf", "untill|http://site.test/letter.docx",
                               "comittee|http://site.test/minutes.odt"}));
        const std::vector<WordContext> contexts = LoadAllWordContexts(db);
        ASSERT_EQ(contexts.size(), 3u);
        EXPECT_EQ(contexts[0].documentPage, 3);
        EXPECT_EQ(WordPlaceText(contexts[0]), u"page 3"_qs);
        EXPECT_EQ(contexts[0].marked, u"recieved"_qs);
        EXPECT_EQ(contexts[1].documentPage, 0);  // an office document has no pages to name
        EXPECT_EQ(WordPlaceText(contexts[1]), u"body"_qs);
        EXPECT_TRUE(contexts[1].Text().contains(u"postponed untill further"_qs)) << contexts[1].Text().toStdString();
        EXPECT_EQ(Rows("SELECT URL, KIND, PAGES, STATUS FROM DOCUMENTS ORDER BY ID;"),
                  QStringList({"http://site.test/report.pdf|PDF|4|read", "http://site.test/letter.docx|DOCX|0|read",
                               "http://site.test/minutes.odt|ODT|0|read"}));
        // Each document has its PAGES row, as a page has.
        EXPECT_EQ(Rows("SELECT COUNT(*) FROM PAGES;"), QStringList{"3"});
    }
}

TEST_F(DocumentRecordTest, UnreadableDocumentsAreRecordedWithTheirStatus)
{
    Record(QStringLiteral("encrypted.pdf"), {});
    Record(QStringLiteral("damaged.pdf"), {});
    Record(QStringLiteral("scanned.pdf"), {});
    EXPECT_EQ(Rows("SELECT COUNT(*) FROM MISSPELLED;"), QStringList{"0"});
    const std::vector<DocumentRow> rows = LoadDocuments(db);
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[0].status, DocumentStatusText(DocumentStatus::Encrypted));
    EXPECT_EQ(rows[1].status, DocumentStatusText(DocumentStatus::Damaged));
    EXPECT_EQ(rows[2].status, DocumentStatusText(DocumentStatus::NoText));
}

TEST_F(DocumentRecordTest, AUrlThatDoesNotNameItsKindIsKnownByItsBody)
{
    const QByteArray pdf = Fixture(QStringLiteral("report.pdf"));
    const PageRecord byType = ExtractDocumentRecord(u"http://site.test/get?id=7"_qs, pdf, "application/pdf", {});
    ASSERT_TRUE(byType.document);
    EXPECT_EQ(byType.document->kind, DocumentKind::Pdf);
    EXPECT_EQ(byType.documentPages.size(), 4);
    const PageRecord unknown = ExtractDocumentRecord(u"http://site.test/get?id=8"_qs, "\x89PNG\r\n", "image/png", {});
    ASSERT_TRUE(unknown.document);
    EXPECT_EQ(unknown.document->status, DocumentStatus::Damaged);
    EXPECT_TRUE(unknown.words.isEmpty());
}

}  // namespace
