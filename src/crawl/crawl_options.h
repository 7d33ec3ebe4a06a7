#pragma once
// The options a front end hands to Start, as typed values. The window builds
// them from its controls, the command line from settings.ini and its own
// arguments; the three link options are then kept live in CrawlState.
#include <QString>
#include <QStringList>

#include <optional>

#include "crawl/text_options.h"
#include "store/project_database.h"

namespace lexicrawl {

// Two requests at a time halve the wait for a remote site's round trips
// while asking little more of it than a browser does; more is the user's
// choice.
constexpr int kDefaultConnections = 2;
constexpr int kMaxConnections = 16;

struct CrawlOptions {
    QString startUrl;                 // as typed: Start normalises its scheme
    bool subdomainScope = false;      // "Subdomain Name" rather than "Domain Name"
    qint64 urlLimit = 50;             // maximum number of table entries
    QString ignoreExtensions;         // space-separated extensions
    QString ignoreUrls;               // the Ignore URLs text: one wildcard mask per line
    bool removeAnchors = true;
    bool removeQueryString = false;
    bool stripHtmlMarkup = true;
    bool followRedirects = true;      // take over the start URL's first redirect
    QString userAgent;                // taken untrimmed; empty sends none
    bool insecure = false;            // certificates not verified (test servers)
    int connectTimeoutMs = 10000;     // 0: the fetcher's own bound
    int readTimeoutMs = 10000;
    // Requests in flight at once (1: one page at a time); pages are still
    // taken in table order, so the results do not depend on it.
    int connections = kDefaultConnections;
    int delayMs = 0;                  // pause between the starts of two requests to one host
    DatabaseLocation location = DatabaseLocation::File;
    // Pages are rendered in a headless browser, and the crawl reads the
    // documents their scripts make; the fetch's own facts stay those of the
    // HTML as sent.
    bool render = false;
    int renderTimeoutMs = 0;          // a page's rendering bound; 0: the renderer's own
    QStringList renderAllowedHosts;   // other hosts a rendered page may ask, beside the site's
    TextOptions text;                 // how the pages' words are read (the recording, not the crawl, uses it)
    bool robots = false;              // obey each host's robots.txt (rules and Crawl-delay)
    bool sitemaps = false;            // add the pages the site's sitemaps list
    // Read the text of linked PDF, ODT and DOCX documents; their links are
    // taken even where Ignore Extensions names their extension.
    bool documents = false;
};

// The page limit a limit box's text gives: its whole number (64-bit), or 1
// when it is not one.
qint64 UrlLimitFromText(const QString& text);

// The milliseconds of a time-out box's text; nothing when the text is empty
// or not a 32-bit whole number (InvalidIntegerText then says why).
std::optional<int> TimeoutFromText(const QString& text);
QString InvalidIntegerText(const QString& text);

}  // namespace lexicrawl
