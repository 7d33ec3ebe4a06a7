#include <gtest/gtest.h>

#include <QStringList>

#include "qstring_printer.h"
#include "analysis/page_facts.h"
#include "analysis/parsed_page.h"

using namespace lexicrawl;

namespace {
QString S(const char* utf8)
{
    return QString::fromUtf8(utf8);
}
}  // namespace

TEST(TitleText, IsCutFromTheSourceAsWritten)
{
    struct Case {
        const char* source;
        const char* title;
    } cases[] = {
        {"<HTML><HEAD><TITLE>Hello &amp; World</TITLE></HEAD></HTML>", "Hello &amp; World"},
        {"<title>\r\n  Two words \r\n</title>", "\r\n  Two words \r\n"},
        {"<title lang=\"en\">Bonjour</title>", "Bonjour"},
        {"<titlebar>x</titlebar><title>y</title>", "x</titlebar><title>y"},
        {"<title>no end", ""},
        {"<title", ""},
        {"<title>spaced end</title >", ""},
        {"<title>first</title><title>second</title>", "first"},
        {"no title at all", ""},
        {"", ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ExtractTitleText(S(c.source)), S(c.title)) << c.source;
}

TEST(DocumentTitle, IsDecodedAndCollapsed)
{
    struct Case {
        const char* source;
        const char* title;
    } cases[] = {
        {"<HTML><HEAD><TITLE>Hello &amp; World</TITLE></HEAD></HTML>", "Hello & World"},
        {"<title>\r\n  Two \t words \r\n</title>", "Two words"},
        {"<title>caf\xC3\xA9 &eacute;t&eacute;</title>", "caf\xC3\xA9 \xC3\xA9t\xC3\xA9"},
        // An inline SVG icon's tooltip is not the page title.
        {"<body><svg><title>icon</title></svg><title>Real</title>", "Real"},
        {"<p>no title</p>", ""},
        {"", ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ExtractDocumentTitle(S(c.source)), S(c.title)) << c.source;
}

TEST(MetaDescription, TakesTheLastMetaNamedDescription)
{
    struct Case {
        const char* source;
        const char* description;
    } cases[] = {
        {"<meta name=description content=A><meta name=description content=B>", "B"},
        {"<meta name=\"Description\" content=\"Upper\">", "Upper"},
        {"<META NAME=\"DESCRIPTION\" CONTENT=\"Shout\">", "Shout"},
        {"<meta property=\"description\" content=\"og\">", ""},
        {"<meta http-equiv=\"description\" content=\"equiv\">", ""},
        {"<meta name=\" description\" content=\"spaced\">", ""},
        {"<meta name=description content=\"Fish &amp; chips &eacute;\">", "Fish & chips \xC3\xA9"},
        {"<meta name=description content=\"  padded  \">", "  padded  "},
        {"<meta name=description>", ""},
        {"<body><p>x</p><meta name=description content=late></body>", "late"},
        {"<meta name=description content=first><meta name=keywords content=k>", "first"},
        {"", ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ExtractMetaDescription(S(c.source)), S(c.description)) << c.source;
}

TEST(MetaDescription, KeepsTheLineBreaksOfTheSource)
{
    EXPECT_EQ(ExtractMetaDescription(S("<meta name=description content=\"one\r\ntwo\">")),
              S("one\r\ntwo"));
    EXPECT_EQ(ExtractMetaDescription(S("<meta name=description content=\"one\ntwo\">")), S("one\ntwo"));
    EXPECT_EQ(ExtractMetaDescription(S("<meta name=description content=\"a\rb\r\nc\nd\">")),
              S("a\rb\r\nc\nd"));
    EXPECT_EQ(FlattenLineBreaks(ExtractMetaDescription(S("<meta name=description content=\"one\r\ntwo\">"))),
              S("one two"));
}

TEST(Headings, OneTrimmedEntryPerElementInDocumentOrder)
{
    struct Case {
        const char* source;
        const char* tag;
        const char* headings;
    } cases[] = {
        {"<h1>First</h1><h2>Sub</h2><h1>Second</h1>", "h1", "First\r\nSecond\r\n"},
        {"<h1>First</h1><h2>Sub</h2><h1>Second</h1>", "h2", "Sub\r\n"},
        {"<h1>   </h1>", "h1", "\r\n"},
        {"<h1>two<br>lines</h1>", "h1", "two\r\nlines\r\n"},
        {"<H1>  Hello <em>big</em>\n  world  </H1>", "h1", "Hello big world\r\n"},
        {"<h2>Q&amp;A<script>var x = 1;</script><style>h2{}</style></h2>", "h2", "Q&A\r\n"},
        {"<h3><span hidden>secret</span>Shown</h3>", "h3", "Shown\r\n"},
        {"<div style=\"display:none\"><h1>Menu</h1></div>", "h1", "Menu\r\n"},
        {"<h1>a</h1>", "h3", ""},
        {"", "h1", ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ExtractHeadings(S(c.source), QString::fromLatin1(c.tag)), S(c.headings)) << c.source;
}

TEST(FlattenLineBreaks, ReplacesOnlyCrLfPairs)
{
    EXPECT_EQ(FlattenLineBreaks(S("a\r\nb\nc\rd\r\n")), S("a b\nc\rd "));
    EXPECT_EQ(FlattenLineBreaks(S("\r\r\n\n")), S("\r \n"));
    EXPECT_EQ(FlattenLineBreaks(QString()), QString());
}

TEST(ScriptFreeDocument, ReportsTagNamesAsTheDomDoes)
{
    const ParsedPage page(S("<p>x<custom-Tag>y</custom-Tag><svg><foreignObject/></svg></p>"));
    const HtmlDocument& document = page.Document();
    QStringList names;
    for (int i = 0; i < document.ElementCount(); ++i)
        names << document.TagName(i);
    EXPECT_EQ(names, (QStringList{"HTML", "HEAD", "BODY", "P", "CUSTOM-TAG", "svg", "foreignObject"}));
    EXPECT_TRUE(document.TagNameIs(3, u"P"));
    EXPECT_FALSE(document.TagNameIs(3, u"p"));
    EXPECT_TRUE(document.LowerTagNameIs(4, u"custom-tag"));
    EXPECT_TRUE(document.LowerTagNameIs(6, u"foreignobject"));
}
