#include <gtest/gtest.h>

#include "spelling/oxt_parser.h"

namespace lexicrawl {
namespace {

TEST(OxtParserTest, EmptySourceHasOnlyTheRoot)
{
    OxtParser p("");
    EXPECT_EQ(p.GetFirst(), nullptr);
    EXPECT_EQ(p.AsText(), QString());
    EXPECT_EQ(p.GetNext(nullptr), nullptr);
}

TEST(OxtParserTest, AttributesInBothQuotesAndText)
{
    OxtParser p("<a x=\"1\" y = '2'>t</a>");
    OxtNode* a = p.GetFirst();
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(a->Name(), QStringLiteral("a"));
    EXPECT_EQ(a->Level(), 0);
    EXPECT_EQ(a->Value(), QStringLiteral("t"));
    EXPECT_EQ(a->attr, QByteArray("x=1\r\ny=2\r\n"));
    EXPECT_EQ(a->Attrib(QStringLiteral("X")), QStringLiteral("1"));
    EXPECT_EQ(a->Attrib(QStringLiteral("y")), QStringLiteral("2"));
    EXPECT_EQ(a->Attrib(QStringLiteral("z")), QString());
    EXPECT_EQ(p.GetNext(a), nullptr);
}

TEST(OxtParserTest, TextAfterAChildIsLost)
{
    OxtParser p("<a>one<b/>two</a><c/>");
    OxtNode* a = p.GetFirst();
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(a->Value(), QStringLiteral("one"));
    ASSERT_EQ(a->Items().size(), 1u);
    EXPECT_EQ(a->Items()[0]->Name(), QStringLiteral("b"));
    EXPECT_EQ(a->Items()[0]->ParentName(), QStringLiteral("a"));
    OxtNode* c = p.GetNext(a->Items()[0].get());
    ASSERT_NE(c, nullptr);
    EXPECT_EQ(c->Name(), QStringLiteral("c"));
    EXPECT_EQ(c->Level(), 0);
}

TEST(OxtParserTest, EntitiesAndWhitespace)
{
    struct Case { QByteArray source; QString value; QString attr; };
    const Case cases[] = {
        {"<a>&amp;lt;&AMP;</a>", QStringLiteral("<&"), {}},
        {"<a>&quot;&apos;&gt;&Lt;</a>", QStringLiteral("\"'><"), {}},
        {"<a>x\ty\r\nz</a>", QStringLiteral("x y  z"), {}},
        {"<a v=\"p\tq\nr\">  s  </a>", QStringLiteral("  s  "), QStringLiteral("p q r")},
        {"<a v=\"x&amp;y &#233;\"/>", {}, QStringLiteral("x&y &#233;")},
        {"<a v=\"caf\xC3\xA9\">\xC3\xBC</a>", QStringLiteral("\u00FC"), QStringLiteral("caf\u00E9")},
        {"<a v=\"has 'single' and >/<\"/>", {}, QStringLiteral("has 'single' and >/<")},
    };
    for (const Case& c : cases) {
        OxtParser p(c.source);
        ASSERT_NE(p.GetFirst(), nullptr) << c.source.constData();
        EXPECT_EQ(p.GetFirst()->Value(), c.value) << c.source.constData();
        EXPECT_EQ(p.GetFirst()->Attrib(QStringLiteral("v")), c.attr) << c.source.constData();
    }
}

TEST(OxtParserTest, DeclarationAndCommentsStayOpen)
{
    OxtParser p("<?xml version=\"1.0\" encoding=\"ISO-8859-15\"?>\n<doc><!-- note --><x/></doc><y/>");
    OxtNode* decl = p.GetFirst();
    ASSERT_NE(decl, nullptr);
    EXPECT_EQ(decl->Name(), QStringLiteral("?xml"));
    EXPECT_EQ(decl->Attrib(QStringLiteral("encoding")), QStringLiteral("ISO-8859-15"));
    EXPECT_TRUE(decl->attr.endsWith("\r\n?"));
    EXPECT_EQ(p.Codepage(), 28605);
    ASSERT_EQ(decl->Items().size(), 1u);
    OxtNode* doc = decl->Items()[0].get();
    EXPECT_EQ(doc->Name(), QStringLiteral("doc"));
    EXPECT_EQ(doc->Level(), 1);
    // The comment swallows x; "</doc>" closes the comment, so y is doc's child.
    ASSERT_EQ(doc->Items().size(), 2u);
    EXPECT_EQ(doc->Items()[0]->Name(), QStringLiteral("!--"));
    EXPECT_EQ(doc->Items()[0]->Items()[0]->Name(), QStringLiteral("x"));
    EXPECT_EQ(doc->Items()[1]->Name(), QStringLiteral("y"));
}

TEST(OxtParserTest, LookupsAndDocumentOrder)
{
    OxtParser p("<r><a><n>1</n></a><b><n>2</n><n>3</n></b></r><N>4</N>");
    OxtNode* root = p.Root();
    ASSERT_NE(root->NodeByName(QStringLiteral("n")), nullptr);
    EXPECT_EQ(root->NodeByName(QStringLiteral("n"))->Value(), QStringLiteral("1"));
    EXPECT_EQ(root->NodeByName(QStringLiteral("N"))->Value(), QStringLiteral("4"));
    OxtNode* b = root->NodeByName(QStringLiteral("b"));
    EXPECT_EQ(b->NodeByName(QStringLiteral("b")), nullptr);
    QList<OxtNode*> found{nullptr};
    b->NodesByName(QStringLiteral("n"), found);
    ASSERT_EQ(found.size(), 3);
    EXPECT_EQ(found[1]->Value(), QStringLiteral("2"));
    EXPECT_EQ(found[2]->Value(), QStringLiteral("3"));
    QStringList order;
    for (OxtNode* n = p.GetFirst(); n; n = p.GetNext(n))
        order << n->Name() + n->Value();
    EXPECT_EQ(order, (QStringList{"r", "a", "n1", "b", "n2", "n3", "N4"}));
}

TEST(OxtParserTest, AsTextIndentsByLevel)
{
    OxtParser p("<a k=\"v\"><b>t</b></a>");
    EXPECT_EQ(p.AsText(), QStringLiteral("NODE: a VALUE: \r\nATTR: k=v\r\n    NODE: b VALUE: t\r\n"));
}

TEST(OxtParserTest, UnbalancedAndDeepDocumentsAreHarmless)
{
    OxtParser closing("</a></b>///<c>");
    ASSERT_NE(closing.GetFirst(), nullptr);
    EXPECT_EQ(closing.GetFirst()->Name(), QStringLiteral("c"));
    QByteArray deep;
    for (int i = 0; i < 200000; ++i)
        deep += "<!--";
    OxtParser p(deep);
    EXPECT_EQ(p.Root()->NodeByName(QStringLiteral("none")), nullptr);
}

}  // namespace
}  // namespace lexicrawl
