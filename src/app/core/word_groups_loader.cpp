#include "app/core/word_groups_loader.h"

#include <algorithm>
#include <future>
#include <map>

#include "app/core/crawl_session.h"
#include "spelling/dictionary_forms.h"
#include "store/project_database.h"

namespace lexicrawl {

namespace {
constexpr int kPassageWords = 3;
}

qsizetype GroupedWords::LikelyTypoCount() const
{
    qsizetype count = 0;
    for (const WordGrouping& g : groups)
        count += g.LikelyTypo() ? 1 : 0;
    return count;
}

std::vector<WordGrouping> GroupSessionWords(CrawlSession& session, const std::vector<UnknownWord>& words,
                                            const SiteWordPages& sitePages, const SiteWordPages& textPages)
{
    WordEvidence evidence;
    evidence.sitePages = &sitePages;
    evidence.textPages = &textPages;
    const std::shared_ptr<const DictionaryForms> dictionary = session.Spelling().Forms();
    if (dictionary)
        evidence.dictionaryKnows = [dictionary](QStringView form) { return dictionary->Accepts(form); };

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
    std::vector<WordGrouping> groups = GroupWords(words, evidence);
    // A word of another language is one of a passage: at least three of the
    // likely words of one of its pages belong to that language. A lone one
    // ("fies", "cotent") is a slip all the same. So the other languages'
    // dictionaries are asked only about the likely typos of pages with three
    // or more of them (and not loaded at all when there are none).
    TextMap<int> likelyOnPage;
    for (std::size_t i = 0; i < groups.size(); ++i) {
        if (groups[i].LikelyTypo()) {
            for (const QString& page : words[i].pages)
                ++likelyOnPage[page];
        }
    }
    QStringList likely;
    for (std::size_t i = 0; i < groups.size(); ++i) {
        if (!groups[i].LikelyTypo())
            continue;
        const QStringList& pages = words[i].pages;
        if (std::any_of(pages.begin(), pages.end(),
                        [&](const QString& page) { return likelyOnPage[page] >= kPassageWords; }))
            likely << words[i].word;
    }
    const QStringList languages = session.Spelling().OtherLanguagesNow(likely);
    std::map<std::pair<QString, QString>, int> perPage;  // (page, language)
    TextMap<const UnknownWord*> byWord;
    for (const UnknownWord& w : words)
        byWord[w.word] = &w;
    for (qsizetype i = 0; i < likely.size(); ++i) {
        if (languages.value(i).isEmpty())
            continue;
        for (const QString& page : byWord[likely.at(i)]->pages)
            ++perPage[{page, languages.at(i)}];
    }
    TextMap<QString> languageOf;
    for (qsizetype i = 0; i < likely.size(); ++i) {
        if (languages.value(i).isEmpty())
            continue;
        for (const QString& page : byWord[likely.at(i)]->pages) {
            if (perPage[{page, languages.at(i)}] >= kPassageWords) {
                languageOf[likely.at(i)] = languages.at(i);
                break;
            }
        }
    }
    // Only the likely typos ever reach the language test: those are marked
    // here rather than the whole list grouped again.
    for (std::size_t i = 0; i < groups.size(); ++i) {
        if (!groups[i].LikelyTypo())
            continue;
        const auto it = languageOf.find(words[i].word);
        if (it != languageOf.end())
            groups[i] = InOtherLanguage(groups[i], it->second);
    }
    session.Spelling().DropPreparedEngines();
    return groups;
}

bool LoadSessionWordPages(CrawlSession& session, SiteWordPages& sitePages, SiteWordPages* textPages)
{
    // The crawl that made this project still holds what it stored: no need
    // to read it back.
    if (const std::shared_ptr<const SiteWordCounts> counts = session.CrawlWordCounts()) {
        CopySiteWordPages(counts->pages, sitePages);
        if (textPages)
            CopySiteWordPages(counts->textPages, *textPages);
        return true;
    }
    const bool stored = LoadSiteWordPages(session.Database(), sitePages);
    if (textPages)
        LoadSiteTextWordPages(session.Database(), *textPages);
    return stored;
}

bool LoadGroupedWords(CrawlSession& session, GroupedWords& grouped, QString* error, bool withPages)
{
    grouped = GroupedWords();
    // The pages tell a passage in another language from a lone slip.
    (void)withPages;
    if (!session.UnknownWords(grouped.words, error, true, &grouped.approved))
        return false;
    SiteWordPages sitePages, textPages;
    try {
        grouped.siteCounts = LoadSessionWordPages(session, sitePages, &textPages);
        grouped.repeatedWords = LoadRepeatedWords(session.Database());
    } catch (const DatabaseError& e) {
        if (error)
            *error = e.Text();
        return false;
    }
    // The two spellings need the site's words alone: found while the groups are made.
    std::future<std::vector<TwoSpellings>> twoSpellings =
        std::async(std::launch::async, [&sitePages] { return FindTwoSpellings(sitePages); });
    grouped.groups = GroupSessionWords(session, grouped.words, sitePages, textPages);
    grouped.twoSpellings = twoSpellings.get();
    return true;
}

}  // namespace lexicrawl
