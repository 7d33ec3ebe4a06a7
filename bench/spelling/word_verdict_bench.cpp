// Word verdicts over the pages of a generated site (gen_site_lang.py), as
// the page recorder asks for them: each page's distinct words in one
// SpellCheckWords call, verdicts kept across pages. Against it, the plain
// verdict (Spell, then Suggest) of every distinct word of the same pages,
// once each. Every verdict is compared.
//
//   word_verdict_bench PACKAGE --pages DIR [--limit PAGES] [--threads N] [--fast-only 1]
//
// --threads sets how many engines SpellCheckWords may use (default 2);
// the plain verdicts are taken on one thread. --fast-only 1 times the fast
// path alone (the plain one takes hours over a few hundred pages).
#include <QCoreApplication>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QFile>
#include <QHash>

#include <cstdio>

#include "analysis/readable_text.h"
#include "common.h"
#include "platform/text.h"
#include "spelling/hunspell_engine.h"
#include "spelling/spell_dictionary.h"
#include "spelling/suggestion_proof.h"
#include "spelling/word_verdict.h"

using namespace lexicrawl;
using namespace lexicrawl::bench;

namespace {

QList<QStringList> ReadPages(const QString& folder, int limit)
{
    QStringList files;
    QDirIterator it(folder, {QStringLiteral("*.html")}, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext())
        files << it.next();
    files.sort();
    QList<QStringList> pages;
    for (const QString& path : files) {
        if (limit > 0 && pages.size() >= limit)
            break;
        QFile f(path);
        if (f.open(QIODevice::ReadOnly))
            pages << SplitLines(ExtractWords(ExtractReadableText(QString::fromUtf8(f.readAll()))));
    }
    return pages;
}

}  // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    const QString package = args.value(1, DefaultPackage());
    QString folder;
    int limit = 0, threads = 2;
    bool fastOnly = false;
    for (qsizetype i = 2; i + 1 < args.size(); i += 2) {
        if (args[i] == QLatin1String("--pages")) folder = args[i + 1];
        else if (args[i] == QLatin1String("--limit")) limit = args[i + 1].toInt();
        else if (args[i] == QLatin1String("--threads")) threads = args[i + 1].toInt();
        else if (args[i] == QLatin1String("--fast-only")) fastOnly = args[i + 1].toInt() != 0;
    }
    const QList<QStringList> pages = ReadPages(folder, limit);
    LoadedDictionary plainDict = LoadPackage(package);
    LoadedDictionary fastDict = LoadPackage(package);
    if (pages.isEmpty() || !plainDict.dictionary || !fastDict.dictionary) {
        std::fprintf(stderr, "usage: word_verdict_bench PACKAGE --pages DIR (a site from gen_site_lang.py)\n");
        return 2;
    }
    SetSuggestThreads(threads);
    // Both dictionaries finish building their proof before anything is timed.
    QElapsedTimer timer;
    timer.start();
    plainDict.dictionary->Proof();
    fastDict.dictionary->Proof();
    if (getenv("WARM_HELPER") && threads > 1)
        fastDict.dictionary->WaitForHelper();
    const double proofSeconds = double(timer.nsecsElapsed()) / 1e9;
    qsizetype checks = 0;
    QHash<QString, bool> fast;
    timer.restart();
    for (const QStringList& words : pages) {
        const std::vector<bool> known = SpellCheckWords(fastDict.dictionary, words);
        for (qsizetype i = 0; i < words.size(); ++i)
            fast.insert(words[i], known[size_t(i)]);
        checks += words.size();
    }
    const double fastSeconds = double(timer.nsecsElapsed()) / 1e9;
    if (fastOnly) {
        std::printf("%lld pages, %lld word checks, %lld distinct words: fast path %.3f s (%d engines)\n",
                    (long long)pages.size(), (long long)checks, (long long)fast.size(), fastSeconds, threads);
        return 0;
    }

    qsizetype differing = 0, unknown = 0;
    timer.restart();
    for (auto it = fast.cbegin(); it != fast.cend(); ++it) {
        const bool plain = SpellCheckWordPlain(*plainDict.dictionary, it.key());
        unknown += !plain;
        if (plain != it.value()) {
            ++differing;
            std::printf("DIFFERS %s plain=%d fast=%d\n", qPrintable(it.key()), plain, it.value());
        }
    }
    const double plainSeconds = double(timer.nsecsElapsed()) / 1e9;
    std::printf("dictionary        %s\n", qPrintable(package));
    std::printf("pages             %lld, %lld word checks, %lld distinct words (%lld unknown)\n",
                (long long)pages.size(), (long long)checks, (long long)fast.size(), (long long)unknown);
    std::printf("plain path        %.2f s (each distinct word once)\n", plainSeconds);
    std::printf("fast path         %.3f s (SpellCheckWords per page, %d engines)\n", fastSeconds, threads);
    std::printf("speed-up          %.1fx\n", plainSeconds / fastSeconds);
    qsizetype undecided = 0;
    for (auto it = fast.cbegin(); it != fast.cend(); ++it) {
        const QString& w = it.key();
        if (!plainDict.dictionary->Spell(w) && LowerAZ(w) == w
            && plainDict.dictionary->Proof()->Decide(w, *plainDict.dictionary->Engine()) == SuggestionProof::Verdict::Undecided)
            ++undecided;
    }
    std::printf("left to Suggest   %lld words; the proof took %.2f s to build (both dictionaries, in the background)\n",
                (long long)undecided, proofSeconds);
    std::printf("differing         %lld\n", (long long)differing);
    return differing == 0 ? 0 : 1;
}
