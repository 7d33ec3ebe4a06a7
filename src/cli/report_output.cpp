#include "cli/report_output.h"

#include <QHash>
#include <QSet>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include "analysis/result_text.h"
#include "cli/terminal_text.h"

namespace lexicrawl::cli {

namespace {

// Words, addresses and contexts come from pages and project files: every
// format but JSON (which escapes by itself) shows their control characters
// as escapes.
QString Safe(const QString& text)
{
    return TerminalSafe(text);
}

QString SafePages(const QStringList& pages)
{
    return TerminalSafe(pages.join(QLatin1Char(' ')));
}

// The likely typos with their corrections and reasons.
QString TyposAsTable(const Report& report)
{
    qsizetype width = 4, correctionWidth = 10;
    for (std::size_t i = 0; i < report.words.size(); ++i) {
        width = std::max(width, Safe(report.words[i].word).size());
        correctionWidth = std::max(correctionWidth, Safe(report.groups[i].correction).size());
    }
    QString out = QStringLiteral("Word").leftJustified(width + 2) + QStringLiteral("Occurrence  ") +
                  QStringLiteral("Correction").leftJustified(correctionWidth + 2) + QStringLiteral("Reason\n");
    for (std::size_t i = 0; i < report.words.size(); ++i) {
        const UnknownWord& w = report.words[i];
        out += Safe(w.word).leftJustified(width + 2) + QString::number(w.occurrence).leftJustified(12) +
               Safe(report.groups[i].correction).leftJustified(correctionWidth + 2) + report.groups[i].ReasonText() +
               QLatin1Char('\n');
    }
    return out;
}

QString TyposAsCsv(const Report& report)
{
    const QChar comma(u',');
    QString out = CsvLine({"word", "occurrence", "correction", "reason", "pages"}, comma) +
                  QLatin1Char('\n');
    for (std::size_t i = 0; i < report.words.size(); ++i) {
        const UnknownWord& w = report.words[i];
        out += CsvLine({Safe(w.word), QString::number(w.occurrence), Safe(report.groups[i].correction),
                        report.groups[i].ReasonText(), SafePages(w.pages)},
                       comma) +
               QLatin1Char('\n');
    }
    return out;
}

// Repeated words and words spelled two ways, after the table.
QString FindingsAsText(const Report& report)
{
    QString out;
    if (!report.repeatedWords.empty()) {
        out += QStringLiteral("\nRepeated words\n");
        for (const RepeatedWordFinding& r : report.repeatedWords)
            out += QStringLiteral("%1 %1  %2  \"%3\"\n").arg(Safe(r.word), Safe(r.url), Safe(r.context));
    }
    if (!report.twoSpellings.empty()) {
        out += QStringLiteral("\nOne word, two spellings\n");
        for (const TwoSpellings& t : report.twoSpellings) {
            QStringList forms;
            for (qsizetype i = 0; i < t.spellings.size(); ++i)
                forms << QStringLiteral("%1 (%2 pages)").arg(Safe(t.spellings.at(i)), QString::number(t.pages[size_t(i)]));
            out += forms.join(QStringLiteral(" / ")) + QLatin1Char('\n');
        }
    }
    return out;
}

QJsonArray FindingsArray(const Report& report)
{
    QJsonArray list;
    for (const RepeatedWordFinding& r : report.repeatedWords)
        list.append(QJsonObject{{QStringLiteral("kind"), QStringLiteral("repeated word")},
                                {QStringLiteral("word"), r.word},
                                {QStringLiteral("page"), r.url},
                                {QStringLiteral("context"), r.context}});
    for (const TwoSpellings& t : report.twoSpellings) {
        QJsonArray spellings;
        for (qsizetype i = 0; i < t.spellings.size(); ++i)
            spellings.append(QJsonObject{{QStringLiteral("word"), t.spellings.at(i)},
                                         {QStringLiteral("pages"), t.pages[size_t(i)]}});
        list.append(QJsonObject{{QStringLiteral("kind"), QStringLiteral("two spellings")},
                                {QStringLiteral("spellings"), spellings}});
    }
    return list;
}

QString AsTable(const std::vector<UnknownWord>& words)
{
    qsizetype width = 4;
    for (const UnknownWord& w : words)
        width = std::max(width, Safe(w.word).size());
    QString out = QStringLiteral("Word").leftJustified(width + 2) + QStringLiteral("Occurrence\n");
    for (const UnknownWord& w : words)
        out += Safe(w.word).leftJustified(width + 2) + QString::number(w.occurrence) + QLatin1Char('\n');
    return out;
}

QString AsCsv(const std::vector<UnknownWord>& words)
{
    const QChar comma(u',');
    QString out = CsvLine({"word", "occurrence", "pages"}, comma) + QLatin1Char('\n');
    for (const UnknownWord& w : words)
        out += CsvLine({Safe(w.word), QString::number(w.occurrence), SafePages(w.pages)}, comma) +
               QLatin1Char('\n');
    return out;
}

QString OutcomeName(CrawlOutcome outcome)
{
    switch (outcome) {
    case CrawlOutcome::Completed:
        return QStringLiteral("completed");
    case CrawlOutcome::Stopped:
        return QStringLiteral("stopped");
    case CrawlOutcome::Failed:
        return QStringLiteral("failed");
    }
    return QString();
}

QJsonObject SummaryObject(const CrawlSummary& summary, qsizetype unknownWords)
{
    QJsonObject o;
    o.insert(QStringLiteral("outcome"), OutcomeName(summary.outcome));
    o.insert(QStringLiteral("pagesFetched"), qint64(summary.pagesDone));
    o.insert(QStringLiteral("pagesFailed"), qint64(summary.pagesFailed));
    o.insert(QStringLiteral("unknownWords"), qint64(unknownWords));
    o.insert(QStringLiteral("elapsedSeconds"), double(summary.elapsedMs) / 1000.0);
    return o;
}

QJsonObject DocumentObject(const DocumentRow& document)
{
    QJsonObject o;
    o.insert(QStringLiteral("kind"), document.kind.toLower());
    if (document.kind == QLatin1String("PDF"))
        o.insert(QStringLiteral("pages"), document.pages);
    o.insert(QStringLiteral("status"), document.status);
    return o;
}

// Each page with its status and load time; null for a page not fetched.
// A page found only in a sitemap says so, and a document says what it is.
QJsonArray PagesArray(const Report& report)
{
    const std::vector<InternalUrl>& pages = report.pages;
    const QSet<QString> fromSitemap(report.notes.sitemapOnly.begin(), report.notes.sitemapOnly.end());
    QHash<QString, const DocumentRow*> documents;
    for (const DocumentRow& d : report.documents)
        documents.insert(d.url, &d);
    QJsonArray list;
    for (const InternalUrl& page : pages) {
        QJsonObject o;
        o.insert(QStringLiteral("url"), page.page);
        o.insert(QStringLiteral("status"), page.visited ? QJsonValue(page.statusCode) : QJsonValue());
        o.insert(QStringLiteral("loadTime"), page.visited ? QJsonValue(double(page.loadTimeNs) / 1e9) : QJsonValue());
        o.insert(QStringLiteral("failed"), VisitFailed(page));
        if (!page.fetchError.isEmpty())
            o.insert(QStringLiteral("error"), page.fetchError);
        if (fromSitemap.contains(page.page))
            o.insert(QStringLiteral("foundOnlyInSitemap"), true);
        if (const DocumentRow* document = documents.value(page.page))
            o.insert(QStringLiteral("document"), DocumentObject(*document));
        if (!page.note.isEmpty())
            o.insert(QStringLiteral("note"), page.note);
        list.append(o);
    }
    return list;
}

QJsonObject TextModeObject(const TextModeRecord& text)
{
    QJsonArray skipped;
    for (const SkippedLanguage& s : text.skipped)
        skipped.append(QJsonObject{{QStringLiteral("language"), s.language},
                                   {QStringLiteral("pages"), s.pages},
                                   {QStringLiteral("words"), s.words}});
    QJsonObject o;
    o.insert(QStringLiteral("mode"), TextModeName(text.options.mode).toLower());
    if (text.options.Prose()) {
        o.insert(QStringLiteral("checkAltAndTitle"), text.options.checkAltAndTitle);
        o.insert(QStringLiteral("skippedLanguages"), skipped);
    }
    return o;
}

QJsonArray WordsArray(const std::vector<UnknownWord>& words, const std::vector<WordGrouping>& groups = {})
{
    QJsonArray list;
    for (std::size_t i = 0; i < words.size(); ++i) {
        const UnknownWord& w = words[i];
        QJsonObject o;
        o.insert(QStringLiteral("word"), w.word);
        o.insert(QStringLiteral("occurrence"), w.occurrence);
        o.insert(QStringLiteral("pages"), QJsonArray::fromStringList(w.pages));
        if (i < groups.size()) {
            o.insert(QStringLiteral("group"), WordGroupKey(groups[i].group));
            o.insert(QStringLiteral("correction"),
                     groups[i].LikelyTypo() ? QJsonValue(groups[i].correction) : QJsonValue());
            o.insert(QStringLiteral("reason"), groups[i].ReasonText());
        }
        list.append(o);
    }
    return list;
}

QString AsJson(const Report& report)
{
    QJsonObject root;
    if (report.summary) {
        QJsonObject summary = SummaryObject(*report.summary, qsizetype(report.words.size()));
        summary.insert(QStringLiteral("approvedWords"), qint64(report.approved));
        if (!report.groups.empty() || report.likelyTyposOnly) {
            qint64 typos = 0;
            for (const WordGrouping& g : report.groups)
                typos += g.LikelyTypo() ? 1 : 0;
            summary.insert(QStringLiteral("likelyTypos"), typos);
        }
        root.insert(QStringLiteral("summary"), summary);
    }
    if (report.text)
        root.insert(QStringLiteral("textMode"), TextModeObject(*report.text));
    root.insert(QStringLiteral("unknownWords"), WordsArray(report.words, report.groups));
    if (!report.groups.empty() || report.likelyTyposOnly)
        root.insert(QStringLiteral("findings"), FindingsArray(report));
    root.insert(QStringLiteral("pages"), PagesArray(report));
    // Only a crawl that obeyed robots.txt, read sitemaps or read documents has these.
    if (!report.notes.sitemapOnly.isEmpty())
        root.insert(QStringLiteral("foundOnlyInSitemap"), QJsonArray::fromStringList(report.notes.sitemapOnly));
    if (!report.notes.leftOutByRobots.isEmpty())
        root.insert(QStringLiteral("leftOutByRobots"), QJsonArray::fromStringList(report.notes.leftOutByRobots));
    if (!report.notes.warnings.isEmpty())
        root.insert(QStringLiteral("siteFileWarnings"), QJsonArray::fromStringList(report.notes.warnings));
    return QString::fromUtf8(QJsonDocument(root).toJson(QJsonDocument::Indented));
}

QString StatusText(const InternalUrl& page)
{
    return page.statusCode < 0 ? QStringLiteral("no answer") : QString::number(page.statusCode);
}

QString DiffAsJson(const CrawlDiff& diff)
{
    QJsonArray failures;
    for (const InternalUrl& p : diff.newFailures) {
        QJsonObject o;
        o.insert(QStringLiteral("url"), p.page);
        o.insert(QStringLiteral("status"), p.statusCode);
        if (!p.fetchError.isEmpty())
            o.insert(QStringLiteral("error"), p.fetchError);
        failures.append(o);
    }
    QJsonObject root;
    root.insert(QStringLiteral("newWords"), WordsArray(diff.newWords));
    root.insert(QStringLiteral("fixedWords"), WordsArray(diff.fixedWords));
    root.insert(QStringLiteral("newFailures"), failures);
    return QString::fromUtf8(QJsonDocument(root).toJson(QJsonDocument::Indented));
}

QString DiffAsCsv(const CrawlDiff& diff)
{
    const QChar comma(u',');
    QString out = CsvLine({"change", "item", "detail"}, comma) + QLatin1Char('\n');
    for (const UnknownWord& w : diff.newWords)
        out += CsvLine({"new", Safe(w.word), SafePages(w.pages)}, comma) + QLatin1Char('\n');
    for (const UnknownWord& w : diff.fixedWords)
        out += CsvLine({"fixed", Safe(w.word), QString()}, comma) + QLatin1Char('\n');
    for (const InternalUrl& p : diff.newFailures)
        out += CsvLine({"failing", Safe(p.page), StatusText(p)}, comma) + QLatin1Char('\n');
    return out;
}

QString DiffAsTable(const CrawlDiff& diff)
{
    QString out = QStringLiteral("New unknown words: %1\n").arg(diff.newWords.size());
    for (const UnknownWord& w : diff.newWords)
        out += QStringLiteral("  %1  %2\n").arg(Safe(w.word), SafePages(w.pages));
    out += QStringLiteral("Fixed words: %1\n").arg(diff.fixedWords.size());
    for (const UnknownWord& w : diff.fixedWords)
        out += QStringLiteral("  %1\n").arg(Safe(w.word));
    out += QStringLiteral("Pages that newly fail: %1\n").arg(diff.newFailures.size());
    for (const InternalUrl& p : diff.newFailures)
        out += QStringLiteral("  %1  %2\n").arg(Safe(p.page), StatusText(p));
    return out;
}

}  // namespace

QString FormatDiff(const CrawlDiff& diff, OutputFormat format)
{
    switch (format) {
    case OutputFormat::Csv:
        return DiffAsCsv(diff);
    case OutputFormat::Json:
        return DiffAsJson(diff);
    case OutputFormat::Table:
    default:
        return DiffAsTable(diff);
    }
}

QString FormatReport(const Report& report, OutputFormat format)
{
    switch (format) {
    case OutputFormat::Csv:
        return report.likelyTyposOnly ? TyposAsCsv(report) : AsCsv(report.words);
    case OutputFormat::Json:
        return AsJson(report);
    case OutputFormat::Table:
    default:
        return (report.likelyTyposOnly ? TyposAsTable(report) : AsTable(report.words)) + FindingsAsText(report);
    }
}

void KeepLikelyTypos(Report& report)
{
    std::vector<UnknownWord> words;
    std::vector<WordGrouping> groups;
    for (std::size_t i : GroupedOrder(report.groups)) {
        if (!report.groups[i].LikelyTypo())
            break;
        words.push_back(std::move(report.words[i]));
        groups.push_back(report.groups[i]);
    }
    report.words = std::move(words);
    report.groups = std::move(groups);
    report.likelyTyposOnly = true;
}

QString SummaryLine(const CrawlSummary& summary, qsizetype unknownWords, qsizetype approved)
{
    QString line = QStringLiteral("%1 pages fetched, %2 failed, %3 distinct unknown words%4, %5 s")
                       .arg(summary.pagesDone)
                       .arg(summary.pagesFailed)
                       .arg(unknownWords)
                       .arg(approved > 0 ? QStringLiteral(" (%1 approved)").arg(approved) : QString())
                       .arg(QString::number(double(summary.elapsedMs) / 1000.0, 'f', 1));
    if (summary.outcome == CrawlOutcome::Stopped)
        line += QStringLiteral(" (stopped)");
    return line;
}

QStringList SourceLines(const Report& report)
{
    constexpr qsizetype kShown = 20;
    QStringList lines;
    const auto list = [&lines](const QStringList& items, const QString& caption) {
        if (items.isEmpty())
            return;
        lines << caption.arg(items.size()).arg(items.size() == 1 ? QStringLiteral("page") : QStringLiteral("pages"));
        for (qsizetype i = 0; i < items.size() && i < kShown; ++i)
            lines << QStringLiteral("  ") + items[i];
        if (items.size() > kShown)
            lines << QStringLiteral("  ... and %1 more (--format json lists them all)").arg(items.size() - kShown);
    };
    list(report.notes.sitemapOnly, QStringLiteral("%1 %2 found in sitemap, linked from nowhere:"));
    list(report.notes.leftOutByRobots, QStringLiteral("%1 %2 left out by robots.txt:"));
    if (!report.documents.empty()) {
        QStringList unread;
        for (const DocumentRow& d : report.documents)
            if (d.status != QLatin1String("read"))
                unread << QStringLiteral("%1 (%2)").arg(d.url, d.status);
        lines << QStringLiteral("%1 documents checked").arg(report.documents.size()) +
                     (unread.isEmpty() ? QString() : QStringLiteral(", %1 not read whole:").arg(unread.size()));
        for (const QString& u : unread)
            lines << QStringLiteral("  ") + u;
    }
    for (const QString& warning : report.notes.warnings)
        lines << QStringLiteral("warning: ") + warning;
    return lines;
}

QString TextModeLine(const TextModeRecord& text)
{
    if (!text.options.Prose())
        return QStringLiteral("Text mode: standard");
    QString line = QStringLiteral("Text mode: prose");
    if (text.options.checkAltAndTitle)
        line += QStringLiteral(", alt and title texts checked");
    QStringList skipped;
    for (const SkippedLanguage& s : text.skipped)
        skipped << QStringLiteral("%1 (%2 %3, %4 %5)")
                       .arg(Safe(s.language), QString::number(s.pages),
                            s.pages == 1 ? QStringLiteral("page") : QStringLiteral("pages"), QString::number(s.words),
                            s.words == 1 ? QStringLiteral("word") : QStringLiteral("words"));
    if (!skipped.isEmpty())
        line += QStringLiteral("; not checked, no dictionary for its language: ") + skipped.join(QStringLiteral(", "));
    return line;
}

}  // namespace lexicrawl::cli
