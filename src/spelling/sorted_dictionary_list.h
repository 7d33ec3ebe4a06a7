#pragma once
// An owning list of dictionaries kept sorted by a key text, compared with the
// user's locale collation without regard to case.
//
// Thread-safety: none.
#include <QCollator>
#include <QLocale>
#include <QString>

#include <algorithm>
#include <memory>
#include <utility>
#include <vector>

namespace lexicrawl {

// The collator for dictionary keys. The C locale has no case-insensitive
// collation, so it falls back to English rules.
inline QCollator DictionaryKeyCollator()
{
    const QLocale locale = QLocale().language() == QLocale::C
                               ? QLocale(QLocale::English, QLocale::UnitedStates)
                               : QLocale();
    QCollator collator(locale);
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    return collator;
}

template <class T>
class SortedDictionaryList {
public:
    SortedDictionaryList() : collator_(DictionaryKeyCollator()) {}

    int Count() const { return int(items_.size()); }
    T* At(int index) const
    {
        return index >= 0 && index < Count() ? items_[std::size_t(index)].second.get() : nullptr;
    }
    QString KeyAt(int index) const
    {
        return index >= 0 && index < Count() ? items_[std::size_t(index)].first : QString();
    }
    // Keys that collate equal keep the order in which they came.
    void Insert(const QString& key, std::unique_ptr<T> item)
    {
        auto at = std::upper_bound(items_.begin(), items_.end(), key,
                                   [this](const QString& k, const auto& entry) {
                                       return collator_.compare(k, entry.first) < 0;
                                   });
        items_.insert(at, {key, std::move(item)});
    }
    void RemoveAt(int index)
    {
        if (index >= 0 && index < Count())
            items_.erase(items_.begin() + index);
    }
    void Clear() { items_.clear(); }
    // Destroys the items before the list forgets them, in list order.
    void DestroyAll()
    {
        for (auto& entry : items_)
            entry.second.reset();
        items_.clear();
    }

private:
    QCollator collator_;
    std::vector<std::pair<QString, std::unique_ptr<T>>> items_;
};

}  // namespace lexicrawl
