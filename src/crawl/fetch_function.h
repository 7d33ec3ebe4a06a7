#pragma once
// The page fetch the crawl uses, injectable so that tests can serve pages
// without a network. It has FetchPage's signature and contract: the result
// text, with the status code and redirect target left in
// ThisThreadFetcher() of the calling thread.
#include <functional>

#include "crawl/fetcher.h"

namespace lexicrawl {

using FetchFunction = std::function<QString(const QString& url, const FetchSettings& settings,
                                            const std::atomic<bool>* stopRequested, const StopHandler& onStop)>;

}  // namespace lexicrawl
