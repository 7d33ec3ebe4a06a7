#include "crawl/robots_rules.h"

#include <gtest/gtest.h>

namespace lexicrawl {
namespace {

constexpr char kUserAgent[] = "Mozilla/5.0 (compatible; Lexicrawl/1.0)";

struct PathCase {
    const char* robots;
    const char* path;
    bool allowed;
};

// Each row: a robots.txt, a path, and whether the crawler may fetch it.
TEST(RobotsRules, DecidesByTheLongestMatchingRule)
{
    const PathCase cases[] = {
        {"User-agent: *\nDisallow: /private\n", "/private/a.html", false},
        {"User-agent: *\nDisallow: /private\n", "/privateer", false},  // a prefix, not a folder
        {"User-agent: *\nDisallow: /private/\n", "/private", true},
        {"User-agent: *\nDisallow:\n", "/anything", true},  // an empty Disallow is no rule
        {"User-agent: *\nDisallow: /\nAllow: /docs/\n", "/docs/a.html", true},
        {"User-agent: *\nDisallow: /\nAllow: /docs/\n", "/blog/", false},
        {"User-agent: *\nAllow: /page\nDisallow: /page\n", "/page", true},  // Allow wins a tie
        {"User-agent: *\nDisallow: /page\nAllow: /page\n", "/page", true},
        {"User-agent: *\nDisallow: /a/*.pdf$\n", "/a/b/c.pdf", false},
        {"User-agent: *\nDisallow: /a/*.pdf$\n", "/a/b/c.pdf?x=1", true},  // "$" ends the path
        {"User-agent: *\nDisallow: /*?\n", "/list?page=2", false},
        {"User-agent: *\nDisallow: /*?\n", "/list", true},
        {"User-agent: *\nDisallow: /*/edit\nAllow: /wiki/*/edit/help\n", "/wiki/x/edit/help", true},
        {"User-agent: *\nDisallow: /a*b*c\n", "/acb", true},
        {"User-agent: *\nDisallow: /a*b*c\n", "/abxc", false},
        {"User-agent: *\nDisallow: /a*ab$\n", "/aab", false},
        {"User-agent: *\nDisallow: /ab*ba$\n", "/aba", true},  // the pieces may not overlap
        {"User-agent: *\nDisallow: /*a*a$\n", "/a", true},
        {"User-agent: *\nDisallow: /x**y\n", "/xy", false},
        {"User-agent: *\nDisallow: /x*\n", "/x", false},
        {"User-agent: *\nDisallow: *\n", "/", false},
        {"User-agent: *\nDisallow: /\n", "/robots.txt", true},  // always readable
        {"User-agent: *\nDisallow: /caf%C3%A9\n", "/café/menu", false},  // non-ASCII encoded
        {"User-agent: *\nDisallow: /%7Euser\n", "/~user/home", false},  // unreserved decoded
        {"User-agent: *\nDisallow: /a%2fb\n", "/a%2Fb", false},  // escape case ignored
        {"User-agent: *\nDisallow: /a%2Fb\n", "/a/b", true},  // an encoded "/" stays encoded
        {"# comment only\nDisallow: /\n", "/x", true},  // a rule before any user-agent line
        {"User-agent: *\r\nDisallow: /x # trailing comment\r\n", "/x/y", false},
        {"USER-AGENT: *\nDISALLOW: /x\n", "/x", false},  // keys in any case
    };
    for (const PathCase& c : cases) {
        const RobotsRules rules = RobotsRules::Parse(c.robots, kUserAgent);
        EXPECT_EQ(rules.Allows(QString::fromUtf8(c.path)), c.allowed) << c.robots << " for " << c.path;
    }
}

TEST(RobotsRules, TakesTheCrawlersOwnGroupsOverTheStarGroup)
{
    const QByteArray robots =
        "User-agent: *\nDisallow: /\n\n"
        "User-agent: otherbot\nUser-agent: LEXICRAWL\nDisallow: /drafts/\n\n"
        "User-agent: lexicrawl\nAllow: /drafts/public\nCrawl-delay: 2.5\n";
    const RobotsRules own = RobotsRules::Parse(robots, kUserAgent);
    EXPECT_TRUE(own.Allows("/"));
    EXPECT_FALSE(own.Allows("/drafts/x"));
    EXPECT_TRUE(own.Allows("/drafts/public/y"));  // both groups merged
    EXPECT_EQ(own.CrawlDelayMs(), 2500);

    // A crawler sending another product's agent follows that product's rules.
    const RobotsRules asOther = RobotsRules::Parse(robots, "Mozilla/5.0 (compatible; OtherBot/2.1)");
    EXPECT_FALSE(asOther.Allows("/drafts/x"));
    EXPECT_TRUE(asOther.Allows("/"));

    // Groups for this crawler apply whatever agent it sends; "*" only when
    // no group names it.
    const RobotsRules browser = RobotsRules::Parse(robots, "Mozilla/5.0 Chrome/87.0");
    EXPECT_TRUE(browser.Allows("/drafts/public/y"));
    const RobotsRules star =
        RobotsRules::Parse("User-agent: *\nDisallow: /\n\nUser-agent: otherbot\nAllow: /\n", "Mozilla/5.0 Chrome/87.0");
    EXPECT_FALSE(star.Allows("/"));
    EXPECT_EQ(star.CrawlDelayMs(), 0);
}

TEST(RobotsRules, KeepsSitemapsAndBoundsTheDelay)
{
    const RobotsRules rules = RobotsRules::Parse(
        "Sitemap: https://example.org/a.xml\nUser-agent: *\nSitemap: https://example.org/b.xml.gz\n"
        "Disallow: /x\nCrawl-delay: 86400\n",
        kUserAgent);
    EXPECT_EQ(rules.Sitemaps(), QStringList({"https://example.org/a.xml", "https://example.org/b.xml.gz"}));
    EXPECT_FALSE(rules.Allows("/x"));  // a Sitemap line does not end the group
    EXPECT_EQ(rules.CrawlDelayMs(), 60'000);
}

// Each row: a robots.txt as sites really write them, a path, and whether
// the crawler may fetch it.
TEST(RobotsRules, ReadsFilesAsSitesWriteThem)
{
    const PathCase cases[] = {
        // A byte-order mark before the first line.
        {"\xEF\xBB\xBFUser-agent: *\nDisallow: /x\n", "/x", false},
        {"\xEF\xBB\xBFUser-agent: *\r\nDisallow: /x\r\n", "/x", false},
        // Line ends: CR LF, and CR alone.
        {"User-agent: *\r\nDisallow: /x\r\nAllow: /x/open\r\n", "/x/open/a", true},
        {"User-agent: *\rDisallow: /x\rAllow: /x/open\r", "/x/closed", false},
        {"User-agent: *\rDisallow: /x\rAllow: /x/open\r", "/x/open", true},
        // Blank lines and comments inside a group do not end it.
        {"User-agent: *\n\nDisallow: /x\n", "/x", false},
        {"User-agent: lexicrawl\n# drafts\n\nDisallow: /drafts\n\nUser-agent: *\nDisallow: /\n", "/drafts/a", false},
        {"User-agent: lexicrawl\n# drafts\n\nDisallow: /drafts\n\nUser-agent: *\nDisallow: /\n", "/a", true},
        // A user-agent line after rules starts a new group.
        {"User-agent: other\nDisallow: /\nUser-agent: *\nDisallow: /y\n", "/x", true},
        // Spaces around the colon, tabs, a key without a value.
        {"User-agent:*\nDisallow :\t/x\t\n", "/x", false},
        {"User-agent: *\nDisallow:\nDisallow: /x\n", "/x", false},
    };
    for (const PathCase& c : cases) {
        const RobotsRules rules = RobotsRules::Parse(c.robots, kUserAgent);
        EXPECT_EQ(rules.Allows(QString::fromUtf8(c.path)), c.allowed) << c.robots << " for " << c.path;
    }
    const RobotsRules marked = RobotsRules::Parse("\xEF\xBB\xBFSitemap: /maps/a.xml\rSitemap: b.xml\r\n", kUserAgent);
    EXPECT_EQ(marked.Sitemaps(), QStringList({"/maps/a.xml", "b.xml"}));  // resolved by the crawl
}

TEST(RobotsRules, UnreadableFileAllowsOnlyItself)
{
    const RobotsRules none;
    EXPECT_TRUE(none.Allows("/anything"));
    const RobotsRules all = RobotsRules::DisallowAll();
    EXPECT_FALSE(all.Allows("/"));
    EXPECT_TRUE(all.Allows("/robots.txt"));
}

TEST(RobotsRules, ManyStarsStayCheap)
{
    // A hostile pattern costs about its length plus the path's.
    const QByteArray robots = "User-agent: *\nDisallow: /" + QByteArray(200, '*') + "x$\n";
    const RobotsRules rules = RobotsRules::Parse(robots, kUserAgent);
    EXPECT_TRUE(rules.Allows("/" + QString(5000, u'a')));
    EXPECT_FALSE(rules.Allows("/" + QString(5000, u'a') + "x"));
}

TEST(RobotsRules, PathOfUrl)
{
    const struct {
        const char* url;
        const char* path;
    } cases[] = {
        {"http://h/", "/"},
        {"http://h", "/"},
        {"http://h?q=1", "/?q=1"},
        {"https://u:p@h:8080/a/b?c=d#frag", "/a/b?c=d"},
        {"http://h/a#b", "/a"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(RobotsRules::PathOf(c.url), QString::fromLatin1(c.path)) << c.url;
}

}  // namespace
}  // namespace lexicrawl
