#include "spelling/suggestion_proof.h"

#include <algorithm>

#include "platform/text.h"
#include "spelling/affix_file.h"
#include "spelling/derived_dictionary.h"
#include "spelling/dictionary_codec.h"
#include "spelling/engine_clock.h"
#include "spelling/form_index.h"
#include "spelling/hunspell_engine.h"

namespace lexicrawl {

namespace {

constexpr qsizetype kMaxWordLength = 48;

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

SuggestionProof::SuggestionProof(const QByteArray& affix, const QByteArray& words)
{
    const AffixFile info(affix);
    ReadOptions(info, words);
    if (!usable_)
        return;
    folded_ = MakeEngine(CaseFoldedAffix(affix), CaseFoldedWords(words));
    usable_ = folded_ != nullptr;
    if (!usable_ || !replayUsable_)
        return;
    exact_ = MakeEngine(ExactFormAffix(affix), words);
    index_ = std::make_unique<FormIndex>(info, words);
    replayUsable_ = exact_ && index_->Usable();
    if (replayUsable_) {
        // Only no-suggest forms that may be part of a compound matter there.
        for (const QString& form : index_->FormsMarked(FormIndex::NoSuggest)) {
            if (index_->MarksOf(form) & FormIndex::Compounding)
                noSuggestFolds_.insert(index_->Fold(form));
        }
        // The replay counts the library's clock readings; it must see ours.
        const uint64_t before = EngineClockReadings();
        exact_->Suggest(QStringLiteral("qqqq"));
        replayUsable_ = EngineClockReadings() > before;
    }
}

SuggestionProof::~SuggestionProof() = default;

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
    replayUsable_ = usable_ && utf8 && !info.forceUpper && !words.contains("ph:");
    setup_.rep = info.rep;
    setup_.map = info.map;
    setup_.key = info.key;
    setup_.tryChars = info.tryChars;
    setup_.dashUsage = info.tryChars.contains(u'-') || info.tryChars.contains(u'a');
    setup_.noSplit = info.noSplitSuggestions;
    setup_.maxCompound = info.maxCompoundSuggestions >= 0 ? info.maxCompoundSuggestions : 3;
    setup_.compounding = info.compounding;
    setup_.mapUsable = true;
    QSet<QString> seen;
    for (const QStringList& members : info.map) {
        for (const QString& m : members) {
            setup_.mapUsable = setup_.mapUsable && m.size() == 1 && !seen.contains(m);
            seen.insert(m);
        }
    }
}

bool SuggestionProof::PlainWord(const QString& word) const
{
    if (word.isEmpty() || word.size() > kMaxWordLength || CapitalsOf(word) != Capitals::None)
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
    // look for prefixes; the spelling check does both.
    if (marks & FormIndex::NoSuggest) {
        const bool onlyNoSuggestWords = (marks & FormIndex::BareNoSuggest)
                                        && !(marks & (FormIndex::BarePlain | FormIndex::BareSkipped));
        return onlyNoSuggestWords ? Acceptance::No : Acceptance::Maybe;
    }
    if ((marks & FormIndex::BareSkipped) && !(marks & FormIndex::BarePlain))
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
    if (!original.Spell(candidate) || exact_->Spell(candidate))
        return false;
    const int marks = index_->MarksOf(candidate);
    return !(marks >= 0 && (marks & FormIndex::NoSuggest)) && !HasNoSuggestPart(candidate);
}

bool SuggestionProof::HasNoSuggestPart(const QString& candidate) const
{
    if (noSuggestFolds_.isEmpty())
        return false;
    const QString folded = index_->Fold(candidate);
    for (qsizetype from = 0; from < folded.size(); ++from) {
        for (qsizetype len = 1; from + len <= folded.size(); ++len) {
            if (noSuggestFolds_.contains(folded.mid(from, len)))
                return true;
        }
    }
    return false;
}

SuggestionProof::Verdict SuggestionProof::Decide(const QString& word, HunspellEngine& original)
{
    if (!usable_ || !PlainWord(word))
        return Verdict::Undecided;
    if (!folded_->Spell(word))
        return Verdict::Unknown;
    if (!replayUsable_)
        return Verdict::Undecided;
    ReplayTests tests;
    tests.plain = [this](const QString& c) { return Plain(c); };
    tests.compound = [this, &original](const QString& c) {
        return index_->MayBeCompound(c) && original.Spell(c) ? Acceptance::Maybe : Acceptance::No;
    };
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
