#pragma once
// Decides, without running the engine's suggestion search, that a lower-case
// word the dictionary rejects would be offered back with a capital first
// letter ("paris" -> "Paris").
//
// The engine's search tries, in this order: the all-capitals form, the
// replacement table, the related-character table, adjacent and distant
// letter swaps, and then each letter in capitals, the first letter first.
// Each candidate is added when the engine accepts it, until 15 are found.
// So when the capitalised word is accepted as a plain dictionary word, it is
// offered whenever fewer than 15 earlier candidates are accepted. Check()
// counts an upper bound of those candidates with the engine's own Spell.
// Later, a split of the word whose two pieces, joined by a space or a
// hyphen, make a dictionary word drops every other suggestion: in
// dictionaries with such pairs, any split whose joined form Spell accepts
// declines.
//
// It declines (the caller then asks for suggestions) for dictionaries whose
// options make acceptance differ from what the search accepts: related
// characters, reversed prefixes, forced capitals, input conversion or ignored
// characters on ASCII, break points other than the hyphen, compounding that
// plain letter words can take part in, and no-suggest words with capitals;
// and for words that are not plain a-z and apostrophes.
//
// Thread-safety: none; owned by one engine.
#include <QByteArray>
#include <QString>

#include <functional>
#include <utility>
#include <vector>

namespace lexicrawl {

class CapitalSuggestionCheck {
public:
    CapitalSuggestionCheck(const QByteArray& affix, const QByteArray& words);

    bool Enabled() const { return enabled_; }
    // True when word (rejected by spell, all-capitals form accepted) is sure
    // to get its capitalised form among the suggestions.
    bool Check(const QString& word, const std::function<bool(const QString&)>& spell) const;

private:
    struct Replacement {
        QString pattern;
        QString with;
    };
    void ReadAffix(const QByteArray& affix, QByteArray& nosuggest, QByteArray& compoundFlags);
    void ReadWords(const QByteArray& words, const QByteArray& nosuggest, const QByteArray& compoundFlags);

    bool enabled_ = true;
    bool phrases_ = false;  // words or affixes with a hyphen or a space
    std::vector<Replacement> replacements_;
};

}  // namespace lexicrawl
