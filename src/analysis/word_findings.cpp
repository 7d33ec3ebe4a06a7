#include "analysis/word_findings.h"

#include <algorithm>
#include <map>
#include <vector>

#include "analysis/word_context.h"
#include "store/project_database.h"
#include "store/sql_quote.h"

namespace lexicrawl {

namespace {

struct Ending {
    const char16_t* other;  // the ending as the other spelling writes it
    const char16_t* key;
    int minLength;          // shorter words are left alone ("four" is not "for")
};

// Each ending rewritten to the one spelling; the first that fits applies.
const Ending kEndings[] = {
    {u"isations", u"izations", 8}, {u"isation", u"ization", 7}, {u"ising", u"izing", 6},
    {u"ised", u"ized", 5},         {u"ises", u"izes", 5},       {u"ise", u"ize", 5},
    {u"ysing", u"yzing", 6},       {u"ysed", u"yzed", 6},       {u"yse", u"yze", 6},
    {u"ours", u"ors", 7},          {u"oured", u"ored", 7},      {u"ouring", u"oring", 8},
    {u"our", u"or", 6},            {u"tres", u"ters", 6},       {u"tre", u"ter", 5},
    {u"elled", u"eled", 7},        {u"elling", u"eling", 8},    {u"eller", u"eler", 7},
    {u"ogues", u"ogs", 8},         {u"ogue", u"og", 7},
};

}  // namespace

QString SpellingKey(const QString& lowerWord)
{
    // Most words have neither a hyphen nor an ending of the list: they are
    // their own key, with no copy made.
    QString key = lowerWord;
    if (key.contains(u'-'))
        key.remove(u'-');
    for (const Ending& e : kEndings) {
        const QStringView other(e.other);
        if (key.size() >= e.minLength && key.endsWith(other)) {
            key.chop(other.size());
            key += QStringView(e.key);
            break;
        }
    }
    return key;
}

void WriteRepeatedWords(ProjectDatabase& database, const QString& url, const std::vector<RepeatedWord>& repeats)
{
    if (repeats.empty())
        return;
    Transaction transaction(database);
    database.Execute(QStringLiteral("CREATE TABLE IF NOT EXISTS REPEATEDWORDS (URL TEXT, WORD TEXT, CONTEXT TEXT);"));
    for (const RepeatedWord& r : repeats)
        database.Execute(
            BoundStatement{"insert into REPEATEDWORDS (URL,WORD,CONTEXT) values (?,?,?);", {url, r.word, r.context}});
    transaction.Commit();
}

std::vector<RepeatedWordFinding> LoadRepeatedWords(ProjectDatabase& database)
{
    std::vector<RepeatedWordFinding> found;
    if (!HasTable(database, QStringLiteral("REPEATEDWORDS")))
        return found;
    database.Query(QStringLiteral("SELECT URL, WORD, CONTEXT FROM REPEATEDWORDS ORDER BY rowid;"),
                   [&found](const Row& row) {
                       found.push_back({row.Value(QStringLiteral("URL")), row.Value(QStringLiteral("WORD")),
                                        row.Value(QStringLiteral("CONTEXT"))});
                   });
    return found;
}

std::vector<TwoSpellings> FindTwoSpellings(const SiteWordPages& sitePages)
{
    // Two forms meet only where a rule rewrote one of them (or it dropped a
    // hyphen): those keys first, then every word whose key is one of them.
    struct Form {
        QString lower, key;
        qint64 pages;
    };
    std::vector<Form> forms;
    forms.reserve(sitePages.size());
    TextSet rewritten;
    for (const auto& [word, pages] : sitePages) {
        if (word.size() < 4)
            continue;
        QString lower = word.toLower();
        QString key = SpellingKey(lower);
        if (key != lower)
            rewritten.insert(key);
        forms.push_back({std::move(lower), std::move(key), pages});
    }
    std::map<QString, std::map<QString, qint64>> formsByKey;
    if (!rewritten.empty()) {
        for (const Form& form : forms) {
            if (rewritten.contains(form.key))
                formsByKey[form.key][form.lower] += form.pages;
        }
    }
    std::map<QString, std::vector<std::pair<qint64, QString>>> byKey;
    for (const auto& [key, forms] : formsByKey) {
        for (const auto& [lower, pages] : forms)
            byKey[key].push_back({pages, lower});
    }
    std::vector<TwoSpellings> found;
    for (auto& [key, forms] : byKey) {
        if (forms.size() < 2)
            continue;
        std::sort(forms.begin(), forms.end(), [](const auto& a, const auto& b) {
            return a.first != b.first ? a.first > b.first : a.second < b.second;
        });
        TwoSpellings t;
        for (const auto& [pages, word] : forms) {
            t.spellings << word;
            t.pages.push_back(pages);
        }
        found.push_back(std::move(t));
    }
    std::sort(found.begin(), found.end(), [](const TwoSpellings& a, const TwoSpellings& b) {
        qint64 x = 0, y = 0;
        for (qint64 p : a.pages)
            x += p;
        for (qint64 p : b.pages)
            y += p;
        return x != y ? x > y : a.spellings.first() < b.spellings.first();
    });
    return found;
}

}  // namespace lexicrawl
