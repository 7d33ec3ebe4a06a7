#include "spelling/suggestion_engine.h"

#include <QChar>

#include <algorithm>
#include <thread>

#include "spelling/affix_rules.h"
#include "spelling/candidate_steps.h"
#include "spelling/dictionary_words.h"
#include "spelling/ngram_suggester.h"

namespace lexicrawl {

namespace {

// The engine stops proposing at this many suggestions.
constexpr std::size_t kMaxSuggestions = 15;
// How far apart two letters may stand to be swapped or moved.
constexpr std::size_t kMaxDistance = 4;

QString FromU16(const std::u16string& text)
{
    return QString::fromUtf16(text.data(), qsizetype(text.size()));
}

// The spellings one slip away from a word, tried in the engine's order:
// each that the dictionary accepts joins the list, once.
class NearMissSearch {
public:
    NearMissSearch(const AffixRules& rules, const DictionaryWords& words, std::vector<std::u16string>& list,
                   const std::u16string& word)
        : rules_(rules), words_(words), list_(list), n_(word.size()), start_(words.KnownStartLength(word)),
          end_(words.KnownEndLength(word))
    {
    }

    // Whether a change of the characters from first to last (inclusive;
    // an insertion before first when last is first - 1) can make a form:
    // what stands before it must start one, what stands after it end one.
    bool MayChange(std::size_t first, std::size_t last) const
    {
        return first <= start_ && n_ - 1 - last <= end_;
    }

    bool Full() const { return list_.size() >= kMaxSuggestions; }

    void Try(const std::u16string& candidate)
    {
        if (Full() || std::find(list_.begin(), list_.end(), candidate) != list_.end())
            return;
        if (words_.Accepts(candidate))
            list_.push_back(candidate);
    }

    // html -> HTML
    void AllCapitals(const std::u16string& word)
    {
        std::u16string c = word;
        for (char16_t& ch : c)
            ch = QChar::toUpper(ch);
        Try(c);
    }

    void Replacements(const std::u16string& word)
    {
        if (word.size() < 2)
            return;
        ReplacementPlaces(word, rules_.File().rep, [&](qsizetype at, const RepEntry& e) {
            const std::size_t from = std::size_t(at);
            const std::u16string c = word.substr(0, from) + e.with.toStdU16String()
                                     + word.substr(from + std::size_t(e.pattern.size()));
            Try(c);
            TrySpaced(c);
            return true;
        });
    }

    void Related(const std::u16string& word)
    {
        if (word.size() >= 2 && !rules_.related.empty()) {
            std::u16string candidate;
            RelatedFrom(word, 0, candidate);
        }
    }

    void Swaps(const std::u16string& word)
    {
        SwapCandidates(word, [this](const std::u16string& c) { Try(c); },
                       [this](std::size_t i) { return MayChange(i, i + 1); });
    }

    void DistantSwaps(const std::u16string& word)
    {
        DistantSwapCandidates(
            word, [this](const std::u16string& c) { Try(c); },
            [this](std::size_t p, std::size_t q) { return MayChange(p, q); }, [] { return true; });
    }

    // A capital, or a neighbour key on the keyboard, in place of a letter.
    void KeyboardSlips(const std::u16string& word)
    {
        std::u16string c = word;
        const std::u16string& keys = rules_.keyboard;
        for (std::size_t i = 0; i < c.size(); ++i) {
            if (!MayChange(i, i))
                continue;
            const char16_t original = c[i];
            c[i] = QChar::toUpper(original);
            if (c[i] != original) {
                Try(c);
                c[i] = original;
            }
            for (std::size_t at = keys.find(original); at != std::u16string::npos; at = keys.find(original, at + 1)) {
                if (at > 0 && keys[at - 1] != u'|') {
                    c[i] = keys[at - 1];
                    Try(c);
                }
                if (at + 1 < keys.size() && keys[at + 1] != u'|') {
                    c[i] = keys[at + 1];
                    Try(c);
                }
            }
            c[i] = original;
        }
    }

    void ExtraLetters(const std::u16string& word)
    {
        if (word.size() < 2)
            return;
        for (std::size_t i = 0; i < word.size(); ++i) {
            const std::size_t at = word.size() - 1 - i;
            if (MayChange(at, at))
                Try(word.substr(0, at) + word.substr(at + 1));
        }
    }

    void MissingLetters(const std::u16string& word)
    {
        std::u16string c = word;
        for (char16_t t : rules_.tryChars)
            for (std::size_t i = 0; i <= word.size(); ++i) {
                const std::size_t at = word.size() - i;
                if (at > start_ || word.size() - at > end_)
                    continue;  // nothing starts with what comes before, or ends with what comes after
                c.insert(c.begin() + std::ptrdiff_t(at), t);
                Try(c);
                c.erase(c.begin() + std::ptrdiff_t(at));
            }
    }

    void MovedLetters(const std::u16string& word)
    {
        if (word.size() < 2)
            return;
        std::u16string c = word;
        const std::size_t n = c.size();
        for (std::size_t p = 0; p < n; ++p) {
            for (std::size_t q = p + 1; q < n && q - p <= kMaxDistance; ++q) {
                std::swap(c[q], c[q - 1]);
                if (q - p >= 2 && MayChange(p, q))
                    Try(c);
            }
            c = word;
        }
        for (std::size_t rp = 0; rp < n; ++rp) {
            for (std::size_t rq = rp + 1; rq < n && rq - rp <= kMaxDistance; ++rq) {
                const std::size_t q = n - 1 - rq;
                std::swap(c[q], c[q + 1]);
                if (rq - rp >= 2 && MayChange(q, n - 1 - rp))
                    Try(c);
            }
            c = word;
        }
    }

    void WrongLetters(const std::u16string& word)
    {
        std::u16string c = word;
        for (char16_t t : rules_.tryChars)
            for (std::size_t i = c.size(); i-- > 0;) {
                const char16_t original = c[i];
                if (original == t || !MayChange(i, i))
                    continue;
                c[i] = t;
                Try(c);
                c[i] = original;
            }
    }

    // vacacation -> vacation
    void DoubledPairs(const std::u16string& word)
    {
        const std::size_t n = word.size();
        if (n < 5)
            return;
        int state = 0;
        for (std::size_t i = 2; i < n; ++i) {
            if (word[i] != word[i - 2]) {
                state = 0;
                continue;
            }
            ++state;
            if (state == 3 || (state == 2 && i >= 4)) {
                if (MayChange(i - 1, i))
                    Try(word.substr(0, i - 1) + word.substr(i + 1));
                state = 0;
            }
        }
    }

    // Two words run together; a pair the word list holds whole wins over
    // everything else. Answers whether the list now holds a good suggestion.
    bool TwoWords(const std::u16string& word, bool good)
    {
        if (word.size() < 3)
            return false;
        for (std::size_t i = 1; i < word.size(); ++i) {
            if (i > start_ || word.size() - i > end_)
                continue;  // no form starts with the left part, or ends with the right
            const std::u16string left = word.substr(0, i), right = word.substr(i);
            for (char16_t sep : {u' ', u'-'}) {
                if (sep == u'-' && !rules_.dashUsage)
                    continue;
                const std::u16string pair = left + sep + right;
                if (words_.Accepts(pair)) {
                    if (!good) {
                        good = true;
                        list_.clear();
                    }
                    list_.insert(list_.begin(), pair);
                }
            }
            if (Full() || rules_.noSplitSuggestions || good || !words_.Accepts(left) || !words_.Accepts(right))
                continue;
            const std::u16string spaced = left + u' ' + right;
            const bool fresh = std::find(list_.begin(), list_.end(), spaced) == list_.end();
            if (fresh && !Full())
                list_.push_back(spaced);
            if (rules_.dashUsage && right.size() > 1 && left.size() > 1) {
                const std::u16string dashed = left + u'-' + right;
                if (fresh && !Full() && std::find(list_.begin(), list_.end(), dashed) == list_.end())
                    list_.push_back(dashed);
            }
        }
        return good;
    }

    std::size_t Size() const { return list_.size(); }

private:
    // A replacement with a space is good when its first words are words.
    void TrySpaced(const std::u16string& candidate)
    {
        std::size_t prev = 0;
        for (std::size_t sp = candidate.find(u' '); sp != std::u16string::npos; sp = candidate.find(u' ', prev)) {
            if (words_.Accepts(candidate.substr(prev, sp - prev))) {
                const std::size_t before = list_.size();
                Try(candidate.substr(sp + 1));
                if (list_.size() > before)
                    list_.back() = candidate;
            }
            prev = sp + 1;
        }
    }

    void RelatedFrom(const std::u16string& word, std::size_t at, std::u16string& candidate)
    {
        if (at == word.size()) {
            if (std::find(list_.begin(), list_.end(), candidate) == list_.end() && words_.Accepts(candidate) &&
                !Full())
                list_.push_back(candidate);
            return;
        }
        bool inGroup = false;
        for (const std::vector<std::u16string>& group : rules_.related)
            for (const std::u16string& member : group) {
                if (word.compare(at, member.size(), member) != 0 || member.empty())
                    continue;
                inGroup = true;
                const std::size_t keep = candidate.size();
                for (const std::u16string& other : group) {
                    candidate.resize(keep);
                    candidate += other;
                    RelatedFrom(word, at + member.size(), candidate);
                }
                candidate.resize(keep);
            }
        if (!inGroup) {
            candidate.push_back(word[at]);
            RelatedFrom(word, at + 1, candidate);
            candidate.pop_back();
        }
    }

    const AffixRules& rules_;
    const DictionaryWords& words_;
    std::vector<std::u16string>& list_;
    const std::size_t n_;
    const std::size_t start_;  // the longest start of the word that starts a form
    const std::size_t end_;    // the longest end that ends one
};

}  // namespace

SuggestionEngine::SuggestionEngine() = default;
SuggestionEngine::~SuggestionEngine() = default;

std::unique_ptr<SuggestionEngine> SuggestionEngine::Build(const QByteArray& affix, const QByteArray& words)
{
    if (affix.isEmpty() || words.isEmpty())
        return nullptr;
    std::unique_ptr<SuggestionEngine> engine(new SuggestionEngine);
    engine->rules_ = std::make_unique<AffixRules>(affix);
    engine->words_ = std::make_unique<DictionaryWords>(*engine->rules_, words);
    engine->ngram_ = std::make_unique<NgramSuggester>(*engine->rules_, *engine->words_);
    return engine;
}

bool SuggestionEngine::Accepts(QStringView form) const
{
    return words_->Accepts(U16View(form));
}

bool SuggestionEngine::NearMisses(const std::u16string& word, std::vector<std::u16string>& list) const
{
    NearMissSearch search(*rules_, *words_, list, word);
    const std::size_t start = list.size();
    bool good = false;
    auto step = [&](auto&& run) {
        if (!search.Full())
            run();
    };
    step([&] { search.AllCapitals(word); });
    step([&] { search.Replacements(word); });
    good = list.size() > start;
    step([&] { search.Related(word); });
    step([&] { search.Swaps(word); });
    step([&] { search.DistantSwaps(word); });
    step([&] { search.KeyboardSlips(word); });
    step([&] { search.ExtraLetters(word); });
    step([&] { search.MissingLetters(word); });
    step([&] { search.MovedLetters(word); });
    step([&] { search.WrongLetters(word); });
    step([&] { search.DoubledPairs(word); });
    return search.TwoWords(word, good);
}

void SuggestionEngine::Suggest(const std::u16string& word, std::vector<std::u16string>& list) const
{
    const std::u16string lower = LowerWord(word);
    const bool capitalised = lower != word;
    bool good = NearMisses(word, list);
    if (capitalised)
        good = NearMisses(lower, list) || good;
    if (!good && list.empty() && rules_->maxNgramSuggestions != 0)
        ngram_->Suggest(capitalised ? lower : word, !capitalised, list, kMaxSuggestions);
    if (capitalised) {
        for (std::u16string& s : list)
            s[0] = QChar::toUpper(s[0]);
    }
    std::vector<std::u16string> unique;
    for (std::u16string& s : list)
        if (std::find(unique.begin(), unique.end(), s) == unique.end())
            unique.push_back(std::move(s));
    list = std::move(unique);
}

QStringList SuggestionEngine::Suggest(const QString& word, int limit) const
{
    std::vector<std::u16string> list;
    Suggest(ToU16(word), list);
    QStringList out;
    for (std::size_t i = 0; i < list.size() && int(i) < limit; ++i)
        out << FromU16(list[i]);
    return out;
}

std::vector<QStringList> SuggestionEngine::SuggestAll(const QStringList& words, int limit, int threads) const
{
    std::vector<QStringList> out(std::size_t(words.size()));
    if (threads <= 0)
        threads = int(std::max(1u, std::thread::hardware_concurrency()));
    threads = std::min<int>(threads, int(std::max<qsizetype>(1, words.size())));
    std::vector<std::thread> pool;
    for (int t = 0; t < threads; ++t)
        pool.emplace_back([&, t] {
            for (qsizetype i = t; i < words.size(); i += threads)
                out[std::size_t(i)] = Suggest(words.at(i), limit);
        });
    for (std::thread& thread : pool)
        thread.join();
    return out;
}

}  // namespace lexicrawl
