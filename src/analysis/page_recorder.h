#pragma once
// Records one fetched page in the project database: a MISSPELLED row for
// each distinct word of its readable text that the word check rejects, its
// title and META description in its PAGES row (updated, or inserted when the
// page has none), and a TAGS row for each non-blank line of its H1 and H2
// headings. The page is parsed once; every fact is read before the first
// statement runs. A failing statement is shown to the user once the page's
// statements have let the store go, and the recording goes on with the next
// one; a failure of the word check is not caught.
//
// Thread-safety: a recorder may be used from one thread at a time; the
// database serialises the statements against other users of the connection.
// CrawlWordCounts and ForgetCrawlWordCounts may be called from any thread.
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <vector>

#include "analysis/page_record.h"
#include "analysis/site_words.h"
#include "store/sql_quote.h"

namespace lexicrawl {

class ProjectDatabase;

// Answers true when the word is known to the chosen dictionary.
using SpellCheckWordFunction = std::function<bool(const QString& word)>;
// The verdicts of a page's words, in the order given: one call per page.
using WordVerdictsFunction = std::function<std::vector<bool>(const QStringList& words)>;
// The verdicts of a page's prose words in one language, in the order given;
// nothing when no dictionary reads the language.
using LanguageVerdictsFunction = std::function<std::optional<std::vector<bool>>(const LanguageWords& words)>;

class PageRecorder {
public:
    PageRecorder(ProjectDatabase& database, WordVerdictsFunction verdicts);
    PageRecorder(ProjectDatabase& database, SpellCheckWordFunction spellCheckWord);

    // Where the prose words of a page are checked; without it every prose
    // word is unknown.
    void SetLanguageVerdicts(LanguageVerdictsFunction verdicts) { languageVerdicts_ = std::move(verdicts); }

    // A crawl begins with these options in a fresh database: a prose crawl
    // records how it reads its words.
    void BeginCrawl(const TextOptions& text);
    // The crawl has ended (finished or stopped): how many pages used each
    // word goes into the project.
    void EndCrawl();
    // The counts the last crawl wrote into the project, kept so that its
    // words are grouped without reading them back; nothing when none were
    // written, or once the project is another (ForgetCrawlWordCounts).
    std::shared_ptr<const SiteWordCounts> CrawlWordCounts() const;
    void ForgetCrawlWordCounts();

    // sourcelink is the page URL as the table of internal URLs holds it;
    // source is the page's HTML (empty when the fetch failed). Its words are
    // read as the options of the last BeginCrawl say.
    void RecordPage(const QString& sourcelink, const QString& source);
    // The same for a page whose record was read beforehand (possibly on
    // another thread): the word checks and the statements.
    void Write(const QString& sourcelink, const PageRecord& record);

private:
    // While one lives, failures are kept and shown when it goes.
    class HeldFailures {
    public:
        explicit HeldFailures(PageRecorder& recorder);
        ~HeldFailures();
        HeldFailures(const HeldFailures&) = delete;
        HeldFailures& operator=(const HeldFailures&) = delete;

    private:
        PageRecorder& recorder_;
    };
    // Shows a failure to the user, or keeps it while failures are held.
    void Fail(const QString& text);
    // Runs one statement; a failure is shown to the user and answered false.
    bool Execute(const QString& sql);
    bool Execute(const BoundStatement& statement);
    template <typename Statement>
    bool Run(const Statement& statement);
    // Runs the page lookup; answers whether it found a row, or nothing when it failed.
    int LookupPage(const QString& sourcelink);
    // Where each unknown word first stands on the page, in a table of its own.
    void WriteContexts(const QString& sourcelink, const PageRecord& record, const QStringList& unknown);
    void WriteHeadings(const QString& sourcelink, const QString& tag, const QStringList& lines);
    // Unknown prose words as written; a language that no dictionary reads
    // is counted instead.
    // Answers the words it recorded as unknown.
    QStringList WriteProseWords(const QString& sourcelink, const LanguageWords& words);

    ProjectDatabase& database_;
    WordVerdictsFunction verdicts_;
    LanguageVerdictsFunction languageVerdicts_;
    TextOptions text_;
    SiteWordCounter siteWords_;
    bool holdingFailures_ = false;
    QStringList heldFailures_;
    // Apart, so that a recorder stays movable.
    struct WrittenCounts {
        std::mutex mutex;
        std::shared_ptr<const SiteWordCounts> counts;  // under mutex
    };
    std::unique_ptr<WrittenCounts> written_ = std::make_unique<WrittenCounts>();
};

}  // namespace lexicrawl
