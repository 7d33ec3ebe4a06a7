#include <gtest/gtest.h>

#include "test_printers.h"

#include <QStringList>

#include "crawl/anchor_scanner.h"

using namespace lexicrawl;

namespace {

const QString kPage = u"http://h/dir/page.html"_qs;

// Each link as "link|source|rel|anchor".
QStringList Scan(const QString& html, const std::atomic<bool>* stop = nullptr)
{
    QStringList found;
    ScanAnchors(html, kPage, [&](const QString& link, const QString& source, const QString& rel,
                                 const QString& anchor) { found << QStringList{link, source, rel, anchor}.join(u'|'); },
                stop);
    return found;
}

QString L(const QString& link, const QString& rel, const QString& anchor, const QString& source = kPage)
{
    return QStringList{link, source, rel, anchor}.join(u'|');
}

struct Case {
    const char* what;
    QString html;
    QStringList links;
};

TEST(CrawlAnchorScanner, FindsLinksByTheTextRules)
{
    const QString dof = u"dofollow"_qs;
    const Case cases[] = {
        {"capitals and single quotes", u"<A HREF='Page.HTML'> Text </A>"_qs, {L(u"Page.HTML"_qs, dof, u"Text"_qs)}},
        {"href on the next line, indented", u"x<a\r\n  href=\"n.html\">N</a>\r\n"_qs, {L(u"n.html"_qs, dof, u"N"_qs)}},
        {"href at the start of the next line", u"<a\r\nhref=\"n.html\">N</a>\r\n"_qs, {}},
        {"tab after the a", u"<a\thref=\"t.html\">T</a>"_qs, {}},
        {"abbr and area", u"<abbr href=\"a\">A</a><area href=\"b\">B</a>"_qs, {}},
        {"tab before href", u"<a class=x\thref=\"t.html\">T</a>"_qs, {L(u"t.html"_qs, dof, u"T"_qs)}},
        {"nofollow and noopener", u"<a rel=\"nofollow noopener\" href=\"x\">X</a>"_qs, {L(u"x"_qs, u"NOFOLLOW"_qs, u"X"_qs)}},
        {"sponsored and nofollow", u"<a rel=\"sponsored nofollow\" href=\"x\">X</a>"_qs, {L(u"x"_qs, u"NOFOLLOW"_qs, u"X"_qs)}},
        {"sponsored", u"<a href=\"x\" rel=\"Sponsored\">X</a>"_qs, {L(u"x"_qs, u"SPONSORED"_qs, u"X"_qs)}},
        {"UGC in capitals", u"<a REL=\"UGC\" href=\"x\">X</a>"_qs, {L(u"x"_qs, u"UGC"_qs, u"X"_qs)}},
        {"external", u"<a rel=\"external\" href=\"x\">X</a>"_qs, {L(u"x"_qs, dof, u"X"_qs)}},
        {"data-rel is not rel", u"<a data-rel=\"nofollow\" href=\"x\">X</a>"_qs, {L(u"x"_qs, dof, u"X"_qs)}},
        {"rel without its closing quote", u"<a href=\"x\" rel=\"nofollow>X</a>"_qs, {L(u"x"_qs, dof, u"X"_qs)}},
        {"rel quoted differently from href", u"<a rel=\"nofollow\" href='x'>X</a>"_qs, {L(u"x"_qs, dof, u"X"_qs)}},
        {"spaces around the equals sign", u"<a href = \"x\">X</a>"_qs, {}},
        {"unquoted href", u"<a href=x>X</a>"_qs, {}},
        {"href without closing quote", u"<a href=\"x>X</a>"_qs, {}},
        {"no closing tag anywhere", u"<a href=\"x\">X"_qs, {}},
        {"no > at all", u"<a href=\"x\""_qs, {}},
        {"inside a comment and a script",
         u"<!-- <a href=\"c\">C</a> --><script>s='<a href=\"s\">S</a>'</script>"_qs,
         {L(u"c"_qs, dof, u"C"_qs), L(u"s"_qs, dof, u"S"_qs)}},
        {"references in the anchor", u"<a href=\"x\">Fish &amp; Chips &#169;&nbsp;</a>"_qs,
         {L(u"x"_qs, dof, u"Fish & Chips \u00a9&nbsp;"_qs)}},
        {"href taken as written", u"<a href=\" a&amp;b \">X</a>"_qs, {L(u" a&amp;b "_qs, dof, u"X"_qs)}},
        {"markup stays in the anchor", u"<a href=\"x\"><img src=\"i.png\"> Home</a>"_qs,
         {L(u"x"_qs, dof, u"<img src=\"i.png\"> Home"_qs)}},
        {"anchor runs to the next closing tag", u"<a href=\"a\">one <a href=\"b\">two</a>"_qs,
         {L(u"a"_qs, dof, u"one <a href=\"b\">two"_qs), L(u"b"_qs, dof, u"two"_qs)}},
        {"back to back", u"<a href=\"1\"><a href=\"2\">y</a>"_qs,
         {L(u"1"_qs, dof, u"<a href=\"2\">y"_qs), L(u"2"_qs, dof, u"y"_qs)}},
        {"mail link in capitals", u"<a href=\"MAILTO:me@h\">Mail</a>"_qs,
         {L(u"MAILTO:me@h"_qs, dof, u"Mail"_qs, QString())}},
        {"href with both quotes", u"<a href=\"d\" href='s'>X</a>"_qs, {L(u"d"_qs, dof, u"X"_qs), L(u"s"_qs, dof, u"X"_qs)}},
        {"href after space and after tab", u"<a href=\"1\"\thref=\"2\">X</a>"_qs,
         {L(u"1"_qs, dof, u"X"_qs), L(u"2"_qs, dof, u"X"_qs)}},
        {"the tag ends at its first >, even inside quotes", u"<a href=\"x</a>\">t</a>"_qs, {}},
        {"first pass before the second",
         u"<a\r\n href=\"2\">two</a> <a href=\"1\">one</a>\r\n"_qs,
         {L(u"1"_qs, dof, u"one"_qs), L(u"2"_qs, dof, u"two"_qs)}},
        {"non-ASCII text keeps its case", u"<A href=\"\u00c4.html\">\u00c4</A>"_qs, {L(u"\u00c4.html"_qs, dof, u"\u00c4"_qs)}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(Scan(c.html), c.links);
    }
}

TEST(CrawlAnchorScanner, StopEndsTheScan)
{
    std::atomic<bool> stop{true};
    EXPECT_TRUE(Scan(u"<a href=\"x\">X</a>"_qs, &stop).isEmpty());
}

TEST(CrawlAnchorScanner, DecodeHtmlReferences)
{
    const std::pair<QString, QString> cases[] = {
        {u"&amp;&lt;&gt;&quot;"_qs, u"&<>\""_qs},
        {u"&#169; &#xA9; &#XA9; &#$a9;"_qs, u"\u00a9 \u00a9 \u00a9 \u00a9"_qs},
        {u"&#128512;"_qs, u"\U0001F600"_qs},
        {u"end &#169"_qs, u"end \u00a9"_qs},
        {u"&#12a; &#; &#x; &#1114112;"_qs, u"&#12a; &#; &#x; &#1114112;"_qs},
        {u"&#0;"_qs, u"&#0;"_qs},  // would cut the statement it goes into
        {u"&#169 x;"_qs, u"&#169 x;"_qs},
        {u"&AMP; &nbsp; &apos; a & b &"_qs, u"&AMP; &nbsp; &apos; a & b &"_qs},
        {u"&amp;amp;"_qs, u"&amp;"_qs},
        {u"&&amp;"_qs, u"&&"_qs},
    };
    for (const auto& [in, out] : cases)
        EXPECT_EQ(DecodeHtmlReferences(in), out) << in.toStdString();
}

}  // namespace
