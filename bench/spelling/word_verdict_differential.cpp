// The differential check of the fast word verdict against the plain one
// (Spell, then Suggest), over a word set made for the dictionary's language:
// awkward tokens; the stems of the word list as written; the lower-cased
// stems that Spell rejects (nouns and names met at the start of a sentence or
// in German text); lower-cased forms of the dictionary (every affixed form
// the form index holds); compounds of two nouns; the pieces of words with
// apostrophes and hyphens as the page splitter cuts them ("l'homme" gives "l"
// and "homme"); a misspelling of stems; and every word of the pages of a
// generated site (gen_site_lang.py). Words are split over threads, each with
// its own two dictionaries.
//
//   word_verdict_differential PACKAGE [--threads N] [--stride S]
//       [--misspell M] [--compounds C] [--pages DIR] [--limit W]
//
// --stride S keeps every S-th word of the stem, form and misspelling sets
// (the awkward tokens, compounds and page words always); --limit W keeps
// every k-th word of the whole set so that at most W remain.
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QHash>
#include <QSet>

#include <atomic>
#include <cstdio>
#include <mutex>
#include <thread>

#include "common.h"
#include "platform/text.h"
#include "spelling/affix_file.h"
#include "spelling/form_index.h"
#include "spelling/hunspell_engine.h"
#include "spelling/suggestion_proof.h"
#include "spelling/word_verdict.h"
#include "word_corpus.h"

using namespace lexicrawl;
using namespace lexicrawl::bench;

namespace {

const char* const kCategories[] = {"awkward tokens", "stems as written", "lower-cased stems",
                                   "lower-cased forms", "compounds", "elided and hyphenated pieces",
                                   "misspellings", "page words"};
constexpr int kCategoryCount = 8;

struct Options {
    QString package;
    int threads = 2;
    int stride = 1;
    int misspellStep = 4;
    int compounds = 20000;
    QString pages;
    qsizetype limit = 0;
};

Options ParseOptions(const QStringList& args)
{
    Options o;
    o.package = args.value(1, DefaultPackage());
    for (qsizetype i = 2; i + 1 < args.size(); i += 2) {
        const QString& k = args[i];
        const QString& v = args[i + 1];
        if (k == QLatin1String("--threads")) o.threads = std::max(1, v.toInt());
        else if (k == QLatin1String("--stride")) o.stride = std::max(1, v.toInt());
        else if (k == QLatin1String("--misspell")) o.misspellStep = std::max(1, v.toInt());
        else if (k == QLatin1String("--compounds")) o.compounds = v.toInt();
        else if (k == QLatin1String("--pages")) o.pages = v;
        else if (k == QLatin1String("--limit")) o.limit = v.toLongLong();
    }
    return o;
}

struct WordSet {
    QStringList words;
    std::vector<int> category;
    QSet<QString> seen;
    void Add(const QString& w, int c)
    {
        if (w.isEmpty() || seen.contains(w))
            return;
        seen.insert(w);
        words << w;
        category.push_back(c);
    }
};

WordSet MakeWords(const Options& o, SpellDictionary& probe)
{
    const DictionaryFiles files = PackageFiles(o.package);
    const QStringList stems = DictionaryStems(files.words);
    WordSet set;
    for (const QString& w : AwkwardTokens())
        set.Add(w, 0);
    for (int i = 0; i < stems.size(); i += o.stride)
        set.Add(stems[i], 1);
    for (int i = 0; i < stems.size(); i += o.stride) {
        const QString lower = LowerAZ(stems[i]);
        if (lower != stems[i] && !probe.Spell(lower))
            set.Add(lower, 2);
    }
    const AffixFile affix(files.affix);
    const FormIndex index(affix, files.words);
    const QStringList forms = index.FormsMarked(0);
    for (qsizetype i = 0; i < forms.size(); i += 4 * o.stride) {
        for (const QString& piece : PageWords(forms[i]))
            set.Add(piece, forms[i].contains(u'\'') || forms[i].contains(u'-') || forms[i].contains(u'\u2019') ? 5 : 3);
    }
    if (affix.compounding) {
        for (const QString& c : Compounds(stems, o.compounds, 7))
            set.Add(LowerAZ(c), 4);
    }
    for (int i = 0; i < stems.size(); i += o.misspellStep * o.stride)
        set.Add(Misspell(stems[i], uint32_t(i)), 6);
    if (!o.pages.isEmpty()) {
        for (const QString& w : SitePageWords(o.pages))
            set.Add(w, 7);
    }
    return set;
}

void Thin(WordSet& set, qsizetype limit)
{
    if (limit <= 0 || set.words.size() <= limit)
        return;
    const qsizetype step = (set.words.size() + limit - 1) / limit;
    WordSet thin;
    for (qsizetype i = 0; i < set.words.size(); i += step)
        thin.Add(set.words[i], set.category[size_t(i)]);
    set = thin;
}

struct Totals {
    std::atomic<qsizetype> next{0}, differing{0}, unknown{0}, spelled{0}, known{0}, proofUnknown{0}, undecided{0};
    std::atomic<int64_t> plainNs{0}, fastNs{0};
    std::atomic<qsizetype> perCategory[kCategoryCount]{}, differingPerCategory[kCategoryCount]{};
};

// What the proof says of a word, for the figures (outside the timed part).
void CountOutcome(SpellDictionary& d, const QString& w, Totals& t)
{
    HunspellEngine* e = d.Engine();
    if (e->Spell(w)) {
        ++t.spelled;
        return;
    }
    bool upper = false;
    for (QChar c : w)
        upper = upper || (c >= u'A' && c <= u'Z');
    const auto v = upper ? SuggestionProof::Verdict::Unknown : d.Proof()->Decide(w, *e);
    if (v == SuggestionProof::Verdict::Known)
        ++t.known;
    else if (v == SuggestionProof::Verdict::Unknown)
        ++t.proofUnknown;
    else
        ++t.undecided;
    if (v == SuggestionProof::Verdict::Undecided && qEnvironmentVariableIsSet("LEXICRAWL_SHOW_UNDECIDED"))
        std::printf("left to Suggest: %s\n", qPrintable(w));
}

void Work(const Options& o, const WordSet& set, Totals& t, std::mutex& out, std::mutex& engines)
{
    std::unique_lock<std::mutex> making(engines);
    LoadedDictionary plain = LoadPackage(o.package);
    LoadedDictionary fast = LoadPackage(o.package);
    making.unlock();
    QElapsedTimer timer;
    for (qsizetype i = t.next++; i < set.words.size(); i = t.next++) {
        const QString& w = set.words[i];
        timer.start();
        const bool p = SpellCheckWordPlain(*plain.dictionary, w);
        t.plainNs += timer.nsecsElapsed();
        timer.start();
        const bool f = SpellCheckWordFast(*fast.dictionary, w);
        t.fastNs += timer.nsecsElapsed();
        CountOutcome(*fast.dictionary, w, t);
        const int c = set.category[size_t(i)];
        ++t.perCategory[c];
        t.unknown += !p;
        if (p != f) {
            ++t.differing;
            ++t.differingPerCategory[c];
            std::lock_guard<std::mutex> lock(out);
            std::printf("DIFFERS %s plain=%d fast=%d (%s)\n", qPrintable(w), p, f, kCategories[c]);
            std::fflush(stdout);
        }
    }
    std::lock_guard<std::mutex> freeing(engines);
    plain.manager.reset();
    fast.manager.reset();
}

}  // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const Options o = ParseOptions(app.arguments());
    LoadedDictionary probe = LoadPackage(o.package);
    if (!probe.dictionary || !probe.dictionary->Proof()) {
        std::fprintf(stderr, "cannot load %s\n", qPrintable(o.package));
        return 2;
    }
    WordSet set = MakeWords(o, *probe.dictionary);
    Thin(set, o.limit);
    probe.manager.reset();
    Totals t;
    std::mutex out, engines;
    QElapsedTimer wall;
    wall.start();
    std::vector<std::thread> pool;
    for (int i = 0; i < o.threads; ++i)
        pool.emplace_back(Work, std::cref(o), std::cref(set), std::ref(t), std::ref(out), std::ref(engines));
    for (auto& th : pool)
        th.join();
    std::printf("dictionary %s, %lld words, %d threads, %.1f s\n", qPrintable(o.package),
                (long long)set.words.size(), o.threads, double(wall.elapsed()) / 1000.0);
    for (int c = 0; c < kCategoryCount; ++c) {
        if (t.perCategory[c])
            std::printf("  %-30s %8lld words, %lld differing\n", kCategories[c], (long long)t.perCategory[c].load(),
                        (long long)t.differingPerCategory[c].load());
    }
    std::printf("verdicts: %lld unknown; accepted by Spell %lld, proved known %lld, proved unknown %lld, "
                "left to Suggest %lld\n", (long long)t.unknown.load(), (long long)t.spelled.load(),
                (long long)t.known.load(), (long long)t.proofUnknown.load(), (long long)t.undecided.load());
    std::printf("time: plain path %.1f s, fast path %.2f s (summed over threads)\n", double(t.plainNs) / 1e9,
                double(t.fastNs) / 1e9);
    std::printf("differing %lld\n", (long long)t.differing.load());
    return t.differing == 0 ? 0 : 1;
}
