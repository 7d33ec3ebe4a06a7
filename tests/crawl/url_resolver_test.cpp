#include <gtest/gtest.h>

#include "test_printers.h"

#include "crawl/url_resolver.h"

using namespace lexicrawl;

namespace {

struct Case {
    const char16_t* link;
    const char16_t* base;
    const char16_t* expected;
};

void Check(QString (*fn)(const QString&, const QString&), std::initializer_list<Case> cases)
{
    for (const Case& c : cases) {
        const QString link = QString::fromUtf16(c.link), base = QString::fromUtf16(c.base);
        EXPECT_EQ(fn(link, base), QString::fromUtf16(c.expected))
            << "link '" << link.toStdString() << "' base '" << base.toStdString() << "'";
    }
}

TEST(CrawlUrlResolver, ResolveParentPathNeverClimbsAboveTheRoot)
{
    Check(ResolveParentPath, {
        {u"../x.html", u"http://h/a/b/page.html", u"http://h/a/x.html"},
        {u"../../x.html", u"http://h/a/b/page.html", u"http://h/x.html"},
        {u"../../../x.html", u"http://h/a/b/page.html", u"http://h/x.html"},
        {u"../x", u"http://h/a/b/", u"http://h/a/x"},
        {u"..", u"http://h/a/b/page.html", u"http://h/a/"},
        {u"../x", u"https://h", u"https://h/x"},
        {u"../x", u"", u"x"},
        {u"x", u"http://h/a/", u"http://h/a/x"},  // no leading "..": base + link
    });
}

TEST(CrawlUrlResolver, ResolveAgainstSourceRules)
{
    Check(ResolveAgainstSource, {
        // root-relative: the port and user information of the source are dropped
        {u"/x", u"http://h:8080/a/b.html", u"http://h/x"},
        {u"//", u"http://h/a/b.html", u"http://h//"},
        {u".", u"http://h/a/b.html", u"http://h/a/"},
        {u"..", u"http://h/a/b/c.html", u"http://h/a/"},
        {u"../../x", u"http://h/a/b/c.html", u"http://h/x"},
        {u"../x", u"http://h/a/b/c.html", u"http://h/a/x"},
        {u"./x", u"http://h/a/b.html", u"http://h/a/x"},
        {u"http://other/p", u"http://h/a/b.html", u"http://other/p"},
        {u"https://other/p", u"http://h/", u"https://other/p"},
        // everything else joins the source page's directory
        {u"page.html", u"http://h/a/b.html", u"http://h/a/page.html"},
        {u"", u"http://h/a/b.html", u"http://h/a/"},
        {u"?q=1", u"http://h/a/b.html", u"http://h/a/?q=1"},
        {u"#top", u"http://h/a/b.html", u"http://h/a/#top"},
        {u"tel:+123", u"http://h/a/b.html", u"http://h/a/tel:+123"},
        {u"HTTP://h/x", u"http://h/a/b.html", u"http://h/a/HTTP://h/x"},
        {u"JavaScript:void(0)", u"https://h/a/b.html", u"https://h/a/JavaScript:void(0)"},
        // a source of scheme and host only, with or without "/", is the root
        {u"x", u"http://h", u"http://h/x"},
        {u"x", u"http://h/", u"http://h/x"},
        {u"x", u"https://h:8443/", u"https://h/x"},
        {u"x", u"https://h/d/", u"https://h/d/x"},
        // no usable source: unchanged
        {u"mailto:a@b.c", u"", u"mailto:a@b.c"},
        {u"x", u"ftp://h/a/", u"x"},
    });
}

TEST(CrawlUrlResolver, ProtocolRelative)
{
    Check(ApplyProtocolRelative, {
        {u"//cdn.h/x", u"https://h/", u"https://cdn.h/x"},
        {u"//cdn.h/x", u"http://h/", u"http://cdn.h/x"},
        {u"//cdn.h/x", u"HTTPS://h/", u"http://cdn.h/x"},
        {u"//cdn.h/x", u"", u"http://cdn.h/x"},
        {u"//", u"https://h/", u"//"},
        {u"/x", u"https://h/", u"/x"},
    });
}

}  // namespace
