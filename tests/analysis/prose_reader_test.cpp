#include <gtest/gtest.h>

#include <QLocale>

#include "analysis/page_record.h"
#include "analysis/parsed_page.h"
#include "analysis/prose_reader.h"
#include "qstring_printer.h"

using namespace lexicrawl;

namespace {

// The groups as one line each: "language: word word", "-" for no language;
// the words of a group in the order they first occur, alt and title texts last.
QStringList Groups(const char* html, bool altAndTitle = false)
{
    QStringList lines;
    for (const LanguageWords& g : ReadProseWords(ParsedPage(QString::fromUtf8(html)), altAndTitle))
        lines << (g.language.isEmpty() ? QStringLiteral("-") : g.language) + QStringLiteral(": ") + g.words.join(' ');
    return lines;
}

class ProseReaderTest : public ::testing::Test {
protected:
    void SetUp() override { QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates)); }
    void TearDown() override { QLocale::setDefault(QLocale::system()); }
};

}  // namespace

TEST_F(ProseReaderTest, LeavesOutCodeAndTextMarkedNotToBeChecked)
{
    struct Case {
        const char* html;
        QStringList groups;
    } cases[] = {
        {"<p>Call <code>getx</code> or <kbd>ctrlq</kbd>, <samp>errr</samp>, <var>nn</var>, <tt>oldtt</tt> now</p>"
         "<pre>loop zzz</pre><xmp>xmpp</xmp><math><mi>sinx</mi></math><textarea>typed</textarea>",
         {"-: Call or now"}},
        // A passage next to code is cut there: no word runs across it. Other
        // inline markup joins as the text does.
        {"<p>re<code>x</code>s <b>W</b>ord un<i>believ</i>able</p>", {"-: re s Word unbelievable"}},
        {"<div spellcheck=\"false\">aaa <span spellcheck=\"true\">bbb</span> <span spellcheck=\"\">ccc</span> "
         "<span spellcheck=\"bogus\">ddd</span></div>eee",
         {"-: bbb ccc eee"}},
        {"<p translate=\"no\">Wizzbang <i translate=\"yes\">sale</i></p><p TRANSLATE=NO>Gizmo</p>", {"-: sale"}},
        // Code stays code whatever a descendant says.
        {"<code><span spellcheck=\"true\">inner</span></code>", {}},
        // What the page hides, its head and what follows its end are not read.
        {"<html><head><title>Heading</title><script>scr</script></head><body><p hidden>gone</p>"
         "<p style=\"display:none\">away</p><template>tpl</template><p>shown</p></body></html>after",
         {"-: shown"}},
        {"<p>soft\xC2\xAD" "hyphen Paris paris Paris</p>", {"-: softhyphen Paris paris"}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Groups(c.html), c.groups) << c.html;
}

TEST_F(ProseReaderTest, GroupsWordsByTheLanguageTheyDeclare)
{
    struct Case {
        const char* html;
        QStringList groups;
    } cases[] = {
        {"<html lang=\"en-US\"><body><p>Hello <span lang=\"de\">Guten Tag</span> again</p>"
         "<blockquote lang=\"fr_FR\"><p>la vie <q lang=\"\">unknown</q></p></blockquote></body></html>",
         {"-: unknown", "en-us: Hello again", "de: Guten Tag", "fr-fr: la vie"}},
        // The body's lang covers the page; words only in one group each way they occur.
        {"<body lang=\" DE \"><p>Haus</p><p lang=\"en\">house Haus</p></body>", {"de: Haus", "en: house Haus"}},
        // A language whose only text is code has no group.
        {"<p>word <code lang=\"ja\">x</code></p>", {"-: word"}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Groups(c.html), c.groups) << c.html;
}

TEST_F(ProseReaderTest, ReadsAltAndTitleTextsOnlyWhenAsked)
{
    const char* html =
        "<p lang=\"en\">See <img alt=\"A tomatos garden\" title=\"Gardn\" src=\"a.png\">"
        "<a href=\"/\" title=\"Back to the begining\"><img alt=\"Logo\" lang=\"de\" src=\"l.png\">home</a>"
        "<span spellcheck=\"false\"><img alt=\"skipd\"></span></p>"
        "<div hidden><img alt=\"hiddn\"></div><div style=\"display:none\"><img alt=\"nonee\"></div>";
    EXPECT_EQ(Groups(html), QStringList({"en: See home"}));
    EXPECT_EQ(Groups(html, true),
              QStringList({"en: See home A tomatos garden Gardn Back to the begining", "de: Logo"}));
}

// A page whose text after "</html>" joins a text node of the page is parsed
// again without it: the words are those of the parse the text comes from.
TEST_F(ProseReaderTest, APageParsedTwiceGivesTheWordsOfTheSecondParse)
{
    const char* html = "<html lang=\"de\"><body><p>Hallo <code>cc</code> Welt</html>dropped";
    EXPECT_EQ(Groups(html), QStringList({"de: Hallo Welt"}));
}

TEST_F(ProseReaderTest, ThePageRecordHoldsTheWordsOfTheChosenReadingOnly)
{
    const QString source = QStringLiteral("<p>Don't <code>stop</code></p>");
    const PageRecord standard = ExtractPageRecord(source);
    EXPECT_EQ(standard.words, QStringList({"don", "t", "stop"}));
    EXPECT_TRUE(standard.proseWords.empty());
    const PageRecord prose = ExtractPageRecord(source, TextOptions{TextMode::Prose, false});
    EXPECT_TRUE(prose.words.isEmpty());
    ASSERT_EQ(prose.proseWords.size(), 1u);
    EXPECT_EQ(prose.proseWords[0].words, QStringList({"Don't"}));
}
