// Shows, for each word given, the plain verdict, what the suggestion proof
// decides and the dictionary's suggestions, to see why a word is left to
// Suggest.
//
//   word_verdict_explain PACKAGE WORD...
#include <QCoreApplication>

#include <cstdio>

#include "common.h"
#include "spelling/hunspell_engine.h"
#include "spelling/suggestion_proof.h"
#include "spelling/word_verdict.h"

using namespace lexicrawl;

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    if (argc < 3) {
        std::fprintf(stderr, "usage: word_verdict_explain PACKAGE WORD...\n");
        return 2;
    }
    bench::LoadedDictionary d = bench::LoadPackage(QString::fromLocal8Bit(argv[1]));
    if (!d.dictionary) {
        std::fprintf(stderr, "cannot load %s\n", argv[1]);
        return 2;
    }
    static const char* const kVerdicts[] = {"known", "unknown", "undecided"};
    if (const SuggestionProof* p = d.dictionary->Proof())
        std::printf("proof decides unknown words: %d, known words: %d\n", p->DecidesUnknown(), p->DecidesKnown());
    for (int i = 2; i < argc; ++i) {
        const QString w = QString::fromUtf8(argv[i]);
        const bool spelled = d.dictionary->Spell(w);
        const int proof = spelled || !d.dictionary->Proof() ? 2 : int(d.dictionary->Proof()->Decide(w, *d.dictionary->Engine()));
        QStringList suggestions;
        if (!spelled)
            d.dictionary->Suggest(w, suggestions);
        std::printf("%s: plain %s, spelled %d, proof %s, suggestions: %s\n", argv[i],
                    SpellCheckWordPlain(*d.dictionary, w) ? "known" : "unknown", spelled, kVerdicts[proof],
                    qPrintable(suggestions.join(QStringLiteral(", "))));
    }
    return 0;
}
