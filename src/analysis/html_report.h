#pragma once
// The crawl's report as one self-contained HTML file (styles and script
// inside, nothing fetched): a summary (pages, failures by status, unknown
// and approved words, time), the likely typos with their corrections and
// reasons, the findings (words written twice in a row, one word spelled two
// ways), the site's vocabulary folded, the unknown-word list with suggestions, which
// sorts by word or count and filters as one types, each word opening to
// its pages and the sentences it stands in, and the failed pages; after a
// crawl that had them, the documents checked, the pages found only in a
// sitemap and those robots.txt kept out. The rows
// are written out in the file, so it reads without its script too.
//
// Thread-safety: pure functions; any thread.
#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

#include "analysis/document_record.h"
#include "analysis/word_context.h"
#include "analysis/word_findings.h"
#include "analysis/word_groups.h"
#include "crawl/crawl_host.h"
#include "crawl/internal_urls.h"

namespace lexicrawl {

struct ReportWord {
    QString word;
    qint64 occurrence = 0;
    QStringList suggestions;
    QStringList pages;
    std::vector<WordContext> contexts;  // at most one per page
};

struct ReportData {
    QString site;                         // the start URL, or the project file
    std::optional<CrawlSummary> summary;  // after a crawl
    qsizetype pageCount = 0;
    std::vector<InternalUrl> failedPages;
    qsizetype approvedWords = 0;
    std::vector<ReportWord> words;
    // A crawl that read sitemaps, obeyed robots.txt or read documents: each
    // has a section of its own; an empty one is left out.
    CrawlNotes notes;
    std::vector<DocumentRow> documents;
    std::vector<WordGrouping> groups;  // one per word, or none: the words not grouped
    std::vector<RepeatedWordFinding> repeatedWords;
    std::vector<TwoSpellings> twoSpellings;
};

QString HtmlReport(const ReportData& data);

// Writes the report (UTF-8) whole or not at all; answers false with the reason.
bool WriteHtmlReport(const QString& fileName, const ReportData& data, QString* error);

}  // namespace lexicrawl
