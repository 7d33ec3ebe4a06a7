// Where an unknown word stands on a page: found once per page, in the title,
// the description, a heading or the body, with the sentence around it.
#include <gtest/gtest.h>

#include "analysis/page_record.h"
#include "analysis/word_context.h"
#include "qstring_printer.h"

using namespace lexicrawl;

namespace {

WordContext Only(const std::vector<WordContext>& contexts, const QString& word)
{
    for (const WordContext& c : contexts)
        if (c.word == word)
            return c;
    ADD_FAILURE() << "no context for " << word.toStdString();
    return {};
}

}  // namespace

TEST(WordContext, TitleDescriptionHeadingAndBody)
{
    const PageRecord record = ExtractPageRecord(QStringLiteral(
        "<html><head><title>Kubectl Guide</title><meta name=\"description\" content=\"How to isntall it.\"></head>"
        "<body><h1>Setting up Nginx</h1><p>First, run kubectl. Then nginx starts. Teh end!</p>"
        "<p>Nothing about the word here.</p></body></html>"));
    const std::vector<WordContext> found =
        FindWordContexts(QStringLiteral("http://a.test/"), record, {"kubectl", "isntall", "nginx", "teh", "absent"});
    ASSERT_EQ(found.size(), 4u);  // "absent" stands nowhere

    const WordContext title = Only(found, "kubectl");
    EXPECT_EQ(title.place, WordPlace::Title);  // before its first place in the body
    EXPECT_EQ(title.marked, QStringLiteral("Kubectl"));
    EXPECT_EQ(title.after, QStringLiteral(" Guide"));
    EXPECT_EQ(title.url, QStringLiteral("http://a.test/"));

    EXPECT_EQ(Only(found, "isntall").place, WordPlace::Description);
    const WordContext heading = Only(found, "nginx");
    EXPECT_EQ(heading.place, WordPlace::Heading);
    EXPECT_EQ(heading.Text(), QStringLiteral("Setting up Nginx"));
    const WordContext body = Only(found, "teh");
    EXPECT_EQ(body.place, WordPlace::Body);
    EXPECT_EQ(body.before, QString());  // the sentence starts with it
    EXPECT_EQ(body.marked, QStringLiteral("Teh"));
    EXPECT_EQ(body.after, QStringLiteral(" end!"));
}

TEST(WordContext, WholeWordsOnlyAndLongSentencesCut)
{
    PageRecord record;
    record.text = QStringLiteral("The parsers parse it. ") + QString(120, u'a').replace(QStringLiteral("aa"),
                                                                                            QStringLiteral("a ")) +
                  QStringLiteral(" then parser runs on and on ") + QString(80, u'b') + QStringLiteral(".");
    const std::vector<WordContext> found = FindWordContexts(QString(), record, {"parser"});
    ASSERT_EQ(found.size(), 1u);
    const WordContext& c = found.front();
    EXPECT_EQ(c.marked, QStringLiteral("parser"));  // not the "parsers" before it
    EXPECT_TRUE(c.before.startsWith(QChar(0x2026)));
    EXPECT_LE(c.before.size(), 51);
    EXPECT_TRUE(c.after.endsWith(QChar(0x2026)));
    EXPECT_LE(c.after.size(), 51);
}
