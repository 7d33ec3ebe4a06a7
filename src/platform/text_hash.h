#pragma once
// Hash sets and maps keyed by text, for the paths that hash every word of
// every page. Qt's own string hash (AES instructions on this platform) is
// quick alone but slows the string code around it: building a page's word
// set measured 217 ns a word with QSet<QString> and 29 ns with the plain
// multiply-and-fold hash below (bench/analysis, WordSet). The hash takes
// Qt's per-process seed, so which texts collide cannot be known from
// outside the process.
//
// The containers are transparent: find() and contains() take a QStringView,
// so a word read into a buffer is looked up without a copy.
#include <QString>
#include <QStringView>

#include <cstddef>
#include <unordered_map>
#include <unordered_set>

namespace lexicrawl {

std::size_t HashText(QStringView text, std::size_t seed) noexcept;

struct TextHasher {
    using is_transparent = void;
    TextHasher();
    // Not noexcept on purpose: libstdc++ then keeps each entry's hash in its
    // node, so that a lookup compares hashes before texts and never hashes
    // an entry's text again while walking a bucket.
    std::size_t operator()(QStringView text) const { return HashText(text, seed); }
    std::size_t seed;
};

struct TextEqual {
    using is_transparent = void;
    bool operator()(QStringView a, QStringView b) const noexcept { return a == b; }
};

using TextSet = std::unordered_set<QString, TextHasher, TextEqual>;
template <typename Value>
using TextMap = std::unordered_map<QString, Value, TextHasher, TextEqual>;

}  // namespace lexicrawl
