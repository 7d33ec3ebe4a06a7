#include "app/core/word_groups_loader.h"

#include "app/core/crawl_session.h"
#include "spelling/suggestion_engine.h"
#include "store/project_database.h"

namespace lexicrawl {

qsizetype GroupedWords::LikelyTypoCount() const
{
    qsizetype count = 0;
    for (const WordGrouping& g : groups)
        count += g.LikelyTypo() ? 1 : 0;
    return count;
}

std::vector<WordGrouping> GroupSessionWords(CrawlSession& session, const std::vector<UnknownWord>& words,
                                            const SiteWordPages& sitePages)
{
    WordEvidence evidence;
    evidence.sitePages = &sitePages;
    const std::shared_ptr<const SuggestionEngine> dictionary = session.Suggestions();
    if (dictionary)
        evidence.dictionaryKnows = [dictionary](const QString& form) { return dictionary->Accepts(form); };

    QStringList asked;
    for (const UnknownWord& w : words)
        asked << w.word << w.word.toLower();
    const std::optional<OtherSpellingVerdicts> other = session.Spelling().OtherSpellingNow(asked);
    TextSet otherKnows;
    if (other) {
        for (qsizetype i = 0; i < asked.size(); ++i) {
            if (size_t(i) < other->known.size() && other->known[size_t(i)])
                otherKnows.insert(asked.at(i));
        }
        evidence.otherSpellingName = other->name;
        evidence.otherSpellingKnows = [&otherKnows](const QString& word) { return otherKnows.contains(word); };
    }
    return GroupWords(words, evidence);
}

bool LoadGroupedWords(CrawlSession& session, GroupedWords& grouped, QString* error, bool withPages)
{
    grouped = GroupedWords();
    if (!session.UnknownWords(grouped.words, error, withPages, &grouped.approved))
        return false;
    SiteWordPages sitePages;
    try {
        grouped.siteCounts = LoadSiteWordPages(session.Database(), sitePages);
        grouped.repeatedWords = LoadRepeatedWords(session.Database());
    } catch (const DatabaseError& e) {
        if (error)
            *error = e.Text();
        return false;
    }
    grouped.groups = GroupSessionWords(session, grouped.words, sitePages);
    grouped.twoSpellings = FindTwoSpellings(sitePages);
    return true;
}

}  // namespace lexicrawl
