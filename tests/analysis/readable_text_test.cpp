#include <gtest/gtest.h>

#include <cstdlib>
#include <random>

#include <QStringList>

#include "analysis/parser_input.h"
#include "analysis/parsed_page.h"
#include "qstring_printer.h"
#include "analysis/readable_text.h"
#include "analysis/readable_text_source.h"

using namespace lexicrawl;

namespace {
QString S(const char* utf8)
{
    return QString::fromUtf8(utf8);
}

struct TextCase {
    const char* source;
    const char* text;
};

// Each case is checked twice: through the function that parses the prepared
// source, and through a page parsed once for all its facts.
void ExpectText(const TextCase& c)
{
    EXPECT_EQ(ExtractReadableText(S(c.source)), S(c.text)) << c.source;
    EXPECT_EQ(ParsedPage(S(c.source)).ReadableText(), S(c.text)) << "shared parse: " << c.source;
}
}  // namespace

TEST(ReadableText, RendersTheBodyAsABrowserShowsIt)
{
    const TextCase cases[] = {
        {"<p>Hello   <b>big</b>\n world</p><p>Next</p>", "Hello big world\r\n\r\nNext"},
        {"<div>a<br>b</div><div> c </div>", "a\r\nb\r\nc"},
        {"<ul><li>one</li><li>two</li></ul>after", "one\r\ntwo\r\nafter"},
        {"<p>x</p><pre>\n  a  b\n    c</pre>", "x\r\n\r\n  a  b\r\n    c"},
        {"<table><tr><th>Name</th><th>Value</th></tr><tr><td> alpha </td><td>1</td></tr></table>end",
         "Name\tValue\r\nalpha\t1\r\nend"},
        {"<p>Fish &amp; chips&nbsp;&mdash; &lt;b&gt;</p>", "Fish & chips\xC2\xA0\xE2\x80\x94 <b>"},
        {"a<span style=\"display:block\">b</span>c", "a\r\nb\r\nc"},
        {"<p style=\"white-space: pre-line\">one   two\nthree</p>", "one two\r\nthree"},
        {"<details><summary>More</summary>Hidden body</details>", "More"},
        {"<details open><summary>More</summary>Shown body</details>", "More\r\nShown body"},
        {"", ""},
        {"<frameset><frame src=a.html></frameset>", ""},
    };
    for (const TextCase& c : cases)
        ExpectText(c);
}

TEST(ReadableText, LeavesOutWhatIsNotShown)
{
    const TextCase cases[] = {
        {"<head><title>Title</title><style>p{}</style><script>var head;</script></head>"
         "<body>Shown <script>alert('x')</script><style>b{}</style>end</body>",
         "Shown end"},
        // A browser running scripts hides noscript content.
        {"<body>a <noscript>Enable scripts</noscript>b</body>", "a b"},
        {"a <template><p>later</p></template>b", "a b"},
        {"a <span hidden>secret</span>b", "a b"},
        {"a <div style=\"color:red; DISPLAY : none !important\">gone</div>b", "a b"},
        {"<div hidden style=\"display:block\">unhidden</div>", "unhidden"},
        {"a<!-- comment -->b<img alt=\"picture\">c", "abc"},
        {"<select><option>Red</option><option>Blue</option></select>", "Red\r\nBlue"},
        {"a<textarea>typed</textarea><input value=v>b", "ab"},
        {"<svg><title>icon</title><text>Label</text></svg>", "Label"},
    };
    for (const TextCase& c : cases)
        ExpectText(c);
}

TEST(ReadableText, DropsEverythingAfterTheFirstHtmlEnd)
{
    const TextCase cases[] = {
        {"<html><body><p>Kept</p></body></html><p>Dropped</p><script>track()</script>", "Kept"},
        {"<p>abc</HTML>def", "abc"},
        {"<table><tr><td>a</td></html><td>b</td></tr></table>", "a"},
        {"<p>one</p><!-- </html> --><p>two</p>", "one"},
        {"<body>x</html><html><body>second document</body></html>", "x"},
        // Text and end tags after the cut that the parser moves into earlier parts of the tree.
        {"x<table><tr><td>a</td></tr></html>y", "x\r\na"},
        {"<b>bold<p>para</html></b>tail", "bold\r\n\r\npara"},
        {"<p>one<table><tr><td>cell</html>foster</td></tr></table>", "one\r\ncell"},
    };
    for (const TextCase& c : cases)
        ExpectText(c);
}

TEST(ReadableText, SurvivesPagesThatTripTheParser)
{
    // This markup makes the parser library fail an assertion.
    const QString source = S("<title>T</title><table><svg><title><![CDATA[ z ]]>x</title></svg><tr><td>cell</table>");
    const ParsedPage page(source);
    EXPECT_EQ(page.DocumentTitle(), S("T"));
    EXPECT_EQ(page.ReadableText(), S("cell"));  // an SVG title is not shown
    EXPECT_EQ(ExtractReadableText(source), S("cell"));
}

TEST(ReadableTextDeathTest, LeavesOtherAbortsAlone)
{
    EXPECT_DEATH(
        {
            const ParsedPage page(S("<p>guard installed</p>"));
            std::abort();
        },
        "");
}

TEST(ReadableText, UsesTheOneParseForUsualPageEndings)
{
    const char* endings[] = {
        "<p>a</p>\n</body>\n</html>\n",
        "a\n</body>\n</html>\r\n  \n",
        "<p>a</p>\n</body>\n</html>\n<!-- served from cache in 0.2 s -->\n",
        "<p>a</p>\n</html>\n<!--> \n<!---> <!-- x --!>\n",
    };
    for (const char* ending : endings) {
        const ParsedPage page(S(ending));
        bool crossedCut = true;
        page.Document().BodyText(readable_text::HtmlEndOffset(page.Document().Utf8()), {}, &crossedCut);
        EXPECT_FALSE(crossedCut) << ending;
        EXPECT_TRUE(page.Document().ClosesHtmlAt(readable_text::HtmlEndOffset(page.Document().Utf8()) - 7)) << ending;
        EXPECT_EQ(page.ReadableText(), S("a")) << ending;
    }
    // A "</html>" that is no end tag cuts the page all the same, but the
    // shared parse cannot tell what follows it.
    ExpectText({"><html a=\"</html><!--\">/", ">"});
    ExpectText({"><html a=\"</html><!--\">/-->", ">"});
    ExpectText({"<p>a<!-- </html> -->b</p>", "a"});
    ExpectText({"<script>x='</html>'</script><!-- c -->visible", ""});
    // Text after such a comment does join the body, and is then left out.
    ExpectText({"<p>a</p>\n</html>\n<!-->after<!-- -->\n", "a"});
    ExpectText({"<p>a</p>\n</html>\n<!-- x --!>after -->\n", "a"});
}

TEST(ReadableText, RemovesTheExactCompatibilityTagOnly)
{
    const TextCase cases[] = {
        {"<xmp>a<META http-equiv=\"X-UA-Compatible\" content=\"IE=edge,chrome=1\"/>b</xmp>", "ab"},
        {"<xmp>a<meta http-equiv=\"X-UA-Compatible\" content=\"IE=edge,chrome=1\">b</xmp>",
         "a<meta http-equiv=\"X-UA-Compatible\" content=\"IE=edge,chrome=1\">b"},
        {"<head><meta http-equiv=\"X-UA-Compatible\" content=\"IE=edge,chrome=1\"/></head><p>text</p>", "text"},
        // Without the tag the parse differs: the SVG stays open, the line break follows <pre>.
        {"<svg><meta http-equiv=\"X-UA-Compatible\" content=\"IE=edge,chrome=1\"/><desc>d</desc></svg>", ""},
        {"<pre><meta http-equiv=\"X-UA-Compatible\" content=\"IE=edge,chrome=1\"/>\nline</pre>", "line"},
        // Inside another tag the text is no tag of its own; removing it joins that tag to what follows.
        {"<p>x<h<meta http-equiv=\"X-UA-Compatible\" content=\"IE=edge,chrome=1\"/>y</p>", "x"},
        {"<p title='<meta http-equiv=\"X-UA-Compatible\" content=\"IE=edge,chrome=1\"/>'>z</p>", "z"},
    };
    for (const TextCase& c : cases)
        ExpectText(c);
}

TEST(ReadableText, JoinsWordsSplitBySoftHyphens)
{
    ExpectText({"<p>extra\xC2\xAD" "ordinary soft&shy;ware</p>", "extraordinary software"});
    EXPECT_EQ(ExtractWords(ExtractReadableText(S("<p>hy&shy;phen</p>"))), S("hyphen\r\n"));
}

// Elements nested deeper than the parser is allowed to see lose their tags,
// never their text; headings, scripts and shallow pages are as they were.
TEST(ReadableText, DeepNestingKeepsItsTextAndHeadings)
{
    const auto nested = [](const char* tag, int depth, const char* inner) {
        return QString(QStringLiteral("<%1>").arg(QLatin1String(tag))).repeated(depth) + QLatin1String(inner);
    };
    for (const char* tag : {"div", "b", "span", "blockquote"}) {
        SCOPED_TRACE(tag);
        const ParsedPage page(nested(tag, 100'000, "<h1>deep <i>title</i></h1>word <script>no words</script>end"));
        EXPECT_EQ(page.Headings(u"h1"), S("deep title\r\n"));
        EXPECT_EQ(page.Words(), S("deep\r\nend\r\ntitle\r\nword\r\n"));
    }
    // Closed elements and elements that close their own kind do not add up.
    const QString wide = S("<div><p>a</div>").repeated(20'000) + S("<li>b").repeated(20'000);
    EXPECT_EQ(html::BoundParserInput(wide), wide.toUtf8());
    const QString shallow = nested("div", 500, "<p>x");
    EXPECT_EQ(html::BoundParserInput(shallow), shallow.toUtf8());
    EXPECT_LT(html::BoundParserInput(nested("div", 600, "x")).size(), nested("div", 600, "x").toUtf8().size());
}

TEST(ReadableText, SurvivesHostileMarkup)
{
    // Deep nesting is rendered without recursion.
    const QString deep = QString(QStringLiteral("<div>")).repeated(5000) + QStringLiteral("<h1>deep</h1>");
    const ParsedPage page(deep);
    EXPECT_EQ(page.ReadableText(), S("deep"));
    EXPECT_EQ(page.Headings(u"h1"), S("deep\r\n"));

    // NUL characters, a lone surrogate and unterminated markup parse too.
    QString odd = S("<p>a");
    odd += QChar(0);
    odd += QChar(0xD800);
    odd += S("b</p><p title=\"unterminated");
    EXPECT_EQ(ExtractWords(ExtractReadableText(odd)), S("a\r\nb\r\n"));
    EXPECT_EQ(ExtractReadableText(S("<<<>>>&&&;;</</>")), S("<<<>>>&&&;;"));
}

// Random tag soup around the html end, the compatibility tag, foreign content
// and raw text: the one shared parse must give what a parse of the prepared
// source gives.
TEST(ReadableText, SharedParseMatchesItsOwnParseOnTagSoup)
{
    const QStringList pieces = S(
        "<p>|</p>|<div>|</div>|<b>|</b>|<i>|</i>|<table>|</table>|<tr>|<td>|</td>|</tr>|<pre>|</pre>|"
        "</html>|</HTML>|<html>|<body>|</body>|<head>|<title>|</title>|<!-- c -->|<!--|-->|<!-->|"
        "<script>|</script>|<xmp>|</xmp>|<plaintext>|<textarea>|<br>|<li>|<select>|<option>|<svg>|</svg>|"
        "<math>|<frameset>|<noscript>|<template>|<h1>|</h1>|&amp;|&shy;|&nbsp;| |\n|\r\n|word|x|"
        "<meta http-equiv=\"X-UA-Compatible\" content=\"IE=edge,chrome=1\"/>|<span hidden>|</span>|"
        "<p style=\"white-space:pre\">|<details>|<summary>|<![CDATA[ z ]]>|<caption>|<nobr>")
                                   .split(QLatin1Char('|'));
    std::mt19937 random(20240502);
    for (int round = 0; round < 400; ++round) {
        QString source;
        for (int n = 1 + int(random() % 30); n > 0; --n)
            source += pieces[qsizetype(random() % unsigned(pieces.size()))];
        ASSERT_EQ(ParsedPage(source).ReadableText(), ExtractReadableText(source)) << source.toStdString();
    }
}
