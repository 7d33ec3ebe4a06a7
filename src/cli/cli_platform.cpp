#include "cli/cli_platform.h"

#include <QRegularExpression>

#include <cstdio>
#include <unistd.h>

#include "cli/terminal_text.h"

namespace lexicrawl::cli {

QString CliPlatform::OneLine(const QString& text)
{
    static const QRegularExpression breaks(QStringLiteral("[ \\t]*[\\r\\n]+[ \\t]*"));
    QString out = text.trimmed();
    out.replace(breaks, QStringLiteral(" "));
    return out;
}

void PrintError(const QString& text)
{
    // On a terminal, first clear the live progress line the message would land in.
    const QString clear = isatty(STDERR_FILENO) ? QStringLiteral("\r\x1b[K") : QString();
    const QByteArray line = (clear + QStringLiteral("lexicrawl-cli: ") + TerminalSafe(CliPlatform::OneLine(text)) + QLatin1Char('\n')).toUtf8();
    std::fwrite(line.constData(), 1, size_t(line.size()), stderr);
    std::fflush(stderr);
}

void CliPlatform::ShowMessage(const QString& text)
{
    PrintError(text);
}

void CliPlatform::MessageBox(const QString& title, const QString& text, MessageIcon)
{
    PrintError(title.isEmpty() ? text : title + QStringLiteral(": ") + text);
}

}  // namespace lexicrawl::cli
