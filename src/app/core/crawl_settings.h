#pragma once
// The crawl options as settings.ini holds them, so that every front end
// starts a crawl with the same values the window would: the scope, the
// limit, the time-outs, the agent, the ignore lists, the link options, the
// database location and the text mode. "Follow Redirects" is not stored: it
// is on.
#include <QString>

#include <optional>

#include "crawl/crawl_options.h"

namespace lexicrawl {

class Settings;

// What one crawl takes other than the stored values: the window's URL field
// and Follow Redirects box, the command line's arguments. An unset field
// keeps the stored value. A new crawl option gets its setting, a field here
// when a front end can set it for one crawl, and one line in
// CrawlOptionsFromSettings; both front ends then have it.
struct CrawlOverrides {
    std::optional<QString> startUrl;
    std::optional<bool> subdomainScope;
    std::optional<qint64> urlLimit;
    std::optional<QString> ignoreExtensions;
    std::optional<QString> ignoreUrls;  // CR LF between the masks
    std::optional<bool> removeAnchors;
    std::optional<bool> removeQueryString;
    std::optional<bool> stripHtmlMarkup;
    std::optional<bool> followRedirects;
    std::optional<QString> userAgent;
    std::optional<int> connectTimeoutMs;
    std::optional<int> readTimeoutMs;
    std::optional<int> connections;
    std::optional<int> delayMs;
    std::optional<DatabaseLocation> location;
    std::optional<TextMode> textMode;
    std::optional<bool> checkAltAndTitle;
    std::optional<bool> insecure;
    std::optional<bool> robots;
    std::optional<bool> sitemaps;
    std::optional<bool> documents;
    std::optional<bool> wordEvidence;  // see TextOptions; not a setting: on unless a front end turns it off
    std::optional<bool> render;
    std::optional<int> renderTimeoutMs;
    std::optional<QStringList> renderAllowedHosts;
};

// The one place where a crawl's options are built, for every front end: the
// stored settings with the overrides over them. The alt and title texts are
// checked only by the prose reading. Nothing, with the reason in *error, when
// a stored time-out that is not overridden is not a whole number ("'%1' is
// not a valid integer value").
std::optional<CrawlOptions> CrawlOptionsFromSettings(const Settings& settings, const CrawlOverrides& overrides,
                                                     QString* error);

}  // namespace lexicrawl
