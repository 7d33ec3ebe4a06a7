// Findings beside the unknown words: words written twice in a row as a
// reader reads them, and one word spelled two ways on one site.
#include <gtest/gtest.h>

#include "analysis/page_record.h"
#include "analysis/word_findings.h"
#include "qstring_printer.h"

using namespace lexicrawl;

namespace {

QStringList RepeatedIn(const char* html)
{
    QStringList words;
    for (const RepeatedWord& r : ExtractPageRecord(QString::fromUtf8(html)).repeatedWords)
        words << r.word;
    return words;
}

}  // namespace

TEST(RepeatedWords, AcrossInlineTagsAndLineBreaksButNotAcrossBlocks)
{
    const struct {
        const char* html;
        QStringList expected;
    } cases[] = {
        {"<p>Read the the manual.</p>", {"the"}},
        {"<p>Read <b>the</b> <i>the</i> manual.</p>", {"the"}},           // across inline tags
        {"<p>Send it to<br>to the server.</p>", {"to"}},                   // across <br>
        {"<p>Send it to\nto the server.</p>", {"to"}},                     // across a source line
        {"<p>The The manual.</p>", {"The"}},                               // case does not matter
        {"<p>the the the end</p>", {"the"}},                               // one finding for three
        {"<h2>Setup</h2><p>Setup is quick.</p>", {}},                      // a heading, then a paragraph
        {"<li>install</li><li>install</li>", {}},                          // two list items
        {"<p>Run it. Run it again.</p>", {}},
        {"<p>Use this, this one.</p>", {}},                                // a comma between
        {"<p>Type <code>echo echo</code> now.</p>", {}},                   // code is not prose
        {"<p>Type <code>ls</code> ls twice.</p>", {}},                     // nor does it join prose
        {"<p>Version 2a a release.</p>", {}},                              // a token with digits
    };
    for (const auto& c : cases)
        EXPECT_EQ(RepeatedIn(c.html), c.expected) << c.html;

    const std::vector<RepeatedWord> found =
        ExtractPageRecord(QStringLiteral("<p>First read the\nthe manual carefully.</p>")).repeatedWords;
    ASSERT_EQ(found.size(), 1u);
    EXPECT_EQ(found[0].context, QStringLiteral("First read the the manual carefully."));
}

TEST(TwoSpellings, OneWordSpelledTwoWaysOnOneSite)
{
    const SiteWordPages site = {{"organise", 3}, {"organize", 40}, {"e-mail", 2}, {"email", 9}, {"Colour", 1},
                                {"color", 12},   {"four", 50},     {"for", 500},  {"travelled", 1},
                                {"traveled", 4}, {"filled", 3},    {"filed", 2},  {"catalogue", 1}, {"catalog", 6}};
    std::vector<QStringList> found;
    for (const TwoSpellings& t : FindTwoSpellings(site))
        found.push_back(t.spellings);
    const std::vector<QStringList> expected = {
        {"organize", "organise"}, {"color", "colour"}, {"email", "e-mail"}, {"catalog", "catalogue"},
        {"traveled", "travelled"}};
    EXPECT_EQ(found, expected);
}
