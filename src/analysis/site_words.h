#pragma once
// How many pages of a crawl use each word, known or unknown: the evidence
// the word groups weigh (a word written once beside one the site writes on
// 400 pages). Counted while the pages are recorded and kept with the crawl
// in a table of its own (SITEWORDS, made when first needed), so that an
// opened project is grouped as the crawl was.
//
// Thread-safety: a counter is used from one thread at a time (the recording
// worker); the database serialises the statements. SiteWordCounts, once
// made, is never changed, so any thread may read it.
#include <QString>

#include "platform/text_counter.h"
#include "platform/text_hash.h"

namespace lexicrawl {

class ProjectDatabase;
struct PageRecord;

// Pages per word as the page wrote it (prose words keep their case, the
// standard reading's words are lower-cased already).
using SiteWordPages = TextMap<qint64>;

// What one crawl counted, as its tables hold it.
struct SiteWordCounts {
    TextCounter pages;
    TextCounter textPages;  // empty unless a prose crawl
};

class SiteWordCounter {
public:
    void Clear() { counts_ = SiteWordCounts(); }
    // Each distinct word of the page once.
    void AddPage(const PageRecord& record);
    const TextCounter& Pages() const { return counts_.pages; }
    // A prose crawl also counts every word of the whole readable text (code
    // and unchecked passages too), lower-cased: a word the site writes in
    // code is its own, not a slip.
    const TextCounter& TextPages() const { return counts_.textPages; }
    // Hands the counts over; the counter is empty after.
    SiteWordCounts Take();

    // Replaces the project's counts with these (creating the tables when
    // needed), in one transaction; throws DatabaseError. Without a word
    // counted the project stays as it was.
    void Write(ProjectDatabase& database) const;

private:
    SiteWordCounts counts_;
};

// The counts as the word groups read them.
void CopySiteWordPages(const TextCounter& counts, SiteWordPages& pages);

// The counts a crawl stored; empty, and false, for a project without them.
// Throws DatabaseError.
bool LoadSiteWordPages(ProjectDatabase& database, SiteWordPages& pages);
// The whole text's counts of a prose crawl; empty without them.
void LoadSiteTextWordPages(ProjectDatabase& database, SiteWordPages& pages);

}  // namespace lexicrawl
