#include "platform/text_counter.h"

#include <cstring>

namespace lexicrawl {

namespace {

constexpr std::size_t kFirstSlots = 1024;

}  // namespace

const TextCounter::Slot* TextCounter::Find(QStringView text, std::size_t hash) const
{
    if (slots_.empty())
        return nullptr;
    const std::size_t mask = slots_.size() - 1;
    for (std::size_t i = hash & mask;; i = (i + 1) & mask) {
        const Slot& slot = slots_[i];
        if (slot.count == 0)
            return &slot;
        if (slot.hash == hash && slot.length == std::size_t(text.size()) &&
            std::memcmp(texts_.data() + slot.offset, text.data(), slot.length * sizeof(char16_t)) == 0)
            return &slot;
    }
}

void TextCounter::AddHashed(QStringView text, std::size_t hash, qint64 n)
{
    if (n <= 0)
        return;
    if (std::size_t(size_ + 1) * 4 > slots_.size() * 3)
        Grow();
    Slot& slot = const_cast<Slot&>(*Find(text, hash));
    if (slot.count == 0) {
        slot.offset = texts_.size();
        slot.length = std::uint32_t(text.size());
        slot.hash = hash;
        texts_.insert(texts_.end(), text.utf16(), text.utf16() + text.size());
        ++size_;
    }
    slot.count += n;
}

void TextCounter::AddEach(const QStringList& texts)
{
    constexpr qsizetype kAhead = 8;
    const qsizetype n = texts.size();
    hashes_.resize(std::size_t(n));
    for (qsizetype i = 0; i < n; ++i)
        hashes_[std::size_t(i)] = Hash(texts.at(i));
    for (qsizetype i = 0; i < n; ++i) {
        if (i + kAhead < n && !slots_.empty())
            __builtin_prefetch(&slots_[hashes_[std::size_t(i + kAhead)] & (slots_.size() - 1)]);
        AddHashed(texts.at(i), hashes_[std::size_t(i)]);
    }
}

qint64 TextCounter::Count(QStringView text) const
{
    const Slot* slot = Find(text, Hash(text));
    return slot ? slot->count : 0;
}

void TextCounter::clear()
{
    slots_.clear();
    texts_.clear();
    size_ = 0;
}

// Each slot moves to where its hash leads in the larger table.
void TextCounter::Grow()
{
    std::vector<Slot> old = std::move(slots_);
    slots_.assign(old.empty() ? kFirstSlots : old.size() * 2, Slot());
    const std::size_t mask = slots_.size() - 1;
    for (const Slot& slot : old) {
        if (slot.count == 0)
            continue;
        std::size_t i = slot.hash & mask;
        while (slots_[i].count != 0)
            i = (i + 1) & mask;
        slots_[i] = slot;
    }
}

}  // namespace lexicrawl
