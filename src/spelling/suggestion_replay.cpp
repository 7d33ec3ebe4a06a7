#include "spelling/suggestion_replay.h"

#include <algorithm>

#include "platform/text.h"
#include "spelling/candidate_steps.h"
#include "spelling/engine_clock.h"
#include "spelling/form_index.h"

namespace lexicrawl {

namespace {

constexpr size_t kMaxSuggestions = 15;
constexpr long kStepBudget = 100000;     // clock ticks per pass
constexpr long kSearchBudget = 50000;    // ticks of one timed search
constexpr int kTimerPeriod = 100;        // candidates between clock readings
constexpr int kMaxDistance = 4;

}  // namespace

SuggestionReplay::SuggestionReplay(const QString& word, const ReplaySetup& setup, const ReplayTests& tests)
    : word_(word), setup_(setup), tests_(tests)
{
    target_ = word;
    if (!target_.isEmpty())
        target_[0] = target_[0].toUpper();
}

QString SuggestionReplay::Lower(const QString& s)
{
    return LowerAZ(s);
}

// Capitals one character at a time, as the library makes them (a sharp s
// stays as it is).
QString SuggestionReplay::Upper(const QString& s)
{
    QString out = s;
    for (QChar& c : out)
        c = c.toUpper();
    return out;
}

Acceptance SuggestionReplay::PlainTest(const QString& candidate)
{
    return tests_.plain(candidate);
}

const SuggestionReplay::Item* SuggestionReplay::Listed(const QString& text) const
{
    for (const Item& i : list_) {
        if (i.text == text)
            return &i;
    }
    return nullptr;
}

bool SuggestionReplay::GuardFor(size_t size) const
{
    return size < kMaxSuggestions && (pass_ == 0 || size < passStart_ + size_t(setup_.maxCompound));
}

// Whether a step runs. Unsure candidates leave the list's size between two
// bounds; in the first pass both must give the same answer. In the second
// the larger size is taken, which can only keep the target out.
bool SuggestionReplay::Guard()
{
    if (pass_ == 1)
        return GuardFor(Upper());
    const bool upper = GuardFor(Upper());
    if (upper != GuardFor(Lower()))
        stopped_ = true;
    return upper && !stopped_;
}

bool SuggestionReplay::Check()
{
    ++readings_;
    if (readings_ * kEngineTicksPerReading > kStepBudget)
        earlyEnd_ = true;
    return !earlyEnd_;
}

bool SuggestionReplay::TimerTick(Timer& t)
{
    if (--t.count > 0)
        return true;
    ++readings_;
    if ((readings_ - t.start) * kEngineTicksPerReading > kSearchBudget)
        return false;  // the count stays at zero: the search stops
    t.count = kTimerPeriod;
    return true;
}

void SuggestionReplay::Accept(const QString& candidate, bool sure)
{
    list_.push_back({candidate, sure});
    unsure_ += !sure;
    // In the first pass a spelling in other capitals stays unless the cut
    // step empties the list; it cannot when something good came before.
    if (sure && IsVariant(candidate) && pass_ == 0) {
        if (good_ || goodStep_ || NoDictionaryPair())
            known_ = true;
        else
            stopped_ = true;
    }
}

// testsug(): a full list or a candidate already listed is not tested.
void SuggestionReplay::Test(const QString& candidate, Timer* timer)
{
    if (!Running() || Lower() >= kMaxSuggestions)
        return;
    if (Upper() >= kMaxSuggestions) {
        stopped_ = stopped_ || pass_ == 0;  // full or not, unsure
        return;
    }
    if (const Item* listed = Listed(candidate)) {
        // An unsure twin was tested alike: listed or refused, the list ends
        // the same, but a timed step would count one test more.
        if (!listed->sure && timer)
            stopped_ = true;
        return;
    }
    if (timer && !TimerTick(*timer))
        return;
    Acceptance a = Acceptance::No;
    if (pass_ == 1 && candidate == target_) {
        if (TargetIsCompound()) {
            list_.push_back({candidate, true});
            known_ = true;
        }
        return;
    }
    a = pass_ == 0 ? PlainTest(candidate) : tests_.compound(candidate);
    if (a == Acceptance::Maybe && pass_ == 0 && IsVariant(candidate))
        stopped_ = true;
    else if (a != Acceptance::No)
        Accept(candidate, a == Acceptance::Yes && pass_ == 0);
}

SuggestionReplay::Outcome SuggestionReplay::Run()
{
    if (!Pass())
        return Outcome::Undecided;
    if (known_)
        return Outcome::Known;
    // Whether the second pass and the n-gram search run depends on it.
    if (goodUnsure_ && !good_)
        return Outcome::Undecided;
    const bool second = !earlyEnd_ && !noSecondPass_ && !good_ && setup_.compounding;
    if (second) {
        pass_ = 1;
        passStart_ = list_.size();
        if (SecondPassFindsTarget())
            return Outcome::Known;
        if (stopped_)
            return Outcome::Undecided;
    }
    return NoVariantLater(second) ? Outcome::Unknown : Outcome::Undecided;
}

// After a first pass without one: no spelling of the word in other
// capitals can join in the second pass (it would have to be a compound the
// dictionary accepts), nor come from the n-gram search. That search builds
// forms of the words it looks at and, when the list holds a suggestion
// already, offers one only if the first pass's test accepts it.
bool SuggestionReplay::NoVariantLater(bool secondPass)
{
    if (secondPass) {
        if (!setup_.map.isEmpty())
            return false;
        QStringList variants;
        if (IsVariant(Upper(word_)))
            variants << Upper(word_);
        for (qsizetype i = 0; i < word_.size(); ++i) {
            QString v = word_;
            v[i] = v[i].toUpper();
            if (v != word_ && IsVariant(v))
                variants << v;
        }
        for (const RepEntry& e : setup_.rep) {
            for (qsizetype r = word_.indexOf(e.pattern); r >= 0; r = word_.indexOf(e.pattern, r + 1)) {
                const QString v = word_.left(r) + e.with + word_.mid(r + e.pattern.size());
                if (IsVariant(v))
                    variants << v;
            }
        }
        for (const QString& v : variants) {
            if (tests_.compound(v) != Acceptance::No)
                return false;
        }
    }
    const uint16_t looked = setup_.ngramSeesCapitalised ? FormIndex::Ngram : FormIndex::NgramLower;
    const bool listed = Lower() > 0;
    for (const FormIndex::Form& f : tests_.index->FormsFoldingLike(word_)) {
        if (f.text == word_ || !IsVariant(f.text) || !(f.marks & looked))
            continue;
        if (!listed || PlainTest(f.text) != Acceptance::No)
            return false;
    }
    return true;
}

// The first pass, step by step; false when the replay had to stop.
bool SuggestionReplay::Pass()
{
    readings_ = 0;
    CapitalsStep();
    ReplacementStep();
    if (!Check())
        return !stopped_;
    RelatedStep();
    if (!Check())
        return !stopped_;
    noSecondPass_ = !list_.empty();
    using Step = void (SuggestionReplay::*)();
    static const Step kSteps[] = {
        &SuggestionReplay::SwapStep, &SuggestionReplay::LongSwapStep, &SuggestionReplay::KeyboardStep,
        &SuggestionReplay::LeaveOutStep, &SuggestionReplay::PutInStep, &SuggestionReplay::MoveStep,
        &SuggestionReplay::ReplaceStep, &SuggestionReplay::DoubledPairStep, &SuggestionReplay::CutStep,
    };
    for (Step step : kSteps) {
        if (!Running())
            break;
        if (step == &SuggestionReplay::CutStep || Guard())
            (this->*step)();
        if (!Check())
            break;
    }
    return !stopped_;
}

void SuggestionReplay::CapitalsStep()
{
    if (list_.size() >= kMaxSuggestions)
        return;
    const size_t before = Lower(), unsureBefore = unsure_;
    goodStep_ = true;
    Test(Upper(word_));
    goodStep_ = false;
    EndGoodStep(before, unsureBefore);
}

// A step's finds count as good: a sure one makes it so, an unsure one may.
void SuggestionReplay::EndGoodStep(size_t sureBefore, size_t unsureBefore)
{
    good_ = good_ || Lower() > sureBefore;
    goodUnsure_ = goodUnsure_ || unsure_ > unsureBefore;
}

void SuggestionReplay::ReplacementStep()
{
    if (!Guard() || word_.toUtf8().size() < 2)
        return;
    const size_t before = Lower(), unsureBefore = unsure_;
    goodStep_ = true;
    ReplacementPlaces(word_, setup_.rep, [this](qsizetype r, const RepEntry& e) {
        if (!Running())
            return false;
        const QString candidate = word_.left(r) + e.with + word_.mid(r + e.pattern.size());
        Test(candidate);
        for (qsizetype sp = candidate.indexOf(u' '), prev = 0; sp >= 0 && Running();
             prev = sp + 1, sp = candidate.indexOf(u' ', prev)) {
            const Acceptance first = PlainTest(candidate.mid(prev, sp - prev));
            if (first == Acceptance::Maybe)
                stopped_ = true;
            if (first != Acceptance::Yes)
                continue;
            const size_t had = list_.size();
            Test(candidate.mid(sp + 1));
            if (list_.size() > had)
                list_.back().text = candidate;
        }
        return Running();
    });
    goodStep_ = false;
    EndGoodStep(before, unsureBefore);
}

// Every combination of related characters, in the order the library builds
// them (the first position varies slowest), found through the index: only
// the combinations that are dictionary forms can join the list.
void SuggestionReplay::RelatedStep()
{
    if (!Guard() || setup_.map.isEmpty() || word_.toUtf8().size() < 2)
        return;
    if (!setup_.mapUsable || !tests_.index || !tests_.index->MapFolds()) {
        stopped_ = true;
        return;
    }
    std::vector<QStringList> alternatives;
    for (QChar c : word_) {
        QStringList alt{QString(c)};
        for (const QStringList& members : setup_.map) {
            if (members.contains(QString(c)))
                alt = members;
        }
        // Combinations the index does not hold could join unseen.
        if (!FormIndex::Covers(alt.join(QString()))) {
            stopped_ = true;
            return;
        }
        alternatives.push_back(alt);
    }
    auto rankOf = [&](const QString& u, double* rank) {
        double r = 0;
        for (qsizetype p = 0; p < u.size(); ++p) {
            const qsizetype a = alternatives[size_t(p)].indexOf(QString(u[p]));
            if (a < 0)
                return false;
            r = r * double(alternatives[size_t(p)].size()) + double(a);
        }
        *rank = r;
        return true;
    };
    double total = 1;
    for (const QStringList& alt : alternatives)
        total *= double(alt.size());
    // Leaves already listed are skipped without a test (and without a tick).
    std::vector<std::pair<double, QString>> accepted;
    std::vector<double> skipped;
    for (const Item& listed : list_) {
        double r = 0;
        if (listed.text.size() == word_.size() && rankOf(listed.text, &r))
            skipped.push_back(r);
    }
    for (const FormIndex::Form& f : tests_.index->FormsFoldingLike(word_)) {
        double r = 0;
        if (f.text.size() != word_.size() || !rankOf(f.text, &r))
            continue;
        if (Listed(f.text))
            continue;
        const Acceptance a = PlainTest(f.text);
        if (a == Acceptance::Maybe) {
            stopped_ = true;
            return;
        }
        if (a == Acceptance::Yes)
            accepted.push_back({r, f.text});
    }
    std::sort(accepted.begin(), accepted.end());
    std::sort(skipped.begin(), skipped.end());
    ++readings_;  // the step reads the clock when it starts
    const long start = readings_;
    const double stop = double(kTimerPeriod) * double(kSearchBudget / kEngineTicksPerReading + 1);
    auto testsBefore = [&](double rank) {
        const double skippedBefore = double(std::lower_bound(skipped.begin(), skipped.end(), rank) - skipped.begin());
        return rank - skippedBefore;  // tests made before this leaf
    };
    for (const auto& [rank, text] : accepted) {
        if (testsBefore(rank) + 1 >= stop)
            break;
        if (list_.size() < kMaxSuggestions) {
            Accept(text, true);
            if (!Running())
                return;
        }
    }
    const double tests = std::min(total - double(skipped.size()), stop);
    readings_ = start + long(tests / kTimerPeriod);
}

void SuggestionReplay::SwapStep()
{
    SwapCandidates(word_, [this](const QString& c) { Test(c); }, [](qsizetype) { return true; });
}

// The step is not timed.
void SuggestionReplay::LongSwapStep()
{
    DistantSwapCandidates(
        word_, [this](const QString& c) { Test(c); }, [](qsizetype, qsizetype) { return true; },
        [this] { return Running(); });
}

void SuggestionReplay::KeyboardStep()
{
    const QString& key = setup_.key;
    QString c = word_;
    for (qsizetype i = 0; i < c.size() && Running(); ++i) {
        const QChar original = c[i];
        const QChar upper = original.toUpper();
        if (upper != original) {
            c[i] = upper;
            Test(c);
            c[i] = original;
        }
        for (qsizetype loc = key.indexOf(original); loc >= 0; loc = key.indexOf(original, loc + 1)) {
            if (loc > 0 && key[loc - 1] != u'|') {
                c[i] = key[loc - 1];
                Test(c);
            }
            if (loc + 1 < key.size() && key[loc + 1] != u'|') {
                c[i] = key[loc + 1];
                Test(c);
            }
        }
        c[i] = original;
    }
}

void SuggestionReplay::LeaveOutStep()
{
    const qsizetype n = word_.size();
    if (n < 2)
        return;
    for (qsizetype i = 0; i < n; ++i) {
        QString c = word_;
        c.remove(n - 1 - i, 1);
        Test(c);
    }
}

// A candidate the index surely does not hold is no form: testing it only
// counts a tick of the step's timer (when the list is not full), which is
// all that Test would do. Its key is made without building it.
bool SuggestionReplay::SurelyNoForm(uint64_t key, QChar inserted) const
{
    return FormIndex::Covers(QStringView(&inserted, 1)) && inserted != u' ' && !tests_.index->MayHoldKey(key);
}

void SuggestionReplay::TickOnly(Timer& t)
{
    if (!Running() || Lower() >= kMaxSuggestions)
        return;
    if (Upper() >= kMaxSuggestions) {
        stopped_ = true;
        return;
    }
    TimerTick(t);
}

std::vector<uint64_t> SuggestionReplay::PrefixKeys() const
{
    const FormIndex& index = *tests_.index;
    std::vector<uint64_t> prefix{index.KeyStart()};
    for (QChar c : word_)
        prefix.push_back(index.KeyStep(prefix.back(), c));
    return prefix;
}

template <typename MakeCandidate>
bool SuggestionReplay::TryCharacter(uint64_t prefixKey, QChar k, qsizetype rest, MakeCandidate makeCandidate,
                                    Timer& t)
{
    const FormIndex& index = *tests_.index;
    uint64_t key = index.KeyStep(prefixKey, k);
    for (qsizetype j = rest; j < word_.size(); ++j)
        key = index.KeyStep(key, word_[j]);
    if (SurelyNoForm(key, k))
        TickOnly(t);
    else
        Test(makeCandidate(), &t);
    return t.count != 0 && Running();
}

void SuggestionReplay::PutInStep()
{
    Timer t{kTimerPeriod, ++readings_};
    const std::vector<uint64_t> prefix = PrefixKeys();
    for (QChar k : setup_.tryChars) {
        for (qsizetype i = 0; i <= word_.size(); ++i) {
            const qsizetype at = word_.size() - i;
            const auto inserted = [&] {
                QString c = word_;
                c.insert(at, k);
                return c;
            };
            if (!TryCharacter(prefix[size_t(at)], k, at, inserted, t))
                return;
        }
    }
}

void SuggestionReplay::MoveStep()
{
    const qsizetype n = word_.size();
    if (n < 2)
        return;
    for (qsizetype p = 0; p < n; ++p) {
        QString c = word_;
        for (qsizetype q = p + 1; q < n && q - p <= kMaxDistance; ++q) {
            std::swap(c[q], c[q - 1]);
            if (q - p >= 2)
                Test(c);
        }
    }
    for (qsizetype p = n - 1; p >= 0; --p) {
        QString c = word_;
        for (qsizetype q = p - 1; q >= 0 && p - q <= kMaxDistance; --q) {
            std::swap(c[q], c[q + 1]);
            if (p - q >= 2)
                Test(c);
        }
    }
}

void SuggestionReplay::ReplaceStep()
{
    Timer t{kTimerPeriod, ++readings_};
    const std::vector<uint64_t> prefix = PrefixKeys();
    for (QChar k : setup_.tryChars) {
        for (qsizetype i = word_.size() - 1; i >= 0; --i) {
            if (word_[i] == k)
                continue;
            const auto replaced = [&] {
                QString c = word_;
                c[i] = k;
                return c;
            };
            if (!TryCharacter(prefix[size_t(i)], k, i + 1, replaced, t))
                return;
        }
    }
}

void SuggestionReplay::DoubledPairStep()
{
    const qsizetype n = word_.size();
    if (n < 5)
        return;
    int state = 0;
    for (qsizetype i = 2; i < n; ++i) {
        if (word_[i] != word_[i - 2]) {
            state = 0;
            continue;
        }
        if (++state == 3 || (state == 2 && i >= 4)) {
            Test(word_.left(i - 1) + word_.mid(i + 1));
            state = 0;
        }
    }
}

// A dictionary pair is a split of the word, joined by a space or (in
// languages that use it) a hyphen, that the dictionary holds as one entry.
bool SuggestionReplay::NoDictionaryPair()
{
    if (word_.toUtf8().size() < 3 || !tests_.index->MayBePair(word_))
        return true;
    for (qsizetype s = 1; s < word_.size(); ++s) {
        for (QChar joint : {QChar(u' '), QChar(u'-')}) {
            if (joint == u'-' && !setup_.dashUsage)
                continue;
            if (PlainTest(word_.left(s) + joint + word_.mid(s)) != Acceptance::No)
                return false;
        }
    }
    return true;
}

// The cut step of the first pass: pairs, then (when nothing good was found)
// two words, spaced and, where hyphens are in use, hyphenated; the latter is
// left out when the spaced pair was listed already.
void SuggestionReplay::CutStep()
{
    if (word_.toUtf8().size() < 3) {
        good_ = goodUnsure_ = false;  // the library answers "nothing good" for short words
        return;
    }
    // Two words are tried only when nothing good was found.
    if (!NoDictionaryPair() || (goodUnsure_ && !good_)) {
        stopped_ = true;
        return;
    }
    for (qsizetype s = 1; s < word_.size() && Running(); ++s) {
        if (setup_.noSplit || good_ || Lower() >= kMaxSuggestions)
            break;
        if (Upper() >= kMaxSuggestions) {
            stopped_ = true;
            break;
        }
        const QString first = word_.left(s), second = word_.mid(s);
        const Acceptance a = PlainTest(first);
        const Acceptance b = a == Acceptance::No ? Acceptance::No : PlainTest(second);
        if (b == Acceptance::No)
            continue;
        const bool sure = a == Acceptance::Yes && b == Acceptance::Yes;
        const QString spaced = first + u' ' + second;
        const bool spacedNew = !Listed(spaced);
        if (spacedNew)
            Accept(spaced, sure);
        const QString dashed = first + u'-' + second;
        if (spacedNew && setup_.dashUsage && second.size() > 1 && first.size() > 1 && Upper() < kMaxSuggestions
            && !Listed(dashed))
            Accept(dashed, sure);
        if (Lower() < kMaxSuggestions && Upper() >= kMaxSuggestions)
            stopped_ = true;
    }
}

// The second pass up to the word's first letter in capitals, the first
// candidate of the keyboard step: compounds the dictionary accepts join the
// list, three at most per step.
bool SuggestionReplay::TargetIsCompound()
{
    if (!targetCompound_)
        targetCompound_ = tests_.compoundTarget(target_);
    return *targetCompound_;
}

bool SuggestionReplay::SecondPassFindsTarget()
{
    readings_ = 0;
    const qsizetype first = std::find_if(word_.begin(), word_.end(),
                                         [](QChar c) { return c.toUpper() != c; }) - word_.begin();
    if (first != 0 || word_[0] < u'a' || word_[0] > u'z')
        return false;
    // Told first: without it the steps before it need no replay.
    if (!TargetIsCompound())
        return false;
    CapitalsStep();
    ReplacementStep();
    if (!Check() || !Running())
        return known_;
    if (!setup_.map.isEmpty()) {
        stopped_ = true;  // related characters in compounds are not replayed
        return false;
    }
    if (!Check())
        return false;
    if (Guard())
        SwapStep();
    if (!Check() || !Running())
        return known_;
    if (Guard())
        LongSwapStep();
    if (!Check() || !Running())
        return known_;
    if (!Guard())
        return false;
    Test(target_);
    return known_;
}

}  // namespace lexicrawl
