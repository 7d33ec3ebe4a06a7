#pragma once
// What the HTML report shows, gathered from a session: the unknown words
// (approved ones left out and counted), their pages, contexts and
// suggestions, and the failed pages (from the crawl just run, or as stored
// in an opened project).
//
// Thread-safety: call where the session may be used; the suggestions are
// made on several threads.
#include <QString>

#include <optional>

#include "analysis/html_report.h"

namespace lexicrawl {

class CrawlSession;

bool CollectReport(CrawlSession& session, const QString& site, const std::optional<CrawlSummary>& summary,
                   ReportData& data, QString* error);

}  // namespace lexicrawl
