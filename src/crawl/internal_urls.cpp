#include "crawl/internal_urls.h"

namespace lexicrawl {

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
    return pages_.contains(page);
}

qsizetype InternalUrls::Append(InternalUrl entry)
{
    QMutexLocker lock(&mutex_);
    pages_.insert(entry.page);
    entries_.push_back(std::move(entry));
    return qsizetype(entries_.size());
}

void InternalUrls::SetVisit(qsizetype index, const QString& time, const QString& response)
{
    QMutexLocker lock(&mutex_);
    if (index < 0 || index >= qsizetype(entries_.size()))
        return;
    entries_[size_t(index)].time = time;
    entries_[size_t(index)].response = response;
}

void InternalUrls::Clear()
{
    QMutexLocker lock(&mutex_);
    entries_.clear();
    pages_.clear();
}

}  // namespace lexicrawl
