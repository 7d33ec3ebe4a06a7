#pragma once
// A Hunspell dictionary inside a package: the affix and word-list members are
// read from the package only when the dictionary is loaded, and the engine
// lives exactly as long as the dictionary stays loaded. Keeps the word
// verdicts of the loaded engine (see word_verdict.h); they are dropped
// whenever the engine changes.
//
// Thread-safety: none; used from the main thread.
#include <QHash>
#include <QStringList>

#include <memory>

#include "spelling/custom_dictionary.h"

namespace lexicrawl {

class HunspellEngine;
class SuggestionProof;

class SpellDictionary : public CustomDictionary {
public:
    SpellDictionary();
    ~SpellDictionary() override;

    QString GetInternalFileID() const override;
    bool Load() override;
    void Unload() override;

    bool Spell(const QString& word);
    // Appends the suggestions to suggestions (which is not cleared).
    void Suggest(const QString& word, QStringList& suggestions);
    void Analyze(const QString& word, QStringList& analyses);
    void Stem(const QString& word, QStringList& stems);
    bool Add(const QString& word);
    bool AddWithAffix(const QString& word, const QString& affixModel);

    // The engine, null when not loaded (for the word check's fast path).
    HunspellEngine* Engine() const { return engine_.get(); }
    // Decides words without suggestions where it can (word_verdict.h); null
    // when not loaded, and once words were added at run time.
    SuggestionProof* Proof() const { return added_ ? nullptr : proof_.get(); }
    // Verdicts of the loaded engine, keyed by word.
    QHash<QString, bool>& Verdicts() { return verdicts_; }

    QString internalAffixPath;
    QString internalDictPath;

private:
    std::unique_ptr<HunspellEngine> engine_;
    std::unique_ptr<SuggestionProof> proof_;
    bool added_ = false;
    QHash<QString, bool> verdicts_;
};

}  // namespace lexicrawl
