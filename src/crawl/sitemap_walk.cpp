#include "crawl/sitemap_walk.h"

#include <QElapsedTimer>
#include <QSet>

#include <deque>

#include "crawl/sitemap_reader.h"

namespace lexicrawl {

namespace {

bool IsHttp(const QString& url)
{
    return url.startsWith(QLatin1String("http://"), Qt::CaseInsensitive) ||
           url.startsWith(QLatin1String("https://"), Qt::CaseInsensitive);
}

bool IsMissing(const PageFetch& answer)
{
    return answer.statusCode == 404 || answer.statusCode == 410;
}

QString FailureText(const PageFetch& answer)
{
    if (!answer.fetchError.isEmpty())
        return answer.fetchError;
    if (!answer.redirectTarget.isEmpty())
        return QStringLiteral("redirected to %1").arg(answer.redirectTarget);
    return QStringLiteral("status %1").arg(answer.statusCode);
}

struct Pending {
    QString url;
    int depth = 0;
    bool named = false;  // named by robots.txt or an index: its absence is worth a warning
};

}  // namespace

SitemapPages WalkSitemaps(const QStringList& named, const QString& guessed, const BodyFetch& fetch,
                          const SitemapBounds& bounds, const std::atomic<bool>* stop)
{
    SitemapPages result;
    QSet<QString> seenFiles;
    QSet<QString> seenPages;
    std::deque<Pending> queue;
    for (const QString& url : named)
        queue.push_back({url.trimmed(), 0, true});
    if (!guessed.isEmpty())
        queue.push_back({guessed, 0, false});
    QElapsedTimer clock;
    clock.start();
    int files = 0;
    while (!queue.empty()) {
        if (stop && stop->load())
            break;
        const Pending file = queue.front();
        queue.pop_front();
        if (seenFiles.contains(file.url) || !IsHttp(file.url))
            continue;
        if (files >= bounds.maxFiles || clock.elapsed() >= bounds.maxMilliseconds) {
            result.warnings << (files >= bounds.maxFiles
                                    ? QStringLiteral("sitemaps: more than %1 files; the rest was left out").arg(bounds.maxFiles)
                                    : QStringLiteral("sitemaps: reading took longer than %1 s; the rest was left out")
                                          .arg(bounds.maxMilliseconds / 1000));
            break;
        }
        seenFiles.insert(file.url);
        ++files;
        const PageFetch answer = fetch(file.url);
        if (answer.stopped)
            break;
        if (answer.statusCode < 200 || answer.statusCode > 299 || !answer.fetchError.isEmpty()) {
            if (file.named || !IsMissing(answer))
                result.warnings << QStringLiteral("sitemap %1 could not be read: %2").arg(file.url, FailureText(answer));
            continue;
        }
        const SitemapContent content = ReadSitemap(answer.body);
        if (!content.warning.isEmpty())
            result.warnings << QStringLiteral("sitemap %1: %2").arg(file.url, content.warning);
        for (const QString& page : content.pages) {
            if (result.pages.size() >= bounds.maxUrls) {
                result.warnings << QStringLiteral("sitemaps: more than %1 page URLs; the rest was left out").arg(bounds.maxUrls);
                return result;
            }
            if (!seenPages.contains(page)) {
                seenPages.insert(page);
                result.pages << page;
            }
        }
        if (!content.sitemaps.isEmpty() && file.depth + 1 > bounds.maxDepth) {
            result.warnings << QStringLiteral("sitemap %1: sitemap index files nested deeper than %2; left out")
                                   .arg(file.url)
                                   .arg(bounds.maxDepth);
            continue;
        }
        for (const QString& sitemap : content.sitemaps)
            queue.push_back({sitemap, file.depth + 1, true});
    }
    return result;
}

}  // namespace lexicrawl
