// Word verdicts per second over an English-like token stream, plain path
// (Spell, then Suggest, for each distinct word of each page, as the page
// recorder asks) against SpellCheckWord. Every verdict is compared.
//
//   word_verdict_bench [package.oxt] [pages] [vocabulary] [seed]
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QSet>

#include <cstdio>

#include "common.h"
#include "platform/text.h"
#include "spelling/word_verdict.h"
#include "word_corpus.h"

using namespace lexicrawl;
using namespace lexicrawl::bench;

namespace {

constexpr int kTokensPerPage = 400;

struct Vocabulary {
    QStringList known;
    QStringList unknown;
};

// Distinct lower-cased words, 10% of them unknown (misspellings the plain
// verdict rejects), the rest dictionary words as pages write them.
Vocabulary MakeVocabulary(SpellDictionary& d, const QStringList& stems, int size, Rng& rng)
{
    Vocabulary v;
    QSet<QString> seen;
    const int unknownWanted = size / 10;
    while (v.known.size() + v.unknown.size() < size) {
        const QString stem = stems[int(rng.Below(uint32_t(stems.size())))];
        if (v.unknown.size() < unknownWanted && rng.Below(10) == 0) {
            const QString w = Misspell(stem, rng.Next());
            if (!seen.contains(w) && !SpellCheckWordPlain(d, w)) {
                seen.insert(w);
                v.unknown << w;
            }
        } else if (v.known.size() < size - unknownWanted) {
            const QString w = LowerAZ(stem);
            if (!seen.contains(w) && SpellCheckWordPlain(d, w)) {
                seen.insert(w);
                v.known << w;
            }
        }
    }
    return v;
}

// Pages of tokens drawn with a Zipf-like skew, reduced to each page's
// distinct words (what the recorder checks).
QList<QStringList> MakePages(const Vocabulary& v, int pages, Rng& rng)
{
    const QStringList all = v.known + v.unknown;
    QList<QStringList> out;
    for (int p = 0; p < pages; ++p) {
        QSet<QString> words;
        for (int t = 0; t < kTokensPerPage; ++t) {
            const double u = double(rng.Below(1000000) + 1) / 1000000.0;
            const int rank = int(double(all.size()) * u * u * u);
            words.insert(all[std::min(rank, int(all.size()) - 1)]);
        }
        QStringList list = words.values();
        list.sort();
        out << list;
    }
    return out;
}

}  // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QString package = argc > 1 ? QString::fromLocal8Bit(argv[1]) : DefaultPackage();
    const int pages = argc > 2 ? atoi(argv[2]) : 100;
    const int vocabulary = argc > 3 ? atoi(argv[3]) : 4000;
    Rng rng(argc > 4 ? uint32_t(atoi(argv[4])) : 20240315u);
    LoadedDictionary plainDict = LoadPackage(package);
    LoadedDictionary fastDict = LoadPackage(package);
    if (!plainDict.dictionary || !fastDict.dictionary) {
        std::fprintf(stderr, "cannot load %s\n", qPrintable(package));
        return 2;
    }
    const Vocabulary v = MakeVocabulary(*plainDict.dictionary, PackageStems(package), vocabulary, rng);
    const QList<QStringList> pageWords = MakePages(v, pages, rng);
    qsizetype verdicts = 0;
    for (const QStringList& p : pageWords)
        verdicts += p.size();

    std::vector<bool> plainVerdicts;
    QElapsedTimer timer;
    timer.start();
    for (const QStringList& p : pageWords) {
        for (const QString& w : p)
            plainVerdicts.push_back(SpellCheckWordPlain(*plainDict.dictionary, w));
    }
    const double plainSeconds = double(timer.nsecsElapsed()) / 1e9;

    std::vector<bool> fastVerdicts;
    timer.restart();
    for (const QStringList& p : pageWords) {
        for (const QString& w : p)
            fastVerdicts.push_back(SpellCheckWord(fastDict.dictionary, w));
    }
    const double fastSeconds = double(timer.nsecsElapsed()) / 1e9;

    qsizetype differing = 0, unknown = 0;
    for (std::size_t i = 0; i < plainVerdicts.size(); ++i) {
        differing += plainVerdicts[i] != fastVerdicts[i];
        unknown += !plainVerdicts[i];
    }
    std::printf("dictionary        %s\n", qPrintable(package));
    std::printf("distinct words    %lld (%lld unknown = %.1f%%)\n", (long long)(v.known.size() + v.unknown.size()),
                (long long)v.unknown.size(), 100.0 * double(v.unknown.size()) / double(v.known.size() + v.unknown.size()));
    std::printf("pages x tokens    %d x %d -> %lld verdicts (%lld unknown)\n", pages, kTokensPerPage,
                (long long)verdicts, (long long)unknown);
    std::printf("plain path        %.2f s, %.0f verdicts/s\n", plainSeconds, double(verdicts) / plainSeconds);
    std::printf("fast path         %.3f s, %.0f verdicts/s\n", fastSeconds, double(verdicts) / fastSeconds);
    std::printf("speed-up          %.1fx\n", plainSeconds / fastSeconds);
    std::printf("differing         %lld\n", (long long)differing);
    return differing == 0 ? 0 : 1;
}
