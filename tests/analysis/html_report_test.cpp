// The report's order of reading: the likely typos first, then the findings,
// then the site's vocabulary folded, and the whole list after them.
#include <gtest/gtest.h>

#include "analysis/html_report.h"
#include "qstring_printer.h"

using namespace lexicrawl;

namespace {

WordGrouping Likely(const char* correction, double likelihood)
{
    WordGrouping g;
    g.group = WordGroup::LikelyTypo;
    g.reason = GroupReason::OneEdit;
    g.correction = QString::fromLatin1(correction);
    g.correctionPages = 40;
    g.likelihood = likelihood;
    return g;
}

WordGrouping Vocabulary(GroupReason reason)
{
    WordGrouping g;
    g.reason = reason;
    return g;
}

ReportData Grouped()
{
    ReportData d;
    d.site = QStringLiteral("http://example.test/");
    d.words = {{QStringLiteral("Kubernetes"), 9, {}, {}, {}},
               {QStringLiteral("recieve"), 1, {}, {}, {}},
               {QStringLiteral("teh"), 1, {}, {}, {}}};
    d.groups = {Vocabulary(GroupReason::Name), Likely("receive", 1.0), Likely("the", 5.0)};
    d.repeatedWords = {{QStringLiteral("http://example.test/a"), QStringLiteral("the"),
                        QStringLiteral("in <b>the the</b> end")}};
    d.twoSpellings = {{{QStringLiteral("colour"), QStringLiteral("color")}, {7, 2}}};
    return d;
}

TEST(HtmlReport, LikelyTyposFirstThenFindingsThenTheVocabularyFolded)
{
    const QString html = HtmlReport(Grouped());
    const qsizetype typos = html.indexOf(QStringLiteral("<table id=\"typos\""));
    const qsizetype repeated = html.indexOf(QStringLiteral("<table id=\"repeated\""));
    const qsizetype spellings = html.indexOf(QStringLiteral("<ul id=\"spellings\""));
    const qsizetype details = html.indexOf(QStringLiteral("<details>"));
    const qsizetype vocabulary = html.indexOf(QStringLiteral("<table id=\"vocabulary\""));
    const qsizetype all = html.indexOf(QStringLiteral("<table id=\"words\""));
    ASSERT_GE(typos, 0) << html.toStdString();
    EXPECT_LT(typos, repeated);
    EXPECT_LT(repeated, spellings);
    EXPECT_LT(spellings, details);
    EXPECT_LT(details, vocabulary);
    EXPECT_LT(vocabulary, html.indexOf(QStringLiteral("</details>")));
    EXPECT_LT(vocabulary, all);

    // The most likely first, each with its correction and reason; the
    // vocabulary word only in the folded table (and the whole list).
    const QString typoTable = html.mid(typos, repeated - typos);
    EXPECT_LT(typoTable.indexOf(QStringLiteral("<td>teh</td>")), typoTable.indexOf(QStringLiteral("<td>recieve</td>")));
    EXPECT_TRUE(typoTable.contains(QStringLiteral("<td>receive</td><td>1 letter from 'receive', on 40 pages of this site</td>")))
        << typoTable.toStdString();
    EXPECT_FALSE(typoTable.contains(QStringLiteral("Kubernetes")));
    EXPECT_TRUE(html.mid(vocabulary).contains(QStringLiteral("<td>Kubernetes</td><td class=\"count\">9</td><td>a name</td>")));
    EXPECT_TRUE(html.contains(QStringLiteral("<details><summary>Words: 1</summary>")));

    // Findings: the context escaped, the page a link, the spellings with their pages.
    EXPECT_TRUE(html.contains(QStringLiteral("<td>the the</td>")));
    EXPECT_TRUE(html.contains(QStringLiteral("in &lt;b&gt;the the&lt;/b&gt; end")));
    EXPECT_TRUE(html.contains(QStringLiteral("<a href=\"http://example.test/a\"")));
    EXPECT_TRUE(html.contains(QStringLiteral("colour (7 pages) / color (2 pages)")));
}

TEST(HtmlReport, UngroupedWordsGiveTheListAlone)
{
    ReportData d = Grouped();
    d.groups.clear();
    d.repeatedWords.clear();
    d.twoSpellings.clear();
    const QString html = HtmlReport(d);
    EXPECT_FALSE(html.contains(QStringLiteral("id=\"typos\"")));
    EXPECT_FALSE(html.contains(QStringLiteral("<details>")));
    EXPECT_FALSE(html.contains(QStringLiteral("<h2>Findings</h2>")));
    EXPECT_TRUE(html.contains(QStringLiteral("data-word=\"recieve\"")));
}

}  // namespace
