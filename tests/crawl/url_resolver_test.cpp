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
        // root-relative: the source's port and user information are kept
        {u"/x", u"http://h:8080/a/b.html", u"http://h:8080/x"},
        {u"/x", u"http://u:p@h/a/b.html", u"http://u:p@h/x"},
        {u"../../../x", u"http://127.0.0.1:8080/a/b.html", u"http://127.0.0.1:8080/x"},
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
        {u"x", u"https://h:8443/", u"https://h:8443/x"},
        {u"x", u"https://h:8443", u"https://h:8443/x"},
        {u"x", u"https://h/d/", u"https://h/d/x"},
        // no usable source: unchanged
        {u"mailto:a@b.c", u"", u"mailto:a@b.c"},
        {u"x", u"ftp://h/a/", u"x"},
    });
}

TEST(CrawlUrlResolver, ReferencesResolveAsHttpResolvesALocation)
{
    const QString base = u"http://h:8080/a/b/page.html?q=1#f"_qs;
    const std::pair<QString, QString> cases[] = {
        {u"landing.html"_qs, u"http://h:8080/a/b/landing.html"_qs},
        {u"./landing.html"_qs, u"http://h:8080/a/b/landing.html"_qs},
        {u"../up.html"_qs, u"http://h:8080/a/up.html"_qs},
        {u"../../../../top.html"_qs, u"http://h:8080/top.html"_qs},
        {u"sub/../x.html?y=2"_qs, u"http://h:8080/a/b/x.html?y=2"_qs},
        {u"."_qs, u"http://h:8080/a/b/"_qs},
        {u".."_qs, u"http://h:8080/a/"_qs},
        {u"?other"_qs, u"http://h:8080/a/b/page.html?other"_qs},
        {u"#other"_qs, u"http://h:8080/a/b/page.html?q=1#other"_qs},
        {u"/abs/../p"_qs, u"http://h:8080/p"_qs},
        {u"//cdn.h/x"_qs, u"http://cdn.h/x"_qs},
        {u"https://other/x"_qs, u"https://other/x"_qs},
        {u"mailto:a@b.c"_qs, u"mailto:a@b.c"_qs},
        {u"a b/%41.html"_qs, u"http://h:8080/a/b/a b/%41.html"_qs},  // nothing is encoded or decoded
    };
    for (const auto& [reference, expected] : cases)
        EXPECT_EQ(ResolveReference(base, reference), expected) << reference.toStdString();
    EXPECT_EQ(ResolveReference(u"http://h"_qs, u"x.html"_qs), u"http://h/x.html"_qs);  // no path: the root
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
