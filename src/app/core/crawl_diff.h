#pragma once
// What changed between two crawls of a site, from their saved projects:
// the unknown words that are new (with their pages), those that are gone,
// and the pages that fail now but did not before. A word approved in
// either project counts as neither new nor gone.
//
// Thread-safety: stateless; ReadProject uses a working copy of its own.
#include <QString>
#include <QStringList>

#include <vector>

#include "analysis/unknown_word_list.h"
#include "crawl/internal_urls.h"

namespace lexicrawl {

class AppEnvironment;

struct ProjectContents {
    std::vector<UnknownWord> words;  // with their pages
    QStringList approved;            // approved for the site
    std::vector<InternalUrl> fetches;
};

struct CrawlDiff {
    std::vector<UnknownWord> newWords;
    std::vector<UnknownWord> fixedWords;
    std::vector<InternalUrl> newFailures;
};

// Reads a saved project through a working copy in the data folder (the
// file itself is not changed). Answers false with the reason.
bool ReadProject(const AppEnvironment& environment, const QString& path, ProjectContents& contents, QString* error);

CrawlDiff CompareCrawls(const ProjectContents& before, const ProjectContents& now);

}  // namespace lexicrawl
