#pragma once
// Which lower-case words could be a form of a dictionary root written in
// capitals after its first letter ("COBOL", "MacDonald", "iPhone"), or of a
// capitalised root with a non-letter in it ("Cwm-hir").
//
// The word check skips Suggest for a lower-case word when the engine rejects
// its all-capitals form. That holds for words whose capitals come from a
// root with only a first capital ("paris" -> "PARIS" is accepted), but not
// for affixed forms of roots in capitals or mixed case: "COBOLs" is
// accepted, "COBOLS" is not, and "cobols" is suggested "COBOLs". This index
// holds, lower-cased, every form such a root can take: the root, and the
// root with each prefix and suffix of its flags whose strip it ends in, and
// both together. Affix conditions are not evaluated, so the set is a
// superset of the forms the engine accepts. A word may match when the set
// holds the word or a piece of it that the engine could check on its own
// (the engine breaks words at hyphens and drops trailing dots).
//
// It reports "may" for every word when the dictionary's affix rules are
// beyond this model (flag aliases, long or numeric flags, affixes with
// continuation classes or capitals, compounding of roots with capitals, breaks at
// letters, ignored input characters, input conversions other than of one
// non-letter to non-letters).
//
// Thread-safety: immutable after construction.
#include <QByteArray>
#include <QHash>
#include <QList>
#include <QSet>
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
        QString add;
    };
    using Rules = QHash<char, QList<AffixRule>>;

    bool ReadAffix(const QByteArray& affix);
    void ReadWords(const QByteArray& words);
    // The root with each rule of flags that can apply to it.
    QStringList Affixed(const QStringList& stems, const QByteArray& flags, bool prefix) const;
    // Whether the set holds key or a piece of it between non-letters.
    bool FormIn(const QString& key) const;

    bool usable_ = true;
    Rules prefixes_;
    Rules suffixes_;
    QByteArray compoundFlags_;
    QHash<QChar, QString> conversions_;
    QSet<QString> forms_;
};

}  // namespace lexicrawl
