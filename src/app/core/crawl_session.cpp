#include "app/core/crawl_session.h"

#include <QDir>
#include <QHash>

#include "analysis/fetch_statuses.h"
#include "app/core/app_environment.h"
#include "platform/task_pool.h"
#include "platform/user_message.h"
#include "store/project_files.h"

namespace lexicrawl {

CrawlSession::CrawlSession(const AppEnvironment& environment, CrawlHost& host, FetchFunction fetch)
    : database_(environment.DataFolder(), environment.ProgramFolder()),
      spelling_(worker_),
      recorder_(database_, [this](const QStringList& words) { return spelling_.Verdicts(words); }),
      pipeline_(worker_, recorder_, TaskPool::MachineThreads()),
      control_(database_, host, pipeline_, std::move(fetch))
{
    recorder_.SetLanguageVerdicts(
        [this](const LanguageWords& words) { return spelling_.ProseVerdicts(words.language, words.words); });
    // The worker's messages (the recorder's, the dictionaries') reach the
    // host as the collector's do.
    worker_.Post([this] { SetThreadMessageReporter(&control_.Messages()); });
    database_.ChooseWorkingFile();
    personalWordsPath_ = QDir(environment.DataFolder()).filePath(QStringLiteral("personal-words.txt"));
    QStringList personal;
    if (ReadWordListFile(personalWordsPath_, personal, nullptr)) {
        approvals_.AddAll(ApprovalKind::Personal, personal);
        spelling_.SetPersonalWords(personal);
    }
}

StartResult CrawlSession::Start(const CrawlOptions& options)
{
    if (control_.Phase() == CrawlPhase::Idle)
        recorder_.ForgetCrawlWordCounts();  // the database is about to be another
    const StartResult started = control_.Start(options);
    const QStringList site = approvals_.Site();
    if (started.Started() && !site.isEmpty())
        worker_.Post([this, site] {
            try {
                StoreSiteApprovals(database_, site);
            } catch (const DatabaseError& e) {
                ReportMessage(StatementFailureText(e.Text()));
            }
        });
    return started;
}

bool CrawlSession::Approve(const QString& word, ApprovalKind kind, QString* error)
{
    if (kind == ApprovalKind::Personal) {
        if (!AppendToWordListFile(personalWordsPath_, word, error))
            return false;
        spelling_.AddPersonalWord(word);
    }
    // The list leaves the word out from now on; the project learns it
    // between two pages.
    approvals_.Add(kind, word);
    if (kind == ApprovalKind::Site)
        worker_.Post([this, word] {
            if (!database_.IsOpen())
                return;
            try {
                StoreSiteApprovals(database_, {word});
            } catch (const DatabaseError& e) {
                ReportMessage(StatementFailureText(e.Text()));
            }
        });
    return true;
}

TextModeRecord CrawlSession::ProjectTextMode()
{
    return ReadTextModeRecord(database_);
}

CrawlSession::~CrawlSession()
{
    control_.Stop();
    control_.WaitUntilFinished();
    worker_.Post([] { SetThreadMessageReporter(nullptr); });
    worker_.Wait();
    database_.Close();
}

bool CrawlSession::OpenProject(const QString& path)
{
    if (control_.Phase() != CrawlPhase::Idle)
        return false;
    QStringList pages;
    projectStartUrl_.clear();
    recorder_.ForgetCrawlWordCounts();
    const bool opened = OpenProjectFile(database_, path, &pages);
    control_.LoadTable(pages);
    if (opened) {
        try {
            approvals_.SetSite(LoadSiteApprovals(database_));
        } catch (const DatabaseError&) {
            approvals_.SetSite({});  // not a project: the failure is reported by the open
        }
        try {
            projectStartUrl_ = lexicrawl::ProjectStartUrl(database_);
            RestoreFetchStatuses();
        } catch (const DatabaseError&) {
            // Pages without their outcomes, as in a project saved before outcomes were kept.
        }
    }
    return opened;
}

// The outcome of each page that had been visited when the project was saved
// (its status, failure and load time) is shown again.
void CrawlSession::RestoreFetchStatuses()
{
    InternalUrls& table = control_.Table();
    QHash<QString, qsizetype> rowOf;
    for (qsizetype row = table.Count() - 1; row >= 0; --row)
        rowOf.insert(table.At(row).page, row);  // the first row of a page wins
    for (const InternalUrl& stored : LoadFetchStatuses(database_)) {
        const auto row = rowOf.constFind(stored.page);
        if (row != rowOf.cend())
            table.SetVisit(*row, stored.loadTimeNs, stored.statusCode, stored.fetchError);
    }
}

bool CrawlSession::SaveProjectAs(const QString& destination, QString* error)
{
    worker_.Wait();  // approvals still on their way to the project
    try {
        if (database_.IsOpen())
            StoreFetchStatuses(database_, control_.Table().Snapshot());
    } catch (const DatabaseError& e) {
        if (error)
            *error = e.Text();
        return false;
    }
    return lexicrawl::SaveProjectAs(database_, destination, error);
}

bool CrawlSession::UnknownWords(std::vector<UnknownWord>& words, QString* error, bool withPages, qsizetype* approved)
{
    if (!LoadUnknownWords(database_, words, error, withPages))
        return false;
    const qsizetype removed = RemoveApproved(words, approvals_);
    if (approved)
        *approved = removed;
    return true;
}

}  // namespace lexicrawl
