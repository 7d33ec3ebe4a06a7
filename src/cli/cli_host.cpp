#include "cli/cli_host.h"

#include <QMutexLocker>

#include <cstdio>

#include "crawl/internal_urls.h"

namespace lexicrawl::cli {

namespace {

void Err(const QString& text)
{
    const QByteArray bytes = text.toUtf8();
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stderr);
    std::fflush(stderr);
}

}  // namespace

CliHost::CliHost(PageRecorder& recorder, Progress progress)
    : recorder_(recorder),
      progress_(progress),
      writer_([this](const QString& url, const PageRecord& record) { recorder_.Write(url, record); })
{
}

void CliHost::SetStatusText(int panel, const QString& text)
{
    QMutexLocker lock(&mutex_);
    switch (panel) {
    case 1:
        position_ = text;
        break;
    case 2:
        elapsed_ = text;
        break;
    case 3:
        loading_ = text;
        break;
    default:
        return;
    }
    if (progress_ == Progress::LiveLine)
        WriteLive();
}

void CliHost::WriteLive()
{
    // Clear to the end of the line so that a shorter line leaves no tail.
    QString line = position_ + QStringLiteral("  ") + elapsed_ + QStringLiteral("  ") + loading_;
    if (line.size() > 160)
        line = line.left(157) + QStringLiteral("...");
    Err(QStringLiteral("\r\x1b[K") + line);
    liveShown_ = true;
}

void CliHost::RepaintRow(qsizetype row)
{
    if (progress_ != Progress::LinePerPage || !table_)
        return;
    const InternalUrl entry = table_->At(row);
    QMutexLocker lock(&mutex_);
    Err(QStringLiteral("%1 / %2  %3  %4 s  %5\n")
            .arg(row + 1)
            .arg(table_->Count())
            .arg(entry.response, 3)
            .arg(entry.time, entry.page));
}

void CliHost::RecordPage(const QString& url, const QString& source)
{
    writer_.Push(url, ExtractPageRecord(source));
}

void CliHost::RunOnUiThread(const std::function<void()>& work)
{
    writer_.Drain();
    work();
}

void CliHost::PostToUiThread(std::function<void()> work)
{
    writer_.Wait();
    work();
}

void CliHost::FinishProgress()
{
    QMutexLocker lock(&mutex_);
    if (liveShown_)
        Err(QStringLiteral("\r\x1b[K"));
    liveShown_ = false;
}

}  // namespace lexicrawl::cli
