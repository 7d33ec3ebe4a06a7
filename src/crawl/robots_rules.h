#pragma once
// The rules of a site's robots.txt for one crawler, read as the robots
// exclusion standard (RFC 9309) says: the groups whose user-agent lines name
// the crawler are merged, else the groups for "*"; a path is allowed unless
// the longest matching rule is a Disallow (an Allow wins over a Disallow of
// the same length); "*" in a rule matches any run of characters and a final
// "$" anchors it at the end of the path. Crawl-delay, which the standard
// leaves out, is read from the same groups. Sitemap lines are kept whatever
// group they stand in.
//
// Thread-safety: a parsed RobotsRules is immutable; any thread may ask it.
#include <QByteArray>
#include <QString>
#include <QStringList>

#include <vector>

namespace lexicrawl {

class RobotsRules {
public:
    // Only the first MaxBytes of a robots.txt are read; the standard asks
    // crawlers to read at least 500 KiB.
    static constexpr qsizetype MaxBytes = 512 * 1024;

    // Everything is allowed (no robots.txt, or one that could not be found).
    RobotsRules() = default;
    // Nothing but /robots.txt is allowed: what a crawler must assume when the
    // file cannot be read because of a server or network error.
    static RobotsRules DisallowAll();

    // Parses text for the crawler that calls itself userAgent (a whole
    // User-Agent header or a product token): a group applies when its
    // user-agent value, compared without regard to case, is "lexicrawl" or
    // stands in userAgent as a whole token.
    static RobotsRules Parse(const QByteArray& text, const QString& userAgent);

    // Whether the path and query of a URL ("/a/b?c", "/" for an empty path)
    // may be fetched.
    bool Allows(const QString& pathAndQuery) const;
    // The path and query of url (everything from the first "/" after the
    // authority), "/" when it has none; the fragment is left out.
    static QString PathOf(const QString& url);

    // The crawl delay in milliseconds that the applying groups ask for; 0
    // without one.
    int CrawlDelayMs() const { return crawlDelayMs_; }
    // The Sitemap lines, as written.
    const QStringList& Sitemaps() const { return sitemaps_; }

private:
    struct Rule {
        QByteArray pattern;  // normalised: percent-encoded where it must be
        bool allow = false;
    };

    static bool Matches(const QByteArray& pattern, const QByteArray& path);

    std::vector<Rule> rules_;
    bool disallowAll_ = false;
    int crawlDelayMs_ = 0;
    QStringList sitemaps_;
};

}  // namespace lexicrawl
