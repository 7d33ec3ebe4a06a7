#pragma once
// A wildcard mask matched against a whole text: "*" any run (also empty), "?"
// exactly one character, "[...]" one character of a set ("a-z" ranges, "!"
// first negates), anything else itself. ASCII letters match without regard
// to case. A mask holds at most 30 "*" runs.
//
// Thread-safety: a compiled mask is immutable; Matches may run on any thread.
#include <QString>

#include <stdexcept>
#include <utility>
#include <vector>

namespace lexicrawl {

// An invalid mask: "'<mask>' is an invalid mask at (<position>)".
class MaskError : public std::runtime_error {
public:
    MaskError(const QString& mask, qsizetype position);
    QString Text() const { return text_; }

private:
    QString text_;
};

class WildcardMask {
public:
    // Compiles mask; throws MaskError when it is invalid (an unclosed or empty
    // set, a "-" at the start of a set, more than 30 "*").
    explicit WildcardMask(const QString& mask);

    bool Matches(const QString& text) const;

private:
    enum class Kind { Star, Literal, Any, Set };
    struct Element {
        Kind kind = Kind::Literal;
        bool negate = false;
        char16_t literal = 0;  // upper-cased (A..Z)
        std::vector<std::pair<char16_t, char16_t>> ranges;  // upper-cased (A..Z)
    };

    bool ElementMatches(const Element& e, char16_t c) const;
    void ScanSet(const QString& mask, qsizetype& p, Element& e) const;

    std::vector<Element> elements_;  // a run of "*" is one Star element
};

}  // namespace lexicrawl
