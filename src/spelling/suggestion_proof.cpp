#include "spelling/suggestion_proof.h"

#include <QLoggingCategory>

#include <algorithm>
#include <future>

#include "platform/text.h"
#include "spelling/affix_file.h"
#include "spelling/derived_dictionary.h"
#include "spelling/dictionary_codec.h"
#include "spelling/engine_clock.h"
#include "spelling/form_index.h"
#include "spelling/hunspell_engine.h"

namespace lexicrawl {

Q_LOGGING_CATEGORY(replayLog, "lexicrawl.spelling.replay")

bool ReplayFollowsLoadedLibrary()
{
    static const bool follows = qgetenv("LEXICRAWL_SPELL_REPLAY") != "off"
                                && LoadedHunspellSeries() == QLatin1String("1.7");
    return follows;
}

namespace {

constexpr qsizetype kMaxWordLength = 48;
// The compound check gives up after 50,000 clock readings in one call; an
// answer that took more than this many is not relied on (the suggestion
// search's own compound check of the same word takes another path).
constexpr uint64_t kTrustedCompoundReadings = 2000;

bool PageWordChar(QChar c)
{
    const char16_t u = c.unicode();
    return (u >= u'0' && u <= u'9') || (u >= u'A' && u <= u'Z') || (u >= u'a' && u <= u'z')
           || (u >= 0x00C0 && u <= 0x00FF);
}

// A conversion whose output is made of page-word characters only could turn
// a suggestion into a spelling of the word.
bool OutputCanMakePageWords(const QList<QPair<QString, QString>>& oconv)
{
    for (const auto& [from, to] : oconv) {
        if (std::all_of(to.begin(), to.end(), PageWordChar))
            return true;
    }
    return false;
}

enum class Capitals { None, Initial, All, Mixed };

// The library's capitalisation classes: a character is cased when its
// lower-case form differs, neutral when upper and lower case agree.
Capitals CapitalsOf(const QString& s)
{
    int cased = 0, neutral = 0;
    for (QChar c : s) {
        cased += c.toLower() != c;
        neutral += c.toUpper() == c.toLower();
    }
    const bool first = !s.isEmpty() && s[0].toLower() != s[0];
    if (cased == 0)
        return Capitals::None;
    if (cased == 1 && first)
        return Capitals::Initial;
    if (cased == s.size() || cased + neutral == s.size())
        return Capitals::All;
    return Capitals::Mixed;
}

QString InitialCapital(const QString& s)
{
    QString out = s;
    if (!out.isEmpty())
        out[0] = out[0].toUpper();
    return out;
}

QString LowerEach(const QString& s)
{
    QString out = s;
    for (QChar& c : out)
        c = c.toLower();
    return out;
}

// Digits with single dots, commas or hyphens between them: accepted by the
// library's spelling check whatever the dictionary says.
bool LooksNumeric(const QString& s)
{
    bool digit = false, separator = false;
    for (qsizetype i = 0; i < s.size(); ++i) {
        if (s[i].isDigit()) {
            digit = true;
            separator = false;
        } else if ((s[i] == u',' || s[i] == u'.' || s[i] == u'-') && i > 0 && !separator) {
            separator = true;
        } else {
            return false;
        }
    }
    return digit && !separator;
}

std::unique_ptr<HunspellEngine> MakeEngine(const QByteArray& affix, const QByteArray& words)
{
    return HunspellEngine::Init(affix, words);
}

}  // namespace

// The form index is built on a thread of its own while the two engines are
// made (one at a time, see hunspell_engine.h).
SuggestionProof::SuggestionProof(const QByteArray& affix, const QByteArray& words)
{
    const AffixFile info(affix);
    ReadOptions(info, words);
    if (!usable_)
        return;
    std::future<std::unique_ptr<FormIndex>> index;
    if (replayUsable_)
        index = std::async(std::launch::async, [&info, &words] { return std::make_unique<FormIndex>(info, words); });
    MakeEngines(affix, words);
    if (index.valid())
        index_ = index.get();
    replayUsable_ = usable_ && replayUsable_ && exact_ && index_->Usable() && EngineClockInForce();
    if (!replayUsable_)
        return;
    // Only no-suggest forms that may be part of a compound matter there.
    for (const QString& form : index_->FormsMarked(FormIndex::NoSuggest)) {
        if (index_->MarksOf(form) & FormIndex::Compounding)
            noSuggestParts_.insert(form);
    }
}

void SuggestionProof::MakeEngines(const QByteArray& affix, const QByteArray& words)
{
    folded_ = MakeEngine(CaseFoldedAffix(affix), CaseFoldedWords(affix, words));
    foldsAllLetters_ = CaseFoldsAllLetters(affix);
    if (replayUsable_)
        exact_ = MakeEngine(ExactFormAffix(affix), words);
    usable_ = folded_ != nullptr;
}

std::unique_ptr<SuggestionProof> SuggestionProof::Twin(const QByteArray& affix, const QByteArray& words) const
{
    if (!usable_)
        return nullptr;
    std::unique_ptr<SuggestionProof> twin(new SuggestionProof);
    twin->index_ = index_;
    twin->setup_ = setup_;
    twin->ignore_ = ignore_;
    twin->inputPatterns_ = inputPatterns_;
    twin->breaks_ = breaks_;
    twin->noSuggestParts_ = noSuggestParts_;
    twin->checkSharps_ = checkSharps_;
    twin->replayUsable_ = replayUsable_;
    twin->MakeEngines(affix, words);
    if (!twin->usable_ || (replayUsable_ && !twin->exact_))
        return nullptr;
    return twin;
}

SuggestionProof::~SuggestionProof() = default;

void SuggestionProof::SelfCheck(HunspellEngine& engine, const QByteArray& words, const QString& name)
{
    if (!replayUsable_)
        return;
    // LEXICRAWL_SPELL_REPLAY=distrust fails the check at once, so that what
    // follows a failed check can be seen without a faulty library.
    if (qgetenv("LEXICRAWL_SPELL_REPLAY") == "distrust") {
        replayUsable_ = false;
        replayNotice_ = QStringLiteral("replay off for %1: LEXICRAWL_SPELL_REPLAY=distrust").arg(name);
        qCWarning(replayLog, "%s", qPrintable(replayNotice_));
        return;
    }
    QStringList stems;
    const QList<QByteArray> lines = words.split('\n');
    const qsizetype step = std::max<qsizetype>(1, lines.size() / 12);
    for (qsizetype i = 1; i < lines.size(); i += step) {
        const QString stem = QString::fromUtf8(lines[i]).section(u'/', 0, 0).section(u'\t', 0, 0).trimmed();
        if (stem.size() >= 3 && !stem.contains(u' '))
            stems << stem;
    }
    QStringList sample;
    for (qsizetype i = 0; i < stems.size(); ++i) {
        const QString lower = stems[i].toLower();
        QString swapped = lower;
        std::swap(swapped[1], swapped[2]);
        sample << lower << swapped << QString(lower).remove(1, 1) << lower + stems[(i + 1) % stems.size()].toLower();
    }
    for (const QString& word : sample) {
        if (engine.Spell(word))
            continue;
        // A wrong "known" is what would go unseen; Suggest is slow, so only
        // those answers are checked.
        const Verdict verdict = Decide(word, engine);
        if (verdict != Verdict::Known)
            continue;
        const QStringList suggestions = engine.Suggest(word);
        const bool suggested = std::any_of(suggestions.cbegin(), suggestions.cend(),
                                           [&](const QString& s) { return LowerAZ(s) == word; });
        if (suggested != (verdict == Verdict::Known)) {
            replayUsable_ = false;
            replayNotice_ = QStringLiteral("replay off for %1: the library's suggestions for \"%2\" differ from the replay")
                                .arg(name, word);
            qCWarning(replayLog, "%s", qPrintable(replayNotice_));
            return;
        }
    }
}

std::optional<bool> SuggestionProof::Checked(HunspellEngine& engine, const QString& word)
{
    const uint64_t before = CompoundClockReadings();
    const bool accepted = engine.Spell(word);
    if (CompoundClockReadings() - before > kTrustedCompoundReadings)
        return std::nullopt;
    return accepted;
}

void SuggestionProof::ReadOptions(const AffixFile& info, const QByteArray& words)
{
    const QByteArray lang = info.lang.left(2).toLower();
    usable_ = info.readable && !info.complexPrefixes && lang != "hu" && lang != "tr" && lang != "az"
              && !info.lang.toLower().startsWith("crh") && !OutputCanMakePageWords(info.oconv);
    ignore_ = info.ignore;
    for (const auto& conversion : info.iconv) {
        QString from = conversion.first;
        from.remove(u'^').remove(u'$').replace(u'_', u' ');
        inputPatterns_ << from;
    }
    for (QString b : info.breaks)
        breaks_ << b.remove(u'^').remove(u'$');
    checkSharps_ = info.checkSharps;
    const bool utf8 = IconvCharsetName(QString::fromLatin1(info.encoding)) == "UTF-8";
    replayUsable_ = usable_ && utf8 && ReplayFollowsLoadedLibrary() && !info.forceUpper && !words.contains("ph:");
    setup_.rep = info.rep;
    setup_.map = info.map;
    setup_.key = info.key;
    setup_.tryChars = info.tryChars;
    setup_.dashUsage = info.tryChars.contains(u'-') || info.tryChars.contains(u'a');
    setup_.noSplit = info.noSplitSuggestions;
    setup_.maxCompound = info.maxCompoundSuggestions >= 0 ? info.maxCompoundSuggestions : 3;
    setup_.compounding = info.compounding;
    setup_.ngramSeesCapitalised = lang == "de" || info.phoneTable;
    setup_.mapUsable = true;
    QSet<QString> seen;
    for (const QStringList& members : info.map) {
        for (const QString& m : members) {
            setup_.mapUsable = setup_.mapUsable && m.size() == 1 && !seen.contains(m);
            seen.insert(m);
        }
    }
}

bool SuggestionProof::PlainWord(const QString& word, bool capitalsAllowed) const
{
    if (word.isEmpty() || word.size() > kMaxWordLength || (!capitalsAllowed && CapitalsOf(word) != Capitals::None))
        return false;
    for (QChar c : word) {
        if (!PageWordChar(c) || ignore_.contains(c))
            return false;
    }
    for (const QString& p : inputPatterns_) {
        if (!p.isEmpty() && word.contains(p))
            return false;
    }
    return true;
}

// The first pass's test (a plain dictionary form in its own capitals), told
// from what the exact-forms dictionary's spelling check answers.
Acceptance SuggestionProof::Plain(const QString& candidate)
{
    // The index holds only spellings of page-word characters ("l'homme" is
    // left out); other candidates are told by the spelling check alone.
    if (!FormIndex::Covers(candidate))
        return exact_->Spell(candidate) ? Acceptance::Maybe : Acceptance::No;
    const int marks = index_->MarksOf(candidate);
    if (marks < 0 || !exact_->Spell(candidate))
        return Acceptance::No;
    // The search's test passes over no-suggest words, and where the word
    // list holds the candidate only as words the lookup skips, it does not
    // look for a prefix; the spelling check does both.
    if (marks & FormIndex::NoSuggest) {
        // Refused for sure when every homonym in the list is no-suggest (the
        // first decides), or every form comes from one (whichever is found).
        const bool onlyNoSuggestWords = (marks & FormIndex::BareNoSuggest)
                                        && !(marks & (FormIndex::BarePlain | FormIndex::BareSkipped | FormIndex::BareForbidden));
        const bool onlyNoSuggestForms = !(marks & FormIndex::Ordinary);
        return onlyNoSuggestWords || onlyNoSuggestForms ? Acceptance::No : Acceptance::Maybe;
    }
    if ((marks & FormIndex::BareSkipped) && !(marks & FormIndex::BarePlain) && (marks & FormIndex::Prefixed))
        return Acceptance::Maybe;
    if (candidate.startsWith(u' ') || candidate.endsWith(u'.') || LooksNumeric(candidate))
        return Acceptance::Maybe;
    for (QChar c : ignore_) {
        if (candidate.contains(c))
            return Acceptance::Maybe;
    }
    // The spelling check also tries a capitalised word in lower case, and a
    // word in capitals with only its first letter so; those tries must fail.
    const QString lower = LowerEach(candidate);
    switch (CapitalsOf(candidate)) {
    case Capitals::Initial:
        return SpelledOtherwise(lower, false) ? Acceptance::Maybe : Acceptance::Yes;
    case Capitals::All: {
        const QString initial = lower.left(1).toUpper() + lower.mid(1);
        if (candidate.contains(u'\'') || (checkSharps_ && candidate.contains(QStringLiteral("SS")))
            || SpelledOtherwise(lower, false) || SpelledOtherwise(initial, true))
            return Acceptance::Maybe;
        return Acceptance::Yes;
    }
    default:
        return Acceptance::Yes;
    }
}

// Whether the spelling check could accept form on the way to another
// spelling: as a form of the dictionary, or (hidden) as the library's
// capitalised twin of a mixed-case word, which only that way is accepted.
bool SuggestionProof::SpelledOtherwise(const QString& form, bool hiddenCounts)
{
    if (!FormIndex::Covers(form))
        return hiddenCounts || exact_->Spell(form);
    const int marks = index_->MarksOf(form);
    if (marks < 0)
        return false;
    return (hiddenCounts && (marks & FormIndex::Hidden)) || exact_->Spell(form);
}

// The compound pass's test of any candidate, as an upper bound: a compound
// the dictionary's spelling check accepts, or one it turns down only for a
// forbidden form of a word (the search's test looks at the compound alone).
Acceptance SuggestionProof::Compound(const QString& candidate, HunspellEngine& original)
{
    const int marks = FormIndex::Covers(candidate) ? index_->MarksOf(candidate) : FormIndex::Forbidden;
    // A word of the list that is no-suggest or forbidden (every homonym of
    // it, so the first) is never a compound suggestion.
    const int blocking = FormIndex::BareNoSuggest | FormIndex::BareForbidden;
    if (marks >= 0 && (marks & blocking) && !(marks & (FormIndex::BarePlain | FormIndex::BareSkipped)))
        return Acceptance::No;
    if (!index_->MayBeCompound(candidate))
        return Acceptance::No;
    const bool forbiddenForm = marks >= 0 && (marks & FormIndex::Forbidden);
    return forbiddenForm || Checked(original, candidate) != std::optional<bool>(false) ? Acceptance::Maybe
                                                                                      : Acceptance::No;
}

// The compound pass's test of the word with a capital first letter: a
// compound the dictionary accepts (its spelling check tries the word's lower
// case too, which it rejects) that is no plain form and has no no-suggest
// part (the suggestion search leaves those out of compounds).
bool SuggestionProof::CompoundTarget(const QString& candidate, HunspellEngine& original)
{
    for (const QString& b : breaks_) {
        if (!b.isEmpty() && candidate.contains(b))
            return false;
    }
    if (Checked(original, candidate) != std::optional<bool>(true) || exact_->Spell(candidate))
        return false;
    const int marks = index_->MarksOf(candidate);
    return !(marks >= 0 && (marks & FormIndex::NoSuggest)) && !HasNoSuggestPart(candidate);
}

// Compound parts are looked up as they stand in the word. A no-suggest word
// could be a part where the rest of the word is made of parts, or as the
// first part of a cut the search tries (one is enough to end it).
bool SuggestionProof::HasNoSuggestPart(const QString& candidate) const
{
    if (noSuggestParts_.isEmpty())
        return false;
    const FormIndex::PartReach reach = index_->Parts(candidate);
    for (qsizetype from = 0; from < candidate.size(); ++from) {
        for (qsizetype len = 1; from + len <= candidate.size(); ++len) {
            const bool placed = from == 0 || (reach.head[size_t(from)] && reach.tail[size_t(from + len)]);
            if (placed && noSuggestParts_.contains(candidate.mid(from, len)))
                return true;
        }
    }
    return false;
}

SuggestionProof::Verdict SuggestionProof::Decide(const QString& word, HunspellEngine& original)
{
    if (!usable_)
        return Verdict::Undecided;
    // A word with capitals beyond A-Z ("Übung", "xÜbersetzer"): whatever
    // the library makes of its capitals, a suggestion that is the word
    // lower-cases to it, so none can be when no spelling of the lower-cased
    // word in any case is there.
    if (foldsAllLetters_ && CapitalsOf(word) != Capitals::None && PlainWord(word, true))
        return Checked(*folded_, LowerEach(word)) == std::optional<bool>(false) ? Verdict::Unknown : Verdict::Undecided;
    if (!PlainWord(word))
        return Verdict::Undecided;
    // A lower-case word the dictionary has with a capital first letter
    // (which the case-folded dictionary would accept) is proven known at
    // once, mostly; other words are first looked for in the case-folded
    // dictionary, which is cheaper than a whole replay.
    if (replayUsable_ && Plain(InitialCapital(word)) == Acceptance::Yes)
        return Replay(word, original);
    const std::optional<bool> folded = Checked(*folded_, word);
    if (folded == std::optional<bool>(false))
        return Verdict::Unknown;
    return folded && replayUsable_ ? Replay(word, original) : Verdict::Undecided;
}

SuggestionProof::Verdict SuggestionProof::Replay(const QString& word, HunspellEngine& original)
{
    ReplayTests tests;
    tests.plain = [this](const QString& c) { return Plain(c); };
    tests.compound = [this, &original](const QString& c) { return Compound(c, original); };
    tests.compoundTarget = [this, &original](const QString& c) { return CompoundTarget(c, original); };
    tests.index = index_.get();
    SuggestionReplay replay(word, setup_, tests);
    switch (replay.Run()) {
    case SuggestionReplay::Outcome::Known:
        return Verdict::Known;
    case SuggestionReplay::Outcome::Unknown:
        return Verdict::Unknown;
    case SuggestionReplay::Outcome::Undecided:
        break;
    }
    return Verdict::Undecided;
}

}  // namespace lexicrawl
