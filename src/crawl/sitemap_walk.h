#pragma once
// Reads a site's sitemaps, following sitemap index files, within bounds a
// crawl can afford: how many files, how deep index files nest, how many
// page URLs in all and how long it may take. A sitemap that cannot be
// fetched or read gives a warning and the walk goes on with the others;
// a missing /sitemap.xml (an answer 404 or 410) is no warning, since most
// sites have none.
//
// Thread-safety: runs on the calling thread (the collector's).
#include <QString>
#include <QStringList>

#include <atomic>

#include "crawl/robots_gate.h"

namespace lexicrawl {

struct SitemapBounds {
    int maxFiles = 50;
    int maxDepth = 2;  // an index may name sitemaps, which may not name further ones
    qsizetype maxUrls = 50'000;
    qint64 maxMilliseconds = 60'000;
};

struct SitemapPages {
    QStringList pages;     // in the order the files list them, each once
    QStringList warnings;  // one per file that failed or was cut, and one when a bound was reached
};

// Walks the sitemaps starting from named (robots.txt's Sitemap lines), then
// guessed (the site's /sitemap.xml); each file is fetched at most once.
SitemapPages WalkSitemaps(const QStringList& named, const QString& guessed, const BodyFetch& fetch,
                          const SitemapBounds& bounds, const std::atomic<bool>* stop);

}  // namespace lexicrawl
