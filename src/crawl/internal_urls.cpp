#include "crawl/internal_urls.h"

#include "crawl/url_text.h"

namespace lexicrawl {

bool VisitFailed(const InternalUrl& entry)
{
    if (!entry.visited)
        return false;
    if (entry.statusCode < 0 || entry.statusCode >= 400)
        return true;
    // A 2xx answer whose body broke off carries the failure's text.
    return entry.statusCode >= 200 && entry.statusCode <= 299 && !entry.fetchError.isEmpty();
}

qsizetype InternalUrls::Count() const
{
    QMutexLocker lock(&mutex_);
    return qsizetype(entries_.size());
}

InternalUrl InternalUrls::At(qsizetype index) const
{
    QMutexLocker lock(&mutex_);
    if (index < 0 || index >= qsizetype(entries_.size()))
        return {};
    return entries_[size_t(index)];
}

std::vector<InternalUrl> InternalUrls::Snapshot() const
{
    QMutexLocker lock(&mutex_);
    return entries_;
}

bool InternalUrls::Contains(const QString& page) const
{
    QMutexLocker lock(&mutex_);
    return pages_.find(QStringView(page)) != pages_.end();
}

qsizetype InternalUrls::Append(const QString& page)
{
    InternalUrl entry;
    entry.page = page;
    entry.urlLength = UrlLength(page);
    QMutexLocker lock(&mutex_);
    pages_.insert(page);
    entries_.push_back(std::move(entry));
    return qsizetype(entries_.size());
}

void InternalUrls::SetVisit(qsizetype index, qint64 loadTimeNs, int statusCode, const QString& fetchError)
{
    QMutexLocker lock(&mutex_);
    if (index < 0 || index >= qsizetype(entries_.size()))
        return;
    InternalUrl& entry = entries_[size_t(index)];
    entry.visited = true;
    entry.loadTimeNs = loadTimeNs;
    entry.statusCode = statusCode;
    entry.fetchError = fetchError;
}

void InternalUrls::SetNote(qsizetype index, const QString& note)
{
    QMutexLocker lock(&mutex_);
    if (index >= 0 && index < qsizetype(entries_.size()))
        entries_[size_t(index)].note = note;
}

void InternalUrls::Clear()
{
    QMutexLocker lock(&mutex_);
    entries_.clear();
    pages_.clear();
}

}  // namespace lexicrawl
