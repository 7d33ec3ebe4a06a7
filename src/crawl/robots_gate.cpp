#include "crawl/robots_gate.h"

#include "crawl/fetcher.h"

namespace lexicrawl {

namespace {

constexpr int kMaxRobotsRedirects = 5;

bool IsHttp(const QString& url)
{
    return url.startsWith(QLatin1String("http://"), Qt::CaseInsensitive) ||
           url.startsWith(QLatin1String("https://"), Qt::CaseInsensitive);
}

}  // namespace

RobotsRules LoadRobotsRules(const BodyFetch& fetch, const QString& origin, const QString& userAgent,
                            QString* warning)
{
    QString url = origin + QStringLiteral("/robots.txt");
    for (int redirects = 0;; ++redirects) {
        const PageFetch answer = fetch(url);
        if (answer.stopped)
            return RobotsRules();  // nothing more is fetched anyway
        if (!answer.redirectTarget.isEmpty() && redirects < kMaxRobotsRedirects && IsHttp(answer.redirectTarget)) {
            url = answer.redirectTarget;
            continue;
        }
        const int status = answer.statusCode;
        if (status >= 200 && status <= 299 && answer.fetchError.isEmpty())
            return RobotsRules::Parse(answer.body.left(RobotsRules::MaxBytes), userAgent);
        if (status >= 400 && status <= 499 && status != 429)
            return RobotsRules();
        if (warning)
            *warning = QStringLiteral("%1 could not be read (%2): nothing of %3 is crawled")
                           .arg(url,
                                !answer.fetchError.isEmpty() ? answer.fetchError
                                : !answer.redirectTarget.isEmpty()
                                    ? QStringLiteral("too many redirects")
                                    : QStringLiteral("status %1").arg(status),
                                origin);
        return RobotsRules::DisallowAll();
    }
}

bool RobotsGate::Knows(const QString& url) const
{
    return rules_.contains(OriginOf(url));
}

const RobotsRules& RobotsGate::RulesFor(const QString& url)
{
    const QString origin = OriginOf(url);
    auto it = rules_.find(origin);
    if (it == rules_.end())
        it = rules_.insert(origin, load_(origin));
    return *it;
}

bool RobotsGate::Allows(const QString& url)
{
    return RulesFor(url).Allows(RobotsRules::PathOf(url));
}

}  // namespace lexicrawl
