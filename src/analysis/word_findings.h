#pragma once
// Findings beside the unknown words: words written twice in a row on a page
// (kept with the crawl in a table of its own, REPEATEDWORDS, made when
// first needed), and one word spelled two ways on the same site
// (organise/organize, e-mail/email, colour/color), read from the pages per
// word the crawl stored.
//
// Thread-safety: stateless; the database serialises the statements.
#include <QString>
#include <QStringList>

#include <vector>

#include "analysis/repeated_words.h"
#include "analysis/site_words.h"

namespace lexicrawl {

class ProjectDatabase;

struct RepeatedWordFinding {
    QString url;
    QString word;
    QString context;
};

// The spellings of one word, the one most pages use first.
struct TwoSpellings {
    QStringList spellings;       // lower-cased
    std::vector<qint64> pages;   // pages that use each
};

// Writes a page's repeated words (creating the table when needed); throws DatabaseError.
void WriteRepeatedWords(ProjectDatabase& database, const QString& url, const std::vector<RepeatedWord>& repeats);
// Every stored repeated word, in row order; none without the table. Throws DatabaseError.
std::vector<RepeatedWordFinding> LoadRepeatedWords(ProjectDatabase& database);

// Words of the site that are one word spelled two ways: a hyphen or not,
// -ise/-ize, -yse/-yze, -our/-or, -tre/-ter, -elled/-eled, -ogue/-og. Most
// pages first.
std::vector<TwoSpellings> FindTwoSpellings(const SiteWordPages& sitePages);

// The one spelling the forms of a word share ("organize" for "organise").
QString SpellingKey(const QString& lowerWord);

}  // namespace lexicrawl
