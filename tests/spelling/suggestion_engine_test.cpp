// The suggestion engine against the spelling engine's own suggest: the same
// first suggestion, on a tiny fixture dictionary and, where the build ships
// it, on the English one with the kind of words a documentation site has.
#include <gtest/gtest.h>

#include <QFile>

#include "spelling/dictionary_forms.h"
#include "spelling/hunspell_engine.h"
#include "spelling/suggestion_engine.h"
#include "spelling_test_support.h"

using namespace lexicrawl;

namespace {

QByteArray Fixture(const char* name)
{
    return test::ReadFile(QStringLiteral(LEXICRAWL_TEST_DATA "/spelling/") + QString::fromLatin1(name));
}

// How many of the words get the spelling engine's first suggestion first;
// words without one are left out. Lists the others in misses.
int SameFirst(const QByteArray& affix, const QByteArray& words, const QStringList& list, int* withSuggestion,
              QStringList* misses)
{
    const auto engine = HunspellEngine::Init(affix, words);
    const auto ours = SuggestionEngine::Build(affix, words);
    int same = 0;
    *withSuggestion = 0;
    for (const QString& word : list) {
        const QStringList theirs = engine->Suggest(word);
        if (theirs.isEmpty())
            continue;
        ++*withSuggestion;
        const QStringList mine = ours->Suggest(word);
        if (mine.value(0) == theirs.first())
            ++same;
        else
            *misses << word + QStringLiteral(": ") + theirs.first() + QStringLiteral(" / ") + mine.value(0);
    }
    return same;
}

}  // namespace

TEST(SuggestionEngine, FirstSuggestionsAreTheSpellingEngines)
{
    QStringList words;
    for (const QByteArray& line : Fixture("tiny.wrong").split('\n'))
        if (!line.trimmed().isEmpty())
            words << QString::fromUtf8(line.trimmed());
    words << QStringLiteral("teh") << QStringLiteral("walkeds") << QStringLiteral("bakign") << QStringLiteral("houes")
          << QStringLiteral("applebanana") << QStringLiteral("zzzz");
    int withSuggestion = 0;
    QStringList misses;
    const int same = SameFirst(Fixture("tiny.aff"), Fixture("tiny.dic"), words, &withSuggestion, &misses);
    EXPECT_GT(withSuggestion, 10);
    EXPECT_EQ(same, withSuggestion) << misses.join(", ").toStdString();
}

TEST(SuggestionEngine, SuggestsAffixedFormsAndWordPairsButNeverTheWordItself)
{
    const auto engine = SuggestionEngine::Build(Fixture("tiny.aff"), Fixture("tiny.dic"));
    ASSERT_TRUE(engine);
    EXPECT_EQ(engine->Suggest(QStringLiteral("walkedd")).value(0), QStringLiteral("walked"));
    EXPECT_TRUE(engine->Suggest(QStringLiteral("applehouse")).contains(QStringLiteral("apple house")));
    EXPECT_TRUE(engine->Accepts(QStringLiteral("bakes")));
    EXPECT_FALSE(engine->Accepts(QStringLiteral("cherrys")));  // no S flag
    EXPECT_LE(engine->Suggest(QStringLiteral("banan"), 2).size(), 2);
    const std::vector<QStringList> all = engine->SuggestAll({"aple", "lovly", "teh"}, 5, 2);
    ASSERT_EQ(all.size(), 3u);
    EXPECT_EQ(all[0].value(0), QStringLiteral("apple"));
    EXPECT_EQ(all[1].value(0), QStringLiteral("lovely"));
    EXPECT_FALSE(SuggestionEngine::Build(QByteArray(), Fixture("tiny.dic")));
}

// Typing slips, words run together, names and identifiers, as the unknown
// words of a software manual are.
TEST(SuggestionEngine, AgreesWithTheSpellingEngineOnEnglish)
{
    const QString aff = QStringLiteral("/usr/share/hunspell/en_US.aff");
    if (!QFile::exists(aff))
        GTEST_SKIP() << "hunspell-en-us is not installed";
    const QStringList words = {
        "teh",        "recieve",     "seperate",   "occured",     "definately",  "untill",      "accomodate",
        "enviroment", "arguement",   "paramter",   "configurtion", "initialise",  "dockerfile",  "namespace",
        "webpack",    "localhost",   "middleware", "stdout",      "async",       "oauth",       "yaml",
        "npm",        "nginx",       "kubectl",    "postgresql",  "jquery",      "backend",     "frontend",
        "repo",       "todo",        "href",       "getuserbyid", "setconfig",   "jsonparser",  "retrycount",
        "timeoutms",  "webhooks",    "cronjob",    "cachekey",    "authtoken",   "buildsys",    "loglevel"};
    int withSuggestion = 0;
    QStringList misses;
    const int same = SameFirst(test::ReadFile(aff), test::ReadFile(QStringLiteral("/usr/share/hunspell/en_US.dic")),
                               words, &withSuggestion, &misses);
    EXPECT_GT(withSuggestion, 35);
    // The spelling engine cuts its search short on a busy machine, so allow a few.
    EXPECT_GE(same * 10, withSuggestion * 9) << misses.join(", ").toStdString();
}

// The set of forms alone answers as the whole engine does: the grouping asks
// it instead of building the engine. Flags that keep forms out (no-suggest,
// forbidden, need-affix, compound-only), affixes on affixes, prefixes with
// suffixes and the capitalised twin of a mixed-case word, then English.
TEST(DictionaryForms, AcceptsWhatTheSuggestionEngineAccepts)
{
    const QByteArray affix =
        "SET UTF-8\n"
        "NOSUGGEST N\nFORBIDDENWORD F\nNEEDAFFIX X\nONLYINCOMPOUND C\nCOMPOUNDFLAG K\n"
        "PFX U Y 1\nPFX U 0 un .\n"
        "SFX S Y 1\nSFX S 0 s .\n"
        "SFX L Y 1\nSFX L 0 ly/S .\n"
        "SFX D Y 2\nSFX D 0 ed [^e]\nSFX D 0 d e\n";
    const QByteArray words = "9\nkind/UL\nrude/N\nbad/F\nwalk/DSX\nfoo/C\ntest/K\nbake/UDS\nMcDonald/S\nNASA/S\n";
    QStringList asked = {"kind",  "unkind", "kindly",  "kindlys",  "unkindly", "rude",      "rudes", "bad",
                         "bads",  "walk",   "walked",  "walks",    "foo",      "test",      "bake",  "unbake",
                         "baked", "unbaked", "unbakes", "McDonald", "Mcdonald", "McDonalds", "NASA", "NASAs",
                         "Nasa",  "kinds",  "zzz",     ""};
    const auto engine = SuggestionEngine::Build(affix, words);
    const auto forms = DictionaryForms::Build(affix, words);
    ASSERT_TRUE(engine && forms);
    for (const QString& word : asked)
        EXPECT_EQ(forms->Accepts(word), engine->Accepts(word)) << word.toStdString();
    EXPECT_FALSE(DictionaryForms::Build(QByteArray(), words));

    const QString aff = QStringLiteral("/usr/share/hunspell/en_US.aff");
    if (!QFile::exists(aff))
        GTEST_SKIP() << "hunspell-en-us is not installed";
    const QByteArray enAffix = test::ReadFile(aff);
    const QByteArray enWords = test::ReadFile(QStringLiteral("/usr/share/hunspell/en_US.dic"));
    const auto enEngine = SuggestionEngine::Build(enAffix, enWords);
    const auto enForms = DictionaryForms::Build(enAffix, enWords);
    ASSERT_TRUE(enEngine && enForms);
    // Every 7th root with endings and beginnings that may or may not be its forms.
    const QList<QByteArray> lines = enWords.split('\n');
    int accepted = 0, checked = 0;
    for (qsizetype i = 1; i < lines.size(); i += 7) {
        const QString root = QString::fromUtf8(lines[i].split('/').first().trimmed());
        for (const QString& word : {root, root + "s", root + "es", root + "ed", root + "ing", root + "ly",
                                    root + "'s", "un" + root, "re" + root, root.toUpper(), root.left(root.size() - 1)}) {
            const bool accepts = enEngine->Accepts(word);
            ASSERT_EQ(enForms->Accepts(word), accepts) << word.toStdString();
            accepted += accepts ? 1 : 0;
            ++checked;
        }
    }
    EXPECT_GT(accepted, checked / 10);  // real forms, not only misses
}
