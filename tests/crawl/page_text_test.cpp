// Line ends of fetched text, and the origin a redirect is joined to.
#include "crawl/fetcher.h"
#include "crawl/page_text.h"
#include "qstring_printer.h"

#include <curl/curl.h>
#include <gtest/gtest.h>

#include <QRegularExpression>

namespace lexicrawl {
namespace {

TEST(FetcherPageTextTest, NormalisesLineEndsAndCutsAtNul)
{
    const std::vector<std::pair<QString, QString>> cases = {
        {QString(), QString()},
        {QStringLiteral("a"), QStringLiteral("a\r\n")},
        {QStringLiteral("a\r\n"), QStringLiteral("a\r\n")},
        {QStringLiteral("\n"), QStringLiteral("\r\n")},
        {QStringLiteral("a\n\nb"), QStringLiteral("a\r\n\r\nb\r\n")},
        {QStringLiteral("a\rb\r\rc"), QStringLiteral("a\r\nb\r\n\r\nc\r\n")},
        {QStringLiteral("a\n\rb"), QStringLiteral("a\r\n\r\nb\r\n")},
        {QString::fromUtf16(u"ab\0cd", 5), QStringLiteral("ab\r\n")},
        {QString::fromUtf16(u"ab\r\0cd", 6), QStringLiteral("ab\r\n")},
        {QString::fromUtf16(u"\0ab", 3), QString()},
    };
    for (const auto& [text, expected] : cases)
        EXPECT_EQ(NormalisePageText(text), expected) << text.toStdString();
}

// The line ends are rewritten in the text's own buffer, from the back; every
// short mix of breaks must come out as a line-by-line rewrite gives it.
TEST(FetcherPageTextTest, InPlaceRewriteMatchesLineByLine)
{
    const char16_t alphabet[] = {u'a', u'\r', u'\n'};
    for (int length = 0; length <= 7; ++length) {
        int combinations = 1;
        for (int k = 0; k < length; ++k)
            combinations *= 3;
        for (int code = 0; code < combinations; ++code) {
            QString text;
            for (int k = 0, c = code; k < length; ++k, c /= 3)
                text += QChar(alphabet[c % 3]);
            QString expected;
            for (const QString& line : text.split(QRegularExpression(QStringLiteral("\r\n|\r|\n"))))
                expected += line + QStringLiteral("\r\n");
            if (text.endsWith(u'\r') || text.endsWith(u'\n') || text.isEmpty())
                expected.chop(2);
            ASSERT_EQ(NormalisePageText(text), expected) << text.toStdString();
        }
    }
}

TEST(FetcherOriginTest, KeepsProtocolAndAuthority)
{
    // The origin a "/..." redirect is joined to: a site on a port keeps it.
    const std::vector<std::pair<QString, QString>> cases = {
        {QStringLiteral("http://example.com/a/b?c#d"), QStringLiteral("http://example.com")},
        {QStringLiteral("https://user:pw@Example.com:8443/x"), QStringLiteral("https://user:pw@Example.com:8443")},
        {QStringLiteral("http://example.com?q=1"), QStringLiteral("http://example.com")},
        {QStringLiteral("http://example.com#top"), QStringLiteral("http://example.com")},
        {QStringLiteral("HTTP://example.com"), QStringLiteral("HTTP://example.com")},
        {QStringLiteral("http://[::1]:8080/x"), QStringLiteral("http://[::1]:8080")},
        {QStringLiteral("http://127.0.0.1:8080"), QStringLiteral("http://127.0.0.1:8080")},
        {QStringLiteral("http://a.com/p@q"), QStringLiteral("http://a.com")},
        {QStringLiteral("example.com/page"), QString()},
    };
    for (const auto& [url, origin] : cases)
        EXPECT_EQ(OriginOf(url), origin) << url.toStdString();
}

TEST(FetcherOriginTest, ClientLibraryAgentNamesLibcurlAndItsVersion)
{
    EXPECT_EQ(ClientLibraryAgent(),
              QStringLiteral("libcurl/") + QString::fromLatin1(curl_version_info(CURLVERSION_NOW)->version));
}

}  // namespace
}  // namespace lexicrawl
