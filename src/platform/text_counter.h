#pragma once
// A count per text in one flat table, for counting every word of every page
// of a crawl: the texts are copied once into one buffer, and each slot keeps
// the text's hash, where the text lies and its count side by side,
// so an increment reads one slot and compares one text, with no allocation
// once the text has been seen. A node-based map spends several cache misses
// and an allocation per new text on the same work.
//
// Thread-safety: none; a counter is used from one thread at a time.
#include <QString>
#include <QStringList>
#include <QStringView>

#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/text_hash.h"

namespace lexicrawl {

class TextCounter {
public:
    // Adds n (> 0) to the text's count.
    void Add(QStringView text, qint64 n = 1) { AddHashed(text, Hash(text), n); }
    // The same with the text's Hash, computed beforehand.
    void AddHashed(QStringView text, std::size_t hash, qint64 n = 1);
    std::size_t Hash(QStringView text) const { return hasher_(text); }
    // Adds 1 for each text of the list. Their hashes come first, so that
    // the slot of a text a few places ahead is already on its way from
    // memory while this one is counted: a large table's increments wait on
    // memory, not on arithmetic.
    void AddEach(const QStringList& texts);

    // The text's count; 0 when it was never added.
    qint64 Count(QStringView text) const;
    qsizetype size() const { return size_; }
    bool empty() const { return size_ == 0; }
    void clear();

    // Calls f(QStringView text, qint64 count) for each text, in no set order.
    template <typename F>
    void ForEach(F&& f) const
    {
        for (const Slot& slot : slots_) {
            if (slot.count > 0)
                f(QStringView(texts_.data() + slot.offset, qsizetype(slot.length)), slot.count);
        }
    }

private:
    struct Slot {
        std::uint64_t hash = 0;    // whole, so that growing hashes no text again
        std::uint64_t offset = 0;  // in texts_
        qint64 count = 0;          // 0: empty slot
        std::uint32_t length = 0;
    };
    const Slot* Find(QStringView text, std::size_t hash) const;
    void Grow();

    TextHasher hasher_;
    std::vector<Slot> slots_;   // a power of two in size, at most three quarters full
    std::vector<char16_t> texts_;
    qsizetype size_ = 0;
    std::vector<std::size_t> hashes_;  // AddEach's, kept for its capacity
};

}  // namespace lexicrawl
