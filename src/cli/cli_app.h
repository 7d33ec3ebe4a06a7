#pragma once
// The commands of lexicrawl-cli: argument handling, terminal output and exit
// statuses over the application layer that the window uses too.
#include "cli/cli_options.h"

namespace lexicrawl::cli {

class CliPlatform;

// Exit statuses.
enum ExitCode {
    kExitOk = 0,
    kExitUnknownWords = 1,  // --fail-on-unknown and an unknown word was found (--fail-on-new: a new one)
    kExitUsage = 2,
    kExitCannotStart = 3,   // the crawl or the project could not start
    kExitOutputFailed = 4,  // an export or save could not be written
    kExitStartFailed = 5,   // the start URL could not be fetched (no answer or an error status)
};

// Runs one parsed command; answers the exit status.
int RunCommand(const CliOptions& options, CliPlatform& platform);

// Asks the running crawl, if any, to stop (the first Ctrl-C); answers false
// when no crawl runs. Async-signal-safe.
bool RequestStop();

}  // namespace lexicrawl::cli
