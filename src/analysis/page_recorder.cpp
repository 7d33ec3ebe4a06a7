#include "analysis/page_recorder.h"

#include "analysis/document_record.h"

#include <QStringList>

#include <optional>
#include <utility>

#include "analysis/page_statements.h"
#include "analysis/readable_text.h"
#include "analysis/text_mode_record.h"
#include "analysis/word_context.h"
#include "analysis/word_findings.h"
#include "platform/text.h"
#include "platform/user_message.h"
#include "store/project_database.h"

namespace lexicrawl {

namespace {
enum LookupResult { kLookupFailed = -1, kNoRow = 0, kHasRow = 1 };
}

PageRecorder::PageRecorder(ProjectDatabase& database, WordVerdictsFunction verdicts)
    : database_(database), verdicts_(std::move(verdicts))
{
}

PageRecorder::PageRecorder(ProjectDatabase& database, SpellCheckWordFunction spellCheckWord)
    : database_(database),
      verdicts_([check = std::move(spellCheckWord)](const QStringList& words) {
          std::vector<bool> known;
          known.reserve(size_t(words.size()));
          for (const QString& word : words)
              known.push_back(check(word));
          return known;
      })
{
}

void PageRecorder::RecordPage(const QString& sourcelink, const QString& source)
{
    Write(sourcelink, ExtractPageRecord(source, text_));
}

void PageRecorder::Write(const QString& sourcelink, const PageRecord& record)
{
    const std::vector<bool> known = verdicts_(record.words);
    if (text_.wordEvidence)
        siteWords_.AddPage(record);
    // Declared before the transaction, so that it reports after the store is let go.
    HeldFailures held(*this);
    // The page's statements share one commit: the same rows, far fewer
    // journal writes. Each statement that fails still fails alone.
    std::optional<Transaction> transaction;
    try {
        transaction.emplace(database_);
    } catch (const DatabaseError&) {
        // No database to begin on: the statements fail one by one, as they report.
    }
    // The unknown words go in sorted; only they need sorting.
    QStringList unknown;
    for (qsizetype i = 0; i < record.words.size(); ++i) {
        if (size_t(i) >= known.size() || !known[size_t(i)])
            unknown << record.words.at(i);
    }
    SortWords(unknown);
    for (const QString& word : unknown)
        Execute(page_statements::UnknownWordInsert(sourcelink, word));
    for (const LanguageWords& words : record.proseWords)
        unknown << WriteProseWords(sourcelink, words);
    WriteContexts(sourcelink, record, unknown);
    if (!record.repeatedWords.empty()) {
        try {
            WriteRepeatedWords(database_, sourcelink, record.repeatedWords);
        } catch (const DatabaseError& e) {
            Fail(StatementFailureText(e.Text()));
        }
    }

    // After a failed lookup the row is updated: an update never makes a
    // second row for a page, and it keeps the facts when the row is there.
    if (LookupPage(sourcelink) == kNoRow)
        Execute(page_statements::PageInsert(sourcelink, record.title, record.description));
    else
        Execute(page_statements::PageUpdate(sourcelink, record.title, record.description));

    WriteHeadings(sourcelink, QStringLiteral("H1"), record.h1Lines);
    WriteHeadings(sourcelink, QStringLiteral("H2"), record.h2Lines);
    if (record.document) {
        try {
            WriteDocumentRow(database_, sourcelink, *record.document);
        } catch (const DatabaseError& e) {
            Fail(StatementFailureText(e.Text()));
        }
    }
    if (transaction) {
        try {
            transaction->Commit();
        } catch (const DatabaseError& e) {
            Fail(StatementFailureText(e.Text()));
        }
    }
}

// A failure met while a page's transaction holds the store waits until the
// store is let go: the message may wait for the user, and the front end must
// be able to read the project meanwhile.
PageRecorder::HeldFailures::HeldFailures(PageRecorder& recorder) : recorder_(recorder)
{
    recorder_.holdingFailures_ = true;
}

PageRecorder::HeldFailures::~HeldFailures()
{
    recorder_.holdingFailures_ = false;
    const QStringList failures = std::exchange(recorder_.heldFailures_, {});
    for (const QString& text : failures)
        ReportMessage(text);
}

void PageRecorder::Fail(const QString& text)
{
    if (holdingFailures_)
        heldFailures_ << text;
    else
        ReportMessage(text);
}

void PageRecorder::BeginCrawl(const TextOptions& text)
{
    text_ = text;
    siteWords_.Clear();
    ForgetCrawlWordCounts();
    if (!text.Prose())
        return;
    for (const QString& statement : text_mode_record::BeginStatements(text))
        Execute(statement);
}

void PageRecorder::EndCrawl()
{
    std::shared_ptr<const SiteWordCounts> written;
    try {
        siteWords_.Write(database_);
        if (!siteWords_.Pages().empty())
            written = std::make_shared<const SiteWordCounts>(siteWords_.Take());
    } catch (const DatabaseError& e) {
        Fail(StatementFailureText(e.Text()));
    }
    std::lock_guard<std::mutex> lock(written_->mutex);
    written_->counts = std::move(written);
}

std::shared_ptr<const SiteWordCounts> PageRecorder::CrawlWordCounts() const
{
    std::lock_guard<std::mutex> lock(written_->mutex);
    return written_->counts;
}

void PageRecorder::ForgetCrawlWordCounts()
{
    std::lock_guard<std::mutex> lock(written_->mutex);
    written_->counts.reset();
}

QStringList PageRecorder::WriteProseWords(const QString& sourcelink, const LanguageWords& words)
{
    const std::optional<std::vector<bool>> known =
        languageVerdicts_ ? languageVerdicts_(words) : std::vector<bool>();
    if (!known) {
        Execute(text_mode_record::SkippedTextInsert(sourcelink, words.language, words.words.size()));
        return {};
    }
    QStringList unknown;
    for (qsizetype i = 0; i < words.words.size(); ++i) {
        if (size_t(i) >= known->size() || !(*known)[size_t(i)]) {
            Execute(page_statements::UnknownWordInsert(sourcelink, words.words.at(i)));
            unknown << words.words.at(i);
        }
    }
    return unknown;
}

// A failing statement is reported and fails alone.
template <typename Statement>
bool PageRecorder::Run(const Statement& statement)
{
    try {
        database_.Execute(statement);
        return true;
    } catch (const DatabaseError& e) {
        Fail(StatementFailureText(e.Text()));
        return false;
    }
}

bool PageRecorder::Execute(const QString& sql)
{
    return Run(sql);
}

bool PageRecorder::Execute(const BoundStatement& statement)
{
    return Run(statement);
}

void PageRecorder::WriteContexts(const QString& sourcelink, const PageRecord& record, const QStringList& unknown)
{
    if (unknown.isEmpty())
        return;
    try {
        WriteWordContexts(database_, record.documentPages.isEmpty()
                                         ? FindWordContexts(sourcelink, record, unknown)
                                         : FindDocumentContexts(sourcelink, record.documentPages, unknown));
    } catch (const DatabaseError& e) {
        Fail(StatementFailureText(e.Text()));
    }
}

int PageRecorder::LookupPage(const QString& sourcelink)
{
    try {
        bool found = false;
        database_.Query(page_statements::PageLookup(sourcelink), [&found](const Row&) { found = true; });
        return found ? kHasRow : kNoRow;
    } catch (const DatabaseError& e) {
        Fail(StatementFailureText(e.Text()));
        return kLookupFailed;
    }
}

void PageRecorder::WriteHeadings(const QString& sourcelink, const QString& tag, const QStringList& lines)
{
    for (const QString& line : lines) {
        if (!TrimCtl(line).isEmpty())
            Execute(page_statements::HeadingInsert(sourcelink, tag, line));
    }
}

}  // namespace lexicrawl
