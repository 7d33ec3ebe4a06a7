#pragma once
// The text of a linked document: a PDF (through poppler) page by page, or
// an ODT or DOCX (a ZIP archive with an XML body) as one run of
// paragraphs. Reading is bounded: a document past MaxBytes is not opened,
// a PDF stops after MaxPages pages or MaxMilliseconds, and what was read
// before a cut is kept. A document that cannot be read (encrypted, damaged,
// only images) comes back with a status and a text that says so; nothing
// in it can crash or stall the crawl for long.
//
// Thread-safety: ReadDocumentText may run on several threads at once.
#include <QByteArray>
#include <QString>
#include <QStringList>

#include "crawl/document_kind.h"

namespace lexicrawl {

enum class DocumentStatus {
    Read,       // the whole text
    Cut,        // the first pages only (too many pages, or too slow)
    NoText,     // readable, but without text (a scanned document)
    Encrypted,  // needs a password
    Damaged,    // not a document of its kind
    TooLarge,   // past MaxBytes: not opened
};

struct DocumentText {
    DocumentKind kind = DocumentKind::None;
    DocumentStatus status = DocumentStatus::Damaged;
    // A PDF's pages in order (a page without text is empty); an office
    // document's paragraphs joined by line ends, as one element.
    QStringList pages;
};

// What the project keeps of a document that was read.
struct DocumentFacts {
    DocumentKind kind = DocumentKind::None;
    DocumentStatus status = DocumentStatus::Damaged;
    int pages = 0;  // a PDF's pages read; 0 for an office document
};

struct DocumentLimits {
    qsizetype maxBytes = 64 * 1024 * 1024;
    int maxPages = 2000;
    int maxMilliseconds = 30'000;
};

DocumentText ReadDocumentText(const QByteArray& body, DocumentKind kind, const DocumentLimits& limits = {});

// "document cut after 2000 pages", "encrypted document", ...: what the
// lists show for a document whose status is not Read; empty for Read.
QString DocumentStatusText(DocumentStatus status);

}  // namespace lexicrawl
