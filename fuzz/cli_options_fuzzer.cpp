// Feeds arbitrary argument lists to the command line's parser: it must
// answer either options or a one-line reason, and the options it answers
// must hold only values the parser accepts.
//
// Input: the arguments, separated by NUL bytes, as UTF-8.
#include "cli/cli_options.h"
#include "fuzz_input.h"

using namespace lexicrawl;
using namespace lexicrawl::cli;

namespace {

bool AllDigits(const QString& s)
{
    if (s.isEmpty())
        return false;
    for (const QChar c : s) {
        if (c < u'0' || c > u'9')
            return false;
    }
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    QStringList args;
    const QByteArray input(reinterpret_cast<const char*>(data), qsizetype(size));
    if (!input.isEmpty()) {
        for (const QByteArray& part : input.split('\0'))
            args << QString::fromUtf8(part);
    }
    QString error;
    const std::optional<CliOptions> options = ParseCommandLine(args, &error);
    if (!options) {
        FUZZ_CHECK(!error.isEmpty());
        return 0;
    }
    const CliOptions& o = *options;
    if (o.limit)
        FUZZ_CHECK(*o.limit >= 1 && *o.limit <= 999999999);
    if (o.connectTimeoutMs)
        FUZZ_CHECK(AllDigits(*o.connectTimeoutMs));
    if (o.readTimeoutMs)
        FUZZ_CHECK(AllDigits(*o.readTimeoutMs));
    if (o.command == Command::Crawl)
        FUZZ_CHECK(args.contains(o.url));
    if (o.command == Command::Open)
        FUZZ_CHECK(args.contains(o.project));
    if (o.command == Command::Check)
        FUZZ_CHECK(!o.words.isEmpty());
    QString again;
    const std::optional<CliOptions> second = ParseCommandLine(args, &again);
    FUZZ_CHECK(second.has_value());
    return 0;
}
