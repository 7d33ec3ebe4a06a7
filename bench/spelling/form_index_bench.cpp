// How long the form index of a dictionary takes to build and how many
// spellings it holds (the word check builds one per loaded dictionary).
//
//   form_index_bench PACKAGE [WORD...]   (lists the spellings folding like each WORD)
#include <QCoreApplication>
#include <QElapsedTimer>

#include <cstdio>

#include "common.h"
#include "spelling/affix_file.h"
#include "spelling/form_index.h"

using namespace lexicrawl;

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QString package = argc > 1 ? QString::fromLocal8Bit(argv[1]) : bench::DefaultPackage();
    const bench::DictionaryFiles files = bench::PackageFiles(package);
    if (files.affix.isEmpty()) {
        std::fprintf(stderr, "cannot read %s\n", qPrintable(package));
        return 2;
    }
    QElapsedTimer timer;
    timer.start();
    const AffixFile affix(files.affix);
    const FormIndex index(affix, files.words);
    std::printf("%s: %lld spellings, usable %d, related characters fold %d, built in %lld ms\n", qPrintable(package),
                (long long)index.Size(), index.Usable(), index.MapFolds(), (long long)timer.elapsed());
    for (int i = 2; i < argc; ++i) {
        for (const FormIndex::Form& f : index.FormsFoldingLike(QString::fromUtf8(argv[i])))
            std::printf("  %s (marks %u)\n", qPrintable(f.text), unsigned(f.marks));
    }
    return 0;
}
