#include "spelling/verdict_store.h"

#include <algorithm>

#include "spelling/verdict_file.h"

namespace lexicrawl {

std::vector<std::optional<bool>> VerdictStore::Find(const QStringList& words)
{
    std::lock_guard<std::mutex> guard(lock_);
    std::vector<std::optional<bool>> out;
    out.reserve(size_t(words.size()));
    for (const QString& w : words) {
        const auto it = map_.find(QStringView(w));
        if (it == map_.end()) {
            out.push_back(std::nullopt);
            continue;
        }
        if (it->second.generation != generation_) {
            it->second.generation = generation_;
            dirty_ = dirty_ || !path_.isEmpty();
        }
        out.push_back(it->second.known);
    }
    return out;
}

void VerdictStore::Insert(const QStringList& words, const std::vector<bool>& known)
{
    std::lock_guard<std::mutex> guard(lock_);
    for (qsizetype i = 0; i < words.size(); ++i)
        map_.insert_or_assign(words[i], Verdict{known[size_t(i)], generation_});
    dirty_ = dirty_ || !words.isEmpty();
}

std::optional<bool> VerdictStore::Find(const QString& word)
{
    return Find(QStringList{word}).front();
}

void VerdictStore::Insert(const QString& word, bool known)
{
    Insert(QStringList{word}, std::vector<bool>{known});
}

void VerdictStore::EraseHolding(const QString& piece)
{
    std::lock_guard<std::mutex> guard(lock_);
    for (auto it = map_.begin(); it != map_.end();) {
        // Qt's case-blind search folds beyond A-Z: it may forget a verdict
        // too many, never one too few.
        if (it->first.contains(piece, Qt::CaseInsensitive)) {
            it = map_.erase(it);
            dirty_ = dirty_ || !path_.isEmpty();
        } else {
            ++it;
        }
    }
}

void VerdictStore::Clear()
{
    std::lock_guard<std::mutex> guard(lock_);
    map_.clear();
    path_.clear();
    key_.clear();
    dirty_ = false;
}

qsizetype VerdictStore::Size()
{
    std::lock_guard<std::mutex> guard(lock_);
    return map_.size();
}

bool VerdictStore::Open(const QString& path, const QByteArray& key)
{
    std::optional<std::vector<StoredVerdict>> stored = ReadVerdictFile(path, key);
    std::lock_guard<std::mutex> guard(lock_);
    path_ = path;
    key_ = key;
    if (!stored)
        return false;
    uint32_t newest = 0;
    for (const StoredVerdict& v : *stored) {
        newest = std::max(newest, v.generation);
        map_.try_emplace(v.word, Verdict{v.known, v.generation});
    }
    generation_ = newest + 1;
    return true;
}

bool VerdictStore::Save()
{
    std::vector<StoredVerdict> all;
    QString path;
    QByteArray key;
    {
        std::lock_guard<std::mutex> guard(lock_);
        if (path_.isEmpty())
            return false;
        if (!dirty_)
            return true;
        all.reserve(size_t(map_.size()));
        for (const auto& [word, verdict] : map_)
            all.push_back({word, verdict.known, verdict.generation});
        path = path_;
        key = key_;
        dirty_ = false;
    }
    // The most recently used verdicts stay when there are too many.
    if (qsizetype(all.size()) > kMaxStoredVerdicts) {
        std::nth_element(all.begin(), all.begin() + kMaxStoredVerdicts, all.end(),
                         [](const StoredVerdict& a, const StoredVerdict& b) { return a.generation > b.generation; });
        all.resize(size_t(kMaxStoredVerdicts));
    }
    if (WriteVerdictFile(path, key, all))
        return true;
    std::lock_guard<std::mutex> guard(lock_);
    dirty_ = true;
    return false;
}

}  // namespace lexicrawl
