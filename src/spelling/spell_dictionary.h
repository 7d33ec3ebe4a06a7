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
    // Verdicts of the loaded engine, keyed by word.
    QHash<QString, bool>& Verdicts() { return verdicts_; }
    // The affix and word-list members as loaded (empty when not loaded),
    // for the suggestion engine.
    const QByteArray& AffixData() const { return affixData_; }
    const QByteArray& WordData() const { return wordData_; }

    QString internalAffixPath;
    QString internalDictPath;

private:
    std::unique_ptr<HunspellEngine> engine_;
    QHash<QString, bool> verdicts_;
    QByteArray affixData_;
    QByteArray wordData_;
};

}  // namespace lexicrawl
