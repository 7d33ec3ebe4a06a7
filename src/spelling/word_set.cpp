#include "spelling/word_set.h"

#include <cstring>

namespace lexicrawl {

std::uint64_t WordSet::Hash(std::u16string_view word)
{
    // Four characters at a time: a candidate spelling is hashed thousands
    // of times for one unknown word.
    std::uint64_t h = 0x9E3779B97F4A7C15ull ^ word.size();
    std::size_t i = 0;
    for (; i + 4 <= word.size(); i += 4) {
        std::uint64_t chunk;
        std::memcpy(&chunk, word.data() + i, sizeof chunk);
        h = (h ^ chunk) * 0xff51afd7ed558ccdull;
        h ^= h >> 32;
    }
    for (; i < word.size(); ++i)
        h = (h ^ word[i]) * 0x100000001b3ull;
    h ^= h >> 33;
    h *= 0xc4ceb9fe1a85ec53ull;
    h ^= h >> 33;
    return h == 0 ? 1 : h;
}

void WordSet::Reserve(std::size_t words)
{
    std::size_t capacity = 16;
    while (capacity < words * 2)
        capacity *= 2;
    if (capacity <= slots_.size())
        return;
    std::vector<Slot> old = std::move(slots_);
    slots_.assign(capacity, Slot{});
    for (const Slot& s : old) {
        if (s.hash == 0)
            continue;
        std::size_t at = s.hash & (slots_.size() - 1);
        while (slots_[at].hash != 0)
            at = (at + 1) & (slots_.size() - 1);
        slots_[at] = s;
    }
}

void WordSet::Grow()
{
    Reserve(slots_.empty() ? 8 : slots_.size());
}

const WordSet::Slot* WordSet::Find(std::u16string_view word, std::uint64_t hash, std::size_t* at) const
{
    const std::size_t mask = slots_.size() - 1;
    std::size_t i = hash & mask;
    for (;; i = (i + 1) & mask) {
        const Slot& s = slots_[i];
        if (s.hash == 0)
            break;
        if (s.hash == hash && s.length == word.size() &&
            std::u16string_view(pool_.data() + s.start, s.length) == word) {
            *at = i;
            return &s;
        }
    }
    *at = i;
    return nullptr;
}

namespace {
constexpr std::size_t kFilterWords = std::size_t(1) << 17;  // 2^23 bits
inline std::size_t FilterBit(std::uint64_t hash)
{
    return std::size_t(hash >> 40) & (kFilterWords * 64 - 1);
}
}  // namespace

bool WordSet::Insert(std::u16string_view word)
{
    if ((size_ + 1) * 2 > slots_.size())
        Grow();
    if (filter_.empty())
        filter_.assign(kFilterWords, 0);
    const std::uint64_t hash = Hash(word);
    filter_[FilterBit(hash) / 64] |= std::uint64_t(1) << (FilterBit(hash) % 64);
    std::size_t at = 0;
    if (Find(word, hash, &at))
        return false;
    slots_[at] = Slot{hash, std::uint32_t(pool_.size()), std::uint32_t(word.size())};
    pool_.append(word);
    ++size_;
    return true;
}

bool WordSet::Contains(std::u16string_view word) const
{
    if (slots_.empty())
        return false;
    const std::uint64_t hash = Hash(word);
    if (!(filter_[FilterBit(hash) / 64] & (std::uint64_t(1) << (FilterBit(hash) % 64))))
        return false;
    std::size_t at = 0;
    return Find(word, hash, &at) != nullptr;
}

}  // namespace lexicrawl
