#include <gtest/gtest.h>

#include <QFile>
#include <QLocale>

#include "analysis/page_facts.h"
#include "analysis/parsed_page.h"
#include "analysis/readable_text.h"
#include "platform/text.h"
#include "qstring_printer.h"

using namespace lexicrawl;

namespace {

QString ReadFixture(const QString& name)
{
    QFile file(QStringLiteral(LEXICRAWL_TEST_DATA "/analysis/") + name);
    if (!file.open(QIODevice::ReadOnly))
        return QString();
    return QString::fromUtf8(file.readAll());
}

// Expected texts are stored with LF line ends, one final LF added.
QString ExpectedText(const QString& name)
{
    QString text = ReadFixture(name);
    text.chop(1);
    return text.replace(QLatin1Char('\n'), QLatin1String("\r\n"));
}

struct PageCase {
    const char* name;
    const char* titleText;
    const char* documentTitle;
    const char* description;
    const char* h1;
    const char* h2;
};

class FixturePages : public ::testing::TestWithParam<PageCase> {
protected:
    void SetUp() override { QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates)); }
    void TearDown() override { QLocale::setDefault(QLocale::system()); }
};

}  // namespace

TEST_P(FixturePages, GiveTheirFactsTextAndWords)
{
    const PageCase& c = GetParam();
    const QString name = QString::fromLatin1(c.name);
    const QString source = ReadFixture(name + ".html");
    ASSERT_FALSE(source.isEmpty()) << c.name;

    const ParsedPage page(source);
    EXPECT_EQ(page.TitleText(), QString::fromUtf8(c.titleText));
    EXPECT_EQ(page.DocumentTitle(), QString::fromUtf8(c.documentTitle));
    EXPECT_EQ(page.MetaDescription(), QString::fromUtf8(c.description));
    EXPECT_EQ(page.Headings(u"h1"), QString::fromUtf8(c.h1));
    EXPECT_EQ(page.Headings(u"h2"), QString::fromUtf8(c.h2));
    EXPECT_EQ(page.ReadableText(), ExpectedText(name + ".text.txt"));
    EXPECT_EQ(page.Words(), JoinLines(SplitLines(ReadFixture(name + ".words.txt"))));

    // The page parsed once gives what the functions that parse on their own give.
    EXPECT_EQ(page.DocumentTitle(), ExtractDocumentTitle(source));
    EXPECT_EQ(page.MetaDescription(), ExtractMetaDescription(source));
    EXPECT_EQ(page.Headings(u"h3"), ExtractHeadings(source, u"h3"));
    EXPECT_EQ(page.ReadableText(), ExtractReadableText(source));
}

INSTANTIATE_TEST_SUITE_P(
    Analysis, FixturePages,
    ::testing::Values(
        PageCase{"blog_post", "Ten Days in Lisbon &amp; Porto | Wandering Notes",
                 "Ten Days in Lisbon & Porto | Wandering Notes",
                 "Our itinerary for ten days in Portugal:\r\n  trams, tiles & past\xC3\xA9is de nata.",
                 "Ten Days in Lisbon & Porto\r\n", "Day 1: Alfama\r\nDay 2: Sintra\r\n"},
        PageCase{"documentation_page", "parse_config() &mdash; Config Reference",
                 "parse_config() \xE2\x80\x94 Config Reference",
                 "Reference for parse_config(): arguments, return values and errors.", "parse_config()\r\n",
                 "Arguments\r\nExample\r\nErrors\r\n"},
        PageCase{"hidden_content", "Members Area", "Members Area", "Sign in to see the members area.",
                 "Welcome back\r\n", "Collapsed menu\r\n\r\nLatest\r\nnews\r\n"}),
    [](const ::testing::TestParamInfo<PageCase>& info) { return std::string(info.param.name); });
