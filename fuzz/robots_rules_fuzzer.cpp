// Feeds arbitrary bytes to the robots.txt reader and asks the rules about
// paths taken from the same bytes: parsing and every answer must stay in
// bounds. A second run writes one rule and one path over a small alphabet
// and compares the matcher's answer with a plain recursive matcher.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "crawl/robots_rules.h"
#include "fuzz_input.h"

namespace {

// "*" is any run, a final "$" anchors; otherwise the rule is a prefix.
// Plain dynamic programming over (pattern, path) positions.
bool SlowMatch(const QByteArray& pattern, const QByteArray& path, bool anchored)
{
    const qsizetype m = pattern.size(), n = path.size();
    // matches[i][j]: pattern from i matches path from j
    std::vector<std::vector<char>> matches(size_t(m + 1), std::vector<char>(size_t(n + 1), 0));
    for (qsizetype j = 0; j <= n; ++j)
        matches[size_t(m)][size_t(j)] = !anchored || j == n;
    for (qsizetype i = m - 1; i >= 0; --i)
        for (qsizetype j = n; j >= 0; --j) {
            char& cell = matches[size_t(i)][size_t(j)];
            if (pattern[i] == '*')
                cell = matches[size_t(i + 1)][size_t(j)] || (j < n && matches[size_t(i)][size_t(j + 1)]);
            else
                cell = j < n && pattern[i] == path[j] && matches[size_t(i + 1)][size_t(j + 1)];
        }
    return matches[0][0];
}

void CheckMatcher(const uint8_t* data, size_t size)
{
    // Letters a and b, "/" and "*" only: nothing the reader re-encodes.
    static const char kAlphabet[] = "ab/*";
    QByteArray pattern = "/";
    QByteArray path = "/";
    size_t i = 0;
    for (; i < size && i < 12 && data[i] != 0xff; ++i)
        pattern.append(kAlphabet[data[i] & 3]);
    const bool anchored = i < size && data[i] == 0xff && (size - i) % 2 == 0;
    for (++i; i < size && path.size() < 24; ++i)
        path.append(kAlphabet[data[i] & 1 ? 1 : (data[i] & 2 ? 0 : 2)]);
    const QByteArray rule = pattern + (anchored ? "$" : "");
    const auto rules = lexicrawl::RobotsRules::Parse("User-agent: *\nDisallow: " + rule + "\n", "lexicrawl");
    const bool expected = !SlowMatch(pattern, path, anchored);
    FUZZ_CHECK(rules.Allows(QString::fromLatin1(path)) == expected);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    using namespace lexicrawl;
    const QByteArray text(reinterpret_cast<const char*>(data), qsizetype(size));
    const RobotsRules rules = RobotsRules::Parse(text, QStringLiteral("Mozilla/5.0 (compatible; Lexicrawl/1.0)"));
    FUZZ_CHECK(rules.CrawlDelayMs() >= 0 && rules.CrawlDelayMs() <= 60'000);
    FUZZ_CHECK(rules.Allows(QStringLiteral("/robots.txt")));
    for (const QString& sitemap : rules.Sitemaps())
        FUZZ_CHECK(!sitemap.isEmpty());

    // The file's own lines as URLs and paths: they hold what its rules match.
    int asked = 0;
    for (const QByteArray& line : text.split('\n')) {
        if (++asked > 64)
            break;
        const QString url = QString::fromUtf8(line);
        const QString path = RobotsRules::PathOf(url);
        FUZZ_CHECK(!path.isEmpty());
        rules.Allows(path);
        rules.Allows(url);
    }
    CheckMatcher(data, size);
    return 0;
}
