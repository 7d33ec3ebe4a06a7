#pragma once
// What lexicrawl-cli prints on standard output: the unknown-word list, each
// word with its occurrence (the number of page recordings that found it
// unknown) and its pages, as an aligned table, as CSV or as JSON; the JSON
// form also carries the crawl's summary, how the words were read and every
// page with its status. And the lines a crawl ends with on standard error.
#include <QString>

#include <optional>
#include <vector>

#include "analysis/document_record.h"
#include "analysis/text_mode_record.h"
#include "analysis/unknown_word_list.h"
#include "analysis/word_findings.h"
#include "analysis/word_groups.h"
#include "app/core/crawl_diff.h"
#include "cli/cli_options.h"
#include "crawl/crawl_host.h"
#include "crawl/crawl_notes.h"
#include "crawl/internal_urls.h"

namespace lexicrawl::cli {

struct Report {
    std::vector<UnknownWord> words;
    std::vector<InternalUrl> pages;       // the table of internal URLs
    std::optional<CrawlSummary> summary;  // after a crawl
    std::optional<TextModeRecord> text;   // how the words were read
    qsizetype approved = 0;               // approved words left off the list
    // One per word when the words were grouped (else empty); with
    // likelyTyposOnly the words are the likely typos alone, the table and
    // CSV then giving each its correction and reason.
    std::vector<WordGrouping> groups;
    bool likelyTyposOnly = false;
    // The findings beside the words (when the words were grouped).
    std::vector<RepeatedWordFinding> repeatedWords;
    std::vector<TwoSpellings> twoSpellings;
    // What robots.txt, the sitemaps and the documents added (empty for a
    // crawl without those options).
    CrawlNotes notes;
    std::vector<DocumentRow> documents;
};

// Keeps the likely typos of a grouped report, most likely first.
void KeepLikelyTypos(Report& report);

QString FormatReport(const Report& report, OutputFormat format);

// "25 pages fetched, 1 failed, 12 distinct unknown words, 2.3 s"; with
// approved words, "12 distinct unknown words (3 approved)".
QString SummaryLine(const CrawlSummary& summary, qsizetype unknownWords, qsizetype approved = 0);

// The changes between two crawls: new unknown words with their pages, fixed
// words, newly failing pages; a table, CSV (kind, word or page, detail) or JSON.
QString FormatDiff(const CrawlDiff& diff, OutputFormat format);

// What a crawl that obeyed robots.txt, read sitemaps or read documents adds
// to its summary: the pages found only in a sitemap, those robots.txt kept
// out (the first few of each), the documents (each one not read whole) and
// the warnings; nothing for any other crawl.
QStringList SourceLines(const Report& report);

// "Text mode: prose; not checked, no dictionary for its language: la (1 page, 6 words)"
QString TextModeLine(const TextModeRecord& text);

}  // namespace lexicrawl::cli
