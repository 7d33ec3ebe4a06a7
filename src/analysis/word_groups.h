#pragma once
// Sorts the unknown words of a crawl into two groups, "Likely typos" and
// "Site vocabulary", each word with the reason the evidence gives and, for a
// likely typo, the one correction it points at. The evidence is what the
// site itself shows: a dictionary word one edit away (a letter inserted,
// left out, replaced, or two neighbours swapped) and how many pages use
// that word, how many pages use the unknown word, its shape (a name, an
// abbreviation, a code-like token, digits, another alphabet) and whether the
// dictionary of the language's other region knows it. A group never changes
// a word's verdict and never hides a word: it only orders the list.
//
// Thread-safety: GroupWords is stateless; it calls the evidence's functions
// from several threads at once, so they must allow that.
#include <QString>
#include <QStringList>

#include <functional>
#include <vector>

#include "analysis/site_words.h"
#include "analysis/unknown_word_list.h"

namespace lexicrawl {

enum class WordGroup { LikelyTypo, SiteVocabulary };

enum class GroupReason {
    OneEdit,           // typo: one edit from a dictionary word
    ManyPages,         // on enough pages to be the site's own word
    Name,              // capitalised, and no word one edit away that the site writes
    Abbreviation,      // all capitals
    CodeLike,          // underscores, dots, capitals inside the word
    Digits,
    OtherAlphabet,     // letters of another script than the Latin one
    OtherSpelling,     // the other region's dictionary knows it
    UnusedCorrection,  // one edit from a word this site never writes (or, for a short word, rarely)
    ShortWord,         // two or three letters, and not two neighbours swapped
    FormOfWord,        // "commit's" of a known or site word; "mallocs" of a site word no dictionary knows
    WrittenInCode,     // the site writes it outside its prose too (code, commands)
    OtherLanguage,     // a dictionary of another language knows it
    NoNearWord,        // no dictionary word one edit away
};

struct WordGrouping {
    WordGroup group = WordGroup::SiteVocabulary;
    GroupReason reason = GroupReason::NoNearWord;
    QString correction;          // the likely typo's correction (also kept for UnusedCorrection; FormOfWord: the word)
    qint64 correctionPages = 0;  // pages of the site that use the correction
    qint64 pages = 0;            // pages on which the word itself was found unknown
    QString spelling;            // OtherSpelling: "British", "American", or a language name; OtherLanguage: its name
    double likelihood = 0;       // higher first within the likely typos

    bool LikelyTypo() const { return group == WordGroup::LikelyTypo; }
    // "1 letter from 'described', on 412 pages of this site", "on 93 pages",
    // "a name", "British spelling": through the translation lookup.
    QString ReasonText() const;
};

// "Likely typos", "Site vocabulary" (translated).
QString WordGroupName(WordGroup group);
// "likely typo", "vocabulary": the group as the exports write it (not translated).
QString WordGroupKey(WordGroup group);

struct WordEvidence {
    // Whether the chosen dictionary knows the form as written; without it
    // only the words the site uses and the list does not hold count as words.
    std::function<bool(QStringView form)> dictionaryKnows;
    // Whether the dictionary of the language's other region knows the word
    // (null when there is none), and what its spelling is called.
    std::function<bool(const QString& word)> otherSpellingKnows;
    QString otherSpellingName;
    // Pages of the site per word as written, known words included.
    const SiteWordPages* sitePages = nullptr;
    // A prose crawl's pages per lower-cased word of the whole text, code
    // included (null or empty: not known).
    const SiteWordPages* textPages = nullptr;
    // The language whose dictionary knows a word, else empty (null: not asked).
    std::function<QString(const QString& word)> otherLanguageOf;
};

// A likely typo that is a word of another language's passage: site
// vocabulary, as GroupWords makes it when otherLanguageOf names the language.
WordGrouping InOtherLanguage(WordGrouping g, const QString& language);

// One grouping per word, in the order of words.
std::vector<WordGrouping> GroupWords(const std::vector<UnknownWord>& words, const WordEvidence& evidence);

// The order in which a grouped list shows its words: the likely typos, most
// likely first, then the vocabulary in the list's order.
std::vector<std::size_t> GroupedOrder(const std::vector<WordGrouping>& groups);

// The one-edit spellings of a word (neighbour swaps, deletions, then
// replacements and insertions of a letter of a-z or of the word itself),
// each once, not the word itself.
QStringList OneEditSpellings(const QString& word);

}  // namespace lexicrawl
