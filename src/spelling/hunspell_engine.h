#pragma once
// One Hunspell instance made from a dictionary's affix and word-list bytes.
// The bytes reach the library through anonymous in-memory files, never
// through files on disk; words are converted between UTF-16 and the
// dictionary's declared character set.
//
// Thread-safety: none; Hunspell keeps per-instance state. Use one engine per
// thread.
#include <QByteArray>
#include <QString>
#include <QStringList>

#include <memory>

class Hunspell;

namespace lexicrawl {

class CapitalSuggestionCheck;
class MixedCaseRootIndex;
class DictionaryCodec;

class HunspellEngine {
public:
    // Null when either block is empty or the library cannot read them.
    static std::unique_ptr<HunspellEngine> Init(const QByteArray& affix, const QByteArray& words);
    ~HunspellEngine();
    HunspellEngine(const HunspellEngine&) = delete;
    HunspellEngine& operator=(const HunspellEngine&) = delete;

    bool Spell(const QString& word);
    QStringList Suggest(const QString& word);
    QStringList Analyze(const QString& word);
    QStringList Stem(const QString& word);
    bool Add(const QString& word);
    bool AddWithAffix(const QString& word, const QString& model);
    QString Encoding() const;

    // True when, for this dictionary, every accepted spelling stays accepted
    // in capitals; the word check relies on it to skip suggestions (see
    // word_verdict.cpp). False for affix files whose options break it.
    bool UpperCaseKeepsAcceptance() const { return upperKeepsAcceptance_; }
    // True when the suggestions for word (rejected, all-capitals form
    // accepted) surely hold it with a capital first letter.
    bool SuggestsCapitalised(const QString& word);
    // False only when no root in capitals or mixed case can give a form
    // equal to word once A-Z are lower-cased (see MixedCaseRootIndex).
    bool MayBeMixedCaseForm(const QString& word) const;

private:
    HunspellEngine() = default;
    QStringList Decode(const std::vector<std::string>& list);

    std::unique_ptr<Hunspell> hunspell_;
    std::unique_ptr<DictionaryCodec> codec_;
    std::unique_ptr<CapitalSuggestionCheck> capitalCheck_;
    std::unique_ptr<MixedCaseRootIndex> mixedCaseRoots_;
    bool wordsAddedWithCapitals_ = false;
    bool upperKeepsAcceptance_ = false;
};

// Whether an affix file leaves acceptance unchanged by upper-casing: no
// KEEPCASE, CHECKSHARPS, FORBIDDENWORD or OCONV options and no language with
// its own casing rules (Turkish, Azeri, Crimean Tatar).
bool AffixKeepsUpperCaseAcceptance(const QByteArray& affix);

// The Hunspell library the program was built with ("1.7.2").
QString HunspellVersion();

}  // namespace lexicrawl
