// The candidate steps the suggestion engine and the replay share: where a
// REP entry applies, and the swaps in the library's order.
#include <gtest/gtest.h>

#include <QStringList>

#include "spelling/affix_file.h"
#include "spelling/candidate_steps.h"

using namespace lexicrawl;

namespace {

QStringList Replaced(const QString& word, const QByteArray& repLines)
{
    const AffixFile affix("SET UTF-8\n" + repLines);
    QStringList out;
    ReplacementPlaces(word, affix.rep, [&](qsizetype at, const RepEntry& e) {
        out << word.left(at) + e.with + word.mid(at + e.pattern.size());
        return true;
    });
    return out;
}

TEST(CandidateStepsTest, ReplacementsApplyWhereTheirAnchorsAllow)
{
    struct Case {
        const char* word;
        QByteArray rep;
        QStringList expected;
    };
    const Case cases[] = {
        {"fonfon", "REP 1\nREP f ph\n", {"phonfon", "fonphon"}},
        {"fonfon", "REP 1\nREP ^f ph\n", {"phonfon"}},
        {"fonfon", "REP 1\nREP n$ m\n", {"fonfom"}},
        {"fon", "REP 2\nREP ^fon$ phone\nREP ^fo$ x\n", {"phone"}},
        {"alot", "REP 1\nREP alot a_lot\n", {"a lot"}},
        {"teh", "REP 2\nREP eh he\nREP t_ z\n", {"the"}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Replaced(QString::fromLatin1(c.word), c.rep), c.expected) << c.word << " " << c.rep.constData();
}

TEST(CandidateStepsTest, SwapsInTheLibrarysOrder)
{
    QStringList near, distant;
    SwapCandidates(QStringLiteral("abcde"), [&](const QString& c) { near << c; }, [](qsizetype) { return true; });
    EXPECT_EQ(near, QStringList({"bacde", "acbde", "abdce", "abced", "baced", "acbed"}));
    // The engine's filter leaves swaps out, and the other candidates as they were.
    near.clear();
    SwapCandidates(QStringLiteral("abcd"), [&](const QString& c) { near << c; }, [](qsizetype i) { return i != 1; });
    EXPECT_EQ(near, QStringList({"bacd", "abdc", "badc"}));

    const std::u16string word = u"abcdef";
    std::vector<std::u16string> far;
    int rows = 0;
    DistantSwapCandidates(
        word, [&](const std::u16string& c) { far.push_back(c); }, [](std::size_t, std::size_t) { return true; },
        [&] { return ++rows <= 2; });
    const std::vector<std::u16string> expected = {u"cbadef", u"dbcaef", u"ebcdaf", u"adcbef", u"aecdbf", u"afcdeb"};
    EXPECT_EQ(far, expected);
}

}  // namespace
