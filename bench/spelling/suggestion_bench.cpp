// Suggestions for the unknown words of a crawl: the time the suggestion
// engine takes for all of them (its build included), and how often its
// first suggestion is the spelling engine's first suggestion, over the
// words for which the spelling engine has one.
//   suggestion_bench WORDS.txt [package.oxt] [threads] [compare-limit]
// WORDS.txt holds one word a line, as `lexicrawl-cli crawl URL
// --export-words WORDS.txt` writes them. The spelling engine's own suggest
// is timed too, on the first compare-limit words (default: all of them).
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>

#include <cstdio>

#include "common.h"
#include "spelling/spell_dictionary.h"
#include "spelling/suggestion_engine.h"

using namespace lexicrawl;

namespace {

QStringList ReadWords(const QString& path)
{
    QStringList words;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return words;
    for (const QByteArray& line : file.readAll().split('\n')) {
        QString word = QString::fromUtf8(line).trimmed();
        if (word.startsWith(QChar(0xFEFF)))
            word.remove(0, 1);
        if (!word.isEmpty())
            words << word;
    }
    return words;
}

}  // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: suggestion_bench WORDS.txt [package.oxt] [threads] [compare-limit]\n");
        return 2;
    }
    const QStringList words = ReadWords(QString::fromLocal8Bit(argv[1]));
    const QString package = argc > 2 ? QString::fromLocal8Bit(argv[2]) : bench::DefaultPackage();
    const int threads = argc > 3 ? std::atoi(argv[3]) : 2;
    const qsizetype limit = argc > 4 ? std::atoi(argv[4]) : words.size();
    bench::LoadedDictionary loaded = bench::LoadPackage(package);
    if (!loaded.dictionary || words.isEmpty()) {
        std::fprintf(stderr, "cannot load %s or read the words\n", qPrintable(package));
        return 1;
    }
    QElapsedTimer timer;
    timer.start();
    const auto engine = SuggestionEngine::Build(loaded.dictionary->AffixData(), loaded.dictionary->WordData());
    const qint64 buildMs = timer.elapsed();
    const std::vector<QStringList> mine = engine->SuggestAll(words, 5, threads);
    const qint64 allMs = timer.elapsed();
    std::printf("%lld words, %d threads: %lld ms (build %lld ms), %.3f ms a word\n", (long long)words.size(), threads,
                (long long)allMs, (long long)buildMs, double(allMs) / double(words.size()));

    qint64 engineNs = 0;
    int compared = 0, hasSuggestion = 0, same = 0;
    for (qsizetype i = 0; i < words.size() && i < limit; ++i, ++compared) {
        QStringList theirs;
        timer.restart();
        loaded.dictionary->Suggest(words.at(i), theirs);
        engineNs += timer.nsecsElapsed();
        if (theirs.isEmpty())
            continue;
        ++hasSuggestion;
        const QStringList& ours = mine[std::size_t(i)];
        if (!ours.isEmpty() && ours.first() == theirs.first())
            ++same;
        else if (std::getenv("SUGGESTION_BENCH_MISSES"))
            std::printf("  %s: engine %s, ours %s\n", qPrintable(words.at(i)), qPrintable(theirs.join(',')),
                        qPrintable(ours.join(',')));
    }
    std::printf("spelling engine: %.1f ms a word over %d words (one thread)\n",
                double(engineNs) / 1e6 / std::max(compared, 1), compared);
    std::printf("first suggestion the same: %d of %d words with an engine suggestion (%.1f%%)\n", same, hasSuggestion,
                100.0 * same / std::max(hasSuggestion, 1));
    return 0;
}
