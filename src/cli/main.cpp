// lexicrawl-cli: the command-line front end.
#include <QCoreApplication>
#include <QTextStream>

#include <cstdio>

#include "app/core/app_identity.h"

using namespace lexicrawl;

static void PrintUsage(FILE* out)
{
    std::fputs("Usage: lexicrawl-cli --help | --version\n", out);
}

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);
    if (args.isEmpty() || args.first() == QLatin1String("--help") || args.first() == QLatin1String("-h")) {
        PrintUsage(args.isEmpty() ? stderr : stdout);
        return args.isEmpty() ? 2 : 0;
    }
    if (args.first() == QLatin1String("--version")) {
        const QByteArray line = (ApplicationTitle() + QLatin1Char(' ') + VersionText() + QLatin1Char('\n')).toUtf8();
        std::fputs(line.constData(), stdout);
        return 0;
    }
    std::fprintf(stderr, "lexicrawl-cli: unknown command '%s'\n", qPrintable(args.first()));
    PrintUsage(stderr);
    return 2;
}
