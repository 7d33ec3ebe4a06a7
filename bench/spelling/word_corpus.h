#pragma once
// Word sets for the word-verdict differential test and benchmark: the stems
// of a Hunspell word list and their forms, misspellings made from them,
// compounds and elided pieces as pages bring them, and tokens of the kinds
// web pages bring (names, digits, apostrophes, hyphens, accents).
#include <QByteArray>
#include <QString>
#include <QStringList>

#include <cstdint>

namespace lexicrawl::bench {

// The stems of a .dic file (the text before "/" or a tab), in file order.
QStringList DictionaryStems(const QByteArray& dic);

// One random edit (drop, double, swap, change or insert a letter) of word,
// A-Z lower-cased; deterministic for a seed.
QString Misspell(const QString& word, uint32_t seed);

// Fixed tokens of the awkward kinds: mixed-case names, digits, apostrophes,
// hyphens, accented and non-Latin letters.
QStringList AwkwardTokens();

// The words a page makes of text, as the page word splitter cuts them: runs
// of 0-9, A-Z, a-z and U+00C0..U+00FF, with A-Z lower-cased ("l'homme" gives
// "l" and "homme", "cœur" gives "c" and "ur").
QStringList PageWords(const QString& text);

// Compounds of two stems the way German writes them ("Haus" + "Tür" gives
// "Haustür"), count of them, deterministic for a seed.
QStringList Compounds(const QStringList& stems, int count, uint32_t seed);

// Small deterministic generator (xorshift), so runs are repeatable.
class Rng {
public:
    explicit Rng(uint32_t seed) : state_(seed ? seed : 1) {}
    uint32_t Next()
    {
        state_ ^= state_ << 13;
        state_ ^= state_ >> 17;
        state_ ^= state_ << 5;
        return state_;
    }
    uint32_t Below(uint32_t n) { return n ? Next() % n : 0; }

private:
    uint32_t state_;
};

}  // namespace lexicrawl::bench
