#pragma once
// A set of words in one flat table: each slot holds a word's 64-bit hash
// and its place in a pool of characters, so that a lookup that misses (the
// usual answer for a candidate spelling) reads one slot and allocates
// nothing.
//
// Thread-safety: Insert from one thread; Contains from any number of
// threads once the set is filled.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace lexicrawl {

class WordSet {
public:
    void Reserve(std::size_t words);
    // Answers false when the word was there already.
    bool Insert(std::u16string_view word);
    bool Contains(std::u16string_view word) const;
    std::size_t Size() const { return size_; }

    static std::uint64_t Hash(std::u16string_view word);

private:
    struct Slot {
        std::uint64_t hash = 0;  // 0: empty
        std::uint32_t start = 0;
        std::uint32_t length = 0;
    };
    const Slot* Find(std::u16string_view word, std::uint64_t hash, std::size_t* at) const;
    void Grow();

    // One bit per hash value (modulo its size): most misses end here,
    // in a table small enough to stay in the cache.
    std::vector<std::uint64_t> filter_;
    std::vector<Slot> slots_;
    std::u16string pool_;
    std::size_t size_ = 0;
};

}  // namespace lexicrawl
