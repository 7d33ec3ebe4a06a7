#pragma once
// What a crawl that reads documents records for a linked PDF, ODT or DOCX:
// its words, read from the document's text as a page's readable text is
// read (the standard or the prose reading), the text page by page for the
// contexts of its unknown words, and a row in DOCUMENTS (made when first
// needed) saying what kind of document it is and how its reading went.
//
// Thread-safety: ExtractDocumentRecord may run on any thread; the table
// functions go through the database's lock.
#include <QByteArray>
#include <QString>

#include <vector>

#include "analysis/document_text.h"
#include "analysis/page_record.h"

namespace lexicrawl {

class ProjectDatabase;

// The document's kind is DocumentKindOfAnswer's; a body of no kind it reads
// is recorded as damaged.
PageRecord ExtractDocumentRecord(const QString& url, const QByteArray& body, const QByteArray& contentType,
                                 const TextOptions& text, const DocumentLimits& limits = {});

// "PDF", "ODT", "DOCX"; empty for None.
QString DocumentKindName(DocumentKind kind);

// One row of DOCUMENTS.
struct DocumentRow {
    QString url;
    QString kind;    // DocumentKindName
    int pages = 0;   // a PDF's pages read
    QString status;  // DocumentStatusText, or "read" for a whole reading
};

// Writes the document's row, creating the table when needed; throws DatabaseError.
void WriteDocumentRow(ProjectDatabase& database, const QString& url, const DocumentFacts& facts);
// Every row, in the order written; none when the project read no documents.
std::vector<DocumentRow> LoadDocuments(ProjectDatabase& database);

}  // namespace lexicrawl
