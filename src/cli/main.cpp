// lexicrawl-cli: crawl a website and list its unknown words from a terminal or a CI job.
#include <QCoreApplication>
#include <QLoggingCategory>

#include <atomic>
#include <csignal>
#include <cstdio>
#include <unistd.h>

#include "cli/cli_app.h"
#include "cli/cli_options.h"
#include "cli/cli_platform.h"
#include "platform/scratch_files.h"

using namespace lexicrawl;

namespace {

std::atomic<int> g_interrupts{0};  // lock-free, so safe in a signal handler

void EndNow(int signal)
{
    RemoveScratchFilesNow();
    _exit(signal == SIGTERM ? 143 : 130);
}

// The crawl command: the first Ctrl-C or SIGTERM stops the crawl as Stop
// does (the partial results are still printed, exported and saved); a
// second one ends the program.
void OnCrawlInterrupt(int signal)
{
    if (++g_interrupts > 1)
        EndNow(signal);
    cli::RequestStop();
}

// Every other command (opening a project, a diff, a check) has nothing to
// stop gently: the first signal ends it at once, leaving no working copy
// behind.
void OnInterrupt(int signal)
{
    EndNow(signal);
}

}  // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    // A dictionary whose suggestion replay is off is named in the end summary
    // instead of in a log line while it loads.
    QLoggingCategory::setFilterRules(QStringLiteral("lexicrawl.spelling.replay.warning=false"));
    QString error;
    const auto options = cli::ParseCommandLine(app.arguments().mid(1), &error);
    if (!options) {
        const QByteArray line = ("lexicrawl-cli: " + error + "\nTry 'lexicrawl-cli --help'.\n").toUtf8();
        std::fputs(line.constData(), stderr);
        return cli::kExitUsage;
    }
    struct sigaction sa = {};
    sa.sa_handler = options->command == cli::Command::Crawl ? OnCrawlInterrupt : OnInterrupt;
    sigemptyset(&sa.sa_mask);
    sigaction(SIGINT, &sa, nullptr);
    sigaction(SIGTERM, &sa, nullptr);

    cli::CliPlatform platform;
    Platform::SetCurrent(&platform);
    const int status = cli::RunCommand(*options, platform);
    Platform::SetCurrent(nullptr);
    return status;
}
