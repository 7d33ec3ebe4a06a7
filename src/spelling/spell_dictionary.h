#pragma once
// A Hunspell dictionary inside a package: the affix and word-list members are
// read from the package only when the dictionary is loaded, and the engine
// lives exactly as long as the dictionary stays loaded. Keeps the word
// verdicts of the loaded engine (see word_verdict.h, verdict_store.h); they
// are dropped whenever the engine changes.
//
// Besides its engine a loaded dictionary holds what the word check needs:
// the suggestion proof (built on a background thread while loading and
// waited for at its first use) and, made on a background thread when the
// word check first asks, a helper for a second thread: a second engine and a
// twin of the proof (sharing its form index). Memory: each engine about as
// much as the word list's text takes three times (German 8 MB, French
// 12 MB); the proof two engines more and its form index (German 10 MB,
// French 13 MB); the helper three engines.
//
// Thread-safety: load, unload and the word list's changes on the owning
// thread. Engine() and Proof() belong to the thread that checks words, the
// helper's engine and proof to one other thread at a time; Verdicts() is
// guarded.
#include <QByteArray>
#include <QStringList>

#include <future>
#include <memory>
#include <mutex>
#include <vector>

#include "platform/text_hash.h"
#include "spelling/custom_dictionary.h"
#include "spelling/verdict_store.h"

namespace lexicrawl {

class HunspellEngine;
class SuggestionProof;

class SpellDictionary : public CustomDictionary {
public:
    SpellDictionary();
    ~SpellDictionary() override;

    QString GetInternalFileID() const override;
    bool Load() override;
    // Loads the engine alone, for a dictionary asked only whether it knows
    // words as written; the proof is built when something first asks for it.
    bool LoadForSpelling();
    // The engine of a dictionary's files and the files themselves, made
    // ahead of time on any thread (it reads only the package) for
    // LoadForSpelling to take instead of reading and making its own.
    struct PreparedEngine {
        QString fileId;  // GetInternalFileID() of the dictionary it was made for
        QByteArray affix, words;
        std::unique_ptr<HunspellEngine> engine;  // null when the files cannot be read
        PreparedEngine();
        PreparedEngine(PreparedEngine&&) noexcept;
        PreparedEngine& operator=(PreparedEngine&&) noexcept;
        ~PreparedEngine();
    };
    // What making the engine reads: a copy, so that a thread of its own can
    // make it while the dictionary is used on the owning thread.
    struct EngineSource {
        QString fileId, package, affixPath, dictPath;
    };
    EngineSource Source() const { return {GetInternalFileID(), dictionaryFileName, internalAffixPath, internalDictPath}; }
    static PreparedEngine PrepareEngine(const EngineSource& source);
    // Loads with a prepared engine of this dictionary (made by PrepareEngine
    // of this dictionary; anything else is ignored and the dictionary reads
    // its files itself).
    bool LoadForSpelling(PreparedEngine prepared);
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
    // when not loaded. It and the helper know the dictionary's files only:
    // words that touch a word added at run time are not theirs to decide.
    SuggestionProof* Proof();
    // Why the proof's replay was switched off at load ("replay off for
    // en_US: ..."), or empty; empty too, and no proof started, for a
    // dictionary loaded for spelling alone. From the thread that checks words.
    QString ReplayNotice();
    // The helper: a second engine of the same dictionary and a twin of the
    // proof (null where Proof() is), for another thread. WaitForHelper()
    // waits until it is made (starting it on first use); ReadyHelper() starts
    // it and answers only when it is made already. Null when not loaded.
    struct Helper {
        std::unique_ptr<HunspellEngine> engine;
        std::unique_ptr<SuggestionProof> proof;
    };
    const Helper* WaitForHelper();
    const Helper* ReadyHelper();
    HunspellEngine* HelperEngine();
    // The helper when it is made already; never starts it.
    const Helper* MadeHelper();
    // Words sent to Suggest since the dictionary was loaded (the helper is
    // worth making once there are some: it costs three engines).
    qsizetype suggestedWords = 0;
    // Verdicts of the loaded engine, keyed by word: those of words that
    // touch no added word (they hold for the dictionary's files alone, and
    // are kept between runs).
    VerdictStore& Verdicts() { return verdicts_; }

    // Whether a word added at run time may weigh in the word's verdict: the
    // word holds an added word (case aside), as itself, as a piece
    // between hyphens or as the half of a split. Such words are checked on
    // the engine itself, Spell then Suggest, and their verdicts kept in
    // TouchingVerdicts() until the next word is added.
    bool HasAddedWords() const { return addedWithAffixes_ || !addedWords_.empty(); }
    bool TouchesAddedWord(const QString& word) const;
    TextMap<bool>& TouchingVerdicts() { return touchingVerdicts_; }
    // The affix and word-list members as loaded (empty when not loaded),
    // for the suggestion engine.
    const QByteArray& AffixData() const { return affix_; }
    const QByteArray& WordData() const { return words_; }

    QString internalAffixPath;
    QString internalDictPath;

private:
    void StopBackgroundWork();
    void NoteAdded(const QString& word);
    void StartHelper();

    std::unique_ptr<HunspellEngine> engine_;
    bool LoadEngine(bool startProof, PreparedEngine* prepared = nullptr);
    // The affix and word-list members out of the package; false when either is missing.
    static bool ReadMembers(const EngineSource& source, QByteArray& affix, QByteArray& words);
    void StartProof();

    std::shared_future<std::shared_ptr<SuggestionProof>> pendingProof_;
    std::shared_ptr<SuggestionProof> proof_;
    std::shared_future<std::shared_ptr<Helper>> pendingHelper_;
    std::mutex helperLock_;
    QByteArray affix_;
    QByteArray words_;
    TextSet addedWords_;                // case-folded
    std::vector<qsizetype> addedLengths_;  // their lengths, each once
    bool addedWithAffixes_ = false;         // every word touches one then
    TextMap<bool> touchingVerdicts_;
    VerdictStore verdicts_;
};

}  // namespace lexicrawl
