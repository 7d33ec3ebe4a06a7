#include <gtest/gtest.h>

#include "test_printers.h"

#include "crawl/url_text.h"
#include "platform/escaped_bytes.h"

using namespace lexicrawl;

namespace {

struct HostCase {
    const char16_t* url;
    const char16_t* host;
    const char16_t* siteRoot;
};

TEST(CrawlUrlText, HostOfAndSiteRoot)
{
    const HostCase cases[] = {
        {u"http://www.example.com/a/b.html", u"www.example.com", u"http://www.example.com"},
        {u"https://Shop.Example.co.uk?x=1", u"Shop.Example.co.uk", u"https://Shop.Example.co.uk"},
        {u"http://h#frag", u"h", u"http://h"},
        // The site root keeps the port and user information, so that a site
        // served on a port keeps it in root-relative links.
        {u"http://user:pw@h:8080/p", u"h", u"http://user:pw@h:8080"},
        {u"http://a@b@h/p", u"h", u"http://a@b@h"},
        {u"http://[::1]:8080/p", u"::1", u"http://[::1]:8080"},
        {u"http://127.0.0.1:8080", u"127.0.0.1", u"http://127.0.0.1:8080"},
        {u"https://h/path?u=http://other/x", u"h", u"https://h"},
        {u"HTTP://h/p", u"h", u""},  // the scheme test of SiteRoot is case-sensitive
        {u"ftp://files.example.com/x", u"files.example.com", u""},
        {u"mailto:someone@example.com", u"", u""},
        {u"page.html", u"", u""},
        {u"http://", u"", u"http://"},
    };
    for (const HostCase& c : cases) {
        const QString url = QString::fromUtf16(c.url);
        EXPECT_EQ(HostOf(url), QString::fromUtf16(c.host)) << url.toStdString();
        EXPECT_EQ(SiteRoot(url), QString::fromUtf16(c.siteRoot)) << url.toStdString();
        // The same-host scope compares the host alone, for http and https URLs.
        EXPECT_EQ(ScopeHost(url), c.siteRoot[0] ? QString::fromUtf16(c.host) : QString()) << url.toStdString();
    }
}

TEST(CrawlUrlText, StripSchemeIgnoresCaseUrlLengthDoesNot)
{
    EXPECT_EQ(StripScheme(u"http://h/p"_qs), u"h/p"_qs);
    EXPECT_EQ(StripScheme(u"HTTPS://h/p"_qs), u"h/p"_qs);
    EXPECT_EQ(StripScheme(u"ftp://h/p"_qs), u"ftp://h/p"_qs);
    EXPECT_EQ(UrlLength(u"http://h/p"_qs), 3);
    EXPECT_EQ(UrlLength(u"https://h/p"_qs), 3);
    EXPECT_EQ(UrlLength(u"HTTP://h/p"_qs), 10);
    EXPECT_EQ(UrlLength(u"http://h/\u00e9\U0001F600"_qs), 5);  // UTF-16 code units
}

TEST(CrawlUrlText, DomainOf)
{
    const std::pair<const char16_t*, const char16_t*> cases[] = {
        {u"http://www.example.com/", u"example.com"},
        {u"http://shop.example.co.uk/", u"example.co.uk"},
        {u"http://WWW.Example.COM/", u"Example.COM"},  // the host's own case
        {u"http://example.com", u"example.com"},
        {u"http://blog.my-site.org:8080/", u"my-site.org"},
        {u"http://www.example.website/", u""},  // last label longer than six letters
        {u"http://192.168.1.10/", u""},
        {u"http://x.com/", u""},  // a one-character name label
        {u"http://www.x.com/", u"www.x.com"},  // ... unless a label before it fits the pattern
        {u"mailto:someone@example.com", u""},
        {u"http://a.b.c.d.example.info/", u"example.info"},
    };
    for (const auto& [url, domain] : cases)
        EXPECT_EQ(DomainOf(QString::fromUtf16(url)), QString::fromUtf16(domain)) << QString::fromUtf16(url).toStdString();
}

// Form encoding of a value (the feedback form's fields): reserved and
// non-ASCII characters escaped as UTF-8, a space as "+".
TEST(CrawlUrlText, FormEncodeEscapesWhatAFormValueCannotHold)
{
    EXPECT_EQ(FormEncode(u"http://a.test/x y?q=\u00e4&b=1!"_qs), u"http%3A%2F%2Fa.test%2Fx+y%3Fq%3D%C3%A4%26b%3D1!"_qs);
}

TEST(CrawlUrlText, StripTags)
{
    EXPECT_EQ(StripTags(u"<img src=x.png> Home <b>page</b>"_qs), u" Home page"_qs);
    EXPECT_EQ(StripTags(u"a < b"_qs), u"a "_qs);  // an unclosed "<" removes the rest
    EXPECT_EQ(StripTags(u"a > b"_qs), u"a > b"_qs);
    EXPECT_EQ(StripTags(QString()), QString());
}

// A link names the address the page wrote, byte for byte: tabs and line
// breaks go (as browsers drop them), other controls and undecodable bytes
// are percent-encoded, everything else stays as written.
TEST(CrawlUrlText, LinkAddressTextKeepsTheBytesOfTheLink)
{
    QString escaped = u"/caf"_qs;
    escaped += EscapedByte(0xE9);
    escaped += EscapedByte(0x80);
    QString controls = u"/a"_qs;
    controls += QChar(u'\0');
    controls += u"b\x7F c"_qs;
    const std::vector<std::pair<QString, QString>> cases = {
        {u"/plain/page.html?q=1#top"_qs, u"/plain/page.html?q=1#top"_qs},
        {u"/caf\u00E9 and %E9"_qs, u"/caf\u00E9 and %E9"_qs},
        {escaped, u"/caf%E9%80"_qs},
        {u"/split\r\n\tpage"_qs, u"/splitpage"_qs},
        {controls, u"/a%00b%7F c"_qs},
    };
    for (const auto& [link, address] : cases)
        EXPECT_EQ(LinkAddressText(link), address) << link.toStdString();
}

}  // namespace
