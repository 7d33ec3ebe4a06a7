#include <gtest/gtest.h>

#include "test_printers.h"

#include "crawl/wildcard_mask.h"

using namespace lexicrawl;

namespace {

TEST(CrawlWildcardMask, MatchesTheWholeText)
{
    const struct {
        const char16_t* mask;
        const char16_t* text;
        bool matches;
    } cases[] = {
        {u"*/private/*", u"http://h/private/a.html", true},
        {u"*/private/*", u"http://h/public/a.html", false},
        {u"*/PRIVATE/*", u"http://h/private/", true},  // ASCII letters ignore case
        {u"*.pdf", u"http://h/doc.pdf", true},
        {u"*.pdf", u"http://h/doc.pdf?x", false},  // anchored at both ends
        {u"http://h/?", u"http://h/a", true},
        {u"http://h/?", u"http://h/", false},
        {u"http://h/?", u"http://h/ab", false},
        {u"*?", u"", false},
        {u"*?", u"a", true},
        {u"*", u"", true},
        {u"", u"", true},  // an empty mask matches only an empty link
        {u"", u"x", false},
        {u"*page[0-9]*", u"http://h/page7.html", true},
        {u"*page[0-9]*", u"http://h/pagex.html", false},
        {u"*page[!0-9]*", u"http://h/pagex.html", true},
        {u"*[a-c]", u"http://h/B", true},
        {u"*[xyz]", u"http://h/Y", true},
        {u"a*b*c", u"aXbYbZc", true},
        {u"a*b*c", u"aXbYbZ", false},
        {u"**x", u"x", true},
        {u"\u00e9*", u"\u00c9t\u00e9", false},  // only A..Z fold
    };
    for (const auto& c : cases) {
        const QString mask = QString::fromUtf16(c.mask), text = QString::fromUtf16(c.text);
        EXPECT_EQ(WildcardMask(mask).Matches(text), c.matches)
            << "mask '" << mask.toStdString() << "' text '" << text.toStdString() << "'";
    }
}

TEST(CrawlWildcardMask, InvalidMasksReportPatternAndPosition)
{
    const QString thirtyStars = u"a*"_qs.repeated(30);
    const struct {
        QString mask;
        QString text;
    } cases[] = {
        {u"*[abc"_qs, u"'*[abc' is an invalid mask at (6)"_qs},   // unclosed set: at the end
        {u"*[]*"_qs, u"'*[]*' is an invalid mask at (3)"_qs},     // empty set: at the "]"
        {u"*[!]"_qs, u"'*[!]' is an invalid mask at (4)"_qs},
        {u"x[-a]"_qs, u"'x[-a]' is an invalid mask at (3)"_qs},   // "-" first in the set
        {u"[!-a]"_qs, u"'[!-a]' is an invalid mask at (3)"_qs},
        {thirtyStars + u"b*c"_qs, u"'"_qs + thirtyStars + u"b*c' is an invalid mask at (63)"_qs},
        {thirtyStars + u"b*"_qs, u"'"_qs + thirtyStars + u"b*' is an invalid mask at (63)"_qs},  // at the end
    };
    for (const auto& c : cases) {
        try {
            WildcardMask mask(c.mask);
            ADD_FAILURE() << "accepted " << c.mask.toStdString();
        } catch (const MaskError& e) {
            EXPECT_EQ(e.Text(), c.text);
        }
    }
    EXPECT_NO_THROW(WildcardMask{thirtyStars});
    EXPECT_NO_THROW(WildcardMask{u"***a"_qs});  // a run of stars counts once
}

}  // namespace
