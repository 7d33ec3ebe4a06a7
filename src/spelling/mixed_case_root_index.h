#pragma once
// Which lower-case words could be a form of a dictionary root written in
// capitals after its first letter ("COBOL", "MacDonald", "iPhone").
//
// The word check skips Suggest for a lower-case word when the engine rejects
// its all-capitals form. That holds for words whose capitals come from a
// root with only a first capital ("paris" -> "PARIS" is accepted), but not
// for affixed forms of roots in capitals or mixed case: "COBOLs" is
// accepted, "COBOLS" is not, and "cobols" is suggested "COBOLs". This index
// keeps, for each such root, the part of it that every affixed form keeps
// (the root less what those of its affix rules whose strip matches it may
// strip) and the lengths its forms can have, so that the check asks for suggestions whenever the word could
// be one of those forms.
//
// It reports "may" for every word when the dictionary's affix rules are
// beyond its simple model (flag aliases, long or numeric flags, affixes
// with continuation classes, compounding of letter words).
//
// Thread-safety: immutable after construction.
#include <QByteArray>
#include <QHash>
#include <QList>
#include <QString>

namespace lexicrawl {

class MixedCaseRootIndex {
public:
    MixedCaseRootIndex(const QByteArray& affix, const QByteArray& words);

    // False only when no root in capitals or mixed case can have a form
    // whose A-Z lower-cased spelling is word.
    bool MayMatch(const QString& word) const;

private:
    struct AffixRule {
        QString strip;
        int add = 0;
    };
    struct AffixBounds {
        int strip = 0;
        int add = 0;
    };
    // The largest strip and add of the rules of flags that can apply to root.
    AffixBounds Bounds(const QHash<char, QList<AffixRule>>& rules, const QByteArray& flags,
                       const QString& root, bool prefix) const;
    struct Range {
        int minLength;
        int maxLength;
    };
    bool ReadAffix(const QByteArray& affix);
    void ReadWords(const QByteArray& words);

    bool usable_ = true;
    QHash<char, QList<AffixRule>> prefixes_;
    QHash<char, QList<AffixRule>> suffixes_;
    QByteArray compoundFlags_;
    QHash<QString, QList<Range>> cores_;
};

}  // namespace lexicrawl
