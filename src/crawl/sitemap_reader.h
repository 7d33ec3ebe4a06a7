#pragma once
// Reads one sitemap file as the sitemaps protocol writes it: a <urlset> of
// <url><loc> entries, a <sitemapindex> of <sitemap><loc> entries, or a plain
// text file of one URL a line; gzip-compressed or not. A sitemap may cost
// at most what the protocol allows one file (50,000 URLs, 50 MB
// uncompressed): past that, or past a damaged byte, it is cut and a warning
// says why, but what was read before stays (a text file's last line, which
// may be half a URL, excepted).
//
// Thread-safety: a pure function; any thread may call it.
#include <QByteArray>
#include <QString>
#include <QStringList>

namespace lexicrawl {

struct SitemapContent {
    QStringList pages;     // the page URLs of a <urlset> or a text sitemap, in file order
    QStringList sitemaps;  // the sitemap URLs of a <sitemapindex>, in file order
    QString warning;       // why the file was cut or could not be read; empty when whole
};

constexpr qsizetype kMaxSitemapBytes = 50 * 1024 * 1024;  // uncompressed
constexpr qsizetype kMaxSitemapUrls = 50'000;

// body as it came from the server; gzip data (by its magic bytes) is
// inflated first.
SitemapContent ReadSitemap(const QByteArray& body);

// Inflates gzip data up to limit bytes; false (and out holding what came
// before) when the data is damaged or longer.
bool InflateGzip(const QByteArray& data, qsizetype limit, QByteArray* out);

}  // namespace lexicrawl
