// Times the grouping of a saved project's unknown words alone: the project
// is opened and the dictionaries loaded first, untimed; then the words are
// read and grouped (the chosen dictionary's word set, the other region's
// and the other languages' dictionaries included) RUNS times, each in a
// fresh session so nothing is reused between runs. Prints each run's wall
// and CPU milliseconds (all threads of the process) and their medians, and
// apart the time of reading the stored word counts (SITEWORDS,
// SITETEXTWORDS, REPEATEDWORDS) alone.
//   group_bench PROJECT [RUNS] [DICTIONARY]     (default: 5, English (United States))
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include <sys/resource.h>

#include <algorithm>
#include <cstdio>
#include <vector>

#include "app/core/app_environment.h"
#include "app/core/crawl_session.h"
#include "analysis/site_words.h"
#include "analysis/word_findings.h"
#include "app/core/word_groups_loader.h"
#include "cli/cli_platform.h"

using namespace lexicrawl;

namespace {

double CpuMs()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return (usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) * 1e3 +
           (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e3;
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

}  // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: group_bench PROJECT [RUNS] [DICTIONARY]\n");
        return 2;
    }
    const QString project = QString::fromLocal8Bit(argv[1]);
    const int runs = argc > 2 ? std::max(1, atoi(argv[2])) : 5;
    const QString dictionary =
        argc > 3 ? QString::fromLocal8Bit(argv[3]) : QStringLiteral("English (United States)");
    QTemporaryDir data;
    cli::CliPlatform platform;
    AppEnvironment env(platform, data.path());
    const QStringList folders{QStringLiteral(LEXICRAWL_BIN_DIR "/Dictionaries")};

    std::vector<double> walls, cpus, reads;
    std::size_t words = 0, likely = 0, evidence = 0;
    for (int run = 0; run < runs; ++run) {
        CrawlHost host;
        CrawlSession session(env, host);
        if (!session.OpenProject(project)) {
            std::fprintf(stderr, "%s is not a project database\n", argv[1]);
            return 1;
        }
        session.LoadDictionariesNow(folders, dictionary);
        QElapsedTimer wall;
        wall.start();
        const double cpu = CpuMs();
        GroupedWords grouped;
        QString error;
        if (!LoadGroupedWords(session, grouped, &error, true)) {
            std::fprintf(stderr, "cannot group: %s\n", qPrintable(error));
            return 1;
        }
        walls.push_back(double(wall.nsecsElapsed()) / 1e6);
        cpus.push_back(CpuMs() - cpu);
        // The part that reads what the crawl stored about its words, alone.
        QElapsedTimer read;
        read.start();
        SiteWordPages sitePages, textPages;
        LoadSiteWordPages(session.Database(), sitePages);
        LoadSiteTextWordPages(session.Database(), textPages);
        const std::size_t repeated = LoadRepeatedWords(session.Database()).size();
        reads.push_back(double(read.nsecsElapsed()) / 1e6);
        evidence = sitePages.size() + textPages.size() + repeated;
        words = grouped.words.size();
        likely = std::size_t(grouped.LikelyTypoCount());
        std::printf("run %d: wall %.0f ms, cpu %.0f ms; reading the stored word counts %.1f ms\n", run + 1,
                    walls.back(), cpus.back(), reads.back());
    }
    std::printf("stored word counts: %zu rows read in %.1f ms (median)\n", evidence, Median(reads));
    std::printf("%zu words, %zu likely typos; median wall %.0f ms, cpu %.0f ms\n", words, likely, Median(walls),
                Median(cpus));
    return 0;
}
