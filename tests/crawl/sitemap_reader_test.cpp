#include "crawl/sitemap_reader.h"

#include <gtest/gtest.h>
#include "support/gzip.h"

namespace lexicrawl {
namespace {

using lexicrawl::testing::Gzip;

constexpr char kUrlset[] =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
    "<urlset xmlns=\"http://www.sitemaps.org/schemas/sitemap/0.9\">\n"
    "  <url><loc>\n  https://example.org/a.html  \n</loc><lastmod>2024-01-01</lastmod></url>\n"
    "  <url><loc>https://example.org/b?x=1&amp;y=2</loc></url>\n"
    "  <url><priority>0.5</priority></url>\n"
    "</urlset>\n";

TEST(SitemapReader, ReadsUrlsetIndexAndText)
{
    const SitemapContent set = ReadSitemap(kUrlset);
    EXPECT_EQ(set.pages, QStringList({"https://example.org/a.html", "https://example.org/b?x=1&y=2"}));
    EXPECT_TRUE(set.sitemaps.isEmpty());
    EXPECT_TRUE(set.warning.isEmpty()) << set.warning.toStdString();

    const SitemapContent index = ReadSitemap(
        "<sitemapindex xmlns=\"http://www.sitemaps.org/schemas/sitemap/0.9\">"
        "<sitemap><loc>https://example.org/s1.xml.gz</loc></sitemap>"
        "<sitemap><loc>https://example.org/s2.xml</loc></sitemap></sitemapindex>");
    EXPECT_EQ(index.sitemaps, QStringList({"https://example.org/s1.xml.gz", "https://example.org/s2.xml"}));
    EXPECT_TRUE(index.pages.isEmpty());

    const SitemapContent text = ReadSitemap("https://example.org/1\r\n\r\nnot a url\nhttp://example.org/2\n");
    EXPECT_EQ(text.pages, QStringList({"https://example.org/1", "http://example.org/2"}));
}

TEST(SitemapReader, InflatesGzip)
{
    const SitemapContent set = ReadSitemap(Gzip(kUrlset));
    EXPECT_EQ(set.pages.size(), 2);
    EXPECT_TRUE(set.warning.isEmpty());
}

TEST(SitemapReader, BrokenFilesWarnAndKeepWhatCameBefore)
{
    const QByteArray truncatedXml = QByteArray(kUrlset).left(int(sizeof kUrlset) - 40);
    const SitemapContent xml = ReadSitemap(truncatedXml);
    EXPECT_EQ(xml.pages.size(), 2);
    EXPECT_FALSE(xml.warning.isEmpty());

    const QByteArray gz = Gzip(kUrlset);
    const SitemapContent cut = ReadSitemap(gz.left(gz.size() / 2 + 10));
    EXPECT_FALSE(cut.warning.isEmpty());

    const SitemapContent garbage = ReadSitemap("<html><body>Not found</body></html>");
    EXPECT_TRUE(garbage.pages.isEmpty());
    EXPECT_TRUE(garbage.sitemaps.isEmpty());
}

// A file cut short (a gzip stream broken or cut at the size bound, an XML
// file ending inside a <loc>) keeps its whole URLs and never yields the
// first half of one as a page to crawl.
TEST(SitemapReader, AUrlCutShortIsLeftOut)
{
    QStringList urls;
    for (int i = 0; i < 2000; ++i)
        urls << QStringLiteral("https://example.org/products/item-%1").arg(i);
    const QByteArray text = urls.join(u'\n').toUtf8() + "\n";
    QByteArray xml = "<urlset>";
    for (const QString& url : urls)
        xml += "<url><loc>" + url.toUtf8() + "</loc></url>";
    xml += "</urlset>";
    const struct {
        const char* name;
        QByteArray body;
    } cases[] = {
        {"text, gzip cut", Gzip(text).left(Gzip(text).size() / 2)},
        {"xml, gzip cut", Gzip(xml).left(Gzip(xml).size() / 2)},
        {"xml cut", xml.left(xml.indexOf("item-7<") + 3)},
        {"index cut", "<sitemapindex><sitemap><loc>https://example.org/products/item-1</loc></sitemap>"
                      "<sitemap><loc>https://example.org/products/ite"},
    };
    for (const auto& c : cases) {
        const SitemapContent read = ReadSitemap(c.body);
        EXPECT_FALSE(read.warning.isEmpty()) << c.name;
        EXPECT_FALSE(read.pages.isEmpty() && read.sitemaps.isEmpty()) << c.name;
        for (const QString& url : read.pages + read.sitemaps)
            EXPECT_TRUE(urls.contains(url)) << c.name << ": " << url.toStdString();
    }
}

TEST(SitemapReader, BoundsUrlsAndInflatedSize)
{
    QByteArray many = "<urlset>";
    for (int i = 0; i < kMaxSitemapUrls + 10; ++i)
        many += "<url><loc>https://e.org/" + QByteArray::number(i) + "</loc></url>";
    many += "</urlset>";
    const SitemapContent set = ReadSitemap(many);
    EXPECT_EQ(set.pages.size(), kMaxSitemapUrls);
    EXPECT_FALSE(set.warning.isEmpty());

    // A gzip bomb: 60 MB of zeros in about 60 KB.
    const SitemapContent bomb = ReadSitemap(Gzip(QByteArray(60 * 1024 * 1024, ' ')));
    EXPECT_TRUE(bomb.pages.isEmpty());
    EXPECT_FALSE(bomb.warning.isEmpty());
}

TEST(SitemapReader, EntitiesDoNotExplode)
{
    const QByteArray laughs =
        "<?xml version=\"1.0\"?><!DOCTYPE urlset [<!ENTITY a \"aaaaaaaaaa\">"
        "<!ENTITY b \"&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;\"><!ENTITY c \"&b;&b;&b;&b;&b;&b;&b;&b;&b;&b;\">"
        "<!ENTITY d \"&c;&c;&c;&c;&c;&c;&c;&c;&c;&c;\"><!ENTITY e \"&d;&d;&d;&d;&d;&d;&d;&d;&d;&d;\">"
        "<!ENTITY f \"&e;&e;&e;&e;&e;&e;&e;&e;&e;&e;\"><!ENTITY g \"&f;&f;&f;&f;&f;&f;&f;&f;&f;&f;\">]>"
        "<urlset><url><loc>https://e.org/&g;</loc></url></urlset>";
    const SitemapContent set = ReadSitemap(laughs);
    EXPECT_TRUE(set.pages.isEmpty() || set.pages.first().size() < 100'000);
}

}  // namespace
}  // namespace lexicrawl
