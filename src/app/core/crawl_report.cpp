#include "app/core/crawl_report.h"

#include <QHash>

#include <algorithm>

#include "analysis/fetch_statuses.h"
#include "app/core/crawl_session.h"
#include "app/core/word_groups_loader.h"
#include "spelling/suggestion_engine.h"

namespace lexicrawl {

namespace {

std::vector<InternalUrl> FailedPages(CrawlSession& session)
{
    std::vector<InternalUrl> pages = session.Control().Table().Snapshot();
    if (std::none_of(pages.begin(), pages.end(), [](const InternalUrl& p) { return p.visited; }))
        pages = LoadFetchStatuses(session.Database());
    pages.erase(std::remove_if(pages.begin(), pages.end(), [](const InternalUrl& p) { return !VisitFailed(p); }),
                pages.end());
    return pages;
}

}  // namespace

bool CollectReport(CrawlSession& session, const QString& site, const std::optional<CrawlSummary>& summary,
                   ReportData& data, QString* error)
{
    GroupedWords grouped;
    if (!LoadGroupedWords(session, grouped, error, true))
        return false;
    const std::vector<UnknownWord>& words = grouped.words;
    data.approvedWords = grouped.approved;
    data.groups = std::move(grouped.groups);
    data.repeatedWords = std::move(grouped.repeatedWords);
    data.twoSpellings = std::move(grouped.twoSpellings);
    data.site = site;
    data.summary = summary;
    data.pageCount = session.Control().Table().Count();
    try {
        data.failedPages = FailedPages(session);
        data.notes = LoadCrawlNotes(session.Database());
        data.documents = LoadDocuments(session.Database());
        QHash<QString, std::vector<WordContext>> contexts;
        for (WordContext& c : LoadAllWordContexts(session.Database()))
            contexts[c.word].push_back(std::move(c));
        QStringList list;
        for (const UnknownWord& w : words)
            list << w.word;
        std::vector<QStringList> suggestions(words.size());
        if (const std::shared_ptr<const SuggestionEngine> engine = session.Spelling().Suggestions())
            suggestions = engine->SuggestAll(list);
        for (std::size_t i = 0; i < words.size(); ++i)
            data.words.push_back({words[i].word, words[i].occurrence, suggestions[i], words[i].pages,
                                  contexts.value(words[i].word)});
    } catch (const DatabaseError& e) {
        if (error)
            *error = e.Text();
        return false;
    }
    return true;
}

}  // namespace lexicrawl
