#pragma once
// Decides, for a lower-case word the dictionary rejects, whether its
// suggestions would hold a spelling that differs from it only in the case
// of A-Z, without asking for the suggestions; or says it cannot tell.
//
// Unknown: the case-folded variant of the dictionary (derived_dictionary.h)
// rejects the word. Every suggestion the library can make of a lower-case
// word is a spelling it accepts as a plain form or a compound, or a form it
// builds from a dictionary word; all of them, in any capitals, lower-case to
// a word the case-folded dictionary accepts.
//
// Known: SuggestionReplay shows that such a spelling joins the suggestions
// for good. Its candidate tests use a superset index of the dictionary's
// forms (a candidate outside it is no form), the exact-forms variant of the
// dictionary (a candidate inside it is tested the way the suggestion search
// tests it), and, in the compound pass, the dictionary itself.
//
// It does not decide (the caller asks for the suggestions): for words with
// capitals or characters the dictionary converts or ignores, words longer
// than 48 characters, dictionaries whose rules reach beyond what is modelled
// here (two prefix levels, Hungarian or Turkic casing rules, output
// conversion to plain letters, replacement entries in the word list, a
// character set other than UTF-8 for Known), and when the library is not of
// the 1.7 series or does not read the engine clock (engine_clock.h).
//
// Thread-safety: none; an instance and the engines it is given belong to one
// thread at a time.
#include <QByteArray>
#include <QLoggingCategory>
#include <QSet>
#include <QString>

#include <memory>
#include <optional>

#include "spelling/suggestion_replay.h"

namespace lexicrawl {

class AffixFile;
class FormIndex;
class HunspellEngine;

// Whether the replay may decide "known" with the library this process runs:
// it follows the suggestion search of the 1.7 series step by step, so the
// loaded library (not only the one the build saw) must be of that series,
// and LEXICRAWL_SPELL_REPLAY=off has not switched it off. Read once.
bool ReplayFollowsLoadedLibrary();

// The log line of a failed load-time check (SuggestionProof::SelfCheck); a
// front end that reports the notice in its own way may silence it.
Q_DECLARE_LOGGING_CATEGORY(replayLog)

class SuggestionProof {
public:
    enum class Verdict { Known, Unknown, Undecided };

    SuggestionProof(const QByteArray& affix, const QByteArray& words);
    ~SuggestionProof();
    // A proof of the same dictionary for another thread: engines of its own,
    // the form index shared (it is immutable). Null when this one decides
    // nothing or an engine fails.
    std::unique_ptr<SuggestionProof> Twin(const QByteArray& affix, const QByteArray& words) const;
    SuggestionProof(const SuggestionProof&) = delete;
    SuggestionProof& operator=(const SuggestionProof&) = delete;

    // word: rejected by original's Spell; original: the dictionary's engine.
    Verdict Decide(const QString& word, HunspellEngine& original);

    bool DecidesUnknown() const { return usable_; }
    bool DecidesKnown() const { return replayUsable_; }

    // Runs a fixed sample drawn from the dictionary (stems lower-cased, with
    // two letters swapped, one left off, two stems joined) through the
    // replay and, where it answers Known, through engine's own suggestions;
    // on any difference the
    // replay is off from then on, ReplayNotice() says why and a log line
    // says it once. engine: an engine of the same files.
    void SelfCheck(HunspellEngine& engine, const QByteArray& words, const QString& name);
    // "replay off for NAME: REASON", or empty while the replay is trusted.
    QString ReplayNotice() const { return replayNotice_; }

private:
    SuggestionProof() = default;
    void MakeEngines(const QByteArray& affix, const QByteArray& words);
    void ReadOptions(const AffixFile& affix, const QByteArray& words);
    Verdict Replay(const QString& word, HunspellEngine& original);
    // The engine's spelling check, or nullopt when its compound check came
    // near its budget.
    static std::optional<bool> Checked(HunspellEngine& engine, const QString& word);
    bool PlainWord(const QString& word, bool capitalsAllowed = false) const;
    Acceptance Plain(const QString& candidate);
    bool SpelledOtherwise(const QString& form, bool hiddenCounts);
    Acceptance Compound(const QString& candidate, HunspellEngine& original);
    bool CompoundTarget(const QString& candidate, HunspellEngine& original);
    bool HasNoSuggestPart(const QString& candidate) const;

    std::unique_ptr<HunspellEngine> folded_;
    std::unique_ptr<HunspellEngine> exact_;
    std::shared_ptr<const FormIndex> index_;
    ReplaySetup setup_;
    QString ignore_;
    QStringList inputPatterns_;
    QStringList breaks_;
    QSet<QString> noSuggestParts_;
    bool checkSharps_ = false;
    bool foldsAllLetters_ = false;
    bool usable_ = false;
    bool replayUsable_ = false;
    QString replayNotice_;
};

}  // namespace lexicrawl
