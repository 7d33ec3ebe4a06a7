#pragma once
// Replays the library's suggestion search for a lower-case word far enough
// to tell whether it offers a spelling that differs from the word only in
// the case of A-Z, without running it.
//
// The search (libhunspell 1.7) runs up to two passes over the word: the
// first tests candidates against the dictionary's plain forms, the second,
// only when the first found nothing "good" and nothing by capitals, its
// replacement table or related characters, against compounds. Each pass
// tries, in this order: the word in capitals; the replacement table; the
// related-character classes (every combination, at most 10,099 of them under
// the engine clock, see engine_clock.h); swapped neighbours; swaps two to
// four apart; each character in capitals and its keyboard neighbours; a
// character left out; a TRY character put in; a character moved; a
// character replaced by a TRY character; a doubled pair undone; the word cut
// in two. A candidate the dictionary accepts joins the list, up to 15, and
// in the second pass at most 3 per step. A dictionary pair ("a lot") found
// by the cut empties the list unless something good was found before.
// Nothing else removes a suggestion for a lower-case word.
//
// The replay applies exactly these steps with the caller's tests of a
// candidate and stops as soon as a spelling of the word in other capitals
// has surely joined the list for good (Known). When the first pass ends
// without one, no such spelling can join in the second pass, and no form of
// the dictionary for the closing n-gram search is one, the answer is
// Unknown. Whenever a test cannot say for sure, or the search would go
// where the replay does not follow, the answer is Undecided and the caller
// runs the search itself. A candidate that may or may not have joined is
// kept as unsure; the replay stops where that could change the outcome.
//
// Thread-safety: an instance is used once, on one thread.
#include <QString>
#include <QStringList>

#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

#include "spelling/affix_file.h"

namespace lexicrawl {

class FormIndex;

// What a candidate test can say.
enum class Acceptance { No, Yes, Maybe };

struct ReplaySetup {
    std::vector<RepEntry> rep;
    QList<QStringList> map;
    bool mapUsable = false;  // single characters, none in two classes
    QString key;
    QString tryChars;
    bool dashUsage = false;  // TRY holds "-" or "a"
    bool noSplit = false;
    int maxCompound = 3;
    bool compounding = false;
    bool ngramSeesCapitalised = false;  // German, or a phonetic table
};

struct ReplayTests {
    // The first pass's test of a candidate: a plain dictionary form.
    std::function<Acceptance(const QString&)> plain;
    // The second pass's test of any other candidate: No, or Maybe when it
    // might be a compound (counted as if it joined the list).
    std::function<Acceptance(const QString&)> compound;
    // The second pass's test of the word with its first letter in
    // capitals: exact.
    std::function<bool(const QString&)> compoundTarget;
    const FormIndex* index = nullptr;
};

class SuggestionReplay {
public:
    enum class Outcome { Known, Unknown, Undecided };

    SuggestionReplay(const QString& word, const ReplaySetup& setup, const ReplayTests& tests);
    Outcome Run();

private:
    struct Timer {
        int count = 100;
        long start = 0;
    };
    struct Item {
        QString text;
        bool sure = true;
    };
    bool Running() const { return !stopped_ && !known_; }
    size_t Upper() const { return list_.size(); }
    size_t Lower() const { return list_.size() - unsure_; }
    void EndGoodStep(size_t sureBefore, size_t unsureBefore);
    const Item* Listed(const QString& text) const;
    Acceptance PlainTest(const QString& candidate);
    bool SurelyNoForm(uint64_t key, QChar inserted) const;
    void TickOnly(Timer& t);
    // The form-index keys of the word's first 0, 1, ..., n characters.
    std::vector<uint64_t> PrefixKeys() const;
    // One candidate of a TRY-character step: the key of the word's first
    // characters, then k, then the word from rest on. Tests the candidate
    // (made only then) unless the index shows it is surely no form, when
    // the step's clock only ticks. False once the step is to end.
    template <typename MakeCandidate>
    bool TryCharacter(uint64_t prefixKey, QChar k, qsizetype rest, MakeCandidate makeCandidate, Timer& t);
    bool GuardFor(size_t size) const;
    bool Guard();
    bool Check();  // the clock test after a step; false ends the search
    bool TimerTick(Timer& t);
    void Test(const QString& candidate, Timer* timer = nullptr);
    void Accept(const QString& candidate, bool sure);
    bool NoVariantLater(bool secondPass);
    bool IsVariant(const QString& s) const { return s.size() == word_.size() && Lower(s) == word_; }
    static QString Lower(const QString& s);
    static QString Upper(const QString& s);

    bool Pass();
    void CapitalsStep();
    void ReplacementStep();
    void RelatedStep();
    void SwapStep();
    void LongSwapStep();
    void KeyboardStep();
    void LeaveOutStep();
    void PutInStep();
    void MoveStep();
    void ReplaceStep();
    void DoubledPairStep();
    void CutStep();
    bool NoDictionaryPair();
    bool SecondPassFindsTarget();
    bool TargetIsCompound();

    QString word_;
    QString target_;  // the word with its first letter in capitals
    std::optional<bool> targetCompound_;
    const ReplaySetup& setup_;
    const ReplayTests& tests_;
    std::vector<Item> list_;
    size_t unsure_ = 0;
    int pass_ = 0;
    size_t passStart_ = 0;
    long readings_ = 0;
    bool good_ = false;
    bool goodUnsure_ = false;  // an unsure find of a good step (good_ may be false)
    bool goodStep_ = false;  // inside a step whose finds count as good
    bool noSecondPass_ = false;
    bool stopped_ = false;
    bool known_ = false;
    bool earlyEnd_ = false;
};

}  // namespace lexicrawl
