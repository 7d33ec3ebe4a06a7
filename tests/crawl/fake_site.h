#pragma once
// A small website served from memory through the crawl's fetch function:
// each page has a status code and a body, or a redirect location. Unknown
// URLs answer as an unreachable host (-1).
#include <QMap>
#include <QMutex>
#include <QStringList>

#include <functional>

#include "crawl/fetch_function.h"

namespace lexicrawl::test {

struct FakePage {
    int status = 200;
    QString body;
    QString location;      // for a 3xx answer
    int busyAnswers = 0;   // answer 429 with a Retry-After this many times first
    qint64 retryAfterMs = 0;
    QByteArray bytes{};    // a body that is not text (the source is then empty)
};

class FakeSite {
public:
    void Add(const QString& url, const QString& body) { pages_[url] = FakePage{200, body, {}}; }
    // A body given as bytes, as a file that is not a page (a gzip sitemap).
    void AddBytes(const QString& url, const QByteArray& bytes)
    {
        pages_[url] = FakePage{200, {}, {}, 0, 0, bytes};
    }
    void AddStatus(const QString& url, int status) { pages_[url] = FakePage{status, {}, {}}; }
    void AddRedirect(const QString& url, int status, const QString& location)
    {
        pages_[url] = FakePage{status, {}, location};
    }
    // The page answers 429 with Retry-After: retryAfterMs, times times, before its body.
    void AddBusy(const QString& url, const QString& body, int times, qint64 retryAfterMs)
    {
        pages_[url] = FakePage{200, body, {}, times, retryAfterMs};
    }
    // Called on the fetching thread before the answer is given.
    using FetchHook = std::function<void(const QString& url, const FetchSettings& settings, const std::atomic<bool>* stop)>;
    void OnFetch(FetchHook f) { onFetch_ = std::move(f); }

    QStringList Fetched() const
    {
        QMutexLocker lock(&mutex_);
        return fetched_;
    }

    FetchFunction Function()
    {
        return [this](const QString& url, const FetchSettings& settings, const std::atomic<bool>* stop,
                      const StopHandler&) { return Fetch(url, settings, stop); };
    }

private:
    QString Fetch(const QString& url, const FetchSettings& settings, const std::atomic<bool>* stop)
    {
        {
            QMutexLocker lock(&mutex_);
            fetched_ << url;
        }
        FetcherState& state = ThisThreadFetcher();
        state.lastStatusCode = 0;
        state.retryAfterMs = -1;
        state.body.clear();
        state.notText = false;
        if (onFetch_)
            onFetch_(url, settings, stop);
        if (stop && stop->load()) {
            state.lastStatusCode = -1;
            return QString();
        }
        QMutexLocker lock(&mutex_);
        const auto it = pages_.find(url);
        if (it == pages_.end()) {
            state.lastStatusCode = -1;
            return QString();
        }
        if (it->busyAnswers > 0) {
            --it->busyAnswers;
            state.lastStatusCode = 429;
            state.retryAfterMs = it->retryAfterMs;
            state.lastFetchError = QStringLiteral("HTTP/1.1 429 Too Many Requests");
            return QString();
        }
        state.lastStatusCode = it->status;
        if (!it->location.isEmpty()) {
            state.redirectTarget = it->location;
            return QString();
        }
        if (it->status / 100 != 2)
            return QString();
        if (settings.keepBody || (settings.keepDocuments && !it->bytes.isEmpty()))
            state.body = it->bytes.isEmpty() ? it->body.toUtf8() : it->bytes;
        state.notText = !it->bytes.isEmpty();
        return it->body;
    }

    QMap<QString, FakePage> pages_;
    FetchHook onFetch_;
    mutable QMutex mutex_;
    QStringList fetched_;
};

}  // namespace lexicrawl::test
