// Stands in for the page fetcher until it is part of the crawl library: every
// fetch fails as an unreachable host would.
#include "crawl/fetcher.h"

namespace lexicrawl {

FetcherState& ThisThreadFetcher()
{
    thread_local FetcherState state;
    return state;
}

QString FetchPage(const QString& url, const FetchSettings&, const std::atomic<bool>*, const StopHandler&)
{
    FetcherState& state = ThisThreadFetcher();
    state.FetchOrigin = ProtocolHost(url);
    state.LastStatusCode = -1;
    state.LastFetchError = QStringLiteral("No fetcher in this build");
    return QString();
}

QString ProtocolHost(const QString& url)
{
    const qsizetype sep = url.indexOf(QLatin1String("://"));
    if (sep < 0)
        return QString();
    qsizetype end = sep + 3;
    while (end < url.size() && url.at(end) != u'/' && url.at(end) != u'?' && url.at(end) != u'#')
        ++end;
    QString host = url.mid(sep + 3, end - sep - 3);
    host = host.mid(host.lastIndexOf(u'@') + 1);
    const qsizetype colon = host.indexOf(u':');
    return url.left(sep) + QStringLiteral("://") + (colon < 0 ? host : host.left(colon));
}

QString ClientLibraryAgent()
{
    return QStringLiteral("stub");
}

}  // namespace lexicrawl
