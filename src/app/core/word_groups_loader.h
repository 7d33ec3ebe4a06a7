#pragma once
// A session's unknown-word list with each word's group, reason and
// correction, as every front end shows it: the list as the session gives it
// (approved words left out), the page counts the crawl stored with the
// project, the chosen dictionary for the words one edit away and the
// dictionary of its language's other region. An opened project is grouped
// from what it stored, as the crawl that made it was.
//
// Thread-safety: LoadGroupedWords may run on any thread but the recording
// worker (it waits for the worker to answer the other region's verdicts).
#include <QString>

#include <vector>

#include "analysis/unknown_word_list.h"
#include "analysis/word_findings.h"
#include "analysis/word_groups.h"

namespace lexicrawl {

class CrawlSession;

struct GroupedWords {
    std::vector<UnknownWord> words;    // in the list's order
    std::vector<WordGrouping> groups;  // one per word
    qsizetype approved = 0;            // approved words left out of the list
    bool siteCounts = false;           // whether the project stored its page counts
    std::vector<RepeatedWordFinding> repeatedWords;
    std::vector<TwoSpellings> twoSpellings;

    // The list's indexes: likely typos first (most likely first), then the vocabulary.
    std::vector<std::size_t> Order() const { return GroupedOrder(groups); }
    qsizetype LikelyTypoCount() const;
};

// The words come with their pages. On failure answers false with the
// database's text in error.
bool LoadGroupedWords(CrawlSession& session, GroupedWords& grouped, QString* error = nullptr, bool withPages = true);

// The page counts of the session's project (and, when asked, the whole
// text's): the last crawl's own when it made this project, else those the
// project stored. Answers whether there are any; throws DatabaseError.
bool LoadSessionWordPages(CrawlSession& session, SiteWordPages& sitePages, SiteWordPages* textPages = nullptr);

// The grouping itself, for a list and the project it came from.
std::vector<WordGrouping> GroupSessionWords(CrawlSession& session, const std::vector<UnknownWord>& words,
                                            const SiteWordPages& sitePages, const SiteWordPages& textPages = {});

}  // namespace lexicrawl
