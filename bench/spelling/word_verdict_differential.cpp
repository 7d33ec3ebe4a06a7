// The full differential check of the fast word verdict against the plain
// one: every A-Z lower-cased stem of the word list that Spell rejects (with
// its "s" and "'s" forms), a
// misspelling of every stem, every stem as written, and awkward tokens. The
// words are split over threads, each with its own engines.
//
//   word_verdict_differential [package.oxt] [threads] [misspelling step] [stride]
//
// A stride above 1 checks every stride-th word of the list (the awkward
// tokens always), for a quicker sample.
#include <QCoreApplication>
#include <QElapsedTimer>

#include <atomic>
#include <cstdio>
#include <mutex>
#include <thread>

#include "common.h"
#include "platform/text.h"
#include "spelling/word_verdict.h"
#include "word_corpus.h"

using namespace lexicrawl;
using namespace lexicrawl::bench;

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QString package = argc > 1 ? QString::fromLocal8Bit(argv[1]) : DefaultPackage();
    const int threads = argc > 2 ? std::max(1, atoi(argv[2])) : int(std::max(1u, std::thread::hardware_concurrency()));
    const int misspellStep = argc > 3 ? std::max(1, atoi(argv[3])) : 4;
    const int stride = argc > 4 ? std::max(1, atoi(argv[4])) : 1;
    const QStringList stems = PackageStems(package);
    LoadedDictionary probe = LoadPackage(package);
    if (stems.isEmpty() || !probe.dictionary) {
        std::fprintf(stderr, "cannot load %s\n", qPrintable(package));
        return 2;
    }
    QStringList words = AwkwardTokens();
    qsizetype lowered = 0;
    // Lower-cased names, and their plural and possessive forms.
    for (const QString& s : stems) {
        const QString lower = LowerAZ(s);
        if (lower == s)
            continue;
        for (const QString& form : {lower, lower + QStringLiteral("s"), lower + QStringLiteral("'s")}) {
            if (!probe.dictionary->Spell(form)) {
                words << form;
                ++lowered;
            }
        }
    }
    for (int i = 0; i < stems.size(); ++i) {
        words << stems[i];
        if (i % misspellStep == 0)
            words << Misspell(stems[i], uint32_t(i));
    }

    if (stride > 1) {
        const qsizetype awkward = AwkwardTokens().size();
        QStringList sample = words.mid(0, awkward);
        for (qsizetype i = awkward; i < words.size(); i += stride)
            sample << words[i];
        words = sample;
    }
    std::atomic<qsizetype> next{0}, differing{0}, unknown{0};
    std::mutex out;
    // Hunspell's shared character tables are set up without a lock: make and
    // free engines one at a time.
    std::mutex engines;
    QElapsedTimer timer;
    timer.start();
    std::vector<std::thread> pool;
    for (int t = 0; t < threads; ++t) {
        pool.emplace_back([&] {
            std::unique_lock<std::mutex> making(engines);
            LoadedDictionary plain = LoadPackage(package);
            LoadedDictionary fast = LoadPackage(package);
            making.unlock();
            for (qsizetype i = next++; i < words.size(); i = next++) {
                const bool p = SpellCheckWordPlain(*plain.dictionary, words[i]);
                const bool f = SpellCheckWordFast(*fast.dictionary, words[i]);
                unknown += !p;
                if (p != f) {
                    ++differing;
                    std::lock_guard<std::mutex> lock(out);
                    std::printf("DIFFERS %s plain=%d fast=%d\n", qPrintable(words[i]), p, f);
                }
            }
            std::lock_guard<std::mutex> freeing(engines);
            plain.manager.reset();
            fast.manager.reset();
        });
    }
    for (auto& t : pool)
        t.join();
    std::printf("words %lld (%lld lower-cased names and forms rejected by Spell, %lld unknown), threads %d, %.1f s\n",
                (long long)words.size(), (long long)lowered, (long long)unknown.load(), threads,
                double(timer.elapsed()) / 1000.0);
    std::printf("differing %lld\n", (long long)differing.load());
    return differing == 0 ? 0 : 1;
}
