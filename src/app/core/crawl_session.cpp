#include "app/core/crawl_session.h"

#include "app/core/app_environment.h"
#include "platform/task_pool.h"
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
    database_.ChooseWorkingFile();
}

CrawlSession::~CrawlSession()
{
    control_.Stop();
    control_.WaitUntilFinished();
    worker_.Wait();
    database_.Close();
}

bool CrawlSession::OpenProject(const QString& path)
{
    if (control_.Phase() != CrawlPhase::Idle)
        return false;
    QStringList pages;
    const bool opened = OpenProjectFile(database_, path, &pages);
    control_.LoadTable(pages);
    return opened;
}

bool CrawlSession::SaveProjectAs(const QString& destination, QString* error)
{
    return lexicrawl::SaveProjectAs(database_, destination, error);
}

bool CrawlSession::UnknownWords(std::vector<UnknownWord>& words, QString* error, bool withPages)
{
    return LoadUnknownWords(database_, words, error, withPages);
}

}  // namespace lexicrawl
