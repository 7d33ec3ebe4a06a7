#include "app/core/crawl_diff.h"

#include <QFileInfo>
#include <QSet>

#include "analysis/fetch_statuses.h"
#include "app/core/app_environment.h"
#include "app/core/word_approvals.h"
#include "store/project_database.h"
#include "store/project_files.h"

namespace lexicrawl {

namespace {

QSet<QString> WordSet(const std::vector<UnknownWord>& words)
{
    QSet<QString> set;
    for (const UnknownWord& w : words)
        set.insert(w.word);
    return set;
}

}  // namespace

bool ReadProject(const AppEnvironment& environment, const QString& path, ProjectContents& contents, QString* error)
{
    if (!QFileInfo(path).isFile()) {
        *error = QStringLiteral("%1: no such project file").arg(path);
        return false;
    }
    ProjectDatabase database(environment.DataFolder(), environment.ProgramFolder());
    database.ChooseWorkingFile();
    QStringList pages;
    bool ok = OpenProjectFile(database, path, &pages);
    if (ok) {
        try {
            ok = LoadUnknownWords(database, contents.words, error, true);
            contents.approved = LoadSiteApprovals(database);
            contents.fetches = LoadFetchStatuses(database);
        } catch (const DatabaseError& e) {
            *error = e.Text();
            ok = false;
        }
    } else {
        *error = QStringLiteral("%1 is not a project database").arg(path);
    }
    database.Close();
    return ok;
}

CrawlDiff CompareCrawls(const ProjectContents& before, const ProjectContents& now)
{
    QSet<QString> approved;
    for (const QStringList* list : {&before.approved, &now.approved})
        for (const QString& w : *list)
            approved.insert(w);
    const QSet<QString> old = WordSet(before.words), current = WordSet(now.words);
    CrawlDiff diff;
    for (const UnknownWord& w : now.words)
        if (!old.contains(w.word) && !approved.contains(w.word))
            diff.newWords.push_back(w);
    for (const UnknownWord& w : before.words)
        if (!current.contains(w.word) && !approved.contains(w.word))
            diff.fixedWords.push_back(w);
    QSet<QString> failedBefore;
    for (const InternalUrl& p : before.fetches)
        if (VisitFailed(p))
            failedBefore.insert(p.page);
    for (const InternalUrl& p : now.fetches)
        if (VisitFailed(p) && !failedBefore.contains(p.page))
            diff.newFailures.push_back(p);
    return diff;
}

}  // namespace lexicrawl
