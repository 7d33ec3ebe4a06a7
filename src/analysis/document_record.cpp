#include "analysis/document_record.h"

#include "analysis/prose_words.h"
#include "analysis/readable_text.h"
#include "analysis/word_context.h"
#include "platform/text_hash.h"
#include "store/project_database.h"
#include "store/sql_quote.h"

namespace lexicrawl {

namespace {

// The prose words of a document, as written, each once: a document declares
// no languages, so they form one group.
std::vector<LanguageWords> ProseWordsOf(const QStringList& parts)
{
    LanguageWords group;
    TextSet seen;
    for (const QString& part : parts)
        CutProseWords(part, [&](QStringView word) {
            if (seen.find(word) == seen.end()) {
                seen.insert(word.toString());
                group.words << word.toString();
            }
        });
    if (group.words.isEmpty())
        return {};
    return {std::move(group)};
}

}  // namespace

PageRecord ExtractDocumentRecord(const QString& url, const QByteArray& body, const QByteArray& contentType,
                                 const TextOptions& text, const DocumentLimits& limits)
{
    const DocumentKind kind = DocumentKindOfAnswer(url, body, contentType);
    PageRecord record;
    DocumentFacts facts;
    facts.kind = kind;
    if (kind == DocumentKind::None) {
        record.document = facts;  // damaged: not a document of a kind that is read
        return record;
    }
    DocumentText document = ReadDocumentText(body, kind, limits);
    facts.status = document.status;
    if (kind == DocumentKind::Pdf) {
        facts.pages = int(document.pages.size());
        record.documentPages = document.pages;
    } else {
        record.text = document.pages.join(QStringLiteral("\r\n"));
    }
    record.document = facts;
    if (text.Prose()) {
        record.proseWords = ProseWordsOf(document.pages);
    } else {
        TextSet seen;
        for (const QString& page : document.pages)
            for (const QString& word : DistinctWords(page))
                if (seen.insert(word).second)
                    record.words << word;
    }
    return record;
}

QString DocumentKindName(DocumentKind kind)
{
    switch (kind) {
    case DocumentKind::Pdf:
        return QStringLiteral("PDF");
    case DocumentKind::Odt:
        return QStringLiteral("ODT");
    case DocumentKind::Docx:
        return QStringLiteral("DOCX");
    case DocumentKind::None:
        break;
    }
    return {};
}

void WriteDocumentRow(ProjectDatabase& database, const QString& url, const DocumentFacts& facts)
{
    database.Execute(QStringLiteral("CREATE TABLE IF NOT EXISTS DOCUMENTS (ID INTEGER PRIMARY KEY AUTOINCREMENT, "
                                    "URL TEXT, KIND TEXT, PAGES INTEGER, STATUS TEXT);"));
    const QString status = facts.status == DocumentStatus::Read ? QStringLiteral("read") : DocumentStatusText(facts.status);
    database.Execute(BoundStatement{"insert into DOCUMENTS (URL,KIND,PAGES,STATUS) values (?,?,?,?);",
                                    {url, DocumentKindName(facts.kind), QString::number(facts.pages), status}});
}

std::vector<DocumentRow> LoadDocuments(ProjectDatabase& database)
{
    std::vector<DocumentRow> rows;
    if (!HasTable(database, QStringLiteral("DOCUMENTS")))
        return rows;
    database.Query(QStringLiteral("SELECT URL, KIND, PAGES, STATUS FROM DOCUMENTS order by ID;"), [&](const Row& row) {
        rows.push_back({row.At(0), row.At(1), row.At(2).toInt(), row.At(3)});
    });
    return rows;
}

}  // namespace lexicrawl
