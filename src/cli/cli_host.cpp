#include "cli/cli_host.h"

#include <QMutexLocker>

#include <cstdio>

#include "analysis/result_text.h"
#include "crawl/internal_urls.h"
#include "cli/terminal_text.h"
#include "platform/platform.h"

namespace lexicrawl::cli {

namespace {

void Err(const QString& text)
{
    const QByteArray bytes = text.toUtf8();
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stderr);
    std::fflush(stderr);
}

// A terminal redraws at most this often; a fast local crawl visits hundreds
// of pages a second.
constexpr std::chrono::milliseconds kRedrawInterval(100);

}  // namespace

CliHost::CliHost(Style style) : style_(style) {}

void CliHost::StartUrlChanged(const QString& url)
{
    if (style_ == Style::None)
        return;
    QMutexLocker lock(&mutex_);
    Err((liveShown_ ? QStringLiteral("\r\x1b[K") : QString()) + QStringLiteral("The start URL redirects to %1\n").arg(TerminalSafe(url)));
    liveShown_ = false;
}

void CliHost::Progress(const CrawlProgress& p)
{
    if (style_ != Style::LiveLine)
        return;
    const auto now = std::chrono::steady_clock::now();
    QMutexLocker lock(&mutex_);
    if (liveShown_ && now - lastDrawn_ < kRedrawInterval)
        return;
    lastDrawn_ = now;
    const double rate = p.elapsedMs > 0 ? double(p.pagesDone) * 1000.0 / double(p.elapsedMs) : 0.0;
    QString line = QStringLiteral("%1 / %2 pages  %3 pages/s  %4 failed  %5")
                       .arg(p.pagesDone)
                       .arg(p.tableLength)
                       .arg(QString::number(rate, 'f', 1))
                       .arg(p.pagesFailed)
                       .arg(TerminalSafe(p.currentUrl));
    if (line.size() > 160)
        line = line.left(157) + QStringLiteral("...");
    // Clear to the end of the line so that a shorter line leaves no tail.
    Err(QStringLiteral("\r\x1b[K") + line);
    liveShown_ = true;
}

void CliHost::RowVisited(const VisitedRow& visited)
{
    if (style_ != Style::LinePerPage)
        return;
    const InternalUrl& entry = visited.entry;
    QString line = QStringLiteral("%1 / %2  %3  %4 s  %5")
                       .arg(visited.row + 1)
                       .arg(visited.tableLength)
                       .arg(StatusCodeText(entry), 3)
                       .arg(LoadTimeText(entry, Platform::Current().DecimalSeparator()), TerminalSafe(entry.page));
    if (VisitFailed(entry) && !entry.fetchError.isEmpty())
        line += QStringLiteral("  (%1)").arg(TerminalSafe(entry.fetchError));
    else if (!entry.note.isEmpty())
        line += QStringLiteral("  (%1)").arg(TerminalSafe(entry.note));
    QMutexLocker lock(&mutex_);
    Err(line + QLatin1Char('\n'));
}

void CliHost::FinishProgress()
{
    QMutexLocker lock(&mutex_);
    if (liveShown_)
        Err(QStringLiteral("\r\x1b[K"));
    liveShown_ = false;
}

bool CliHost::Message(const UserMessage& message)
{
    Platform& platform = Platform::Current();
    if (message.title.isEmpty() && message.icon == MessageIcon::None)
        platform.ShowMessage(message.text);
    else
        platform.MessageBox(message.title, message.text, message.icon);
    return false;
}

}  // namespace lexicrawl::cli
