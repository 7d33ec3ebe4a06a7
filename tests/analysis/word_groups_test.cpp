// The groups of unknown words: a table of words with what the site shows of
// them and the group and reason the evidence gives.
#include <gtest/gtest.h>

#include <QStringList>

#include "analysis/word_groups.h"
#include "platform/text_hash.h"
#include "qstring_printer.h"

using namespace lexicrawl;

namespace {

// A small dictionary: the words a documentation site writes most.
const TextSet& Dictionary()
{
    static const TextSet words = {"described", "the", "install", "package", "receive", "server",
                                  "Python",    "for", "Maths",   "config",  "confit", "sash", "and", "organize", "mallow",
                                  "lists",     "open",  "commits", "software"};
    return words;
}

struct Case {
    const char* word;
    qint64 pages;             // pages on which it is unknown
    WordGroup group;
    GroupReason reason;
    const char* correction;   // expected correction ("" for none)
    const char* reasonText;
};

}  // namespace

TEST(WordGroups, TableOfWordsWithTheirSiteCounts)
{
    SiteWordPages site = {{"described", 412}, {"the", 600}, {"The", 450}, {"install", 40}, {"package", 7},
                          {"server", 90},     {"Python", 120}, {"and", 580}, {"for", 500}, {"python", 3},
                          {"been", 200},      {"valgrind", 30}, {"vlgrind", 1}, {"stat", 7}, {"order", 300},
                          {"lists", 46},      {"open", 137},   {"commit", 200}, {"commits", 161},
                          {"gitk", 20},       {"git’s", 33},   {"descendents", 1}, {"diffstat", 17},
                          {"software", 21}};
    // The whole text, code included, of this prose crawl.
    // The whole text, code included, of this prose crawl: "the" and "The"
    // share pages, "install" is written in code too.
    const SiteWordPages text = {{"fstat", 4}, {"desribed", 1}, {"the", 610}, {"install", 52}};
    const Case cases[] = {
        {"desribed", 1, WordGroup::LikelyTypo, GroupReason::OneEdit, "described",
         "1 letter from 'described', on 412 pages of this site"},
        {"teh", 2, WordGroup::LikelyTypo, GroupReason::OneEdit, "the", "1 letter from 'the', on 610 pages of this site"},
        {"Teh", 1, WordGroup::LikelyTypo, GroupReason::OneEdit, "The", "1 letter from 'The', on 610 pages of this site"},
        // One of the site's own unknown words, written far more often, corrects a slip too.
        {"vlgrind", 1, WordGroup::LikelyTypo, GroupReason::OneEdit, "valgrind",
         "1 letter from 'valgrind', on 30 pages of this site"},
        // A correction the site never writes is more often a coincidence,
        // unless two neighbours are swapped.
        {"malloc", 1, WordGroup::SiteVocabulary, GroupReason::UnusedCorrection, "mallow",
         "1 letter from 'mallow', which this site never writes"},
        {"recieve", 1, WordGroup::LikelyTypo, GroupReason::OneEdit, "receive",
         "2 letters swapped in 'receive'"},
        {"Pyhton", 1, WordGroup::LikelyTypo, GroupReason::OneEdit, "Python",
         "1 letter from 'Python', on 123 pages of this site"},
        // Written on many pages: the site's own word, even one edit from a dictionary word.
        {"servers", 93, WordGroup::SiteVocabulary, GroupReason::ManyPages, "", "on 93 pages"},
        {"serer", 5, WordGroup::SiteVocabulary, GroupReason::ManyPages, "", "on 5 pages"},
        // ...unless the correction is written far more often.
        {"adn", 5, WordGroup::LikelyTypo, GroupReason::OneEdit, "and", "1 letter from 'and', on 580 pages of this site"},
        {"Kubernetes", 1, WordGroup::SiteVocabulary, GroupReason::Name, "", "a name"},
        {"Mathis", 1, WordGroup::SiteVocabulary, GroupReason::Name, "", "a name"},
        // Capitalised beside a word the site writes only in lower case.
        {"Bene", 1, WordGroup::SiteVocabulary, GroupReason::Name, "", "a name"},
        {"JGit", 1, WordGroup::SiteVocabulary, GroupReason::CodeLike, "", "code-like"},
        {"FIFOs", 1, WordGroup::SiteVocabulary, GroupReason::Abbreviation, "", "an abbreviation"},
        {"fstat", 1, WordGroup::SiteVocabulary, GroupReason::WrittenInCode, "", "written in code"},
        {"oder", 1, WordGroup::SiteVocabulary, GroupReason::OtherLanguage, "", "a word of German"},
        {"HTTPS", 30, WordGroup::SiteVocabulary, GroupReason::Abbreviation, "", "an abbreviation"},
        {"getValue", 1, WordGroup::SiteVocabulary, GroupReason::CodeLike, "", "code-like"},
        {"ipv6", 1, WordGroup::SiteVocabulary, GroupReason::Digits, "", "holds digits"},
        {"сервер", 1, WordGroup::SiteVocabulary, GroupReason::OtherAlphabet, "", "another alphabet"},
        {"colour", 1, WordGroup::SiteVocabulary, GroupReason::OtherSpelling, "", "British spelling"},
        // Short words have many neighbours: the site must write the correction.
        {"ssh", 1, WordGroup::SiteVocabulary, GroupReason::ShortWord, "", "a short word"},
        {"thei", 1, WordGroup::LikelyTypo, GroupReason::OneEdit, "the", "1 letter from 'the', on 610 pages of this site"},
        {"frobnicate", 1, WordGroup::SiteVocabulary, GroupReason::NoNearWord, "", "no dictionary word 1 letter away"},
        // A slip copied once (or one page under two addresses) beside a
        // correction on ten times as many pages; a letter before a word the
        // site writes is a name of its own ("popen", "fread").
        {"lixts", 2, WordGroup::LikelyTypo, GroupReason::OneEdit, "lists",
         "1 letter from 'lists', on 46 pages of this site"},
        {"popen", 2, WordGroup::SiteVocabulary, GroupReason::ManyPages, "", "on 2 pages"},
        // An ending after an apostrophe is a form of the word before it, not
        // a slip of the word one edit away.
        {"commit's", 1, WordGroup::SiteVocabulary, GroupReason::FormOfWord, "commit", "a form of 'commit'"},
        {"gitk’s", 1, WordGroup::SiteVocabulary, GroupReason::FormOfWord, "gitk", "a form of 'gitk'"},
        // The other number of a word of the site's own is no slip; that of a
        // dictionary word is.
        {"diffstats", 1, WordGroup::SiteVocabulary, GroupReason::FormOfWord, "diffstat", "a form of 'diffstat'"},
        {"softwares", 1, WordGroup::LikelyTypo, GroupReason::OneEdit, "software",
         "1 letter from 'software', on 21 pages of this site"},
        // The site's word in the other region's spelling corrects a slip.
        {"descendents", 1, WordGroup::SiteVocabulary, GroupReason::OtherSpelling, "", "British spelling"},
        {"escendents", 1, WordGroup::LikelyTypo, GroupReason::OneEdit, "descendents",
         "1 letter from 'descendents', on 1 page of this site"},
        // Written on fewer pages in prose than in the whole text: the prose's count.
        {"instal", 1, WordGroup::LikelyTypo, GroupReason::OneEdit, "install",
         "1 letter from 'install', on 40 pages of this site"},
    };
    std::vector<UnknownWord> words;
    for (const Case& c : cases)
        words.push_back(UnknownWord{QString::fromUtf8(c.word), c.pages, {}, {QString::fromUtf8(c.word)}});

    WordEvidence evidence;
    evidence.sitePages = &site;
    evidence.dictionaryKnows = [](QStringView form) { return Dictionary().contains(form); };
    evidence.otherSpellingKnows = [](const QString& word) {
        return word == QStringLiteral("colour") || word == QStringLiteral("descendents");
    };
    evidence.otherSpellingName = QStringLiteral("British");
    evidence.textPages = &text;
    evidence.otherLanguageOf = [](const QString& word) {
        return word == QStringLiteral("oder") ? QStringLiteral("German") : QString();
    };
    const std::vector<WordGrouping> groups = GroupWords(words, evidence);
    ASSERT_EQ(groups.size(), std::size(cases));
    for (std::size_t i = 0; i < groups.size(); ++i) {
        const Case& c = cases[i];
        SCOPED_TRACE(c.word);
        EXPECT_EQ(groups[i].group, c.group);
        EXPECT_EQ(groups[i].reason, c.reason);
        EXPECT_EQ(groups[i].correction, QString::fromUtf8(c.correction));
        EXPECT_EQ(groups[i].ReasonText(), QString::fromUtf8(c.reasonText));
    }

    // Likely typos first, the one page's slip of the word the site writes
    // most at the top; every word is still listed.
    const std::vector<std::size_t> order = GroupedOrder(groups);
    ASSERT_EQ(order.size(), words.size());
    EXPECT_EQ(words[order[0]].word, QStringLiteral("Teh"));
    for (std::size_t i = 0; i < order.size(); ++i) {
        if (!groups[order[i]].LikelyTypo()) {
            for (std::size_t j = i; j < order.size(); ++j)
                EXPECT_FALSE(groups[order[j]].LikelyTypo()) << words[order[j]].word.toStdString();
            break;
        }
    }
}

TEST(WordGroups, WithoutDictionaryTheSiteWordsServe)
{
    // An opened project with no dictionary loaded still finds the word the
    // site writes, and a word of the list is never another's correction.
    const SiteWordPages site = {{"install", 40}, {"instal", 1}, {"isntall", 1}};
    const std::vector<UnknownWord> words = {{"isntall", 1, {}, {}}, {"instal", 1, {}, {}}};
    WordEvidence evidence;
    evidence.sitePages = &site;
    const std::vector<WordGrouping> groups = GroupWords(words, evidence);
    EXPECT_EQ(groups[0].correction, QStringLiteral("install"));
    EXPECT_EQ(groups[1].correction, QStringLiteral("install"));
    EXPECT_TRUE(groups[0].LikelyTypo());
}

TEST(WordGroups, OneEditSpellings)
{
    const QStringList edits = OneEditSpellings(QStringLiteral("ab"));
    for (const char* expected : {"ba", "a", "b", "xb", "ax", "cab", "abc", "aab"})
        EXPECT_TRUE(edits.contains(QString::fromUtf8(expected))) << expected;
    EXPECT_FALSE(edits.contains(QStringLiteral("ab")));
    QStringList distinct = edits;
    EXPECT_EQ(distinct.removeDuplicates(), 0);
    // The order decides between corrections the site writes equally often:
    // swaps, deletions, replacements, insertions. "aab" and "abb" come from
    // two insertions each and are listed once.
    EXPECT_EQ(edits.mid(0, 5), (QStringList{"ba", "b", "a", "bb", "cb"}));
    EXPECT_EQ(edits.size(), 1 + 2 + 2 * 25 + 3 * 26 - 2);
    EXPECT_EQ(edits.last(), QStringLiteral("abz"));
    // A letter of the word outside a-z is tried at every place too.
    const QStringList accented = OneEditSpellings(QStringLiteral("caf\u00e9"));
    EXPECT_TRUE(accented.contains(QStringLiteral("\u00e9af\u00e9")));
    EXPECT_TRUE(accented.contains(QStringLiteral("caf\u00e9\u00e9")));
    EXPECT_EQ(OneEditSpellings(QStringLiteral("a")).size(), 25 + 2 * 26 - 1);  // "aa" twice
}

TEST(WordGroups, TheCorrectionAmongSeveral)
{
    // The dictionary word one edit away that the site writes on most pages;
    // among equals the first edit; none written: the first the dictionary knows.
    static const TextSet dictionary = {"ship", "shift", "Python"};
    struct Row {
        const char* word;
        SiteWordPages site;
        std::vector<const char*> otherUnknown;  // other words of the list
        const char* correction;
        qint64 correctionPages;
    };
    const Row rows[] = {
        {"shipt", {{"ship", 50}, {"shift", 50}}, {}, "ship", 50},
        {"shipt", {{"ship", 50}, {"shift", 51}}, {}, "shift", 51},
        {"shipt", {{"Ship", 30}, {"ship", 30}, {"shift", 51}}, {}, "ship", 60},
        {"shipt", {}, {}, "ship", 0},
        // Known to the dictionary only with its capital.
        {"pythn", {}, {}, "python", 0},
        // A rare word of the site's own list corrects nothing; one it writes
        // far more often than the slip does.
        {"shipt", {{"shipx", 2}}, {"shipx"}, "ship", 0},
        {"shipt", {{"shipx", 40}, {"shift", 39}}, {"shipx"}, "shipx", 40},
        // A word of the site that is not on the list is a word.
        {"shipt", {{"shipd", 5}, {"ship", 4}}, {}, "shipd", 5},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(std::string(r.word) + " " + r.correction);
        std::vector<UnknownWord> words = {{QString::fromUtf8(r.word), 1, {}, {QString::fromUtf8(r.word)}}};
        for (const char* other : r.otherUnknown)
            words.push_back({QString::fromUtf8(other), 1, {}, {QString::fromUtf8(other)}});
        WordEvidence evidence;
        evidence.sitePages = &r.site;
        evidence.dictionaryKnows = [](QStringView form) { return dictionary.contains(form); };
        const WordGrouping g = GroupWords(words, evidence).front();
        EXPECT_EQ(g.correction, QString::fromUtf8(r.correction));
        EXPECT_EQ(g.correctionPages, r.correctionPages);
    }
}
